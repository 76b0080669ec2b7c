// Idle stop: which standstill seconds have the engine off.

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "sim/solver.h"

namespace hdfe {
namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

// A trace over the given speeds (second 1 first), idling at 500 rpm with
// 2 l/h and recognisable values in the fields idle stop must not touch.
struct Trace {
  explicit Trace(const std::vector<double>& speeds)
      : seconds(static_cast<std::int32_t>(speeds.size())),
        vtarget(speeds.size() + 1, 0.0),
        grade(speeds.size() + 1, 0.0) {
    const std::size_t size = speeds.size() + 1;
    trace.Shift.assign(size, 1);
    trace.Vreal.assign(size, 0.0);
    trace.Ne.assign(size, 500.0);
    trace.Te.assign(size, 7.0);
    trace.N_norm.assign(size, 0.5);
    trace.T_norm.assign(size, 3.0);
    trace.FC.assign(size, 2.0);
    for (std::size_t k = 0; k < speeds.size(); ++k) trace.Vreal[k + 1] = speeds[k];
    cycle = {"URBAN", seconds, vtarget, grade};
  }
  Trace(const Trace&) = delete;
  Trace& operator=(const Trace&) = delete;

  // Seconds whose engine is off; checks that nothing else changed.
  std::vector<std::int32_t> engineOff(const std::vector<double>& speeds) const {
    std::vector<std::int32_t> off;
    for (std::int32_t i = 1; i <= seconds; ++i) {
      EXPECT_EQ(trace.Vreal[i], speeds[i - 1]) << i;
      EXPECT_EQ(trace.Shift[i], 1) << i;
      EXPECT_EQ(trace.Te[i], 7.0) << i;
      EXPECT_EQ(trace.N_norm[i], 0.5) << i;
      EXPECT_EQ(trace.T_norm[i], 3.0) << i;
      EXPECT_EQ(trace.Ne[i] == 0.0, trace.FC[i] == 0.0) << i;
      if (trace.Ne[i] == 0.0) {
        off.push_back(i);
      } else {
        EXPECT_EQ(trace.Ne[i], 500.0) << i;
        EXPECT_EQ(trace.FC[i], 2.0) << i;
      }
    }
    return off;
  }

  std::int32_t seconds;
  std::vector<double> vtarget;
  std::vector<double> grade;
  ModeTrace trace;
  DriveCycle cycle;
};

// runs: {speed, count}, in order.
std::vector<double> speedsOf(std::initializer_list<std::pair<double, int>> runs) {
  std::vector<double> speeds;
  for (const auto& [speed, count] : runs) speeds.insert(speeds.end(), count, speed);
  return speeds;
}

std::vector<std::int32_t> secondsOf(
    std::initializer_list<std::pair<std::int32_t, std::int32_t>> spans) {
  std::vector<std::int32_t> seconds;
  for (const auto& [first, last] : spans) {
    for (std::int32_t i = first; i <= last; ++i) seconds.push_back(i);
  }
  return seconds;
}

struct IdleStopCase {
  const char* what;
  std::int32_t W, S, L;
  std::vector<std::int32_t> off;
};

TEST(IdlestopTest, StopsTheEngineInsideTheStandstillWindows) {
  // Initial standstill 1..25, a standstill 31..40 between motion, and one from
  // 46 to the end of the cycle.
  const std::vector<double> speeds =
      speedsOf({{0.0, 25}, {20.0, 5}, {0.0, 10}, {15.0, 5}, {0.0, 5}});
  const IdleStopCase cases[] = {
      {"wait 3, initial 5, restart lead 2", 3, 5, 2, secondsOf({{6, 23}, {34, 38}, {49, 50}})},
      {"W 999: only the initial rule", 999, 5, 2, secondsOf({{6, 23}})},
      {"S 999: only the general rule", 3, 999, 2, secondsOf({{34, 38}, {49, 50}})},
      {"L 0: off until the last standstill second", 3, 5, 0,
       secondsOf({{6, 25}, {34, 40}, {49, 50}})},
      {"W 0: off from the first standstill second", 0, 5, 2,
       secondsOf({{6, 23}, {31, 38}, {46, 50}})},
      {"negative W: no wait", -5, 5, 2, secondsOf({{6, 23}, {31, 38}, {46, 50}})},
      {"negative L: no restart lead", 3, 5, -1, secondsOf({{6, 25}, {34, 40}, {49, 50}})},
      {"extreme times do not overflow", kMin, kMin, kMax, secondsOf({{46, 50}})},
      {"extreme times the other way", kMax, kMax, kMin, {}},
  };
  for (const IdleStopCase& c : cases) {
    Trace t(speeds);
    IDLESTOP(t.trace, t.cycle, c.W, c.S, c.L);
    EXPECT_EQ(t.engineOff(speeds), c.off) << c.what;
  }
}

TEST(IdlestopTest, KeepsTheEngineIdlingInAStandstillTooShortForTheWindows) {
  // 31..34: off would need 34 (after the wait) and 32 (before the lead).
  const std::vector<double> speeds = speedsOf({{0.0, 25}, {20.0, 5}, {0.0, 4}, {15.0, 16}});
  Trace t(speeds);
  IDLESTOP(t.trace, t.cycle, 3, 5, 2);
  EXPECT_EQ(t.engineOff(speeds), secondsOf({{6, 23}}));
}

TEST(IdlestopTest, ShortCycleAppliesOnlyTheInitialRuleWithinItsSeconds) {
  {
    const std::vector<double> speeds(10, 0.0);
    Trace t(speeds);
    IDLESTOP(t.trace, t.cycle, 0, 3, 2);
    EXPECT_EQ(t.engineOff(speeds), secondsOf({{4, 10}}));
  }
  {
    // The forward window is cut at the cycle's end (second 10).
    const std::vector<double> speeds = speedsOf({{0.0, 5}, {3.0, 1}, {0.0, 4}});
    Trace t(speeds);
    IDLESTOP(t.trace, t.cycle, 0, 1, 1);
    EXPECT_EQ(t.engineOff(speeds), (std::vector<std::int32_t>{2, 3, 4, 7, 8, 9, 10}));
  }
}

}  // namespace
}  // namespace hdfe
