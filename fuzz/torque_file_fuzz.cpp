// The torque curve reader over arbitrary bytes, read from a file by its name,
// and the lookup over the curve it accepts.
//
// Checks: no crash or sanitizer report, a refusal is a FatalStop with its
// message; an accepted curve has at least two points, count + 1 entries,
// finite values sorted by speed, and first and last segments of non-zero
// width, so the lookup at the curve's own speeds is finite.

#include <cmath>
#include <cstdint>

#include "fuzz_support.h"
#include "input/readers.h"
#include "sim/solver.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const hdfe::fuzz::ScratchFolder folder("torque");
  const std::string name = folder.write("curve.txt", hdfe::fuzz::bytesOf(data, size));
  hdfe::TorqueCurve curve;
  if (!hdfe::fuzz::acceptedBy("READTORQUE", [&] { hdfe::READTORQUE(name, curve); })) return 0;
  using hdfe::fuzz::finding;
  const std::int32_t n = curve.Count;
  if (n < 2) finding("curve of fewer than two points accepted");
  hdfe::fuzz::requireEntries(curve.Speed.size(), n, "Speed");
  hdfe::fuzz::requireEntries(curve.Torque.size(), n, "Torque");
  hdfe::fuzz::requireFinite(curve.Speed, 1, n, "Speed");
  hdfe::fuzz::requireFinite(curve.Torque, 1, n, "Torque");
  for (std::int32_t k = 2; k <= n; ++k) {
    if (curve.Speed[k - 1] > curve.Speed[k]) finding("speeds not in ascending order");
  }
  if (curve.Speed[1] == curve.Speed[2] || curve.Speed[n - 1] == curve.Speed[n]) {
    finding("end segment of zero width accepted");
  }
  // The lookup at every point of a curve of moderate values is finite.
  double largest = 0.0;
  for (std::int32_t k = 1; k <= n; ++k) {
    largest = std::fmax(largest, std::fmax(std::fabs(curve.Speed[k]), std::fabs(curve.Torque[k])));
  }
  if (largest > 1e100) return 0;
  for (std::int32_t k = 1; k <= n; ++k) {
    hdfe::fuzz::requireFinite(hdfe::TORQAT(curve, curve.Speed[k]), "lookup at a curve speed");
  }
  return 0;
}
