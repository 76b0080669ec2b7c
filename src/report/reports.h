#pragma once
// The console summary, the results file, the trace checks and the trace blocks.

#include <ostream>
#include <string_view>

#include "input/records.h"
#include "run/figures.h"
#include "sim/cycles.h"

namespace hdfe {

// The vehicle summary on the console (standard output).
void PRINTSPEC(std::ostream& out, const VehicleSpec& vehicle, const EngineSpec& engine,
               const GearboxSpec& gearbox, std::string_view VehicleName,
               std::string_view Category);

// The 30 lines of the results file, figures after the torque-converter factors.
void WRITERESULT(std::ostream& file, const RunSettings& settings, const VehicleSpec& vehicle,
                 const GearboxSpec& gearbox, const ModeFigures& urban,
                 const ModeFigures& midTown, const ModeFigures& highway);

// Speed check (message, run goes on) and torque check (message, run stops:
// throws FatalStop on standard output).
void CHECKTRACE(const DriveCycle& cycle, const ModeTrace& trace, std::ostream& out);

// One trace block appended to the results file.
void WRITETRACE(std::ostream& file, const DriveCycle& cycle, const ModeTrace& trace,
                std::string_view cycleName);

}  // namespace hdfe
