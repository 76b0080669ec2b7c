// The fuel rate of every second of a simulated cycle: idle fuel without gear
// or at idle, fuel cut at or below the motoring curve, otherwise the fuel
// grid interpolated along engine speed, then along torque.

#include <cstddef>
#include <stdexcept>
#include <vector>

#include "fuel/fuel.h"
#include "sim/solver.h"

namespace hdfe {
namespace {

// The arrays a caller hands in must hold what their counts promise; anything
// else is a programming error, not a property of the input files.
void requireShapes(const ModeTrace& trace, const DriveCycle& cycle, const FuelGrid& grid) {
  const std::size_t seconds = cycle.Seconds < 0 ? 0 : static_cast<std::size_t>(cycle.Seconds);
  if (trace.Shift.size() <= seconds || trace.Ne.size() <= seconds || trace.Te.size() <= seconds ||
      trace.FC.size() <= seconds) {
    throw std::invalid_argument("mode trace shorter than its drive cycle");
  }
  if (grid.SpeedCount < 0 || grid.TorqueCount < 0 ||
      grid.Speed.size() < static_cast<std::size_t>(grid.SpeedCount) ||
      grid.Torque.size() < static_cast<std::size_t>(grid.TorqueCount) ||
      grid.Fuel.size() <
          static_cast<std::size_t>(grid.SpeedCount) * static_cast<std::size_t>(grid.TorqueCount)) {
    throw std::invalid_argument("fuel grid smaller than its point counts");
  }
}

// The derivatives along engine speed of every torque column. They depend on
// the grid alone, so one estimation serves every second of the cycle.
void speedDerivatives(const FuelGrid& grid, std::vector<double>& derivs) {
  const std::int32_t nx = grid.SpeedCount;
  derivs.assign(grid.Fuel.size(), 0.0);
  for (std::int32_t k = 0; k < grid.TorqueCount; ++k) {
    const std::size_t column = static_cast<std::size_t>(k) * static_cast<std::size_t>(nx);
    std::int32_t ierr = 0;
    DPCHIM(nx, grid.Speed.data(), grid.Fuel.data() + column, derivs.data() + column, 1, ierr);
    if (ierr < 0) HERMERR(5, ierr);
  }
}

// Per-call working storage, sized once so that no second allocates.
struct Workspace {
  std::vector<double> speedDerivs;  // (speed, torque), one torque column contiguous
  bool speedDerivsReady = false;
  std::vector<double> atSpeed;  // the grid at Ne, one value per grid torque
  std::vector<double> atSpeedDerivs;
};

// Two-stage interpolation of the grid at (ne, te): each torque column along
// speed at ne, then the resulting values along torque at te.
double interpolateGrid(const FuelGrid& grid, Workspace& work, double ne, double te) {
  if (!work.speedDerivsReady) {
    speedDerivatives(grid, work.speedDerivs);
    work.speedDerivsReady = true;
  }
  const std::int32_t nx = grid.SpeedCount;
  const std::int32_t ny = grid.TorqueCount;
  std::int32_t ierr = 0;
  for (std::int32_t k = 0; k < ny; ++k) {
    const std::size_t column = static_cast<std::size_t>(k) * static_cast<std::size_t>(nx);
    bool skip_checks = true;
    DPCHFE(nx, grid.Speed.data(), grid.Fuel.data() + column, work.speedDerivs.data() + column, 1,
           skip_checks, 1, &ne, &work.atSpeed[k], ierr);
    if (ierr < 0) HERMERR(6, ierr);
  }
  DPCHIM(ny, grid.Torque.data(), work.atSpeed.data(), work.atSpeedDerivs.data(), 1, ierr);
  if (ierr < 0) HERMERR(7, ierr);
  double fuel = 0.0;
  bool skip_checks = true;
  DPCHFE(ny, grid.Torque.data(), work.atSpeed.data(), work.atSpeedDerivs.data(), 1, skip_checks, 1,
         &te, &fuel, ierr);
  if (ierr < 0) HERMERR(8, ierr);
  return fuel;
}

}  // namespace

void CALCFC(ModeTrace& trace, const DriveCycle& cycle, const TorqueCurve& motoring_curve,
            const FuelGrid& grid, const EngineSpec& engine) {
  requireShapes(trace, cycle, grid);
  Workspace work;
  work.atSpeed.assign(static_cast<std::size_t>(grid.TorqueCount), 0.0);
  work.atSpeedDerivs.assign(static_cast<std::size_t>(grid.TorqueCount), 0.0);

  for (std::int32_t i = 1; i <= cycle.Seconds; ++i) {
    const double ne = trace.Ne[i];
    const double te = trace.Te[i];
    if (trace.Shift[i] == 0) {  // no gear engaged: the engine idles
      trace.FC[i] = grid.IdleFuel;
      continue;
    }
    if (ne == engine.Nidle && te <= 0.0) {  // idling, also while coasting to a stop
      trace.FC[i] = grid.IdleFuel;
      continue;
    }
    if (te <= TORQAT(motoring_curve, ne)) {  // fuel cut on the overrun
      trace.FC[i] = 0.0;
      continue;
    }
    double fuel = interpolateGrid(grid, work, ne, te);
    // Extrapolation beyond the map may undershoot: no negative fuel rate.
    // A NaN from a degenerate map is kept so that it shows.
    if (fuel <= 0.0) fuel = 0.0;
    trace.FC[i] = fuel;
  }
}

}  // namespace hdfe
