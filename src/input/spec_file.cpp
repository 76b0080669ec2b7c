// The specification file: twenty values, one per read, then the idle stop
// defaults and the flat-road correction of the rolling resistance addend.

#include <cmath>
#include <string>

#include "input/failure.h"
#include "input/freeformat.h"
#include "input/reader_support.h"
#include "input/readers.h"
#include "report/output.h"

namespace hdfe {
namespace {

// The square root of the flat-road correction needs FlatTireRadius + 1 > 0.
void refuseFlatTireRadius(const std::string& name, double flatTireRadius) {
  if (flatTireRadius > -1.0) return;
  inputFailure(" Invalid spec-file [ " + name + " ]: flat-road tire radius " +
               formatShortest(flatTireRadius) + " is not above -1");
}

// An idle stop that is not fitted never stops the engine: 999 s is longer
// than any standstill of the cycle.
void applyIdleStopDefaults(RunSettings& settings) {
  if (settings.IdleStop == 0) settings.IdleStopWait = 999;
  if (settings.StartIdleStop == 0) settings.StartIdleStopTime = 999;
}

}  // namespace

void READSPEC(const std::string& inputName, RunSettings& settings, VehicleSpec& vehicle,
              GearboxSpec& gearbox) {
  const std::string name = trimTrailingBlanks(inputName);
  std::ifstream file = openInput(name);
  if (!file.is_open()) inputFailure(formatFree({" Cannot open spec-file : ", name}));

  const std::string failure = " Failed to read spec_data file ";
  const auto read = [&](FreeItem item) { readOrStop(file, name, {item}, failure); };
  read(&settings.VehicleName);
  read(&settings.Category);
  read(&settings.EngineFile);
  read(&settings.TransmissionFile);
  read(&gearbox.FinalRatio);
  read(&vehicle.TireRadius);
  read(&vehicle.FlatTireRadius);
  read(&settings.TraceOutput);
  read(&settings.RollAddend);
  read(&settings.AirCoefficient);
  read(&settings.IdleStop);
  read(&settings.IdleStopWait);
  read(&settings.StartIdleStop);
  read(&settings.StartIdleStopTime);
  read(&settings.EngineStartTiming);
  read(&settings.Kf1);
  read(&settings.Kf2);
  read(&settings.UrbanScheduleFile);
  read(&settings.HighwayScheduleFile);
  read(&settings.ShiftParamFile);
  file.close();

  refuseFlatTireRadius(name, vehicle.FlatTireRadius);
  applyIdleStopDefaults(settings);
  // The rolling resistance addend is given for a representative tire radius.
  settings.RollAddend = settings.RollAddend * std::sqrt(1.0 / (vehicle.FlatTireRadius + 1.0));
}

}  // namespace hdfe
