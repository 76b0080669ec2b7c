// hdfe-schedule SPEC URBAN_OUT HIGHWAY_OUT: writes the two gear schedule files
// of a vehicle from its own data.

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>

#include "input/failure.h"
#include "report/output.h"
#include "run/gear_schedule.h"
#include "sim/cycles.h"

namespace {

void writeScheduleFile(const std::string& name, const hdfe::DriveCycle& cycle,
                       const hdfe::Evaluation& vehicle) {
  const auto shift = hdfe::makeGearSchedule(cycle, vehicle);
  std::ofstream file(name, std::ios::binary | std::ios::trunc);
  if (file) hdfe::writeGearSchedule(file, cycle, shift);
  file.close();
  if (!file) {
    throw hdfe::FatalStop(hdfe::Channel::Err, {" Cannot write schedule file [ " + name +
                                               " ]: " + std::strerror(errno)});
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr
        << "Usage: hdfe-schedule SPECIFICATION_FILE URBAN_SCHEDULE_OUT HIGHWAY_SCHEDULE_OUT\r\n";
    return argc == 2 && std::string(argv[1]) == "--help" ? 0 : 1;
  }
  try {
    hdfe::Evaluation vehicle;
    vehicle.settings.InputName = argv[1];
    hdfe::loadVehicle(vehicle);
    writeScheduleFile(argv[2], hdfe::urbanCycle(), vehicle);
    writeScheduleFile(argv[3], hdfe::highwayCycle(), vehicle);
  } catch (const hdfe::FatalStop& stop) {
    for (const std::string& line : stop.lines) hdfe::writeFixed(std::cerr, line);
    return 1;
  }
  return 0;
}
