// Inputs found by fuzzing that once carried infinities or undefined values
// into the figures or the traces: the table's cases now stop the run with
// their message and write no file. Each case is the T5 example truck with one input file
// replaced by a fixture from tests/fixtures/fuzz_regressions.

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>

#include "run/driver.h"
#include "support/test_support.h"

namespace hdfe {
namespace {

namespace fs = std::filesystem;

struct Regression {
  const char* name;
  const char* replaced;  // the T5 truck's file the fixture replaces
  const char* fixture;
  const char* outTail;  // the end of standard output, "" for any
  const char* err;      // the whole of standard error
};

// Test listings show the case by its name.
void PrintTo(const Regression& c, std::ostream* os) { *os << c.name; }

const Regression kRegressions[] = {
    // A speed of 1D239 rpm made the gridding cubics overflow: NaN fuel rates
    // in most seconds of both cycles.
    {"FuelMapSpeedBeyondAnyEngine", "fuelmap.txt", "fuelmap_speed_1D239.txt", "",
     " Fuel map grid: the fuel rate at 650 rpm and -1.7000000000000027e+237 N-m is not finite. "
     "Check input fuel map.\r\n"},
};

// Runs the T5 example truck in the scratch folder with one of its files
// replaced by a fixture of this folder.
hdfe::testing::RunOutput runT5With(const hdfe::testing::ScratchDir& scratch, const char* replaced,
                                   const std::string& fixture) {
  hdfe::testing::copyExample("t5-truck", scratch.path());
  fs::copy_file(hdfe::testing::fixturePath("fuzz_regressions/" + fixture),
                scratch.path() / replaced, fs::copy_options::overwrite_existing);
  return hdfe::testing::runHdfeIn(scratch.path(), {"spec.txt", "result"});
}

class FuzzRegression : public ::testing::TestWithParam<Regression> {};

TEST_P(FuzzRegression, StopsWithItsMessageAndWritesNoFile) {
  const Regression& c = GetParam();
  hdfe::testing::ScratchDir scratch;
  const hdfe::testing::RunOutput run = runT5With(scratch, c.replaced, c.fixture);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, c.err);
  const std::string tail = c.outTail;
  ASSERT_GE(run.out.size(), tail.size());
  EXPECT_EQ(run.out.substr(run.out.size() - tail.size()), tail);
  EXPECT_FALSE(fs::exists(scratch.path() / "result"));
  EXPECT_FALSE(fs::exists(scratch.path() / "result_info.txt"));
}

// A full-load curve that reaches 0 N m at idle leaves the normalised torque
// of the standstill seconds undefined (0 / 0). The torque check passes such a
// second (a comparison with an undefined value is false), the figures do not
// use it, and the trace shows it as undefined: the run completes.
TEST(FuzzRegressionRuns, FullLoadCurveOfZeroTorqueAtIdle) {
  hdfe::testing::ScratchDir scratch;
  const hdfe::testing::RunOutput run =
      runT5With(scratch, "fullload.txt", "fullload_zero_at_idle.txt");
  EXPECT_EQ(run.status, 0) << run.err;
  const std::string result = hdfe::testing::readFile(scratch.path() / "result");
  EXPECT_NE(result.find("1\t.0000\t.0000\t650.0\t.0\t.00\tNaN\t0\t"), std::string::npos);
  EXPECT_EQ(result.find("********"), std::string::npos);
}

// Two map speeds a last bit apart make a grid whose speeds repeat: the fuel
// rate of the first second that reads the grid stops the run with the
// interpolation failure report, as for any map of a single speed.
TEST(FuzzRegressionStops, FuelMapSpeedsALastBitApart) {
  hdfe::testing::ScratchDir scratch;
  const hdfe::testing::RunOutput run =
      runT5With(scratch, "fuelmap.txt", "fuelmap_speeds_a_last_bit_apart.txt");
  std::string report = "Error : DPCHIM ( called from CALCFC, 1st )";
  report.resize(1024, ' ');
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, hdfe::testing::crlf(report + "\nierr =           -3\n Terminated by error of "
                                                  "Hermite function. Check input fuel map.\n"));
  EXPECT_FALSE(fs::exists(scratch.path() / "result"));
  EXPECT_FALSE(fs::exists(scratch.path() / "result_info.txt"));
}

INSTANTIATE_TEST_SUITE_P(FoundByFuzzing, FuzzRegression, ::testing::ValuesIn(kRegressions),
                         [](const ::testing::TestParamInfo<Regression>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace hdfe
