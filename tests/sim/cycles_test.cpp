// The built-in drive cycles and the mode trace arrays.

#include "sim/cycles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <span>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace hdfe {
namespace {

struct ValueRun {
  std::size_t first;
  std::size_t last;
  double value;
};

// Maximal runs of exactly equal values over entries first..last.
std::vector<ValueRun> runsOf(std::span<const double> table, std::size_t first, std::size_t last) {
  std::vector<ValueRun> runs;
  for (std::size_t k = first; k <= last; ++k) {
    if (runs.empty() || table[k] != runs.back().value) {
      runs.push_back({k, k, table[k]});
    } else {
      runs.back().last = k;
    }
  }
  return runs;
}

// A value written with at most `decimals` decimals is the double nearest to
// an integer number of 10^-decimals.
bool hasAtMostDecimals(double value, int decimals) {
  const double scale = std::pow(10.0, decimals);
  return std::nearbyint(value * scale) / scale == value;
}

// ---------------------------------------------------------------------------
// URBAN

TEST(UrbanCycle, IsJe05OnALevelRoad) {
  const DriveCycle urban = urbanCycle();
  EXPECT_EQ(urban.Name, "URBAN");
  EXPECT_EQ(urban.Seconds, 1830);
  ASSERT_EQ(urban.Vtarget.size(), 1831u);
  ASSERT_EQ(urban.Grade.size(), 1831u);
  for (std::size_t t = 0; t < urban.Grade.size(); ++t) EXPECT_EQ(urban.Grade[t], 0.0) << t;
  // The tables are constant data: every call views the same storage.
  EXPECT_EQ(urbanCycle().Vtarget.data(), urban.Vtarget.data());
  EXPECT_EQ(urbanCycle().Grade.data(), urban.Grade.data());
}

TEST(UrbanCycle, StandstillPeriodsAreThoseOfJe05) {
  const DriveCycle urban = urbanCycle();
  const std::vector<std::pair<std::size_t, std::size_t>> expected = {
      {0, 25},      {100, 163},   {380, 382},   {475, 521},   {629, 660},
      {733, 750},   {855, 891},   {943, 996},   {1020, 1024}, {1100, 1141},
      {1164, 1171}, {1207, 1290}, {1347, 1359}, {1399, 1425}, {1829, 1830}};
  std::vector<std::pair<std::size_t, std::size_t>> standstills;
  std::size_t moving = 0;
  for (const ValueRun& run : runsOf(urban.Vtarget, 0, 1830)) {
    if (run.value == 0.0) {
      standstills.emplace_back(run.first, run.last);
    } else {
      moving += run.last - run.first + 1;
    }
  }
  EXPECT_EQ(standstills, expected);
  EXPECT_EQ(moving, 1369u);
  // The initial standstill that idle stop counts on: seconds 1..25 at rest,
  // the first motion in second 26.
  EXPECT_EQ(urban.Vtarget[25], 0.0);
  EXPECT_EQ(urban.Vtarget[26], 4.19);
  EXPECT_EQ(urban.Vtarget[1828], 5.06);
}

TEST(UrbanCycle, KnownSecondsOfJe05) {
  const DriveCycle urban = urbanCycle();
  const std::vector<std::pair<std::size_t, std::vector<double>>> known = {
      {26,
       {4.19, 8.32, 12.33, 16.05, 18.74, 20.28, 21.48, 23.13, 25.17, 27.19, 28.97, 30.43, 31.46,
        32.24}},
      {1598, {85.24, 86.0, 86.67, 87.2, 87.55, 87.6, 87.39, 87.1, 86.87, 86.62}},
      {1828, {5.06, 0.0, 0.0}},
  };
  for (const auto& [first, values] : known) {
    for (std::size_t i = 0; i < values.size(); ++i) {
      EXPECT_EQ(urban.Vtarget[first + i], values[i]) << "second " << first + i;
    }
  }
  for (std::size_t t = 0; t <= 1830; ++t) {
    if (t != 1603) {
      EXPECT_LT(urban.Vtarget[t], 87.6) << "second " << t;
    }
  }
}

// The reconstruction drives like a heavy vehicle and has the published mean
// speed; the official table replaces it whole, so this holds for both.
TEST(UrbanCycle, TraceIsDrivableWithThePublishedMeanSpeed) {
  const DriveCycle urban = urbanCycle();
  double sum = 0.0;
  for (std::size_t t = 1; t <= 1829; ++t) sum += urban.Vtarget[t];
  EXPECT_NEAR(sum / 1829.0, 26.94, 0.05);

  for (std::size_t t = 0; t <= 1830; ++t) {
    EXPECT_TRUE(hasAtMostDecimals(urban.Vtarget[t], 2)) << "second " << t;
    EXPECT_GE(urban.Vtarget[t], 0.0) << "second " << t;
  }
  // About 1.2 m/s2 at most; the last second of JE05 stops from 5.06 km/h.
  for (std::size_t t = 1; t <= 1828; ++t) {
    EXPECT_LE(std::abs(urban.Vtarget[t] - urban.Vtarget[t - 1]), 4.3 + 1e-9) << "second " << t;
  }
}

// The build embeds the data file; what the program drives is what the file
// holds, value for value.
TEST(UrbanCycle, EmbeddedTableIsTheDataFile) {
  std::ifstream file(std::string(HDFE_SOURCE_DIR) + "/data/urban_je05.txt");
  ASSERT_TRUE(file.is_open());
  std::vector<double> values;
  std::string line;
  while (std::getline(file, line)) {
    if (line.empty() || line[0] == '#') continue;
    values.push_back(std::stod(line));
  }
  const DriveCycle urban = urbanCycle();
  ASSERT_EQ(values.size(), urban.Vtarget.size());
  for (std::size_t t = 0; t < values.size(); ++t) {
    EXPECT_EQ(urban.Vtarget[t], values[t]) << "second " << t;
  }
}

// ---------------------------------------------------------------------------
// HIGHWAY

TEST(HighwayCycle, IsEightyKilometresPerHourOverTheProfile) {
  const DriveCycle highway = highwayCycle();
  EXPECT_EQ(highway.Name, "HIGHWAY");
  EXPECT_EQ(highway.Seconds, 3120);
  ASSERT_EQ(highway.Vtarget.size(), 3121u);
  ASSERT_EQ(highway.Grade.size(), 3121u);
  for (std::size_t k = 0; k <= 3120; ++k) EXPECT_EQ(highway.Vtarget[k], 80.0) << k;
  EXPECT_EQ(highwayCycle().Grade.data(), highway.Grade.data());
}

TEST(HighwayCycle, GradeOfTheFirstEntriesAndTheTurningPoint) {
  const std::span<const double> grade = highwayCycle().Grade;
  const std::vector<ValueRun> expected = {
      // Entries 0..43.
      {0, 4, 0.0},
      {5, 5, -0.228},
      {6, 12, -2.28},
      {13, 13, -0.669},
      {14, 18, -0.49},
      {19, 19, 0.3},
      {20, 20, 0.494},
      {21, 22, 1.27},
      {23, 23, 3.135},
      {24, 25, 5.0},
      {26, 26, 1.4},
      {27, 29, -4.0},
      {30, 30, -1.78},
      {31, 31, 0.712},
      {32, 34, -1.08},
      {35, 43, 2.2},
      // Entries 1550..1571, where the road turns back.
      {1550, 1551, 0.2},
      {1552, 1552, -0.25},
      {1553, 1553, -0.7},
      {1554, 1554, -0.63},
      {1555, 1559, 0.0},
      {1560, 1560, -0.414},
      {1561, 1561, 0.414},
      {1562, 1566, 0.0},
      {1567, 1567, 0.63},
      {1568, 1568, 0.7},
      {1569, 1569, 0.25},
      {1570, 1571, -0.2},
  };
  for (const ValueRun& run : expected) {
    for (std::size_t k = run.first; k <= run.last; ++k) {
      EXPECT_EQ(grade[k], run.value) << "entry " << k;
    }
  }
  // A transition entry lies between the plateaus it joins.
  EXPECT_LT(grade[6], grade[5]);
  EXPECT_LT(grade[5], grade[4]);
}

TEST(HighwayCycle, OutAndBackMirrorsEveryEntry) {
  const std::span<const double> grade = highwayCycle().Grade;
  EXPECT_EQ(grade[0], 0.0);
  for (std::size_t k = 1; k <= 3120; ++k) {
    EXPECT_EQ(grade[3121 - k], -grade[k]) << "entry " << k;
    EXPECT_EQ(grade[k] + grade[3121 - k], 0.0) << "entry " << k;
  }
}

TEST(HighwayCycle, ProfileIsMadeOfShortPlateaus) {
  const std::span<const double> grade = highwayCycle().Grade;
  const std::vector<ValueRun> all = runsOf(grade, 1, 3120);
  EXPECT_EQ(all.size(), 1164u);
  EXPECT_EQ(runsOf(grade, 1, 1560).size(), 582u);
  for (const ValueRun& run : all) {
    const std::size_t length = run.last - run.first + 1;
    EXPECT_GE(length, 1u);
    EXPECT_LE(length, 16u) << "run from entry " << run.first;
  }
}

TEST(HighwayCycle, SignsExtremesAndNetClimb) {
  const std::span<const double> grade = highwayCycle().Grade;
  int positive = 0;
  int negative = 0;
  int zero = 0;
  std::int64_t thousandths = 0;  // exact sum, in index order
  std::vector<std::size_t> maxima;
  std::vector<std::size_t> minima;
  for (std::size_t k = 0; k <= 3120; ++k) {
    const double g = grade[k];
    positive += g > 0.0;
    negative += g < 0.0;
    zero += g == 0.0;
    EXPECT_TRUE(hasAtMostDecimals(g, 3)) << "entry " << k;
    thousandths += std::llround(g * 1000.0);
    EXPECT_LE(std::abs(g), 5.04) << "entry " << k;
    if (g == 5.04) maxima.push_back(k);
    if (g == -5.04) minima.push_back(k);
  }
  EXPECT_EQ(positive, 1541);
  EXPECT_EQ(negative, 1541);
  EXPECT_EQ(zero, 39);
  EXPECT_EQ(thousandths, 0);
  EXPECT_EQ(maxima, (std::vector<std::size_t>{296, 297, 298, 299}));
  EXPECT_EQ(minima, (std::vector<std::size_t>{2822, 2823, 2824, 2825}));

  // Summed in doubles, in index order with a running compensation
  // (Neumaier), the climbs and descents cancel to exactly zero.
  double sum = 0.0;
  double compensation = 0.0;
  for (const double g : grade) {
    const double t = sum + g;
    compensation += std::abs(sum) >= std::abs(g) ? (sum - t) + g : (g - t) + sum;
    sum = t;
  }
  EXPECT_EQ(sum + compensation, 0.0);
}

// ---------------------------------------------------------------------------
// Mode trace

TEST(ModeTrace, SevenZeroArraysOfSecondsPlusOneEntries) {
  for (const std::int32_t seconds : {0, 1, 1830, 3120}) {
    const ModeTrace trace = makeModeTrace(seconds);
    const std::size_t entries = static_cast<std::size_t>(seconds) + 1;
    EXPECT_EQ(trace.Shift, std::vector<std::int32_t>(entries, 0)) << seconds;
    for (const std::vector<double>* array :
         {&trace.Vreal, &trace.Ne, &trace.Te, &trace.N_norm, &trace.T_norm, &trace.FC}) {
      EXPECT_EQ(*array, std::vector<double>(entries, 0.0)) << seconds;
    }
  }
}

TEST(ModeTrace, RefusesANegativeLength) { EXPECT_THROW(makeModeTrace(-1), std::invalid_argument); }

}  // namespace
}  // namespace hdfe
