// The shift parameter file over arbitrary bytes, read through the category
// table step with the T5 truck's otherwise valid records.
//
// Checks: no crash or sanitizer report, a refusal is a FatalStop with its
// message; an accepted file gives one minimum engine speed for every gear.

#include <cmath>
#include <cstdint>

#include "fuzz_support.h"
#include "input/readers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const hdfe::fuzz::ScratchFolder folder("shiftparam");
  const std::string name = folder.write("shift_param.txt", hdfe::fuzz::bytesOf(data, size));
  hdfe::RunSettings settings;
  settings.Category = "t5";
  settings.RollAddend = 0.0055;
  settings.AirCoefficient = 0.0287;
  settings.ShiftParamFile = name;
  hdfe::VehicleSpec vehicle;
  vehicle.TireRadius = 0.375;
  hdfe::EngineSpec engine;
  engine.Nidle = 650;
  engine.Nrate = 2800;
  engine.Nex = 3100;
  hdfe::GearboxSpec gearbox;
  gearbox.FinalRatio = 4.875;
  gearbox.LowGearCount = 2;
  gearbox.MainRatioCount = 6;
  gearbox.MainRatios = {0.0, 5.979, 3.434, 2.001, 1.358, 1.0, 0.765};
  gearbox.SubRatioCount = 1;
  gearbox.SubRatios = {0.0, 1.0};
  if (!hdfe::fuzz::acceptedBy("SETVEHICLE",
                              [&] { hdfe::SETVEHICLE(settings, vehicle, engine, gearbox); })) {
    return 0;
  }
  // Factors of any size are taken as they come (the solver stops on engine
  // speeds out of reach); every gear gets the same minimum speed.
  hdfe::fuzz::requireEntries(engine.GearMinSpeed.size(), gearbox.GearCount, "GearMinSpeed");
  for (std::int32_t g = 2; g <= gearbox.GearCount; ++g) {
    const double first = engine.GearMinSpeed[1];
    const double other = engine.GearMinSpeed[g];
    if (!(other == first) && !(std::isnan(other) && std::isnan(first))) {
      hdfe::fuzz::finding("gears with different minimum speeds");
    }
  }
  return 0;
}
