// End to end: every bundled example vehicle runs completely, and its console
// output, results file (trace blocks included) and info file match the
// committed expected files; the schedule tool reproduces the committed gear
// schedules. After a deliberate change of the figures (a new URBAN table, for
// instance) set HDFE_UPDATE_EXPECTED=1 once to rewrite the expected files, then
// review the difference before committing it.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <regex>
#include <sstream>
#include <string>

#include "run/driver.h"
#include "run/gear_schedule.h"
#include "support/test_support.h"

namespace hdfe {
namespace {

namespace fs = std::filesystem;
using hdfe::testing::readFile;
using hdfe::testing::ScratchDir;

fs::path examplePath(const std::string& name) {
  return fs::path(HDFE_SOURCE_DIR) / "examples" / name;
}
fs::path expectedPath(const std::string& name, const std::string& file) {
  return hdfe::testing::fixturePath("examples/" + name + "/" + file);
}
bool updatingExpected() { return std::getenv("HDFE_UPDATE_EXPECTED") != nullptr; }

void expectSameAsCommitted(const std::string& example, const std::string& file,
                           const std::string& actual) {
  const fs::path expected = expectedPath(example, file);
  if (updatingExpected()) {
    fs::create_directories(expected.parent_path());
    hdfe::testing::writeFile(expected, actual);
    return;
  }
  const std::string committed = readFile(expected);
  EXPECT_TRUE(actual == committed)
      << example << ": " << file << " differs from " << expected << " (" << actual.size()
      << " bytes against " << committed.size() << ")";
}

class ExampleVehicle : public ::testing::TestWithParam<std::string> {};

TEST_P(ExampleVehicle, RunsCompletelyWithTheCommittedOutput) {
  const std::string example = GetParam();
  // In a copy of the example's folder, as a user would run it.
  ScratchDir scratch;
  hdfe::testing::copyExample(example, scratch.path());
  const hdfe::testing::RunOutput run =
      hdfe::testing::runHdfeIn(scratch.path(), {"spec.txt", "result"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  expectSameAsCommitted(example, "console.txt", run.out);
  expectSameAsCommitted(example, "result.txt", readFile(scratch.path() / "result"));

  const std::string info = readFile(scratch.path() / "result_info.txt");
  const std::regex form(
      " Version 20221014\r\n"
      " (Mon|Tue|Wed|Thu|Fri|Sat|Sun) [A-Z][a-z]{2} [ 123][0-9] [0-9]{2}:[0-9]{2}:[0-9]{2} "
      "[0-9]{4}\r\n");
  EXPECT_TRUE(std::regex_match(info, form)) << info;
}

TEST_P(ExampleVehicle, ScheduleToolReproducesTheCommittedSchedules) {
  const std::string example = GetParam();
  Evaluation vehicle;
  {
    hdfe::testing::WorkingDirectory inside(examplePath(example));
    vehicle.settings.InputName = "spec.txt";
    loadVehicle(vehicle);
  }
  for (const auto& [cycle, file] : {std::pair{urbanCycle(), "urban_shift.txt"},
                                    std::pair{highwayCycle(), "highway_shift.txt"}}) {
    std::ostringstream schedule;
    writeGearSchedule(schedule, cycle, makeGearSchedule(cycle, vehicle));
    EXPECT_TRUE(schedule.str() == readFile(examplePath(example) / file))
        << example << ": " << file << " is not what hdfe-schedule writes";
  }
}

INSTANTIATE_TEST_SUITE_P(Examples, ExampleVehicle,
                         ::testing::Values("t5-truck", "tt2-tractor", "br4-city-bus"),
                         [](const auto& info) {
                           std::string name = info.param;
                           for (char& c : name) c = c == '-' ? '_' : c;
                           return name;
                         });

}  // namespace
}  // namespace hdfe
