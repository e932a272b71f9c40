#include "cli/options.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <set>

namespace timer555 {

namespace {

const Option* Find(const std::vector<Option>& options, const std::string& arg) {
  for (const Option& o : options)
    if (std::find(o.names.begin(), o.names.end(), arg) != o.names.end() ||
        std::find(o.aliases.begin(), o.aliases.end(), arg) != o.aliases.end())
      return &o;
  return nullptr;
}

}  // namespace

void ParseOptions(const std::vector<std::string>& args, const std::vector<Option>& options,
                  const std::function<void(const std::string&)>& positional) {
  std::set<const Option*> given;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (const Option* o = Find(options, a)) {
      if (!given.insert(o).second && !o->repeatable)
        throw UsageError("option " + o->names.front() + " is given more than once");
      if (o->value.empty()) {
        o->apply("");
      } else {
        if (i + 1 >= args.size()) throw UsageError("option " + a + " wants a value");
        o->apply(args[++i]);
      }
    } else if (!a.empty() && a[0] == '-') {
      throw UsageError("unknown option '" + a + "'");
    } else {
      positional(a);
    }
  }
}

std::string OptionHelp(const std::vector<Option>& options, int indent, int column) {
  std::string text;
  for (const Option& o : options) {
    std::string head;
    for (const std::string& n : o.names)
      head += (head.empty() ? "" : ", ") + n;
    if (!o.value.empty()) head += " " + o.value;
    head.resize(std::max<size_t>(head.size() + 1, static_cast<size_t>(column)), ' ');
    text += std::string(static_cast<size_t>(indent), ' ') + head + o.help + "\n";
  }
  return text;
}

std::uint64_t Whole(const std::string& option, const std::string& text, std::uint64_t lo,
                    std::uint64_t hi) {
  std::uint64_t v = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size() || v < lo || v > hi)
    throw UsageError(option + " wants a whole number from " + std::to_string(lo) + " to " +
                     std::to_string(hi) + ", not '" + text + "'");
  return v;
}

double RealValue(const std::string& option, const std::string& text, double lo, double hi,
                 const char* what) {
  double v = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size() || !std::isfinite(v) ||
      v < lo || v > hi) {
    throw UsageError(option + " wants " + what + ", not '" + text + "'");
  }
  return v;
}

std::string Lowered(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

std::string Uppered(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return text;
}

std::optional<double> ParsePartValue(const std::string& text) {
  // The multiplier letters, R (or r) for ohms itself.
  static const std::pair<const char*, double> kLetters[] = {
      {"p", 1e-12}, {"n", 1e-9}, {"u", 1e-6}, {"\u00b5", 1e-6}, {"m", 1e-3}, {"R", 1},
      {"r", 1},     {"k", 1e3},  {"K", 1e3},  {"M", 1e6},       {"G", 1e9}};
  const auto number = [](const std::string& t) -> std::optional<double> {
    double v = 0;
    const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    if (t.empty() || ec != std::errc() || end != t.data() + t.size() || !std::isfinite(v))
      return std::nullopt;
    return v;
  };
  const auto digits = [](const std::string& t) {
    return !t.empty() &&
           std::all_of(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; });
  };
  for (const auto& [letter, factor] : kLetters) {
    const size_t at = text.find(letter);
    if (at == std::string::npos || at == 0) continue;
    const std::string before = text.substr(0, at), after = text.substr(at + std::strlen(letter));
    // "4.7k" or "47R": the letter last; "4k7", "0R47": the letter as the point.
    std::optional<double> v;
    if (after.empty()) {
      v = number(before);
    } else if (digits(before) && digits(after)) {
      v = number(before + "." + after);
    }
    if (!v) return std::nullopt;
    return *v * factor;
  }
  return number(text);
}

double PartValue(const std::string& option, const std::string& text, PartQuantity quantity) {
  const bool ohms = quantity == PartQuantity::Resistance;
  const double lo = ohms ? 1e-3 : 1e-15, hi = ohms ? 1e12 : 10;
  const char* what = ohms ? "a resistance from 1 m\u03a9 to 1 T\u03a9 (4700, 4.7k, 4k7, 4R7)"
                          : "a capacitance from 1 fF to 10 F (1.5e-9, 1.5n, 1n5, 4u7)";
  const std::optional<double> v = ParsePartValue(text);
  if (!v || !(*v >= lo && *v <= hi))
    throw UsageError(option + " wants " + what + ", not '" + text + "'");
  return *v;
}

std::pair<double, double> RealPair(const std::string& option, const std::string& text, double lo,
                                   double hi, const char* what) {
  const size_t comma = text.find(',');
  if (comma == std::string::npos)
    throw UsageError(option + " wants " + what + ", not '" + text + "'");
  return {RealValue(option, text.substr(0, comma), lo, hi, what),
          RealValue(option, text.substr(comma + 1), lo, hi, what)};
}

}  // namespace timer555
