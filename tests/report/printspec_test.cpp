// The vehicle summary on the console: every line, field and blank.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "report/reports.h"
#include "support/test_support.h"

namespace hdfe {
namespace {

using testing::crlf;

const std::string kHyphens = " ----------------------------------------------------------";

struct SummaryInputs {
  VehicleSpec vehicle;
  EngineSpec engine;
  GearboxSpec gearbox;
  std::string VehicleName = "T5 test truck";
  std::string Category = "T5";

  SummaryInputs() {
    vehicle.HighwayRatio = 0.7;
    vehicle.GVW = 7990.0;
    vehicle.Wcurb = 3500.0;
    vehicle.Wtest = 5247.5;
    vehicle.Width = 2.0;
    vehicle.Height = 2.5;
    vehicle.TireRadius = 0.375;
    vehicle.Crew = 3;
    vehicle.MuAir = 0.054321;
    vehicle.MuRoll = 0.0087;
    engine.Nidle = 600.0;
    engine.Nrate = 2800.0;
    engine.Nex = 3200.0;
    engine.Nes = 700.5;
    engine.Nec = 650.25;
    gearbox.Kind = 1;
    gearbox.FinalRatio = 4.875;
    gearbox.FinalEfficiency = 0.95;
    setGears({{5.979, 0.95, 0.9, 123.456}, {1.0, 0.98, 0.9, 45.6789}});
  }

  void setGears(const std::vector<GearEntry>& gears) {
    gearbox.GearCount = static_cast<std::int32_t>(gears.size());
    gearbox.Gears.assign(1, GearEntry{});
    gearbox.Gears.insert(gearbox.Gears.end(), gears.begin(), gears.end());
  }

  std::string print() const {
    std::ostringstream out;
    PRINTSPEC(out, vehicle, engine, gearbox, VehicleName, Category);
    return out.str();
  }
};

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  EXPECT_EQ(start, text.size()) << "text after the last line end";
  return lines;
}

TEST(VehicleSummary, TruckWithTorqueConverter) {
  const std::string expected =
      crlf(kHyphens + "\n" +
           " Vehicle Name    : T5 test truck\n"
           " Vehicle type  : TRUCK\n"
           " Category      : T5\n"
           " Transmission  : Torque Converter AT\n"
           " HIGHWAY RATIO : 70.00 [%]\n"
           "\n" +
           kHyphens + "\n" +
           " GVW = 7990.00[kg]\n"
           " Wcurb = 3500.00[kg], Wtest = 5247.50[kg]\n"
           " Width =   2.000[m],  Height=   2.500[m], Tire radius=   0.375[m]\n"
           " Crew =  3\n"
           "\n"
           " Nidle =  600.00[rpm], Nrate = 2800.00[rpm], Nex  = 3200.00[rpm]\n"
           " Nes   =  700.50[rpm], Nec   =  650.25[rpm]\n"
           " MuAir =  0.054321 [N/(km/h)^2]\n"
           " MuRoll =  0.008700 [N/kg]\n"
           "\n"
           " NUMBER OF GEAR =  2\n"
           " GEAR   RATIO  EFFICIENCY  TORQ MARGIN    DW[kg]\n"
           "   1:    5.979     0.950       0.900      123.45600\n"
           "   2:    1.000     0.980       0.900       45.67890\n"
           " FIN:    4.875     0.950\n"
           "\n");
  EXPECT_EQ(SummaryInputs().print(), expected);
}

TEST(VehicleSummary, TypeLineFollowsTheFirstLetterOfTheCategory) {
  struct Case {
    std::string category;
    std::string typeLine;  // empty: no type line
  };
  const Case cases[] = {
      {"T3", " Vehicle type  : TRUCK"},
      {"TT1", " Vehicle type  : TRUCK"},
      {"B1", " Vehicle type  : BUS"},
      {"BR2", " Vehicle type  : BUS"},
      {"Z1", ""},
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("category '" + c.category + "'");
    SummaryInputs inputs;
    inputs.Category = c.category;
    const std::vector<std::string> lines = linesOf(inputs.print());
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[1], " Vehicle Name    : T5 test truck");
    if (c.typeLine.empty()) {
      EXPECT_EQ(lines[2], " Category      : " + c.category);
      EXPECT_EQ(lines.size(), 23u);
    } else {
      EXPECT_EQ(lines[2], c.typeLine);
      EXPECT_EQ(lines[3], " Category      : " + c.category);
      EXPECT_EQ(lines.size(), 24u);
    }
  }
}

TEST(VehicleSummary, BusWithoutGearsAndOverflowingFields) {
  SummaryInputs inputs;
  inputs.VehicleName = "";
  inputs.Category = "BR2";
  inputs.gearbox.Kind = 2;
  inputs.vehicle.HighwayRatio = 0.0;
  inputs.vehicle.GVW = 100000.0;
  inputs.vehicle.Crew = 1000;
  inputs.setGears({});
  const std::string expected =
      crlf(kHyphens + "\n" +
           " Vehicle Name    : \n"
           " Vehicle type  : BUS\n"
           " Category      : BR2\n"
           " Transmission  : MT, AMT\n"
           " HIGHWAY RATIO : .00 [%]\n"
           "\n" +
           kHyphens + "\n" +
           " GVW =********[kg]\n"
           " Wcurb = 3500.00[kg], Wtest = 5247.50[kg]\n"
           " Width =   2.000[m],  Height=   2.500[m], Tire radius=   0.375[m]\n"
           " Crew =***\n"
           "\n"
           " Nidle =  600.00[rpm], Nrate = 2800.00[rpm], Nex  = 3200.00[rpm]\n"
           " Nes   =  700.50[rpm], Nec   =  650.25[rpm]\n"
           " MuAir =  0.054321 [N/(km/h)^2]\n"
           " MuRoll =  0.008700 [N/kg]\n"
           "\n"
           " NUMBER OF GEAR =  0\n"
           " GEAR   RATIO  EFFICIENCY  TORQ MARGIN    DW[kg]\n"
           " FIN:    4.875     0.950\n"
           "\n");
  EXPECT_EQ(inputs.print(), expected);
}

TEST(VehicleSummary, SmallValuesAndTheEdgesOfTheFields) {
  struct Case {
    const char* what;
    void (*change)(SummaryInputs&);
    std::size_t line;  // 0-based, with the TRUCK line present
    std::string expected;
  };
  const Case cases[] = {
      {"ratio below 1 %", [](SummaryInputs& s) { s.vehicle.HighwayRatio = 0.005; }, 5,
       " HIGHWAY RATIO : .50 [%]"},
      {"whole highway", [](SummaryInputs& s) { s.vehicle.HighwayRatio = 1.0; }, 5,
       " HIGHWAY RATIO : 100.00 [%]"},
      {"largest GVW that fits", [](SummaryInputs& s) { s.vehicle.GVW = 99999.994; }, 8,
       " GVW =99999.99[kg]"},
      {"no crew", [](SummaryInputs& s) { s.vehicle.Crew = 0; }, 11, " Crew =  0"},
      {"largest crew that fits", [](SummaryInputs& s) { s.vehicle.Crew = 999; }, 11, " Crew =999"},
      {"other kinds", [](SummaryInputs& s) { s.gearbox.Kind = 0; }, 4, " Transmission  : MT, AMT"},
      {"kind 3", [](SummaryInputs& s) { s.gearbox.Kind = 3; }, 4, " Transmission  : MT, AMT"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SummaryInputs inputs;
    c.change(inputs);
    const std::vector<std::string> lines = linesOf(inputs.print());
    ASSERT_GT(lines.size(), c.line);
    EXPECT_EQ(lines[c.line], c.expected);
  }
}

TEST(VehicleSummary, TwelveGearsAreNumberedInFourCharacters) {
  SummaryInputs inputs;
  std::vector<GearEntry> gears;
  for (int g = 1; g <= 12; ++g) gears.push_back({13.0 - g, 0.5, 0.25, 10.0 * g});
  inputs.setGears(gears);
  const std::vector<std::string> lines = linesOf(inputs.print());
  ASSERT_EQ(lines.size(), 34u);
  EXPECT_EQ(lines[18], " NUMBER OF GEAR = 12");
  EXPECT_EQ(lines[20], "   1:   12.000     0.500       0.250       10.00000");
  EXPECT_EQ(lines[28], "   9:    4.000     0.500       0.250       90.00000");
  EXPECT_EQ(lines[29], "  10:    3.000     0.500       0.250      100.00000");
  EXPECT_EQ(lines[31], "  12:    1.000     0.500       0.250      120.00000");
  EXPECT_EQ(lines[32], " FIN:    4.875     0.950");
}

}  // namespace
}  // namespace hdfe
