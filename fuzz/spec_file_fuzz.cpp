// The specification file reader over arbitrary bytes, read from a file by
// its name as a run reads it.
//
// Checks: no crash or sanitizer report, a refusal is a FatalStop with its
// message; an accepted file gives text fields within their 1024 characters
// and finite numbers, the rolling resistance addend after its flat-road
// correction included when that correction cannot enlarge it.

#include <cstdint>

#include "fuzz_support.h"
#include "input/readers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const hdfe::fuzz::ScratchFolder folder("spec");
  const std::string name = folder.write("spec.txt", hdfe::fuzz::bytesOf(data, size));
  hdfe::RunSettings settings;
  hdfe::VehicleSpec vehicle;
  hdfe::GearboxSpec gearbox;
  if (!hdfe::fuzz::acceptedBy("READSPEC",
                              [&] { hdfe::READSPEC(name, settings, vehicle, gearbox); })) {
    return 0;
  }
  using hdfe::fuzz::requireFinite;
  using hdfe::fuzz::requireTextField;
  for (const std::string* text :
       {&settings.VehicleName, &settings.Category, &settings.EngineFile, &settings.TransmissionFile,
        &settings.UrbanScheduleFile, &settings.HighwayScheduleFile, &settings.ShiftParamFile}) {
    requireTextField(*text, "specification text value");
  }
  requireFinite(gearbox.FinalRatio, "FinalRatio");
  requireFinite(vehicle.TireRadius, "TireRadius");
  requireFinite(vehicle.FlatTireRadius, "FlatTireRadius");
  // The flat-road correction multiplies by sqrt(1 / (FlatTireRadius + 1)),
  // at most 1 for a radius that is not negative.
  if (vehicle.FlatTireRadius >= 0.0) requireFinite(settings.RollAddend, "RollAddend");
  requireFinite(settings.AirCoefficient, "AirCoefficient");
  requireFinite(settings.Kf1, "Kf1");
  requireFinite(settings.Kf2, "Kf2");
  if (settings.IdleStop == 0 && settings.IdleStopWait != 999) {
    hdfe::fuzz::finding("IdleStopWait not 999");
  }
  if (settings.StartIdleStop == 0 && settings.StartIdleStopTime != 999) {
    hdfe::fuzz::finding("StartIdleStopTime not 999");
  }
  return 0;
}
