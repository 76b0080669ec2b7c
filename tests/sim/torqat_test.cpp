// Torque curve lookup: linear between points, end segments extended.

#include <gtest/gtest.h>

#include "sim/small_vehicle.h"
#include "sim/solver.h"

namespace hdfe {
namespace {

using testing::curveOf;

struct LookupCase {
  const char* what;
  double x;
  double torque;
};

TEST(TorqatTest, InterpolatesAndExtendsTheEndSegments) {
  const TorqueCurve curve = testing::smallFullLoad();  // 500:300 1000:400 2000:500 3000:300
  const LookupCase cases[] = {
      {"below the table, first segment extended", 250.0, 250.0},
      {"at the first point", 500.0, 300.0},
      {"inside the first segment", 750.0, 350.0},
      {"at an inner point: the segment starting there", 1000.0, 400.0},
      {"just below the last point", 2999.0, 300.2},
      {"at the last point", 3000.0, 300.0},
      {"above the table, falling to zero", 4500.0, 0.0},
      {"above the table, below zero", 5000.0, -100.0},
  };
  for (const LookupCase& c : cases) {
    EXPECT_DOUBLE_EQ(TORQAT(curve, c.x), c.torque) << c.what;
  }
}

TEST(TorqatTest, NeverUsesTwoEqualSpeedsAsASegment) {
  // A step in the curve: both points at 1000 rpm.
  const TorqueCurve curve =
      curveOf({{500.0, 100.0}, {1000.0, 200.0}, {1000.0, 600.0}, {2000.0, 700.0}});
  EXPECT_DOUBLE_EQ(TORQAT(curve, 999.0), 199.8);
  EXPECT_DOUBLE_EQ(TORQAT(curve, 1000.0), 600.0);
  EXPECT_DOUBLE_EQ(TORQAT(curve, 1500.0), 650.0);
}

TEST(TorqatTest, TwoPointCurveIsOneLine) {
  const TorqueCurve curve = curveOf({{1000.0, 100.0}, {2000.0, 300.0}});
  EXPECT_DOUBLE_EQ(TORQAT(curve, 500.0), 0.0);
  EXPECT_DOUBLE_EQ(TORQAT(curve, 1500.0), 200.0);
  EXPECT_DOUBLE_EQ(TORQAT(curve, 2500.0), 400.0);
}

TEST(TorqatTest, MultipliesByTheTorqueRiseBeforeDividingByTheSpeedStep) {
  // Dividing the rise by the step first would give 564.4274.
  const TorqueCurve curve = curveOf({{800.0, 412.7}, {1300.0, 587.3}});
  EXPECT_EQ(TORQAT(curve, 1234.5), 564.4273999999999);
}

}  // namespace
}  // namespace hdfe
