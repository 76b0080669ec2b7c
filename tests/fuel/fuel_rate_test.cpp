// The fuel rate along a trace: the order of the idle, idling and fuel-cut
// rules, the two-stage grid interpolation with its clipping, and the failure
// of a degenerate grid, raised only when a second needs the grid.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "fuel/fuel.h"
#include "input/failure.h"
#include "sim/solver.h"
#include "support/test_support.h"

namespace hdfe {
namespace {

// Speeds 600..2500 rpm, torques -200..1700 N m, both in steps of 100.
FuelGrid makeGrid(const std::function<double(double, double)>& fuel) {
  FuelGrid grid;
  grid.IdleFuel = 1.25;
  grid.SpeedCount = 20;
  grid.TorqueCount = 20;
  for (int k = 0; k < 20; ++k) {
    grid.Speed.push_back(600.0 + 100.0 * k);
    grid.Torque.push_back(-200.0 + 100.0 * k);
  }
  for (int j = 0; j < 20; ++j) {
    for (int i = 0; i < 20; ++i) grid.Fuel.push_back(fuel(grid.Speed[i], grid.Torque[j]));
  }
  return grid;
}

double plane(double speed, double torque) { return 1.0 + 0.004 * speed + 0.02 * torque; }

// A plausible motoring curve, on which the plane is positive.
const TorqueCurve kMotoring = hdfe::testing::curveOf({{600, -40}, {2500, -140}});
// Low enough that the plane turns negative above it, below the grid.
const TorqueCurve kLowMotoring = hdfe::testing::curveOf({{600, -400}, {2500, -500}});

EngineSpec engineIdlingAt(double nidle) {
  EngineSpec engine;
  engine.Nidle = nidle;
  return engine;
}

struct Second {
  std::int32_t shift;
  double ne, te;
};

std::vector<double> fuelRates(const std::vector<Second>& seconds, const FuelGrid& grid,
                              const EngineSpec& engine, const TorqueCurve& motoring = kMotoring) {
  const auto n = static_cast<std::int32_t>(seconds.size());
  ModeTrace trace = makeModeTrace(n);
  for (std::int32_t i = 1; i <= n; ++i) {
    trace.Shift[i] = seconds[i - 1].shift;
    trace.Ne[i] = seconds[i - 1].ne;
    trace.Te[i] = seconds[i - 1].te;
    trace.FC[i] = std::numeric_limits<double>::quiet_NaN();
  }
  const DriveCycle cycle{"TEST", n, {}, {}};
  CALCFC(trace, cycle, motoring, grid, engine);
  return {trace.FC.begin() + 1, trace.FC.end()};
}

// The grid read the way each second was first specified: the derivatives
// along speed estimated again for this one point.
double readGridAfresh(const FuelGrid& grid, double ne, double te) {
  std::vector<double> derivs(20), atSpeed(20), atSpeedDerivs(20);
  std::int32_t ierr = 0;
  for (int k = 0; k < 20; ++k) {
    DPCHIM(20, grid.Speed.data(), &grid.Fuel[k * 20], derivs.data(), 1, ierr);
    bool skip_checks = true;
    DPCHFE(20, grid.Speed.data(), &grid.Fuel[k * 20], derivs.data(), 1, skip_checks, 1, &ne,
           &atSpeed[k], ierr);
  }
  DPCHIM(20, grid.Torque.data(), atSpeed.data(), atSpeedDerivs.data(), 1, ierr);
  double fuel = 0.0;
  bool skip_checks = true;
  DPCHFE(20, grid.Torque.data(), atSpeed.data(), atSpeedDerivs.data(), 1, skip_checks, 1, &te,
         &fuel, ierr);
  return fuel;
}

TEST(FuelRate, RulesApplyInOrder) {
  const FuelGrid grid = makeGrid(plane);
  const EngineSpec engine = engineIdlingAt(700.0);  // a grid speed
  const double tm = TORQAT(kMotoring, 1234.5);
  const double justAbove = std::nextafter(tm, 0.0);
  struct Case {
    const char* what;
    Second second;
    double expected;
  };
  const std::vector<Case> cases = {
      {"no gear, at speed and under load", {0, 1500, 800}, 1.25},
      {"no gear below the motoring curve", {0, 1500, -900}, 1.25},
      // At grid speed 2 and grid torque 8: the grid value itself.
      {"idle speed with positive torque", {3, 700, 500}, grid.Fuel[1 + 7 * 20]},
      {"idle speed with zero torque", {3, 700, 0}, 1.25},
      {"idle speed below the motoring curve", {3, 700, -450}, 1.25},
      {"torque at the motoring curve", {5, 1234.5, tm}, 0.0},
      {"torque below the motoring curve", {5, 1234.5, tm - 1.0}, 0.0},
      {"torque just above the motoring curve",
       {5, 1234.5, justAbove},
       readGridAfresh(grid, 1234.5, justAbove)},
  };
  // The grid holds fuel at the motoring curve: a cut there is the rule's.
  ASSERT_GT(readGridAfresh(grid, 1234.5, tm), 0.5);
  std::vector<Second> seconds;
  for (const Case& c : cases) seconds.push_back(c.second);
  const std::vector<double> fc = fuelRates(seconds, grid, engine);
  for (std::size_t k = 0; k < cases.size(); ++k) {
    SCOPED_TRACE(cases[k].what);
    EXPECT_EQ(fc[k], cases[k].expected);
    EXPECT_FALSE(std::signbit(fc[k]));
  }
}

TEST(FuelRate, GridIsReadAlongSpeedThenTorque) {
  const FuelGrid grid = makeGrid(plane);
  const std::vector<double> fc = fuelRates(
      {{4, 1234.5, 777.7}, {4, 2333.3, 1650.0}, {4, 2600.0, 1800.0}}, grid, engineIdlingAt(600.0));
  // The interpolant reproduces a plane, inside the grid and extrapolated.
  EXPECT_NEAR(fc[0], plane(1234.5, 777.7), 1e-9);
  EXPECT_NEAR(fc[1], plane(2333.3, 1650.0), 1e-9);
  EXPECT_NEAR(fc[2], plane(2600.0, 1800.0), 1e-9);
}

TEST(FuelRate, NegativeExtrapolationIsClippedToZero) {
  const FuelGrid grid = makeGrid(plane);
  // Below the grid's lowest torque, above the motoring curve.
  const double raw = readGridAfresh(grid, 1000.0, -300.0);
  ASSERT_LT(raw, 0.0);
  const std::vector<double> fc =
      fuelRates({{2, 1000.0, -300.0}}, grid, engineIdlingAt(600.0), kLowMotoring);
  EXPECT_EQ(fc[0], 0.0);
  EXPECT_FALSE(std::signbit(fc[0]));
}

TEST(FuelRate, DerivativesEstimatedOnceGiveTheSameFiguresAsEverySecond) {
  // A curved map gridded the usual way.
  FuelMap map;
  map.IdleFuel = 2.0;
  map.Speed = {0.0};
  map.Torque = {0.0};
  map.Fuel = {0.0};
  for (double speed = 800; speed <= 2200; speed += 350) {
    for (double torque = 150; torque <= 1500; torque += 270) {
      map.Speed.push_back(speed);
      map.Torque.push_back(torque);
      map.Fuel.push_back(0.3 + speed * torque * 2.1e-5 + 1e-6 * speed * speed / (1 + torque / 900));
      ++map.Count;
    }
  }
  const TorqueCurve motoring = hdfe::testing::curveOf({{600, -60}, {2400, -190}});
  FuelGrid grid;
  FCGRID(grid, map, motoring);

  std::vector<Second> seconds;
  for (int i = 0; i < 300; ++i) {
    seconds.push_back({1 + i % 7, 650.0 + 5.3 * i, -50.0 + std::fmod(37.1 * i, 1700.0)});
  }
  const auto n = static_cast<std::int32_t>(seconds.size());
  ModeTrace trace = makeModeTrace(n);
  for (std::int32_t i = 1; i <= n; ++i) {
    trace.Shift[i] = seconds[i - 1].shift;
    trace.Ne[i] = seconds[i - 1].ne;
    trace.Te[i] = seconds[i - 1].te;
  }
  CALCFC(trace, DriveCycle{"TEST", n, {}, {}}, motoring, grid, engineIdlingAt(600.0));
  int interpolated = 0;
  for (std::int32_t i = 1; i <= n; ++i) {
    SCOPED_TRACE(i);
    if (trace.Te[i] <= TORQAT(motoring, trace.Ne[i])) continue;
    ++interpolated;
    double expected = readGridAfresh(grid, trace.Ne[i], trace.Te[i]);
    if (expected <= 0.0) expected = 0.0;
    EXPECT_EQ(trace.FC[i], expected);
  }
  EXPECT_GT(interpolated, 250);
}

TEST(FuelRate, DegenerateGridFailsOnlyWhenASecondNeedsIt) {
  std::string speedMessage = "Error : DPCHIM ( called from CALCFC, 1st )";
  std::string torqueMessage = "Error : DPCHIM ( called from CALCFC, 2nd )";
  speedMessage.resize(1024, ' ');
  torqueMessage.resize(1024, ' ');
  const std::string stopLine = " Terminated by error of Hermite function. Check input fuel map.";

  FuelGrid flatSpeed = makeGrid(plane);
  flatSpeed.Speed[5] = flatSpeed.Speed[4];
  FuelGrid flatTorque = makeGrid(plane);
  flatTorque.Torque[12] = flatTorque.Torque[11];

  struct Case {
    const char* what;
    const FuelGrid& grid;
    std::vector<std::string> lines;
  };
  const std::vector<Case> cases = {
      {"speed axis", flatSpeed, {speedMessage, "ierr =           -3", stopLine}},
      {"torque axis", flatTorque, {torqueMessage, "ierr =           -3", stopLine}},
  };
  const std::vector<Second> withoutGrid = {
      {0, 1500, 800}, {3, 700, 0}, {3, 1200, -100}, {0, 900, 100}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    // No second reaches the grid: the rules alone decide.
    EXPECT_EQ(fuelRates(withoutGrid, c.grid, engineIdlingAt(700.0)),
              (std::vector<double>{1.25, 1.25, 0.0, 1.25}));
    std::vector<Second> withGrid = withoutGrid;
    withGrid.push_back({3, 1200, 600});
    try {
      fuelRates(withGrid, c.grid, engineIdlingAt(700.0));
      ADD_FAILURE() << "CALCFC returned";
    } catch (const FatalStop& stop) {
      EXPECT_EQ(stop.channel, Channel::Err);
      EXPECT_EQ(stop.lines, c.lines);
    }
  }
}

}  // namespace
}  // namespace hdfe
