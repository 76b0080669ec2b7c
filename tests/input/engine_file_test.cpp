// The engine file: three file names, three engine speeds, and the failures.

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

struct EngineRecords {
  RunSettings settings;
  EngineSpec engine;
};

EngineRecords readEngine(const std::string& path) {
  EngineRecords records;
  READENGINE(path, records.settings, records.engine);
  return records;
}

TEST(ReadEngine, ThreeNamesThenIdleRatedAndOverrunSpeeds) {
  ScratchDir dir;
  const std::string path = dir.write("engine.txt", crlf("fmap.txt              fuel map\n"
                                                        "'full load curve.txt' full-load curve\n"
                                                        "\n"
                                                        "motoring.txt, comment\n"
                                                        "600 rpm idle\n"
                                                        "2200\n"
                                                        "2600\n"
                                                        "a seventh line is ignored\n"));
  const EngineRecords r = readEngine(path);
  EXPECT_EQ(r.settings.FuelMapFile, "fmap.txt");
  EXPECT_EQ(r.settings.FullLoadCurveFile, "full load curve.txt");
  EXPECT_EQ(r.settings.MotoringCurveFile, "motoring.txt");
  EXPECT_EQ(r.engine.Nidle, 600.0);
  EXPECT_EQ(r.engine.Nrate, 2200.0);
  EXPECT_EQ(r.engine.Nex, 2600.0);
}

TEST(ReadEngine, FailuresEndTheRunWithTheirMessages) {
  struct Case {
    const char* what;
    const char* content;
    const char* refusal;  // empty: the read failure
  };
  const Case cases[] = {
      {"non-numeric idle speed", "a\nb\nc\nsix hundred\n2200\n2600\n", ""},
      {"non-numeric overrun speed with rated equal to idle", "a\nb\nc\n600\n600\nmax\n", ""},
      {"rated speed equal to idle", "a\nb\nc\n600\n600\n2600\n",
       ": rated speed 600 is not above idle speed 600"},
      {"rated speed below idle", "a\nb\nc\n800\n750.5\n2600\n",
       ": rated speed 750.5 is not above idle speed 800"},
  };
  for (const Case& c : cases) {
    ScratchDir dir;
    const std::string path = dir.write("engine.txt", c.content);
    const std::string refusal = c.refusal;
    const std::string expected = refusal.empty()
                                     ? " Failed to read engine file [ " + path + " ]"
                                     : " Invalid engine file [ " + path + " ]" + refusal;
    EXPECT_EQ(stopLines([&] { readEngine(path); }), std::vector<std::string>{expected}) << c.what;
  }
}

TEST(ReadEngine, MissingFileAndFiveValues) {
  ScratchDir dir;
  const std::string missing = dir.file("missing.txt");
  EXPECT_EQ(stopLines([&] { readEngine(missing); }),
            std::vector<std::string>{" Cannot open engine file [ " + missing + " ]"});
  // A folder of that name is no engine file either.
  EXPECT_EQ(stopLines([&] { readEngine(dir.path().string()); }),
            std::vector<std::string>{" Cannot open engine file [ " + dir.path().string() + " ]"});

  const std::string five = dir.write("five.txt", "a\nb\nc\n600\n2200\n");
  EXPECT_EQ(stopLines([&] { readEngine(five); }),
            std::vector<std::string>{testing::unguardedLine(five, ReadStatus::EndOfFile)});
}

}  // namespace
}  // namespace hdfe
