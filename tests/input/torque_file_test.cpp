// Torque curve files: headers, counting and second pass, the speed sort, and
// the failures, including lines that hold a speed without its torque.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "input/readers.h"
#include "input/stop_message.h"
#include "support/test_support.h"

namespace hdfe {
namespace {

using testing::crlf;
using testing::ScratchDir;
using testing::stopLines;

using Points = std::vector<std::pair<double, double>>;

Points pointsOf(const TorqueCurve& curve) {
  Points points;
  for (std::int32_t i = 1; i <= curve.Count; ++i)
    points.emplace_back(curve.Speed[i], curve.Torque[i]);
  return points;
}

TorqueCurve readTorque(const std::string& path) {
  TorqueCurve curve;
  READTORQUE(path, curve);
  return curve;
}

TEST(ReadTorque, PointsAreSortedBySpeedWithTheirTorques) {
  ScratchDir dir;
  const TorqueCurve curve = readTorque(dir.write("full.txt", crlf("full-load curve\n"
                                                                  "rpm  Nm\n"
                                                                  "1600 900\n"
                                                                  "800  600   comment\n"
                                                                  "1200,1000\n")));
  EXPECT_EQ(curve.Count, 3);
  ASSERT_EQ(curve.Speed.size(), 4u);
  EXPECT_EQ(pointsOf(curve), (Points{{800, 600}, {1200, 1000}, {1600, 900}}));
}

TEST(ReadTorque, HeadersAreWholeLinesEvenEmptyAndEmptyDataLinesAreSkipped) {
  ScratchDir dir;
  const TorqueCurve curve = readTorque(
      dir.write("motoring.txt", "\n1000 999 looks like data\n600 -40\n\n  \t\n2200 -120\n"));
  EXPECT_EQ(pointsOf(curve), (Points{{600, -40}, {2200, -120}}));
}

TEST(ReadTorque, EqualSpeedsInsideTheCurveStayInTheOrderTheGappedSortLeaves) {
  ScratchDir dir;
  const TorqueCurve curve =
      readTorque(dir.write("full.txt", "h\nh\n1200 10\n900 20\n1200 30\n600 40\n1500 50\n"));
  // The gap-2 pass carries (1200, 30) ahead of (1200, 10).
  EXPECT_EQ(pointsOf(curve), (Points{{600, 40}, {900, 20}, {1200, 30}, {1200, 10}, {1500, 50}}));
}

TEST(ReadTorque, ManyPointsInReverseOrderComeOutAscending) {
  ScratchDir dir;
  std::string content = "h\nh\n";
  Points expected;
  for (int k = 23; k >= 1; --k) content += std::to_string(k * 100) + " " + std::to_string(k) + "\n";
  for (int k = 1; k <= 23; ++k) expected.emplace_back(k * 100, k);
  EXPECT_EQ(pointsOf(readTorque(dir.write("full.txt", content))), expected);
}

TEST(ReadTorque, FailuresEndTheRunWithTheirMessages) {
  struct Case {
    const char* what;
    const char* content;
    const char* message;  // after the file name
  };
  const std::string failed = " Failed to read torque data. Data No.= ";
  const Case cases[] = {
      {"a speed without torque shifts no later point", "h\nh\n1000 500\n1200\n1400 600\n",
       "2 in [ "},
      {"a last line holding a speed only", "h\nh\n1000 500\n1200 600\n1400\n", "3 in [ "},
      {"a trailing word after the data", "h\nh\n1000 500\n1200 600\nend\n", "3 in [ "},
      {"letters for a torque", "h\nh\n1000 five\n", "1 in [ "},
      {"headers only", "h\nh\n", ": fewer than two points (0)"},
      {"one point", "h\nh\n1000 500\n", ": fewer than two points (1)"},
      {"equal speeds at the low end", "h\nh\n1400 600\n800 300\n800 350\n",
       ": equal speeds in its first two points (800)"},
      {"equal speeds at the high end", "h\nh\n2200.5 600\n800 300\n2200.5 350\n",
       ": equal speeds in its last two points (2200.5)"},
  };
  for (const Case& c : cases) {
    ScratchDir dir;
    const std::string path = dir.write("full.txt", c.content);
    const std::string message = c.message;
    const std::string expected = message.back() == ' '
                                     ? failed + message + path + " ]"
                                     : " Invalid torque curve [ " + path + " ]" + message;
    EXPECT_EQ(stopLines([&] { readTorque(path); }), std::vector<std::string>{expected}) << c.what;
  }
}

TEST(ReadTorque, MissingFileAndFewerThanTwoHeaderLines) {
  ScratchDir dir;
  const std::string missing = dir.file("missing.txt");
  EXPECT_EQ(stopLines([&] { readTorque(missing); }),
            std::vector<std::string>{" Cannot open torque data file [ " + missing + " ]"});
  const std::string oneLine = dir.write("one.txt", "only a header\n");
  EXPECT_EQ(stopLines([&] { readTorque(oneLine); }),
            std::vector<std::string>{testing::unguardedLine(oneLine, ReadStatus::EndOfFile)});
}

}  // namespace
}  // namespace hdfe
