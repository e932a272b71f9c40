#include "cli/cli.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <climits>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/cli_design.h"
#include "cli/options.h"
#include "export/board.h"
#include "render/canvas.h"
#include "simulation/ngspice.h"
#include "state/global.h"
#include "support/scratch.h"

namespace timer555 {
namespace {

namespace fs = std::filesystem;

// The output parsed as JSON: one object, or a failure naming the text.
QJsonObject Json(const std::string& text) {
  QJsonParseError error{};
  const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(text), &error);
  EXPECT_EQ(error.error, QJsonParseError::NoError) << text;
  EXPECT_TRUE(doc.isObject()) << text;
  return doc.object();
}

QStringList Keys(const QJsonObject& object) {
  return object.keys();
}

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = ScratchFolder("timer555_cli");
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }

  ExitStatus Run(const std::vector<std::string>& args) {
    out.str("");
    err.str("");
    return RunCli(args, out, err);
  }
  std::string Path(const std::string& name) const { return (dir / name).string(); }
  std::string Script(const std::vector<std::string>& lines) const {
    const std::string path = Path("script.txt");
    std::ofstream f(path);
    for (const auto& l : lines)
      f << l << "\n";
    return path;
  }

  fs::path dir;
  std::ostringstream out;
  std::ostringstream err;
};

TEST_F(CliTest, HelpIsPrintedInFull) {
  EXPECT_EQ(Run({"--help"}), ExitStatus::Success);
  EXPECT_EQ(
      out.str(),
      "Usage: timer555-cli COMMAND [OPTIONS]\n"
      "\n"
      "Designs 555 and 556 timer circuits and draws the designer's pages.\n"
      "\n"
      "Commands:\n"
      "  design MODE [DESIGN OPTIONS] [--json]\n"
      "      Design as the window does and print the result: the title, the part\n"
      "      labels with their exact values, the two entry fields and the\n"
      "      waveform's times. MODE is astable-above, astable-square,\n"
      "      astable-below or monostable (or 1 to 4).\n"
      "  render PAGE [--timer VARIANT] -o FILE\n"
      "      Draw a page as the window shows it (650 x 308 pixels).\n"
      "      PAGE is start, designs, applications, data, help, companion,\n"
      "      app1 ... app14, components or specifications; --timer VARIANT\n"
      "      draws the chips of an application as that timer.\n"
      "  render designN [DESIGN OPTIONS] -o FILE\n"
      "      Draw design page N (1 to 4), calculated when options are given.\n"
      "  render --script FILE [--values] [--set NAME=VALUE ...]\n"
      "         [--timer 555|556A|556B] -o FILE\n"
      "      Run a circuit script over a white page.\n"
      "      --values          print the part values beside the parts\n"
      "      --set NAME=VALUE  R1, R2, R3 in ohms, C1 ... C4 in farads\n"
      "      --timer VARIANT   draw the chip as a 555 or either 556 half\n"
      "  check MODE [DESIGN OPTIONS] [CHECK OPTIONS] [--json]\n"
      "      Check the design as a built circuit: the timing it really has\n"
      "      (ideal against predicted), the limits it breaks, the best standard\n"
      "      resistors for its C1 and the worst case of the part tolerances.\n"
      "      --vcc VOLTS            supply voltage (default 9)\n"
      "      --family FAMILY        bipolar (NE555 class, the default) or cmos (7555 class)\n"
      "      --series SERIES        E6, E12, E24 (the default), E48 or E96\n"
      "      --tolerance R,C        part tolerances in % (default 5,10)\n"
      "      --temperature MIN,MAX  temperature range in degrees C (default 0,70)\n"
      "      --r1 OHM               build with this R1 instead of the design's\n"
      "      --r2 OHM               build with this R2 (the 50 % design: its pull-up)\n"
      "      --c1 FARAD             build with this C1\n"
      "      --c1-type KIND         C1 as c0g, film, tantalum, low-leakage, electrolytic or x7r\n"
      "  simulate MODE [DESIGN OPTIONS] [--vcc VOLTS] [--family FAMILY]\n"
      "           [--r1 OHM] [--r2 OHM] [--c1 FARAD]\n"
      "           [--netlist FILE] [-o FILE] [--time-limit SECONDS] [--json]\n"
      "      Simulate the design's circuit with ngspice and print the simulated\n"
      "      frequency, duty cycle and times beside the ideal and predicted ones.\n"
      "      --vcc, --family, --r1, --r2 and --c1 as for check.\n"
      "      --netlist FILE         write the netlist and do not run (it runs in ngspice -b)\n"
      "      -o FILE                draw the simulated waveform (.png or .svg)\n"
      "      --time-limit SECONDS   end ngspice after this long (default 5)\n"
      "  parts MODE (-f HZ [-d PERCENT] | -t SECONDS) [PARTS OPTIONS] [--json]\n"
      "      Find standard resistors and capacitors whose built circuit meets the\n"
      "      target inside every limit, best first, with the share of boards that\n"
      "      meet the wanted window over the parts' tolerances, and the exact parts.\n"
      "      -f HZ                   the frequency in hertz\n"
      "      -d PERCENT              the duty cycle in %\n"
      "      -t SECONDS              the monostable's pulse length\n"
      "      --vcc VOLTS             supply voltage (default 9)\n"
      "      --family FAMILY         bipolar (NE555 class, the default) or cmos (7555 class)\n"
      "      --series SERIES         E6, E12, E24 (the default), E48 or E96\n"
      "      --tolerance R,C         part tolerances in % (default 5,10)\n"
      "      --temperature MIN,MAX   temperature range in degrees C (default 0,70)\n"
      "      --vcc-range MIN,MAX     the supply over its range, e.g. a draining battery\n"
      "      --capacitors SERIES     C1 from E3, E6 (the default) or E12, 1 nF to 1000 uF\n"
      "      --capacitor-types LIST  C1's kinds: "
      "c0g,film,tantalum,low-leakage,electrolytic,x7r (all but x7r)\n"
      "      --window F,D            the window a board must meet: % of frequency, "
      "points of duty (5,2)\n"
      "      --samples N             boards in the yield's Monte Carlo (default 10000)\n"
      "      --seed N                the Monte Carlo's seed (default 555)\n"
      "      --count N               how many choices (default 5)\n"
      "      -o FILE                 draw the first choice's histogram (.png or .svg)\n"
      "  export MODE (-f HZ [-d PERCENT] | -t SECONDS) [PARTS OPTIONS]\n"
      "         [--choice N | --r1 OHM [--r2 OHM] --c1 FARAD [--c1-type KIND]]\n"
      "         [--kicad SCHEMATIC] [--bom CSV] [--sheet PDF [--paper SIZE] [--simulate]]\n"
      "         [--timer VARIANT] [--smd]\n"
      "      Write the built circuit as a KiCad schematic, a bill of materials and\n"
      "      a one-page design sheet: the parts search's choice N, the parts\n"
      "      given, or the design's own.\n"
      "      --choice N              build the parts search's choice N (1 is the best)\n"
      "      --kicad SCHEMATIC       write the schematic (.kicad_sch, KiCad 6 and later)\n"
      "      --bom CSV               write the bill of materials (CSV)\n"
      "      --sheet PDF             write the design sheet (PDF, one page)\n"
      "      --paper SIZE            the sheet's paper: a4 (the default) or letter\n"
      "      --simulate              simulate the built circuit with ngspice for the sheet\n"
      "      --timer VARIANT         the timer as a 555 or either 556 half: 555, 556A or "
      "556B\n"
      "      --smd                   surface-mount parts (0805, SOIC) instead of "
      "through-hole\n"
      "\n"
      "Design options, the texts and clicks a user would give the window:\n"
      "  -f TEXT           frequency in Hz\n"
      "  -d TEXT           duty cycle in %\n"
      "  -t TEXT           pulse length in seconds (monostable)\n"
      "  --c1-up N         click the up arrow N times (next larger E12 value)\n"
      "  --c1-down N       click the down arrow N times\n"
      "  --set PART=TEXT   adjust R1, R2 or C1 in the unit the dialog shows\n"
      "  --timer VARIANT   555, 556A or 556B\n"
      "  --json            print one JSON object (duty_cycle as a fraction)\n"
      "\n"
      "FILE ending in .png writes a PNG picture, ending in .svg an SVG drawing.\n"
      "\n"
      "Options:\n"
      "  -h, --help     show this help and exit\n"
      "  --version      show the version and exit\n"
      "\n"
      "Exit status: 0 success, 1 the request failed, 2 a usage error.\n");
  EXPECT_EQ(err.str(), "");
  EXPECT_EQ(Run({"-h"}), ExitStatus::Success);
}

TEST_F(CliTest, VersionOnStandardOutput) {
  EXPECT_EQ(Run({"--version"}), ExitStatus::Success);
  EXPECT_EQ(out.str().rfind("timer555-cli ", 0), 0u);
  EXPECT_EQ(out.str().back(), '\n');
}

struct UsageCase {
  const char* name;
  std::vector<std::string> args;
  std::string message;
};

class CliUsageTest : public CliTest, public ::testing::WithParamInterface<UsageCase> {};

TEST_P(CliUsageTest, ReportsOnStandardErrorWithStatusTwo) {
  std::vector<std::string> args = GetParam().args;
  for (auto& a : args)
    if (a == "OUT") a = Path("out.png");
  EXPECT_EQ(Run(args), ExitStatus::Usage);
  EXPECT_EQ(err.str(),
            "timer555-cli: error: " + GetParam().message + "\nTry 'timer555-cli --help'.\n");
  EXPECT_EQ(out.str(), "");
  EXPECT_FALSE(fs::exists(Path("out.png"))) << "a usage error writes nothing";
}

INSTANTIATE_TEST_SUITE_P(
    Errors, CliUsageTest,
    ::testing::Values(
        UsageCase{"NoCommand", {}, "no command given"},
        UsageCase{"UnknownCommand", {"draw"}, "unknown command 'draw'"},
        UsageCase{"NoOutput", {"render", "start"}, "render wants an output file: -o FILE"},
        UsageCase{"UnknownPage", {"render", "gallery", "-o", "OUT"}, "unknown page 'gallery'"},
        UsageCase{"BadExtension",
                  {"render", "start", "-o", "page.bmp"},
                  "the output file must end in .png or .svg: 'page.bmp'"},
        UsageCase{"MissingValue", {"render", "start", "-o"}, "option -o wants a value"},
        UsageCase{"BadTimer",
                  {"render", "--script", "s", "--timer", "557", "-o", "OUT"},
                  "--timer wants 555, 556A or 556B, not '557'"},
        UsageCase{"BadPart",
                  {"render", "--script", "s", "--set", "R9=1", "-o", "OUT"},
                  "--set: unknown part 'R9' (R1, R2, R3, C1 ... C4)"},
        UsageCase{"BadNumber",
                  {"render", "--script", "s", "--set", "C1=1uu", "-o", "OUT"},
                  "--set C1: '1uu' is not a number"},
        UsageCase{"PageAndScript",
                  {"render", "start", "--script", "s", "-o", "OUT"},
                  "render takes a PAGE or --script FILE, not both"},
        UsageCase{"UnknownOption",
                  {"render", "start", "--fast", "-o", "OUT"},
                  "unknown option '--fast'"}),
    [](const auto& row) { return row.param.name; });

TEST_F(CliTest, RendersEveryPageAtThePageAreaSize) {
  for (const char* page : {"start", "designs", "applications", "data", "help", "companion"}) {
    const std::string png = Path(std::string(page) + ".png");
    ASSERT_EQ(Run({"render", page, "-o", png}), ExitStatus::Success) << err.str();
    const QImage img(QString::fromStdString(png));
    EXPECT_EQ(img.size(), QSize(650, 308)) << page;
    const std::string svg = Path(std::string(page) + ".svg");
    ASSERT_EQ(Run({"render", page, "-o", svg}), ExitStatus::Success) << err.str();
    EXPECT_GT(fs::file_size(svg), 200u);
  }
}

TEST_F(CliTest, RendersTheReferencePages) {
  std::vector<std::string> pages = {"components", "specifications"};
  for (int k = 1; k <= 14; ++k)
    pages.push_back("app" + std::to_string(k));
  for (const std::string& page : pages) {
    const std::string png = Path(page + ".png");
    ASSERT_EQ(Run({"render", page, "-o", png}), ExitStatus::Success) << page << err.str();
    EXPECT_EQ(QImage(QString::fromStdString(png)).size(), QSize(650, 308)) << page;
  }
  const std::string svg = Path("app5.svg");
  ASSERT_EQ(Run({"render", "app5", "--timer", "556B", "-o", svg}), ExitStatus::Success);
  const std::string doc = FileText(svg);
  EXPECT_NE(doc.find(">Tone burst generator</text>"), std::string::npos);
  EXPECT_NE(doc.find(">556B</text>"), std::string::npos);
  for (const char* bad : {"app0", "app15", "app1x", "app"}) {
    EXPECT_EQ(Run({"render", bad, "-o", Path("x.png")}), ExitStatus::Usage) << bad;
  }
}

TEST_F(CliTest, ScriptWithValuesAndTimerVariant) {
  const std::string script =
      Script({"M1620 5551R M1206 RVDL1 XFILL XFILL XFILL XFILL XFILL XFILL"});
  const std::string svg = Path("d.svg");
  ASSERT_EQ(Run({"render", "--script", script, "--values", "--set", "R1=7213.475", "--timer",
                 "556B", "-o", svg}),
            ExitStatus::Success)
      << err.str();
  const std::string doc = FileText(svg);
  EXPECT_NE(doc.find(">556B</text>"), std::string::npos);
  EXPECT_NE(doc.find(">7.214K</text>"), std::string::npos);
}

TEST_F(CliTest, ScriptErrorStillWritesWhatWasDrawn) {
  const std::string script = Script({"M0101 D0501 D1x01"});
  const std::string png = Path("e.png");
  EXPECT_EQ(Run({"render", "--script", script, "-o", png}), ExitStatus::Failed);
  EXPECT_EQ(err.str(), "timer555-cli: error: line 1, token 3: '1x' is not a valid integer value\n");
  // The place names the script's line and the token in it.
  EXPECT_EQ(Run({"render", "--script",
                 Script({"M0101 D0501 XFILL XFILL XFILL XFILL XFILL XFILL XFILL XFILL",
                         "M0101 XFILL XFILL M12"}),
                 "-o", png}),
            ExitStatus::Failed);
  EXPECT_EQ(err.str(), "timer555-cli: error: line 2, token 4: Range check error\n");
  const QImage img(QString::fromStdString(png));
  ASSERT_FALSE(img.isNull());
  EXPECT_EQ(img.pixel(20, 24), qRgb(0, 0, 0)) << "the first wire is in the picture";
}

TEST_F(CliTest, DesignPrintsWhatTheWindowShows) {
  ASSERT_EQ(Run({"design", "astable-above", "-f", "1000", "-d", "75"}), ExitStatus::Success)
      << err.str();
  EXPECT_EQ(out.str(),
            "Astable, Duty Cycle > 50%\n"
            "R1  7.214K  (7213.475204444818 ohm)\n"
            "R2  3.607K  (3606.737602222409 ohm)\n"
            "C1  100nF  (1e-07 F)\n"
            "C2  10nF  (1e-08 F)\n"
            "Frequency  1000 Hz\n"
            "Duty Cycle  75 %\n"
            "tH = 750.0us\n"
            "tL = 250.0us\n");
  EXPECT_EQ(err.str(), "");
}

TEST_F(CliTest, DesignAsJsonAfterArrowsAndAnAdjustment) {
  ASSERT_EQ(Run({"design", "1", "-f", "1000", "-d", "75", "--c1-down", "1", "--c1-up", "1", "--set",
                 "R1=8.2", "--json"}),
            ExitStatus::Success)
      << err.str();
  const std::string json = out.str();
  EXPECT_EQ(json.rfind("{\"mode\": 1, \"title\": \"Astable, Duty Cycle > 50%\", ", 0), 0u);
  EXPECT_NE(json.find("\"r1\": 8200,"), std::string::npos);
  EXPECT_NE(json.find("\"labels\": {\"r1\": \"8.2K\", \"r2\": \"3.607K\", \"c1\": \"100nF\", "
                      "\"c2\": \"10nF\"}"),
            std::string::npos);
  EXPECT_NE(json.find("\"fields\": [\"935.996\", \"76.6\"]"), std::string::npos);
  EXPECT_NE(json.find("\"waveform\": [\"tH = 818.4us\", \"tL = 250.0us\"]}"), std::string::npos);
  EXPECT_EQ(std::count(json.begin(), json.end(), '\n'), 1);
}

TEST_F(CliTest, MonostableHasNoSecondResistor) {
  ASSERT_EQ(Run({"design", "monostable", "-t", "1", "--json"}), ExitStatus::Success) << err.str();
  EXPECT_NE(out.str().find("\"r2\": null"), std::string::npos);
  EXPECT_NE(out.str().find("\"fields\": [\"1\", \"\"]"), std::string::npos);
  EXPECT_NE(out.str().find("\"waveform\": [\"tH = 1 sec\"]"), std::string::npos);
}

TEST_F(CliTest, DesignFailuresGiveTheWindowsMessage) {
  EXPECT_EQ(Run({"design", "3", "-f", "1000", "-d", "0"}), ExitStatus::Failed);
  EXPECT_EQ(err.str(), "timer555-cli: error: Duty cycle invalid.\n");
  EXPECT_EQ(out.str(), "");
  EXPECT_EQ(Run({"design", "1", "-f", "1000", "-d", "75", "--set", "C1=121"}), ExitStatus::Failed);
  EXPECT_EQ(err.str(), "timer555-cli: error: Maximum adjustment is +/- 20%.\n");
  EXPECT_EQ(Run({"design", "astable-below", "-f", "1000"}), ExitStatus::Failed);
  EXPECT_EQ(err.str(), "timer555-cli: error: Duty cycle not entered.\n");
}

// A page whose texts measure half the 32-bit range: placing a label beside
// its point overflows.
class HugeTextCanvas final : public Canvas {
 public:
  int Width() const override { return 650; }
  int Height() const override { return 308; }
  void SetPixel(int, int, Color) override {}
  void FillRect(const Rect&) override {}
  void Rectangle(int, int, int, int) override {}
  void Ellipse(int, int, int, int) override {}
  void Polygon(const std::vector<Point>&) override {}
  void Arc(int, int, int, int, int, int, int, int) override {}
  int TextWidth(const std::string&) override { return INT_MAX / 2; }
  int TextHeight(const std::string&) override { return 18; }

 protected:
  void DrawLine(Point, Point) override {}
  void DrawText(int, int, const std::string&) override {}
};

TEST_F(CliTest, DrawingErrorsOfADesignAreItsFailure) {
  HugeTextCanvas page;
  DesignRequest request;
  request.kind = DesignKind::AstableAbove;
  request.frequency = "1000";
  request.duty = "75";
  DesignReport report;
  std::optional<std::string> failure;
  EXPECT_NO_THROW(failure = RunDesign(request, page, report));
  EXPECT_EQ(failure, "Integer overflow");
}

TEST_F(CliTest, HugeValuesAreNotMisread) {
  ASSERT_EQ(Run({"design", "1", "-f", "0.01", "-d", "99.99999", "--c1-down", "100"}),
            ExitStatus::Success);
  EXPECT_NE(out.str().find("R1  3.1E16  ("), std::string::npos) << out.str();
}

TEST_F(CliTest, SquareWaveAdjustmentKeepsItsDesign) {
  ASSERT_EQ(Run({"design", "2", "-f", "1000", "--set", "C1=10"}), ExitStatus::Success);
  EXPECT_NE(out.str().find("Frequency  1000.000 Hz\nDuty Cycle  50.0 %"), std::string::npos)
      << out.str();
}

TEST_F(CliTest, CheckExplainsTheBuiltCircuit) {
  ASSERT_EQ(Run({"check", "astable-below", "-f", "1000", "-d", "25", "--vcc", "5"}),
            ExitStatus::Success)
      << err.str();
  EXPECT_NE(out.str().find("Frequency       1.000 kHz       771.7 Hz  (-22.8 %)"),
            std::string::npos)
      << out.str();
  EXPECT_NE(out.str().find("diode-drop: "), std::string::npos);
  // One shape whatever the mode: the same keys in every object, null where
  // a figure does not apply.
  ASSERT_EQ(Run({"check", "1", "-f", "0.01", "-d", "60", "--family", "cmos", "--json"}),
            ExitStatus::Success);
  const std::string text = out.str();
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1);
  const QJsonObject astable = Json(text);
  ASSERT_EQ(
      Run({"check", "monostable", "-t", "1", "--family", "cmos", "--series", "E96", "--json"}),
      ExitStatus::Success);
  const QJsonObject oneShot = Json(out.str());
  EXPECT_EQ(Keys(astable), Keys(oneShot));
  for (const char* object : {"conditions", "parts", "ideal", "predicted", "worst_case"})
    EXPECT_EQ(Keys(astable[object].toObject()), Keys(oneShot[object].toObject())) << object;
  EXPECT_EQ(Keys(astable["predicted"].toObject()),
            (QStringList{"duty_cycle_fraction", "first_t_high_s", "frequency_hz", "t_high_s",
                         "t_low_s"}));
  const QJsonObject choice = astable["standard_values"].toArray().first().toObject();
  EXPECT_EQ(Keys(choice), Keys(oneShot["standard_values"].toArray().first().toObject()));
  EXPECT_TRUE(choice["frequency_error_fraction"].isDouble());
  EXPECT_TRUE(choice["pulse_error_fraction"].isNull());
  EXPECT_TRUE(choice["warnings"].isArray());
  EXPECT_EQ(astable["warnings"].toArray().first().toObject()["code"], "resistance-too-high");
  EXPECT_EQ(astable["worst_case"].toObject()["duty_cycle_fraction"].toArray().size(), 2);
  EXPECT_TRUE(oneShot["predicted"].toObject()["frequency_hz"].isNull());
  EXPECT_TRUE(oneShot["predicted"].toObject()["t_low_s"].isNull());
  EXPECT_TRUE(oneShot["parts"].toObject()["r2_ohm"].isNull());
  EXPECT_TRUE(oneShot["worst_case"].toObject()["frequency_hz"].isNull());
  EXPECT_TRUE(
      oneShot["standard_values"].toArray().first().toObject()["pulse_error_fraction"].isDouble());
  EXPECT_EQ(oneShot["conditions"].toObject()["family"], "cmos");
  EXPECT_EQ(oneShot["conditions"].toObject()["resistor_series"], "E96");
}

// Where no resistor of the series brings the design's C1 to its target, the
// check says so, points to the search that chooses C1 as well, and shows the
// nearest marked off target.
TEST_F(CliTest, CheckSaysWhereNoStandardValueMeetsTheTarget) {
  const struct {
    std::vector<std::string> args;
    std::string said;
  } rows[] = {
      {{"check", "3", "-f", "1000", "-d", "25", "--series", "E6"},
       "No E6 resistors with C1 = 100.0 nF keep every limit and bring the frequency within "
       "\u00b15.0 % and the duty cycle within \u00b12.0 points; 'timer555-cli parts' chooses C1 "
       "as well. The nearest:\n"},
      {{"check", "4", "-t", "0.0123", "--series", "E6"},
       "No E6 resistors with C1 = 1.000 \u00b5F keep every limit and bring the pulse within "
       "\u00b15.0 %; 'timer555-cli parts' chooses C1 as well. The nearest:\n"},
  };
  for (const auto& row : rows) {
    ASSERT_EQ(Run(row.args), ExitStatus::Success) << err.str();
    const std::string text = out.str();
    const size_t said = text.find(row.said);
    ASSERT_NE(said, std::string::npos) << text;
    EXPECT_NE(text.find(", off target\n", said), std::string::npos) << text;
  }
}

TEST_F(CliTest, CheckRefusesWhatItCannotUse) {
  const std::pair<std::vector<std::string>, std::string> rows[] = {
      {{"check", "1", "-f", "1000", "-d", "75", "--vcc", "nan"},
       "--vcc wants a supply voltage from 1 to 40 V, not 'nan'"},
      {{"check", "1", "-f", "1000", "-d", "75", "--vcc", "1,5"},
       "--vcc wants a supply voltage from 1 to 40 V, not '1,5'"},
      {{"check", "1", "-f", "1000", "-d", "75", "--family", "ttl"},
       "--family wants bipolar or cmos, not 'ttl'"},
      {{"check", "1", "-f", "1000", "-d", "75", "--tolerance", "5"},
       "--tolerance wants two tolerances in % from 0 to 50 (R,C), not '5'"},
      {{"check", "1", "-f", "1000", "-d", "75", "--tolerance", "5,inf"},
       "--tolerance wants two tolerances in % from 0 to 50 (R,C), not 'inf'"},
      {{"check", "1", "-f", "1000", "-d", "75", "--temperature", "70,0"},
       "--temperature wants MIN,MAX with MIN at most MAX, not '70,0'"},
      {{"check", "1", "-f", "1000", "-d", "75", "--series", "E7"},
       "--series wants E6, E12, E24, E48 or E96, not 'E7'"},
      {{"check", "1"}, "check wants the design's figures: -f and -d, or -t"},
  };
  for (const auto& [args, message] : rows) {
    EXPECT_EQ(Run(args), ExitStatus::Usage) << message;
    EXPECT_EQ(err.str(), "timer555-cli: error: " + message + "\nTry 'timer555-cli --help'.\n");
  }
  EXPECT_EQ(Run({"check", "3", "-f", "1000", "-d", "0"}), ExitStatus::Failed);
  EXPECT_EQ(err.str(), "timer555-cli: error: Duty cycle invalid.\n");
}

// The circuit on the bench instead of the window's parts; the targets stay.
TEST_F(CliTest, CheckAndSimulateTakeACircuit) {
  ASSERT_EQ(Run({"check", "3", "-f", "1000", "-d", "25", "--vcc", "5", "--r1", "560", "--r2",
                 "1600", "--c1", "470e-9", "--json"}),
            ExitStatus::Success)
      << err.str();
  const QJsonObject check = Json(out.str());
  EXPECT_EQ(check["parts"].toObject()["r1_ohm"].toDouble(), 560);
  EXPECT_EQ(check["parts"].toObject()["c1_farad"].toDouble(), 470e-9);
  EXPECT_NEAR(check["predicted"].toObject()["frequency_hz"].toDouble(), 1006, 2);
  EXPECT_TRUE(check["standard_values"]
                  .toArray()
                  .first()
                  .toObject()["half_period_error_fraction"]
                  .isDouble());
  const std::string netlist = (dir / "bench.cir").string();
  ASSERT_EQ(Run({"simulate", "3", "-f", "1000", "-d", "25", "--r1", "560", "--netlist", netlist}),
            ExitStatus::Success);
  const std::string text = FileText(netlist);
  EXPECT_NE(text.find("R1 vcc disch 560\n"), std::string::npos);
  EXPECT_EQ(Run({"check", "4", "-t", "1", "--r2", "1000"}), ExitStatus::Usage);
  EXPECT_NE(err.str().find("the monostable has no R2"), std::string::npos);
  for (const char* bad : {"0", "-5", "x", "inf"}) {
    EXPECT_EQ(Run({"check", "1", "-f", "1000", "-d", "75", "--r1", bad}), ExitStatus::Usage) << bad;
  }
}

// From the parts search to the board: the choice the user picked goes into
// the schematic and the parts list without retyping; the parts given and the
// design's own go too; what cannot be written says why.
TEST_F(CliTest, ExportWritesTheChosenParts) {
  ASSERT_EQ(Run({"parts", "astable-below", "-f", "1000", "-d", "25", "--vcc", "5", "--json",
                 "--samples", "200"}),
            ExitStatus::Success);
  const QJsonObject first = Json(out.str())["choices"].toArray().first().toObject();
  const std::string schematic = Path("board.kicad_sch"), bom = Path("board.csv");
  ASSERT_EQ(Run({"export", "astable-below", "-f", "1000", "-d", "25", "--vcc", "5", "--samples",
                 "200", "--choice", "1", "--kicad", schematic, "--bom", bom}),
            ExitStatus::Success)
      << err.str();
  EXPECT_EQ(out.str(), "");  // silent, as every command that writes files
  const std::string csv = FileText(bom);
  for (const char* key : {"r1_ohm", "r2_ohm", "c1_farad"})
    EXPECT_NE(csv.find("," + BoardValueText(first[key].toDouble()) + ","), std::string::npos)
        << key << "\n"
        << csv;
  EXPECT_EQ(FileText(schematic).rfind("(kicad_sch (version 20211123)", 0), 0u);
  EXPECT_NE(FileText(schematic).find("Target: 1.000 kHz, 25.0 % at 5.0 V"), std::string::npos);
  ASSERT_EQ(Run({"export", "4", "-t", "0.01", "--r1", "9k1", "--c1", "1u", "--bom", bom}),
            ExitStatus::Success);
  EXPECT_NE(FileText(bom).find("R1,1,9.1k,"), std::string::npos) << FileText(bom);
  ASSERT_EQ(Run({"export", "1", "-f", "1000", "-d", "75", "--bom", bom}), ExitStatus::Success)
      << err.str();
  EXPECT_NE(FileText(bom).find("R1,1,7.213k,"), std::string::npos) << FileText(bom);
  const std::pair<std::vector<std::string>, std::string> usage[] = {
      {{"export", "1", "-f", "1000", "-d", "75"},
       "export wants at least one output: --kicad, --bom or --sheet"},
      {{"export", "1", "-f", "1000", "-d", "75", "--bom", bom, "--simulate"},
       "--simulate goes with --sheet"},
      {{"export", "1", "-f", "1000", "-d", "75", "--sheet", bom, "--paper", "A5"},
       "--paper wants a4 or letter, not 'A5'"},
      {{"export", "1", "-f", "1000", "-d", "75", "--bom", bom, "--choice", "1", "--r1", "1k"},
       "export takes --choice or --r1, --r2 and --c1, not both"},
      {{"export", "1", "-f", "1000", "-d", "75", "--bom", bom, "--r1", "1k"},
       "export wants --r1 and --c1 together"},
      {{"export", "1", "-f", "1000", "-d", "75", "--bom", bom, "--choice", "0"},
       "--choice wants a whole number from 1 to 50, not '0'"}};
  for (const auto& [args, message] : usage) {
    EXPECT_EQ(Run(args), ExitStatus::Usage) << message;
    EXPECT_EQ(err.str(), "timer555-cli: error: " + message + "\nTry 'timer555-cli --help'.\n");
  }
  fs::create_symlink("/dev/full", Path("full.csv"));
  fs::create_symlink("/dev/full", Path("full.pdf"));
  for (const auto& [option, file] : {std::pair{"--bom", "full.csv"}, {"--sheet", "full.pdf"}}) {
    EXPECT_EQ(Run({"export", "1", "-f", "1000", "-d", "75", option, Path(file)}),
              ExitStatus::Failed);
    EXPECT_NE(err.str().find("No space left on device"), std::string::npos) << err.str();
  }
}

TEST_F(CliTest, PartsOffersCleanPartsThatMeetTheTarget) {
  ASSERT_EQ(Run({"parts", "astable-below", "-f", "1000", "-d", "25", "--vcc", "5", "--json"}),
            ExitStatus::Success)
      << err.str();
  const std::string first = out.str();
  const QJsonObject answer = Json(first);
  EXPECT_TRUE(answer["clean"].toBool());
  EXPECT_EQ(answer["conditions"].toObject()["samples"].toInt(), 10000);
  EXPECT_EQ(answer["conditions"].toObject()["seed"].toInt(), 555);
  const QJsonArray choices = answer["choices"].toArray();
  ASSERT_EQ(choices.size(), 5);
  for (const QJsonValue& v : choices) {
    const QJsonObject c = v.toObject();
    EXPECT_NEAR(c["predicted"].toObject()["frequency_hz"].toDouble(), 1000, 20);
    EXPECT_NEAR(c["predicted"].toObject()["duty_cycle_fraction"].toDouble(), 0.25, 0.01);
    EXPECT_TRUE(c["warnings"].toArray().isEmpty());
    EXPECT_TRUE(c["r2_ohm"].isDouble());
    EXPECT_EQ(c["percentiles_1_99"].toObject()["frequency_hz"].toArray().size(), 2);
    EXPECT_GT(c["yield_fraction"].toDouble(), 0.2);
  }
  EXPECT_NEAR(answer["exact"].toObject()["predicted"].toObject()["frequency_hz"].toDouble(), 1000,
              0.1);
  // The same question gives the same answer.
  ASSERT_EQ(Run({"parts", "3", "-f", "1000", "-d", "25", "--vcc", "5", "--json"}),
            ExitStatus::Success);
  EXPECT_EQ(out.str(), first);
  // The one-shot: no R2, the pulse's percentiles only; the picture written.
  const std::string picture = (dir / "spread.svg").string();
  ASSERT_EQ(Run({"parts", "monostable", "-t", "0.01", "--json", "-o", picture, "--samples", "500"}),
            ExitStatus::Success)
      << err.str();
  const QJsonObject pulse = Json(out.str()).value("choices").toArray().first().toObject();
  EXPECT_TRUE(pulse["r2_ohm"].isNull());
  EXPECT_TRUE(pulse["percentiles_1_99"].toObject()["frequency_hz"].isNull());
  EXPECT_EQ(pulse["percentiles_1_99"].toObject()["t_high_s"].toArray().size(), 2);
  EXPECT_TRUE(fs::exists(picture));
  ASSERT_EQ(Run({"parts", "2", "-f", "1000"}), ExitStatus::Success);
  EXPECT_NE(out.str().find("Exact parts"), std::string::npos) << out.str();
}

// Part values as people type them: engineering and RKM notation alike,
// checked against the range after the prefix is applied.
TEST(PartValue, EngineeringAndRkmAlike) {
  using Q = PartQuantity;
  const struct {
    const char* text;
    Q quantity;
    double value;
  } read[] = {{"4700", Q::Resistance, 4700},    {"4.7k", Q::Resistance, 4700},
              {"4k7", Q::Resistance, 4700},     {"4K7", Q::Resistance, 4700},
              {"4R7", Q::Resistance, 4.7},      {"0R47", Q::Resistance, 0.47},
              {"47R", Q::Resistance, 47},       {"2M2", Q::Resistance, 2.2e6},
              {"1e6", Q::Resistance, 1e6},      {"1n5", Q::Capacitance, 1.5e-9},
              {"1.5n", Q::Capacitance, 1.5e-9}, {"470p", Q::Capacitance, 470e-12},
              {"4u7", Q::Capacitance, 4.7e-6},  {"4\u00b57", Q::Capacitance, 4.7e-6},
              {"100u", Q::Capacitance, 100e-6}, {"1.5e-9", Q::Capacitance, 1.5e-9},
              {"10m", Q::Capacitance, 10e-3}};
  for (const auto& r : read)
    EXPECT_NEAR(PartValue("--x", r.text, r.quantity) / r.value, 1, 1e-12) << r.text;
  const struct {
    const char* text;
    Q quantity;
  } refused[] = {{"1e-308p", Q::Capacitance}, {"1e15G", Q::Resistance}, {"0", Q::Resistance},
                 {"-5", Q::Resistance},       {"4k7k", Q::Resistance},  {"R47", Q::Resistance},
                 {"4.7.k", Q::Resistance},    {"x", Q::Capacitance},    {"inf", Q::Capacitance},
                 {"47", Q::Capacitance},      {"", Q::Resistance},      {"4k 7", Q::Resistance}};
  for (const auto& r : refused)
    EXPECT_THROW(PartValue("--x", r.text, r.quantity), UsageError) << r.text;
}

// The command line as people type it: a command's own help, enumerations
// in any case, parts in RKM notation, --window beside its old name --spec.
TEST_F(CliTest, TheCommandLineAsPeopleTypeIt) {
  for (const std::vector<std::string>& asks :
       {std::vector<std::string>{"parts", "--help"}, {"help", "parts"}, {"parts", "1", "-h"}}) {
    ASSERT_EQ(Run(asks), ExitStatus::Success) << asks[0];
    EXPECT_NE(out.str().find("  parts MODE"), std::string::npos);
    EXPECT_NE(out.str().find("--capacitor-types LIST"), std::string::npos);
    EXPECT_EQ(out.str().find("  check MODE"), std::string::npos);
  }
  ASSERT_EQ(Run({"help", "check"}), ExitStatus::Success);
  EXPECT_NE(out.str().find("Design options"), std::string::npos);
  ASSERT_EQ(Run({"help"}), ExitStatus::Success);
  EXPECT_NE(out.str().find("  simulate MODE"), std::string::npos);
  EXPECT_EQ(Run({"help", "nope"}), ExitStatus::Usage);
  ASSERT_EQ(Run({"check", "Astable-Above", "-f", "1000", "-d", "75", "--family", "CMOS", "--series",
                 "e24", "--r1", "4k7", "--c1", "1n5", "--json"}),
            ExitStatus::Success)
      << err.str();
  const QJsonObject check = Json(out.str());
  EXPECT_EQ(check["conditions"].toObject()["family"].toString(), "cmos");
  EXPECT_EQ(check["parts"].toObject()["r1_ohm"].toDouble(), 4700);
  EXPECT_DOUBLE_EQ(check["parts"].toObject()["c1_farad"].toDouble(), 1.5e-9);
  EXPECT_EQ(Run({"render", "app7", "--timer", "556a", "-o", Path("a.png")}), ExitStatus::Success);
  ASSERT_EQ(Run({"parts", "3", "-f", "1000", "-d", "25", "--window", "2,1", "--json"}),
            ExitStatus::Success);
  const std::string window = out.str();
  ASSERT_EQ(Run({"parts", "3", "-f", "1000", "-d", "25", "--spec", "2,1", "--json"}),
            ExitStatus::Success);
  EXPECT_EQ(out.str(), window);
  EXPECT_EQ(Run({"check", "1", "-f", "1000", "-d", "75", "--c1", "1e-308p"}), ExitStatus::Usage);
  EXPECT_NE(err.str().find("--c1 wants a capacitance from 1 fF to 10 F"), std::string::npos);
}

TEST_F(CliTest, PartsRefusesWhatItCannotUse) {
  const std::vector<std::vector<std::string>> bad = {
      {"parts"},
      {"parts", "4", "-f", "1000"},
      {"parts", "3", "-f", "1000", "-d", "60"},
      {"parts", "1", "-f", "1000", "-d", "40"},
      {"parts", "2", "-f", "1000", "-d", "50"},
      {"parts", "1", "-f", "1000"},
      {"parts", "3", "-f", "1000", "-d", "25", "--capacitors", "E24"},
      {"parts", "3", "-f", "1000", "-d", "25", "--seed", "-1"},
      {"parts", "3", "-f", "1000", "-d", "25", "--samples", "0"},
      {"parts", "3", "-f", "1000", "-d", "25", "--vcc-range", "9,6"},
      {"parts", "3", "-f", "0", "-d", "25"},
  };
  for (const auto& args : bad) {
    EXPECT_EQ(Run(args), ExitStatus::Usage) << args.back();
    EXPECT_NE(err.str().find("Try 'timer555-cli --help'"), std::string::npos);
  }
}

TEST_F(CliTest, SimulateAgainstIdealAndPredicted) {
  const std::string picture = Path("wave.svg");
  const ExitStatus status = Run({"simulate", "astable-below", "-f", "1000", "-d", "25", "--vcc",
                                 "5", "-o", picture, "--json"});
  if (FindNgspice().empty()) {
    EXPECT_EQ(status, ExitStatus::Failed);
    GTEST_SKIP() << "ngspice is not installed";
  }
  ASSERT_EQ(status, ExitStatus::Success) << err.str();
  const QJsonObject astable = Json(out.str());
  EXPECT_NEAR(astable["simulated"].toObject()["frequency_hz"].toDouble(), 772.1, 0.5);
  EXPECT_NEAR(astable["predicted"].toObject()["frequency_hz"].toDouble(), 772.1, 0.5);
  EXPECT_EQ(astable["ideal"].toObject()["frequency_hz"].toDouble(), 1000);
  const std::string doc = FileText(picture);
  EXPECT_NE(doc.find("2/3 Vcc</text>"), std::string::npos);
  ASSERT_EQ(Run({"simulate", "monostable", "-t", "0.5", "--json", "--family", "cmos"}),
            ExitStatus::Success);
  const QJsonObject oneShot = Json(out.str());
  EXPECT_EQ(Keys(astable), Keys(oneShot));
  for (const char* object : {"ideal", "predicted", "simulated"})
    EXPECT_EQ(Keys(oneShot[object].toObject()), Keys(astable["predicted"].toObject())) << object;
  EXPECT_TRUE(oneShot["simulated"].toObject()["frequency_hz"].isNull());
  EXPECT_NEAR(oneShot["simulated"].toObject()["t_high_s"].toDouble(), 0.5, 0.01);
}

TEST_F(CliTest, SavedNetlistRunsAsItStands) {
  const std::string netlist = Path("d1.cir");
  ASSERT_EQ(Run({"simulate", "1", "-f", "1000", "-d", "75", "--vcc", "12", "--netlist", netlist}),
            ExitStatus::Success);
  EXPECT_EQ(out.str(), "");
  const std::string text = FileText(netlist);
  EXPECT_EQ(text.rfind("* timer555: astable, duty cycle above 50 %", 0), 0u);
  if (FindNgspice().empty()) GTEST_SKIP() << "ngspice is not installed";
  const ChildRun run = RunChild({"ngspice", "-b", netlist}, dir.string(), 5);
  ASSERT_EQ(run.exitCode, 0) << run.output;
  const auto measured = ParseMeasurements(run.output);
  for (int k = 1; k <= 8; ++k) {
    EXPECT_EQ(measured.count("rise" + std::to_string(k)), 1u) << k << run.output;
    EXPECT_EQ(measured.count("fall" + std::to_string(k)), 1u) << k;
  }
}

TEST_F(CliTest, SimulateWithoutNgspiceSaysSo) {
  const std::string path = std::getenv("PATH");
  setenv("PATH", dir.c_str(), 1);
  const ExitStatus status = Run({"simulate", "1", "-f", "1000", "-d", "75"});
  setenv("PATH", path.c_str(), 1);
  EXPECT_EQ(status, ExitStatus::Failed);
  EXPECT_EQ(err.str(),
            std::string("timer555-cli: error: ") + kNgspiceMissing + " (not found on the PATH)\n");
  EXPECT_EQ(Run({"simulate", "1", "-f", "1000", "-d", "75", "-o", "x.bmp"}), ExitStatus::Usage);
}

TEST_F(CliTest, DesignUsageErrors) {
  EXPECT_EQ(Run({"design"}), ExitStatus::Usage);
  EXPECT_EQ(Run({"design", "astable"}), ExitStatus::Usage);
  EXPECT_EQ(Run({"design", "1", "-f", "1e3"}), ExitStatus::Usage);
  EXPECT_EQ(err.str(),
            "timer555-cli: error: -f: '1e3' cannot be typed (digits and a point only)\n"
            "Try 'timer555-cli --help'.\n");
  EXPECT_EQ(Run({"design", "1", "-f", "12345678901"}), ExitStatus::Usage);
  EXPECT_EQ(Run({"design", "4", "-f", "1"}), ExitStatus::Usage);
  EXPECT_EQ(Run({"design", "4", "-t", "1", "--set", "R2=1"}), ExitStatus::Usage);
  EXPECT_EQ(Run({"design", "1", "--c1-up", "-3"}), ExitStatus::Usage);
}

TEST_F(CliTest, RendersADesignPageCalculated) {
  const std::string svg = Path("d1.svg");
  ASSERT_EQ(Run({"render", "design1", "-f", "1000", "-d", "75", "-o", svg}), ExitStatus::Success)
      << err.str();
  const std::string doc = FileText(svg);
  EXPECT_NE(doc.find(">7.214K</text>"), std::string::npos);
  const std::string png = Path("d4.png");
  ASSERT_EQ(Run({"render", "design4", "-o", png}), ExitStatus::Success) << err.str();
  EXPECT_EQ(QImage(QString::fromStdString(png)).size(), QSize(650, 308));
}

TEST_F(CliTest, HostileScriptsAndCounts) {
  // NUL bytes, bytes that are not UTF-8, a label of control characters, an endless line.
  std::string bytes = "M0101 LR\x01\x02\x03 D0\x0001 \xff\xfe\x80 ";
  bytes += std::string(20000, 'D');
  const std::string script = Path("hostile.txt");
  {
    std::ofstream f(script, std::ios::binary);
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  for (const char* file : {"h.svg", "h.png"}) {
    // The NUL byte stands in the column field of "D0\0001": the drawing ends
    // there with the conversion error, the file holds what was drawn.
    EXPECT_EQ(Run({"render", "--script", script, "--values", "-o", Path(file)}), ExitStatus::Failed)
        << file;
    EXPECT_EQ(err.str(),
              "timer555-cli: error: line 1, token 3: '0?' is not a valid integer value\n")
        << file;
    EXPECT_TRUE(fs::exists(Path(file))) << file;
  }
  const std::string doc = FileText(Path("h.svg"));
  EXPECT_NE(doc.find(">\?\?\?</text>"), std::string::npos)
      << "control characters never reach the XML";

  const std::string huge = Path("huge.txt");
  {
    std::ofstream f(huge, std::ios::binary);
    const std::string line(59, 'X');
    for (int i = 0; i < 2000; ++i)
      f << line << "\n";
  }
  EXPECT_EQ(Run({"render", "--script", huge, "-o", Path("x.svg")}), ExitStatus::Failed);
  EXPECT_EQ(err.str(),
            "timer555-cli: error: '" + huge + "' is larger than a script can be (64 KiB)\n");
  EXPECT_EQ(Run({"design", "1", "-f", "1", "-d", "60", "--c1-down", "1001"}), ExitStatus::Usage);
  EXPECT_EQ(Run({"design", "1", "-f", "1", "-d", "60", "--c1-down", "600", "--c1-up", "600"}),
            ExitStatus::Usage);
  EXPECT_EQ(Run({"design", "1", "-f", "1", "-d", "60", "--c1-down", "99999999999999999999"}),
            ExitStatus::Usage);
  // The most a user can ask for stays a short run.
  EXPECT_EQ(Run({"design", "1", "-f", "1", "-d", "60", "--c1-down", "1000"}), ExitStatus::Success);
  EXPECT_EQ(Run({"design", "3", "-f", "1", "-d", std::string(100000, '9')}), ExitStatus::Failed);
  EXPECT_EQ(err.str(), "timer555-cli: error: Duty cycle invalid.\n");
}

TEST_F(CliTest, UnreadableScriptOrUnwritableOutputFails) {
  EXPECT_EQ(Run({"render", "--script", Path("missing.txt"), "-o", Path("x.png")}),
            ExitStatus::Failed);
  EXPECT_EQ(err.str(), "timer555-cli: error: cannot read '" + Path("missing.txt") + "'\n");
  const std::string script = Script({"XFILL"});
  const std::string bad = Path("no/such/dir/x.svg");
  EXPECT_EQ(Run({"render", "--script", script, "-o", bad}), ExitStatus::Failed);
  EXPECT_EQ(err.str(),
            "timer555-cli: error: cannot write '" + bad + "': No such file or directory\n");
}

}  // namespace
}  // namespace timer555
