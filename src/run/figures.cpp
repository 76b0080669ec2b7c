#include "run/figures.h"

#include <cmath>
#include <limits>
#include <string_view>

namespace hdfe {

ModeFigures MODEFC(const double* speeds, const double* fuel, std::int32_t count) {
  // Every sample lasts one second: distance SV / 3600 km, fuel SF / 3600 l,
  // so km/l is SV / SF. Summed in second order, no second weighted apart.
  double speedSum = 0.0;
  double fuelSum = 0.0;
  for (std::int32_t k = 0; k < count; ++k) {
    speedSum = speedSum + speeds[k];
    fuelSum = fuelSum + fuel[k];
  }
  ModeFigures figures;
  figures.AveSpeed = speedSum / static_cast<double>(count);
  // No fuel over the span gives infinity (or NaN at rest): left as it is, it
  // prints as asterisks and nonFiniteSpanWarnings names the span.
  figures.FuelEconomy = speedSum / fuelSum;
  return figures;
}

void applyTorqueConverterFactors(std::int32_t Kind, ModeFigures& urban, ModeFigures& midTown,
                                 ModeFigures& highway) {
  // The converter's slip losses, not simulated second by second, are charged
  // as fixed factors; average speeds are what the vehicle drove and stay.
  if (Kind != 1) return;
  urban.FuelEconomy = urban.FuelEconomy * 0.91;
  midTown.FuelEconomy = midTown.FuelEconomy * 0.91;
  highway.FuelEconomy = highway.FuelEconomy * 0.96;
}

DerivedFigures deriveFigures(const ModeFigures& urban, const ModeFigures& midTown,
                             const ModeFigures& highway, double Kf1, double Kf2,
                             double HighwayRatio) {
  DerivedFigures derived;
  // Transient correction: a fixed 3 % reduction of the urban-based figures.
  derived.UrbanTransient = urban.FuelEconomy / 1.03;
  derived.MidTownTransient = midTown.FuelEconomy / 1.03;
  derived.UrbanKf = Kf1 * derived.UrbanTransient;
  derived.MidTownKf = Kf1 * derived.MidTownTransient;
  derived.HighwayKf = Kf2 * highway.FuelEconomy;
  // A span without a finite figure would vanish from the harmonic mean
  // (1 / infinity is 0) and leave a finite but meaningless average.
  if (!std::isfinite(derived.UrbanKf) || !std::isfinite(derived.HighwayKf)) {
    derived.AverageFC = std::numeric_limits<double>::quiet_NaN();
  } else {
    derived.AverageFC =
        1.0 / ((1.0 - HighwayRatio) / derived.UrbanKf + HighwayRatio / derived.HighwayKf);
  }
  return derived;
}

namespace {

void addWarningIfNotFinite(std::vector<std::string>& warnings, const ModeFigures& figures,
                           std::string_view span) {
  if (std::isfinite(figures.FuelEconomy)) return;
  if (std::isinf(figures.FuelEconomy)) {
    warnings.push_back("Warning!: no fuel consumed over " + std::string(span) +
                       ", its fuel economy cannot be computed");
  } else {
    warnings.push_back("Warning!: the fuel economy of " + std::string(span) +
                       " cannot be computed");
  }
}

}  // namespace

std::vector<std::string> nonFiniteSpanWarnings(const ModeFigures& urban, const ModeFigures& midTown,
                                               const ModeFigures& highway) {
  std::vector<std::string> warnings;
  addWarningIfNotFinite(warnings, urban, "URBAN");
  addWarningIfNotFinite(warnings, midTown, "MID-TOWN");
  addWarningIfNotFinite(warnings, highway, "HIGHWAY");
  return warnings;
}

}  // namespace hdfe
