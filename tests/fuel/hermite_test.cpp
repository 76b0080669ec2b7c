// Monotone piecewise cubic Hermite interpolation: the derivative estimates and
// their shape-preserving limits, the validation codes, the single-sweep
// evaluation with its extrapolation count and out-of-order recovery, strided
// data, and the failure report.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "fuel/fuel.h"
#include "input/failure.h"

namespace hdfe {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kUntouched = 99.0;

struct Derivatives {
  std::vector<double> d;
  std::int32_t ierr = 0;
};

Derivatives derivatives(const std::vector<double>& xs, const std::vector<double>& f) {
  Derivatives r{std::vector<double>(xs.size(), kUntouched), 12345};
  DPCHIM(static_cast<std::int32_t>(xs.size()), xs.data(), f.data(), r.d.data(), 1, r.ierr);
  return r;
}

struct Evaluation {
  std::vector<double> f;
  std::int32_t ierr = 0;
};

Evaluation evaluate(const std::vector<double>& xs, const std::vector<double>& f,
                    const std::vector<double>& d, const std::vector<double>& xe,
                    bool skip_checks = true) {
  Evaluation r{std::vector<double>(xe.size(), kNaN), 12345};
  DPCHFE(static_cast<std::int32_t>(xs.size()), xs.data(), f.data(), d.data(), 1, skip_checks,
         static_cast<std::int32_t>(xe.size()), xe.data(), r.f.data(), r.ierr);
  return r;
}

// Each point on its own: the plain forward walk, the reference for the runs
// that share intervals and for the recovery path.
std::vector<double> evaluateOneByOne(const std::vector<double>& xs, const std::vector<double>& f,
                                     const std::vector<double>& d, const std::vector<double>& xe) {
  std::vector<double> out;
  for (double x : xe) out.push_back(evaluate(xs, f, d, {x}).f[0]);
  return out;
}

TEST(HermiteDerivatives, ShapePreservingEstimates) {
  struct Case {
    const char* what;
    std::vector<double> xs, f, expected;
    std::int32_t ierr;
  };
  const std::vector<Case> cases = {
      {"two points: the chord slope", {1, 3}, {2, 6}, {2, 2}, 0},
      // Slopes 1, 2, -1: Brodlie's mean at point 2, zero at the peak.
      {"a peak", {0, 1, 2, 3}, {0, 1, 3, 2}, {0.5, 1.0 / 0.75, 0, -2.5}, 1},
      {"a flat stretch", {0, 1, 2, 3}, {0, 1, 1, 2}, {1.5, 0, 0, 1.5}, 0},
      {"a flat top counts one turn", {0, 1, 2, 3}, {0, 1, 1, 0}, {1.5, 0, 0, -1.5}, 1},
      {"a turn, a flat stretch, a turn", {0, 1, 2, 3, 4}, {0, 1, 0, 0, 1}, {2, 0, 0, 0, 1.5}, 2},
      // m1 = 1, m2 = -5: the first end formula gives 4, cut to 3 m1; the last
      // gives -8, within 3 |m2|.
      {"three points, first end limited", {0, 1, 2}, {0, 1, -4}, {3, 0, -8}, 1},
      {"three points, last end limited", {0, 1, 2}, {0, -5, -4}, {-8, 0, 3}, 1},
      // Widths 1 and 3, slopes 1 and 2: the wider side weighs more.
      {"unequal widths", {0, 1, 4}, {0, 1, 7}, {0.75, 24.0 / 19.0, 2.75}, 0},
      // m1 = 1, m2 = 4: the first end formula points downhill.
      {"end formula against the slope", {0, 1, 2}, {0, 1, 5}, {0, 1.0 / 0.625, 5.5}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Derivatives r = derivatives(c.xs, c.f);
    EXPECT_EQ(r.ierr, c.ierr);
    EXPECT_EQ(r.d, c.expected);
  }
}

TEST(HermiteDerivatives, FlatStretchStaysFlat) {
  const std::vector<double> xs = {0, 1, 2, 3};
  const std::vector<double> f = {0, 1, 1, 2};
  const Derivatives r = derivatives(xs, f);
  const Evaluation e = evaluate(xs, f, r.d, {1.0, 1.25, 1.5, 1.75});
  EXPECT_EQ(e.f, (std::vector<double>{1, 1, 1, 1}));
}

TEST(HermiteDerivatives, InvalidDataLeaveDerivativesUntouched) {
  struct Case {
    const char* what;
    std::vector<double> xs;
    std::int32_t npts, stride, ierr;
  };
  const std::vector<Case> cases = {
      {"one point", {1, 2, 3}, 1, 1, -1},
      {"count checked before stride", {1, 2, 3}, 0, 0, -1},
      {"stride below 1", {1, 2, 3}, 3, 0, -2},
      {"stride checked before abscissae", {1, 1, 3}, 3, -1, -2},
      {"repeated abscissa", {1, 2, 2, 3}, 4, 1, -3},
      {"decreasing abscissae", {1, 3, 2}, 3, 1, -3},
      {"NaN abscissa", {1, kNaN, 3}, 3, 1, -3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::vector<double> f(c.xs.size(), 1.0);
    std::vector<double> d(c.xs.size(), kUntouched);
    std::int32_t ierr = 0;
    DPCHIM(c.npts, c.xs.data(), f.data(), d.data(), c.stride, ierr);
    EXPECT_EQ(ierr, c.ierr);
    EXPECT_EQ(d, std::vector<double>(c.xs.size(), kUntouched));
  }
}

TEST(HermiteEvaluation, ChecksRunOnlyWithoutSkip) {
  const std::vector<double> good = {0, 1, 2};
  const std::vector<double> f = {0, 1, 4};
  const std::vector<double> d = {0, 2, 4};
  const std::vector<double> xe = {0.5, 1.5};
  struct Case {
    const char* what;
    std::vector<double> xs;
    std::int32_t npts, stride, neval, ierr;
  };
  const std::vector<Case> cases = {
      {"one point", good, 1, 1, 2, -1},
      {"stride below 1", good, 3, 0, 2, -2},
      {"repeated abscissa", {0, 1, 1}, 3, 1, 2, -3},
      {"no evaluation point", good, 3, 1, 0, -4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<double> fe(xe.size(), kUntouched);
    bool skip_checks = false;
    std::int32_t ierr = 0;
    DPCHFE(c.npts, c.xs.data(), f.data(), d.data(), c.stride, skip_checks, c.neval, xe.data(),
           fe.data(), ierr);
    EXPECT_EQ(ierr, c.ierr);
    EXPECT_FALSE(skip_checks);
    EXPECT_EQ(fe, std::vector<double>(xe.size(), kUntouched));
  }

  // Past the checks the flag stays set for the next call.
  std::vector<double> fe(xe.size(), kUntouched);
  bool skip_checks = false;
  std::int32_t ierr = -99;
  DPCHFE(3, good.data(), f.data(), d.data(), 1, skip_checks, 2, xe.data(), fe.data(), ierr);
  EXPECT_EQ(ierr, 0);
  EXPECT_TRUE(skip_checks);

  // With the checks skipped, no evaluation point is no work and no failure.
  fe.assign(xe.size(), kUntouched);
  ierr = -99;
  DPCHFE(3, good.data(), f.data(), d.data(), 1, skip_checks, 0, xe.data(), fe.data(), ierr);
  EXPECT_EQ(ierr, 0);
  EXPECT_TRUE(skip_checks);
  EXPECT_EQ(fe, std::vector<double>(xe.size(), kUntouched));
}

TEST(HermiteEvaluation, ZeroWidthIntervalIsAnInconsistency) {
  // Unchecked data whose last interval has no width.
  const std::vector<double> xs = {0, 1, 1};
  const std::vector<double> f = {0, 1, 2};
  const std::vector<double> d = {1, 1, 1};
  EXPECT_EQ(evaluate(xs, f, d, {1.5}).ierr, -5);
}

TEST(HermiteEvaluation, TwoPointsGiveTheStraightLine) {
  const std::vector<double> xs = {1, 3};
  const std::vector<double> f = {2, 6};
  const Derivatives r = derivatives(xs, f);
  const Evaluation e = evaluate(xs, f, r.d, {0, 1, 2, 3, 5});
  EXPECT_EQ(e.ierr, 2);  // 0 and 5 lie outside
  EXPECT_EQ(e.f, (std::vector<double>{0, 2, 4, 6, 10}));
}

TEST(HermiteEvaluation, DataAbscissaeReturnTheData) {
  const std::vector<double> xs = {0, 0.7, 3.1, 4.3};
  const std::vector<double> f = {1.3, 2.9, 5.7, 6.1};
  const Derivatives r = derivatives(xs, f);
  const Evaluation e = evaluate(xs, f, r.d, xs);
  EXPECT_EQ(e.ierr, 0);  // the last abscissa belongs to the last interval
  // A point at an abscissa is x = 0 in the interval to its right: exact.
  EXPECT_EQ(e.f[0], f[0]);
  EXPECT_EQ(e.f[1], f[1]);
  EXPECT_EQ(e.f[2], f[2]);
  EXPECT_NEAR(e.f[3], f[3], 1e-14);
}

TEST(HermiteEvaluation, CountsExtrapolatedPointsAndFillsThemAll) {
  const std::vector<double> xs = {0, 1, 2, 3};
  const std::vector<double> f = {0, 1, 4, 9};
  const Derivatives r = derivatives(xs, f);
  std::vector<double> xe = {-3, -2, -1};
  for (int k = 0; k < 15; ++k) xe.push_back(0.2 * k);
  xe.push_back(3.5);
  xe.push_back(4);
  ASSERT_EQ(xe.size(), 20u);
  const Evaluation e = evaluate(xs, f, r.d, xe);
  EXPECT_EQ(e.ierr, 5);
  EXPECT_EQ(e.f, evaluateOneByOne(xs, f, r.d, xe));
  for (double v : e.f) EXPECT_TRUE(std::isfinite(v));
}

TEST(HermiteEvaluation, OutOfOrderPointsAreEvaluatedInTheirOwnIntervals) {
  const std::vector<double> xs = {0, 1, 2, 3, 4};
  const std::vector<double> f = {0, 0.5, 2, 2.5, 4};
  const Derivatives r = derivatives(xs, f);
  struct Case {
    const char* what;
    std::vector<double> xe;
    std::int32_t ierr;
  };
  const std::vector<Case> cases = {
      {"inside the data", {3.5, 0.5, 2.5, 1.5, 3.0, 0.0, 1.0}, 0},
      // -1 is first met in the interval of 2.5, sent back to the first
      // interval and counted there, 5 in the last interval.
      {"with extrapolation", {2.5, -1.0, 5.0}, 2},
      {"descending", {4.0, 3.0, 2.0, 1.0, 0.0}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Evaluation e = evaluate(xs, f, r.d, c.xe);
    EXPECT_EQ(e.ierr, c.ierr);
    EXPECT_EQ(e.f, evaluateOneByOne(xs, f, r.d, c.xe));
  }
}

TEST(HermiteEvaluation, StridedDataMatchContiguousData) {
  const std::vector<double> xs = {0, 1, 2.5, 3, 5};
  const std::vector<double> f = {3, 1, 1, 4, 2};
  const Derivatives plain = derivatives(xs, f);
  const std::vector<double> xe = {-0.5, 0.3, 1.7, 2.5, 2.9, 4.4, 5.5};
  const Evaluation plainEval = evaluate(xs, f, plain.d, xe);

  // Row 2 of a table of three rows stored with the row index fastest.
  constexpr std::int32_t kRows = 3;
  const double filler = -7.0;
  std::vector<double> table(xs.size() * kRows, filler);
  std::vector<double> derivs(xs.size() * kRows, filler);
  for (std::size_t i = 0; i < xs.size(); ++i) table[1 + i * kRows] = f[i];
  std::int32_t ierr = 0;
  DPCHIM(5, xs.data(), table.data() + 1, derivs.data() + 1, kRows, ierr);
  EXPECT_EQ(ierr, plain.ierr);
  for (std::size_t i = 0; i < xs.size(); ++i) {
    EXPECT_EQ(derivs[1 + i * kRows], plain.d[i]);
    EXPECT_EQ(derivs[0 + i * kRows], filler);  // other rows untouched
    EXPECT_EQ(derivs[2 + i * kRows], filler);
  }
  std::vector<double> fe(xe.size(), kNaN);
  bool skip_checks = false;
  DPCHFE(5, xs.data(), table.data() + 1, derivs.data() + 1, kRows, skip_checks,
         static_cast<std::int32_t>(xe.size()), xe.data(), fe.data(), ierr);
  EXPECT_EQ(ierr, plainEval.ierr);
  EXPECT_EQ(fe, plainEval.f);
}

// The cubic Hermite basis on [x1, x2], written independently of the
// evaluation routine.
double hermiteBasis(double x1, double x2, double f1, double f2, double d1, double d2, double x) {
  const double h = x2 - x1;
  const double t = (x - x1) / h;
  const double t2 = t * t;
  const double t3 = t2 * t;
  return (2 * t3 - 3 * t2 + 1) * f1 + (t3 - 2 * t2 + t) * h * d1 + (-2 * t3 + 3 * t2) * f2 +
         (t3 - t2) * h * d2;
}

TEST(HermiteEvaluation, RandomMonotoneDataAgainstTheHermiteBasis) {
  std::mt19937_64 random(20221014);
  std::uniform_int_distribution<int> pointCount(2, 30);
  std::uniform_real_distribution<double> gap(0.1, 5.0);
  std::uniform_real_distribution<double> rise(0.0, 3.0);
  std::bernoulli_distribution flat(0.15);
  for (int trial = 0; trial < 60; ++trial) {
    SCOPED_TRACE(trial);
    const int n = pointCount(random);
    const double direction = trial % 2 == 0 ? 1.0 : -1.0;
    std::vector<double> xs = {gap(random) - 2.0};
    std::vector<double> f = {rise(random)};
    for (int i = 1; i < n; ++i) {
      xs.push_back(xs.back() + gap(random));
      f.push_back(f.back() + (flat(random) ? 0.0 : direction * rise(random)));
    }
    const Derivatives r = derivatives(xs, f);
    ASSERT_EQ(r.ierr, 0);  // monotone data never turn

    // The data are reproduced.
    const Evaluation atData = evaluate(xs, f, r.d, xs);
    for (int i = 0; i + 1 < n; ++i) EXPECT_EQ(atData.f[i], f[i]);
    EXPECT_NEAR(atData.f[n - 1], f[n - 1], 1e-12);

    // Dense ascending evaluation over the data range, in one sweep.
    std::vector<double> xe;
    for (int k = 0; k <= 400; ++k) xe.push_back(xs.front() + (xs.back() - xs.front()) * k / 400.0);
    xe.back() = xs.back();
    const Evaluation dense = evaluate(xs, f, r.d, xe);
    ASSERT_EQ(dense.ierr, 0);
    std::size_t interval = 0;
    for (std::size_t k = 0; k < xe.size(); ++k) {
      while (interval + 2 < xs.size() && xe[k] >= xs[interval + 1]) ++interval;
      const double lo = std::min(f[interval], f[interval + 1]);
      const double hi = std::max(f[interval], f[interval + 1]);
      // No overshoot between the data, and monotone in the data's direction.
      EXPECT_GE(dense.f[k], lo - 1e-12);
      EXPECT_LE(dense.f[k], hi + 1e-12);
      if (k > 0) {
        EXPECT_GE(direction * (dense.f[k] - dense.f[k - 1]), -1e-12);
      }
      const double basis = hermiteBasis(xs[interval], xs[interval + 1], f[interval],
                                        f[interval + 1], r.d[interval], r.d[interval + 1], xe[k]);
      EXPECT_NEAR(dense.f[k], basis, 1e-12);
    }
  }
}

TEST(HermiteFailureReport, EightMessagesOnStandardError) {
  struct Case {
    std::int32_t which;
    const char* message;
    std::int32_t ierr;
    const char* ierrLine;
  };
  const std::vector<Case> cases = {
      {1, "Error : DPCHIM ( called from FCGRID, 1st )", -3, "ierr =           -3"},
      {2, "Error : DPCHFE ( called from FCGRID, 1st )", -5, "ierr =           -5"},
      {3, "Error : DPCHIM ( called from FCGRID, 2nd )", -1, "ierr =           -1"},
      {4, "Error : DPCHFE ( called from FCGRID, 2nd )", -4, "ierr =           -4"},
      {5, "Error : DPCHIM ( called from CALCFC, 1st )", -2, "ierr =           -2"},
      {6, "Error : DPCHFE ( called from CALCFC, 1st )", -5, "ierr =           -5"},
      {7, "Error : DPCHIM ( called from CALCFC, 2nd )", -3, "ierr =           -3"},
      {8, "Error : DPCHFE ( called from CALCFC, 2nd )", -2147483647, "ierr =  -2147483647"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.which);
    try {
      HERMERR(c.which, c.ierr);
      ADD_FAILURE() << "HERMERR returned";
    } catch (const FatalStop& stop) {
      EXPECT_EQ(stop.channel, Channel::Err);
      std::string padded = c.message;
      padded.resize(1024, ' ');
      const std::vector<std::string> expected = {
          padded, c.ierrLine, " Terminated by error of Hermite function. Check input fuel map."};
      EXPECT_EQ(stop.lines, expected);
    }
  }
}

}  // namespace
}  // namespace hdfe
