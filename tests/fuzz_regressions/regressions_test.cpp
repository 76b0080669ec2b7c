// Inputs found by fuzzing that once carried infinities or undefined values
// into the figures or the traces: each now stops the run with its message
// and writes no file. Each case is the T5 example truck with one input file
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
    // The normalised torque of the standstill seconds was 0 / 0.
    {"FullLoadCurveOfZeroTorqueAtIdle", "fullload.txt", "fullload_zero_at_idle.txt",
     " error : full-load torque 0 N-m at Ne= 650 rpm leaves no normalised torque, URBAN time=  "
     "          1\r\n",
     ""},
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

INSTANTIATE_TEST_SUITE_P(FoundByFuzzing, FuzzRegression, ::testing::ValuesIn(kRegressions),
                         [](const ::testing::TestParamInfo<Regression>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace hdfe
