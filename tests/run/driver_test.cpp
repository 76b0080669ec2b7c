// The run driver's frame: names from the command line or the console prompts,
// the special first arguments, and the exit status of a stopped run.

#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "run/driver.h"
#include "support/test_support.h"

namespace hdfe {
namespace {

struct RunOutput {
  int status;
  std::string out;
  std::string err;
};

RunOutput run(const std::vector<std::string>& args, const std::string& consoleInput = "") {
  std::istringstream in(consoleInput);
  std::ostringstream out;
  std::ostringstream err;
  Console console{in, out, err};
  const int status = runHdfe(args, console);
  return {status, out.str(), err.str()};
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
      {"blank arguments count as missing", {"   ", ""}, "  spec2  \r\nrun1\n",
       kInputPrompt + kOutputPrompt, "spec2"},
      {"null value and slash ask again", {}, ",\n/\n\n'spec 3' trailing words\n, \nrun1\n",
       kInputPrompt + kInputPrompt + kInputPrompt + kOutputPrompt + kOutputPrompt, "spec 3"},
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
