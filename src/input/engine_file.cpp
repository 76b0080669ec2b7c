// The engine file: the fuel map and torque curve file names and the idle,
// rated and overrun limit speeds, one value per read.

#include <string>

#include "input/failure.h"
#include "input/freeformat.h"
#include "input/reader_support.h"
#include "input/readers.h"
#include "report/output.h"

namespace hdfe {

void READENGINE(const std::string& engineFile, RunSettings& settings, EngineSpec& engine) {
  const std::string name = trimTrailingBlanks(engineFile);
  std::ifstream file = openInput(name);
  if (!file.is_open()) inputFailure(" Cannot open engine file [ " + name + " ]");

  const std::string failure = " Failed to read engine file [ " + name + " ]";
  const auto read = [&](FreeItem item) { readOrStop(file, name, {item}, failure); };
  read(&settings.FuelMapFile);
  read(&settings.FullLoadCurveFile);
  read(&settings.MotoringCurveFile);
  read(&engine.Nidle);
  read(&engine.Nrate);
  read(&engine.Nex);
  file.close();

  // Normalised engine speeds and the derived floor speeds divide by or scale
  // with Nrate - Nidle.
  if (!(engine.Nrate > engine.Nidle)) {
    inputFailure(" Invalid engine file [ " + name + " ]: rated speed " +
                 formatShortest(engine.Nrate) + " is not above idle speed " +
                 formatShortest(engine.Nidle));
  }
}

}  // namespace hdfe
