#include "analysis/parts.h"

#include "analysis/numerics.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <limits>
#include <thread>
#include <tuple>

namespace timer555 {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
// No choice that misses its target by more than this is offered.
constexpr double kWorstOffered = 1.0;
// The exact parts meet the target within this share.
constexpr double kExactWithin = 1e-4;

std::vector<double> BuildCapacitors(CapacitorSeries series) {
  static const std::array<double, 12> e12 = {1.0, 1.2, 1.5, 1.8, 2.2, 2.7,
                                             3.3, 3.9, 4.7, 5.6, 6.8, 8.2};
  static const std::array<double, 3> e3 = {1.0, 2.2, 4.7};
  std::vector<double> mantissas;
  if (series == CapacitorSeries::E3) {
    mantissas.assign(e3.begin(), e3.end());
  } else {
    for (size_t i = 0; i < e12.size(); i += series == CapacitorSeries::E6 ? 2 : 1)
      mantissas.push_back(e12[i]);
  }
  // Each value is its mantissa in tenths over a power of ten, both exact, so
  // the quotient is the double nearest the value (1.5 nF is 1.5e-9, not
  // 1.5000000000000002e-09) and prints as it reads.
  std::vector<double> values;
  for (double power : {1e10, 1e9, 1e8, 1e7, 1e6, 1e5})
    for (double m : mantissas)
      values.push_back(std::round(m * 10) / power);
  values.push_back(1e-3);
  return values;
}

Standing StandingOf(const Candidate& c) {
  return {c.broken, false, c.worst, c.r1 + c.r2.value_or(0), c.r1, c.c1};
}
Standing StandingOf(const PartsChoice& c) {
  return {c.broken, !c.onTarget, c.worst, c.r1 + c.r2.value_or(0), c.r1, c.c1};
}
template <typename Parts>
bool Outranks(const Parts& a, const Parts& b) {
  return Outranks(StandingOf(a), StandingOf(b));
}
// Two choices of one group (limits broken, inside or outside the window).
bool SameGroup(const PartsChoice& a, const PartsChoice& b) {
  return a.broken == b.broken && a.onTarget == b.onTarget;
}

// The top `count` of the clean candidates and of the others, and the bar a
// candidate must meet to matter.
class Ranking {
 public:
  Ranking(int count, double bar) : count_(static_cast<size_t>(count)), limit_(bar) {}

  double Bar() const {
    return clean_.size() < count_ ? limit_ : std::min(limit_, clean_.back().worst);
  }

  void Offer(const Candidate& c) {
    if (!(c.worst <= limit_)) return;
    Insert(c.broken == 0 ? clean_ : others_, c);
  }
  const std::vector<Candidate>& Clean() const { return clean_; }
  const std::vector<Candidate>& Others() const { return others_; }
  void Restart(double bar) {
    limit_ = bar;
    clean_.clear();
    others_.clear();
  }

 private:
  void Insert(std::vector<Candidate>& list, const Candidate& c) {
    const auto less = [](const Candidate& a, const Candidate& b) { return Outranks(a, b); };
    if (list.size() == count_ && !less(c, list.back())) return;
    list.insert(std::upper_bound(list.begin(), list.end(), c, less), c);
    if (list.size() > count_) list.pop_back();
  }

  size_t count_;
  double limit_;
  std::vector<Candidate> clean_, others_;
};

// One search: the candidates of each capacitor, walked outwards from where
// the target lies in the series until they can no longer enter the ranking.
class Search {
 public:
  Search(const DesignSnapshot& target, const Conditions& conditions,
         const std::vector<CapacitorType>& types, const std::vector<double>& resistors,
         Ranking& ranking)
      : target_(target),
        halves_(TargetHalves(target)),
        conditions_(conditions),
        types_(types),
        r_(resistors),
        ranking_(ranking) {}

  // Only the candidates nearest the target (the first pass sets the bar), or
  // every one that can still enter.
  void Capacitor(double c1, bool nearest) {
    c1_ = c1;
    nearest_ = nearest;
    if (TraitsOf(target_.kind).resistorPair) {
      Pairs();
    } else {
      Singles();
    }
  }

 private:
  Candidate Evaluate(size_t i, std::optional<size_t> j) {
    Candidate c;
    c.c1 = c1_;
    c.r1 = r_[i];
    if (j) c.r2 = r_[*j];
    if (!j && TraitsOf(target_.kind).pullUp > 0) c.r2 = TraitsOf(target_.kind).pullUp;
    const DesignSnapshot d = WithParts(target_, c1_, c.r1, c.r2);
    c.capacitor = ChooseCapacitor(d, conditions_, types_).value_or(CapacitorType::Film);
    c.timing = PredictBand(d, conditions_);
    c.error = HalfPeriodError(c.timing.typical, halves_);
    c.worst = WorstHalfPeriodError(c.timing, halves_);
    return c;
  }
  // The limits reuse the built circuit's timing the search ranks by.
  void Offer(Candidate& c) {
    const DesignSnapshot d = WithParts(target_, c.c1, c.r1, c.r2, c.capacitor);
    c.broken = BrokenLimits(d, conditions_, c.timing.typical);
    ranking_.Offer(c);
  }
  // Each half's error over the band: its time grows from the fast end to the slow.
  static double BandError(double fast, double slow, double typical, double goal) {
    return std::max(
        {std::fabs(fast / goal - 1), std::fabs(slow / goal - 1), std::fabs(typical / goal - 1)});
  }
  double HighError(const Candidate& c) const {
    const BandedTiming& t = c.timing;
    return BandError(t.fast.tHigh, t.slow.tHigh, t.typical.tHigh, halves_.high);
  }
  double LowError(const Candidate& c) const {
    const BandedTiming& t = c.timing;
    if (!t.typical.tLow || !t.fast.tLow || !t.slow.tLow) return kInfinity;
    return BandError(*t.fast.tLow, *t.slow.tLow, *t.typical.tLow, *halves_.low);
  }
  // 1 where an error is infinite: the capacitor stalls (at the band's slow
  // end), as it does from some resistance upwards.
  static double Stalls(double error) { return std::isinf(error) ? 1 : 0; }
  // The first index whose value of `rises` (increasing along the series)
  // reaches `goal`.
  template <typename F>
  size_t FirstReaching(F rises, double goal) const {
    size_t lo = 0, hi = r_.size();
    while (lo < hi) {
      const size_t mid = (lo + hi) / 2;
      if (rises(mid) >= goal) {
        hi = mid;
      } else {
        lo = mid + 1;
      }
    }
    return lo;
  }
  size_t Nearest(double value) const {
    const auto it = std::lower_bound(r_.begin(), r_.end(), value);
    return it == r_.end() ? r_.size() - 1 : static_cast<size_t>(it - r_.begin());
  }

  // R1 and R2 both set the timing: for each R2 the high time rises with R1,
  // so the R1 that can enter form one run around where it meets tH*; R2
  // walks outwards from where the low time meets tL* while its low-time
  // error alone can still enter.
  void Pairs() {
    const double k = std::log(2.0) * c1_;
    const double r2Ideal = *halves_.low / k;
    const double r1Ideal =
        target_.kind == DesignKind::AstableAbove ? halves_.high / k - r2Ideal : halves_.high / k;
    const size_t r1Start = Nearest(std::max(r1Ideal, r_.front()));
    // Past the resistance where the capacitor stalls at the band's slow end
    // (the pin currents take what the resistor gives) nothing can enter:
    // the walks start below it.
    const size_t center = std::min(
        FirstReaching(
            [&](size_t j) { return Evaluate(r1Start, j).timing.typical.tLow.value_or(kInfinity); },
            *halves_.low),
        FirstReaching([&](size_t j) { return Stalls(LowError(Evaluate(r1Start, j))); }, 1));
    const auto walk = [&](size_t j) {
      // Every R1 of this R2 that can enter; the low time's least error.
      const size_t i0 =
          std::min(FirstReaching([&](size_t i) { return Evaluate(i, j).timing.typical.tHigh; },
                                 halves_.high),
                   FirstReaching([&](size_t i) { return Stalls(HighError(Evaluate(i, j))); }, 1));
      double lowError = kInfinity;
      for (int dir : {-1, 1}) {
        for (size_t i = dir < 0 ? i0 - 1 : i0; i < r_.size(); i += static_cast<size_t>(dir)) {
          Candidate c = Evaluate(i, j);
          lowError = std::min(lowError, LowError(c));
          if (HighError(c) > ranking_.Bar() && !nearest_) break;
          Offer(c);
          if (nearest_) break;
        }
      }
      return lowError;
    };
    for (int dir : {-1, 1}) {
      for (size_t j = dir < 0 ? center - 1 : center; j < r_.size(); j += static_cast<size_t>(dir)) {
        const double lowError = walk(j);
        if (nearest_ || lowError > ranking_.Bar() * 1.02 + 1e-4) break;
      }
    }
  }

  // One resistor: the error is the larger of two errors each falling then
  // rising along the series, so it falls to one least and rises after it.
  void Singles() {
    const bool oneShot = TraitsOf(target_.kind).oneShot;
    const double goal = oneShot ? halves_.high : halves_.high + halves_.low.value_or(0);
    const size_t center = std::min(
        FirstReaching(
            [&](size_t i) {
              const Timing t = Evaluate(i, std::nullopt).timing.typical;
              return t.tHigh + t.tLow.value_or(0);
            },
            goal),
        FirstReaching([&](size_t i) { return Stalls(Evaluate(i, std::nullopt).worst); }, 1));
    for (int dir : {-1, 1}) {
      double previous = kInfinity;
      for (size_t i = dir < 0 ? center - 1 : center; i < r_.size(); i += static_cast<size_t>(dir)) {
        Candidate c = Evaluate(i, std::nullopt);
        if (c.worst > ranking_.Bar() && (c.worst >= previous || nearest_)) break;
        previous = c.worst;
        Offer(c);
        if (nearest_ && std::abs(static_cast<long>(i) - static_cast<long>(center)) >= 1) break;
      }
    }
  }

  const DesignSnapshot& target_;
  const HalfPeriods halves_;
  const Conditions& conditions_;
  const std::vector<CapacitorType>& types_;
  const std::vector<double>& r_;
  Ranking& ranking_;
  double c1_ = 0;
  bool nearest_ = false;
};

// The resistance on a log scale at which `grows` (increasing in it) meets
// `goal`, within 1 mΩ to 1 TΩ.
double SolveResistance(const std::function<double(double)>& grows, double goal) {
  return std::exp(SolveIncreasing([&](double u) { return grows(std::exp(u)) - goal; }, nullptr,
                                  std::log(1e-3), std::log(1e12))
                      .value);
}

ExactParts Exact(const DesignSnapshot& target, const Conditions& conditions, double c1) {
  const HalfPeriods halves = TargetHalves(target);
  const DesignTraits& traits = TraitsOf(target.kind);
  ExactParts exact;
  exact.c1 = c1;
  const auto predict = [&](double r1, std::optional<double> r2) {
    return PredictTiming(WithParts(target, c1, r1, r2), conditions);
  };
  const auto finite = [](double v) { return std::isfinite(v) ? v : kInfinity; };
  if (traits.resistorPair) {
    const double k = std::log(2.0) * c1;
    double r2 = *halves.low / k;
    double r1 = std::max(halves.high / k - (target.kind == DesignKind::AstableAbove ? r2 : 0), 1.0);
    for (int round = 0; round < 40; ++round) {
      r2 = SolveResistance(
          [&](double r) { return finite(predict(r1, r).tLow.value_or(kInfinity)); }, *halves.low);
      r1 = SolveResistance([&](double r) { return finite(predict(r, r2).tHigh); }, halves.high);
      if (HalfPeriodError(predict(r1, r2), halves) <= kExactWithin / 2) break;
    }
    exact.r1 = r1;
    exact.r2 = r2;
  } else {
    const double goal = halves.high + halves.low.value_or(0);
    exact.r1 = SolveResistance(
        [&](double r) {
          const Timing t = predict(r, std::nullopt);
          return finite(t.tHigh + t.tLow.value_or(0));
        },
        goal);
    if (traits.pullUp > 0) exact.r2 = traits.pullUp;
  }
  exact.predicted = PredictTiming(WithParts(target, c1, exact.r1, exact.r2), conditions);
  const Timing& t = exact.predicted;
  // The 50 % design has one resistor for two halves: its exact part meets the period.
  const double off =
      traits.resistorPair || traits.oneShot
          ? HalfPeriodError(t, halves)
          : std::fabs((t.tHigh + t.tLow.value_or(kInfinity)) / (halves.high + *halves.low) - 1);
  exact.found = off <= kExactWithin;
  return exact;
}

}  // namespace

bool Outranks(const Standing& x, const Standing& y) {
  return std::tie(x.broken, x.outside, x.worst, y.resistance, y.r1, x.c1) <
         std::tie(y.broken, y.outside, y.worst, x.resistance, x.r1, y.c1);
}

// A design with these parts; R2 is the pull-up where the design has one.
DesignSnapshot WithParts(const DesignSnapshot& target, double c1, double r1,
                         std::optional<double> r2, std::optional<CapacitorType> capacitor) {
  DesignSnapshot d = target;
  d.c1 = c1;
  d.r1 = r1;
  d.r2 = r2.value_or(TraitsOf(target.kind).pullUp);
  d.capacitor = capacitor;
  return d;
}

std::optional<CapacitorSeries> CapacitorSeriesNamed(const std::string& name) {
  for (CapacitorSeries s : {CapacitorSeries::E3, CapacitorSeries::E6, CapacitorSeries::E12})
    if (name == CapacitorSeriesName(s)) return s;
  return std::nullopt;
}

const char* CapacitorSeriesName(CapacitorSeries series) noexcept {
  switch (series) {
    case CapacitorSeries::E3:
      return "E3";
    case CapacitorSeries::E6:
      return "E6";
    case CapacitorSeries::E12:
      break;
  }
  return "E12";
}

const std::vector<double>& CapacitorValues(CapacitorSeries series) {
  static const std::array<std::vector<double>, 3> all = {BuildCapacitors(CapacitorSeries::E3),
                                                         BuildCapacitors(CapacitorSeries::E6),
                                                         BuildCapacitors(CapacitorSeries::E12)};
  return all[static_cast<size_t>(series)];
}

HalfPeriods TargetHalves(const DesignSnapshot& d) {
  if (TraitsOf(d.kind).oneShot) return {d.pulseLength, std::nullopt};
  const double duty = d.kind == DesignKind::AstableSquare ? 0.5 : d.dutyCycle;
  return {duty / d.frequency, (1 - duty) / d.frequency};
}

double HalfPeriodError(const Timing& t, const HalfPeriods& target) {
  if (!Switches(t)) return kInfinity;
  const double high = std::fabs(t.tHigh / target.high - 1);
  if (!target.low) return high;
  if (!t.tLow) return kInfinity;
  return std::max(high, std::fabs(*t.tLow / *target.low - 1));
}

double Pin7Peak(const DesignSnapshot& d, const Conditions& c) {
  const DesignTraits& traits = TraitsOf(d.kind);
  if (!traits.usesDischarge) return 0;
  const double fromR1 = c.vcc / d.r1;
  if (!traits.resistorPair) return fromR1;
  return fromR1 + 2 * c.vcc / 3 / (d.r2 + Parameters(c.family).dischargeResistance);
}

double SupplyCurrent(const DesignSnapshot& d, const Conditions& c, const Timing& t) {
  const DesignTraits& traits = TraitsOf(d.kind);
  // At rest the one-shot's pin 7 holds C1 and takes Vcc / R1.
  if (traits.oneShot) return c.vcc / d.r1;
  if (!Switches(t)) return kInfinity;
  // Each high half moves C1 by Vcc/3; each low half the resistor to Vcc
  // (R1, or the pull-up) carries Vcc into a low pin.
  const double period = t.tHigh + *t.tLow;
  const double toLow = traits.pullUp > 0 ? d.r2 : d.r1;
  return (d.c1 * c.vcc / 3 + *t.tLow * c.vcc / toLow) / period;
}

double WorstHalfPeriodError(const BandedTiming& t, const HalfPeriods& target) {
  return std::max({HalfPeriodError(t.typical, target), HalfPeriodError(t.fast, target),
                   HalfPeriodError(t.slow, target)});
}

std::optional<CapacitorType> ChooseCapacitor(const DesignSnapshot& design,
                                             const Conditions& conditions,
                                             const std::vector<CapacitorType>& types) {
  std::optional<CapacitorType> first;
  for (const CapacitorTechnology& t : CapacitorTechnologies()) {
    if (std::find(types.begin(), types.end(), t.type) == types.end() || !Reaches(t, design.c1))
      continue;
    DesignSnapshot d = design;
    d.capacitor = t.type;
    if (!LeaksTooMuch(d, conditions)) return t.type;
    if (!first) first = t.type;
  }
  return first;
}

std::vector<Candidate> SearchParts(const DesignSnapshot& target, const Conditions& conditions,
                                   const std::vector<double>& capacitors,
                                   const std::vector<CapacitorType>& types,
                                   const std::vector<double>& resistors, int count) {
  if (count <= 0 || resistors.empty()) return {};
  // Only the values some allowed kind comes in.
  std::vector<double> values;
  for (double c1 : capacitors) {
    const bool made = std::any_of(types.begin(), types.end(), [c1](CapacitorType type) {
      return Reaches(TechnologyOf(type), c1);
    });
    if (made) values.push_back(c1);
  }
  Ranking ranking(count, kWorstOffered);
  Search search(target, conditions, types, resistors, ranking);
  // The first pass sets the bar with the nearest candidates of each C1; the
  // second walks every candidate that can still meet it.
  for (double c1 : values)
    search.Capacitor(c1, true);
  const double bar =
      static_cast<int>(ranking.Clean().size()) < count ? kWorstOffered : ranking.Bar();
  ranking.Restart(bar * (1 + 1e-9) + 1e-15);
  for (double c1 : values)
    search.Capacitor(c1, false);
  return ranking.Clean().empty() ? ranking.Others() : ranking.Clean();
}

// Whether a built circuit's figures lie inside the window a board must meet.
bool InsideWindow(const Timing& t, const DesignSnapshot& target, const BenchSpec& bench) {
  if (!Switches(t)) return false;
  const HalfPeriods goal = TargetHalves(target);
  if (TraitsOf(target.kind).oneShot)
    return std::fabs(t.tHigh / goal.high - 1) <= bench.frequencyWindow;
  const double frequency = 1 / (goal.high + *goal.low), duty = goal.high * frequency;
  return std::fabs(t.frequency.value_or(0) / frequency - 1) <= bench.frequencyWindow &&
         std::fabs(t.dutyCycle.value_or(0) - duty) <= bench.dutyWindow;
}

namespace {

PartsChoice ChoiceOf(const Candidate& c, const DesignSnapshot& target, const BenchSpec& bench) {
  PartsChoice choice;
  choice.c1 = c.c1;
  choice.r1 = c.r1;
  choice.r2 = c.r2;
  choice.capacitor = c.capacitor;
  choice.predicted = c.timing.typical;
  choice.fast = c.timing.fast;
  choice.slow = c.timing.slow;
  choice.error = c.error;
  choice.worst = c.worst;
  choice.broken = c.broken;
  choice.onTarget = InsideWindow(c.timing.typical, target, bench);
  const DesignSnapshot d = WithParts(target, c.c1, c.r1, c.r2, c.capacitor);
  choice.pin7Peak = Pin7Peak(d, bench.conditions);
  choice.supplyCurrent = SupplyCurrent(d, bench.conditions, c.timing.typical);
  return choice;
}

// In the one order, where two of a group within kTieShare of the best left
// are a tie that the higher yield (then the lower supply current) wins.
void Rank(std::vector<PartsChoice>& choices) {
  std::stable_sort(choices.begin(), choices.end(), Outranks<PartsChoice>);
  for (auto first = choices.begin(); first != choices.end(); ++first) {
    const auto best =
        std::min_element(first, choices.end(), [&](const PartsChoice& a, const PartsChoice& b) {
          const bool aTies = SameGroup(a, *first) && a.worst <= first->worst + kTieShare;
          const bool bTies = SameGroup(b, *first) && b.worst <= first->worst + kTieShare;
          if (aTies != bTies) return aTies;
          if (a.spread.yield != b.spread.yield) return a.spread.yield > b.spread.yield;
          return a.supplyCurrent < b.supplyCurrent;
        });
    std::rotate(first, best, best + 1);
  }
}

// Each choice's boards, on as many cores as there are (up to four): the same
// numbers whatever the machine, as every choice has its own seeded generator.
// Only the choices that can still be shown are measured: the first `count`
// and those that tie with the last of them.
void MeasureYields(std::vector<PartsChoice>& choices, const DesignSnapshot& target,
                   const BenchSpec& bench, size_t count) {
  std::stable_sort(choices.begin(), choices.end(), Outranks<PartsChoice>);
  size_t measured = std::min(count, choices.size());
  while (measured > 0 && measured < choices.size() &&
         SameGroup(choices[measured], choices[measured - 1]) &&
         choices[measured].worst <= choices[measured - 1].worst + kTieShare)
    ++measured;
  std::atomic<size_t> next{0};
  const auto measure = [&] {
    for (size_t k = next++; k < measured; k = next++) {
      PartsChoice& choice = choices[k];
      choice.spread =
          MonteCarlo(WithParts(target, choice.c1, choice.r1, choice.r2, choice.capacitor), bench);
    }
  };
  std::vector<std::thread> workers;
  const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
  for (unsigned w = 1; w < std::min<unsigned>(cores, 4); ++w)
    workers.emplace_back(measure);
  measure();
  for (std::thread& worker : workers)
    worker.join();
}

}  // namespace

PartsChoice AssessParts(const DesignSnapshot& target, double c1, double r1,
                        std::optional<double> r2, CapacitorType capacitor, const BenchSpec& bench) {
  Candidate c;
  c.c1 = c1;
  c.r1 = r1;
  c.r2 = TraitsOf(target.kind).hasR2 ? r2 : std::nullopt;
  if (!c.r2 && TraitsOf(target.kind).pullUp > 0) c.r2 = TraitsOf(target.kind).pullUp;
  c.capacitor = capacitor;
  const DesignSnapshot d = WithParts(target, c1, r1, c.r2, capacitor);
  const HalfPeriods halves = TargetHalves(target);
  c.timing = PredictBand(d, bench.conditions);
  c.error = HalfPeriodError(c.timing.typical, halves);
  c.worst = WorstHalfPeriodError(c.timing, halves);
  c.broken = BrokenLimits(d, bench.conditions, c.timing.typical);
  PartsChoice choice = ChoiceOf(c, target, bench);
  choice.spread = MonteCarlo(d, bench);
  choice.warnings = LimitWarnings(d, bench.conditions);
  return choice;
}

PartsAnswer FindParts(const DesignSnapshot& target, const BenchSpec& bench, Series resistors,
                      CapacitorSeries capacitors, int count) {
  const Conditions& conditions = bench.conditions;
  // A few more than asked, so that near ties can go to the higher yield.
  const std::vector<Candidate> found =
      SearchParts(target, conditions, CapacitorValues(capacitors), bench.capacitorTypes,
                  SeriesValues(resistors), count + 3);
  PartsAnswer answer;
  answer.supply = SupplyWarnings(conditions);
  const bool supplyBroken = std::any_of(answer.supply.begin(), answer.supply.end(),
                                        [](const Warning& w) { return IsLimit(w.code); });
  for (const Candidate& c : found) {
    answer.choices.push_back(ChoiceOf(c, target, bench));
    if (supplyBroken) ++answer.choices.back().broken;
  }
  MeasureYields(answer.choices, target, bench, static_cast<size_t>(std::max(count, 0)));
  Rank(answer.choices);
  answer.choices.resize(std::min(answer.choices.size(), static_cast<size_t>(std::max(count, 0))));
  answer.clean = answer.choices.empty() || answer.choices.front().broken == 0;
  for (PartsChoice& choice : answer.choices) {
    choice.warnings = LimitWarnings(
        WithParts(target, choice.c1, choice.r1, choice.r2, choice.capacitor), conditions);
  }
  if (!answer.choices.empty()) {
    answer.exact = Exact(target, conditions, answer.choices.front().c1);
    answer.exact.capacitor = answer.choices.front().capacitor;
  }
  answer.reachable = !answer.choices.empty() && answer.choices.front().broken == 0 &&
                     answer.choices.front().onTarget;
  if (!answer.reachable) ExplainUnreachable(target, bench, resistors, capacitors, answer);
  return answer;
}

}  // namespace timer555
