// The category table and the derived vehicle data: body data, weights,
// resistances, the floor engine speeds of the shift parameter file and the
// gear table.

#include <gtest/gtest.h>

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "input/readers.h"
#include "input/stop_message.h"
#include "support/test_support.h"

namespace hdfe {
namespace {

using testing::ScratchDir;
using testing::stopLines;

// A vehicle as the three earlier readers leave it: two main ratios (5.0 and
// the direct 1.0), two sub-steps (1.2 and 1.0), one low gear.
struct Vehicle {
  RunSettings settings;
  VehicleSpec vehicle;
  EngineSpec engine;
  GearboxSpec gearbox;
};

Vehicle vehicleOf(const std::string& category, const std::string& shiftParamFile) {
  Vehicle v;
  v.settings.Category = category;
  v.settings.RollAddend = 0.001;
  v.settings.AirCoefficient = 0.0043;
  v.settings.ShiftParamFile = shiftParamFile;
  v.settings.TransmissionFile = "trans.txt";
  v.vehicle.TireRadius = 0.4;
  v.engine.Nidle = 600;
  v.engine.Nrate = 2000;
  v.engine.Nex = 2600;
  v.gearbox.Kind = 0;
  v.gearbox.LowGearCount = 1;
  v.gearbox.MainRatioCount = 2;
  v.gearbox.MainRatios = {0.0, 5.0, 1.0};
  v.gearbox.SubRatioCount = 2;
  v.gearbox.SubRatios = {0.0, 1.2, 1.0};
  v.gearbox.FinalRatio = 4.875;
  return v;
}

void setVehicle(Vehicle& v) { SETVEHICLE(v.settings, v.vehicle, v.engine, v.gearbox); }

// Factors 0, 1 and 0.5 put Nes at Nidle, Nec at Nrate and the gears' minimum
// speed half way.
class SetVehicle : public ::testing::Test {
 protected:
  ScratchDir dir;
  std::string shiftParams = dir.write("shift_params.txt", "0    Nes\r\n1    Nec\r\n0.5  min\r\n");
  Vehicle with(const std::string& category) {
    Vehicle v = vehicleOf(category, shiftParams);
    setVehicle(v);
    return v;
  }
};

TEST_F(SetVehicle, LowerCaseCodeIsUpperCasedInPlaceAndTakesItsRow) {
  const Vehicle v = with("t5");
  EXPECT_EQ(v.settings.Category, "T5");
  EXPECT_EQ(v.vehicle.Wcurb, 3473.0);
  EXPECT_EQ(v.vehicle.Wpayload, 4239.0);
  EXPECT_EQ(v.vehicle.Crew, 2);
  EXPECT_EQ(v.vehicle.Height, 2.471);
  EXPECT_EQ(v.vehicle.Width, 2.303);
  EXPECT_EQ(v.vehicle.HighwayRatio, 0.35);
  EXPECT_EQ(v.vehicle.LoadFactor, 0.5);
  EXPECT_EQ(v.vehicle.Inertia, 0.703);
  EXPECT_EQ(v.vehicle.MuAir, (0.0043 * 2.471) * 2.303);
}

TEST_F(SetVehicle, TruckWeightsCircumferenceAndRollingResistance) {
  const Vehicle v = with("T1");
  EXPECT_EQ(v.vehicle.GVW, 2097.0 + 1482.0 + 3 * 55.0);
  EXPECT_EQ(v.vehicle.Wtest, (2097.0 + 55.0) + 1482.0 * 0.45);
  EXPECT_EQ(v.vehicle.TireCircumference, 6.28 * 0.4);
  // 6.7 and 0.00023 at single precision, added in this order.
  const double expected =
      (6.699999809265137 / v.vehicle.Wtest + 0.0002300000051036477 + 0.001) * 9.8;
  EXPECT_EQ(v.vehicle.MuRoll, expected);
  EXPECT_NE(v.vehicle.MuRoll, (6.7 / v.vehicle.Wtest + 0.00023 + 0.001) * 9.8);
}

TEST_F(SetVehicle, BusWeightsLoadTheRidingCapacity) {
  const Vehicle b1 = with("B1");
  EXPECT_EQ(b1.vehicle.Wtest, 4638.0);
  EXPECT_EQ(b1.vehicle.GVW, 5276.0);
  const Vehicle br4 = with("br4");
  EXPECT_EQ(br4.vehicle.Height, 2.9690001010894775);
  EXPECT_EQ(br4.vehicle.Wpayload, 0.0);
  EXPECT_EQ(br4.vehicle.Wtest, 8654.0 + (55 * 77) * 0.35);
}

TEST_F(SetVehicle, FloorSpeedsLieBetweenIdleAndRated) {
  const Vehicle v = with("T5");
  EXPECT_EQ(v.engine.Nes, 600.0);
  EXPECT_EQ(v.engine.Nec, 2000.0);
  EXPECT_EQ(v.engine.GearMinSpeed, (std::vector<double>{0.0, 1300.0, 1300.0, 1300.0, 1300.0}));
}

TEST_F(SetVehicle, GearTableRunsMainGearByMainGear) {
  const Vehicle v = with("T5");
  ASSERT_EQ(v.gearbox.GearCount, 4);
  ASSERT_EQ(v.gearbox.Gears.size(), 5u);
  EXPECT_EQ(v.gearbox.FinalEfficiency, 0.95);
  const double ratios[] = {0.0, 6.0, 5.0, 1.2, 1.0};
  // Only the direct main gear runs at 0.98, whatever the sub-step.
  const double efficiencies[] = {0.0, 0.95, 0.95, 0.98, 0.98};
  for (int g = 1; g <= 4; ++g) {
    const GearEntry& gear = v.gearbox.Gears[g];
    EXPECT_EQ(gear.Ratio, ratios[g]) << "gear " << g;
    EXPECT_EQ(gear.Efficiency, efficiencies[g]) << "gear " << g;
    const double dw = 0.703 * 4.875 * 4.875 * ratios[g] * ratios[g] / (0.4 * 0.4) + 0.05 * 3473.0;
    EXPECT_EQ(gear.DW, dw) << "gear " << g;
  }
}

TEST_F(SetVehicle, TorqueMarginsByMainGearAndWeight) {
  struct Case {
    const char* category;
    std::int32_t lowGears;
    std::vector<double> margins;  // main gears 1..4, two sub-steps each
  };
  const Case cases[] = {
      {"T5", 1, {2.4, 1.7, 1.6, 1.6}},   // GVW 7822 kg, below 8000
      {"TT2", 1, {2.0, 1.7, 1.3, 1.3}},  // GVW 58441 kg
      {"T5", 0, {1.7, 1.6, 1.6, 1.6}},   // no low gear: main gear 1 gets the middle margin
      {"TT2", 2, {2.0, 2.0, 1.7, 1.3}},
  };
  for (const Case& c : cases) {
    Vehicle v = vehicleOf(c.category, shiftParams);
    v.gearbox.LowGearCount = c.lowGears;
    v.gearbox.MainRatioCount = 4;
    v.gearbox.MainRatios = {0.0, 6.5, 3.5, 1.0, 0.8};
    setVehicle(v);
    ASSERT_EQ(v.gearbox.GearCount, 8);
    for (int k = 1; k <= 4; ++k) {
      for (int j = 1; j <= 2; ++j) {
        EXPECT_EQ(v.gearbox.Gears[(k - 1) * 2 + j].TorqueMargin, c.margins[k - 1])
            << c.category << " t=" << c.lowGears << " main gear " << k;
      }
    }
  }
}

TEST_F(SetVehicle, StartGearLimitByKind) {
  struct Case {
    std::int32_t kind;
    std::int32_t subRatios;
    std::int32_t limit;
  };
  const Case cases[] = {{1, 2, 1}, {1, 1, 1}, {0, 2, 3}, {2, 1, 2}};
  for (const Case& c : cases) {
    Vehicle v = vehicleOf("T5", shiftParams);
    v.gearbox.Kind = c.kind;
    v.gearbox.SubRatioCount = c.subRatios;
    v.gearbox.SubRatios = std::vector<double>(static_cast<std::size_t>(c.subRatios) + 1, 1.0);
    setVehicle(v);
    EXPECT_EQ(v.gearbox.StartGearLimit, c.limit) << "kind " << c.kind;
  }
}

TEST_F(SetVehicle, EmptyGearTableWhenACountIsZero) {
  Vehicle v = vehicleOf("T5", shiftParams);
  v.gearbox.MainRatioCount = 0;
  v.gearbox.MainRatios = {0.0};
  setVehicle(v);
  EXPECT_EQ(v.gearbox.GearCount, 0);
  EXPECT_EQ(v.gearbox.Gears.size(), 1u);
  EXPECT_EQ(v.engine.GearMinSpeed.size(), 1u);
}

TEST_F(SetVehicle, UnknownCategoryEndsTheRunBeforeAnythingIsDerived) {
  for (const char* code : {"T12", "X1", "t12", "T"}) {
    Vehicle v = vehicleOf(code, shiftParams);
    std::string upper = code;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(stopLines([&] { setVehicle(v); }),
              std::vector<std::string>{" Category Error : [ " + upper + " ] is not defined."});
    EXPECT_EQ(v.vehicle.GVW, 0.0) << code;
  }
}

TEST_F(SetVehicle, ShiftParameterFileMessagesAlwaysSayAmtVal) {
  const std::string failed = " Failed to read [ AMT_val.txt] ";
  Vehicle missing = vehicleOf("T5", dir.file("shift.par"));
  EXPECT_EQ(stopLines([&] { setVehicle(missing); }),
            (std::vector<std::string>{" Cannot open data file [ AMT_val.txt] ", failed}));

  Vehicle unreadable = vehicleOf("T5", dir.write("letters.par", "0.1\nhalf\n0.5\n"));
  EXPECT_EQ(stopLines([&] { setVehicle(unreadable); }), std::vector<std::string>{failed});

  const std::string twoValues = dir.write("two.par", "0.1\n0.2\n");
  Vehicle shortFile = vehicleOf("T5", twoValues);
  EXPECT_EQ(stopLines([&] { setVehicle(shortFile); }),
            std::vector<std::string>{testing::unguardedLine(twoValues, ReadStatus::EndOfFile)});
}

TEST_F(SetVehicle, GearCountBeyondAnIntegerIsRefused) {
  Vehicle v = vehicleOf("T5", shiftParams);
  v.gearbox.MainRatioCount = 65536;
  v.gearbox.SubRatioCount = 32768;
  EXPECT_EQ(stopLines([&] { setVehicle(v); }),
            std::vector<std::string>{
                " Invalid transmission file [ trans.txt ]: too many gears (65536 x 32768)"});
}

}  // namespace
}  // namespace hdfe
