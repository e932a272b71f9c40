#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <regex>
#include <sstream>

#include "analysis/parts.h"

#include "analysis/band.h"
#include "report/figures.h"
#include "report/json.h"
#include "report/parts_report.h"
#include "support/designs.h"

namespace timer555 {
namespace {

TEST(DesignKinds, NamesNumbersAndTraitsAgree) {
  for (DesignKind kind : kDesignKinds) {
    const DesignTraits& t = TraitsOf(kind);
    EXPECT_EQ(DesignKindNamed(t.name), kind);
    EXPECT_EQ(DesignKindNamed(std::to_string(DesignNumber(kind))), kind);
    EXPECT_EQ(DesignKindOf(DesignNumber(kind)), kind);
    // A design with a resistor pair draws its R2; the pull-up is drawn as R2.
    EXPECT_TRUE(t.hasR2 || !(t.resistorPair || t.pullUp > 0)) << t.name;
    EXPECT_FALSE(t.oneShot && t.hasR2) << t.name;
    EXPECT_NE(t.usesDischarge, t.pullUp > 0) << t.name;
  }
  EXPECT_FALSE(DesignKindNamed("5"));
  EXPECT_FALSE(DesignKindNamed("Monostable"));
  EXPECT_FALSE(DesignKindOf(0));
}

TEST(FigureText, EachKindOfFigure) {
  using K = TimingRow::Kind;
  const struct {
    K kind;
    std::optional<double> value;
    const char* text;
  } cases[] = {
      {K::Frequency, 772.123, "772.1 Hz"},
      {K::Frequency, 1000, "1.000 kHz"},
      {K::DutyCycle, 0.2546, "25.5 %"},
      {K::DutyCycle, std::nullopt, "-"},
      {K::Time, 250e-6, "250.0 \u00b5s"},
      {K::Time, std::nullopt, "-"},
      {K::Frequency, NAN, "-"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FigureText(c.kind, c.value), c.text) << c.text;
}

TEST(TimingTable, AstablesShowFiveFiguresAndTheOneShotItsPulse) {
  const DesignSnapshot astable = Astable(3, 1000, 0.25);
  const std::string table = TimingTable(
      astable.kind,
      {{kIdealColumn, IdealTiming(astable)}, {kPredictedColumn, PredictTiming(astable, At(5))}},
      true);
  EXPECT_EQ(table.substr(0, table.find('\n')), std::string(16, ' ') + "ideal           predicted");
  EXPECT_NE(table.find("Frequency       1.000 kHz       771.7 Hz  (-22.8 %)\n"), std::string::npos)
      << table;
  EXPECT_NE(table.find("Duty cycle      25.0 %          25.4 %\n"), std::string::npos) << table;
  EXPECT_EQ(std::count(table.begin(), table.end(), '\n'), 6);

  const DesignSnapshot pulse = OneShot(0.01, 1e-6);
  const Timing ideal = IdealTiming(pulse);
  const std::string oneShot = TimingTable(pulse.kind, {{kIdealColumn, ideal}}, false);
  EXPECT_EQ(oneShot, std::string(16, ' ') + "ideal\nPulse           10.00 ms\n");
}

TEST(ChoiceText, NamesTheResistorsTheUserChooses) {
  StandardChoice c;
  c.r1 = 3600;
  c.r2 = 11000;
  c.predicted = IdealTiming(Astable(3, 1000, 0.25));
  EXPECT_EQ(ChoiceText(DesignKind::AstableBelow, c),
            "R1 3.600 k\u03a9, R2 11.00 k\u03a9: 1.000 kHz, 25.0 %, error 0.00 %");
  // The error at the band's worse end where it is larger; off target said.
  c.error = 0.0123;
  c.worst = 0.0311;
  c.onTarget = false;
  EXPECT_EQ(ChoiceText(DesignKind::AstableBelow, c),
            "R1 3.600 k\u03a9, R2 11.00 k\u03a9: 1.000 kHz, 25.0 %, error 1.23 % (3.11 % at "
            "worst), off target");
  // The 50 % design's pull-up is fixed, not a choice.
  c.r2 = kSquareWaveR2;
  EXPECT_EQ(ChoiceText(DesignKind::AstableSquare, c).find("R2"), std::string::npos);
}

TEST(TimingJson, EveryDesignHasTheSameKeys) {
  const QJsonObject astable = TimingJson(IdealTiming(Astable(1, 1000, 0.75)));
  const QJsonObject pulse = TimingJson(IdealTiming(OneShot(1, 1e-4)));
  EXPECT_EQ(astable.keys(), pulse.keys());
  for (const TimingRow& row : AllTimingRows())
    EXPECT_TRUE(pulse.contains(row.key)) << row.key;
  EXPECT_TRUE(pulse["frequency_hz"].isNull());
  EXPECT_DOUBLE_EQ(pulse["t_high_s"].toDouble(), pulse["first_t_high_s"].toDouble());
  EXPECT_TRUE(PartsJson(OneShot(1, 1e-4))["r2_ohm"].isNull());
}

// The schema's list of codes is the program's.
TEST(JsonVocabulary, TheSchemaNamesEveryWarningCode) {
  QFile file(TIMER555_SOURCE_DIR "/docs/schema/vocabulary.schema.json");
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  QJsonObject node = QJsonDocument::fromJson(file.readAll()).object();
  for (const char* key : {"$defs", "warning", "properties", "code"})
    node = node[key].toObject();
  const QJsonArray codes = node["enum"].toArray();
  QStringList schema, program;
  for (const QJsonValue& code : codes)
    schema.append(code.toString());
  for (const WarningKind& kind : AllWarningKinds())
    program.append(kind.key);
  EXPECT_EQ(schema, program);
}

// A standard capacitor prints as it is written on the part: 1.5 nF is
// 1.5e-09, never 1.5000000000000002e-09.
TEST(JsonVocabulary, StandardValuesPrintAsTheyRead) {
  for (CapacitorSeries series : {CapacitorSeries::E3, CapacitorSeries::E6, CapacitorSeries::E12})
    for (double c : CapacitorValues(series)) {
      std::ostringstream out;
      PrintJsonLine({{"c1_farad", c}}, out);
      std::string digits = out.str();  // the mantissa's, without the point and zeros
      digits = digits.substr(digits.find(':') + 1);
      digits = digits.substr(0, digits.find_first_of("e}"));
      std::erase(digits, '.');
      digits = digits.substr(digits.find_first_not_of('0'));
      digits = digits.substr(0, digits.find_last_not_of('0') + 1);
      EXPECT_LE(digits.size(), 2u) << out.str();
    }
  for (Series series : {Series::E24, Series::E96})
    for (double r : SeriesValues(series)) {
      std::ostringstream out;
      PrintJsonLine({{"r1_ohm", r}}, out);
      EXPECT_LE(out.str().size(), std::string(R"({"r1_ohm":100000000})").size() + 1) << out.str();
    }
}

// The check's JSON says what its text says: the warnings as {code, text,
// limit}, each standard choice's broken limits by name.
TEST(CheckJson, WarningsAndChoicesCarryTheirCodes) {
  CheckSettings settings;
  DesignSnapshot s = Astable(1, 1000, 0.75);
  s.r1 = 20e6;  // above the largest timing resistance at 9 V
  const CheckReport report = RunCheck(s, settings);
  const QJsonObject json = CheckJson(s, settings, report);
  const QJsonArray warnings = json["warnings"].toArray();
  ASSERT_EQ(warnings.size(), static_cast<qsizetype>(report.warnings.size()));
  const QJsonObject first = warnings.first().toObject();
  EXPECT_EQ(first["code"], "resistance-too-high");
  EXPECT_TRUE(first["limit"].toBool());
  EXPECT_EQ(first["text"].toString().toStdString(), report.warnings.front().message);
  for (const QJsonValue& v : json["standard_values"].toArray()) {
    const QJsonObject c = v.toObject();
    EXPECT_TRUE(c["warnings"].isArray());
    EXPECT_EQ(c["c1_farad"].toDouble(), s.c1);
    EXPECT_TRUE(c["half_period_error_fraction"].isDouble());
    EXPECT_TRUE(c["pulse_error_fraction"].isNull());
  }
  const QJsonObject conditions = json["conditions"].toObject();
  EXPECT_EQ(conditions["resistor_tolerance_fraction"].toDouble(), 0.05);
  EXPECT_EQ(conditions["temperature_max_c"].toDouble(), 70);
  EXPECT_EQ(conditions["vcc_v"].toDouble(), 9);
}

// The answer as a person reads it says what kind of answer it is: the
// one-shot's spread in time, a draining battery, an answer that cannot be
// met and one where nothing keeps every limit.
TEST(PartsAnswerText, SaysWhatKindOfAnswerItIs) {
  const auto question = [](DesignSnapshot target, double vcc) {
    PartsQuestion q;
    q.target = target;
    q.bench.conditions.vcc = vcc;
    q.bench.samples = 200;
    return q;
  };
  PartsQuestion battery = question(Astable(1, 1000, 0.6), 9);
  battery.bench.vccRange = std::pair{6.0, 9.0};
  const struct {
    const char* name;
    PartsQuestion q;
    std::vector<std::string> phrases;
  } rows[] = {
      {"one-shot", question(OneShot(0.01, 1e-7), 9), {"98 % of boards 9.", "ms to 10.", "pulse"}},
      {"battery", battery, {"Vcc uniform from 6.0 to 9.0 V at 0.3 %/V"}},
      {"fast", question(Astable(3, 50000, 0.1), 9), {"Cannot be met.", "The nearest, off target:"}},
      {"too fast",
       question(Astable(3, 300000, 0.1), 9),
       {"Cannot be met.", "none within 100 % of the target."}},
      {"supply",
       question(Astable(1, 1000, 0.75), 20),
       {"No choice keeps every limit", "vcc-out-of-range"}},
  };
  for (const auto& row : rows) {
    const PartsAnswer answer =
        FindParts(row.q.target, row.q.bench, row.q.resistors, row.q.capacitors);
    const std::string text = PartsAnswerText(row.q, answer);
    for (const std::string& phrase : row.phrases)
      EXPECT_NE(text.find(phrase), std::string::npos) << row.name << ": " << phrase << "\n" << text;
  }
}

// The one-shot's band is a pulse's; nothing is said where the band is
// narrower than the chip's accuracy.
TEST(BandText, ThePulseOrNothing) {
  Conditions at;
  const DesignSnapshot fast = OneShot(2e-6, 1e-9);
  const std::string pulse = BandText(fast.kind, at.family, PredictBand(fast, at));
  EXPECT_NE(pulse.find("\u00b5s to "), std::string::npos) << pulse;
  EXPECT_NE(pulse.find("with the bipolar timer's delays"), std::string::npos) << pulse;
  const DesignSnapshot slow = OneShot(1, 1e-6);
  EXPECT_EQ(BandText(slow.kind, at.family, PredictBand(slow, at)), "");
  EXPECT_EQ(BandText(fast.kind, TimerFamily::Cmos, PredictBand(fast, {9, TimerFamily::Cmos})), "");
}

}  // namespace
}  // namespace timer555
