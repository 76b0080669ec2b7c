// The transmission file: counts, ratios one per line, kind, and the failures.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "input/readers.h"
#include "input/stop_message.h"
#include "support/test_support.h"

namespace hdfe {
namespace {

using testing::crlf;
using testing::ScratchDir;
using testing::stopLines;

GearboxSpec readTrans(const std::string& path) {
  GearboxSpec gearbox;
  READTRANS(path, gearbox);
  return gearbox;
}

TEST(ReadTrans, SixMainRatiosOneAuxiliaryRatioManualKind) {
  ScratchDir dir;
  const std::string path = dir.write("trans.txt", crlf("2      low gears\n"
                                                       "6      main ratios\n"
                                                       "6.5\n4.2\n2.6\n1.6\n1.0\n0.8\n"
                                                       "1      auxiliary ratios\n"
                                                       "1.0\n"
                                                       "0      kind\n"
                                                       "extra lines are ignored\n"));
  const GearboxSpec g = readTrans(path);
  EXPECT_EQ(g.LowGearCount, 2);
  EXPECT_EQ(g.MainRatioCount, 6);
  EXPECT_EQ(g.MainRatios, (std::vector<double>{0.0, 6.5, 4.2, 2.6, 1.6, 1.0, 0.8}));
  EXPECT_EQ(g.SubRatioCount, 1);
  EXPECT_EQ(g.SubRatios, (std::vector<double>{0.0, 1.0}));
  EXPECT_EQ(g.Kind, 0);
}

TEST(ReadTrans, EachRatioIsOneReadAndAZeroCountReadsNoRatio) {
  ScratchDir dir;
  // "6.5, 4.2" gives 6.5 only; 4.2 is lost and the next ratio is 2.6.
  const GearboxSpec two = readTrans(dir.write("two.txt", "1\n2\n6.5, 4.2\n2.6\n1\n1.0\n2\n"));
  EXPECT_EQ(two.MainRatios, (std::vector<double>{0.0, 6.5, 2.6}));
  EXPECT_EQ(two.Kind, 2);

  const GearboxSpec none = readTrans(dir.write("none.txt", "0\n0\n2\n1.2\n1.0\n1\n"));
  EXPECT_EQ(none.MainRatioCount, 0);
  EXPECT_EQ(none.MainRatios, std::vector<double>{0.0});
  EXPECT_EQ(none.SubRatios, (std::vector<double>{0.0, 1.2, 1.0}));
  EXPECT_EQ(none.Kind, 1);
}

TEST(ReadTrans, FailuresEndTheRunWithTheirMessages) {
  struct Case {
    const char* what;
    const char* content;
    const char* message;  // after " [ " + the file's name + " ]"
  };
  const std::string failed = " Failed to read transmission file [ ";
  const std::string invalid = " Invalid transmission file [ ";
  const Case cases[] = {
      {"decimal point in a count", "2\n6.0\n", ""},
      {"letters in a ratio", "2\n2\n6.5\nfour\n1\n1.0\n0\n", ""},
      {"decimal point in the kind", "0\n1\n1.0\n1\n1.0\n1.5\n", ""},
      {"negative main ratio count", "0\n-1\n1\n1.0\n0\n",
       ": negative number of main gear ratios (-1)"},
      {"negative auxiliary ratio count", "0\n1\n1.0\n-2\nx\n",
       ": negative number of auxiliary ratios (-2)"},
  };
  for (const Case& c : cases) {
    ScratchDir dir;
    const std::string path = dir.write("trans.txt", c.content);
    const std::string message = std::string(c.message);
    const std::string expected =
        message.empty() ? failed + path + " ]" : invalid + path + " ]" + message;
    EXPECT_EQ(stopLines([&] { readTrans(path); }), std::vector<std::string>{expected}) << c.what;
  }
}

TEST(ReadTrans, MissingFileAndFewerRatiosThanAnnounced) {
  ScratchDir dir;
  const std::string missing = dir.file("missing.txt");
  EXPECT_EQ(stopLines([&] { readTrans(missing); }),
            std::vector<std::string>{" Cannot open transmission file [ " + missing + " ]"});

  // A count far beyond the file's lines ends at the end of the file.
  const std::string shortFile = dir.write("short.txt", "1\n2000000000\n6.5\n4.2\n");
  EXPECT_EQ(stopLines([&] { readTrans(shortFile); }),
            std::vector<std::string>{testing::unguardedLine(shortFile, ReadStatus::EndOfFile)});
}

}  // namespace
}  // namespace hdfe
