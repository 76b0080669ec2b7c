// The transmission file reader over arbitrary bytes, read from a file by its
// name.
//
// Checks: no crash, no sanitizer report, no allocation beyond what the file
// holds (a count far beyond its lines), a refusal is a FatalStop with its
// message; an accepted file gives counts that are not negative and ratio
// sequences of count + 1 finite entries.

#include <cstdint>

#include "fuzz_support.h"
#include "input/readers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const hdfe::fuzz::ScratchFolder folder("transmission");
  const std::string name = folder.write("transmission.txt", hdfe::fuzz::bytesOf(data, size));
  hdfe::GearboxSpec gearbox;
  if (!hdfe::fuzz::acceptedBy("READTRANS", [&] { hdfe::READTRANS(name, gearbox); })) return 0;
  hdfe::fuzz::requireEntries(gearbox.MainRatios.size(), gearbox.MainRatioCount, "MainRatios");
  hdfe::fuzz::requireEntries(gearbox.SubRatios.size(), gearbox.SubRatioCount, "SubRatios");
  hdfe::fuzz::requireFinite(gearbox.MainRatios, 1, gearbox.MainRatios.size() - 1, "MainRatios");
  hdfe::fuzz::requireFinite(gearbox.SubRatios, 1, gearbox.SubRatios.size() - 1, "SubRatios");
  return 0;
}
