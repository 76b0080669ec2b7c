// The vehicle category table and everything derived at load time: body data,
// test weight, running resistances, the floor engine speeds from the shift
// parameter file and the gear table.

#include <array>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "input/failure.h"
#include "input/freeformat.h"
#include "input/reader_support.h"
#include "input/readers.h"

namespace hdfe {
namespace {

struct CategoryRow {
  std::string_view code;
  double Wcurb;
  double Wpayload;
  std::int32_t Crew;
  double Height;
  double Width;
  double HighwayRatio;
  double LoadFactor;
  double Inertia;
};

// Body data of the 25 categories. T codes are trucks (crew), B codes buses
// (riding capacity, no payload). BR4's height is 2.969 as carried at single
// precision.
constexpr std::array<CategoryRow, 25> kCategories{{
    {"TT1", 12300, 29431, 2, 3.266, 2.49, 0.45, 0.5, 2.544},
    {"TT2", 19421, 38910, 2, 3.191, 2.49, 0.45, 0.5, 2.544},
    {"T1", 2097, 1482, 3, 1.991, 1.717, 0.15, 0.45, 0.27},
    {"T2", 2496, 2000, 3, 2.077, 1.819, 0.15, 0.45, 0.315},
    {"T3", 2750, 2999, 3, 2.153, 1.989, 0.15, 0.45, 0.315},
    {"T4", 2913, 3637, 3, 2.264, 2.181, 0.15, 0.45, 0.315},
    {"T5", 3473, 4239, 2, 2.471, 2.303, 0.35, 0.5, 0.703},
    {"T6", 3663, 6081, 2, 2.579, 2.313, 0.4, 0.5, 1.101},
    {"T7", 4019, 6380, 2, 2.536, 2.343, 0.4, 0.5, 1.101},
    {"T8", 4788, 8540, 2, 2.641, 2.39, 0.4, 0.5, 1.101},
    {"T9", 5728, 8684, 2, 2.672, 2.391, 0.4, 0.5, 1.101},
    {"T10", 8310, 11109, 2, 3.043, 2.49, 0.4, 0.5, 1.65},
    {"T11", 9193, 14844, 2, 3.8, 2.49, 0.55, 0.55, 2.26},
    {"BR1", 5186, 0, 39, 2.88, 2.072, 0, 0.35, 0.703},
    {"BR2", 7837, 0, 28, 2.99, 2.315, 0, 0.35, 1.101},
    {"BR3", 7901, 0, 59, 2.989, 2.312, 0, 0.35, 1.101},
    {"BR4", 8654, 0, 77, 2.9690001010894775, 2.385, 0, 0.35, 1.101},
    {"BR5", 10203, 0, 79, 3.022, 2.49, 0, 0.35, 1.101},
    {"B1", 3681, 0, 29, 2.581, 2.029, 0.15, 0.6, 0.315},
    {"B2", 5622, 0, 29, 3.019, 2.197, 0.15, 0.6, 0.703},
    {"B3", 6608, 0, 49, 3.105, 2.314, 0.15, 0.6, 1.101},
    {"B4", 8181, 0, 40, 3.213, 2.4, 0.45, 0.65, 1.101},
    {"B5", 10198, 0, 60, 3.228, 2.49, 0.45, 0.65, 1.101},
    {"B6", 12296, 0, 57, 3.449, 2.49, 0.55, 0.65, 1.101},
    {"B7", 12757, 0, 61, 3.489, 2.49, 0.55, 0.65, 1.65},
}};

// The positions of Nes, Nec and every gear's minimum speed between Nidle (0)
// and Nrate (1).
struct ShiftFactors {
  double NesFactor = 0.0;
  double NecFactor = 0.0;
  double GearMinFactor = 0.0;
};

void upperCaseInPlace(std::string& code) {
  for (char& c : code) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
}

const CategoryRow& findCategory(const std::string& category) {
  const std::string code = trimTrailingBlanks(category);
  for (const CategoryRow& row : kCategories) {
    if (row.code == code) return row;
  }
  inputFailure(" Category Error : [ " + code + " ] is not defined.");
}

void copyBodyData(const CategoryRow& row, VehicleSpec& vehicle) {
  vehicle.Wcurb = row.Wcurb;
  vehicle.Wpayload = row.Wpayload;
  vehicle.Crew = row.Crew;
  vehicle.Height = row.Height;
  vehicle.Width = row.Width;
  vehicle.HighwayRatio = row.HighwayRatio;
  vehicle.LoadFactor = row.LoadFactor;
  vehicle.Inertia = row.Inertia;
}

// Weights (55 kg a person), tire circumference and running resistances.
void deriveBody(bool isTruck, const RunSettings& settings, VehicleSpec& vehicle) {
  vehicle.GVW = (vehicle.Wcurb + vehicle.Wpayload) + 55 * vehicle.Crew;
  vehicle.TireCircumference = 6.28 * vehicle.TireRadius;
  if (isTruck) {
    // Driver aboard plus the loaded share of the payload.
    vehicle.Wtest = (vehicle.Wcurb + 55) + vehicle.Wpayload * vehicle.LoadFactor;
  } else {
    // The loaded share of the riding capacity.
    vehicle.Wtest = vehicle.Wcurb + (55 * vehicle.Crew) * vehicle.LoadFactor;
  }
  // 6.7 and 0.00023 are carried at single precision.
  vehicle.MuRoll =
      (6.699999809265137 / vehicle.Wtest + 0.0002300000051036477 + settings.RollAddend) * 9.8;
  vehicle.MuAir = (settings.AirCoefficient * vehicle.Height) * vehicle.Width;
}

// The shift parameter file's messages always call it AMT_val.txt.
ShiftFactors readShiftFactors(const std::string& shiftParamFile) {
  const std::string name = trimTrailingBlanks(shiftParamFile);
  const std::string failure = " Failed to read [ AMT_val.txt] ";
  std::ifstream file = openInput(name);
  if (!file.is_open()) {
    throw FatalStop(Channel::Err, {" Cannot open data file [ AMT_val.txt] ", failure});
  }
  ShiftFactors factors;
  readOrStop(file, name, {&factors.NesFactor}, failure);
  readOrStop(file, name, {&factors.NecFactor}, failure);
  readOrStop(file, name, {&factors.GearMinFactor}, failure);
  return factors;
}

void deriveEngineSpeeds(const ShiftFactors& factors, EngineSpec& engine) {
  engine.Nes = factors.NesFactor * (engine.Nrate - engine.Nidle) + engine.Nidle;
  engine.Nec = factors.NecFactor * (engine.Nrate - engine.Nidle) + engine.Nidle;
}

// The gear count is the product of two counts of the transmission file and
// must stay an integer.
std::int32_t countGears(const RunSettings& settings, const GearboxSpec& gearbox) {
  const std::int64_t gears =
      static_cast<std::int64_t>(gearbox.MainRatioCount) * gearbox.SubRatioCount;
  if (gears > std::numeric_limits<std::int32_t>::max()) {
    inputFailure(" Invalid transmission file [ " + trimTrailingBlanks(settings.TransmissionFile) +
                 " ]: too many gears (" + std::to_string(gearbox.MainRatioCount) + " x " +
                 std::to_string(gearbox.SubRatioCount) + ")");
  }
  return static_cast<std::int32_t>(gears);
}

// Torque margin by main gear: the low gears get the most, the gear just above
// them less, the rest the least; heavy vehicles get less in the low gears.
double torqueMargin(std::int32_t k, std::int32_t lowGearCount, double GVW) {
  const bool light = GVW < 8000;
  if (k <= lowGearCount) return light ? 2.4 : 2.0;
  if (k == lowGearCount + 1) return 1.7;
  return light ? 1.6 : 1.3;
}

// Gears run main gear by main gear, and within one through the sub-steps in
// file order. A direct main gear (ratio exactly 1) runs at 0.98.
void buildGearTable(const VehicleSpec& vehicle, double gearMinSpeed, GearboxSpec& gearbox,
                    EngineSpec& engine) {
  const std::int32_t N1 = gearbox.MainRatioCount;
  const std::int32_t N2 = gearbox.SubRatioCount;
  for (std::int32_t k = 1; k <= N1; ++k) {
    for (std::int32_t j = 1; j <= N2; ++j) {
      const std::int32_t g = (k - 1) * N2 + j;
      GearEntry& gear = gearbox.Gears[g];
      gear.Ratio = gearbox.MainRatios[k] * gearbox.SubRatios[j];
      gear.DW = vehicle.Inertia * gearbox.FinalRatio * gearbox.FinalRatio * gear.Ratio *
                    gear.Ratio / (vehicle.TireRadius * vehicle.TireRadius) +
                0.05 * vehicle.Wcurb;
      gear.Efficiency = gearbox.MainRatios[k] == 1.0 ? 0.98 : 0.95;
      gear.TorqueMargin = torqueMargin(k, gearbox.LowGearCount, vehicle.GVW);
      engine.GearMinSpeed[g] = gearMinSpeed;
    }
  }
}

}  // namespace

void SETVEHICLE(RunSettings& settings, VehicleSpec& vehicle, EngineSpec& engine,
                GearboxSpec& gearbox) {
  upperCaseInPlace(settings.Category);
  const CategoryRow& row = findCategory(settings.Category);
  copyBodyData(row, vehicle);
  deriveBody(row.code.front() == 'T', settings, vehicle);

  const ShiftFactors factors = readShiftFactors(settings.ShiftParamFile);
  deriveEngineSpeeds(factors, engine);

  gearbox.StartGearLimit = gearbox.Kind == 1 ? 1 : gearbox.SubRatioCount + 1;
  gearbox.GearCount = countGears(settings, gearbox);
  gearbox.FinalEfficiency = 0.95;
  const auto entries = static_cast<std::size_t>(gearbox.GearCount > 0 ? gearbox.GearCount : 0) + 1;
  gearbox.Gears.assign(entries, GearEntry{});
  engine.GearMinSpeed.assign(entries, 0.0);
  const double gearMinSpeed = factors.GearMinFactor * (engine.Nrate - engine.Nidle) + engine.Nidle;
  buildGearTable(vehicle, gearMinSpeed, gearbox, engine);
}

}  // namespace hdfe
