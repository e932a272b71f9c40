// The manual pages say what --help says: every option with its description,
// the modes and pages, the exit status.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "analysis/warning_codes.h"
#include "app/arguments.h"
#include "app/keys.h"
#include "cli/cli.h"

namespace timer555 {
namespace {

std::string Collapse(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (std::isspace(static_cast<unsigned char>(c))) {
      if (!out.empty() && out.back() != ' ') out += ' ';
    } else {
      out += c;
    }
  }
  if (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

// The words a macro line's arguments make, quotes taken off.
std::vector<std::string> MacroArguments(const std::string& rest) {
  std::vector<std::string> args;
  std::string cur;
  bool quoted = false;
  bool any = false;
  for (char c : rest) {
    if (c == '"') {
      quoted = !quoted;
      any = true;
    } else if (c == ' ' && !quoted) {
      if (any || !cur.empty()) args.push_back(cur);
      cur.clear();
      any = false;
    } else {
      cur += c;
    }
  }
  if (any || !cur.empty()) args.push_back(cur);
  return args;
}

// The running text a reader sees: font changes dropped, alternating-font
// macros joined, structure macros as line breaks.
std::string ManualText(const std::string& path) {
  std::ifstream in(path);
  EXPECT_TRUE(in) << path;
  std::string text;
  std::string line;
  while (std::getline(in, line)) {
    // An escaped space does not separate a macro's arguments.
    line = std::regex_replace(line, std::regex(R"(\\ )"), "\x01");
    if (!line.empty() && line[0] == '.') {
      const auto space = line.find(' ');
      const std::string macro = line.substr(1, space == std::string::npos ? space : space - 1);
      const std::string rest = space == std::string::npos ? "" : line.substr(space + 1);
      const auto args = MacroArguments(rest);
      if (macro == "B" || macro == "I" || macro == "SH") {
        for (const auto& a : args)
          text += a + " ";
      } else if (macro.size() == 2 && std::string("BIR").find(macro[0]) != std::string::npos &&
                 std::string("BIR").find(macro[1]) != std::string::npos) {
        for (const auto& a : args)
          text += a;
      }
      text += "\n";
    } else {
      text += line + "\n";
    }
  }
  text = std::regex_replace(text, std::regex(R"(\\f[BIRP])"), "");
  text = std::regex_replace(text, std::regex(R"(\\&)"), "");
  text = std::regex_replace(text, std::regex(R"(\\-)"), "-");
  std::replace(text.begin(), text.end(), '\x01', ' ');
  return Collapse(text);
}

// Each "  -x, --xx ARG    description" line of a help text, as one phrase.
std::vector<std::string> OptionPhrases(const std::string& help) {
  std::vector<std::string> phrases;
  const std::regex option(R"(^ +(-[^ ].*?) {2,}(\S.*)$)");
  std::istringstream in(help);
  std::string line;
  std::smatch m;
  while (std::getline(in, line))
    if (std::regex_match(line, m, option))
      phrases.push_back(Collapse(m[1].str() + " " + m[2].str()));
  return phrases;
}

std::string Sentence(const std::string& text, const std::string& start, char end) {
  const auto from = text.find(start);
  if (from == std::string::npos) return "(missing: " + start + ")";
  return text.substr(from, text.find(end, from) - from + 1);
}

TEST(ManualTest, CommandLineManualSaysWhatHelpSays) {
  std::ostringstream out, err;
  ASSERT_EQ(RunCli({"--help"}, out, err), ExitStatus::Success);
  const std::string help = Collapse(out.str());
  const std::string manual = ManualText(TIMER555_SOURCE_DIR "/docs/man/timer555-cli.1");
  const auto phrases = OptionPhrases(out.str());
  EXPECT_EQ(phrases.size(), 49u);
  for (const auto& phrase : phrases)
    EXPECT_NE(manual.find(phrase), std::string::npos) << phrase;
  for (const auto& [start, end] :
       std::vector<std::pair<std::string, char>>{{"MODE is", '.'},
                                                 {"PAGE is", ';'},
                                                 {"Draw a page as the window shows it", '.'},
                                                 {"Run a circuit script", '.'},
                                                 {"Design as the window does", '.'},
                                                 {"Exit status: ", '.'}}) {
    std::string sentence = Sentence(help, start, end);
    if (start == "Exit status: ") sentence = sentence.substr(start.size());
    EXPECT_NE(manual.find(sentence), std::string::npos) << sentence;
  }
  // Every option word of the help is in the manual.
  const std::regex word(R"((^|[ \[])(--?[a-z][a-z0-9-]*))");
  for (std::sregex_iterator it(help.begin(), help.end(), word), e; it != e; ++it)
    EXPECT_NE(manual.find((*it)[2].str()), std::string::npos) << (*it)[2].str();
}

TEST(ManualTest, WindowManualSaysWhatHelpSays) {
  std::ostringstream out, err;
  ASSERT_EQ(HandleWindowArguments({"--help"}, out, err), 0);
  const std::string manual = ManualText(TIMER555_SOURCE_DIR "/docs/man/timer555.1");
  const auto phrases = OptionPhrases(out.str());
  EXPECT_EQ(phrases.size(), 2u);
  for (const auto& phrase : phrases)
    EXPECT_NE(manual.find(phrase), std::string::npos) << phrase;
  EXPECT_NE(manual.find("timer555 [Qt options]"), std::string::npos);
}

// The keys' dialog and the manual list the same keys with the same words.
TEST(ManualTest, WindowManualListsEveryKey) {
  const std::string manual = ManualText(TIMER555_SOURCE_DIR "/docs/man/timer555.1");
  for (const KeyUse& k : kKeyUses) {
    const std::string line = Collapse(std::string(k.keys) + " " + std::string(k.use));
    EXPECT_NE(manual.find(line), std::string::npos) << line;
  }
}

TEST(ManualTest, WindowArguments) {
  struct Case {
    std::vector<std::string> args;
    std::optional<int> status;
    std::string out, err;
  };
  const Case cases[] = {
      {{}, std::nullopt, "", ""},
      {{"--version"}, 0, "timer555 " TIMER555_VERSION "\n", ""},
      {{"-h"}, 0, "Usage: timer555 [Qt options]\n", ""},
      {{"--verbose"}, 2, "", "timer555: unknown argument '--verbose'\nTry 'timer555 --help'.\n"},
      {{"--help", "x"}, 2, "", "timer555: unknown argument '--help'\nTry 'timer555 --help'.\n"},
      {{"design.txt"}, 2, "", "timer555: unknown argument 'design.txt'\nTry 'timer555 --help'.\n"},
  };
  for (const Case& c : cases) {
    std::ostringstream out, err;
    EXPECT_EQ(HandleWindowArguments(c.args, out, err), c.status);
    EXPECT_EQ(out.str().substr(0, c.out.size()), c.out);
    EXPECT_EQ(err.str(), c.err);
  }
}

// Every warning code the program can give is in the manual's list of stable
// codes: the codes are read from the sources that emit them, so a new one
// cannot be missed.
TEST(ManualTest, EveryWarningCodeIsListed) {
  const std::string manual = ManualText(TIMER555_SOURCE_DIR "/docs/man/timer555-cli.1");
  // The limits are listed first, then the advice.
  const std::size_t advice = manual.find("the advice, how the built circuit departs");
  ASSERT_NE(advice, std::string::npos);
  for (const WarningKind& kind : AllWarningKinds()) {
    const std::size_t at = manual.find(kind.key);
    ASSERT_NE(at, std::string::npos) << kind.key;
    EXPECT_EQ(at < advice, kind.limit) << kind.key;
  }
  EXPECT_EQ(AllWarningKinds().size(), 15u);
}

}  // namespace
}  // namespace timer555
