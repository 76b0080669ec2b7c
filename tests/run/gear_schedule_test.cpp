// The gear schedule generator: its rule on the example vehicles, and the
// command line of hdfe-schedule.

#include "run/gear_schedule.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "run/driver.h"
#include "support/test_support.h"

namespace hdfe {
namespace {

namespace fs = std::filesystem;

Evaluation loadExample(const std::string& name) {
  hdfe::testing::WorkingDirectory inside(fs::path(HDFE_SOURCE_DIR) / "examples" / name);
  Evaluation vehicle;
  vehicle.settings.InputName = "spec.txt";
  loadVehicle(vehicle);
  return vehicle;
}

TEST(GearSchedule, FollowsItsRuleOnEveryExample) {
  for (const std::string name : {"t5-truck", "tt2-tractor", "br4-city-bus"}) {
    SCOPED_TRACE(name);
    const Evaluation vehicle = loadExample(name);
    for (const DriveCycle& cycle : {urbanCycle(), highwayCycle()}) {
      SCOPED_TRACE(std::string(cycle.Name));
      const auto shift = makeGearSchedule(cycle, vehicle);
      ASSERT_EQ(shift.size(), static_cast<std::size_t>(cycle.Seconds) + 1);
      std::int32_t changes = 0;
      for (std::int32_t t = 1; t <= cycle.Seconds; ++t) {
        const auto g = shift[static_cast<std::size_t>(t)];
        // Gear 0 exactly at standstill, a gear of the table everywhere else.
        EXPECT_EQ(g == 0, cycle.Vtarget[t] == 0.0) << "second " << t;
        EXPECT_LE(g, vehicle.gearbox.GearCount) << "second " << t;
        // Moving off in one of the start gears.
        if (t > 1 && cycle.Vtarget[t] > 0.0 && cycle.Vtarget[t - 1] == 0.0) {
          EXPECT_LE(g, vehicle.gearbox.StartGearLimit) << "moving off at second " << t;
        }
        if (t > 1 && g != shift[static_cast<std::size_t>(t - 1)]) ++changes;
      }
      // No hunting: far fewer changes than seconds.
      EXPECT_LT(changes, cycle.Seconds / 4);
    }
  }
}

TEST(GearSchedule, HighwayCruiseIsInTopGearOnTheLevel) {
  const Evaluation truck = loadExample("t5-truck");
  const auto shift = makeGearSchedule(highwayCycle(), truck);
  EXPECT_EQ(shift[1], truck.gearbox.GearCount);  // entries 1..4 are level road at 80 km/h
}

int runTool(const std::string& arguments) {
  const std::string command =
      std::string(HDFE_BINARY_DIR) + "/hdfe-schedule " + arguments + " >/dev/null 2>&1";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(GearScheduleTool, RefusesBadCommandLinesAndMissingFiles) {
  hdfe::testing::ScratchDir scratch;
  EXPECT_EQ(runTool(""), 1);
  EXPECT_EQ(runTool("only-one"), 1);
  EXPECT_EQ(runTool("--help"), 0);
  EXPECT_EQ(
      runTool(scratch.file("missing-spec") + " " + scratch.file("u") + " " + scratch.file("h")), 1);
  EXPECT_FALSE(fs::exists(scratch.file("u")));
}

}  // namespace
}  // namespace hdfe
