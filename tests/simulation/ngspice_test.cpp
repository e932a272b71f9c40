#include "simulation/ngspice.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "simulation/netlist.h"
#include "simulation/wave_picture.h"
#include "support/designs.h"
#include "support/recording_canvas.h"
#include "support/scratch.h"

namespace timer555 {
namespace {

namespace fs = std::filesystem;

DesignSnapshot Design(int mode, double f, double duty, double c1) {
  return mode == 4 ? OneShot(f, c1) : Astable(mode, f, duty, c1);  // f: the pulse for the one-shot
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST(Netlist, DrawsEachCircuitAsTheSchematicDoes) {
  const struct {
    int mode;
    std::vector<std::string> lines;
  } rows[] = {
      {1,
       {"X1 0 cap out vcc ctrl cap disch vcc timer555", "R1 vcc disch 7213.475204444818",
        "R2 disch cap 3606.737602222409"}},
      {2, {"R2 vcc out 4700", "R1 out cap 72134.75204444818", "Rdis disch 0 1G"}},
      {3,
       {"R1 vcc disch 3606.737602222409", "D1 disch cap D1N4148", "R2 cap steer 10820.21280666",
        "D2 steer disch D1N4148"}},
      {4,
       {"X1 0 trig out vcc ctrl cap cap vcc timer555", "R1 vcc cap 9102.392266268373",
        "Vtrig trig 0 PULSE(9 0 "}},
  };
  const DesignSnapshot designs[] = {Design(1, 1000, 0.75, 1e-7), Design(2, 1000, 0.5, 1e-8),
                                    Design(3, 1000, 0.25, 1e-7), Design(4, 1, 0, 1e-4)};
  for (const auto& row : rows) {
    const DesignSnapshot& d = designs[row.mode - 1];
    const std::string n = Netlist(d, At(9), PlanSimulation(d, At(9)));
    for (const std::string& line : row.lines)
      EXPECT_TRUE(Contains(n, line)) << row.mode << ": " << line << "\n" << n;
    for (const std::string& common : std::vector<std::string>{
             ".subckt timer555 gnd trig out reset ctrl thresh disch vcc", "Rd1 vcc ctrl 5k",
             "Bth thresh gnd I = 2e-07 / (1 + exp((V(ctrl,gnd) - V(thresh,gnd)) / 0.05138",
             "Btr gnd trig I = 5e-07 / (1 + exp((V(trig,gnd) - V(lo,gnd)) / 0.05138",
             "C2 ctrl 0 10n", DiodeModelLine(DiodeModel{}),
             ".ic v(cap)=0 v(ctrl)=6 v(x1.lo)=3 v(x1.q)=1", " uic\n",
             ".meas tran rise1 WHEN v(out)=4.5 ", "Vcc vcc 0 DC 9", "* timer555: ", ".end\n"})
      EXPECT_TRUE(Contains(n, common)) << row.mode << ": " << common;
    EXPECT_FALSE(Contains(n, ".control")) << "a saved netlist runs as it stands";
  }
  // The CMOS output reaches Vcc and sinks as well as sources.
  const DesignSnapshot& d = designs[0];
  const std::string cmos = Netlist(d, At(9, TimerFamily::Cmos), PlanSimulation(d, At(9)));
  EXPECT_TRUE(Contains(cmos, "(V(out,gnd) - V(vcc,gnd)) / 60"));
  EXPECT_TRUE(Contains(cmos, "Ith thresh gnd DC 1e-11"));
}

// The netlist's diode is the prediction's: every figure of the model, as
// ngspice reads it back.
TEST(Netlist, DiodeLineIsTheModel) {
  const DiodeModel d;
  EXPECT_EQ(DiodeModelLine(d), ".model D1N4148 D(IS=2.52e-09 N=1.752 RS=0.568 EG=1.11 XTI=3)\n");
  DiodeModel other;
  other.is = 4e-9;
  other.n = 2;
  EXPECT_EQ(DiodeModelLine(other), ".model D1N4148 D(IS=4e-09 N=2 RS=0.568 EG=1.11 XTI=3)\n");
}

TEST(Netlist, PlanFollowsThePeriod) {
  for (const double f : {0.01, 1000.0, 2e6}) {
    const DesignSnapshot d = Design(1, f, 0.6, f > 1e5 ? 1e-10 : f < 1 ? 1e-4 : 1e-6);
    const SimulationPlan p = PlanSimulation(d, At(9));
    const Timing t = PredictTiming(d, At(9));
    // The first charge and the measured periods fit; a bounded number of steps.
    EXPECT_GT(p.stop, t.firstTHigh + p.lastRise / *t.frequency) << f;
    EXPECT_LT(p.stop, t.firstTHigh + (p.lastRise + 3) / *t.frequency) << f;
    EXPECT_LT(p.stop / p.maxStep, 25000) << f;
  }
}

TEST(Netlist, StepsDoNotDependOnTheDutyCycle) {
  for (const double duty : {0.0001, 0.01, 0.25, 0.4999}) {
    const DesignSnapshot d = Design(3, 1000, duty, 1e-7);
    const SimulationPlan p = PlanSimulation(d, At(12));
    EXPECT_LT(p.stop / p.maxStep, 2500) << duty;
  }
  for (const double duty : {0.5001, 0.75, 0.99, 0.9999}) {
    const SimulationPlan p = PlanSimulation(Design(1, 1000, duty, 1e-7), At(12));
    EXPECT_LT(p.stop / p.maxStep, 2500) << duty;
  }
}

TEST(Measurements, ParsedAndTurnedIntoFigures) {
  const std::string output =
      "Note: ...\nrise1               =   1.00000e-09\nfall1 = 1.0e-3\n"
      "rise2 = 1.5e-3\nfall2 = 2.2e-3\nrise3 = 2.5e-3\nfall3 = 3.2e-3\nrise4 = 3.5e-3\n"
      "fall4 = 4.2e-3\nrise5 = 4.5e-3\nfall5 = 5.2e-3\nrise6 = 5.5e-3\nfall6 = 6.2e-3\n"
      "rise7 = 6.5e-3\nfall7 = 7.2e-3\nrise8 = 7.5e-3\nfall8 = failed\n"
      "Error: garbage = here\n";
  const auto m = ParseMeasurements(output);
  EXPECT_EQ(m.count("fall8"), 0u);
  EXPECT_EQ(m.count("Error:"), 0u);
  DesignSnapshot d;
  const auto t = TimingFromMeasurements(d, SimulationPlan{}, m);
  ASSERT_TRUE(t);
  EXPECT_NEAR(*t->frequency, 1000, 1e-9);
  EXPECT_NEAR(t->tHigh, 0.7e-3, 1e-12);
  EXPECT_NEAR(*t->dutyCycle, 0.7, 1e-9);
  EXPECT_NEAR(t->firstTHigh, 1e-3, 1e-15);
  EXPECT_FALSE(TimingFromMeasurements(d, SimulationPlan{}, ParseMeasurements("rise1 = 1\n")));
}

// Stand-ins for ngspice in a directory of their own, and a private TMPDIR
// that must be empty again after every run.
class SimulationRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root = ScratchFolder("timer555_sim");
    fs::create_directories(root / "tmp");
    fs::create_directories(root / "bin");
    const char* old = std::getenv("TMPDIR");
    savedTmp = old ? old : "";
    setenv("TMPDIR", (root / "tmp").c_str(), 1);
  }
  void TearDown() override {
    if (savedTmp.empty()) {
      unsetenv("TMPDIR");
    } else {
      setenv("TMPDIR", savedTmp.c_str(), 1);
    }
    fs::remove_all(root);
  }
  std::string StandIn(const std::string& name, const std::string& body) {
    const fs::path script = root / "bin" / name;
    std::ofstream(script) << "#!/bin/sh\n" << body << "\n";
    fs::permissions(script, fs::perms::owner_all);
    return script.string();
  }
  std::string NotExecutable() {
    const fs::path plain = root / "bin" / "plain";
    std::ofstream(plain) << "#!/bin/sh\n";
    fs::permissions(plain, fs::perms::owner_read | fs::perms::owner_write);
    return plain.string();
  }
  bool TemporaryFilesLeft() const { return !fs::is_empty(root / "tmp"); }

  fs::path root;
  std::string savedTmp;
};

TEST_F(SimulationRunTest, FailuresAreClearMessagesAndLeaveNothingBehind) {
  const DesignSnapshot d = Design(1, 1000, 0.75, 1e-7);
  const struct {
    std::string program;
    std::string message;
  } rows[] = {
      {(root / "bin" / "missing").string(),
       "cannot start '" + (root / "bin" / "missing").string() + "': No such file or directory"},
      {NotExecutable(),
       "cannot start '" + (root / "bin" / "plain").string() + "': Permission denied"},
      {StandIn("no_wave",
               "echo 'rise1 = 1e-3'; echo 'fall1 = 1.5e-3'; for k in 2 3 4 5 6 7 8; "
               "do echo \"rise$k = ${k}e-3\"; echo \"fall$k = ${k}.5e-3\"; done"),
       "ngspice measured the circuit but wrote no waveform"},
      {StandIn("sleeps", "sleep 30"), "the simulation did not finish within 1 s"},
      {StandIn("forks", "sleep 30 &\necho started"), "the simulation did not finish within 1 s"},
      {StandIn("garbage", "echo 'rise1 = banana'; echo '%%% garbage'"),
       "the simulation printed no measurement: the circuit does not switch as designed"},
      {StandIn("fails", "exit 3"), "ngspice failed (exit status 3) and printed no measurement"},
      {StandIn("killed", "kill -9 $$"), "ngspice was ended by signal 9"},
      // A waveform larger than any run writes is refused, not read.
      {StandIn("huge_wave",
               "echo 'rise1 = 1e-3'; echo 'fall1 = 1.5e-3'; for k in 2 3 4 5 6 7 8; "
               "do echo \"rise$k = ${k}e-3\"; echo \"fall$k = ${k}.5e-3\"; done; "
               "head -c 20000000 /dev/zero | tr '\\0' 1 > wave.txt"),
       "ngspice wrote a waveform of 19 MB, more than the 16 MB a run writes"},
  };
  for (const auto& row : rows) {
    const SimulationResult r = Simulate(d, At(12), row.program, 1);
    ASSERT_TRUE(r.error) << row.message;
    EXPECT_EQ(*r.error, row.message);
    EXPECT_LT(r.seconds, 3) << row.message << ": the limit holds";
    EXPECT_FALSE(TemporaryFilesLeft()) << row.message;
  }
}

// The program adopts its run's orphans only while the run lasts: afterwards
// it is no subreaper, as before.
TEST_F(SimulationRunTest, OrphansAreAdoptedOnlyDuringTheRun) {
  int before = -1;
  ASSERT_EQ(prctl(PR_GET_CHILD_SUBREAPER, &before), 0);
  Simulate(Design(1, 1000, 0.75, 1e-7), At(12), StandIn("quick", "exit 0"), 1);
  int after = -1;
  ASSERT_EQ(prctl(PR_GET_CHILD_SUBREAPER, &after), 0);
  EXPECT_EQ(after, before);
}

// A temporary folder that cannot be made is named with the reason.
TEST_F(SimulationRunTest, AnUnusableTemporaryFolderIsNamed) {
  const std::string missing = (root / "tmp" / "gone").string();
  setenv("TMPDIR", missing.c_str(), 1);
  const SimulationResult r =
      Simulate(Design(1, 1000, 0.75, 1e-7), At(12), StandIn("x", "exit 0"), 1);
  setenv("TMPDIR", (root / "tmp").c_str(), 1);
  ASSERT_TRUE(r.error);
  EXPECT_EQ(*r.error, "cannot make a temporary folder for the simulation in '" + missing +
                          "': No such file or directory");
}

TEST_F(SimulationRunTest, NgspiceMissingFromThePathIsNamed) {
  const std::string path = std::getenv("PATH");
  setenv("PATH", (root / "bin").c_str(), 1);
  const SimulationResult r = Simulate(Design(1, 1000, 0.75, 1e-7), At(12));
  setenv("PATH", path.c_str(), 1);
  EXPECT_EQ(r.error, std::string(kNgspiceMissing) + " (not found on the PATH)");
}

TEST_F(SimulationRunTest, AProcessThatLeavesItsGroupIsEndedToo) {
  const fs::path pidFile = root / "escaped.pid";
  const std::string program =
      StandIn("escapes", "setsid sleep 30 &\necho $! > '" + pidFile.string() + "'\nsleep 30");
  const SimulationResult r = Simulate(Design(1, 1000, 0.75, 1e-7), At(12), program, 1);
  EXPECT_EQ(r.error, "the simulation did not finish within 1 s");
  pid_t escaped = 0;
  std::ifstream(pidFile) >> escaped;
  ASSERT_GT(escaped, 0);
  EXPECT_NE(kill(escaped, 0), 0) << "the process that called setsid is still running";
  // One that outlives a child which ends in time goes too.
  const std::string quick =
      StandIn("quick", "setsid sleep 30 &\necho $! > '" + pidFile.string() + "'\nexit 0");
  Simulate(Design(1, 1000, 0.75, 1e-7), At(12), quick, 2);
  std::ifstream(pidFile) >> escaped;
  EXPECT_NE(kill(escaped, 0), 0);
}

TEST_F(SimulationRunTest, ACircuitThatNeverSwitchesIsNotRun) {
  // R1 + R2 of 1 GOhm: the threshold current holds the capacitor below 2/3 Vcc.
  DesignSnapshot d = Design(1, 0.01, 0.6, 1e-7);
  d.r1 = d.r2 = 1e9;
  const SimulationResult r = Simulate(d, At(9), StandIn("sleeps", "sleep 30"), 5);
  EXPECT_EQ(r.error, kNeverSwitchesMessage);
  DesignSnapshot pulse = Design(4, 0, 0, 1e-6);
  pulse.r1 = 1e9;
  pulse.pulseLength = 1000;
  EXPECT_EQ(Simulate(pulse, At(9), StandIn("sleeps", "sleep 30"), 5).error, kNeverEndsMessage);
}

TEST_F(SimulationRunTest, CancelEndsTheChild) {
  std::atomic<bool> cancel{true};
  const SimulationResult r =
      Simulate(Design(1, 1000, 0.75, 1e-7), At(12), StandIn("sleeps", "sleep 30"), 5, &cancel);
  EXPECT_EQ(r.error, "the simulation was cancelled");
  EXPECT_FALSE(TemporaryFilesLeft());
}

// The real simulator: installed by scripts/setup.
class NgspiceTest : public SimulationRunTest {
 protected:
  void SetUp() override {
    SimulationRunTest::SetUp();
    if (FindNgspice().empty()) GTEST_SKIP() << "ngspice is not installed";
  }
  Timing Run(const DesignSnapshot& d, const Conditions& c) {
    const SimulationResult r = Simulate(d, c);
    EXPECT_FALSE(r.error) << r.error.value_or("");
    EXPECT_FALSE(TemporaryFilesLeft());
    EXPECT_FALSE(r.wave.empty());
    return r.simulated;
  }
};

TEST_F(NgspiceTest, PlainDesignsMeetTheIdealRelations) {
  const Timing t1 = Run(Design(1, 1000, 0.75, 1e-7), At(12));
  EXPECT_NEAR(*t1.frequency / 1000, 1, 0.005);
  EXPECT_NEAR(*t1.dutyCycle / 0.75, 1, 0.005);
  // The first high time runs from 0 V: ln 3 / ln 2 of the steady one.
  EXPECT_NEAR(t1.firstTHigh / t1.tHigh / 1.585, 1, 0.01);
  const Timing t4 = Run(Design(4, 0.01, 0, 1e-6), At(12));
  EXPECT_NEAR(t4.tHigh / 0.01, 1, 0.005);
}

// The designs at the ends of what the window produces: duty cycles near 0
// and 100 %, the highest frequency, one-shots from 10 us to an hour. Four run
// at once on two cores; each ends well within its limit, and those the
// prediction models closely agree with it.
TEST_F(NgspiceTest, ExtremeDesignsFinishFastFourAtATime) {
  const struct {
    DesignSnapshot design;
    TimerFamily family;
    double tolerance;  // relative, simulated against predicted; 0: not compared
  } rows[] = {
      {Design(1, 1000, 0.9999, 1e-7), TimerFamily::Bipolar, 0.005},
      {Design(1, 1000, 0.99, 1e-7), TimerFamily::Bipolar, 0.002},
      {Design(3, 1000, 0.01, 1e-7), TimerFamily::Bipolar, 0.002},
      {Design(3, 1, 0.0001, 1e-6), TimerFamily::Bipolar, 0.005},
      {Design(1, 1, 0.9999, 1e-4), TimerFamily::Bipolar, 0.002},
      {Design(1, 2e6, 0.6, 1e-10), TimerFamily::Cmos, 0},
      {Design(3, 0.01, 0.01, 1e-4), TimerFamily::Cmos, 0},
      {Design(4, 1e-5, 0, 1e-9), TimerFamily::Bipolar, 0.002},
      {Design(4, 3600, 0, 1e-3), TimerFamily::Cmos, 0.002},
  };
  std::vector<SimulationResult> results(std::size(rows));
  std::atomic<size_t> next{0};
  std::vector<std::thread> runners;
  for (int k = 0; k < 4; ++k) {
    runners.emplace_back([&] {
      for (size_t i = next++; i < std::size(rows); i = next++)
        results[i] = Simulate(rows[i].design, At(9, rows[i].family));
    });
  }
  for (std::thread& t : runners)
    t.join();
  for (size_t i = 0; i < std::size(rows); ++i) {
    const SimulationResult& r = results[i];
    ASSERT_FALSE(r.error) << i << ": " << r.error.value_or("");
    EXPECT_LT(r.seconds, 2.5) << i;
    if (rows[i].tolerance == 0) continue;
    const Timing predicted = PredictTiming(rows[i].design, At(9, rows[i].family));
    if (predicted.frequency) {
      EXPECT_NEAR(*r.simulated.frequency / *predicted.frequency, 1, rows[i].tolerance) << i;
    } else {
      EXPECT_NEAR(r.simulated.tHigh / predicted.tHigh, 1, rows[i].tolerance) << i;
    }
  }
}

TEST_F(NgspiceTest, TemporaryFolderWithASpaceKeepsTheWaveform) {
  fs::create_directories(root / "tmp" / "with space");
  setenv("TMPDIR", (root / "tmp" / "with space").c_str(), 1);
  const SimulationResult r = Simulate(Design(1, 1000, 0.75, 1e-7), At(12));
  ASSERT_FALSE(r.error) << *r.error;
  EXPECT_GT(r.wave.size(), 100u);
  EXPECT_TRUE(fs::is_empty(root / "tmp" / "with space"));
}

TEST_F(NgspiceTest, BuiltCircuitsMeetThePrediction) {
  const struct {
    int mode;
    double vcc;
  } rows[] = {{3, 5}, {3, 9}, {3, 12}, {3, 15}, {2, 5}, {2, 12}};
  for (const auto& r : rows) {
    const DesignSnapshot d = r.mode == 3 ? Design(3, 1000, 0.25, 1e-7) : Design(2, 1000, 0.5, 1e-8);
    const Timing simulated = Run(d, At(r.vcc));
    const Timing predicted = PredictTiming(d, At(r.vcc));
    EXPECT_NEAR(*simulated.frequency / *predicted.frequency, 1, 0.002) << r.mode << " " << r.vcc;
    EXPECT_NEAR(*simulated.dutyCycle / *predicted.dutyCycle, 1, 0.002) << r.mode << " " << r.vcc;
  }
}

// Where the comparators' input currents matter (megohm resistors, the
// trigger pin's current beside a small discharge current) the simulated
// chip draws them as the prediction does.
TEST_F(NgspiceTest, PinCurrentsAsThePredictionHasThem) {
  const struct {
    DesignSnapshot design;
    double vcc;
  } rows[] = {
      {Design(1, 1, 0.9, 1e-7), 12},     // with 9.1 MΩ and 1.5 MΩ below
      {Design(2, 6.56, 0.5, 1e-8), 9},   // R1 = 11 MΩ: the trigger's current shifts the duty
      {Design(3, 232.7, 0.25, 1e-9), 5}  // 4.7 MΩ and 1.5 MΩ through the diodes
  };
  for (auto row : rows) {
    if (row.design.kind == DesignKind::AstableAbove) {
      row.design.r1 = 9.1e6;
      row.design.r2 = 1.5e6;
    } else if (row.design.kind == DesignKind::AstableBelow) {
      row.design.r1 = 4.7e6;
      row.design.r2 = 1.5e6;
    }
    const Timing simulated = Run(row.design, At(row.vcc));
    const Timing predicted = PredictTiming(row.design, At(row.vcc));
    EXPECT_NEAR(*simulated.frequency / *predicted.frequency, 1, 0.002) << row.vcc;
    EXPECT_NEAR(*simulated.dutyCycle / *predicted.dutyCycle, 1, 0.002) << row.vcc;
  }
}

TEST_F(NgspiceTest, WaveformPictureMarksTheTimes) {
  const DesignSnapshot d = Design(3, 1000, 0.25, 1e-7);
  const SimulationResult r = Simulate(d, At(5));
  ASSERT_FALSE(r.error);
  RecordingCanvas c(650, 308);
  DrawSimulatedWave(c, d, At(5), r);
  std::vector<std::string> texts;
  for (const DrawOp& op : c.OpsOf(DrawOp::Kind::Text))
    texts.push_back(op.text);
  for (const std::string& t : {std::string("tH = ") + TimeText(r.simulated.tHigh, 3, kLatin1Micro),
                               std::string("tL = ") + TimeText(*r.simulated.tLow, 3, kLatin1Micro),
                               std::string("1/3 Vcc"), std::string("2/3 Vcc"), std::string("1 ms")})
    EXPECT_NE(std::find(texts.begin(), texts.end(), t), texts.end()) << t;
}

// A synthetic run: a square output with the given high and low times.
SimulationResult SquareRun(double high, double low, double triggerAt = 0) {
  SimulationResult r;
  r.simulated.tHigh = high;
  if (triggerAt == 0) {
    r.simulated.tLow = low;
    r.simulated.frequency = 1 / (high + low);
    r.simulated.dutyCycle = high / (high + low);
  }
  r.simulated.firstTHigh = 1.5 * high;
  r.triggerAt = triggerAt;
  const double period = high + low;
  for (int k = 0; k <= 4000; ++k) {
    const double t = k * 4 * period / 4000;
    const bool on = std::fmod(t, period) < high;
    r.wave.push_back({t, on ? 7.3 : 0.0, 4.5});
  }
  return r;
}

struct TextBox {
  std::string text;
  int left, top, right, bottom;
};
std::vector<TextBox> Texts(RecordingCanvas& c) {
  std::vector<TextBox> boxes;
  for (const DrawOp& op : c.OpsOf(DrawOp::Kind::Text)) {
    const int w = c.TextWidth(op.text), h = c.TextHeight(op.text);
    boxes.push_back(
        {op.text, op.points[0].x, op.points[0].y, op.points[0].x + w, op.points[0].y + h});
  }
  return boxes;
}

TextBox Find(const std::vector<TextBox>& boxes, const std::string& prefix) {
  for (const TextBox& b : boxes)
    if (b.text.rfind(prefix, 0) == 0) return b;
  ADD_FAILURE() << "no text " << prefix;
  return {};
}

// The levels are named beside the plot, not over the traces; the high and
// low times' labels never meet, whatever the duty cycle; the one-shot shows
// its trigger; a doubled screen gets a doubled drawing.
TEST(WavePicture, LabelsStandClearOfTheTracesAndOfEachOther) {
  for (const auto& [high, low] :
       {std::pair{0.99e-3, 0.01e-3}, {0.01e-3, 0.99e-3}, {0.5e-3, 0.5e-3}}) {
    RecordingCanvas c(650, 308);
    DrawSimulatedWave(c, Astable(1, 1000, 0.75), At(9), SquareRun(high, low));
    const auto boxes = Texts(c);
    const TextBox th = Find(boxes, "tH = "), tl = Find(boxes, "tL = ");
    EXPECT_TRUE(th.right <= tl.left || tl.right <= th.left) << high << ": the labels overlap";
    int plotRight = 0;
    for (const DrawOp& op : c.OpsOf(DrawOp::Kind::Line))
      if (op.pen.color == Color{0, 0, 192}) plotRight = std::max(plotRight, op.points[1].x);
    EXPECT_GE(Find(boxes, "2/3 Vcc").left, plotRight) << "the traces run through the label";
    EXPECT_GE(Find(boxes, "1/3 Vcc").left, plotRight);
  }
  RecordingCanvas pulse(650, 308);
  SimulationResult run = SquareRun(0.01, 0.02, 0.015);
  DrawSimulatedWave(pulse, OneShot(0.01, 1e-6), At(9), run);
  Find(Texts(pulse), "trigger");
  RecordingCanvas doubled(1300, 616);
  DrawSimulatedWave(doubled, Astable(1, 1000, 0.75), At(9), SquareRun(0.75e-3, 0.25e-3), 2);
  EXPECT_EQ(doubled.OpsOf(DrawOp::Kind::Text).front().font.height, -24);
}

TEST(TimeText, EngineeringUnits) {
  const std::pair<double, const char*> rows[] = {
      {0.00025, "250 \u00b5s"}, {0.0012, "1.2 ms"}, {3, "3 s"}, {1.5e-7, "150 ns"}, {0, "0 s"}};
  for (const auto& [v, text] : rows)
    EXPECT_EQ(TimeText(v), text);
}

}  // namespace
}  // namespace timer555
