#include "sim/solver.h"

namespace hdfe {

void simulateCycle(const DriveCycle& cycle, ModeTrace& trace, const VehicleSpec& vehicle,
                   const EngineSpec& engine, const GearboxSpec& gearbox,
                   const TorqueCurve& fullLoad, Console& console) {
  const std::int32_t n = cycle.Seconds;
  if (n < 1) return;

  // The vehicle enters the cycle at the speed it can hold at the first target
  // without accelerating; only that speed is kept from the preparatory step.
  double Vprev = VEHSTEP(1, cycle, cycle.Vtarget[1], trace.Shift[1], vehicle, engine, gearbox,
                         fullLoad, console)
                     .Vreal;

  for (std::int32_t t = 1; t <= n; ++t) {
    const StepResult step =
        VEHSTEP(t, cycle, Vprev, trace.Shift[t], vehicle, engine, gearbox, fullLoad, console);
    const double Tmax = TORQAT(fullLoad, step.Ne);
    trace.Vreal[t] = step.Vreal;
    trace.Ne[t] = step.Ne;
    trace.Te[t] = step.Te;
    trace.N_norm[t] = (step.Ne - engine.Nidle) / (engine.Nrate - engine.Nidle) * 100;
    trace.T_norm[t] = step.Te / Tmax * 100;
    Vprev = step.Vreal;
  }
}

}  // namespace hdfe
