#include <string>

#include "report/output.h"
#include "report/reports.h"

namespace hdfe {

namespace {

constexpr std::string_view kHyphenLine =
    "----------------------------------------------------------";

void writeIdentification(std::ostream& out, const GearboxSpec& gearbox, double HighwayRatio,
                         std::string_view VehicleName, std::string_view Category) {
  writeFree(out, {kHyphenLine});
  writeFixed(out, std::string(" Vehicle Name    : ").append(VehicleName));
  // Category codes start with T for trucks and B for buses; other codes
  // have no type line.
  if (!Category.empty() && Category.front() == 'T') writeFixed(out, " Vehicle type  : TRUCK");
  if (!Category.empty() && Category.front() == 'B') writeFixed(out, " Vehicle type  : BUS");
  writeFixed(out, std::string(" Category      : ").append(Category));
  writeFixed(
      out, gearbox.Kind == 1 ? " Transmission  : Torque Converter AT" : " Transmission  : MT, AMT");
  writeFixed(out, " HIGHWAY RATIO : " + formatF(100.0 * HighwayRatio, 0, 2) + " [%]");
  writeFree(out, {});
}

void writeBody(std::ostream& out, const VehicleSpec& vehicle) {
  writeFree(out, {kHyphenLine});
  writeFixed(out, " GVW =" + formatF(vehicle.GVW, 8, 2) + "[kg]");
  writeFixed(out, " Wcurb =" + formatF(vehicle.Wcurb, 8, 2) +
                      "[kg], Wtest =" + formatF(vehicle.Wtest, 8, 2) + "[kg]");
  writeFixed(out, " Width =" + formatF(vehicle.Width, 8, 3) +
                      "[m],  Height=" + formatF(vehicle.Height, 8, 3) +
                      "[m], Tire radius=" + formatF(vehicle.TireRadius, 8, 3) + "[m]");
  writeFixed(out, " Crew =" + formatI(vehicle.Crew, 3));
  writeFree(out, {});
}

void writeEngineAndResistance(std::ostream& out, const VehicleSpec& vehicle,
                              const EngineSpec& engine) {
  writeFixed(out, " Nidle =" + formatF(engine.Nidle, 8, 2) +
                      "[rpm], Nrate =" + formatF(engine.Nrate, 8, 2) +
                      "[rpm], Nex  =" + formatF(engine.Nex, 8, 2) + "[rpm]");
  writeFixed(out, " Nes   =" + formatF(engine.Nes, 8, 2) +
                      "[rpm], Nec   =" + formatF(engine.Nec, 8, 2) + "[rpm]");
  writeFixed(out, " MuAir =" + formatF(vehicle.MuAir, 10, 6) + " [N/(km/h)^2]");
  writeFixed(out, " MuRoll =" + formatF(vehicle.MuRoll, 10, 6) + " [N/kg]");
  writeFree(out, {});
}

void writeGearTable(std::ostream& out, const GearboxSpec& gearbox) {
  writeFixed(out, " NUMBER OF GEAR =" + formatI(gearbox.GearCount, 3));
  writeFixed(out, " GEAR   RATIO  EFFICIENCY  TORQ MARGIN    DW[kg]");
  for (std::int32_t g = 1; g <= gearbox.GearCount; ++g) {
    // at(): a gear table shorter than its count is a fault of the caller,
    // reported rather than read past its end.
    const GearEntry& gear = gearbox.Gears.at(static_cast<std::size_t>(g));
    writeFixed(out, formatI(g, 4) + ": " + formatF(gear.Ratio, 8, 3) +
                        formatF(gear.Efficiency, 10, 3) + formatF(gear.TorqueMargin, 12, 3) +
                        formatF(gear.DW, 15, 5));
  }
  writeFixed(
      out, " FIN: " + formatF(gearbox.FinalRatio, 8, 3) + formatF(gearbox.FinalEfficiency, 10, 3));
  writeFree(out, {});
}

}  // namespace

void PRINTSPEC(std::ostream& out, const VehicleSpec& vehicle, const EngineSpec& engine,
               const GearboxSpec& gearbox, std::string_view VehicleName,
               std::string_view Category) {
  writeIdentification(out, gearbox, vehicle.HighwayRatio, VehicleName, Category);
  writeBody(out, vehicle);
  writeEngineAndResistance(out, vehicle, engine);
  writeGearTable(out, gearbox);
}

}  // namespace hdfe
