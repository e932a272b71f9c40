#include "analysis/numerics.h"

#include <gtest/gtest.h>

#include <cmath>

namespace timer555 {
namespace {

TEST(SolveIncreasing, FindsARootAndSaysSo) {
  const Root r =
      SolveIncreasing([](double x) { return x * x - 2; }, [](double x) { return 2 * x; }, 0, 2);
  EXPECT_TRUE(r.converged);
  EXPECT_NEAR(r.value, std::sqrt(2.0), 1e-12);
  EXPECT_LT(r.iterations, 10);
  // A Newton step that leaves the bracket is replaced by bisection.
  const Root flat = SolveIncreasing([](double x) { return std::cbrt(x - 0.3); },
                                    [](double) { return 1e-9; }, 0, 1);
  EXPECT_TRUE(flat.converged);
  EXPECT_NEAR(flat.value, 0.3, 1e-9);
}

// Where Newton cannot settle (a slope so wrong that every step leaves the
// bracket, towards a root at zero whose relative step needs more halvings
// than Newton is given), bisection closes the bracket; a g that is not a
// number gives no root at all, never a made-up one.
TEST(SolveIncreasing, FinishesByBisectionAndReportsWhatItCannotFind) {
  const Root r =
      SolveIncreasing([](double x) { return x; }, [](double) { return 1e-300; }, -1, 1, 0.5);
  EXPECT_TRUE(r.converged);
  EXPECT_GT(r.iterations, kRootIterations);
  EXPECT_LT(std::fabs(r.value), 1e-29);
  const Root nan = SolveIncreasing([](double x) { return x < 0.5 ? x : std::nan(""); },
                                   [](double) { return 1.0; }, 0, 1, 0.75);
  EXPECT_FALSE(nan.converged);
  EXPECT_TRUE(std::isnan(nan.value));
}

// Without a slope, by bisection alone: the resistance on a log scale.
TEST(SolveIncreasing, BisectsWithoutASlope) {
  const Root r = SolveIncreasing([](double u) { return std::exp(u) - 4700; }, nullptr,
                                 std::log(1e-3), std::log(1e12));
  EXPECT_TRUE(r.converged);
  EXPECT_NEAR(std::exp(r.value), 4700, 4700 * 1e-10);
  EXPECT_LT(r.iterations, 60);
}

// A root met exactly ends the search there, also on the bracket's end:
// the diode's current, from below, in a handful of steps.
TEST(SolveIncreasing, AnExactRootEndsIt) {
  const Root zero = SolveIncreasing([](double x) { return x; }, [](double) { return 1.0; }, -1, 1);
  EXPECT_TRUE(zero.converged);
  EXPECT_EQ(zero.value, 0);
  EXPECT_EQ(zero.iterations, 1);
  const double is = 2.52e-9, nvt = 0.045, r = 3600;
  for (double drive : {5.0, 3.0, 1.0, 0.6}) {
    const double start = (drive - nvt * std::log1p(drive / r / is)) / r;
    const Root i =
        SolveIncreasing([&](double x) { return r * x + nvt * std::log1p(x / is) - drive; },
                        [&](double x) { return r + nvt / (is + x); }, 0, drive / r, start);
    EXPECT_TRUE(i.converged) << drive;
    EXPECT_LE(i.iterations, 6) << drive;
  }
}

}  // namespace
}  // namespace timer555
