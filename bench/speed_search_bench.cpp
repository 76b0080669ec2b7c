// The worst case of the speed search: an engine whose full-load torque never
// meets the demand, so the search runs to its 9999-iteration limit and prints
// its convergence warning from iteration 996 on. Shows how long one such
// second takes and how long both cycles take when nearly every moving second
// is one of them: the T5 truck with a full-load curve that has a trace of
// torque above 1501 rpm (so the search starts) and -1e9 N m at the engine's
// floor speeds (so it never ends), every gear counted above the starting
// gears so that no search ends the run. The console lines are counted and
// dropped, as a terminal or a pipe would take them.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <sstream>
#include <streambuf>

#include "input/readers.h"
#include "run/driver.h"
#include "sim/cycles.h"
#include "sim/solver.h"

namespace {

class CountingSink : public std::streambuf {
 public:
  std::int64_t bytes = 0;
  std::int64_t lines = 0;

 protected:
  std::streamsize xsputn(const char* text, std::streamsize count) override {
    bytes += count;
    for (std::streamsize k = 0; k < count; ++k) lines += text[k] == '\n' ? 1 : 0;
    return count;
  }
  int_type overflow(int_type c) override {
    ++bytes;
    lines += c == '\n' ? 1 : 0;
    return traits_type::not_eof(c);
  }
};

// A console that reads nothing and counts what it is given.
struct DroppedConsole {
  std::istringstream in;
  CountingSink sink;
  std::ostream out{&sink};
  std::ostringstream err;
  hdfe::Console console{in, out, err};
};

hdfe::TorqueCurve curveWithoutTorque() {
  hdfe::TorqueCurve curve;
  curve.Count = 4;
  curve.Speed = {0.0, 500.0, 1500.0, 1501.0, 4000.0};
  curve.Torque = {0.0, -1.0e9, -1.0e9, 1.0e-6, 1.0e-6};
  return curve;
}

hdfe::Evaluation loadT5WithoutTorque() {
  std::filesystem::current_path(std::filesystem::path(HDFE_BENCH_SOURCE_DIR) / "examples" /
                                "t5-truck");
  hdfe::Evaluation run;
  run.settings.InputName = "spec.txt";
  hdfe::loadVehicle(run);
  run.fullLoad = curveWithoutTorque();
  // Every gear floored at its minimum speed: a search that gives up then
  // leaves the engine there rather than stopping the run under that limit.
  run.gearbox.StartGearLimit = 0;
  run.urban = hdfe::urbanCycle();
  run.highway = hdfe::highwayCycle();
  return run;
}

void BM_OneSecondAtTheIterationLimit(benchmark::State& state) {
  const hdfe::Evaluation run = loadT5WithoutTorque();
  DroppedConsole dropped;
  hdfe::Console& console = dropped.console;
  std::int32_t second = 1;  // the first second moving off from rest
  while (!(run.urban.Vtarget[second - 1] == 0.0 && run.urban.Vtarget[second] > 0.0)) ++second;
  for (auto _ : state) {
    const hdfe::StepResult r = hdfe::VEHSTEP(second, run.urban, 0.0, 1, run.vehicle, run.engine,
                                             run.gearbox, run.fullLoad, console);
    benchmark::DoNotOptimize(r.Vreal);
  }
  state.counters["console_bytes_per_second"] = benchmark::Counter(
      static_cast<double>(dropped.sink.bytes) / static_cast<double>(state.iterations()));
}
BENCHMARK(BM_OneSecondAtTheIterationLimit)->Unit(benchmark::kMillisecond);

void BM_BothCyclesAtTheIterationLimit(benchmark::State& state) {
  const hdfe::Evaluation run = loadT5WithoutTorque();
  DroppedConsole dropped;
  hdfe::Console& console = dropped.console;
  // The gear schedules are read once: only the simulation is timed.
  struct CycleRun {
    const hdfe::DriveCycle& cycle;
    hdfe::ModeTrace trace;
  };
  CycleRun cycles[] = {{run.urban, hdfe::makeModeTrace(run.urban.Seconds)},
                       {run.highway, hdfe::makeModeTrace(run.highway.Seconds)}};
  hdfe::READSHIFT(run.settings.UrbanScheduleFile, run.urban.Seconds, cycles[0].trace.Shift);
  hdfe::READSHIFT(run.settings.HighwayScheduleFile, run.highway.Seconds, cycles[1].trace.Shift);
  for (auto _ : state) {
    for (CycleRun& c : cycles) {
      hdfe::simulateCycle(c.cycle, c.trace, run.vehicle, run.engine, run.gearbox, run.fullLoad,
                          console);
      benchmark::DoNotOptimize(c.trace.Vreal.data());
    }
  }
  state.counters["warnings_per_run"] = benchmark::Counter(static_cast<double>(dropped.sink.lines) /
                                                          static_cast<double>(state.iterations()));
  state.counters["console_bytes_per_run"] = benchmark::Counter(
      static_cast<double>(dropped.sink.bytes) / static_cast<double>(state.iterations()));
}
BENCHMARK(BM_BothCyclesAtTheIterationLimit)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
