// The results file: the 30 lines byte for byte (Shift_JIS labels, tabs,
// trailing blanks, CR LF) and the fields at their edges.

#include <gtest/gtest.h>

#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "report/reports.h"
#include "support/test_support.h"

namespace hdfe {
namespace {

struct ResultInputs {
  RunSettings settings;
  VehicleSpec vehicle;
  GearboxSpec gearbox;
  ModeFigures urban{5.0, 27.34};
  ModeFigures midTown{4.0, 18.04};
  ModeFigures highway{8.0, 79.96};

  // The fixture's tractor: idle stop off (999 waits), an empty vehicle name
  // and a Kf1 too wide for its field.
  ResultInputs() {
    settings.VehicleName = "";
    settings.Category = "TT2";
    settings.InputName = "spec_tt2.txt";
    settings.EngineFile = "eng/E13.txt";
    settings.TransmissionFile = "trans/M12.txt";
    settings.IdleStop = 0;
    settings.IdleStopWait = 999;
    settings.StartIdleStop = 0;
    settings.StartIdleStopTime = 999;
    settings.EngineStartTiming = 0;
    settings.Kf1 = 12.5;
    settings.Kf2 = 1.0;
    vehicle.TireRadius = 0.5;
    vehicle.FlatTireRadius = 0.4875;
    vehicle.HighwayRatio = 0.7;
    gearbox.FinalRatio = 6.5;
  }

  std::string write() const {
    std::ostringstream file;
    WRITERESULT(file, settings, vehicle, gearbox, urban, midTown, highway);
    return file.str();
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

// The last tab-separated field of a line.
std::string lastField(const std::string& line) { return line.substr(line.rfind('\t') + 1); }

TEST(ResultsFile, MatchesTheCommittedFileByteForByte) {
  const std::string expected = testing::readFile(testing::fixturePath("report/results_tt2.txt"));
  const std::string written = ResultInputs().write();
  EXPECT_EQ(written, expected);
  // Compared line by line as well, so a failure names the line.
  const std::vector<std::string> expectedLines = linesOf(expected);
  const std::vector<std::string> writtenLines = linesOf(written);
  ASSERT_EQ(writtenLines.size(), 30u);
  for (std::size_t i = 0; i < expectedLines.size() && i < writtenLines.size(); ++i) {
    EXPECT_EQ(writtenLines[i], expectedLines[i]) << "line " << i + 1;
  }
}

TEST(ResultsFile, SettingFieldsAtTheirEdges) {
  struct Case {
    const char* what;
    void (*change)(ResultInputs&);
    std::size_t line;  // 1-based
    std::string expected;
  };
  const Case cases[] = {
      {"named vehicle, trailing blanks already gone",
       [](ResultInputs& r) { r.settings.VehicleName = "Tractor head, 12-speed AMT TT2"; }, 1,
       "VEHICLENAME\tTractor head, 12-speed AMT TT2"},
      {"idle stop on", [](ResultInputs& r) { r.settings.IdleStop = 1; }, 9, " 1"},
      {"two-digit wait", [](ResultInputs& r) { r.settings.IdleStopWait = 15; }, 10, "15"},
      {"start idle stop on", [](ResultInputs& r) { r.settings.StartIdleStop = 1; }, 11, " 1"},
      {"start idle stop time", [](ResultInputs& r) { r.settings.StartIdleStopTime = 7; }, 12, " 7"},
      {"engine start timing", [](ResultInputs& r) { r.settings.EngineStartTiming = -1; }, 13, "-1"},
      {"Kf1 of 1", [](ResultInputs& r) { r.settings.Kf1 = 1.0; }, 18, "1.000000"},
      {"Kf1 just below 10", [](ResultInputs& r) { r.settings.Kf1 = 9.999999; }, 30, "9.999999"},
      {"Kf1 of exactly 10", [](ResultInputs& r) { r.settings.Kf1 = 10.0; }, 18, "********"},
      {"Kf2 below 1", [](ResultInputs& r) { r.settings.Kf2 = 0.95; }, 22, "0.950000"},
      {"highway ratio 0", [](ResultInputs& r) { r.vehicle.HighwayRatio = 0.0; }, 25, " 0.00"},
      {"highway ratio 1", [](ResultInputs& r) { r.vehicle.HighwayRatio = 1.0; }, 25, " 1.00"},
      {"widest final ratio", [](ResultInputs& r) { r.gearbox.FinalRatio = 12.345678; }, 6,
       "12.34568"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ResultInputs inputs;
    c.change(inputs);
    const std::vector<std::string> lines = linesOf(inputs.write());
    ASSERT_EQ(lines.size(), 30u);
    if (c.line == 1) {
      EXPECT_EQ(lines[0], c.expected);
    } else {
      EXPECT_EQ(lastField(lines[c.line - 1]), c.expected);
    }
  }
}

TEST(ResultsFile, FinalRatioTooWideOverflows) {
  ResultInputs inputs;
  inputs.gearbox.FinalRatio = 1000.0;
  EXPECT_EQ(lastField(linesOf(inputs.write())[5]), "********");
}

// The fuel economy field of a figure line: the fifth field, F8.4.
std::string fuelEconomyField(const std::string& line) {
  std::size_t start = 0;
  for (int tab = 0; tab < 2; ++tab) start = line.find('\t', start) + 1;
  return line.substr(start, 8);
}

TEST(ResultsFile, FiguresTooWideOrNotFinitePrintAsAsterisks) {
  ResultInputs inputs;
  inputs.settings.Kf1 = 1.0;
  inputs.highway.FuelEconomy = 1000.0;
  inputs.midTown.FuelEconomy = 999.99994;
  inputs.urban.FuelEconomy = std::numeric_limits<double>::infinity();
  const std::vector<std::string> lines = linesOf(inputs.write());
  ASSERT_EQ(lines.size(), 30u);
  // URBAN without fuel: its figure and everything built on it, the
  // AVERAGE included, show asterisks; its speed still prints.
  EXPECT_EQ(fuelEconomyField(lines[15]), "********");
  EXPECT_EQ(lastField(lines[15]), " 27.3");
  EXPECT_EQ(fuelEconomyField(lines[16]), "********");
  EXPECT_EQ(fuelEconomyField(lines[17]), "********");
  EXPECT_EQ(fuelEconomyField(lines[24]), "********");
  EXPECT_EQ(fuelEconomyField(lines[20]), "********");  // 1000 km/l does not fit
  EXPECT_EQ(fuelEconomyField(lines[21]), "********");
  EXPECT_EQ(fuelEconomyField(lines[27]), "999.9999");  // the widest that fits
  EXPECT_EQ(lines[28],
            "\x81@\x89\xdf\x93n\x95\xe2\x90\xb3\x8c\xe3    \tFC(km/l)\t970.8737\t3%"
            "\x95\xe2\x90\xb3 ");
}

TEST(ResultsFile, AverageSpeedRoundsToOneDecimal) {
  ResultInputs inputs;
  inputs.urban.AveSpeed = 0.04;
  inputs.highway.AveSpeed = 100.0;
  inputs.midTown.AveSpeed = std::numeric_limits<double>::quiet_NaN();
  const std::vector<std::string> lines = linesOf(inputs.write());
  EXPECT_EQ(lastField(lines[15]), "  0.0");
  EXPECT_EQ(lastField(lines[20]), "100.0");
  EXPECT_EQ(lastField(lines[27]), "*****");
}

}  // namespace
}  // namespace hdfe
