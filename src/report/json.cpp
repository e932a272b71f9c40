#include "report/json.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <cmath>

namespace timer555 {

namespace {

QJsonValue Range(const std::optional<Band>& b) {
  if (!b) return QJsonValue();
  return QJsonArray{JsonNumber(b->min), JsonNumber(b->max)};
}

QJsonObject ChoiceJson(DesignKind kind, const StandardChoice& c) {
  const bool oneShot = TraitsOf(kind).oneShot;
  return {{"r1_ohm", JsonNumber(c.r1)},
          {"r2_ohm", JsonNumber(c.r2)},
          {"frequency_hz", JsonNumber(c.predicted.frequency)},
          {"duty_cycle", JsonNumber(c.predicted.dutyCycle)},
          {"t_high_s", JsonNumber(c.predicted.tHigh)},
          {"frequency_error", oneShot ? QJsonValue() : JsonNumber(c.frequencyError)},
          {"duty_error", oneShot ? QJsonValue() : JsonNumber(c.dutyError)},
          {"pulse_error", oneShot ? JsonNumber(c.frequencyError) : QJsonValue()},
          {"error", JsonNumber(c.error)},
          {"error_worst", JsonNumber(c.worst)},
          {"on_target", c.onTarget},
          {"warnings", c.warnings}};
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

QJsonObject ConditionsJson(const Conditions& c) {
  return {{"vcc", JsonNumber(c.vcc)}, {"family", Parameters(c.family).name}};
}

QJsonObject PartsJson(const DesignSnapshot& s) {
  return {{"r1_ohm", JsonNumber(s.r1)},
          {"r2_ohm", TraitsOf(s.kind).hasR2 ? JsonNumber(s.r2) : QJsonValue()},
          {"c1_farad", JsonNumber(s.c1)}};
}

QJsonObject CheckJson(const DesignSnapshot& s, const CheckSettings& settings,
                      const CheckReport& r) {
  QJsonArray warnings, choices;
  for (const Warning& w : r.warnings)
    warnings.append(
        QJsonObject{{"code", CodeKey(w.code)}, {"message", QString::fromStdString(w.message)}});
  for (const StandardChoice& c : r.choices)
    choices.append(ChoiceJson(s.kind, c));
  QJsonObject conditions = ConditionsJson(settings.conditions);
  conditions.insert("series", QString::fromStdString(SeriesName(settings.series)));
  const QJsonObject tolerance{{"frequency_hz", Range(r.band.frequency)},
                              {"duty_cycle", Range(r.band.dutyCycle)},
                              {"t_high_s", Range(r.band.tHigh)},
                              {"stopped_corners", r.band.stopped}};
  return {{"mode", DesignNumber(s.kind)},
          {"conditions", conditions},
          {"parts", PartsJson(s)},
          {kIdealColumn.key, TimingJson(r.ideal)},
          {kPredictedColumn.key, TimingJson(r.predicted)},
          {"predicted_band", BandJson(r.range)},
          {"warnings", warnings},
          {"standard_values", choices},
          {"tolerance", tolerance}};
}

namespace {

QJsonValue Percentiles(const Band& b) {
  return QJsonArray{JsonNumber(b.min), JsonNumber(b.max)};
}

QJsonObject WarningJson(const Warning& w) {
  return {{"code", CodeKey(w.code)}, {"message", QString::fromStdString(w.message)}};
}

QJsonValue R2Json(DesignKind kind, const std::optional<double>& r2) {
  return TraitsOf(kind).hasR2 && r2 ? JsonNumber(*r2) : QJsonValue();
}

}  // namespace

QJsonObject PartsJson(const PartsQuestion& q, const PartsAnswer& answer) {
  const DesignKind kind = q.target.kind;
  const bool oneShot = TraitsOf(kind).oneShot;
  QJsonArray choices;
  for (const PartsChoice& c : answer.choices) {
    QJsonArray warnings;
    for (const Warning& w : c.warnings)
      warnings.append(WarningJson(w));
    QJsonObject percentiles{{"t_high_s", Percentiles(c.spread.tHigh)}};
    if (!oneShot) {
      percentiles.insert("frequency_hz", Percentiles(c.spread.frequency));
      percentiles.insert("duty_cycle", Percentiles(c.spread.dutyCycle));
    }
    const CapacitorTechnology& tech = TechnologyOf(c.capacitor);
    choices.append(QJsonObject{{"c1_f", JsonNumber(c.c1)},
                               {"c1_type", tech.key},
                               {"c1_tolerance", JsonNumber(tech.tolerance)},
                               {"r1_ohm", JsonNumber(c.r1)},
                               {"r2_ohm", R2Json(kind, c.r2)},
                               {"predicted", TimingJson(c.predicted)},
                               {"predicted_band", BandJson({c.predicted, c.fast, c.slow})},
                               {"on_target", c.onTarget},
                               {"error", JsonNumber(c.error)},
                               {"error_worst", JsonNumber(c.worst)},
                               {"yield", JsonNumber(c.spread.yield)},
                               {"percentiles", percentiles},
                               {"warnings", warnings},
                               {"pin7_peak_a", JsonNumber(c.pin7Peak)},
                               {"supply_current_a", JsonNumber(c.supplyCurrent)}});
  }
  const DesignSnapshot& t = q.target;
  const HalfPeriods halves = TargetHalves(t);
  QJsonObject target{{"mode", DesignNumber(kind)}, {"t_high_s", JsonNumber(halves.high)}};
  if (!oneShot) {
    target.insert("frequency_hz", JsonNumber(t.frequency));
    target.insert("duty_cycle", JsonNumber(halves.high * t.frequency));
  }
  QJsonObject conditions = ConditionsJson(q.bench.conditions);
  conditions.insert("resistors", SeriesName(q.resistors));
  conditions.insert("capacitors", CapacitorSeriesName(q.capacitors));
  QJsonArray types;
  for (CapacitorType type : q.bench.capacitorTypes)
    types.append(TechnologyOf(type).key);
  conditions.insert("capacitor_types", types);
  QJsonArray supply;
  for (const Warning& w : answer.supply)
    supply.append(WarningJson(w));
  QJsonValue exact;
  if (answer.exact.found) {
    exact = QJsonObject{{"c1_f", JsonNumber(answer.exact.c1)},
                        {"c1_type", TechnologyOf(answer.exact.capacitor).key},
                        {"r1_ohm", JsonNumber(answer.exact.r1)},
                        {"r2_ohm", R2Json(kind, answer.exact.r2)},
                        {"predicted", TimingJson(answer.exact.predicted)}};
  }
  return {{"target", target},
          {"conditions", conditions},
          {"clean", answer.clean},
          {"reachable", answer.reachable},
          {"why", answer.reachable ? QJsonValue() : QString::fromStdString(answer.why)},
          {"instead", answer.reachable ? QJsonValue() : QString::fromStdString(answer.instead)},
          {"supply_warnings", supply},
          {"choices", choices},
          {"exact", exact},
          {"samples", q.bench.samples},
          {"seed", JsonNumber(static_cast<double>(q.bench.seed))}};
}

void PrintJsonLine(const QJsonObject& object, std::ostream& out) {
  out << QJsonDocument(object).toJson(QJsonDocument::Compact).toStdString() << "\n";
}

}  // namespace timer555
