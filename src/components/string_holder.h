#pragma once

#include <string>
#include <vector>

namespace timer555 {

// A named list of text lines: the carrier of every built-in text and script.
class TStringHolder {
 public:
  explicit TStringHolder(std::string name = {}) : name_(std::move(name)) {}

  const std::string& Name() const noexcept { return name_; }

  // Read as the list itself; writing copies the given lines, which stay the caller's.
  const std::vector<std::string>& Strings() const noexcept { return lines_; }
  void SetStrings(const std::vector<std::string>& lines) { lines_ = lines; }

  int Count() const noexcept { return static_cast<int>(lines_.size()); }
  // 0-based; callers stay inside 0 .. Count() - 1.
  const std::string& Line(int index) const { return lines_.at(static_cast<size_t>(index)); }
  // The line at a 0-based index, or the empty text outside the list.
  std::string LineOrEmpty(int index) const {
    return index >= 0 && index < Count() ? lines_[static_cast<size_t>(index)] : std::string();
  }
  void Clear() noexcept { lines_.clear(); }
  void Add(const std::string& line) { lines_.push_back(line); }

 private:
  std::string name_;
  std::vector<std::string> lines_;
};

}  // namespace timer555
