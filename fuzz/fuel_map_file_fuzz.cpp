// The fuel map reader over arbitrary bytes, read from a file by its name,
// then the gridding of the map it accepts against the T5 truck's motoring
// curve.
//
// Checks: no crash or sanitizer report, a refusal is a FatalStop with its
// message; an accepted map has at least one point, count + 1 entries, finite
// values ordered by speed and within each speed by torque; gridding either
// stops with the interpolation failure report or gives a 20 x 20 grid of
// finite fuel rates on axes that never decrease.

#include <cmath>
#include <cstdint>

#include "fuel/fuel.h"
#include "fuzz_support.h"
#include "input/readers.h"

namespace {

// The T5 truck's motoring curve, every 100 rpm from 600 to 3200.
hdfe::TorqueCurve t5MotoringCurve() {
  static constexpr double kTorques[] = {-32.8, -33.6, -34.5, -35.4, -36.3, -37.3, -38.3,
                                        -39.3, -40.4, -41.5, -42.7, -43.9, -45.1, -46.4,
                                        -47.7, -49.1, -50.5, -51.9, -53.4, -54.9, -56.5,
                                        -58.0, -59.7, -61.3, -63.0, -64.8, -66.5};
  hdfe::TorqueCurve curve;
  curve.Speed.push_back(0.0);
  curve.Torque.push_back(0.0);
  double speed = 600;
  for (const double torque : kTorques) {
    curve.Speed.push_back(speed);
    curve.Torque.push_back(torque);
    speed += 100;
  }
  curve.Count = static_cast<std::int32_t>(curve.Speed.size()) - 1;
  return curve;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const hdfe::fuzz::ScratchFolder folder("fuelmap");
  static const hdfe::TorqueCurve motoring = t5MotoringCurve();
  const std::string name = folder.write("fuelmap.txt", hdfe::fuzz::bytesOf(data, size));
  hdfe::FuelMap map;
  if (!hdfe::fuzz::acceptedBy("READFMAP", [&] { hdfe::READFMAP(name, map); })) return 0;
  using hdfe::fuzz::finding;
  const std::int32_t n = map.Count;
  if (n < 1) finding("map without points accepted");
  hdfe::fuzz::requireEntries(map.Speed.size(), n, "Speed");
  hdfe::fuzz::requireEntries(map.Torque.size(), n, "Torque");
  hdfe::fuzz::requireEntries(map.Fuel.size(), n, "Fuel");
  hdfe::fuzz::requireFinite(map.IdleFuel, "IdleFuel");
  hdfe::fuzz::requireFinite(map.Speed, 1, n, "Speed");
  hdfe::fuzz::requireFinite(map.Torque, 1, n, "Torque");
  hdfe::fuzz::requireFinite(map.Fuel, 1, n, "Fuel");
  for (std::int32_t k = 2; k <= n; ++k) {
    if (map.Speed[k - 1] > map.Speed[k]) finding("speeds not in ascending order");
    if (map.Speed[k - 1] == map.Speed[k] && map.Torque[k - 1] > map.Torque[k]) {
      finding("torques of one speed not in ascending order");
    }
  }

  hdfe::FuelGrid grid;
  if (!hdfe::fuzz::acceptedBy("FCGRID", [&] { hdfe::FCGRID(grid, map, motoring); })) return 0;
  if (grid.SpeedCount != 20 || grid.TorqueCount != 20 || grid.Speed.size() != 20 ||
      grid.Torque.size() != 20 || grid.Fuel.size() != 400) {
    finding("grid not 20 x 20");
  }
  // Two map speeds a last bit apart give equal grid speeds; the fuel rate
  // stops on such an axis with the interpolation failure report. The axes
  // never run backwards.
  for (std::size_t k = 1; k < 20; ++k) {
    if (!(grid.Speed[k] >= grid.Speed[k - 1])) finding("grid speeds decreasing");
    if (!(grid.Torque[k] >= grid.Torque[k - 1])) finding("grid torques decreasing");
  }
  for (const double fuel : grid.Fuel) hdfe::fuzz::requireFinite(fuel, "grid fuel rate");
  return 0;
}
