#include "analysis/numerics.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace timer555 {

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

}  // namespace timer555
