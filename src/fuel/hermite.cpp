// Monotone piecewise cubic Hermite interpolation: derivative estimation,
// evaluation and the failure report of the fuel map interpolation.
//
// Every formula keeps its order of operations: the fuel figures must come out
// bit for bit the same as the official ones.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <string>

#include "fuel/fuel.h"
#include "input/failure.h"
#include "report/output.h"

namespace hdfe {
namespace {

// Sign product: 0 when either factor is zero, +1 for equal signs, -1 otherwise.
int signProduct(double a, double b) {
  if (a == 0.0 || b == 0.0) return 0;
  return std::signbit(a) == std::signbit(b) ? 1 : -1;
}

// True when every abscissa lies strictly above its predecessor; written as a
// negated comparison so that a NaN abscissa fails too.
bool strictlyIncreasing(std::int32_t npts, const double* xs) {
  for (std::int32_t i = 1; i < npts; ++i) {
    if (!(xs[i] > xs[i - 1])) return false;
  }
  return true;
}

// Element i (counted from 1) of a strided sequence.
std::ptrdiff_t at(std::int32_t i, std::int32_t stride) {
  return static_cast<std::ptrdiff_t>(i - 1) * static_cast<std::ptrdiff_t>(stride);
}

// The non-centred three-point formula at an end of the data, made
// shape-preserving: zeroed when it points against the end interval's slope,
// limited to three times that slope when the data turn in between.
double limitEndDerivative(double d, double endSlope, double otherSlope) {
  if (signProduct(d, endSlope) <= 0) return 0.0;
  if (signProduct(endSlope, otherSlope) < 0 && std::fabs(d) > std::fabs(3.0 * endSlope)) {
    return 3.0 * endSlope;
  }
  return d;
}

struct IntervalCounts {
  std::int32_t left = 0;   // points left of the interval
  std::int32_t right = 0;  // points right of the interval
};

// The cubic of one interval at count contiguous points. Returns false for an
// interval of zero width.
bool evaluateCubic(double x1, double x2, double f1, double f2, double d1, double d2,
                   std::int32_t count, const double* xeval, double* feval, IntervalCounts& counts) {
  const double h = x2 - x1;
  if (h == 0.0) return false;
  const double lowest = std::min(0.0, h);
  const double highest = std::max(0.0, h);
  const double s = (f2 - f1) / h;
  const double e1 = (d1 - s) / h;
  const double e2 = (d2 - s) / h;
  const double c2 = -(e1 + e1 + e2);
  const double c3 = (e1 + e2) / h;
  for (std::int32_t k = 0; k < count; ++k) {
    const double x = xeval[k] - x1;
    if (x < lowest) ++counts.left;
    if (x > highest) ++counts.right;
    feval[k] = ((c3 * x + c2) * x + d1) * x + f1;
  }
  return true;
}

constexpr const char* kHermiteMessages[] = {
    "Error : DPCHIM ( called from FCGRID, 1st )", "Error : DPCHFE ( called from FCGRID, 1st )",
    "Error : DPCHIM ( called from FCGRID, 2nd )", "Error : DPCHFE ( called from FCGRID, 2nd )",
    "Error : DPCHIM ( called from CALCFC, 1st )", "Error : DPCHFE ( called from CALCFC, 1st )",
    "Error : DPCHIM ( called from CALCFC, 2nd )", "Error : DPCHFE ( called from CALCFC, 2nd )",
};

constexpr std::size_t kMessageBufferLength = 1024;

// The checks a data sequence must pass, in their order: at least two
// points, a stride of at least 1, strictly increasing abscissae (a NaN fails).
std::int32_t sequenceStatus(std::int32_t npts, const double* xs, std::int32_t stride) {
  if (npts < 2) return -1;
  if (stride < 1) return -2;
  if (!strictlyIncreasing(npts, xs)) return -3;
  return 0;
}

}  // namespace

void DPCHIM(std::int32_t npts, const double* xs, const double* values, double* derivs,
            std::int32_t stride, std::int32_t& ierr) {
  ierr = sequenceStatus(npts, xs, stride);
  if (ierr < 0) return;
  auto f = [&](std::int32_t i) { return values[at(i, stride)]; };
  auto d = [&](std::int32_t i) -> double& { return derivs[at(i, stride)]; };
  auto x = [&](std::int32_t i) { return xs[i - 1]; };

  ierr = 0;
  double h1 = x(2) - x(1);
  double m1 = (f(2) - f(1)) / h1;
  // The slope of the last strictly monotone stretch, to count turns across
  // flat stretches.
  double ms = m1;

  if (npts == 2) {  // the straight line
    d(1) = m1;
    d(2) = m1;
    return;
  }

  double h2 = x(3) - x(2);
  double m2 = (f(3) - f(2)) / h2;
  double hs = h1 + h2;
  d(1) = limitEndDerivative(((h1 + hs) / hs) * m1 + (-h1 / hs) * m2, m1, m2);

  for (std::int32_t i = 2; i <= npts - 1; ++i) {
    if (i > 2) {
      h1 = h2;
      h2 = x(i + 1) - x(i);
      hs = h1 + h2;
      m1 = m2;
      m2 = (f(i + 1) - f(i)) / h2;
    }
    d(i) = 0.0;
    switch (signProduct(m1, m2)) {
      case -1:  // the data turn at this point
        ++ierr;
        ms = m2;
        break;
      case 0:  // a flat side: a turn only if the data go on against ms
        if (m2 != 0.0) {
          if (signProduct(ms, m2) < 0) ++ierr;
          ms = m2;
        }
        break;
      default: {  // strictly monotone: weighted harmonic mean of the slopes
        const double w1 = (hs + h1) / (3.0 * hs);
        const double w2 = (hs + h2) / (3.0 * hs);
        const double mmax = std::max(std::fabs(m1), std::fabs(m2));
        const double mmin = std::min(std::fabs(m1), std::fabs(m2));
        d(i) = mmin / (w1 * (m1 / mmax) + w2 * (m2 / mmax));
        break;
      }
    }
  }

  d(npts) = limitEndDerivative((-h2 / hs) * m1 + ((h2 + hs) / hs) * m2, m2, m1);
}

void DPCHFE(std::int32_t npts, const double* xs, const double* values, const double* derivs,
            std::int32_t stride, bool& skip_checks, std::int32_t neval, const double* xeval,
            double* feval, std::int32_t& ierr) {
  if (!skip_checks) {
    ierr = sequenceStatus(npts, xs, stride);
    if (ierr == 0 && neval < 1) ierr = -4;
    if (ierr < 0) return;
  }
  skip_checks = true;
  ierr = 0;

  auto x = [&](std::int32_t i) { return xs[i - 1]; };
  auto xe = [&](std::int32_t j) { return xeval[j - 1]; };

  // One sweep over intervals and points together: ir is the right end of the
  // current interval, j1 the first point not yet evaluated.
  std::int32_t ir = 2;
  std::int32_t j1 = 1;
  while (ir <= npts && j1 <= neval) {
    // The points from j1 on that lie left of xs(ir); the last interval takes
    // every remaining point.
    std::int32_t j = j1;
    if (ir == npts) {
      j = neval + 1;
    } else {
      while (j <= neval && !(xe(j) >= x(ir))) ++j;
    }

    if (j != j1) {
      IntervalCounts counts;
      const std::ptrdiff_t left = at(ir - 1, stride);
      const std::ptrdiff_t right = at(ir, stride);
      if (!evaluateCubic(x(ir - 1), x(ir), values[left], values[right], derivs[left], derivs[right],
                         j - j1, xeval + (j1 - 1), feval + (j1 - 1), counts)) {
        ierr = -5;
        return;
      }
      if (counts.right > 0) {
        if (ir < npts) {
          ierr = -5;
          return;
        }
        ierr += counts.right;  // extrapolated beyond the last abscissa
      }
      if (counts.left > 0) {
        if (ir == 2) {
          ierr += counts.left;  // extrapolated below the first abscissa
        } else {
          // Points out of order: back up to the interval of the first point
          // left of this one and evaluate every point from there again.
          std::int32_t jj = j1;
          while (jj < j && !(xe(jj) < x(ir - 1))) ++jj;
          if (jj == j) {
            ierr = -5;
            return;
          }
          std::int32_t k = 1;
          while (k <= ir - 1 && !(xe(jj) < x(k))) ++k;
          ir = std::max(1, k - 1);
          j = jj;
        }
      }
    }
    j1 = j;
    ir = ir + 1;
  }
}

void HERMERR(std::int32_t which, std::int32_t ierr) {
  std::string message;
  if (which >= 1 && which <= 8) message = kHermiteMessages[which - 1];
  message.resize(kMessageBufferLength, ' ');
  throw FatalStop(Channel::Err,
                  {message, "ierr = " + formatI(ierr, 12),
                   " Terminated by error of Hermite function. Check input fuel map."});
}

}  // namespace hdfe
