#include <algorithm>
#include <vector>

#include "sim/solver.h"

namespace hdfe {

namespace {

// The initial standstill of the urban cycle covers its first 25 seconds.
constexpr std::int64_t kInitialStandstillEnd = 25;

// standstillCount[k]: the number of standstill seconds (speed exactly 0) among
// seconds 1..k, so any window can be judged without rescanning it.
std::vector<std::int64_t> countStandstill(const ModeTrace& trace, std::int64_t n) {
  std::vector<std::int64_t> count(static_cast<std::size_t>(n) + 1, 0);
  for (std::int64_t k = 1; k <= n; ++k) {
    count[k] = count[k - 1] + (trace.Vreal[k] == 0.0 ? 1 : 0);
  }
  return count;
}

// True when every second first..last of 1..n stands still; an empty window
// (first > last) holds vacuously. Windows arrive cut to 1..n already except
// where they are empty, and are cut again so nothing outside 1..n is read.
bool standsStill(const std::vector<std::int64_t>& count, std::int64_t n, std::int64_t first,
                 std::int64_t last) {
  first = std::max<std::int64_t>(first, 1);
  last = std::min(last, n);
  if (first > last) return true;
  return count[last] - count[first - 1] == last - first + 1;
}

}  // namespace

// The engine is stopped in a standstill second once the vehicle has stood
// still for the wait time W, and is restarted L seconds before moving off. In
// the cycle's initial standstill the engine is stopped after S seconds instead.
void IDLESTOP(ModeTrace& trace, const DriveCycle& cycle, std::int32_t W, std::int32_t S,
              std::int32_t L) {
  const std::int64_t n = cycle.Seconds;
  if (n < 1) return;
  // Window arithmetic in 64 bits: hand-edited times may lie anywhere in the
  // 32-bit range, and i + L or i - W must not overflow.
  const std::int64_t wait = W;
  const std::int64_t startAfter = S;
  const std::int64_t lead = L;
  const std::vector<std::int64_t> count = countStandstill(trace, n);
  std::vector<char> engineOff(static_cast<std::size_t>(std::max(n, kInitialStandstillEnd)) + 1, 0);

  if (n >= kInitialStandstillEnd) {
    for (std::int64_t i = kInitialStandstillEnd; i <= n; ++i) {
      if (trace.Vreal[i] != 0.0) continue;
      const bool staysAtRest = standsStill(count, n, i, std::min(i + lead, n));
      const bool hasWaited = standsStill(count, n, std::max<std::int64_t>(i - wait, 1), i);
      engineOff[i] = staysAtRest && hasWaited;
    }
  }

  // The initial standstill overrides the general rule, second 25 included. Its
  // seconds beyond a short cycle's end are judged but never applied.
  for (std::int64_t i = 1; i <= kInitialStandstillEnd; ++i) {
    engineOff[i] = i > startAfter && standsStill(count, n, i, std::min(i + lead, n));
  }

  for (std::int64_t i = 1; i <= n; ++i) {
    if (!engineOff[i]) continue;
    trace.FC[i] = 0.0;
    trace.Ne[i] = 0.0;
  }
}

}  // namespace hdfe
