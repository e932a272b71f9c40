#pragma once

#include <cstdint>
#include <functional>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace timer555 {

// A mistake in the command line itself: reported with a pointer to --help.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One command-line option: its spellings, the name of its value (empty for a
// flag), the line --help prints for it, and what it does with its value.
// Validation lives in `apply`, which throws UsageError naming the option.
struct Option {
  std::vector<std::string> names;  // "-f", or "-h" and "--help"
  std::string value;               // "TEXT", "N"; empty for a flag
  std::string help;
  std::function<void(const std::string& value)> apply;
  std::vector<std::string> aliases = {};  // longer spellings --help does not list
  bool repeatable = false;                // may be given more than once (clicks, --set)
};

// Runs `args` through the table: each option found applies its value, every
// other argument goes to `positional` (which throws for one it does not take).
// An argument that looks like an option and is in no table is a usage error,
// and so is an option given twice unless it is repeatable.
void ParseOptions(const std::vector<std::string>& args, const std::vector<Option>& options,
                  const std::function<void(const std::string&)>& positional);

// The options of `a`, then those of `b`.
template <typename T>
std::vector<T> Joined(std::vector<T> a, std::vector<T> b) {
  a.insert(a.end(), std::make_move_iterator(b.begin()), std::make_move_iterator(b.end()));
  return a;
}

// The table's --help lines: `indent` blanks, the spellings and value, padded
// to `column` characters from the indent, then the help text.
std::string OptionHelp(const std::vector<Option>& options, int indent, int column);

// A whole number from the command line within [lo, hi]; a usage error
// "OPTION wants a whole number from LO to HI, not 'TEXT'" otherwise.
std::uint64_t Whole(const std::string& option, const std::string& text, std::uint64_t lo,
                    std::uint64_t hi);
// A number from the command line, locale-free, finite and within [lo, hi];
// a usage error "OPTION wants WHAT, not 'TEXT'" otherwise.
double RealValue(const std::string& option, const std::string& text, double lo, double hi,
                 const char* what);
// A part's value as engineering or RKM notation writes it: "4700", "4.7k",
// "4k7", "4K7", "470n", "1n5", "2M2", "4u7", "4µ7", "4R7", "0R47", "47R"
// (R for ohms, the prefix letter standing for the decimal point), checked
// after the prefix: a resistance from 1 mΩ to 1 TΩ, a capacitance from 1 fF
// to 10 F.
enum class PartQuantity { Resistance, Capacitance };
double PartValue(const std::string& option, const std::string& text, PartQuantity quantity);
// The same without a range: the number or nothing.
std::optional<double> ParsePartValue(const std::string& text);
// `text` in lower case (ASCII): enumerations are matched without regard to case.
std::string Lowered(std::string text);
std::string Uppered(std::string text);
// "A,B" as two such numbers.
std::pair<double, double> RealPair(const std::string& option, const std::string& text, double lo,
                                   double hi, const char* what);

}  // namespace timer555
