#pragma once

#include <algorithm>
#include <cmath>
#include <functional>
#include <iterator>

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
template <typename G, typename Slope>
Root SolveIncreasing(const G& g, const Slope& slope, double lo, double hi, double start = -1) {
  Root root;
  double x = start > lo && start < hi ? start : (lo + hi) / 2;
  for (int k = 0; k < kRootIterations; ++k) {
    root.iterations = k + 1;
    const double gx = g(x);
    if (gx > 0) {
      hi = x;
    } else {
      lo = x;
    }
    double next = x - gx / slope(x);
    // A step this small ends it, even one onto the bracket's end (g(x) = 0).
    if (gx == 0 || std::fabs(next - x) <= kRootRelativeStep * std::max(x, kRootFloor)) {
      root.value = gx == 0 ? x : next;
      root.converged = true;
      return root;
    }
    if (!(next > lo && next < hi)) next = (lo + hi) / 2;
    x = next;
  }
  root.value = x;
  return root;
}

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
inline constexpr double kGaussNodes[] = {
    0.095012509837637441, 0.28160355077925892, 0.45801677765722737, 0.61787624440264377,
    0.755404408355003,    0.86563120238783176, 0.9445750230732326,  0.98940093499164994};
inline constexpr double kGaussWeights[] = {
    0.18945061045506847, 0.18260341504492361,  0.16915651939500256,  0.14959598881657682,
    0.12462897125553395, 0.095158511682492897, 0.062253523938647776, 0.027152459411754058};
template <typename F>
double IntegrateGauss16(const F& f, double a, double b) {
  const double half = (b - a) / 2, mid = (a + b) / 2;
  double sum = 0;
  for (size_t k = 0; k < std::size(kGaussNodes); ++k)
    sum += kGaussWeights[k] * (f(mid - half * kGaussNodes[k]) + f(mid + half * kGaussNodes[k]));
  return sum * half;
}

}  // namespace timer555
