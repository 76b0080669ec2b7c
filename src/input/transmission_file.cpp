// The transmission file: low gear count, main ratios, auxiliary ratios and
// kind, one value per read.

#include <cstdint>
#include <string>
#include <vector>

#include "input/failure.h"
#include "input/freeformat.h"
#include "input/reader_support.h"
#include "input/readers.h"

namespace hdfe {
namespace {

struct TransmissionInput {
  std::istream& in;
  const std::string& name;
  std::string failure;
};

std::int32_t readCount(TransmissionInput& input, const char* what) {
  std::int32_t count = 0;
  readOrStop(input.in, input.name, {&count}, input.failure);
  // A negative count would leave the gear table unfilled while the gear count,
  // the product of the two counts, could still come out positive.
  if (count < 0) {
    inputFailure(" Invalid transmission file [ " + input.name + " ]: negative number of " + what +
                 " (" + std::to_string(count) + ")");
  }
  return count;
}

// Ratios 1..count, one per read. The sequence grows with each value read, so
// a count far beyond the file's lines ends at the end of the file rather than
// in one huge allocation.
std::vector<double> readRatios(TransmissionInput& input, std::int32_t count) {
  std::vector<double> ratios(1, 0.0);
  for (std::int32_t k = 1; k <= count; ++k) {
    double ratio = 0.0;
    readOrStop(input.in, input.name, {&ratio}, input.failure);
    ratios.push_back(ratio);
  }
  return ratios;
}

}  // namespace

void READTRANS(const std::string& transmissionFile, GearboxSpec& gearbox) {
  const std::string name = trimTrailingBlanks(transmissionFile);
  std::ifstream file = openInput(name);
  if (!file.is_open()) inputFailure(" Cannot open transmission file [ " + name + " ]");

  TransmissionInput input{file, name, " Failed to read transmission file [ " + name + " ]"};
  readOrStop(file, name, {&gearbox.LowGearCount}, input.failure);
  gearbox.MainRatioCount = readCount(input, "main gear ratios");
  gearbox.MainRatios = readRatios(input, gearbox.MainRatioCount);
  gearbox.SubRatioCount = readCount(input, "auxiliary ratios");
  gearbox.SubRatios = readRatios(input, gearbox.SubRatioCount);
  readOrStop(file, name, {&gearbox.Kind}, input.failure);
}

}  // namespace hdfe
