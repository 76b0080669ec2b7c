// Gear schedule files: a header, then the gear of every second, one line
// each; lines past the cycle are ignored.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "input/readers.h"
#include "input/stop_message.h"
#include "support/test_support.h"

namespace hdfe {
namespace {

using testing::ScratchDir;
using testing::stopLines;

// A header and one line per second, the gear cycling 0..3.
std::string scheduleOf(int seconds) {
  std::string text = "TIME GEAR\r\n";
  for (int t = 1; t <= seconds; ++t) {
    text += std::to_string(t) + " " + std::to_string(t % 4) + "\r\n";
  }
  return text;
}

std::vector<std::int32_t> readShift(const std::string& path, std::int32_t seconds) {
  std::vector<std::int32_t> shift(static_cast<std::size_t>(seconds) + 1, -1);
  READSHIFT(path, seconds, shift);
  return shift;
}

TEST(ReadShift, UrbanScheduleFillsEverySecondAndIgnoresLineBeyondIt) {
  ScratchDir dir;
  const std::string path = dir.write("urban.txt", scheduleOf(1830) + "1831 not a gear\r\n");
  const std::vector<std::int32_t> shift = readShift(path, 1830);
  ASSERT_EQ(shift.size(), 1831u);
  EXPECT_EQ(shift[0], -1);
  for (int t = 1; t <= 1830; ++t) ASSERT_EQ(shift[t], t % 4) << "second " << t;
}

TEST(ReadShift, UrbanScheduleReadForTheHighwayEndsAtTheEndOfFile) {
  ScratchDir dir;
  const std::string path = dir.write("urban.txt", scheduleOf(1830));
  EXPECT_EQ(stopLines([&] { readShift(path, 3120); }),
            std::vector<std::string>{testing::unguardedLine(path, ReadStatus::EndOfFile)});
}

TEST(ReadShift, TimesAreWordsAndThePositionGivesTheSecond) {
  ScratchDir dir;
  const std::string path = dir.write("sched.txt",
                                     "\n"  // an empty first line is passed over
                                     "header\n"
                                     "'1' 1\n"
                                     "\"2 s\" 2 trailing text\n"
                                     "2 3\n"  // repeated time
                                     "\n"
                                     "9, 0\n");  // skipped times
  EXPECT_EQ(readShift(path, 4), (std::vector<std::int32_t>{-1, 1, 2, 3, 0}));
}

TEST(ReadShift, FailuresEndTheRunWithTheirMessages) {
  struct Case {
    const char* what;
    const char* content;
    std::int32_t seconds;
    std::string message;  // "@" stands for the file's name
  };
  const std::string unreadable = testing::unguardedLine("@", ReadStatus::ReadError);
  const std::string endOfFile = testing::unguardedLine("@", ReadStatus::EndOfFile);
  const Case cases[] = {
      {"a time without gear", "h\n1 1\n2\n3 2\n4 2\n", 3,
       " Invalid AMT shift file [ @ ]: line 3 holds no gear number"},
      {"a time without gear before a word", "h\n1 1\n2\nthree 2\n", 3, unreadable},
      {"a time without gear on the last line", "h\n1 1\n2\n", 2, endOfFile},
      {"a gear that is not an integer", "h\n1 1\n2 2.0\n", 2, unreadable},
      {"no header", "", 2, endOfFile},
      {"an unreadable header", "0*x\n1 1\n", 1, " Failed to read AMT shift file [ @ ]"},
  };
  for (const Case& c : cases) {
    ScratchDir dir;
    const std::string path = dir.write("sched.txt", c.content);
    std::string expected = c.message;
    expected.replace(expected.find('@'), 1, path);
    EXPECT_EQ(stopLines([&] { readShift(path, c.seconds); }), std::vector<std::string>{expected})
        << c.what;
  }
}

TEST(ReadShift, MissingFile) {
  ScratchDir dir;
  const std::string missing = dir.file("missing.txt");
  EXPECT_EQ(stopLines([&] { readShift(missing, 1); }),
            std::vector<std::string>{" Cannot open AMT shift file [ " + missing + " ]"});
}

}  // namespace
}  // namespace hdfe
