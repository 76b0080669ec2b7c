#include <charconv>
#include <cmath>
#include <string>

#include "input/failure.h"
#include "sim/solver.h"

namespace hdfe {
namespace {

// A number as it reads in a message: the shortest text that gives it back.
std::string shortest(double value) {
  char text[32];
  const auto result = std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}

// The normalised torque divides by the full-load torque at the second's engine
// speed. A full-load curve that reaches 0 there (one that runs down to 0 N m at
// idle, say) leaves the share undefined at zero torque and infinite below it:
// values the torque check never sees, which would pass into the trace, so the
// run stops. An infinite share above 100 % is left to the torque check.
void requireNormalisedTorque(const DriveCycle& cycle, std::int32_t t, const StepResult& step,
                             double Tmax, double T_norm) {
  if (!std::isnan(T_norm) && !(std::isinf(T_norm) && T_norm < 0.0)) return;
  const std::string text =
      "error : full-load torque " + shortest(Tmax) + " N-m at Ne= " + shortest(step.Ne) +
      " rpm leaves no normalised torque, " + std::string(cycle.Name) + " time= ";
  throw FatalStop(Channel::Out, {formatFree({std::string_view(text), t})});
}

}  // namespace

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
    requireNormalisedTorque(cycle, t, step, Tmax, trace.T_norm[t]);
    Vprev = step.Vreal;
  }
}

}  // namespace hdfe
