#pragma once
// The run driver: names, loading, simulation, figures, checks and reports.

#include <string>
#include <vector>

#include "fuel/fuel.h"
#include "input/records.h"
#include "report/output.h"
#include "run/figures.h"
#include "sim/cycles.h"

namespace hdfe {

inline constexpr const char* kVersionText = "Version 20221014";

// Every record of one run, owned by the driver.
struct Evaluation {
  RunSettings settings;
  VehicleSpec vehicle;
  EngineSpec engine;
  GearboxSpec gearbox;
  TorqueCurve fullLoad;
  TorqueCurve motoring;
  FuelMap fuelMap;
  FuelGrid grid;
  DriveCycle urban;
  DriveCycle highway;
  ModeTrace urbanTrace;
  ModeTrace highwayTrace;
  ModeFigures urbanFigures;
  ModeFigures midTownFigures;
  ModeFigures highwayFigures;
};

// Reads the specification file and every file it reaches, derives the vehicle
// data and grids the fuel map (settings.InputName names the specification file).
void loadVehicle(Evaluation& run);

// Everything of a run before its files are written: loading, the summary,
// both cycles, the figures (torque-converter factors applied) and the trace
// checks, with the console lines of those steps. settings.InputName names
// the specification file. A stop throws FatalStop.
void evaluateVehicle(Evaluation& run, Console& console);

// Runs the whole evaluation; args are the command-line arguments after the
// program name. Returns the process exit status: 0 on completion, 1 when the
// run stopped on a failure.
int runHdfe(const std::vector<std::string>& args, Console& console);

// The current local date and time as 24 characters, e.g. "Fri Oct 14 09:05:07 2022".
std::string localDateTime();

}  // namespace hdfe
