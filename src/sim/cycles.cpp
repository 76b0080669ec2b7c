// The built-in drive cycles: constant tables checked when the program is
// built, handed out as views that stay valid for the whole run.

#include "sim/cycles.h"

#include <array>
#include <cstddef>
#include <initializer_list>
#include <iterator>
#include <stdexcept>

namespace hdfe {
namespace {

// ---------------------------------------------------------------------------
// URBAN: the JE05 speed trace on a level road.

constexpr std::int32_t kUrbanSeconds = 1830;

// One value per second, 0..1830, embedded at build time from the data file.
constexpr double kUrbanVtarget[] = {
#include "urban_je05_values.inc"
};

static_assert(std::size(kUrbanVtarget) == kUrbanSeconds + 1,
              "the URBAN speed table holds seconds 0..1830");

constexpr std::array<double, kUrbanSeconds + 1> kUrbanGrade{};  // level road

// The known properties of the JE05 trace; a table that misses one of them is
// not the JE05 mode and must not build.

constexpr bool urbanEquals(std::size_t first, std::initializer_list<double> values) {
  std::size_t t = first;
  for (const double v : values) {
    if (kUrbanVtarget[t++] != v) return false;
  }
  return true;
}

constexpr bool urbanStartsAtRest() {
  for (std::size_t t = 0; t <= 25; ++t) {
    if (kUrbanVtarget[t] != 0.0) return false;
  }
  return true;
}

constexpr std::size_t urbanMovingSeconds() {
  std::size_t moving = 0;
  for (const double v : kUrbanVtarget) {
    if (v != 0.0) ++moving;
  }
  return moving;
}

// The maximum is reached at one second only.
constexpr bool urbanPeaksOnlyAt(std::size_t peak) {
  for (std::size_t t = 0; t < std::size(kUrbanVtarget); ++t) {
    if (t != peak && !(kUrbanVtarget[t] < kUrbanVtarget[peak])) return false;
  }
  return true;
}

struct Standstill {
  std::size_t first;
  std::size_t last;
};

constexpr Standstill kUrbanStandstills[] = {{0, 25},      {100, 163},   {380, 382},   {475, 521},
                                            {629, 660},   {733, 750},   {855, 891},   {943, 996},
                                            {1020, 1024}, {1100, 1141}, {1164, 1171}, {1207, 1290},
                                            {1347, 1359}, {1399, 1425}, {1829, 1830}};

// The maximal runs of 0.0 km/h are exactly the listed standstill periods, in
// order: every listed second is at rest, and every other second is in motion.
constexpr bool urbanStandstillsExact() {
  std::size_t t = 0;
  for (const Standstill& stop : kUrbanStandstills) {
    for (; t < stop.first; ++t) {
      if (kUrbanVtarget[t] == 0.0) return false;
    }
    for (; t <= stop.last; ++t) {
      if (kUrbanVtarget[t] != 0.0) return false;
    }
  }
  return t == std::size(kUrbanVtarget);
}

static_assert(urbanStartsAtRest(), "URBAN seconds 0..25 are at standstill");
static_assert(urbanEquals(26, {4.19, 8.32, 12.33, 16.05, 18.74, 20.28, 21.48, 23.13, 25.17, 27.19,
                               28.97, 30.43, 31.46, 32.24}),
              "URBAN seconds 26..39 are the first acceleration of JE05");
static_assert(urbanEquals(1598, {85.24, 86.0, 86.67, 87.2, 87.55, 87.6, 87.39, 87.1, 86.87, 86.62}),
              "URBAN seconds 1598..1607 are the JE05 peak");
static_assert(urbanPeaksOnlyAt(1603), "the URBAN maximum, 87.6 km/h, is at second 1603 alone");
static_assert(urbanMovingSeconds() == 1369, "URBAN has 1369 seconds in motion");
static_assert(urbanStandstillsExact(), "URBAN has exactly the 15 standstill periods of JE05");
static_assert(urbanEquals(1828, {5.06, 0.0, 0.0}),
              "URBAN ends with 5.06 km/h at second 1828 and standstill at 1829..1830");

// ---------------------------------------------------------------------------
// HIGHWAY: 80 km/h over an out-and-back gradient profile.

constexpr std::int32_t kHighwaySeconds = 3120;
constexpr std::size_t kHighwayOutbound = 1560;  // entries 1..1560; the way back mirrors them

struct GradeRun {
  double percent;
  std::int32_t count;
};

// The gradient of entries 1..1560 as runs of equal value in entry order; each
// line starts at the entry in its comment.
constexpr GradeRun kHighwayOutboundRuns[] = {
    // clang-format off
    // 1
    {0.0, 4}, {-0.228, 1}, {-2.28, 7}, {-0.669, 1}, {-0.49, 5}, {0.3, 1}, {0.494, 1}, {1.27, 2},
    {3.135, 1}, {5.0, 2}, {1.4, 1}, {-4.0, 3},
    // 30
    {-1.78, 1}, {0.712, 1}, {-1.08, 3}, {2.2, 9}, {1.162, 1}, {-2.99, 5}, {-2.639, 1}, {0.52, 5},
    {0.768, 1}, {0.83, 4}, {-2.91, 5}, {1.786, 1},
    // 67
    {2.96, 5}, {0.576, 1}, {-3.0, 6}, {2.247, 1}, {2.83, 8}, {1.122, 1}, {0.996, 1}, {2.41, 5},
    {-0.586, 1}, {-1.87, 1}, {-1.6, 1}, {-0.52, 3},
    // 101
    {-0.288, 1}, {-0.23, 2}, {0.292, 1}, {2.38, 3}, {-0.221, 1}, {-0.51, 3}, {-1.998, 1},
    {-2.37, 7}, {-1.582, 1}, {-0.4, 7}, {0.52, 6}, {-0.472, 1},
    // 135
    {-1.96, 2}, {-1.006, 1}, {1.22, 2}, {1.131, 1}, {0.1, 1}, {-1.97, 7}, {-0.745, 1}, {-0.22, 2},
    {-0.036, 1}, {0.24, 5}, {0.09, 1}, {-0.06, 5},
    // 164
    {0.868, 1}, {1.1, 2}, {0.456, 1}, {-0.51, 4}, {-0.249, 1}, {0.36, 5}, {-0.54, 1}, {-0.64, 1},
    {-0.122, 1}, {1.95, 2}, {1.68, 1}, {1.41, 4},
    // 188
    {1.455, 1}, {1.86, 5}, {-0.316, 1}, {-0.86, 4}, {-1.135, 1}, {-1.41, 4}, {-1.239, 1}, {0.3, 2},
    {0.126, 1}, {0.01, 4}, {0.155, 1}, {0.3, 3},
    // 216
    {0.76, 1}, {2.6, 2}, {1.3, 5}, {1.492, 1}, {3.22, 5}, {1.596, 1}, {0.9, 4}, {0.778, 1},
    {-0.32, 2}, {-2.092, 1}, {-4.75, 3}, {2.585, 1},
    // 243
    {3.4, 1}, {2.334, 1}, {-1.93, 5}, {-1.004, 1}, {2.7, 4}, {2.97, 1}, {3.0, 3}, {-4.011, 1},
    {-4.79, 1}, {-3.546, 1}, {-1.68, 7}, {-1.515, 1},
    // 270
    {-1.13, 1}, {-0.757, 1}, {2.6, 2}, {-2.144, 1}, {-2.797, 1}, {2.108, 1}, {2.54, 1}, {3.07, 1},
    {3.6, 1}, {2.652, 1}, {0.44, 2}, {-1.926, 1},
    // 284
    {-2.94, 1}, {0.012, 1}, {1.53, 1}, {1.08, 1}, {1.233, 1}, {1.25, 2}, {1.724, 1}, {2.04, 3},
    {4.74, 1}, {5.04, 4}, {3.164, 1}, {2.36, 4},
    // 305
    {1.754, 1}, {1.35, 5}, {1.548, 1}, {1.68, 2}, {1.244, 1}, {-0.5, 3}, {-0.563, 1}, {-0.71, 2},
    {-0.048, 1}, {2.6, 5}, {1.37, 1}, {0.55, 2},
    // 330
    {1.04, 1}, {3.0, 5}, {1.12, 6}, {2.88, 5}, {2.515, 1}, {-0.77, 9}, {4.0, 7}, {2.696, 1},
    {2.37, 3}, {-0.126, 1}, {-0.75, 5}, {-0.51, 1},
    // 375
    {1.65, 2}, {1.347, 1}, {0.64, 5}, {-0.18, 1}, {-1.0, 3}, {-0.325, 1}, {-0.25, 3}, {-1.218, 1},
    {-1.46, 4}, {-1.873, 1}, {-2.05, 5}, {-2.09, 1},
    // 403
    {-2.45, 3}, {-1.855, 1}, {-1.26, 11}, {-2.644, 1}, {-2.99, 4}, {-2.917, 1}, {-2.26, 16},
    {-2.63, 1}, {-3.0, 6}, {0.77, 12}, {0.149, 1}, {-1.3, 5},
    // 465
    {-0.18, 1}, {0.3, 12}, {0.012, 1}, {-0.66, 4}, {-0.866, 1}, {-2.72, 4}, {-2.25, 1}, {-0.37, 8},
    {-0.632, 1}, {-1.68, 8}, {-0.154, 1}, {0.5, 6},
    // 513
    {-0.217, 1}, {-1.89, 4}, {1.251, 1}, {1.6, 5}, {1.222, 1}, {-0.29, 5}, {1.02, 1}, {2.33, 4},
    {-0.03, 1}, {-0.62, 3}, {0.148, 1}, {1.3, 3},
    // 543
    {0.6, 1}, {-0.45, 3}, {-0.208, 1}, {0.76, 9}, {-2.76, 13}, {-0.192, 1}, {0.45, 3}, {0.88, 1},
    {2.6, 9}, {0.5, 1}, {-2.65, 9}, {-2.335, 1},
    // 595
    {0.5, 7}, {0.05, 1}, {-0.4, 7}, {-1.04, 1}, {-2.0, 2}, {-1.8, 1}, {0.0, 3}, {0.15, 1}, {0.5, 3},
    {0.248, 1}, {-0.76, 8}, {-0.228, 1},
    // 631
    {0.0, 4}, {2.232, 1}, {2.79, 4}, {1.772, 1}, {-2.3, 8}, {0.962, 1}, {2.36, 8}, {-0.692, 1},
    {-2.0, 3}, {0.403, 1}, {0.67, 3}, {-0.257, 1},
    // 667
    {-0.36, 4}, {-0.297, 1}, {-0.29, 4}, {-0.346, 1}, {-0.37, 14}, {0.08, 1}, {0.13, 6}, {1.23, 1},
    {2.33, 10}, {-0.541, 1}, {-0.86, 4}, {-1.105, 1},
    // 715
    {-1.35, 11}, {-0.618, 1}, {-0.13, 2}, {0.293, 1}, {0.34, 8}, {-0.045, 1}, {-0.43, 5},
    {0.102, 1}, {0.9, 3}, {0.366, 1}, {-0.88, 8}, {0.208, 1},
    // 758
    {1.84, 8}, {1.406, 1}, {-2.5, 5}, {-0.1, 10}, {0.14, 1}, {0.2, 4}, {0.22, 1}, {0.3, 3},
    {0.25, 1}, {-0.2, 5}, {1.24, 1}, {1.6, 2},
    // 800
    {1.24, 1}, {-2.0, 9}, {-0.02, 1}, {0.2, 6}, {0.083, 1}, {0.07, 7}, {0.222, 1}, {0.45, 9},
    {0.385, 1}, {-0.2, 9}, {-0.398, 1}, {-2.18, 4},
    // 850
    {1.048, 1}, {3.2, 4}, {1.555, 1}, {0.85, 3}, {-1.09, 1}, {-4.0, 10}, {2.8, 1}, {4.5, 6},
    {2.5, 1}, {2.0, 8}, {1.686, 1}, {0.43, 7},
    // 894
    {-1.714, 1}, {-4.93, 5}, {-2.059, 1}, {-1.74, 4}, {-2.37, 1}, {-3.0, 2}, {-2.719, 1},
    {-0.19, 8}, {1.84, 4}, {1.732, 1}, {0.76, 3}, {-0.423, 1},
    // 926
    {-0.93, 2}, {-0.604, 1}, {0.7, 4}, {-0.92, 1}, {-1.1, 4}, {-0.828, 1}, {-0.42, 7}, {-0.078, 1},
    {0.72, 3}, {-0.37, 4}, {-0.812, 1}, {-2.58, 12},
    // 967
    {-0.683, 1}, {0.13, 7}, {-0.493, 1}, {-0.76, 7}, {-0.394, 1}, {0.46, 4}, {-0.317, 1},
    {-0.65, 7}, {0.136, 1}, {0.66, 5}, {3.0, 5}, {1.068, 1},
    // 1008
    {-1.83, 5}, {0.126, 1}, {1.43, 4}, {0.576, 1}, {-2.84, 6}, {-1.27, 1}, {0.3, 6}, {-0.51, 4},
    {0.2, 6}, {-0.087, 1}, {-0.21, 3}, {0.036, 1},
    // 1047
    {0.2, 3}, {0.06, 1}, {0.0, 3}, {-0.12, 1}, {-0.4, 4}, {0.8, 1}, {2.6, 7}, {1.42, 1}, {0.24, 2},
    {1.235, 1}, {2.23, 12}, {0.529, 1},
    // 1084
    {-0.2, 5}, {-0.76, 1}, {-3.0, 3}, {0.21, 1}, {2.35, 4}, {0.541, 1}, {0.34, 3}, {-0.17, 1},
    {-0.51, 3}, {-1.302, 1}, {-1.83, 8}, {-0.006, 1},
    // 1116
    {-0.302, 1}, {-1.43, 3}, {-1.1, 4}, {0.3, 1}, {1.7, 5}, {1.228, 1}, {-0.66, 4}, {0.339, 1},
    {2.67, 2}, {0.674, 1}, {-2.32, 2}, {-1.356, 1},
    // 1142
    {2.5, 4}, {-1.0, 1}, {-2.5, 11}, {-2.09, 1}, {1.6, 5}, {2.23, 1}, {2.5, 2}, {1.573, 1},
    {-0.59, 1}, {-0.533, 1}, {-0.4, 3}, {0.24, 1},
    // 1174
    {0.4, 2}, {0.22, 1}, {-0.5, 2}, {-0.968, 1}, {-1.67, 4}, {-0.985, 1}, {-0.3, 1}, {-0.96, 1},
    {-2.5, 1}, {-2.22, 1}, {-1.8, 1}, {-1.76, 1},
    // 1191
    {-1.6, 8}, {-0.82, 1}, {-0.3, 1}, {-1.92, 1}, {-3.0, 6}, {-0.282, 1}, {0.02, 2}, {1.155, 1},
    {2.11, 2}, {1.805, 1}, {-0.94, 1}, {-0.772, 1},
    // 1217
    {0.18, 1}, {0.25, 3}, {0.4, 1}, {0.58, 1}, {1.3, 1}, {0.8, 1}, {0.3, 1}, {1.2, 1}, {1.8, 1},
    {1.64, 1}, {1.0, 2}, {-0.4, 1},
    // 1232
    {-1.0, 1}, {-0.28, 1}, {-0.2, 3}, {-0.08, 1}, {1.0, 4}, {-1.24, 1}, {-2.2, 3}, {1.8, 5},
    {2.79, 1}, {2.9, 3}, {1.72, 1}, {-3.0, 3},
    // 1259
    {1.0, 2}, {1.8, 1}, {3.0, 2}, {1.5, 1}, {0.5, 1}, {0.92, 1}, {1.2, 1}, {1.28, 1}, {1.6, 2},
    {2.72, 1}, {3.0, 1}, {1.945, 1},
    // 1274
    {0.89, 1}, {0.861, 1}, {0.6, 3}, {1.288, 1}, {1.46, 1}, {-0.67, 1}, {-2.8, 4}, {-2.06, 1},
    {-1.32, 1}, {-1.101, 1}, {0.87, 2}, {-0.544, 1},
    // 1292
    {-1.15, 2}, {-1.42, 1}, {-1.45, 1}, {-1.765, 1}, {-1.9, 4}, {-0.6, 2}, {-0.744, 1}, {-0.76, 2},
    {-1.23, 8}, {0.246, 1}, {0.41, 1}, {0.978, 1},
    // 1317
    {1.12, 4}, {-0.608, 1}, {-0.8, 1}, {-0.02, 1}, {0.6, 1}, {1.0, 2}, {1.9, 1}, {2.0, 3},
    {0.95, 1}, {-1.5, 1}, {-1.35, 1}, {-0.75, 5},
    // 1339
    {-0.675, 1}, {-0.5, 2}, {-0.3, 1}, {1.5, 5}, {1.95, 1}, {2.0, 1}, {0.6, 1}, {-1.5, 2}, {1.2, 1},
    {3.0, 1}, {1.1, 1}, {-0.8, 1},
    // 1357
    {-0.98, 1}, {-1.1, 1}, {-2.0, 5}, {-0.926, 1}, {-0.21, 3}, {-0.912, 1}, {-0.99, 1}, {-0.621, 1},
    {0.24, 2}, {0.966, 1}, {1.45, 2}, {0.89, 1},
    // 1377
    {0.05, 5}, {0.995, 1}, {1.1, 2}, {-1.412, 1}, {-2.04, 4}, {-0.87, 1}, {0.3, 6}, {-0.18, 1},
    {-0.3, 1}, {-0.295, 1}, {-0.29, 9}, {2.671, 1},
    // 1410
    {3.0, 1}, {-0.97, 12}, {-0.182, 1}, {1.0, 3}, {1.6, 1}, {2.0, 2}, {1.04, 1}, {0.4, 1},
    {0.128, 1}, {-0.28, 3}, {-0.772, 1}, {-1.1, 4},
    // 1441
    {0.35, 4}, {-1.63, 3}, {-1.365, 1}, {-1.1, 3}, {0.85, 1}, {2.8, 2}, {2.745, 1}, {2.25, 3},
    {1.34, 1}, {-2.3, 2}, {-2.18, 1}, {-2.0, 2},
    // 1465
    {-0.536, 1}, {0.6, 10}, {-0.84, 2}, {-0.144, 1}, {0.9, 6}, {-0.189, 1}, {-0.31, 5}, {0.683, 1},
    {3.0, 12}, {2.0, 1}, {-2.0, 5}, {0.8, 1},
    // 1511
    {2.0, 3}, {0.144, 1}, {-0.32, 3}, {0.608, 1}, {2.0, 1}, {0.512, 1}, {0.14, 9}, {1.814, 1},
    {2.0, 10}, {0.215, 1}, {-1.57, 7}, {-0.331, 1},
    // 1550
    {0.2, 2}, {-0.25, 1}, {-0.7, 1}, {-0.63, 1}, {0.0, 5}, {-0.414, 1},
    // clang-format on
};

constexpr std::size_t outboundEntries() {
  std::size_t entries = 0;
  for (const GradeRun& run : kHighwayOutboundRuns) entries += static_cast<std::size_t>(run.count);
  return entries;
}

static_assert(outboundEntries() == kHighwayOutbound,
              "the HIGHWAY gradient runs cover entries 1..1560");

using HighwayTable = std::array<double, kHighwaySeconds + 1>;

// Entry 0 is level; 1..1560 are the runs; the way back drives the same road in
// reverse, so every gradient returns with its sign changed:
// Grade[3121 - k] = -Grade[k] and the net climb is zero.
constexpr HighwayTable makeHighwayGrade() {
  HighwayTable grade{};
  std::size_t k = 1;
  for (const GradeRun& run : kHighwayOutboundRuns) {
    for (std::int32_t i = 0; i < run.count; ++i) grade[k++] = run.percent;
  }
  for (k = kHighwayOutbound + 1; k <= kHighwaySeconds; ++k) {
    grade[k] = -grade[kHighwaySeconds + 1 - k];
  }
  return grade;
}

constexpr HighwayTable makeHighwayVtarget() {
  HighwayTable speed{};
  for (double& v : speed) v = 80.0;
  return speed;
}

constexpr HighwayTable kHighwayGrade = makeHighwayGrade();
constexpr HighwayTable kHighwayVtarget = makeHighwayVtarget();

}  // namespace

DriveCycle urbanCycle() {
  return {"URBAN", kUrbanSeconds, std::span<const double>(kUrbanVtarget),
          std::span<const double>(kUrbanGrade)};
}

DriveCycle highwayCycle() {
  return {"HIGHWAY", kHighwaySeconds, std::span<const double>(kHighwayVtarget),
          std::span<const double>(kHighwayGrade)};
}

ModeTrace makeModeTrace(std::int32_t seconds) {
  if (seconds < 0) {
    throw std::invalid_argument("a mode trace needs a non-negative number of seconds");
  }
  const std::size_t entries = static_cast<std::size_t>(seconds) + 1;  // entry 0 unused
  ModeTrace trace;
  trace.Shift.assign(entries, 0);
  trace.Vreal.assign(entries, 0.0);
  trace.Ne.assign(entries, 0.0);
  trace.Te.assign(entries, 0.0);
  trace.N_norm.assign(entries, 0.0);
  trace.T_norm.assign(entries, 0.0);
  trace.FC.assign(entries, 0.0);
  return trace;
}

}  // namespace hdfe
