#pragma once

#include <optional>

#include "analysis/real_world.h"

namespace timer555 {

// A built circuit's timing with the ends of its band: the model's poorly
// known figures at their fast and slow ends (the typical timing thrice where
// the family has none).
struct BandedTiming {
  Timing typical, fast, slow;
};
BandedTiming PredictBand(const DesignSnapshot& design, const Conditions& conditions);

// How far the band reaches from the typical figure (the frequency, or the
// one-shot's pulse), as shares below and above it.
struct BandShare {
  double below = 0, above = 0;
  double Widest() const noexcept { return below > above ? below : above; }
};
BandShare ShareOf(const BandedTiming& timing);
// Whether the band is wider than the chip's own initial accuracy, the
// point where a reader should see it.
bool BandMatters(const BandedTiming& timing, DesignKind kind, TimerFamily family);

// Where the bipolar chip's delays make the timing uncertain by more than its
// initial accuracy: "delay-uncertain", with the frequency (or pulse) where
// that begins for this design's shape, the band here, and what a CMOS timer
// does instead.
std::optional<Warning> DelayUncertainty(const DesignSnapshot& design, const Conditions& conditions);

}  // namespace timer555
