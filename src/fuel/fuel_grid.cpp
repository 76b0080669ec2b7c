// The measured fuel map resampled on a regular grid of 20 engine speeds by 20
// torques: each speed line is extended by a zero-fuel point at the motoring
// torque, interpolated along torque, then the lines are interpolated along
// speed.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <string>
#include <vector>

#include "fuel/fuel.h"
#include "input/failure.h"
#include "report/output.h"
#include "sim/solver.h"

namespace hdfe {
namespace {

constexpr std::int32_t kGridPoints = 20;

// The map's runs of exactly equal speed. The (line, point) tables are stored
// with the line index varying fastest, so one line is a strided row; their
// point dimension is the longest line.
struct SpeedLines {
  std::int32_t Count = 0;
  std::int32_t Width = 0;
  std::vector<double> Speed;         // per line
  std::vector<std::int32_t> Points;  // per line, the zero-fuel point included
  std::vector<double> Torque;        // (line, point)
  std::vector<double> Fuel;          // (line, point)

  std::size_t index(std::int32_t line, std::int32_t point) const {
    return static_cast<std::size_t>(line) +
           static_cast<std::size_t>(point) * static_cast<std::size_t>(Count);
  }
};

struct MapRanges {
  double smin = 0.0;
  double smax = 0.0;
  double tmin = 0.0;
  double tmax = 0.0;
};

MapRanges measuredRanges(const FuelMap& fuelmap) {
  MapRanges r;
  if (fuelmap.Count < 1) return r;
  r.smin = r.smax = fuelmap.Speed[1];
  r.tmin = r.tmax = fuelmap.Torque[1];
  for (std::int32_t k = 2; k <= fuelmap.Count; ++k) {
    r.smin = std::min(r.smin, fuelmap.Speed[k]);
    r.smax = std::max(r.smax, fuelmap.Speed[k]);
    r.tmin = std::min(r.tmin, fuelmap.Torque[k]);
    r.tmax = std::max(r.tmax, fuelmap.Torque[k]);
  }
  return r;
}

// Groups the map points into speed lines, each headed by its zero-fuel point
// (the engine burns nothing at the motoring torque), and lowers tmin to every
// zero-fuel torque.
SpeedLines speedLines(const FuelMap& fuelmap, const TorqueCurve& motoring_curve, double& tmin) {
  SpeedLines lines;
  // Line speeds and point counts first, to size the tables.
  for (std::int32_t k = 1; k <= fuelmap.Count; ++k) {
    if (lines.Count == 0 || fuelmap.Speed[k] != lines.Speed.back()) {
      lines.Speed.push_back(fuelmap.Speed[k]);
      lines.Points.push_back(1);
      ++lines.Count;
    }
    ++lines.Points.back();
  }
  for (std::int32_t points : lines.Points) lines.Width = std::max(lines.Width, points);

  const std::size_t cells =
      static_cast<std::size_t>(lines.Count) * static_cast<std::size_t>(lines.Width);
  lines.Torque.assign(cells, 0.0);
  lines.Fuel.assign(cells, 0.0);

  std::int32_t line = -1;
  std::int32_t point = 0;
  for (std::int32_t k = 1; k <= fuelmap.Count; ++k) {
    if (line < 0 || fuelmap.Speed[k] != lines.Speed[line]) {
      ++line;
      const double tz = TORQAT(motoring_curve, lines.Speed[line]);
      tmin = std::min(tmin, tz);
      lines.Torque[lines.index(line, 0)] = tz;
      lines.Fuel[lines.index(line, 0)] = 0.0;
      point = 1;
    }
    lines.Torque[lines.index(line, point)] = fuelmap.Torque[k];
    lines.Fuel[lines.index(line, point)] = fuelmap.Fuel[k];
    ++point;
  }
  return lines;
}

// Equally spaced axis, each value formed as the product first and the sum
// second, so the first value is the lower end exactly.
void fillAxis(std::vector<double>& axis, double lower, double upper) {
  const double step = (upper - lower) / 19.0;
  axis.assign(kGridPoints, 0.0);
  for (std::int32_t k = 0; k < kGridPoints; ++k) {
    axis[k] = static_cast<double>(k) * step + lower;
  }
}

// First pass: every line along torque, evaluated at the grid torques. The
// result is indexed (line, grid torque), line fastest.
std::vector<double> alongTorque(const SpeedLines& lines, const std::vector<double>& gridTorque) {
  std::vector<double> result(static_cast<std::size_t>(lines.Count) * kGridPoints, 0.0);
  std::vector<double> derivs(lines.Torque.size(), 0.0);
  std::vector<double> abscissae(static_cast<std::size_t>(lines.Width), 0.0);
  std::vector<double> row(kGridPoints, 0.0);
  for (std::int32_t line = 0; line < lines.Count; ++line) {
    const std::int32_t points = lines.Points[line];
    // Abscissae take no stride: copy the line's torques side by side.
    for (std::int32_t p = 0; p < points; ++p) abscissae[p] = lines.Torque[lines.index(line, p)];
    const double* values = lines.Fuel.data() + line;
    double* lineDerivs = derivs.data() + line;
    std::int32_t ierr = 0;
    DPCHIM(points, abscissae.data(), values, lineDerivs, lines.Count, ierr);
    if (ierr < 0) HERMERR(1, ierr);
    bool skip_checks = true;
    DPCHFE(points, abscissae.data(), values, lineDerivs, lines.Count, skip_checks, kGridPoints,
           gridTorque.data(), row.data(), ierr);
    if (ierr < 0) HERMERR(2, ierr);
    for (std::int32_t j = 0; j < kGridPoints; ++j) {
      result[static_cast<std::size_t>(line) + static_cast<std::size_t>(j) * lines.Count] = row[j];
    }
  }
  return result;
}

// Second pass: for each grid torque, across the lines along speed, evaluated
// at the grid speeds into one torque column of the grid.
void alongSpeed(FuelGrid& grid, const SpeedLines& lines, const std::vector<double>& firstPass) {
  std::vector<double> derivs(firstPass.size(), 0.0);
  for (std::int32_t j = 0; j < kGridPoints; ++j) {
    const std::size_t column = static_cast<std::size_t>(j) * static_cast<std::size_t>(lines.Count);
    std::int32_t ierr = 0;
    DPCHIM(lines.Count, lines.Speed.data(), firstPass.data() + column, derivs.data() + column, 1,
           ierr);
    if (ierr < 0) HERMERR(3, ierr);
    bool skip_checks = true;
    DPCHFE(lines.Count, lines.Speed.data(), firstPass.data() + column, derivs.data() + column, 1,
           skip_checks, kGridPoints, grid.Speed.data(),
           grid.Fuel.data() + static_cast<std::size_t>(j) * kGridPoints, ierr);
    if (ierr < 0) HERMERR(4, ierr);
  }
}

// A map of values far beyond any engine's (a speed of 1D239 rpm, a typing
// slip for one of 1239) can make the cubics overflow: an infinite or undefined
// grid cell would reach the fuel rate of every second read near it, so such a
// map is refused rather than evaluated.
void requireFiniteGrid(const FuelGrid& grid) {
  for (std::int32_t j = 0; j < grid.TorqueCount; ++j) {
    for (std::int32_t i = 0; i < grid.SpeedCount; ++i) {
      const double fuel = grid.Fuel[static_cast<std::size_t>(i + j * grid.SpeedCount)];
      if (std::isfinite(fuel)) continue;
      throw FatalStop(
          Channel::Err,
          {" Fuel map grid: the fuel rate at " + formatShortest(grid.Speed[i]) + " rpm and " +
           formatShortest(grid.Torque[j]) + " N-m is not finite. Check input fuel map."});
    }
  }
}

}  // namespace

void FCGRID(FuelGrid& grid, const FuelMap& fuelmap, const TorqueCurve& motoring_curve) {
  grid.IdleFuel = fuelmap.IdleFuel;
  grid.SpeedCount = kGridPoints;
  grid.TorqueCount = kGridPoints;

  MapRanges ranges = measuredRanges(fuelmap);
  const SpeedLines lines = speedLines(fuelmap, motoring_curve, ranges.tmin);

  fillAxis(grid.Speed, ranges.smin, ranges.smax);
  fillAxis(grid.Torque, ranges.tmin, ranges.tmax);
  grid.Fuel.assign(static_cast<std::size_t>(kGridPoints) * kGridPoints, 0.0);

  // A map without points has no line; the pass across lines then reports it
  // like a map of a single line.
  const std::vector<double> firstPass = alongTorque(lines, grid.Torque);
  alongSpeed(grid, lines, firstPass);
  requireFiniteGrid(grid);
}

}  // namespace hdfe
