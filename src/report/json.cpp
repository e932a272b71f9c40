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
          {"frequency_hz", JsonNumber(c.ideal.frequency)},
          {"duty_cycle", JsonNumber(c.ideal.dutyCycle)},
          {"t_high_s", JsonNumber(c.ideal.tHigh)},
          {"frequency_error", oneShot ? QJsonValue() : JsonNumber(c.frequencyError)},
          {"duty_error", oneShot ? QJsonValue() : JsonNumber(c.dutyError)},
          {"pulse_error", oneShot ? JsonNumber(c.frequencyError) : QJsonValue()},
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
    warnings.append(QJsonObject{{"code", QString::fromStdString(w.code)},
                                {"message", QString::fromStdString(w.message)}});
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
          {"warnings", warnings},
          {"standard_values", choices},
          {"tolerance", tolerance}};
}

void PrintJsonLine(const QJsonObject& object, std::ostream& out) {
  out << QJsonDocument(object).toJson(QJsonDocument::Compact).toStdString() << "\n";
}

}  // namespace timer555
