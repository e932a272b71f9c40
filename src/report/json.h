#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <optional>
#include <ostream>

#include "analysis/check.h"
#include "report/figures.h"
#include "report/parts_report.h"

namespace timer555 {

// A number for JSON: null where it is not finite or absent.
QJsonValue JsonNumber(double v);
QJsonValue JsonNumber(const std::optional<double>& v);
// The JSON object of one timing, keyed as the reports name its figures:
// frequency_hz, duty_cycle, t_high_s, t_low_s, first_t_high_s (null where
// the design has none).
QJsonObject TimingJson(const Timing& timing);
// The band of a predicted timing: each figure's [min, max] over the band's
// ends, keyed as TimingJson (null where a design has none).
QJsonObject BandJson(const BandedTiming& timing);
// The warnings as a list of {code, text, limit}.
QJsonArray WarningsJson(const std::vector<Warning>& warnings);
// vcc_v, family and temperature_c.
QJsonObject ConditionsJson(const Conditions& conditions);
// r1_ohm, r2_ohm (null for the one-shot), c1_farad and c1_type (null where
// C1's kind is not given).
QJsonObject PartsJson(const DesignSnapshot& design);
// The whole real-world check of `design`.
QJsonObject CheckJson(const DesignSnapshot& design, const CheckSettings& settings,
                      const CheckReport& report);
// The whole answer of a parts search: target, choices, exact, samples, seed.
QJsonObject PartsJson(const PartsQuestion& question, const PartsAnswer& answer);
// The simulated timing beside the ideal and the predicted, and how long
// ngspice ran.
QJsonObject SimulationJson(const DesignSnapshot& design, const Conditions& conditions,
                           const Timing& ideal, const Timing& predicted, const Timing& simulated,
                           double seconds);
// One JSON object on one line, numbers in the shortest form that reads back.
void PrintJsonLine(const QJsonObject& object, std::ostream& out);

}  // namespace timer555
