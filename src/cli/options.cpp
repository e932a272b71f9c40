#include "cli/options.h"

#include <algorithm>
#include <charconv>
#include <cmath>
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

double PrefixedValue(const std::string& option, const std::string& text) {
  static const std::pair<const char*, double> kPrefixes[] = {
      {"p", 1e-12}, {"n", 1e-9}, {"u", 1e-6}, {"\u00b5", 1e-6}, {"m", 1e-3},
      {"k", 1e3},   {"K", 1e3},  {"M", 1e6},  {"G", 1e9}};
  std::string number = text;
  double scale = 1;
  for (const auto& [prefix, factor] : kPrefixes) {
    const std::string p = prefix;
    if (number.size() > p.size() && number.compare(number.size() - p.size(), p.size(), p) == 0) {
      number.resize(number.size() - p.size());
      scale = factor;
      break;
    }
  }
  const double v = RealValue(option, number, 0, 1e15, "a positive value (4700, 4.7k, 470n)");
  if (!(v > 0))
    throw UsageError(option + " wants a positive value (4700, 4.7k, 470n), not '" + text + "'");
  return v * scale;
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
