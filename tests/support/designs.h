#pragma once

#include <cmath>

#include "analysis/real_world.h"

namespace timer555 {

// The parts a design chooses for its targets, by the window's equations at
// a given C1: the astables (R2 of the square wave is the 4.7 kΩ pull-up) and
// the one-shot.
inline DesignSnapshot Astable(int mode, double frequency, double duty, double c1 = 1e-7) {
  DesignSnapshot s;
  s.kind = static_cast<DesignKind>(mode);
  s.c1 = c1;
  s.frequency = frequency;
  s.dutyCycle = mode == 2 ? 0.5 : duty;
  const double k = 1 / (std::log(2.0) * frequency * c1);
  if (mode == 1) {
    s.r1 = (2 * duty - 1) * k;
    s.r2 = (1 - duty) * k;
  } else if (mode == 2) {
    s.r1 = 0.5 * k;
    s.r2 = 4700;
  } else {
    s.r1 = duty * k;
    s.r2 = (1 - duty) * k;
  }
  return s;
}

inline DesignSnapshot OneShot(double pulse, double c1) {
  DesignSnapshot s;
  s.kind = DesignKind::OneShot;
  s.c1 = c1;
  s.pulseLength = pulse;
  s.r1 = pulse / (std::log(3.0) * c1);
  return s;
}

inline Conditions At(double vcc, TimerFamily family = TimerFamily::Bipolar) {
  Conditions c;
  c.vcc = vcc;
  c.family = family;
  return c;
}

}  // namespace timer555
