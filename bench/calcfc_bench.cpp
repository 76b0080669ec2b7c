// The fuel rate of a whole HIGHWAY trace: one CALCFC call over 3120 seconds of
// plausible operating points, on the 20 x 20 grid of a synthetic measured map.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>

#include "fuel/fuel.h"
#include "sim/cycles.h"

namespace {

using namespace hdfe;

// A heavy-duty diesel measured on ten speed lines of eight torques each: fuel
// rate from power and a specific consumption that is best at mid speed and
// high load.
FuelMap syntheticMap() {
  FuelMap map;
  map.IdleFuel = 1.1;
  map.Speed = {0.0};
  map.Torque = {0.0};
  map.Fuel = {0.0};
  for (int line = 0; line < 10; ++line) {
    const double speed = 600.0 + 200.0 * line;
    for (int point = 0; point < 8; ++point) {
      const double torque = 100.0 + 250.0 * point;
      const double powerKw = torque * speed * 2.0 * M_PI / 60.0 / 1000.0;
      const double gramsPerKwh =
          195.0 + 2.0e-5 * (speed - 1300.0) * (speed - 1300.0) + 9000.0 / (torque + 60.0);
      map.Speed.push_back(speed);
      map.Torque.push_back(torque);
      map.Fuel.push_back(powerKw * gramsPerKwh / 1000.0 / 0.83);  // l/h
      ++map.Count;
    }
  }
  return map;
}

TorqueCurve motoringCurve() {
  TorqueCurve curve;
  curve.Count = 3;
  curve.Speed = {0.0, 600.0, 1400.0, 2400.0};
  curve.Torque = {0.0, -60.0, -100.0, -180.0};
  return curve;
}

// 80 km/h over rolling grades: engine speed around 1400 rpm with the odd
// shift, load between coasting (fuel cut) and near full torque.
ModeTrace highwayTrace(const DriveCycle& cycle) {
  ModeTrace trace = makeModeTrace(cycle.Seconds);
  for (std::int32_t i = 1; i <= cycle.Seconds; ++i) {
    const double t = i;
    trace.Shift[i] = (i % 600 < 3) ? 0 : (i % 900 < 200 ? 11 : 12);
    trace.Ne[i] = 1400.0 + 120.0 * std::sin(t / 47.0) + 35.0 * std::sin(t / 7.3);
    trace.Te[i] = 700.0 + 850.0 * std::sin(t / 131.0) + 120.0 * std::cos(t / 11.0);
  }
  return trace;
}

void BM_CalcfcHighwayTrace(benchmark::State& state) {
  const FuelMap map = syntheticMap();
  const TorqueCurve motoring = motoringCurve();
  FuelGrid grid;
  FCGRID(grid, map, motoring);
  EngineSpec engine;
  engine.Nidle = 600.0;
  const DriveCycle cycle = highwayCycle();
  ModeTrace trace = highwayTrace(cycle);
  for (auto _ : state) {
    CALCFC(trace, cycle, motoring, grid, engine);
    benchmark::DoNotOptimize(trace.FC.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * cycle.Seconds);  // seconds of trace
}
BENCHMARK(BM_CalcfcHighwayTrace)->Unit(benchmark::kMicrosecond);

}  // namespace
