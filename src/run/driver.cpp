#include "run/driver.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>

#include "fuel/fuel.h"
#include "input/failure.h"
#include "input/freeformat.h"
#include "input/readers.h"
#include "input/records.h"
#include "report/reports.h"
#include "run/figures.h"
#include "sim/cycles.h"
#include "sim/solver.h"

namespace hdfe {

namespace {

constexpr std::string_view kInputPrompt = " TYPE FILENAME FOR INPUT : ";
constexpr std::string_view kOutputPrompt = " TYPE FILENAME FOR OUTPUT : ";
constexpr std::string_view kHyphenLine =
    "----------------------------------------------------------";
constexpr std::string_view kConsoleName = "console";

void printUsage(std::ostream& out) {
  writeFixed(out, "Usage: hdfe [SPECIFICATION_FILE [OUTPUT_NAME]]");
  writeFixed(out, "");
  writeFixed(out, "Evaluates the fuel economy of a heavy-duty truck or bus over the URBAN");
  writeFixed(out, "(JE05 with idle stop) and HIGHWAY cycles and writes OUTPUT_NAME (the");
  writeFixed(out, "results file) and OUTPUT_NAME_info.txt. Names not given on the command");
  writeFixed(out, "line are asked for on the console.");
  writeFixed(out, "");
  writeFixed(out, "  --help     print this text");
  writeFixed(out, "  --version  print the version");
  writeFixed(out, "");
  writeFixed(out, "Exit status: 0 when the run completes, 1 when it stops on a failure.");
}

// A command-line argument as a 1024-character text field.
std::string argumentName(const std::vector<std::string>& args, std::size_t index) {
  if (index >= args.size()) return {};
  const std::string_view arg = args[index];
  return trimTrailingBlanks(arg.substr(0, std::min(arg.size(), kTextFieldLength)));
}

// Asks for a name until the console gives a non-blank one; a null value or a
// slash leaves it blank and brings the prompt again.
void askWhileBlank(std::string& name, std::string_view prompt, Console& console) {
  while (name.empty()) {
    writeNoAdvance(console.out, prompt);
    readFreeUnguarded(console.in, kConsoleName, {&name});
  }
}

ModeTrace simulate(const DriveCycle& cycle, const std::string& scheduleFile, const Evaluation& v,
                   Console& console) {
  ModeTrace trace = makeModeTrace(cycle.Seconds);
  READSHIFT(scheduleFile, cycle.Seconds, trace.Shift);
  simulateCycle(cycle, trace, v.vehicle, v.engine, v.gearbox, v.fullLoad, console);
  CALCFC(trace, cycle, v.motoring, v.grid, v.engine);
  return trace;
}

[[noreturn]] void cannotWrite(const std::string& name, int error) {
  throw FatalStop(Channel::Err,
                  {" Cannot write output file [ " + name + " ]: " + std::strerror(error)});
}

// Writes a file completely or not at all: the content goes to a scratch file
// beside the target, which replaces the target only once it is complete, so a
// failure never leaves a truncated file or destroys the previous one.
void writeWhole(const std::string& name, const std::function<void(std::ostream&)>& write) {
  namespace fs = std::filesystem;
  const fs::path target(name);
  std::string scratchName(".");
  scratchName += target.filename().string();
  scratchName += ".partial-";
  scratchName += std::to_string(::getpid());
  fs::path scratch = target;
  scratch.replace_filename(scratchName);
  {
    std::ofstream file(scratch, std::ios::binary | std::ios::trunc);
    if (!file) cannotWrite(name, errno);
    write(file);
    file.close();
    if (!file) {
      const int error = errno;
      std::remove(scratch.c_str());
      cannotWrite(name, error);
    }
  }
  if (std::rename(scratch.c_str(), target.c_str()) != 0) {
    const int error = errno;
    std::remove(scratch.c_str());
    cannotWrite(name, error);
  }
}

void writeInfoFile(const std::string& outputName) {
  const std::string dateTime = localDateTime();
  writeWhole(outputName + "_info.txt", [&](std::ostream& file) {
    writeFree(file, {kVersionText});
    writeFree(file, {std::string_view(dateTime)});
  });
}

void writeResultsFile(const Evaluation& run) {
  writeWhole(run.settings.OutputName, [&](std::ostream& file) {
    WRITERESULT(file, run.settings, run.vehicle, run.gearbox, run.urbanFigures, run.midTownFigures,
                run.highwayFigures);
    if (run.settings.TraceOutput == 1) {
      WRITETRACE(file, run.urban, run.urbanTrace, run.urban.Name);
      WRITETRACE(file, run.highway, run.highwayTrace, run.highway.Name);
    }
  });
}

int evaluateAndWrite(const std::vector<std::string>& args, Console& console) {
  Evaluation run;
  RunSettings& settings = run.settings;
  settings.InputName = argumentName(args, 0);
  settings.OutputName = argumentName(args, 1);
  askWhileBlank(settings.InputName, kInputPrompt, console);
  askWhileBlank(settings.OutputName, kOutputPrompt, console);

  evaluateVehicle(run, console);

  writeFree(console.out, {});
  writeFixed(console.out, " OUTPUT FILE : " + settings.OutputName);
  writeInfoFile(settings.OutputName);
  writeResultsFile(run);
  writeFree(console.out, {" complete."});
  return 0;
}

}  // namespace

void loadVehicle(Evaluation& v) {
  READSPEC(v.settings.InputName, v.settings, v.vehicle, v.gearbox);
  READTRANS(v.settings.TransmissionFile, v.gearbox);
  READENGINE(v.settings.EngineFile, v.settings, v.engine);
  SETVEHICLE(v.settings, v.vehicle, v.engine, v.gearbox);
  READTORQUE(v.settings.FullLoadCurveFile, v.fullLoad);
  READTORQUE(v.settings.MotoringCurveFile, v.motoring);
  READFMAP(v.settings.FuelMapFile, v.fuelMap);
  FCGRID(v.grid, v.fuelMap, v.motoring);
}

void evaluateVehicle(Evaluation& run, Console& console) {
  loadVehicle(run);
  const RunSettings& settings = run.settings;
  PRINTSPEC(console.out, run.vehicle, run.engine, run.gearbox, settings.VehicleName,
            settings.Category);

  run.urban = urbanCycle();
  run.urbanTrace = simulate(run.urban, settings.UrbanScheduleFile, run, console);
  IDLESTOP(run.urbanTrace, run.urban, settings.IdleStopWait, settings.StartIdleStopTime,
           settings.EngineStartTiming);
  run.urbanFigures = MODEFC(&run.urbanTrace.Vreal[1], &run.urbanTrace.FC[1], run.urban.Seconds);
  run.midTownFigures = MODEFC(&run.urbanTrace.Vreal[kMidTownFirstSecond],
                              &run.urbanTrace.FC[kMidTownFirstSecond], kMidTownSeconds);

  run.highway = highwayCycle();
  run.highwayTrace = simulate(run.highway, settings.HighwayScheduleFile, run, console);
  run.highwayFigures =
      MODEFC(&run.highwayTrace.Vreal[1], &run.highwayTrace.FC[1], run.highway.Seconds);

  writeFree(console.out, {kHyphenLine});
  applyTorqueConverterFactors(run.gearbox.Kind, run.urbanFigures, run.midTownFigures,
                              run.highwayFigures);
  for (const std::string& warning :
       nonFiniteSpanWarnings(run.urbanFigures, run.midTownFigures, run.highwayFigures)) {
    writeFree(console.out, {std::string_view(warning)});
  }
  CHECKTRACE(run.urban, run.urbanTrace, console.out);
  CHECKTRACE(run.highway, run.highwayTrace, console.out);
}

std::string localDateTime() {
  static constexpr const char* kWeekdays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[96];
  std::snprintf(text, sizeof text, "%s %s %2d %02d:%02d:%02d %4d", kWeekdays[local.tm_wday % 7],
                kMonths[local.tm_mon % 12], local.tm_mday, local.tm_hour, local.tm_min,
                local.tm_sec, local.tm_year + 1900);
  return text;
}

int runHdfe(const std::vector<std::string>& args, Console& console) {
  if (!args.empty() && args[0] == "--help") {
    printUsage(console.out);
    return 0;
  }
  if (!args.empty() && args[0] == "--version") {
    writeFixed(console.out, std::string("hdfe ") + kVersionText);
    return 0;
  }
  try {
    return evaluateAndWrite(args, console);
  } catch (const FatalStop& stop) {
    std::ostream& stream = stop.channel == Channel::Err ? console.err : console.out;
    for (const std::string& line : stop.lines) writeFixed(stream, line);
    console.out.flush();
    console.err.flush();
    return 1;
  } catch (const std::exception& failure) {
    // Not a condition of the evaluation itself (out of memory, for example):
    // still a failed run, reported as such.
    writeFixed(console.err, std::string(" Run stopped: ") + failure.what());
    return 1;
  }
}

}  // namespace hdfe
