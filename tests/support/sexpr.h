#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace timer555 {

// A parsed S-expression, as KiCad's files are written: a list of items, or
// an atom (a symbol, a number or a quoted string, unquoted here).
struct Sexpr {
  std::string atom;
  std::vector<Sexpr> items;
  bool list = false;

  // The list's head: "symbol" for (symbol ...).
  const std::string& Head() const {
    static const std::string none;
    return list && !items.empty() && !items[0].list ? items[0].atom : none;
  }
  // The first child list with this head, or null.
  const Sexpr* Child(const std::string& head) const {
    for (const Sexpr& item : items)
      if (item.Head() == head) return &item;
    return nullptr;
  }
  // The first child list with this head; an error where there is none.
  const Sexpr& Get(const std::string& head) const {
    if (const Sexpr* child = Child(head)) return *child;
    throw std::runtime_error("no (" + head + " ...) in (" + Head() + " ...)");
  }
  std::vector<const Sexpr*> Children(const std::string& head) const {
    std::vector<const Sexpr*> found;
    for (const Sexpr& item : items)
      if (item.Head() == head) found.push_back(&item);
    return found;
  }
  const std::string& At(size_t k) const { return items.at(k).atom; }
  double Number(size_t k) const { return std::stod(items.at(k).atom); }
};

inline Sexpr ParseSexpr(const std::string& text, size_t& at) {
  const auto skip = [&] {
    while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at])))
      ++at;
  };
  skip();
  if (at >= text.size()) throw std::runtime_error("S-expression ends early");
  Sexpr e;
  if (text[at] == '(') {
    e.list = true;
    ++at;
    for (skip(); at < text.size() && text[at] != ')'; skip())
      e.items.push_back(ParseSexpr(text, at));
    if (at >= text.size()) throw std::runtime_error("unclosed list");
    ++at;
  } else if (text[at] == '"') {
    for (++at; at < text.size() && text[at] != '"'; ++at) {
      if (text[at] == '\\') ++at;
      e.atom += text[at];
    }
    ++at;
  } else {
    while (at < text.size() && text[at] != '(' && text[at] != ')' &&
           !std::isspace(static_cast<unsigned char>(text[at])))
      e.atom += text[at++];
  }
  return e;
}

inline Sexpr ParseSexpr(const std::string& text) {
  size_t at = 0;
  Sexpr e = ParseSexpr(text, at);
  while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at])))
    ++at;
  if (at != text.size()) throw std::runtime_error("text after the S-expression");
  return e;
}

}  // namespace timer555
