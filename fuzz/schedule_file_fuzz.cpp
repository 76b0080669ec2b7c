// The gear schedule reader over arbitrary bytes, read from a file by its
// name. Byte 0 gives the number of seconds read (0 to 255); the rest is the
// file.
//
// Checks: no crash or sanitizer report, a refusal is a FatalStop with its
// message; an accepted file fills the seconds + 1 entries of the schedule.

#include <cstdint>
#include <vector>

#include "fuzz_support.h"
#include "input/readers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const hdfe::fuzz::ScratchFolder folder("schedule");
  if (size < 1) return 0;
  const std::int32_t seconds = data[0];
  const std::string name = folder.write("schedule.txt", hdfe::fuzz::bytesOf(data + 1, size - 1));
  std::vector<std::int32_t> shift(static_cast<std::size_t>(seconds) + 1, -77777);
  if (!hdfe::fuzz::acceptedBy("READSHIFT", [&] { hdfe::READSHIFT(name, seconds, shift); })) {
    return 0;
  }
  if (shift.size() != static_cast<std::size_t>(seconds) + 1) {
    hdfe::fuzz::finding("schedule resized to " + std::to_string(shift.size()) + " entries");
  }
  return 0;
}
