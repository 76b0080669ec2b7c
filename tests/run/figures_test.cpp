// Fuel economy and average speed of a span, the torque-converter factors and
// the derived figures of the results file.

#include "run/figures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace hdfe {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(ModeFigures, SumsSpeedsAndFuelInSecondOrder) {
  const std::vector<double> speeds = {0.0, 10.0, 20.5, 30.0};
  const std::vector<double> fuel = {1.5, 2.0, 0.0, 4.25};
  const ModeFigures figures = MODEFC(speeds.data(), fuel.data(), 4);
  EXPECT_EQ(figures.AveSpeed, 60.5 / 4.0);
  EXPECT_EQ(figures.FuelEconomy, 60.5 / 7.75);
}

TEST(ModeFigures, SummationOrderIsTheSecondsOrder) {
  // 1e16 + 1 rounds back to 1e16, so in second order the 1 is lost; a
  // pairwise or compensated sum would keep it and give 1.0 instead of 0.75.
  const std::vector<double> speeds = {1e16, 1.0, -1e16, 3.0};
  const std::vector<double> fuel = {1e16, 1.0, -1e16, 2.0};
  const ModeFigures figures = MODEFC(speeds.data(), fuel.data(), 4);
  EXPECT_EQ(figures.AveSpeed, 0.75);
  EXPECT_EQ(figures.FuelEconomy, 1.5);
}

// An URBAN-sized trace with distinct values in every second.
struct UrbanLikeTrace {
  std::vector<double> Vreal = std::vector<double>(1831, 0.0);
  std::vector<double> FC = std::vector<double>(1831, 0.0);
  UrbanLikeTrace() {
    for (std::size_t t = 1; t <= 1830; ++t) {
      Vreal[t] = static_cast<double>(t % 61);
      FC[t] = 0.5 + static_cast<double>(t % 7) * 0.25;
    }
  }
  ModeFigures midTown() const {
    return MODEFC(&Vreal[kMidTownFirstSecond], &FC[kMidTownFirstSecond], kMidTownSeconds);
  }
};

TEST(ModeFigures, MidTownSliceIsSeconds645To1410) {
  ASSERT_EQ(kMidTownFirstSecond + kMidTownSeconds - 1, 1410);
  UrbanLikeTrace trace;
  double speedSum = 0.0;
  double fuelSum = 0.0;
  for (std::size_t t = 645; t <= 1410; ++t) {
    speedSum = speedSum + trace.Vreal[t];
    fuelSum = fuelSum + trace.FC[t];
  }
  const ModeFigures before = trace.midTown();
  EXPECT_EQ(before.AveSpeed, speedSum / 766.0);
  EXPECT_EQ(before.FuelEconomy, speedSum / fuelSum);

  // Seconds just outside the slice do not count ...
  trace.FC[644] = 1000.0;
  trace.FC[1411] = 1000.0;
  trace.Vreal[644] = 1000.0;
  trace.Vreal[1411] = 1000.0;
  const ModeFigures outside = trace.midTown();
  EXPECT_EQ(outside.FuelEconomy, before.FuelEconomy);
  EXPECT_EQ(outside.AveSpeed, before.AveSpeed);

  // ... its first and last second do.
  for (const std::size_t edge : {645u, 1410u}) {
    UrbanLikeTrace changed;
    changed.FC[edge] += 1.0;
    EXPECT_NE(changed.midTown().FuelEconomy, before.FuelEconomy) << "second " << edge;
  }
}

TEST(ModeFigures, IdleStopLowersTheFuelSumOnly) {
  UrbanLikeTrace trace;
  const ModeFigures before = MODEFC(&trace.Vreal[1], &trace.FC[1], 1830);
  // The engine stopped while at rest: fuel zero, speeds untouched.
  for (std::size_t t = 1; t <= 1830; ++t) {
    if (trace.Vreal[t] == 0.0) trace.FC[t] = 0.0;
  }
  const ModeFigures after = MODEFC(&trace.Vreal[1], &trace.FC[1], 1830);
  EXPECT_EQ(after.AveSpeed, before.AveSpeed);
  EXPECT_GT(after.FuelEconomy, before.FuelEconomy);
}

TEST(ModeFigures, NoFuelOverASpanGivesNoFiniteFuelEconomy) {
  const std::vector<double> moving = {20.0, 30.0};
  const std::vector<double> atRest = {0.0, 0.0};
  const std::vector<double> noFuel = {0.0, 0.0};
  const ModeFigures coasting = MODEFC(moving.data(), noFuel.data(), 2);
  EXPECT_EQ(coasting.FuelEconomy, kInfinity);
  EXPECT_EQ(coasting.AveSpeed, 25.0);
  const ModeFigures parked = MODEFC(atRest.data(), noFuel.data(), 2);
  EXPECT_TRUE(std::isnan(parked.FuelEconomy));
  EXPECT_EQ(parked.AveSpeed, 0.0);
}

TEST(TorqueConverterFactors, OnlyKindOneChargesTheConverter) {
  const ModeFigures urban{5.0, 27.34};
  const ModeFigures midTown{6.0, 20.0};
  const ModeFigures highway{8.0, 79.9};
  for (const std::int32_t kind : {0, 2, 3, -1}) {
    ModeFigures u = urban, m = midTown, h = highway;
    applyTorqueConverterFactors(kind, u, m, h);
    EXPECT_EQ(u.FuelEconomy, 5.0) << "Kind " << kind;
    EXPECT_EQ(m.FuelEconomy, 6.0) << "Kind " << kind;
    EXPECT_EQ(h.FuelEconomy, 8.0) << "Kind " << kind;
  }
  ModeFigures u = urban, m = midTown, h = highway;
  applyTorqueConverterFactors(1, u, m, h);
  EXPECT_EQ(u.FuelEconomy, 5.0 * 0.91);
  EXPECT_DOUBLE_EQ(u.FuelEconomy, 4.55);
  EXPECT_EQ(m.FuelEconomy, 6.0 * 0.91);
  EXPECT_EQ(h.FuelEconomy, 8.0 * 0.96);
  EXPECT_EQ(u.AveSpeed, 27.34);
  EXPECT_EQ(m.AveSpeed, 20.0);
  EXPECT_EQ(h.AveSpeed, 79.9);
}

TEST(DerivedFigures, TransientCorrectionThenKfFactors) {
  ModeFigures urban{5.0, 27.3};
  ModeFigures midTown{4.0, 18.0};
  ModeFigures highway{7.5, 79.0};
  applyTorqueConverterFactors(1, urban, midTown, highway);
  const DerivedFigures d = deriveFigures(urban, midTown, highway, 1.1, 0.95, 0.7);
  const double urbanTransient = 5.0 * 0.91 / 1.03;
  EXPECT_EQ(d.UrbanTransient, urbanTransient);
  EXPECT_EQ(d.MidTownTransient, 4.0 * 0.91 / 1.03);
  EXPECT_EQ(d.UrbanKf, 1.1 * urbanTransient);
  EXPECT_EQ(d.MidTownKf, 1.1 * (4.0 * 0.91 / 1.03));
  EXPECT_EQ(d.HighwayKf, 0.95 * (7.5 * 0.96));
  EXPECT_EQ(d.AverageFC, 1.0 / ((1.0 - 0.7) / d.UrbanKf + 0.7 / d.HighwayKf));
  // The figures themselves are not changed by the derivation.
  EXPECT_EQ(urban.FuelEconomy, 5.0 * 0.91);
}

TEST(DerivedFigures, UnitFactorsLeaveTheCorrectedFigures) {
  const DerivedFigures d = deriveFigures({5.0, 0.0}, {4.0, 0.0}, {7.5, 0.0}, 1.0, 1.0, 0.7);
  EXPECT_EQ(d.UrbanKf, d.UrbanTransient);
  EXPECT_EQ(d.MidTownKf, d.MidTownTransient);
  EXPECT_EQ(d.HighwayKf, 7.5);
}

TEST(DerivedFigures, HighwayRatioWeighsTheHarmonicMean) {
  const ModeFigures urban{4.0, 0.0}, midTown{4.0, 0.0}, highway{8.0, 0.0};
  const double urbanKf = 1.1 * (4.0 / 1.03);
  const double highwayKf = 0.9 * 8.0;
  struct Case {
    double ratio;
    double average;
  };
  const Case cases[] = {
      {0.0, urbanKf},
      {1.0, highwayKf},
      {0.5, 2.0 * urbanKf * highwayKf / (urbanKf + highwayKf)},
  };
  for (const Case& c : cases) {
    const DerivedFigures d = deriveFigures(urban, midTown, highway, 1.1, 0.9, c.ratio);
    EXPECT_EQ(d.AverageFC, 1.0 / ((1.0 - c.ratio) / d.UrbanKf + c.ratio / d.HighwayKf))
        << "ratio " << c.ratio;
    EXPECT_DOUBLE_EQ(d.AverageFC, c.average) << "ratio " << c.ratio;
  }
}

TEST(DerivedFigures, NonFiniteFiguresStayNonFinite) {
  const ModeFigures finite{4.0, 20.0};
  const ModeFigures noFuel{kInfinity, 20.0};
  const ModeFigures atRest{kNaN, 0.0};
  struct Case {
    const char* what;
    ModeFigures urban, midTown, highway;
    double ratio;
    bool urbanFinite, midTownFinite, highwayFinite;
  };
  const Case cases[] = {
      // 1 / infinity is 0: without a guard the average would be the highway
      // figure alone, or with ratio 0 even the urban one, silently.
      {"urban without fuel", noFuel, finite, finite, 0.7, false, true, true},
      {"urban without fuel, ratio 1", noFuel, finite, finite, 1.0, false, true, true},
      {"highway without fuel, ratio 0", finite, finite, noFuel, 0.0, true, true, false},
      {"highway at rest", finite, finite, atRest, 0.5, true, true, false},
      {"mid-town only", finite, noFuel, finite, 0.7, true, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const DerivedFigures d = deriveFigures(c.urban, c.midTown, c.highway, 1.1, 0.9, c.ratio);
    EXPECT_EQ(std::isfinite(d.UrbanTransient), c.urbanFinite);
    EXPECT_EQ(std::isfinite(d.UrbanKf), c.urbanFinite);
    EXPECT_EQ(std::isfinite(d.MidTownTransient), c.midTownFinite);
    EXPECT_EQ(std::isfinite(d.MidTownKf), c.midTownFinite);
    EXPECT_EQ(std::isfinite(d.HighwayKf), c.highwayFinite);
    if (c.urbanFinite && c.highwayFinite) {
      EXPECT_TRUE(std::isfinite(d.AverageFC));
    } else {
      EXPECT_TRUE(std::isnan(d.AverageFC));
    }
  }
}

TEST(NonFiniteSpanWarnings, OneLinePerSpanWithoutAFiniteFigure) {
  const ModeFigures finite{4.0, 20.0};
  const ModeFigures noFuel{kInfinity, 20.0};
  const ModeFigures atRest{kNaN, 0.0};
  EXPECT_TRUE(nonFiniteSpanWarnings(finite, finite, finite).empty());
  EXPECT_EQ(nonFiniteSpanWarnings(finite, noFuel, finite),
            std::vector<std::string>{
                "Warning!: no fuel consumed over MID-TOWN, its fuel economy cannot be computed"});
  EXPECT_EQ(nonFiniteSpanWarnings(noFuel, atRest, atRest),
            (std::vector<std::string>{
                "Warning!: no fuel consumed over URBAN, its fuel economy cannot be computed",
                "Warning!: the fuel economy of MID-TOWN cannot be computed",
                "Warning!: the fuel economy of HIGHWAY cannot be computed"}));
}

}  // namespace
}  // namespace hdfe
