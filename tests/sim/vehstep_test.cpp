// The vehicle step: every case of one second, the speed search and the
// console messages, on the small vehicle of small_vehicle.h (engine speed
// 300 V / 120 V / 60 V rpm and torque 0.04 F / 0.1 F / 0.2 F N m in gears
// 1 / 2 / 3, force 1000 (V - Vprev) + 100 N on a level road).

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "input/failure.h"
#include "report/texts.h"
#include "sim/small_vehicle.h"
#include "sim/solver.h"

namespace hdfe {
namespace {

constexpr double kTolerance = 9.999999974752427e-7;
// Every case runs at second 12, so messages end in I12 "          12".
constexpr std::int32_t kSecond = 12;
const std::string kCautionAt12 = " Caution : lack of torque, time=           12\r\n";
const std::string kWarning = " Warning!: convergence cal. of vehicle speed\r\n";
const std::string kOverrunAt12 = " error : engine overrun, time=           12";

// A cycle whose second i has the given target and gradient.
struct OneSecond {
  OneSecond(std::int32_t i, double Vt, double G)
      : speeds(static_cast<std::size_t>(i) + 1, 0.0), grades(speeds.size(), 0.0) {
    speeds[i] = Vt;
    grades[i] = G;
    cycle = {"URBAN", i, speeds, grades};
  }
  OneSecond(const OneSecond&) = delete;
  OneSecond& operator=(const OneSecond&) = delete;
  std::vector<double> speeds;
  std::vector<double> grades;
  DriveCycle cycle;
};

struct Solver {
  VehicleSpec vehicle = testing::smallVehicle();
  EngineSpec engine = testing::smallEngine();
  GearboxSpec gearbox = testing::smallGearbox();
  TorqueCurve fullLoad = testing::smallFullLoad();
  std::istringstream in;
  std::ostringstream out;
  std::ostringstream err;
  Console console{in, out, err};

  StepResult step(double Vprev, double Vt, std::int32_t g, double G = 0.0) {
    const OneSecond second(kSecond, Vt, G);
    return VEHSTEP(kSecond, second.cycle, Vprev, g, vehicle, engine, gearbox, fullLoad, console);
  }

  std::optional<FatalStop> stop(double Vprev, double Vt, std::int32_t g) {
    try {
      step(Vprev, Vt, g);
    } catch (const FatalStop& stop) {
      return stop;
    }
    return std::nullopt;
  }
};

struct PlainCase {
  const char* what;
  double Vprev, Vt, G;
  std::int32_t g;
  double MuAir;
  double Vreal, Ne, Te;
};

TEST(VehstepTest, DecidesTheSecondWithoutASearch) {
  const PlainCase cases[] = {
      {"standstill", 3.0, 0.0, 0.0, 2, 0.0, 0.0, 500.0, 0.0},
      {"standstill without a gear", 0.0, 0.0, 0.0, 0, 0.0, 0.0, 500.0, 0.0},
      {"standstill in a gear the gearbox lacks", 0.0, 0.0, 0.0, 7, 0.0, 0.0, 500.0, 0.0},
      {"deceleration below Nec: idling", 20.0, 10.0, 0.0, 3, 0.0, 10.0, 500.0, 0.0},
      // Nt = 3000 reaches Nex, F = -9900 N: braking torque 0.01 F, no overrun.
      {"deceleration above Nec keeps the braking torque", 20.0, 10.0, 0.0, 1, 0.0, 10.0, 3000.0,
       -99.0},
      // Nt = 384 is under the gear minimum 600; 300 N m is more than the curve
      // gives at 384 rpm (276.8) but within Tmax(Nes) = 340.
      {"below the gear minimum: held at Nes", 5.0, 6.4, 0.0, 3, 0.0, 6.4, 700.0, 300.0},
      // Nt = 660 is under Nes = 700.
      {"moving off below Nes", 0.0, 2.2, 0.0, 1, 0.0, 2.2, 700.0, 92.0},
      {"moving off above Nes", 0.0, 3.0, 0.0, 1, 0.0, 3.0, 900.0, 124.0},
      {"normal driving", 10.0, 11.0, 0.0, 2, 0.0, 11.0, 1320.0, 110.0},
      // 50 N of air drag at 10 km/h.
      {"air drag", 10.0, 10.0, 0.0, 2, 0.5, 10.0, 1200.0, 15.0},
      // sin(atan(0.1)) x 9.8 N/kg x 1000 kg of climb plus 100 N rolling.
      {"climb", 10.0, 10.0, 10.0, 2, 0.0, 10.0, 1200.0, 107.51364464057895},
  };
  for (const PlainCase& c : cases) {
    Solver solver;
    solver.vehicle.MuAir = c.MuAir;
    const StepResult r = solver.step(c.Vprev, c.Vt, c.g, c.G);
    EXPECT_DOUBLE_EQ(r.Vreal, c.Vreal) << c.what;
    EXPECT_DOUBLE_EQ(r.Ne, c.Ne) << c.what;
    EXPECT_DOUBLE_EQ(r.Te, c.Te) << c.what;
    EXPECT_EQ(solver.out.str(), "") << c.what;
  }
}

TEST(VehstepTest, SkipsTheTorqueCheckWhereTheCurveGivesNoPositiveTorque) {
  Solver solver;
  // The curve reaches 0 N m at 1500 rpm and -30 N m at 1800.
  solver.fullLoad = testing::curveOf({{500.0, 100.0}, {1500.0, 0.0}});
  const StepResult r = solver.step(14.0, 15.0, 2);
  EXPECT_DOUBLE_EQ(r.Vreal, 15.0);
  EXPECT_DOUBLE_EQ(r.Ne, 1800.0);
  EXPECT_DOUBLE_EQ(r.Te, 110.0);
  EXPECT_EQ(solver.out.str(), "");
}

TEST(VehstepTest, EvaluatesRoadLoadTorqueAndSpeedInTheWrittenOrder) {
  // Awkward numbers, so that any regrouping shows in the last bits.
  Solver solver;
  solver.vehicle.MuAir = 0.0123;
  solver.vehicle.MuRoll = 0.07112;
  solver.vehicle.TireRadius = 0.493;
  solver.vehicle.TireCircumference = 6.28 * 0.493;
  solver.vehicle.Wtest = 11437.5;
  solver.gearbox.FinalRatio = 4.111;
  solver.gearbox.FinalEfficiency = 0.95;
  solver.gearbox.Gears[3] = {1.361, 0.98, 1.3, 734.2};
  solver.engine.Nec = 0.0;
  solver.engine.Nex = 1.0e9;
  solver.fullLoad = testing::curveOf({{0.0, 1.0e6}, {1.0e9, 1.0e6}});
  const auto expected = [&](double Vprev, double V, double G) {
    const VehicleSpec& v = solver.vehicle;
    const GearEntry& gear = solver.gearbox.Gears[3];
    const double ig = solver.gearbox.FinalRatio * gear.Ratio;
    const double eta = solver.gearbox.FinalEfficiency * gear.Efficiency;
    const double me = v.Wtest + gear.DW;
    const double s = std::sin(std::atan(G / 100.0));
    const double F = v.MuAir * (V * V) + (V - Vprev) / 3.6 * me + (v.MuRoll + 9.8 * s) * v.Wtest;
    const double T = F >= 0.0 ? F * v.TireRadius / (eta * ig) : F * eta * v.TireRadius / ig;
    return StepResult{V, V * 60 * ig / (v.TireCircumference * 3.6), T};
  };
  struct Step {
    double Vprev, Vt, G;
  };
  // Driving uphill, braking downhill (negative force), steady at 86 km/h,
  // where grouping the air drag as (MuAir V) V would change the last bit, and
  // steady at 80 km/h on a 2.96 % climb, where taking the road angle's sine
  // as G / sqrt(100^2 + G^2) would.
  for (const Step& s : {Step{47.3, 48.1, 2.35}, Step{47.3, 40.7, -3.135}, Step{86.0, 86.0, 0.0},
                        Step{80.0, 80.0, 2.96}}) {
    const StepResult want = expected(s.Vprev, s.Vt, s.G);
    const StepResult got = solver.step(s.Vprev, s.Vt, 3, s.G);
    EXPECT_EQ(got.Ne, want.Ne) << s.Vt;
    EXPECT_EQ(got.Te, want.Te) << s.Vt;
  }
}

struct SearchCase {
  const char* what;
  double Vprev, Vt;
  std::int32_t g;
  double Vreal, Ne;
};

TEST(VehstepTest, SearchesTheSpeedTheFullLoadTorqueSustains) {
  const SearchCase cases[] = {
      // Floored at the gear minimum 600 rpm (320 N m): 200 V - 980 = 320.
      {"below the gear minimum", 5.0, 7.0, 3, 6.5, 600.0},
      // Floored at 600 rpm in gear 2: 100 V + 10 = 320.
      {"moving off", 0.0, 6.0, 2, 3.1, 600.0},
      // Nt = 3300 is above Nex, yet moving off is never an overrun:
      // 40 V + 4 = 900 - 60 V.
      {"moving off above Nex", 0.0, 11.0, 1, 8.96, 2688.0},
      // 100 V - 990 = 300 + 12 V.
      {"normal driving", 10.0, 15.0, 2, 1290.0 / 88.0, 120.0 * 1290.0 / 88.0},
      // Capped at 50 km/h (3000 rpm), then 200 V - 9580 = 900 - 12 V.
      {"top gear above Nex", 48.0, 51.0, 3, 10480.0 / 212.0, 60.0 * 10480.0 / 212.0},
  };
  for (const SearchCase& c : cases) {
    Solver solver;
    const StepResult r = solver.step(c.Vprev, c.Vt, c.g);
    EXPECT_NEAR(r.Vreal, c.Vreal, 1e-6) << c.what;
    EXPECT_NEAR(r.Ne, c.Ne, 1e-4) << c.what;
    const double margin = TORQAT(solver.fullLoad, r.Ne) - r.Te;
    EXPECT_GE(margin, 0.0) << c.what;
    EXPECT_LT(margin, kTolerance) << c.what;
    EXPECT_EQ(solver.out.str(), kCautionAt12) << c.what;
  }
}

TEST(VehstepTest, EndsTheSearchAtOnceWhenTheStartSpeedHasTorqueToSpare) {
  Solver solver;
  solver.engine.Nes = 550.0;
  // Nt = 388.5 is under the gear minimum, and 315 N m exceeds Tmax(Nes) = 310;
  // but the search floors gear 3 at the gear minimum, where 320 N m are there.
  const StepResult r = solver.step(5.0, 6.475, 3);
  EXPECT_DOUBLE_EQ(r.Vreal, 6.475);
  EXPECT_DOUBLE_EQ(r.Ne, 600.0);
  EXPECT_DOUBLE_EQ(r.Te, 315.0);
  EXPECT_EQ(solver.out.str(), kCautionAt12);
}

TEST(VehstepTest, WarnsFromIteration996AndGivesUpAfter9999) {
  Solver solver;
  // No speed can meet this curve: every iteration steps down by 1 km/h.
  solver.fullLoad = testing::curveOf({{500.0, -1.0e9}, {3000.0, -1.0e9}});
  const StepResult r = solver.step(0.0, 3.0, 1);
  // After 9999 steps of 1 km/h; Ne and Te are those of the last iteration
  // (V = -9995: braking force -9994900 N, floor speed Nes).
  EXPECT_DOUBLE_EQ(r.Vreal, 3.0 - 9999.0);
  EXPECT_DOUBLE_EQ(r.Ne, 700.0);
  EXPECT_NEAR(r.Te, -99949.0, 1e-6);
  std::string expected;
  for (int k = 996; k <= 9999; ++k) expected += kWarning;
  expected += kCautionAt12;
  EXPECT_EQ(solver.out.str(), expected);
}

struct StopCase {
  const char* what;
  double Vprev, Vt;
  std::int32_t g;
  bool risingCurve;
};

TEST(VehstepTest, StopsOnEngineOverrun) {
  const StopCase cases[] = {
      {"below the top gear", 24.0, 26.0, 2, false},
      // At the 50 km/h cap 220 N m are needed and 300 are there.
      {"top gear with torque at the cap", 49.0, 51.0, 3, false},
      // Moving off; the curve rises so steeply that the search settles at
      // 11 km/h, 3300 rpm.
      {"searched speed above Nex", 0.0, 12.0, 1, true},
  };
  for (const StopCase& c : cases) {
    Solver solver;
    if (c.risingCurve) solver.fullLoad = testing::curveOf({{0.0, 114.0}, {3000.0, 414.0}});
    const std::optional<FatalStop> stop = solver.stop(c.Vprev, c.Vt, c.g);
    ASSERT_TRUE(stop.has_value()) << c.what;
    EXPECT_EQ(stop->channel, Channel::Out) << c.what;
    EXPECT_EQ(stop->lines, std::vector<std::string>{kOverrunAt12}) << c.what;
    EXPECT_EQ(solver.out.str(), "") << c.what;
  }
}

TEST(VehstepTest, StopsWhenTheSearchedEngineSpeedIsUnderTheGearMinimum) {
  Solver solver;
  solver.engine.Nes = 550.0;  // gear 1 is a starting gear: floored at Nes only
  solver.fullLoad = testing::curveOf({{500.0, 20.0}, {3000.0, 20.0}});
  // 40 V - 36 = 20 at 1.4 km/h, 420 rpm, floored to 550 < 600.
  const std::optional<FatalStop> stop = solver.stop(1.0, 2.5, 1);
  ASSERT_TRUE(stop.has_value());
  EXPECT_EQ(stop->channel, Channel::Out);
  EXPECT_EQ(stop->lines,
            std::vector<std::string>{" error : engine speed under limit, time=           12"});
  EXPECT_EQ(solver.out.str(), "");
}

TEST(VehstepTest, GearMissingWaitsForTheOperatorThenStops) {
  const std::string line = " " + std::string(texts::kShiftZeroWithSpeed.cp932) + "          12\r\n";
  {
    Solver solver;
    solver.in.str("3\nnext\n");
    const std::optional<FatalStop> stop = solver.stop(0.0, 10.0, 0);
    ASSERT_TRUE(stop.has_value());
    EXPECT_EQ(stop->channel, Channel::Out);
    EXPECT_TRUE(stop->lines.empty());
    EXPECT_EQ(solver.out.str(), line);
    std::string rest;
    std::getline(solver.in, rest);
    EXPECT_EQ(rest, "next");  // exactly one line was read
  }
  {
    Solver solver;  // end of console input: the unguarded read's diagnostic
    const std::optional<FatalStop> stop = solver.stop(0.0, 10.0, 0);
    ASSERT_TRUE(stop.has_value());
    EXPECT_EQ(stop->channel, Channel::Err);
    EXPECT_EQ(stop->lines.size(), 1u);
    EXPECT_EQ(solver.out.str(), line);
  }
}

TEST(VehstepTest, StopsOnAGearOutsideTheGearTable) {
  for (const std::int32_t g : {4, 7, -1}) {
    Solver solver;
    const std::optional<FatalStop> stop = solver.stop(10.0, 11.0, g);
    ASSERT_TRUE(stop.has_value()) << g;
    EXPECT_EQ(stop->channel, Channel::Out);
    EXPECT_EQ(stop->lines, std::vector<std::string>{" error : gear " + std::to_string(g) +
                                                    " is not in the gear table (1..3), URBAN "
                                                    "time=           12"});
    EXPECT_EQ(solver.out.str(), "");
  }
}

}  // namespace
}  // namespace hdfe
