#include "simulation/netlist.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "analysis/pin_currents.h"
#include "analysis/timer_family.h"

namespace timer555 {

namespace {

// Numbers for the netlist: shortest round-trip form, never the locale's comma.
std::string N(double v) {
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, r.ptr);
}

const char* DesignName(DesignKind kind) {
  switch (kind) {
    case DesignKind::AstableAbove:
      return "astable, duty cycle above 50 % (R1 Vcc-pin 7, R2 pin 7-pins 6/2)";
    case DesignKind::AstableSquare:
      return "astable, 50 % (R2 pull-up Vcc-pin 3, R1 pin 3-pins 6/2, pin 7 open)";
    case DesignKind::AstableBelow:
      return "astable, duty cycle below 50 % (R1 Vcc-pin 7, D1 pin 7-pins 6/2, R2 and D2 back to "
             "pin 7)";
    case DesignKind::OneShot:
      break;
  }
  return "monostable (R1 Vcc-pins 6/7, trigger on pin 2)";
}

// The largest step as a share of the period (the one-shot: of the pulse).
constexpr double kStepsPerPeriod = 200;

}  // namespace

std::string DiodeModelLine(const DiodeModel& d) {
  return ".model D1N4148 D(IS=" + N(d.is) + " N=" + N(d.n) + " RS=" + N(d.rs) + " EG=" + N(d.eg) +
         " XTI=" + N(d.xti) + ")\n";
}

SimulationPlan PlanSimulation(const DesignSnapshot& design, const Conditions& conditions) {
  const Timing t = PredictTiming(design, conditions);
  const Timing ideal = IdealTiming(design);
  // Where the prediction has no finite time (the threshold never reached),
  // the ideal one sets the scale; the simulation then shows what happens.
  const auto finite = [](double v, double fallback) {
    return std::isfinite(v) && v > 0 ? v : fallback;
  };
  SimulationPlan p;
  p.midLevel = conditions.vcc / 2;
  if (TraitsOf(design.kind).oneShot) {
    // The power-up pulse (the capacitor starts from 0 V) ends first; the
    // trigger comes after it, and the pulse it starts is the one measured.
    const double pulse = finite(t.tHigh, ideal.tHigh);
    p.triggerAt = 1.5 * pulse;
    p.triggerWidth = pulse / 20;
    p.stop = p.triggerAt + 1.5 * pulse;
    p.maxStep = pulse / kStepsPerPeriod;
    return p;
  }
  const double high = finite(t.tHigh, ideal.tHigh);
  const double low = finite(t.tLow.value_or(0), *ideal.tLow);
  const double period = high + low;
  p.stop = finite(t.firstTHigh, ideal.firstTHigh) + (p.lastRise + 1.5) * period;
  // The step follows the period, not its shorter half: the comparators find
  // their own crossings, so a 0.01 % half costs a few more steps, not 10^4 times more.
  p.maxStep = period / kStepsPerPeriod;
  return p;
}

namespace {

// What the file is: the design, the parts and the conditions, in comments.
std::string Header(const DesignSnapshot& d, const Conditions& c) {
  const FamilyParameters& f = Parameters(c.family);
  const double vcc = c.vcc;
  std::string s;
  s += "* timer555: " + std::string(DesignName(d.kind)) + "\n";
  s += "* R1 = " + N(d.r1) + " ohm";
  if (TraitsOf(d.kind).hasR2) s += ", R2 = " + N(d.r2) + " ohm";
  s += ", C1 = " + N(d.c1) + " F, C2 = 10 nF on pin 5\n";
  s += "* " + std::string(f.name) + " timer at Vcc = " + N(vcc) + " V, " + N(c.celsius) + " C\n";
  s += "* Written by timer555 from datasheet figures: a behavioural 555 (a 5k/5k/5k divider, two\n"
       "* comparators, an SR latch with the propagation delay, the discharge transistor and the\n"
       "* output stage) and a 1N4148-class diode. Run it with: ngspice -b FILE\n";
  s += ".options TNOM=25 TEMP=" + N(c.celsius) + "\n";
  return s;
}

// The behavioural chip: divider, comparators, latch, discharge transistor
// and the family's output stage.
std::string OutputStage(const Conditions& c);

// The comparators' input currents: a CMOS gate's constant leakage into the
// threshold pin; a bipolar pair's base current, the threshold's drawn as the
// pin nears its reference and the trigger's fed as it falls below its own,
// each shared by a logistic of the distance over the pair's spread.
std::string PinCurrentSources(const Conditions& c) {
  const FamilyParameters& f = Parameters(c.family);
  const PinCurrents pins = PinCurrentsOf(f, c.vcc, c.celsius, true);
  if (!pins.Any())
    return "* the current the threshold input draws\nIth thresh gnd DC " + N(f.thresholdCurrent) +
           "\n";
  return "* the comparators' input currents: the threshold pair's drawn near 2/3 Vcc, the\n"
         "* trigger pair's fed below 1/3 Vcc\n"
         "Bth thresh gnd I = " +
         N(pins.thresholdFull) + " / (1 + exp((V(ctrl,gnd) - V(thresh,gnd)) / " + N(pins.spread) +
         "))\n"
         "Btr gnd trig I = " +
         N(pins.triggerFull) + " / (1 + exp((V(trig,gnd) - V(lo,gnd)) / " + N(pins.spread) + "))\n";
}

std::string TimerSubcircuit(const Conditions& c) {
  const FamilyParameters& f = Parameters(c.family);
  std::string s;
  // The latch follows its next state through an RC whose half-way point
  // comes after the propagation delay.
  const double tau = f.propagationDelay / std::log(2.0);
  s +=
      ".subckt timer555 gnd trig out reset ctrl thresh disch vcc\n"
      "Rd1 vcc ctrl 5k\n"
      "Rd2 ctrl lo 5k\n"
      "Rd3 lo gnd 5k\n" +
      PinCurrentSources(c) +
      "* trigger below 1/3 Vcc sets, threshold above 2/3 Vcc resets; reset beats trigger beats "
      "threshold.\n"
      "* Each comparator is a switch on its input difference amplified 1000 times: the\n"
      "* simulator's switch shortens its steps as the control nears the threshold, so\n"
      "* every crossing is found within microvolts whatever the time step.\n"
      "Vone one gnd DC 1\n"
      "Eset dset gnd lo trig 1000\n"
      "Sset one set dset gnd comparator\n"
      "Rset set gnd 1k\n"
      "Eres dres gnd thresh ctrl 1000\n"
      "Sres one res dres gnd comparator\n"
      "Rres res gnd 1k\n"
      ".model comparator SW(VT=0 VH=0 RON=1 ROFF=1G)\n"
      "Bnext next gnd V = V(reset,gnd) < 0.7 ? 0 : (V(set,gnd) > 0.5 ? 1 : (V(res,gnd) > 0.5 ? 0 : "
      "(V(qs,gnd) > 0.5 ? 1 : 0)))\n"
      "Rq next q 1k\n"
      "Cq q gnd " +
      N(tau / 1000) +
      "\n"
      "* the latch's state, read by a switch in the same way when it passes half-way\n"
      "Vhalf half gnd DC 0.5\n"
      "Eq dq gnd q half 1000\n"
      "Sq one qs dq gnd comparator\n"
      "Rqs qs gnd 1k\n"
      "* discharge transistor: on while the latch is reset\n"
      "Bdis disch gnd I = V(qs,gnd) > 0.5 ? 0 : V(disch,gnd) / " +
      N(f.dischargeResistance) + "\n";
  s += OutputStage(c);
  s += "Rout out gnd 100Meg\n"
       ".ends\n";
  return s;
}

// The output: low sinks through a resistance; a CMOS high drives to Vcc, a
// bipolar high only sources, from a drop below Vcc.
std::string OutputStage(const Conditions& c) {
  const FamilyParameters& f = Parameters(c.family);
  std::string s = "* output stage: low sinks through " + N(f.outputLowResistance) + " ohm; high ";
  if (c.family == TimerFamily::Cmos) {
    s += "drives to Vcc through " + N(f.outputHighResistance) + " ohm\n";
    s += "Bout out gnd I = V(qs,gnd) > 0.5 ? (V(out,gnd) - V(vcc,gnd)) / " +
         N(f.outputHighResistance) + " : V(out,gnd) / " + N(f.outputLowResistance) + "\n";
  } else {
    s += "only sources: two base-emitter junctions and " + N(f.outputHighResistance) +
         " ohm (the switch) from Vcc, on while the latch is set\n";
    s += "Shigh vcc hs qs gnd outhigh\n"
         "Dq1 hs hm outjunction\n"
         "Dq2 hm out outjunction\n";
    s += ".model outhigh SW(VT=0.5 VH=0 RON=" + N(f.outputHighResistance) + " ROFF=1G)\n";
    s += ".model outjunction D(IS=" + N(f.outputJunctionSaturation) +
         " N=" + N(f.outputJunctionEmission) + ")\n";
    s += "Bout out gnd I = V(qs,gnd) > 0.5 ? 0 : V(out,gnd) / " + N(f.outputLowResistance) + "\n";
  }
  return s;
}

// The design's parts around the chip, as the schematic draws them.
std::string Circuit(const DesignSnapshot& d, const Conditions& c, const SimulationPlan& plan) {
  const double vcc = c.vcc;
  std::string s = "Vcc vcc 0 DC " + N(vcc) + "\n";
  // Pins: gnd trig out reset ctrl thresh disch vcc.
  switch (d.kind) {
    case DesignKind::AstableAbove:
      s += "X1 0 cap out vcc ctrl cap disch vcc timer555\n";
      s += "R1 vcc disch " + N(d.r1) + "\n";
      s += "R2 disch cap " + N(d.r2) + "\n";
      break;
    case DesignKind::AstableSquare:
      s += "X1 0 cap out vcc ctrl cap disch vcc timer555\n";
      s += "R2 vcc out " + N(d.r2) + "\n";
      s += "R1 out cap " + N(d.r1) + "\n";
      s += "Rdis disch 0 1G\n";
      break;
    case DesignKind::AstableBelow:
      s += "X1 0 cap out vcc ctrl cap disch vcc timer555\n";
      s += "R1 vcc disch " + N(d.r1) + "\n";
      s += "D1 disch cap D1N4148\n";
      s += "R2 cap steer " + N(d.r2) + "\n";
      s += "D2 steer disch D1N4148\n";
      break;
    case DesignKind::OneShot:
      s += "X1 0 trig out vcc ctrl cap cap vcc timer555\n";
      s += "R1 vcc cap " + N(d.r1) + "\n";
      s += "Vtrig trig 0 PULSE(" + N(vcc) + " 0 " + N(plan.triggerAt) + " " + N(plan.maxStep / 10) +
           " " + N(plan.maxStep / 10) + " " + N(plan.triggerWidth) + " " + N(plan.stop * 10) +
           ")\n";
      break;
  }
  s += "C1 cap 0 " + N(d.c1) + "\n";
  s += "C2 ctrl 0 10n\n";
  // From 0 V on C1, the divider at its levels and the latch set: the output
  // is high at power-up.
  return s;
}

// The start, the run and the crossings ngspice measures.
std::string Analysis(const DesignSnapshot& d, const Conditions& c, const SimulationPlan& plan,
                     const std::string& waveFile) {
  const double vcc = c.vcc;
  std::string s;
  s += ".ic v(cap)=0 v(ctrl)=" + N(2 * vcc / 3) + " v(x1.lo)=" + N(vcc / 3) +
       " v(x1.q)=1 v(x1.qs)=1\n";
  s += ".tran " + N(plan.maxStep) + " " + N(plan.stop) + " 0 " + N(plan.maxStep) + " uic\n";
  const int last = TraitsOf(d.kind).oneShot ? 1 : plan.lastRise;
  for (int k = 1; k <= last; ++k) {
    // The one-shot's crossings are counted from just before its trigger.
    const std::string from = TraitsOf(d.kind).oneShot ? " TD=" + N(0.9 * plan.triggerAt) : "";
    s += ".meas tran rise" + std::to_string(k) + " WHEN v(out)=" + N(plan.midLevel) + from +
         " RISE=" + std::to_string(k) + "\n";
    s += ".meas tran fall" + std::to_string(k) + " WHEN v(out)=" + N(plan.midLevel) + from +
         " FALL=" + std::to_string(k) + "\n";
  }
  if (!waveFile.empty()) {
    s += ".control\nrun\nwrdata " + waveFile + " v(out) v(cap)\nquit\n.endc\n";
  }
  return s;
}

}  // namespace

std::string Netlist(const DesignSnapshot& d, const Conditions& c, const SimulationPlan& plan,
                    const std::string& waveFile) {
  return Header(d, c) + TimerSubcircuit(c) + DiodeModelLine(DiodeModel{}) + Circuit(d, c, plan) +
         Analysis(d, c, plan, waveFile) + ".end\n";
}

}  // namespace timer555
