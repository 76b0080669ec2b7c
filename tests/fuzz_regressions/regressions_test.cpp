// Inputs found by fuzzing that once carried infinities or undefined values
// into the figures or the traces: the table's cases now stop the run with
// their message and write no file. Each case is the T5 example truck with one input file
// replaced by a fixture from tests/fixtures/fuzz_regressions.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "run/driver.h"
#include "support/test_support.h"

namespace hdfe {
namespace {

namespace fs = std::filesystem;

class WorkingDirectory {
 public:
  explicit WorkingDirectory(const fs::path& folder) : previous_(fs::current_path()) {
    fs::current_path(folder);
  }
  ~WorkingDirectory() { fs::current_path(previous_); }
  WorkingDirectory(const WorkingDirectory&) = delete;
  WorkingDirectory& operator=(const WorkingDirectory&) = delete;

 private:
  fs::path previous_;
};

struct Regression {
  const char* name;
  const char* replaced;  // the T5 truck's file the fixture replaces
  const char* fixture;
  const char* outTail;  // the end of standard output, "" for any
  const char* err;      // the whole of standard error
};

const Regression kRegressions[] = {
    // A speed of 1D239 rpm made the gridding cubics overflow: NaN fuel rates
    // in most seconds of both cycles.
    {"FuelMapSpeedBeyondAnyEngine", "fuelmap.txt", "fuelmap_speed_1D239.txt", "",
     " Fuel map grid: the fuel rate at 650 rpm and -1.7000000000000027e+237 N-m is not finite. "
     "Check input fuel map.\r\n"},
};

class FuzzRegression : public ::testing::TestWithParam<Regression> {};

TEST_P(FuzzRegression, StopsWithItsMessageAndWritesNoFile) {
  const Regression& c = GetParam();
  hdfe::testing::ScratchDir scratch;
  fs::copy(fs::path(HDFE_SOURCE_DIR) / "examples" / "t5-truck", scratch.path(),
           fs::copy_options::recursive);
  fs::copy_file(hdfe::testing::fixturePath(std::string("fuzz_regressions/") + c.fixture),
                scratch.path() / c.replaced, fs::copy_options::overwrite_existing);
  std::istringstream in;
  std::ostringstream out;
  std::ostringstream err;
  Console console{in, out, err};
  int status = -1;
  {
    WorkingDirectory inside(scratch.path());
    status = runHdfe({"spec.txt", "result"}, console);
  }
  EXPECT_EQ(status, 1);
  EXPECT_EQ(err.str(), c.err);
  const std::string tail = c.outTail;
  ASSERT_GE(out.str().size(), tail.size());
  EXPECT_EQ(out.str().substr(out.str().size() - tail.size()), tail);
  EXPECT_FALSE(fs::exists(scratch.path() / "result"));
  EXPECT_FALSE(fs::exists(scratch.path() / "result_info.txt"));
}

// A full-load curve that reaches 0 N m at idle leaves the normalised torque
// of the standstill seconds undefined (0 / 0). The torque check passes such a
// second (a comparison with an undefined value is false), the figures do not
// use it, and the trace shows it as undefined: the run completes.
TEST(FuzzRegressionRuns, FullLoadCurveOfZeroTorqueAtIdle) {
  hdfe::testing::ScratchDir scratch;
  fs::copy(fs::path(HDFE_SOURCE_DIR) / "examples" / "t5-truck", scratch.path(),
           fs::copy_options::recursive);
  fs::copy_file(hdfe::testing::fixturePath("fuzz_regressions/fullload_zero_at_idle.txt"),
                scratch.path() / "fullload.txt", fs::copy_options::overwrite_existing);
  std::istringstream in;
  std::ostringstream out;
  std::ostringstream err;
  Console console{in, out, err};
  int status = -1;
  {
    WorkingDirectory inside(scratch.path());
    status = runHdfe({"spec.txt", "result"}, console);
  }
  EXPECT_EQ(status, 0) << err.str();
  const std::string result = hdfe::testing::readFile(scratch.path() / "result");
  EXPECT_NE(result.find("1\t.0000\t.0000\t650.0\t.0\t.00\tNaN\t0\t"), std::string::npos);
  EXPECT_EQ(result.find("********"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(FoundByFuzzing, FuzzRegression, ::testing::ValuesIn(kRegressions),
                         [](const ::testing::TestParamInfo<Regression>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace hdfe
