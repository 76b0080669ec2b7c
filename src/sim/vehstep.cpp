#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>

#include "input/failure.h"
#include "input/freeformat.h"
#include "report/texts.h"
#include "sim/solver.h"

namespace hdfe {

namespace {

// The speed search stops once the full-load torque exceeds the demand by less
// than 1.0e-6 N m, a margin carried at single precision.
constexpr double kTorqueTolerance = 9.999999974752427e-7;
constexpr double kFirstSearchStep = 1.0;  // km/h
constexpr std::int32_t kFirstWarnedIteration = 996;
constexpr std::int32_t kIterationLimit = 9999;

constexpr std::string_view kLackOfTorque = "Caution : lack of torque, time= ";
constexpr std::string_view kConvergenceWarning = "Warning!: convergence cal. of vehicle speed";
constexpr std::string_view kEngineOverrun = "error : engine overrun, time= ";
constexpr std::string_view kSpeedUnderLimit = "error : engine speed under limit, time= ";

// The vehicle in the scheduled gear on the road of the second, seen from the
// speed it had one second earlier.
struct Drivetrain {
  const VehicleSpec& vehicle;
  double Vprev;  // km/h
  double ig;     // overall ratio, final drive included
  double eta;    // overall efficiency
  double me;     // test weight plus the rotating parts as mass, kg
  double s;      // sine of the road angle
};

// Force at the wheels to reach V within one second: air drag, acceleration
// from Vprev (3.6 turns km/h into m/s), rolling resistance and the climb.
double roadLoad(const Drivetrain& d, double V) {
  return d.vehicle.MuAir * (V * V) + (V - d.Vprev) / 3.6 * d.me +
         (d.vehicle.MuRoll + 9.8 * d.s) * d.vehicle.Wtest;
}

// Driveline losses raise the torque the engine must deliver when it drives
// and lower the braking torque it sees when the wheels drive it.
double engineTorque(const Drivetrain& d, double F) {
  if (F >= 0.0) return F * d.vehicle.TireRadius / (d.eta * d.ig);
  return F * d.eta * d.vehicle.TireRadius / d.ig;
}

// The speed goes through the tire circumference, the torque through the radius.
double engineSpeed(const Drivetrain& d, double V) {
  return V * 60 * d.ig / (d.vehicle.TireCircumference * 3.6);
}

[[noreturn]] void stopAt(std::string_view text, std::int32_t i) {
  throw FatalStop(Channel::Out, {formatFree({text, i})});
}

// No gear with a target above standstill: the operator is shown the second
// and the run waits for one integer on the console before it ends.
[[noreturn]] void stopForMissingGear(std::int32_t i, Console& console) {
  writeFree(console.out, {texts::kShiftZeroWithSpeed.cp932, i});
  console.out.flush();
  std::int32_t acknowledged = 0;
  readFreeUnguarded(console.in, "console", {&acknowledged});
  throw FatalStop(Channel::Out, {});
}

// A schedule naming a gear the gearbox does not have cannot be simulated.
[[noreturn]] void stopForUnknownGear(std::int32_t i, std::int32_t g, const DriveCycle& cycle,
                                     const GearboxSpec& gearbox) {
  const std::string text = "error : gear " + std::to_string(g) + " is not in the gear table (1.." +
                           std::to_string(gearbox.GearCount) + "), " + std::string(cycle.Name) +
                           " time= ";
  throw FatalStop(Channel::Out, {formatFree({std::string_view(text), i})});
}

// The engine speed at V with its floors: the gear's minimum speed in the gears
// above the starting gears, the floor speed Nes otherwise.
double flooredEngineSpeed(const Drivetrain& d, double V, std::int32_t g, const EngineSpec& engine,
                          const GearboxSpec& gearbox) {
  double N = engineSpeed(d, V);
  if (g > gearbox.StartGearLimit && N < engine.GearMinSpeed[g]) {
    N = engine.GearMinSpeed[g];
  } else if (N < engine.Nes) {
    N = engine.Nes;
  }
  return N;
}

// The highest speed at or below Vstart that the full-load torque sustains:
// steps down while torque is lacking and halves the step on the way back up
// after each iteration with torque to spare.
StepResult searchSpeed(std::int32_t i, double Vstart, std::int32_t g, const Drivetrain& d,
                       const EngineSpec& engine, const GearboxSpec& gearbox,
                       const TorqueCurve& fullLoad, Console& console) {
  StepResult result;
  double V = Vstart;
  double step = kFirstSearchStep;
  bool finished = false;
  for (std::int32_t k = 1; k <= kIterationLimit && !finished; ++k) {
    result.Te = engineTorque(d, roadLoad(d, V));
    result.Ne = flooredEngineSpeed(d, V, g, engine, gearbox);
    const double margin = TORQAT(fullLoad, result.Ne) - result.Te;
    if (margin >= 0.0 && margin < kTorqueTolerance) {
      finished = true;
    } else if (margin < 0.0) {
      V = V - step;
    } else if (margin >= kTorqueTolerance) {
      if (k == 1) {
        finished = true;  // torque to spare at the start speed: keep it
      } else {
        step = step * 0.5;
        V = V + step;
      }
    }
    if (k >= kFirstWarnedIteration) writeFree(console.out, {kConvergenceWarning});
  }
  result.Vreal = V;

  if (result.Ne < engine.GearMinSpeed[g]) stopAt(kSpeedUnderLimit, i);
  if (result.Ne >= engine.Nex) stopAt(kEngineOverrun, i);
  writeFree(console.out, {kLackOfTorque, i});
  return result;
}

}  // namespace

StepResult VEHSTEP(std::int32_t i, const DriveCycle& cycle, double Vprev, std::int32_t g,
                   const VehicleSpec& vehicle, const EngineSpec& engine, const GearboxSpec& gearbox,
                   const TorqueCurve& fullLoad, Console& console) {
  const double Vt = cycle.Vtarget[i];

  if (Vt > 0.0 && g == 0) stopForMissingGear(i, console);

  // Standing still: the engine idles whatever the gear.
  if (Vt <= 0.0) return {Vt, engine.Nidle, 0.0};

  if (g < 1 || g > gearbox.GearCount) stopForUnknownGear(i, g, cycle, gearbox);

  const GearEntry& gear = gearbox.Gears[g];
  const Drivetrain d{vehicle,
                     Vprev,
                     gearbox.FinalRatio * gear.Ratio,
                     gearbox.FinalEfficiency * gear.Efficiency,
                     vehicle.Wtest + gear.DW,
                     std::sin(std::atan(cycle.Grade[i] / 100.0))};
  const double Ft = roadLoad(d, Vt);
  const double Tt = engineTorque(d, Ft);
  const double Nt = engineSpeed(d, Vt);
  const auto search = [&](double Vstart) {
    return searchSpeed(i, Vstart, g, d, engine, gearbox, fullLoad, console);
  };

  // Decelerating: no torque, minimum-speed or overrun check; at low engine
  // speed the engine is reported idling.
  if (Vt - Vprev < 0.0) {
    if (Nt < engine.Nec) return {Vt, engine.Nidle, 0.0};
    return {Vt, Nt, Tt};
  }

  // Below the gear's minimum engine speed the engine is held at Nes.
  if (Nt < engine.GearMinSpeed[g]) {
    if (Tt > TORQAT(fullLoad, engine.Nes)) return search(Vt);
    return {Vt, engine.Nes, Tt};
  }

  // Moving off from rest: the engine runs at least at Nes.
  if (Vprev == 0.0) {
    const double x = std::max(engine.Nes, Nt);
    if (Tt > TORQAT(fullLoad, x)) return search(Vt);
    return {Vt, x, Tt};
  }

  // Normal driving; where the curve gives no positive torque the check is
  // skipped.
  if (Nt < engine.Nex) {
    const double TmaxNt = TORQAT(fullLoad, Nt);
    if (Tt > TmaxNt && TmaxNt > 0.0) return search(Vt);
    return {Vt, Nt, Tt};
  }

  // Overrun: only the top gear may go on, capped at the speed where the engine
  // reaches Nex, and only when it lacks the torque even there.
  if (g != gearbox.GearCount) stopAt(kEngineOverrun, i);
  const double Vcap = vehicle.TireCircumference * 3.6 * engine.Nex / (60 * d.ig);
  const double TmaxNex = TORQAT(fullLoad, engine.Nex);
  if (engineTorque(d, roadLoad(d, Vcap)) > TmaxNex && TmaxNex > 0.0) return search(Vcap);
  stopAt(kEngineOverrun, i);
}

}  // namespace hdfe
