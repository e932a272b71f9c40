#include "analysis/numerics.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace timer555 {

Root SolveIncreasing(const std::function<double(double)>& g,
                     const std::function<double(double)>& slope, double lo, double hi,
                     double start) {
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

namespace {

double Simpson(const std::function<double(double)>& f, double a, double b, double fa, double fm,
               double fb, double whole, double tolerance, int depth, bool& converged) {
  const double m = (a + b) / 2;
  const double lm = (a + m) / 2, rm = (m + b) / 2;
  const double flm = f(lm), frm = f(rm);
  const double left = (m - a) / 6 * (fa + 4 * flm + fm);
  const double right = (b - m) / 6 * (fm + 4 * frm + fb);
  const bool met = std::fabs(left + right - whole) <= 15 * tolerance;
  if (depth <= 0 || met) {
    if (!met) converged = false;
    return left + right + (left + right - whole) / 15;
  }
  return Simpson(f, a, m, fa, flm, fm, left, tolerance / 2, depth - 1, converged) +
         Simpson(f, m, b, fm, frm, fb, right, tolerance / 2, depth - 1, converged);
}

}  // namespace

Integral IntegrateSimpson(const std::function<double(double)>& f, double a, double b, double fa,
                          double fm, double fb) {
  Integral integral;
  const double whole = (b - a) / 6 * (fa + 4 * fm + fb);
  integral.value = Simpson(f, a, b, fa, fm, fb, whole, kIntegralRelativeError * whole,
                           kIntegralDepth, integral.converged);
  return integral;
}

double IntegrateGauss16(const std::function<double(double)>& f, double a, double b) {
  static constexpr double kNodes[] = {
      0.095012509837637441, 0.28160355077925892, 0.45801677765722737, 0.61787624440264377,
      0.755404408355003,    0.86563120238783176, 0.9445750230732326,  0.98940093499164994};
  static constexpr double kWeights[] = {
      0.18945061045506847, 0.18260341504492361,  0.16915651939500256,  0.14959598881657682,
      0.12462897125553395, 0.095158511682492897, 0.062253523938647776, 0.027152459411754058};
  const double half = (b - a) / 2, mid = (a + b) / 2;
  double sum = 0;
  for (size_t k = 0; k < std::size(kNodes); ++k)
    sum += kWeights[k] * (f(mid - half * kNodes[k]) + f(mid + half * kNodes[k]));
  return sum * half;
}

}  // namespace timer555
