// The run driver's frame: names from the command line or the console prompts,
// the special first arguments, and the exit status of a stopped run.

#include "run/driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace hdfe {
namespace {

using hdfe::testing::RunOutput;

// A run of the whole program in the current working directory.
RunOutput run(const std::vector<std::string>& args, const std::string& consoleInput = "") {
  return hdfe::testing::runHdfeIn(std::filesystem::current_path(), args, consoleInput);
}

const std::string kInputPrompt = " TYPE FILENAME FOR INPUT : ";
const std::string kOutputPrompt = " TYPE FILENAME FOR OUTPUT : ";

TEST(DriverNames, PromptsAppearOnlyForMissingNames) {
  struct Case {
    const char* what;
    std::vector<std::string> args;
    std::string console;
    std::string expectedOut;
    std::string missingSpec;  // the name the run then fails to open
  };
  const std::vector<Case> cases = {
      {"both on the command line", {"no-such-spec", "run1"}, "", "", "no-such-spec"},
      {"only the specification", {"no-such-spec"}, "run1\n", kOutputPrompt, "no-such-spec"},
      {"neither", {}, "no-such-spec\nrun1\n", kInputPrompt + kOutputPrompt, "no-such-spec"},
      {"blank arguments count as missing",
       {"   ", ""},
       "  spec2  \r\nrun1\n",
       kInputPrompt + kOutputPrompt,
       "spec2"},
      {"null value and slash ask again",
       {},
       ",\n/\n\n'spec 3' trailing words\n, \nrun1\n",
       kInputPrompt + kInputPrompt + kInputPrompt + kOutputPrompt + kOutputPrompt,
       "spec 3"},
      {"extra arguments are ignored", {"no-such-spec", "run1", "extra"}, "", "", "no-such-spec"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const RunOutput result = run(c.args, c.console);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, c.expectedOut);
    EXPECT_EQ(result.err, "  Cannot open spec-file : " + c.missingSpec + "\r\n");
  }
}

TEST(DriverNames, LongArgumentIsCutTo1024Characters) {
  const std::string longName(1030, 'a');
  const RunOutput result = run({longName, "out"});
  EXPECT_EQ(result.err, "  Cannot open spec-file : " + std::string(1024, 'a') + "\r\n");
}

TEST(DriverNames, EndOfConsoleInputWhileWaitingForANameFails) {
  const RunOutput result = run({}, "\n\n");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, kInputPrompt);
  EXPECT_NE(result.err.find("console"), std::string::npos) << result.err;
}

TEST(DriverNames, HelpAndVersionAreTheOnlySpecialFirstArguments) {
  const RunOutput help = run({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out.rfind("Usage: hdfe", 0), 0u) << help.out;
  const RunOutput version = run({"--version", "ignored"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "hdfe Version 20221014\r\n");
  // Anywhere else they are plain names.
  const RunOutput second = run({"spec-missing", "--help"});
  EXPECT_EQ(second.status, 1);
  EXPECT_EQ(second.err, "  Cannot open spec-file : spec-missing\r\n");
}

// A complete run in a copy of the T5 example truck, inside its folder.
class CompleteRun : public ::testing::Test {
 protected:
  CompleteRun() { hdfe::testing::copyExample("t5-truck", scratch_.path()); }

  hdfe::testing::ScratchDir scratch_;
  hdfe::testing::WorkingDirectory inside_{scratch_.path()};
};

TEST_F(CompleteRun, NamesFromThePromptsGiveTheSameRunAsTheCommandLine) {
  const RunOutput byArguments = run({"spec.txt", "first"});
  const RunOutput byPrompts = run({}, "spec.txt\nsecond\n");
  ASSERT_EQ(byArguments.status, 0) << byArguments.err;
  ASSERT_EQ(byPrompts.status, 0) << byPrompts.err;
  const std::string tail = " OUTPUT FILE : first\r\n  complete.\r\n";
  ASSERT_GT(byArguments.out.size(), tail.size());
  EXPECT_EQ(byArguments.out.substr(byArguments.out.size() - tail.size()), tail);
  std::string expected = byArguments.out;
  expected.replace(expected.size() - tail.size(), tail.size(),
                   " OUTPUT FILE : second\r\n  complete.\r\n");
  EXPECT_EQ(byPrompts.out, kInputPrompt + kOutputPrompt + expected);
  EXPECT_EQ(hdfe::testing::readFile("first"), hdfe::testing::readFile("second"));
  EXPECT_EQ(hdfe::testing::readFile("second_info.txt").substr(0, 19), " Version 20221014\r\n");
}

TEST_F(CompleteRun, RerunningRewritesTheResultsFileInsteadOfAppending) {
  ASSERT_EQ(run({"spec.txt", "result"}).status, 0);
  const std::string once = hdfe::testing::readFile("result");
  ASSERT_EQ(run({"spec.txt", "result"}).status, 0);
  EXPECT_EQ(hdfe::testing::readFile("result"), once);
  // Only the two files of the run remain beside the inputs: no scratch file.
  for (const auto& entry : std::filesystem::directory_iterator(".")) {
    EXPECT_EQ(entry.path().filename().string().find(".partial"), std::string::npos);
  }
}

TEST_F(CompleteRun, TraceOutputOtherThanOneEndsTheFileAfterMidTown) {
  for (const std::string value : {"0", "2"}) {
    std::string spec = hdfe::testing::readFile("spec.txt");
    const auto line8 = spec.find("1                  trace output");
    ASSERT_NE(line8, std::string::npos);
    spec.replace(line8, 1, value);
    hdfe::testing::writeFile("spec.txt", spec);
    ASSERT_EQ(run({"spec.txt", "result"}).status, 0);
    const std::string result = hdfe::testing::readFile("result");
    EXPECT_EQ(std::count(result.begin(), result.end(), '\n'), 30);
    EXPECT_EQ(result.find("URBAN\r\ntime(s)"), std::string::npos);
    hdfe::testing::writeFile(
        "spec.txt", hdfe::testing::readFile(std::filesystem::path(HDFE_SOURCE_DIR) / "examples" /
                                            "t5-truck" / "spec.txt"));
  }
}

TEST_F(CompleteRun, SpansWithoutFuelPrintAsteriskFiguresWithAWarning) {
  // A map and an idle rate of zero fuel: no span consumes anything.
  std::ofstream map("fuelmap.txt", std::ios::binary | std::ios::trunc);
  map << "FUELMAP\r\nzero\r\n650 0 0\r\n";
  for (const int speed : {650, 1500, 3100}) {
    for (const int torque : {10, 200, 400}) map << speed << " " << torque << " 0\r\n";
  }
  map.close();
  const RunOutput result = run({"spec.txt", "result"});
  ASSERT_EQ(result.status, 0) << result.err;
  for (const char* span : {"URBAN", "MID-TOWN", "HIGHWAY"}) {
    EXPECT_NE(result.out.find(std::string("Warning!: no fuel consumed over ") + span),
              std::string::npos)
        << result.out;
  }
  const std::string file = hdfe::testing::readFile("result");
  EXPECT_NE(file.find("FC(km/l)\t********\tAve.Speed(km/h)\t 26.9"), std::string::npos);
  EXPECT_NE(file.find("FC(km/l)\t********\tHIGHWAY RATIO\t 0.35"), std::string::npos);
}

TEST_F(CompleteRun, AnOutputFileThatCannotBeCreatedFailsTheRun) {
  const RunOutput result = run({"spec.txt", "no-such-folder/result"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err,
            " Cannot write output file [ no-such-folder/result_info.txt ]: No such file or "
            "directory\r\n");
  const std::string last = " OUTPUT FILE : no-such-folder/result\r\n";
  EXPECT_EQ(result.out.substr(result.out.size() - last.size()), last);
}

TEST(DriverClock, DateAndTimeHaveTheFixed24CharacterForm) {
  const std::string text = localDateTime();
  ASSERT_EQ(text.size(), 24u) << text;
  const std::regex form(
      "(Mon|Tue|Wed|Thu|Fri|Sat|Sun) (Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) "
      "[ 1-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-6][0-9] [0-9]{4}");
  EXPECT_TRUE(std::regex_match(text, form)) << text;
}

}  // namespace
}  // namespace hdfe
