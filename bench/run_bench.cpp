// The whole evaluation of an example vehicle (loading, both cycles, figures,
// checks) and the writing of its results file with both trace blocks.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <sstream>

#include "report/reports.h"
#include "run/driver.h"

namespace {

std::filesystem::path exampleFolder() {
  return std::filesystem::path(HDFE_BENCH_SOURCE_DIR) / "examples" / "t5-truck";
}

void evaluateExample(hdfe::Evaluation& run) {
  std::istringstream in;
  std::ostringstream out;
  std::ostringstream err;
  hdfe::Console console{in, out, err};
  run.settings.InputName = "spec.txt";
  hdfe::evaluateVehicle(run, console);
}

void BM_EvaluateT5Truck(benchmark::State& state) {
  std::filesystem::current_path(exampleFolder());
  for (auto _ : state) {
    hdfe::Evaluation run;
    evaluateExample(run);
    benchmark::DoNotOptimize(run.urbanFigures.FuelEconomy);
  }
}
BENCHMARK(BM_EvaluateT5Truck)->Unit(benchmark::kMillisecond);

void BM_WriteResultsWithTrace(benchmark::State& state) {
  std::filesystem::current_path(exampleFolder());
  hdfe::Evaluation run;
  evaluateExample(run);
  for (auto _ : state) {
    std::ostringstream file;
    hdfe::WRITERESULT(file, run.settings, run.vehicle, run.gearbox, run.urbanFigures,
                      run.midTownFigures, run.highwayFigures);
    hdfe::WRITETRACE(file, run.urban, run.urbanTrace, run.urban.Name);
    hdfe::WRITETRACE(file, run.highway, run.highwayTrace, run.highway.Name);
    benchmark::DoNotOptimize(file.str().size());
  }
}
BENCHMARK(BM_WriteResultsWithTrace)->Unit(benchmark::kMillisecond);

}  // namespace
