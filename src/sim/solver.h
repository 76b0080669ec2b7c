#pragma once
// Torque curve lookup, the vehicle step solver, the per-cycle simulation loop
// and the idle stop adjustment.

#include <cstdint>

#include "input/records.h"
#include "report/output.h"
#include "sim/cycles.h"

namespace hdfe {

// Torque of a curve at engine speed x: linear between points, end segments
// extended.
double TORQAT(const TorqueCurve& curve, double x);

struct StepResult {
  double Vreal = 0.0;
  double Ne = 0.0;
  double Te = 0.0;
};

// One second of the cycle in gear g, starting from Vprev. Writes its cautions
// and warnings to console.out; a stop throws FatalStop (the gear-missing stop
// first reads one integer from console.in).
StepResult VEHSTEP(std::int32_t i, const DriveCycle& cycle, double Vprev, std::int32_t g,
                   const VehicleSpec& vehicle, const EngineSpec& engine,
                   const GearboxSpec& gearbox, const TorqueCurve& fullLoad, Console& console);

// The preparatory step and the loop over seconds 1..n: fills Vreal, Ne, Te,
// N_norm and T_norm of a trace whose Shift is already read.
void simulateCycle(const DriveCycle& cycle, ModeTrace& trace, const VehicleSpec& vehicle,
                   const EngineSpec& engine, const GearboxSpec& gearbox,
                   const TorqueCurve& fullLoad, Console& console);

// Idle stop: zeroes Ne and FC of the standstill seconds in which the engine is
// off. W = IdleStopWait, S = StartIdleStopTime, L = EngineStartTiming.
void IDLESTOP(ModeTrace& trace, const DriveCycle& cycle, std::int32_t W, std::int32_t S,
              std::int32_t L);

}  // namespace hdfe
