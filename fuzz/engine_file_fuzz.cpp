// The engine file reader over arbitrary bytes, read from a file by its name.
//
// Checks: no crash or sanitizer report, a refusal is a FatalStop with its
// message; an accepted file gives three text fields within their 1024
// characters and finite engine speeds with the rated speed above idle.

#include <cstdint>

#include "fuzz_support.h"
#include "input/readers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const hdfe::fuzz::ScratchFolder folder("engine");
  const std::string name = folder.write("engine.txt", hdfe::fuzz::bytesOf(data, size));
  hdfe::RunSettings settings;
  hdfe::EngineSpec engine;
  if (!hdfe::fuzz::acceptedBy("READENGINE", [&] { hdfe::READENGINE(name, settings, engine); })) {
    return 0;
  }
  hdfe::fuzz::requireTextField(settings.FuelMapFile, "FuelMapFile");
  hdfe::fuzz::requireTextField(settings.FullLoadCurveFile, "FullLoadCurveFile");
  hdfe::fuzz::requireTextField(settings.MotoringCurveFile, "MotoringCurveFile");
  hdfe::fuzz::requireFinite(engine.Nidle, "Nidle");
  hdfe::fuzz::requireFinite(engine.Nrate, "Nrate");
  hdfe::fuzz::requireFinite(engine.Nex, "Nex");
  if (!(engine.Nrate > engine.Nidle)) hdfe::fuzz::finding("rated speed not above idle accepted");
  return 0;
}
