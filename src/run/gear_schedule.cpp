#include "run/gear_schedule.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "input/failure.h"
#include "report/output.h"
#include "sim/solver.h"

namespace hdfe {

namespace {

// What the target of one second asks of the engine in gear g, with the road
// load and driveline of the evaluation's vehicle solver.
struct Demand {
  double engineSpeed;  // rpm at the target speed
  double torque;       // N m at the target speed, accelerating from Vprev
};

Demand demandAt(const Evaluation& v, std::int32_t g, double Vt, double Vprev, double grade) {
  const GearboxSpec& box = v.gearbox;
  const VehicleSpec& body = v.vehicle;
  const double ig = box.FinalRatio * box.Gears[g].Ratio;
  const double eta = box.FinalEfficiency * box.Gears[g].Efficiency;
  const double me = body.Wtest + box.Gears[g].DW;
  const double s = std::sin(std::atan(grade / 100.0));
  const double force =
      body.MuAir * (Vt * Vt) + (Vt - Vprev) / 3.6 * me + (body.MuRoll + 9.8 * s) * body.Wtest;
  const double torque =
      force >= 0.0 ? force * body.TireRadius / (eta * ig) : force * eta * body.TireRadius / ig;
  return {Vt * 60.0 * ig / (body.TireCircumference * 3.6), torque};
}

bool inSpeedRange(const Evaluation& v, std::int32_t g, double engineSpeed) {
  return engineSpeed >= v.engine.GearMinSpeed[g] && engineSpeed < v.engine.Nex;
}

bool coversWithMargin(const Evaluation& v, std::int32_t g, double engineSpeed, double torque) {
  return torque <= 0.0 ||
         TORQAT(v.fullLoad, engineSpeed) >= torque * v.gearbox.Gears[g].TorqueMargin;
}

// Runs the evaluation's own solver for one candidate gear, silently. A gear
// passes when the solver does not stop and the torque stays within the
// full-load curve (the trace check would stop the run otherwise).
struct Trial {
  bool passes = false;
  double Vreal = 0.0;
};

Trial tryGear(const DriveCycle& cycle, std::int32_t t, double Vprev, std::int32_t g,
              const Evaluation& v) {
  std::istringstream noInput;
  std::ostringstream discarded;
  Console quiet{noInput, discarded, discarded};
  try {
    const StepResult step =
        VEHSTEP(t, cycle, Vprev, g, v.vehicle, v.engine, v.gearbox, v.fullLoad, quiet);
    const double Tmax = TORQAT(v.fullLoad, step.Ne);
    if (step.Te / Tmax * 100.0 > 100.0) return {};
    return {true, step.Vreal};
  } catch (const FatalStop&) {
    return {};
  }
}

class Chooser {
 public:
  Chooser(const DriveCycle& cycle, const Evaluation& v) : cycle_(cycle), v_(v) {}

  // The gear of second t, given the speed really reached in second t - 1 and
  // the gear held so far.
  std::int32_t choose(std::int32_t t, double Vprev, std::int32_t held, std::int32_t heldFor) {
    const double Vt = cycle_.Vtarget[t];
    if (Vt <= 0.0) return 0;
    if (Vprev == 0.0) return startGear(t, Vprev);
    if (held > 0 && heldFor < kMinimumGearHold && stillFits(t, Vprev, held)) return held;
    for (std::int32_t g = v_.gearbox.GearCount; g >= 1; --g) {
      const Demand d = demandAt(v_, g, Vt, Vprev, cycle_.Grade[t]);
      if (inSpeedRange(v_, g, d.engineSpeed) && coversWithMargin(v_, g, d.engineSpeed, d.torque) &&
          tryGear(cycle_, t, Vprev, g, v_).passes) {
        return g;
      }
    }
    return bestReachable(t, Vprev);
  }

 private:
  // Moving off: the highest start gear that pulls away with margin at the
  // floor engine speed.
  std::int32_t startGear(std::int32_t t, double Vprev) {
    const double Vt = cycle_.Vtarget[t];
    const std::int32_t top = std::min(v_.gearbox.StartGearLimit, v_.gearbox.GearCount);
    for (std::int32_t g = top; g >= 1; --g) {
      const Demand d = demandAt(v_, g, Vt, Vprev, cycle_.Grade[t]);
      const double engineSpeed = std::max(v_.engine.Nes, d.engineSpeed);
      if (engineSpeed < v_.engine.Nex && coversWithMargin(v_, g, engineSpeed, d.torque) &&
          tryGear(cycle_, t, Vprev, g, v_).passes) {
        return g;
      }
    }
    return 1;
  }

  // A held gear stays while the engine keeps its speed range and can deliver
  // the torque (without margin).
  bool stillFits(std::int32_t t, double Vprev, std::int32_t g) {
    if (g > v_.gearbox.GearCount) return false;
    const Demand d = demandAt(v_, g, cycle_.Vtarget[t], Vprev, cycle_.Grade[t]);
    return inSpeedRange(v_, g, d.engineSpeed) && d.torque <= TORQAT(v_.fullLoad, d.engineSpeed) &&
           tryGear(cycle_, t, Vprev, g, v_).passes;
  }

  // No gear qualifies: the gear that gets closest to the target (the lowest
  // of equals, so a vehicle that reaches the target in several gears takes
  // the lowest below the overrun limit); on a climb beyond the engine's
  // power, the gear that keeps the speed highest.
  std::int32_t bestReachable(std::int32_t t, double Vprev) {
    std::int32_t best = 0;
    double bestSpeed = 0.0;
    for (std::int32_t g = 1; g <= v_.gearbox.GearCount; ++g) {
      const Trial trial = tryGear(cycle_, t, Vprev, g, v_);
      if (trial.passes && (best == 0 || trial.Vreal > bestSpeed + 1e-9)) {
        best = g;
        bestSpeed = trial.Vreal;
      }
    }
    return best > 0 ? best : std::max<std::int32_t>(1, v_.gearbox.GearCount);
  }

  const DriveCycle& cycle_;
  const Evaluation& v_;
};

}  // namespace

std::vector<std::int32_t> makeGearSchedule(const DriveCycle& cycle, const Evaluation& v) {
  if (v.gearbox.GearCount < 1) {
    throw FatalStop(Channel::Err, {" The vehicle has no gears: no schedule can be made"});
  }
  std::vector<std::int32_t> shift(static_cast<std::size_t>(cycle.Seconds) + 1, 0);
  Chooser chooser(cycle, v);
  std::istringstream noInput;
  std::ostringstream discarded;
  Console quiet{noInput, discarded, discarded};
  std::int32_t held = 0;
  std::int32_t heldFor = 0;
  double Vprev = cycle.Seconds >= 1 ? cycle.Vtarget[1] : 0.0;
  for (std::int32_t t = 1; t <= cycle.Seconds; ++t) {
    const std::int32_t g = chooser.choose(t, Vprev, held, heldFor);
    if (t == 1) {
      // The evaluation's preparatory step: second 1 in the same gear, from
      // its own target speed.
      Vprev = VEHSTEP(1, cycle, Vprev, g, v.vehicle, v.engine, v.gearbox, v.fullLoad, quiet).Vreal;
    }
    heldFor = g == held ? heldFor + 1 : 1;
    held = g;
    shift[static_cast<std::size_t>(t)] = g;
    Vprev = VEHSTEP(t, cycle, Vprev, g, v.vehicle, v.engine, v.gearbox, v.fullLoad, quiet).Vreal;
  }
  return shift;
}

void writeGearSchedule(std::ostream& out, const DriveCycle& cycle,
                       const std::vector<std::int32_t>& shift) {
  writeFixed(out, std::string("time(s)\tgear\t") + std::string(cycle.Name));
  for (std::int32_t t = 1; t <= cycle.Seconds; ++t) {
    writeFixed(out, formatI(t, 0) + "\t" + formatI(shift[static_cast<std::size_t>(t)], 0));
  }
}

}  // namespace hdfe
