#pragma once
// Fuel economy figures of the three spans and the values derived from them.

#include <cstdint>
#include <string>
#include <vector>

namespace hdfe {

struct ModeFigures {
  double FuelEconomy = 0.0;  // km/l
  double AveSpeed = 0.0;     // km/h
};

// speeds and fuel point at the first second of the span (km/h, l/h).
ModeFigures MODEFC(const double* speeds, const double* fuel, std::int32_t count);

// Torque converter automatic (Kind 1): 0.91, 0.91, 0.96; average speeds kept.
void applyTorqueConverterFactors(std::int32_t Kind, ModeFigures& urban, ModeFigures& midTown,
                                 ModeFigures& highway);

struct DerivedFigures {
  double UrbanTransient = 0.0;
  double MidTownTransient = 0.0;
  double UrbanKf = 0.0;
  double MidTownKf = 0.0;
  double HighwayKf = 0.0;
  double AverageFC = 0.0;
};

DerivedFigures deriveFigures(const ModeFigures& urban, const ModeFigures& midTown,
                             const ModeFigures& highway, double Kf1, double Kf2,
                             double HighwayRatio);

// One console warning line per span whose fuel economy is not finite (its fuel
// rates sum to zero), naming the span.
std::vector<std::string> nonFiniteSpanWarnings(const ModeFigures& urban,
                                               const ModeFigures& midTown,
                                               const ModeFigures& highway);

// The MID-TOWN slice of the URBAN trace.
inline constexpr std::int32_t kMidTownFirstSecond = 645;
inline constexpr std::int32_t kMidTownSeconds = 766;

}  // namespace hdfe
