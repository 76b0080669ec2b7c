#pragma once
// Gear schedules made from the vehicle's own data, for users who have the
// vehicle but no prescribed gears. The evaluation itself never chooses gears:
// this is a separate tool (hdfe-schedule) that writes schedule files.

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "run/driver.h"
#include "sim/cycles.h"

namespace hdfe {

// Seconds a gear is held before the next change, unless the engine would
// leave its speed range or cannot deliver the torque.
inline constexpr std::int32_t kMinimumGearHold = 3;

// The gear of every second of the cycle: entries 1..Seconds, entry 0 unused.
std::vector<std::int32_t> makeGearSchedule(const DriveCycle& cycle, const Evaluation& v);

// A schedule file: a header line, then "second<TAB>gear" per second, CR LF.
void writeGearSchedule(std::ostream& out, const DriveCycle& cycle,
                       const std::vector<std::int32_t>& shift);

}  // namespace hdfe
