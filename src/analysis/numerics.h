#pragma once

#include <functional>

namespace timer555 {

// How closely the model's numbers are worked out, and how long it may try.
inline constexpr int kRootIterations = 100;             // Newton steps at the most
inline constexpr double kRootRelativeStep = 1e-12;      // a step this small ends it
inline constexpr double kRootFloor = 1e-30;             // the scale of a root at zero
inline constexpr double kIntegralRelativeError = 1e-7;  // of the whole integral
inline constexpr int kIntegralDepth = 40;               // halvings of an interval at the most

// A root and whether it was found to the tolerance within the limit.
struct Root {
  double value = 0;
  int iterations = 0;
  bool converged = false;
};

// The root of an increasing `g` inside [lo, hi] (g(lo) <= 0 <= g(hi)) by
// Newton's method with `slope`, kept inside the shrinking bracket by
// bisection; starts at `start` where it lies inside, else half-way.
Root SolveIncreasing(const std::function<double(double)>& g,
                     const std::function<double(double)>& slope, double lo, double hi,
                     double start = -1);

// An integral and whether every interval met its share of the tolerance
// before the depth ran out.
struct Integral {
  double value = 0;
  bool converged = true;
};

// Adaptive Simpson of `f` over [a, b], given f at a, (a + b) / 2 and b, to
// kIntegralRelativeError of the whole.
Integral IntegrateSimpson(const std::function<double(double)>& f, double a, double b, double fa,
                          double fm, double fb);

// Gauss–Legendre with 16 nodes over [a, b]: exact for polynomials of degree
// 31, for smooth integrands where the adaptive rule would be too slow.
double IntegrateGauss16(const std::function<double(double)>& f, double a, double b);

}  // namespace timer555
