// The specification file: the twenty values, the idle stop defaults, the
// flat-road correction of the rolling resistance addend and the failures.

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <string>
#include <vector>

#include "input/readers.h"
#include "input/stop_message.h"
#include "support/test_support.h"

namespace hdfe {
namespace {

using testing::ScratchDir;
using testing::stopLines;

// A specification file as users write it: each value with a label behind it.
std::vector<std::string> specLines() {
  return {
      "'Test truck 1'      vehicle name",
      "t5                  category",
      "engine.txt          engine file",
      "trans.txt           transmission file",
      "4.875               final gear ratio",
      "0.4                 tire radius (m)",
      "0.0                 flat-road tire radius (m)",
      "0                   trace output",
      "0.001               rolling resistance addend",
      "0.0043              air resistance coefficient",
      "1                   idle stop",
      "5                   wait until engine stop (s)",
      "1                   idle stop at start",
      "10                  its duration (s)",
      "2                   engine start timing (s)",
      "1.05                Kf1",
      "0.98                Kf2",
      "urban.txt           urban gear schedule",
      "'highway gears.txt' highway gear schedule",
      "AMT_val.txt         shift parameters",
  };
}

std::string joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

struct SpecRecords {
  RunSettings settings;
  VehicleSpec vehicle;
  GearboxSpec gearbox;
};

SpecRecords readSpec(const std::string& path) {
  SpecRecords records;
  READSPEC(path, records.settings, records.vehicle, records.gearbox);
  return records;
}

SpecRecords readSpecLines(const std::vector<std::string>& lines) {
  ScratchDir dir;
  return readSpec(dir.write("spec.txt", joined(lines)));
}

TEST(ReadSpec, TakesOneValuePerLineAndIgnoresLabelsEmptyLinesAndExtraLines) {
  std::vector<std::string> lines = specLines();
  lines.insert(lines.begin() + 4, "");
  lines.insert(lines.begin() + 9, "   \t ");
  lines.push_back("extra line that nobody reads");
  const SpecRecords r = readSpecLines(lines);

  EXPECT_EQ(r.settings.VehicleName, "Test truck 1");
  EXPECT_EQ(r.settings.Category, "t5");  // upper-cased later, with the category table
  EXPECT_EQ(r.settings.EngineFile, "engine.txt");
  EXPECT_EQ(r.settings.TransmissionFile, "trans.txt");
  EXPECT_EQ(r.gearbox.FinalRatio, 4.875);
  EXPECT_EQ(r.vehicle.TireRadius, 0.4);
  EXPECT_EQ(r.vehicle.FlatTireRadius, 0.0);
  EXPECT_EQ(r.settings.TraceOutput, 0);
  EXPECT_EQ(r.settings.RollAddend, 0.001);
  EXPECT_EQ(r.settings.AirCoefficient, 0.0043);
  EXPECT_EQ(r.settings.IdleStop, 1);
  EXPECT_EQ(r.settings.IdleStopWait, 5);
  EXPECT_EQ(r.settings.StartIdleStop, 1);
  EXPECT_EQ(r.settings.StartIdleStopTime, 10);
  EXPECT_EQ(r.settings.EngineStartTiming, 2);
  EXPECT_EQ(r.settings.Kf1, 1.05);
  EXPECT_EQ(r.settings.Kf2, 0.98);
  EXPECT_EQ(r.settings.UrbanScheduleFile, "urban.txt");
  EXPECT_EQ(r.settings.HighwayScheduleFile, "highway gears.txt");
  EXPECT_EQ(r.settings.ShiftParamFile, "AMT_val.txt");
}

TEST(ReadSpec, UnquotedNameWithBlankKeepsItsFirstWordAndTheNextValueStaysInPlace) {
  std::vector<std::string> lines = specLines();
  lines[0] = "Test truck 1";
  const SpecRecords r = readSpecLines(lines);
  EXPECT_EQ(r.settings.VehicleName, "Test");
  EXPECT_EQ(r.settings.Category, "t5");
}

TEST(ReadSpec, FlatTireRadiusScalesTheRollingResistanceAddend) {
  struct Case {
    const char* flatTireRadius;
    double rollAddend;
  };
  const Case cases[] = {
      {"0", 0.001},                                   // unchanged
      {"3", 0.0005},                                  // halved
      {"0.5", 0.001 * std::sqrt(1.0 / (0.5 + 1.0))},  // by the root of 2/3
  };
  for (const Case& c : cases) {
    std::vector<std::string> lines = specLines();
    lines[6] = c.flatTireRadius;
    const SpecRecords r = readSpecLines(lines);
    EXPECT_EQ(r.settings.RollAddend, c.rollAddend) << "FlatTireRadius " << c.flatTireRadius;
    EXPECT_EQ(r.vehicle.FlatTireRadius, std::stod(c.flatTireRadius));
  }
}

TEST(ReadSpec, IdleStopNotFittedNeverStopsTheEngine) {
  struct Case {
    const char* idleStop;
    const char* startIdleStop;
    int wait;
    int startTime;
  };
  const Case cases[] = {
      {"0", "0", 999, 999}, {"1", "1", 5, 10},
      {"2", "2", 5, 10},  // any value but 0 keeps the times as read
      {"0", "1", 999, 10},  {"1", "0", 5, 999},
  };
  for (const Case& c : cases) {
    std::vector<std::string> lines = specLines();
    lines[10] = c.idleStop;
    lines[12] = c.startIdleStop;
    const SpecRecords r = readSpecLines(lines);
    EXPECT_EQ(r.settings.IdleStopWait, c.wait) << c.idleStop << " " << c.startIdleStop;
    EXPECT_EQ(r.settings.StartIdleStopTime, c.startTime) << c.idleStop << " " << c.startIdleStop;
  }
}

TEST(ReadSpec, FailuresEndTheRunWithTheirMessages) {
  const std::string readFailure = " Failed to read spec_data file ";
  struct Case {
    const char* what;
    std::size_t line;  // the line replaced; past the end: the file is cut there
    const char* value;
    std::string message;  // "@" stands for the file's name
  };
  const Case cases[] = {
      {"letters in the final ratio", 4, "four", readFailure},
      {"decimal point in the trace output", 7, "1.0", readFailure},
      {"decimal point in the idle stop", 10, "1.", readFailure},
      {"decimal point in the engine start timing", 14, "2.5", readFailure},
      {"letters in Kf2", 16, "x", readFailure},
      {"flat-road tire radius -1", 6, "-1",
       " Invalid spec-file [ @ ]: flat-road tire radius -1 is not above -1"},
      {"flat-road tire radius -2.5", 6, "-2.5",
       " Invalid spec-file [ @ ]: flat-road tire radius -2.5 is not above -1"},
  };
  for (const Case& c : cases) {
    ScratchDir dir;
    std::vector<std::string> lines = specLines();
    lines[c.line] = c.value;
    const std::string path = dir.write("spec.txt", joined(lines));
    std::string expected = c.message;
    if (const auto at = expected.find('@'); at != std::string::npos) expected.replace(at, 1, path);
    EXPECT_EQ(stopLines([&] { readSpec(path); }), std::vector<std::string>{expected}) << c.what;
  }
}

TEST(ReadSpec, ReadErrorComesBeforeTheFlatTireRadiusRefusal) {
  ScratchDir dir;
  std::vector<std::string> lines = specLines();
  lines[6] = "-1";
  lines[15] = "one";
  const std::string path = dir.write("spec.txt", joined(lines));
  EXPECT_EQ(stopLines([&] { readSpec(path); }),
            std::vector<std::string>{" Failed to read spec_data file "});
}

TEST(ReadSpec, MissingFileIsAFreeFormatLineAndAShortFileEndsAtTheEndOfFile) {
  ScratchDir dir;
  const std::string missing = dir.file("nothing.txt");
  EXPECT_EQ(stopLines([&] { readSpec(missing); }),
            std::vector<std::string>{"  Cannot open spec-file : " + missing});

  std::vector<std::string> lines = specLines();
  lines.pop_back();
  const std::string shortFile = dir.write("short.txt", joined(lines));
  EXPECT_EQ(stopLines([&] { readSpec(shortFile); }),
            std::vector<std::string>{testing::unguardedLine(shortFile, ReadStatus::EndOfFile)});
}

}  // namespace
}  // namespace hdfe
