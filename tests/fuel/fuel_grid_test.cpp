// The fuel map grid: speed lines headed by their zero-fuel point, the axes,
// the two interpolation passes over lines of different lengths, and the
// failures a measured map can cause.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "fuel/fuel.h"
#include "input/failure.h"
#include "support/test_support.h"

namespace hdfe {
namespace {

struct MapPoint {
  double speed, torque, fuel;
};

FuelMap makeMap(double idleFuel, const std::vector<MapPoint>& points) {
  FuelMap map;
  map.IdleFuel = idleFuel;
  map.Count = static_cast<std::int32_t>(points.size());
  map.Speed = {0.0};
  map.Torque = {0.0};
  map.Fuel = {0.0};
  for (const MapPoint& p : points) {
    map.Speed.push_back(p.speed);
    map.Torque.push_back(p.torque);
    map.Fuel.push_back(p.fuel);
  }
  return map;
}

// Motoring torque -150 + (speed - 500) / 20: -125 at 1000 rpm, -100 at 1500,
// -75 at 2000, so the first line holds the lowest torque of all.
const TorqueCurve kMotoring = hdfe::testing::curveOf({{500, -150}, {2500, -50}});

// Three lines of one, two and three measured points, the longest last.
const FuelMap kMap = makeMap(1.7, {{1000, 200, 10},
                                   {1500, 100, 8},
                                   {1500, 400, 20},
                                   {2000, 50, 9},
                                   {2000, 300, 25},
                                   {2000, 600, 45}});

struct Line {
  double speed;
  std::vector<double> torque, fuel;  // the zero-fuel point first
};

const std::vector<Line> kLines = {{1000, {-125, 200}, {0, 10}},
                                  {1500, {-100, 100, 400}, {0, 8, 20}},
                                  {2000, {-75, 50, 300, 600}, {0, 9, 25, 45}}};

// One sequence: derivatives, then evaluation at the points.
std::vector<double> interpolate(const std::vector<double>& xs, const std::vector<double>& f,
                                const std::vector<double>& xe) {
  std::vector<double> d(xs.size());
  std::vector<double> out(xe.size());
  std::int32_t ierr = 0;
  DPCHIM(static_cast<std::int32_t>(xs.size()), xs.data(), f.data(), d.data(), 1, ierr);
  EXPECT_GE(ierr, 0);
  bool skip_checks = true;
  DPCHFE(static_cast<std::int32_t>(xs.size()), xs.data(), f.data(), d.data(), 1, skip_checks,
         static_cast<std::int32_t>(xe.size()), xe.data(), out.data(), ierr);
  EXPECT_GE(ierr, 0);
  return out;
}

TEST(FuelGrid, AxesSpanTheMapAndTheZeroFuelTorques) {
  FuelGrid grid;
  FCGRID(grid, kMap, kMotoring);
  EXPECT_EQ(grid.IdleFuel, 1.7);
  EXPECT_EQ(grid.SpeedCount, 20);
  EXPECT_EQ(grid.TorqueCount, 20);
  ASSERT_EQ(grid.Speed.size(), 20u);
  ASSERT_EQ(grid.Torque.size(), 20u);
  ASSERT_EQ(grid.Fuel.size(), 400u);
  const double dspeed = (2000.0 - 1000.0) / 19;
  const double dtorque = (600.0 - -125.0) / 19;
  for (int k = 0; k < 20; ++k) {
    // Product first, sum second: the first values are the lower ends exactly.
    EXPECT_EQ(grid.Speed[k], k * dspeed + 1000.0);
    EXPECT_EQ(grid.Torque[k], k * dtorque + -125.0);
  }
  EXPECT_EQ(grid.Speed[0], 1000.0);
  EXPECT_EQ(grid.Torque[0], -125.0);
  EXPECT_NEAR(grid.Speed[19], 2000.0, 1e-9);
  EXPECT_NEAR(grid.Torque[19], 600.0, 1e-9);
}

TEST(FuelGrid, OnePointLineIsTheStraightLineFromZeroFuel) {
  FuelGrid grid;
  FCGRID(grid, kMap, kMotoring);
  // Grid speed 1 is the first line's speed, so that grid row is the first
  // line's first pass: the line through (-125, 0) and (200, 10), extended.
  const double slope = 10.0 / 325.0;
  for (int j = 0; j < 20; ++j) {
    SCOPED_TRACE(j);
    EXPECT_EQ(grid.Fuel[0 + j * 20], slope * (grid.Torque[j] - -125.0));
  }
}

TEST(FuelGrid, TwoPassesOverLinesOfDifferentLengths) {
  FuelGrid grid;
  FCGRID(grid, kMap, kMotoring);
  // The same passes over each line on its own, contiguous.
  std::vector<std::vector<double>> firstPass;
  for (const Line& line : kLines)
    firstPass.push_back(interpolate(line.torque, line.fuel, grid.Torque));
  const std::vector<double> speeds = {kLines[0].speed, kLines[1].speed, kLines[2].speed};
  for (int j = 0; j < 20; ++j) {
    const std::vector<double> column = {firstPass[0][j], firstPass[1][j], firstPass[2][j]};
    const std::vector<double> expected = interpolate(speeds, column, grid.Speed);
    for (int i = 0; i < 20; ++i) {
      SCOPED_TRACE(::testing::Message() << "speed " << i << " torque " << j);
      EXPECT_EQ(grid.Fuel[i + j * 20], expected[i]);
    }
  }
  // Unclamped: below the zero-fuel torques the lines extrapolate below 0.
  EXPECT_LT(grid.Fuel[19 + 0 * 20], 0.0);
}

TEST(FuelGrid, SpeedLinesAreRunsOfExactlyEqualSpeeds) {
  const FuelMap map = makeMap(1.0, {{1000, 100, 5}, {1000.0001, 120, 6}});
  FuelGrid grid;
  EXPECT_NO_THROW(FCGRID(grid, map, kMotoring));  // two lines, not one
  EXPECT_EQ(grid.Speed[0], 1000.0);
  EXPECT_NEAR(grid.Speed[19], 1000.0001, 1e-12);
}

std::vector<std::string> hermiteFailure(const char* message, const char* ierrLine) {
  std::string padded = message;
  padded.resize(1024, ' ');
  return {padded, ierrLine, " Terminated by error of Hermite function. Check input fuel map."};
}

TEST(FuelGrid, MapsThatCannotBeGridded) {
  struct Case {
    const char* what;
    FuelMap map;
    TorqueCurve motoring;
    std::vector<std::string> lines;
  };
  const auto firstPass =
      hermiteFailure("Error : DPCHIM ( called from FCGRID, 1st )", "ierr =           -3");
  const auto secondPass =
      hermiteFailure("Error : DPCHIM ( called from FCGRID, 2nd )", "ierr =           -1");
  const std::vector<Case> cases = {
      // The motoring torque at 1500 rpm is 100, the line's lowest torque.
      {"motoring curve reaching the measured points", kMap,
       hdfe::testing::curveOf({{500, 50}, {2500, 150}}), firstPass},
      {"duplicate point",
       makeMap(1.0, {{1000, 100, 5}, {1500, 100, 6}, {1500, 100, 6}, {2000, 100, 7}}), kMotoring,
       firstPass},
      {"single speed line", makeMap(1.0, {{1500, 100, 6}, {1500, 200, 9}}), kMotoring, secondPass},
      {"no point at all", makeMap(1.0, {}), kMotoring, secondPass},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FuelGrid grid;
    try {
      FCGRID(grid, c.map, c.motoring);
      ADD_FAILURE() << "FCGRID returned";
    } catch (const FatalStop& stop) {
      EXPECT_EQ(stop.channel, Channel::Err);
      EXPECT_EQ(stop.lines, c.lines);
    }
  }
}

}  // namespace
}  // namespace hdfe
