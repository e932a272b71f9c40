#include "report/json.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <cmath>

// One vocabulary for every JSON the command line prints: one key a quantity,
// its unit in the name (_ohm, _farad, _hz, _s, _v, _a, _c; _fraction for a
// share, 0.25 for 25 %), null where a figure does not apply.
namespace timer555 {

namespace {

QJsonValue Range(const std::optional<Band>& b) {
  if (!b) return QJsonValue();
  return QJsonArray{JsonNumber(b->min), JsonNumber(b->max)};
}

QJsonValue Text(const std::string& s) {
  return QString::fromStdString(s);
}

QJsonValue R2Json(DesignKind kind, const std::optional<double>& r2) {
  return TraitsOf(kind).hasR2 && r2 ? JsonNumber(*r2) : QJsonValue();
}

// How far a timing misses the target: each figure against its own, and
// the half-period error the ranking uses with its value at the band's
// worse end.
void InsertErrors(QJsonObject& object, DesignKind kind, const Timing& t, const DesignSnapshot& goal,
                  double error, double worst) {
  const bool oneShot = TraitsOf(kind).oneShot;
  const HalfPeriods halves = TargetHalves(goal);
  const double duty = oneShot ? std::nan("") : halves.high * goal.frequency;
  object.insert("frequency_error_fraction",
                oneShot ? QJsonValue()
                        : JsonNumber(std::fabs(t.frequency.value_or(NAN) / goal.frequency - 1)));
  object.insert("duty_cycle_error_fraction",
                oneShot ? QJsonValue() : JsonNumber(std::fabs(t.dutyCycle.value_or(NAN) - duty)));
  object.insert("pulse_error_fraction",
                oneShot ? JsonNumber(std::fabs(t.tHigh / halves.high - 1)) : QJsonValue());
  object.insert("half_period_error_fraction", JsonNumber(error));
  object.insert("half_period_error_worst_fraction", JsonNumber(worst));
}

QJsonObject ToleranceJson(const ToleranceSpec& t) {
  return {{"resistor_tolerance_fraction", JsonNumber(t.resistor)},
          {"capacitor_tolerance_fraction", JsonNumber(t.capacitor)},
          {"temperature_min_c", JsonNumber(t.minCelsius)},
          {"temperature_max_c", JsonNumber(t.maxCelsius)}};
}

void Merge(QJsonObject& into, const QJsonObject& from) {
  for (auto it = from.begin(); it != from.end(); ++it)
    into.insert(it.key(), it.value());
}

}  // namespace

QJsonValue JsonNumber(double v) {
  return std::isfinite(v) ? QJsonValue(v) : QJsonValue();
}

QJsonValue JsonNumber(const std::optional<double>& v) {
  return v ? JsonNumber(*v) : QJsonValue();
}

QJsonObject TimingJson(const Timing& t) {
  QJsonObject object;
  for (const TimingRow& row : AllTimingRows())
    object.insert(row.key, JsonNumber(row.value(t)));
  return object;
}

QJsonObject BandJson(const BandedTiming& t) {
  QJsonObject object;
  for (const TimingRow& row : AllTimingRows()) {
    const std::optional<double> a = row.value(t.fast), b = row.value(t.slow);
    if (!a || !b || !std::isfinite(*a) || !std::isfinite(*b)) {
      object.insert(row.key, QJsonValue());
      continue;
    }
    object.insert(row.key, QJsonArray{JsonNumber(std::min(*a, *b)), JsonNumber(std::max(*a, *b))});
  }
  return object;
}

QJsonArray WarningsJson(const std::vector<Warning>& warnings) {
  QJsonArray list;
  for (const Warning& w : warnings)
    list.append(QJsonObject{
        {"code", CodeKey(w.code)}, {"text", Text(w.message)}, {"limit", IsLimit(w.code)}});
  return list;
}

QJsonObject ConditionsJson(const Conditions& c) {
  return {{"vcc_v", JsonNumber(c.vcc)},
          {"family", Parameters(c.family).name},
          {"temperature_c", JsonNumber(c.celsius)}};
}

QJsonObject PartsJson(const DesignSnapshot& s) {
  return {{"r1_ohm", JsonNumber(s.r1)},
          {"r2_ohm", TraitsOf(s.kind).hasR2 ? JsonNumber(s.r2) : QJsonValue()},
          {"c1_farad", JsonNumber(s.c1)},
          {"c1_type", s.capacitor ? QJsonValue(TechnologyOf(*s.capacitor).key) : QJsonValue()}};
}

QJsonObject CheckJson(const DesignSnapshot& s, const CheckSettings& settings,
                      const CheckReport& r) {
  QJsonArray choices;
  for (const StandardChoice& c : r.choices) {
    QJsonObject choice{{"r1_ohm", JsonNumber(c.r1)},   {"r2_ohm", R2Json(s.kind, c.r2)},
                       {"c1_farad", JsonNumber(s.c1)}, {"predicted", TimingJson(c.predicted)},
                       {"on_target", c.onTarget},      {"warnings", WarningsJson(c.warnings)}};
    InsertErrors(choice, s.kind, c.predicted, s, c.error, c.worst);
    choices.append(choice);
  }
  QJsonObject conditions = ConditionsJson(settings.conditions);
  conditions.insert("resistor_series", QString::fromStdString(SeriesName(settings.series)));
  Merge(conditions, ToleranceJson(settings.tolerance));
  QJsonObject worstCase{{"frequency_hz", Range(r.band.frequency)},
                        {"duty_cycle_fraction", Range(r.band.dutyCycle)},
                        {"t_high_s", Range(r.band.tHigh)},
                        {"stopped_corners", r.band.stopped},
                        {"corners", ToleranceBand::kCorners}};
  return {{"command", "check"},
          {"mode", DesignNumber(s.kind)},
          {"conditions", conditions},
          {"parts", PartsJson(s)},
          {kIdealColumn.key, TimingJson(r.ideal)},
          {kPredictedColumn.key, TimingJson(r.predicted)},
          {"predicted_band", BandJson(r.range)},
          {"warnings", WarningsJson(r.warnings)},
          {"standard_values", choices},
          {"worst_case", worstCase}};
}

namespace {

QJsonObject ChoiceJson(const PartsQuestion& q, const PartsChoice& c) {
  const DesignKind kind = q.target.kind;
  const bool oneShot = TraitsOf(kind).oneShot;
  QJsonObject percentiles{{"t_high_s", Range(c.spread.tHigh)}};
  percentiles.insert("frequency_hz", oneShot ? QJsonValue() : Range(c.spread.frequency));
  percentiles.insert("duty_cycle_fraction", oneShot ? QJsonValue() : Range(c.spread.dutyCycle));
  const CapacitorTechnology& tech = TechnologyOf(c.capacitor);
  QJsonObject choice{{"c1_farad", JsonNumber(c.c1)},
                     {"c1_type", tech.key},
                     {"c1_tolerance_fraction", JsonNumber(tech.tolerance)},
                     {"r1_ohm", JsonNumber(c.r1)},
                     {"r2_ohm", R2Json(kind, c.r2)},
                     {"predicted", TimingJson(c.predicted)},
                     {"predicted_band", BandJson({c.predicted, c.fast, c.slow})},
                     {"on_target", c.onTarget},
                     {"yield_fraction", JsonNumber(c.spread.yield)},
                     {"percentiles_1_99", percentiles},
                     {"warnings", WarningsJson(c.warnings)},
                     {"pin7_peak_a", JsonNumber(c.pin7Peak)},
                     {"supply_current_a", JsonNumber(c.supplyCurrent)}};
  InsertErrors(choice, kind, c.predicted, q.target, c.error, c.worst);
  return choice;
}

// Everything the parts search assumed: the bench, the series and kinds,
// the spread of the boards and the window they must meet.
QJsonObject PartsConditionsJson(const PartsQuestion& q) {
  const BenchSpec& b = q.bench;
  const bool oneShot = TraitsOf(q.target.kind).oneShot;
  const FamilyParameters& f = Parameters(b.conditions.family);
  QJsonObject c = ConditionsJson(b.conditions);
  c.insert("resistor_series", SeriesName(q.resistors));
  c.insert("capacitor_series", CapacitorSeriesName(q.capacitors));
  QJsonArray types;
  for (CapacitorType type : b.capacitorTypes)
    types.append(TechnologyOf(type).key);
  c.insert("capacitor_types", types);
  Merge(c, ToleranceJson(b.tolerance));
  // The kinds' own tolerances, unless the user gave one.
  if (b.technologyTolerance) c.insert("capacitor_tolerance_fraction", QJsonValue());
  c.insert("vcc_range_v",
           b.vccRange ? QJsonArray{JsonNumber(b.vccRange->first), JsonNumber(b.vccRange->second)}
                      : QJsonValue());
  c.insert("frequency_window_fraction", oneShot ? QJsonValue() : JsonNumber(b.frequencyWindow));
  c.insert("pulse_window_fraction", oneShot ? JsonNumber(b.frequencyWindow) : QJsonValue());
  c.insert("duty_cycle_window_fraction", oneShot ? QJsonValue() : JsonNumber(b.dutyWindow));
  c.insert("chip_initial_error_fraction",
           JsonNumber(oneShot ? f.monostableInitialError : f.astableInitialError));
  c.insert("chip_drift_fraction_per_c", JsonNumber(oneShot ? f.monostableDrift : f.drift));
  c.insert("chip_supply_sensitivity_fraction_per_v",
           JsonNumber(oneShot ? f.monostableSupplySensitivity : f.astableSupplySensitivity));
  c.insert("samples", b.samples);
  c.insert("seed", JsonNumber(static_cast<double>(b.seed)));
  return c;
}

}  // namespace

QJsonObject PartsJson(const PartsQuestion& q, const PartsAnswer& answer) {
  const DesignKind kind = q.target.kind;
  const bool oneShot = TraitsOf(kind).oneShot;
  QJsonArray choices;
  for (const PartsChoice& c : answer.choices)
    choices.append(ChoiceJson(q, c));
  const DesignSnapshot& t = q.target;
  const HalfPeriods halves = TargetHalves(t);
  const QJsonObject target{
      {"frequency_hz", oneShot ? QJsonValue() : JsonNumber(t.frequency)},
      {"duty_cycle_fraction", oneShot ? QJsonValue() : JsonNumber(halves.high * t.frequency)},
      {"t_high_s", JsonNumber(halves.high)},
      {"t_low_s", JsonNumber(halves.low)}};
  QJsonValue exact;
  if (answer.exact.found) {
    exact = QJsonObject{{"c1_farad", JsonNumber(answer.exact.c1)},
                        {"c1_type", TechnologyOf(answer.exact.capacitor).key},
                        {"r1_ohm", JsonNumber(answer.exact.r1)},
                        {"r2_ohm", R2Json(kind, answer.exact.r2)},
                        {"predicted", TimingJson(answer.exact.predicted)}};
  }
  return {{"command", "parts"},
          {"mode", DesignNumber(kind)},
          {"target", target},
          {"conditions", PartsConditionsJson(q)},
          {"clean", answer.clean},
          {"reachable", answer.reachable},
          {"why", answer.reachable ? QJsonValue() : Text(answer.why)},
          {"instead", answer.reachable ? QJsonValue() : Text(answer.instead)},
          {"supply_warnings", WarningsJson(answer.supply)},
          {"choices", choices},
          {"exact", exact}};
}

QJsonObject SimulationJson(const DesignSnapshot& s, const Conditions& conditions,
                           const Timing& ideal, const Timing& predicted, const Timing& simulated,
                           double seconds) {
  return {{"command", "simulate"},
          {"mode", DesignNumber(s.kind)},
          {"conditions", ConditionsJson(conditions)},
          {"parts", PartsJson(s)},
          {kIdealColumn.key, TimingJson(ideal)},
          {kPredictedColumn.key, TimingJson(predicted)},
          {kSimulatedColumn.key, TimingJson(simulated)},
          {"run_time_s", JsonNumber(seconds)}};
}

void PrintJsonLine(const QJsonObject& object, std::ostream& out) {
  out << QJsonDocument(object).toJson(QJsonDocument::Compact).toStdString() << "\n";
}

}  // namespace timer555
