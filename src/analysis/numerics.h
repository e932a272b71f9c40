#pragma once

#include <algorithm>
#include <cmath>
#include <iterator>
#include <type_traits>

namespace timer555 {

// How closely the model's numbers are worked out, and how long it may try.
inline constexpr int kRootIterations = 100;         // Newton steps at the most
inline constexpr int kBisections = 2200;            // enough to close any bracket of doubles
inline constexpr double kRootRelativeStep = 1e-12;  // a step this small ends it
inline constexpr double kRootFloor = 1e-30;         // the scale of a root at zero

// A root and whether it was found to the tolerance.
struct Root {
  double value = 0;
  int iterations = 0;
  bool converged = false;
};

// The root of an increasing `g` inside [lo, hi] (g(lo) <= 0 <= g(hi)), to a
// step of `tolerance` times its size. With a `slope`, by Newton's method kept
// inside the shrinking bracket by bisection, from `start` where it lies
// inside, else half-way; where Newton has not settled within
// kRootIterations, bisection closes the bracket. Without one (nullptr), by
// bisection alone. Not converged only where g is not a number: the value is
// then NaN, so no figure is made up from it.
template <typename G, typename Slope>
Root SolveIncreasing(const G& g, const Slope& slope, double lo, double hi, double start = -1,
                     double tolerance = kRootRelativeStep) {
  constexpr bool kNewton = !std::is_null_pointer_v<Slope>;
  Root root;
  double x = start > lo && start < hi ? start : (lo + hi) / 2;
  for (int k = 0; k < kRootIterations + kBisections; ++k) {
    root.iterations = k + 1;
    const double gx = g(x);
    if (std::isnan(gx)) break;
    (gx > 0 ? hi : lo) = x;
    const double scale = tolerance * std::max(std::fabs(x), kRootFloor);
    double next = (lo + hi) / 2;
    if constexpr (kNewton) {
      if (k < kRootIterations) next = x - gx / slope(x);
    }
    // A step this small ends it, even one onto the bracket's end (g(x) = 0);
    // so does a bracket closed to the tolerance.
    if (gx == 0 || std::fabs(next - x) <= scale || hi - lo <= scale) {
      root.value = gx == 0 ? x : std::clamp(next, lo, hi);
      root.converged = true;
      return root;
    }
    if (!(next > lo && next < hi)) next = (lo + hi) / 2;
    x = next;
  }
  root.value = std::nan("");
  return root;
}

// Gauss–Legendre with 8 nodes over [a, b]: exact for polynomials of degree
// 15, for smooth integrands (the output stage's charge over the log of its
// current: within 3e-7 of 16 nodes; the pin currents' share, piece by piece).
inline constexpr double kGaussNodes[] = {0.18343464249564978, 0.52553240991632899,
                                         0.79666647741362684, 0.96028985649753629};
inline constexpr double kGaussWeights[] = {0.36268378337836199, 0.31370664587788738,
                                           0.22238103445337445, 0.10122853629037618};
template <typename F>
double IntegrateGauss8(const F& f, double a, double b) {
  const double half = (b - a) / 2, mid = (a + b) / 2;
  double sum = 0;
  for (size_t k = 0; k < std::size(kGaussNodes); ++k)
    sum += kGaussWeights[k] * (f(mid - half * kGaussNodes[k]) + f(mid + half * kGaussNodes[k]));
  return sum * half;
}

}  // namespace timer555
