// The fuel map file: headers, idle line, counting and second pass, the two
// sorts, and the failures, including points that miss a value.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "input/readers.h"
#include "input/stop_message.h"
#include "support/test_support.h"

namespace hdfe {
namespace {

using testing::crlf;
using testing::ScratchDir;
using testing::stopLines;

using Points = std::vector<std::tuple<double, double, double>>;

Points pointsOf(const FuelMap& map) {
  Points points;
  for (std::int32_t i = 1; i <= map.Count; ++i) {
    points.emplace_back(map.Speed[i], map.Torque[i], map.Fuel[i]);
  }
  return points;
}

FuelMap readMap(const std::string& path) {
  FuelMap map;
  READFMAP(path, map);
  return map;
}

TEST(ReadFmap, PointsAreOrderedBySpeedThenTorqueWithTheirFuelRates) {
  ScratchDir dir;
  const FuelMap map = readMap(dir.write("fmap.txt", crlf("FUELMAP engine A\n"
                                                         "rpm Nm l/h\n"
                                                         "600 0 1.2   idle\n"
                                                         "1200 300 21.0\n"
                                                         "800 100 5.5\n"
                                                         "\n"
                                                         "1200,100,9.0  comment\n"
                                                         "800 50 3.25\n")));
  EXPECT_EQ(map.IdleFuel, 1.2);
  EXPECT_EQ(map.Count, 4);
  ASSERT_EQ(map.Fuel.size(), 5u);
  EXPECT_EQ(pointsOf(map),
            (Points{{800, 50, 3.25}, {800, 100, 5.5}, {1200, 100, 9.0}, {1200, 300, 21.0}}));
}

TEST(ReadFmap, EveryRunOfEqualSpeedIsSortedByTorque) {
  ScratchDir dir;
  std::string content = "\nh1\nh2\n600 0 1.5\n";  // an empty line before a header is passed over
  const double speeds[] = {1600, 800, 1200};
  for (const double torque : {400.0, 0.0, 200.0, 100.0}) {
    for (const double speed : speeds) {
      content += std::to_string(speed) + " " + std::to_string(torque) + " " +
                 std::to_string(speed / 100 + torque / 10) + "\n";
    }
  }
  const FuelMap map = readMap(dir.write("fmap.txt", content));
  EXPECT_EQ(map.IdleFuel, 1.5);
  Points expected;
  for (const double speed : {800.0, 1200.0, 1600.0}) {
    for (const double torque : {0.0, 100.0, 200.0, 400.0}) {
      expected.emplace_back(speed, torque, speed / 100 + torque / 10);
    }
  }
  EXPECT_EQ(pointsOf(map), expected);
}

TEST(ReadFmap, NearlyEqualSpeedsAreDifferentSpeedLines) {
  ScratchDir dir;
  const FuelMap map =
      readMap(dir.write("fmap.txt", "h\nh\n600 0 1\n1000.0001 50 2\n1000 100 3\n1000 80 4\n"));
  EXPECT_EQ(pointsOf(map), (Points{{1000, 80, 4}, {1000, 100, 3}, {1000.0001, 50, 2}}));
}

TEST(ReadFmap, FailuresEndTheRunWithTheirMessages) {
  struct Case {
    const char* what;
    const char* content;
    const char* refusal;  // empty: the read failure
  };
  const Case cases[] = {
      {"a trailing word after the points", "h\nh\n600 0 1\n1000 100 5\nend\n", ""},
      {"a point missing its fuel rate", "h\nh\n600 0 1\n1000 100\n1200 100 6 7\n1400 0 2\n", ""},
      {"a last point missing its fuel rate", "h\nh\n600 0 1\n1000 100 5\n1200 100\n", ""},
      {"letters in a point", "h\nh\n600 0 1\n1000 x 5\n", ""},
      {"letters on the idle line", "h\nh\n600 0 idle\n1000 100 5\n", ""},
      {"an unreadable repeat count in a header", "h\n0*h\n600 0 1\n1000 100 5\n", ""},
      {"an idle line whose numbers run on to the next line", "h\nh\n\n600 0\n1000 100 5\n",
       ": line 4 holds fewer than three numbers (600 0)"},
      {"an idle line followed by a word", "h\nh\n600 0\nend\n", ""},
      {"no points", "h\nh\n600 0 1\n\n", ": no measured points"},
  };
  for (const Case& c : cases) {
    ScratchDir dir;
    const std::string path = dir.write("fmap.txt", c.content);
    const std::string refusal = c.refusal;
    const std::string expected = refusal.empty() ? " Failed to read fuel map [ " + path + " ]"
                                                 : " Invalid fuel map [ " + path + " ]" + refusal;
    EXPECT_EQ(stopLines([&] { readMap(path); }), std::vector<std::string>{expected}) << c.what;
  }
}

TEST(ReadFmap, MissingFileAndEndOfFileBeforeTheIdleLineIsComplete) {
  ScratchDir dir;
  const std::string missing = dir.file("missing.txt");
  EXPECT_EQ(stopLines([&] { readMap(missing); }),
            std::vector<std::string>{" Cannot open map data file [ " + missing + " ]"});
  for (const char* content : {"h\n", "h\nh\n", "h\nh\n600 0\n"}) {
    const std::string path = dir.write("short.txt", content);
    EXPECT_EQ(stopLines([&] { readMap(path); }),
              std::vector<std::string>{testing::unguardedLine(path, ReadStatus::EndOfFile)})
        << content;
  }
}

}  // namespace
}  // namespace hdfe
