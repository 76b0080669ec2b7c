// The simulation of one cycle: the preparatory step, the loop over the
// seconds and the normalised engine speed and torque.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "sim/small_vehicle.h"
#include "sim/solver.h"

namespace hdfe {
namespace {

// A cycle and its trace over local tables; entry 0 of each table is unused
// as a target.
struct SmallRun {
  SmallRun(std::vector<double> targets, std::vector<double> grades, std::vector<std::int32_t> gears)
      : vtarget(std::move(targets)), grade(std::move(grades)) {
    const std::int32_t n = static_cast<std::int32_t>(vtarget.size()) - 1;
    cycle = {"HIGHWAY", n, vtarget, grade};
    trace.Shift = std::move(gears);
    for (std::vector<double>* a :
         {&trace.Vreal, &trace.Ne, &trace.Te, &trace.N_norm, &trace.T_norm, &trace.FC}) {
      a->assign(vtarget.size(), 0.0);
    }
  }
  SmallRun(const SmallRun&) = delete;
  SmallRun& operator=(const SmallRun&) = delete;

  void simulate() { simulateCycle(cycle, trace, vehicle, engine, gearbox, fullLoad, console); }

  std::vector<double> vtarget;
  std::vector<double> grade;
  DriveCycle cycle;
  ModeTrace trace;
  VehicleSpec vehicle = testing::smallVehicle();
  EngineSpec engine = testing::smallEngine();
  GearboxSpec gearbox = testing::smallGearbox();
  TorqueCurve fullLoad = testing::smallFullLoad();
  std::istringstream in;
  std::ostringstream out;
  std::ostringstream err;
  Console console{in, out, err};
};

TEST(SimulateTest, StartsFromTheFirstTargetAndNormalisesSpeedAndTorque) {
  // Without the preparatory step second 1 would move off from 0 km/h and lack
  // torque; with it the vehicle already runs at 10 km/h.
  SmallRun run({0.0, 10.0, 12.0}, {0.0, 0.0, 0.0}, {0, 2, 2});
  // Idle and rated speeds whose last bits show the order of the normalisation.
  run.engine.Nidle = 550.5;
  run.engine.Nrate = 2100.1;
  run.simulate();
  EXPECT_EQ(run.out.str(), "");
  EXPECT_DOUBLE_EQ(run.trace.Vreal[1], 10.0);
  EXPECT_DOUBLE_EQ(run.trace.Ne[1], 1200.0);
  EXPECT_DOUBLE_EQ(run.trace.Te[1], 10.0);
  EXPECT_EQ(run.trace.N_norm[1], 41.91404233350543);          // (1200 - 550.5) / 1549.6 x 100
  EXPECT_DOUBLE_EQ(run.trace.T_norm[1], 10.0 / 420.0 * 100);  // full load 420 at 1200 rpm
  EXPECT_DOUBLE_EQ(run.trace.Vreal[2], 12.0);
  EXPECT_DOUBLE_EQ(run.trace.Ne[2], 1440.0);
  EXPECT_DOUBLE_EQ(run.trace.Te[2], 210.0);
  EXPECT_EQ(run.trace.N_norm[2], 57.401910170366556);
  EXPECT_DOUBLE_EQ(run.trace.T_norm[2], 210.0 / 444.0 * 100);
  EXPECT_EQ(run.trace.Shift, (std::vector<std::int32_t>{0, 2, 2}));
}

TEST(SimulateTest, PreparatoryStepReportsAndPassesOnTheSpeedItReached) {
  // A 60 % climb in second 1 that gear 2 cannot hold at 15 km/h. In gear 2 the
  // torque is 100 (V - Vprev) + T0 with T0 the climb and rolling torque, and
  // the full load 300 + 12 V.
  SmallRun run({15.0, 15.0, 15.0}, {0.0, 60.0, 0.0}, {0, 2, 2});
  run.simulate();
  const double T0 = (0.1 + 9.8 * std::sin(std::atan(0.6))) * 1000.0 * 0.1;
  const double prepared = (1800.0 - T0) / 88.0;                   // from Vprev = 15
  const double reached = (300.0 + 100.0 * prepared - T0) / 88.0;  // from the prepared speed
  const std::string caution = " Caution : lack of torque, time=            1\r\n";
  EXPECT_EQ(run.out.str(), caution + caution);
  EXPECT_NEAR(run.trace.Vreal[1], reached, 1e-6);
  EXPECT_NEAR(run.trace.T_norm[1], 100.0, 1e-6);
  EXPECT_DOUBLE_EQ(run.trace.Vreal[2], 15.0);  // back on target on the level
}

// A 20 t truck whose 1000 N m engine holds 80 km/h in top gear up to about
// 2.2 % but not on the steeper climbs of the highway profile.
struct UnderpoweredTruck {
  VehicleSpec vehicle;
  EngineSpec engine;
  GearboxSpec gearbox;
  TorqueCurve fullLoad =
      testing::curveOf({{600.0, 400.0}, {1000.0, 1000.0}, {2200.0, 1000.0}, {2500.0, 600.0}});
  UnderpoweredTruck() {
    vehicle.MuAir = 0.24;
    vehicle.MuRoll = 0.08;
    vehicle.TireRadius = 0.5;
    vehicle.TireCircumference = 6.28 * 0.5;
    vehicle.Wtest = 20000.0;
    engine.Nex = 2500.0;
    engine.Nrate = 2200.0;
    engine.Nidle = 600.0;
    engine.Nes = 800.0;
    engine.Nec = 1000.0;
    engine.GearMinSpeed.assign(7, 900.0);
    gearbox.StartGearLimit = 2;
    gearbox.GearCount = 6;
    gearbox.FinalRatio = 4.0;
    gearbox.FinalEfficiency = 0.95;
    gearbox.Gears = {{},
                     {6.0, 0.95, 2.0, 4000.0},
                     {4.0, 0.95, 2.0, 2500.0},
                     {2.6, 0.95, 1.7, 1700.0},
                     {1.8, 0.95, 1.3, 1300.0},
                     {1.3, 0.95, 1.3, 1100.0},
                     {1.0, 0.98, 1.3, 1000.0}};
  }
};

TEST(SimulateTest, HighwayClimbsSlowAnUnderpoweredTruckThatThenRecovers) {
  const DriveCycle highway = highwayCycle();
  const std::int32_t n = highway.Seconds;
  const UnderpoweredTruck truck;
  ModeTrace trace = makeModeTrace(n);
  for (std::int32_t t = 1; t <= n; ++t) trace.Shift[t] = 6;
  std::istringstream in;
  std::ostringstream out;
  std::ostringstream err;
  Console console{in, out, err};
  simulateCycle(highway, trace, truck.vehicle, truck.engine, truck.gearbox, truck.fullLoad,
                console);

  std::int32_t slowest = 1;
  std::string cautions;
  for (std::int32_t t = 1; t <= n; ++t) {
    EXPECT_LE(trace.Vreal[t], 80.0) << t;
    if (trace.Vreal[t] < trace.Vreal[slowest]) slowest = t;
    if (trace.Vreal[t] < 80.0) {
      // Held back by the engine: full load used to the last micro-newton-metre.
      const double margin = TORQAT(truck.fullLoad, trace.Ne[t]) - trace.Te[t];
      EXPECT_GE(margin, 0.0) << t;
      EXPECT_LT(margin, 9.999999974752427e-7) << t;
      cautions += " Caution : lack of torque, time= " + formatI(t, 12) + "\r\n";
    }
  }
  for (std::int32_t t = 2; t <= n; ++t) {
    // The engine holds any speed up to about 2.2 %; the truck loses speed on
    // the steeper climbs only.
    if (trace.Vreal[t] < trace.Vreal[t - 1]) {
      EXPECT_GT(highway.Grade[t], 2.0) << t;
    }
  }
  EXPECT_LT(trace.Vreal[slowest], 78.0);
  // Every second that falls behind reports it, and no other line appears.
  EXPECT_EQ(out.str(), cautions);
  // The truck is back at 80 km/h after its slowest second.
  const auto back = std::find(trace.Vreal.begin() + slowest, trace.Vreal.end(), 80.0);
  EXPECT_NE(back, trace.Vreal.end());
}

}  // namespace
}  // namespace hdfe
