#include "sim/solver.h"

namespace hdfe {

// Linear interpolation between the points of the curve; outside the table the
// first or the last segment is extended, never clamped.
double TORQAT(const TorqueCurve& curve, double x) {
  const std::int32_t n = curve.Count;
  const std::vector<double>& S = curve.Speed;
  const std::vector<double>& T = curve.Torque;

  std::int32_t k = 1;
  if (x < S[1]) {
    k = 1;
  } else if (x >= S[n]) {
    k = n - 1;
  } else {
    // The first segment that holds x; two equal speeds never form a segment
    // because no x lies at or above the one and below the other.
    while (k < n - 1 && !(S[k] <= x && x < S[k + 1])) ++k;
  }
  return T[k] + (x - S[k]) * (T[k + 1] - T[k]) / (S[k + 1] - S[k]);
}

}  // namespace hdfe
