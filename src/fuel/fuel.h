#pragma once
// Fuel consumption: monotone piecewise cubic Hermite interpolation, the fuel
// map grid and the fuel rate along a trace.

#include <cstdint>
#include <vector>

#include "input/records.h"
#include "sim/cycles.h"

namespace hdfe {

// Derivative estimation (Fritsch-Carlson with Brodlie's interior formula).
// xs: npts contiguous abscissae; values/derivs: element i (from 0) at
// i * stride. ierr < 0 is a failure, >= 0 the number of direction changes.
void DPCHIM(std::int32_t npts, const double* xs, const double* values, double* derivs,
            std::int32_t stride, std::int32_t& ierr);

// Evaluation of the piecewise cubic at neval contiguous points. ierr < 0 is a
// failure, >= 0 the number of extrapolated points.
void DPCHFE(std::int32_t npts, const double* xs, const double* values, const double* derivs,
            std::int32_t stride, bool& skip_checks, std::int32_t neval, const double* xeval,
            double* feval, std::int32_t& ierr);

// The interpolation failure report: throws FatalStop on standard error.
[[noreturn]] void HERMERR(std::int32_t which, std::int32_t ierr);

// The fuel map resampled on 20 speeds x 20 torques. Arrays are 0-based and
// contiguous so they go straight to the interpolation routines: Speed[i],
// Torque[j], and Fuel[i + j * SpeedCount] for speed i and torque j, so the 20
// values of one torque column are contiguous.
struct FuelGrid {
  double IdleFuel = 0.0;
  std::int32_t SpeedCount = 0;
  std::int32_t TorqueCount = 0;
  std::vector<double> Speed;
  std::vector<double> Torque;
  std::vector<double> Fuel;
};

void FCGRID(FuelGrid& grid, const FuelMap& fuelmap, const TorqueCurve& motoring_curve);

// Fills trace.FC[1..n] from trace.Ne, trace.Te and trace.Shift.
void CALCFC(ModeTrace& trace, const DriveCycle& cycle, const TorqueCurve& motoring_curve,
            const FuelGrid& grid, const EngineSpec& engine);

}  // namespace hdfe
