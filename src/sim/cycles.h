#pragma once
// The two built-in drive cycles and the per-second trace of a simulated cycle.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace hdfe {

// One built-in cycle. Vtarget and Grade hold Seconds + 1 samples, index
// 0..Seconds; entry 0 is the state before the first second and never a target.
struct DriveCycle {
  std::string_view Name;  // "URBAN" or "HIGHWAY"
  std::int32_t Seconds = 0;
  std::span<const double> Vtarget;  // km/h
  std::span<const double> Grade;    // percent
};

DriveCycle urbanCycle();    // JE05, 1830 seconds, level road
DriveCycle highwayCycle();  // 80 km/h over the gradient profile, 3120 seconds

// The per-second results of one cycle: seven arrays of Seconds + 1 entries,
// entry 0 unused, seconds 1..n.
struct ModeTrace {
  std::vector<std::int32_t> Shift;
  std::vector<double> Vreal;   // km/h
  std::vector<double> Ne;      // rpm
  std::vector<double> Te;      // N m
  std::vector<double> N_norm;  // %
  std::vector<double> T_norm;  // %
  std::vector<double> FC;      // l/h
};

ModeTrace makeModeTrace(std::int32_t seconds);

}  // namespace hdfe
