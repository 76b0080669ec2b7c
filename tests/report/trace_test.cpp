// The trace checks (speed above target, torque above full load) and the
// trace blocks appended to the results file.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "input/failure.h"
#include "report/output.h"
#include "report/reports.h"
#include "support/test_support.h"

namespace hdfe {
namespace {

using testing::crlf;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

// A cycle of n seconds whose tables the test owns.
struct SmallCycle {
  std::vector<double> Vtarget;
  std::vector<double> Grade;
  ModeTrace trace;

  explicit SmallCycle(std::int32_t seconds)
      : Vtarget(static_cast<std::size_t>(seconds) + 1, 0.0),
        Grade(static_cast<std::size_t>(seconds) + 1, 0.0),
        trace(makeModeTrace(seconds)) {}

  DriveCycle cycle() const {
    return DriveCycle{"URBAN", static_cast<std::int32_t>(Vtarget.size()) - 1, Vtarget, Grade};
  }

  std::string check(bool& stopped) const {
    std::ostringstream out;
    stopped = false;
    try {
      CHECKTRACE(cycle(), trace, out);
    } catch (const FatalStop& stop) {
      stopped = true;
      EXPECT_EQ(stop.channel, Channel::Out);
      EXPECT_EQ(stop.lines, std::vector<std::string>{" error: te > 100% "});
    }
    return out.str();
  }

  std::string write(std::string_view name = "URBAN") const {
    std::ostringstream file;
    WRITETRACE(file, cycle(), trace, name);
    return file.str();
  }
};

const std::string kSpeedMessage = " error: V_real > V_target\r\n";

TEST(TraceCheck, SpeedAboveTargetByMoreThanTheSinglePrecisionHundredth) {
  struct Case {
    double target;
    double real;
    bool reported;
  };
  const Case cases[] = {
      {0.0, 0.01, true},  // 0.01 as a double lies above the single-precision 0.01
      {80.0, 80.01, true},
      {0.0, 0.0099, false},
      {0.0, 0.009999999776482582, false},  // the threshold itself is not above it
      {0.0, 0.009999999776482583, true},   // the next double up
      {20.0, 19.0, false},                 // falling behind is allowed
      {0.0, kNaN, false},
      {kNaN, 5.0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.real) + " against " +
                 ::testing::PrintToString(c.target));
    SmallCycle small(3);
    small.Vtarget[2] = c.target;
    small.trace.Vreal[2] = c.real;
    bool stopped = true;
    EXPECT_EQ(small.check(stopped), c.reported ? kSpeedMessage : "");
    EXPECT_FALSE(stopped);
  }
}

TEST(TraceCheck, TorqueAboveFullLoadStopsTheRun) {
  struct Case {
    double torque;
    bool stops;
  };
  const Case cases[] = {
      {100.0, false}, {99.99, false},    {100.0000001, true},
      {kNaN, false},  {kInfinity, true}, {-kInfinity, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.torque));
    SmallCycle small(3);
    small.trace.T_norm[3] = c.torque;
    bool stopped = !c.stops;
    EXPECT_EQ(small.check(stopped), "");
    EXPECT_EQ(stopped, c.stops);
  }
}

TEST(TraceCheck, SpeedMessagesUpToTheTorqueFailureAreAllWritten) {
  SmallCycle small(6);
  for (const std::size_t t : {1u, 3u, 4u, 5u}) small.trace.Vreal[t] = 1.0;
  small.trace.T_norm[4] = 150.0;  // second 4: speed message first, then the stop
  small.trace.T_norm[5] = 150.0;
  bool stopped = false;
  EXPECT_EQ(small.check(stopped), kSpeedMessage + kSpeedMessage + kSpeedMessage);
  EXPECT_TRUE(stopped);
}

TEST(TraceCheck, ScansSecondsOneToN) {
  SmallCycle small(4);
  // Entry 0 is the state before the first second: never checked.
  small.trace.Vreal[0] = 50.0;
  small.trace.T_norm[0] = 500.0;
  bool stopped = true;
  EXPECT_EQ(small.check(stopped), "");
  EXPECT_FALSE(stopped);
  small.trace.Vreal[4] = 50.0;
  small.trace.T_norm[4] = 500.0;
  EXPECT_EQ(small.check(stopped), kSpeedMessage);
  EXPECT_TRUE(stopped);
}

const std::string kHeader =
    "time(s)\tVtarget(km/h)\tVreal(km/h)\tNe(rpm)\tTe(N-m)\tN_norm(%)\tT_norm(%)\tShift\tFC(l/h)";

struct Second {
  double Vtarget, Vreal, Ne, Te, N_norm, T_norm;
  std::int32_t Shift;
  double FC;
};

void setSecond(SmallCycle& small, std::size_t t, const Second& s) {
  small.Vtarget[t] = s.Vtarget;
  small.trace.Vreal[t] = s.Vreal;
  small.trace.Ne[t] = s.Ne;
  small.trace.Te[t] = s.Te;
  small.trace.N_norm[t] = s.N_norm;
  small.trace.T_norm[t] = s.T_norm;
  small.trace.Shift[t] = s.Shift;
  small.trace.FC[t] = s.FC;
}

TEST(TraceBlock, EmptyLineNameHeaderThenOneLinePerSecond) {
  SmallCycle small(4);
  // At rest in gear 0, idling.
  setSecond(small, 1, {0.0, 0.0, 600.0, 0.0, 0.0, 0.0, 0, 0.8});
  // Engine stopped by idle stop: Ne and FC zero, N_norm as computed at idle.
  setSecond(small, 2, {0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0, 0.0});
  // Driving, values below 1 and a negative torque and gear.
  setSecond(small, 3, {12.3456789, 12.34, 850.26, -0.26, 0.5, 99.996, -1, 0.999});
  setSecond(small, 4, {80.0, 79.99994, 12345.67, 1234.56, 101.234, -12.345678, 12, 25.1234564});
  // Second 0 is never written.
  small.Vtarget[0] = 77.0;
  small.trace.Vreal[0] = 77.0;
  const std::string expected = crlf(
      "\n"
      "URBAN\n" +
      kHeader +
      "\n"
      "1\t.0000\t.0000\t600.0\t.0\t.00\t.00\t0\t.800000\n"
      "2\t.0000\t.0000\t.0\t.0\t.00\t.00\t0\t.000000\n"
      "3\t12.3457\t12.3400\t850.3\t-.3\t.50\t100.00\t-1\t.999000\n"
      "4\t80.0000\t79.9999\t12345.7\t1234.6\t101.23\t-12.35\t12\t25.123456\n");
  EXPECT_EQ(small.write(), expected);
}

TEST(TraceBlock, CycleNameWithoutTrailingBlanks) {
  SmallCycle small(1);
  const std::string block = small.write("HIGHWAY   ");
  EXPECT_EQ(block.substr(0, 11), "\r\nHIGHWAY\r\n");
}

TEST(TraceBlock, EveryRealFieldIsTheSharedMinimalWidthField) {
  // Whatever the shared formatter makes of ties, negative zero, huge and
  // non-finite values, the trace shows the same.
  const double values[] = {0.125,      2.5,     -0.04,   -0.00001, -0.0,  0.0,   0.5,
                           0.9999999,  -0.9999, 1e20,    -1e20,    1e300, kNaN,  kInfinity,
                           -kInfinity, 1234.55, 0.00005, 5e-7,     -5e-7, 1.5e-6};
  for (const double value : values) {
    SCOPED_TRACE(::testing::PrintToString(value));
    SmallCycle small(1);
    setSecond(small, 1, {value, value, value, value, value, value, 0, value});
    const std::string block = small.write();
    const std::string line = block.substr(block.rfind("\r\n", block.size() - 3) + 2);
    const std::string expected = "1\t" + formatF(value, 0, 4) + "\t" + formatF(value, 0, 4) + "\t" +
                                 formatF(value, 0, 1) + "\t" + formatF(value, 0, 1) + "\t" +
                                 formatF(value, 0, 2) + "\t" + formatF(value, 0, 2) + "\t0\t" +
                                 formatF(value, 0, 6) + "\r\n";
    EXPECT_EQ(line, expected);
  }
}

TEST(TraceBlock, TimeColumnRunsOverTheWholeCycle) {
  SmallCycle small(3120);
  const std::string block = small.write("HIGHWAY");
  std::size_t lines = 0;
  for (std::size_t at = 0; (at = block.find("\r\n", at)) != std::string::npos; at += 2) ++lines;
  EXPECT_EQ(lines, 3u + 3120u);
  EXPECT_NE(block.find("\r\n1\t.0000"), std::string::npos);
  const std::string lastLine = "\r\n3120\t.0000\t.0000\t.0\t.0\t.00\t.00\t0\t.000000\r\n";
  EXPECT_EQ(block.substr(block.size() - lastLine.size()), lastLine);
}

}  // namespace
}  // namespace hdfe
