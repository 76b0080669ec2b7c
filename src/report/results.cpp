#include <string>

#include "report/output.h"
#include "report/reports.h"
#include "report/texts.h"

namespace hdfe {

namespace {

constexpr std::string_view kTab = "\t";
constexpr std::string_view kFuelEconomyLabel = "FC(km/l)";
constexpr std::string_view kAveSpeedLabel = "Ave.Speed(km/h)";

// Label, tab, value: the echoed identification and settings.
void writeSetting(std::ostream& file, std::string_view label, std::string_view value) {
  writeFixed(file, std::string(label).append(kTab).append(value));
}

// The first field of every figure line is 16 Shift_JIS bytes, so the tabs
// after it line up.
std::string figureLine(std::string_view label, double fuelEconomy) {
  return std::string(label)
      .append(kTab)
      .append(kFuelEconomyLabel)
      .append(kTab)
      .append(formatF(fuelEconomy, 8, 4))
      .append(kTab);
}

void writeSpeedLine(std::ostream& file, std::string_view label, const ModeFigures& figures) {
  writeFixed(file, figureLine(label, figures.FuelEconomy)
                       .append(kAveSpeedLabel)
                       .append(kTab)
                       .append(formatF(figures.AveSpeed, 5, 1)));
}

// The transient-corrected line names the correction and carries no number after it.
void writeTransientLine(std::ostream& file, double transient) {
  writeFixed(file, figureLine(texts::kAfterTransientLabel.cp932, transient)
                       .append(texts::kTransientPercentLabel.cp932));
}

void writeKfLine(std::ostream& file, double adjusted, std::string_view factorLabel, double factor) {
  writeFixed(file, figureLine(texts::kKfConsideredLabel.cp932, adjusted)
                       .append(factorLabel)
                       .append(kTab)
                       .append(formatF(factor, 8, 6)));
}

void writeHeading(std::ostream& file, std::string_view heading) {
  writeFree(file, {});
  writeFree(file, {heading});
}

void writeSettings(std::ostream& file, const RunSettings& settings, const VehicleSpec& vehicle,
                   const GearboxSpec& gearbox) {
  writeSetting(file, "VEHICLENAME", settings.VehicleName);
  writeSetting(file, "TYPE", settings.Category);
  writeSetting(file, "SPEC FILE", settings.InputName);
  writeSetting(file, "ENGINE FILE", settings.EngineFile);
  writeSetting(file, "TRANSMISSION FILE", settings.TransmissionFile);
  writeSetting(file, "FINAL GEAR RATIO", formatF(gearbox.FinalRatio, 8, 5));
  writeSetting(file, "TIRE RADIUS(m)", formatF(vehicle.TireRadius, 8, 5));
  writeSetting(file, texts::kFlatTireRadiusLabel.cp932, formatF(vehicle.FlatTireRadius, 8, 5));
  // The idle stop settings; a wait of 999 (idle stop off) does not fit I2
  // and prints as two asterisks.
  writeSetting(file, texts::kIdleStopLabel.cp932, formatI(settings.IdleStop, 2));
  writeSetting(file, texts::kIdleStopWaitLabel.cp932, formatI(settings.IdleStopWait, 2));
  writeSetting(file, texts::kStartIdleStopLabel.cp932, formatI(settings.StartIdleStop, 2));
  writeSetting(file, texts::kStartIdleStopTimeLabel.cp932, formatI(settings.StartIdleStopTime, 2));
  writeSetting(file, texts::kEngineStartTimingLabel.cp932, formatI(settings.EngineStartTiming, 2));
}

}  // namespace

void WRITERESULT(std::ostream& file, const RunSettings& settings, const VehicleSpec& vehicle,
                 const GearboxSpec& gearbox, const ModeFigures& urban, const ModeFigures& midTown,
                 const ModeFigures& highway) {
  const DerivedFigures derived =
      deriveFigures(urban, midTown, highway, settings.Kf1, settings.Kf2, vehicle.HighwayRatio);
  writeSettings(file, settings, vehicle, gearbox);

  writeHeading(file, texts::kUrbanHeading.cp932);
  writeSpeedLine(file, texts::kBeforeTransientLabel.cp932, urban);
  writeTransientLine(file, derived.UrbanTransient);
  writeKfLine(file, derived.UrbanKf, "Kf1      ", settings.Kf1);

  writeHeading(file, texts::kHighwayHeading.cp932);
  writeSpeedLine(file, texts::kCentredBlankLabel.cp932, highway);
  writeKfLine(file, derived.HighwayKf, "Kf2      ", settings.Kf2);

  writeHeading(file, texts::kAverageHeading.cp932);
  writeFixed(file, figureLine(texts::kCentredBlankLabel.cp932, derived.AverageFC)
                       .append("HIGHWAY RATIO")
                       .append(kTab)
                       .append(formatF(vehicle.HighwayRatio, 5, 2)));

  writeHeading(file, texts::kMidTownHeading.cp932);
  writeSpeedLine(file, texts::kBeforeTransientLabel.cp932, midTown);
  writeTransientLine(file, derived.MidTownTransient);
  writeKfLine(file, derived.MidTownKf, "Kf1      ", settings.Kf1);
}

}  // namespace hdfe
