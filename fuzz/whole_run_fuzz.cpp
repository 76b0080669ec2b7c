// The whole evaluation of one vehicle, in process, up to but not including
// the writing of its files.
//
// Input layout: the vehicle's nine input files one after the other, each
// followed by a line "----8<----": spec.txt, transmission.txt, engine.txt,
// shift_param.txt, fullload.txt, motoring.txt, fuelmap.txt, urban_shift.txt,
// highway_shift.txt. A file left out is missing. The files are written into a
// private folder that the process works in, so the names inside the files
// are found as a user's run finds them.
//
// Checks: no crash, sanitizer report or exception other than FatalStop; after
// a completed evaluation no figure of URBAN, MID-TOWN or HIGHWAY is NaN or
// infinite unless the console carries the warning for that span, and no
// value of either trace that the trace blocks would print is NaN or infinite.
//
// The process changes its working directory: give libFuzzer absolute names
// for the corpus, the artifacts and the dictionary.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <streambuf>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "run/driver.h"
#include "sim/solver.h"

namespace {

using hdfe::fuzz::finding;

constexpr std::string_view kSeparator = "----8<----\n";
constexpr std::array<std::string_view, 9> kFileNames = {
    "spec.txt",     "transmission.txt", "engine.txt",      "shift_param.txt",  "fullload.txt",
    "motoring.txt", "fuelmap.txt",      "urban_shift.txt", "highway_shift.txt"};

// The console of the run. A vehicle whose speed search never converges prints
// thousands of warnings per second of the cycles; only the lines the checks
// look for are kept, so memory stays bounded.
class ConsoleLines : public std::streambuf {
 public:
  bool warnedAbout(std::string_view span) const {
    return kept_.find(" " + std::string(span) + " ") != std::string::npos ||
           kept_.find(" " + std::string(span) + ",") != std::string::npos;
  }

 protected:
  std::streamsize xsputn(const char* text, std::streamsize count) override {
    std::streamsize done = 0;
    while (done < count) {
      const char* start = text + done;
      const auto rest = static_cast<std::size_t>(count - done);
      const char* end = static_cast<const char*>(std::memchr(start, '\n', rest));
      const std::size_t piece = end == nullptr ? rest : static_cast<std::size_t>(end - start);
      line_.append(start, std::min(piece, kLongestKept - std::min(kLongestKept, line_.size())));
      done += static_cast<std::streamsize>(piece);
      if (end != nullptr) {
        endLine();
        ++done;
      }
    }
    return count;
  }

  int_type overflow(int_type c) override {
    if (c == traits_type::eof()) return traits_type::not_eof(c);
    const char character = traits_type::to_char_type(c);
    xsputn(&character, 1);
    return c;
  }

 private:
  static constexpr std::size_t kLongestKept = 256;

  void endLine() {
    if (line_.find("fuel economy") != std::string::npos) kept_ += line_;
    line_.clear();
  }

  std::string line_;
  std::string kept_;
};

// Names that reach devices or the system's own files could block or read
// without end; they say nothing about the evaluation.
bool namesOutsideTheVehicle(std::string_view input) {
  for (const std::string_view risky : {"/dev", "/proc", "/sys", ".."}) {
    if (input.find(risky) != std::string_view::npos) return true;
  }
  return false;
}

void writeVehicleFiles(const hdfe::fuzz::ScratchFolder& folder, std::string_view input) {
  std::size_t start = 0;
  for (const std::string_view name : kFileNames) {
    if (start > input.size()) {
      folder.remove(name);
      continue;
    }
    std::size_t end = input.find(kSeparator, start);
    while (end != std::string_view::npos && end > 0 && input[end - 1] != '\n') {
      end = input.find(kSeparator, end + 1);
    }
    if (end == std::string_view::npos) end = input.size();
    folder.write(name, input.substr(start, end - start));
    start = end + kSeparator.size();
  }
}

void requireFiniteTrace(const hdfe::DriveCycle& cycle, const hdfe::ModeTrace& trace,
                        const hdfe::TorqueCurve& fullLoad) {
  const std::string name(cycle.Name);
  const std::size_t n = static_cast<std::size_t>(cycle.Seconds);
  for (const auto* values :
       {&trace.Vreal, &trace.Ne, &trace.Te, &trace.N_norm, &trace.T_norm, &trace.FC}) {
    if (values->size() != n + 1) finding(name + " trace array not of n + 1 entries");
  }
  for (std::size_t t = 1; t <= n; ++t) {
    const std::string at = name + " second " + std::to_string(t) + ": ";
    hdfe::fuzz::requireFinite(cycle.Vtarget[t], at + "Vtarget");
    hdfe::fuzz::requireFinite(trace.Vreal[t], at + "Vreal");
    hdfe::fuzz::requireFinite(trace.Ne[t], at + "Ne");
    hdfe::fuzz::requireFinite(trace.Te[t], at + "Te");
    hdfe::fuzz::requireFinite(trace.N_norm[t], at + "N_norm");
    // Where the full-load curve gives 0 N m at the second's engine speed the
    // normalised torque is undefined and the trace says so; the torque check
    // stops a run whose share is +infinity.
    if (hdfe::TORQAT(fullLoad, trace.Ne[t]) != 0.0) {
      hdfe::fuzz::requireFinite(trace.T_norm[t], at + "T_norm");
    }
    hdfe::fuzz::requireFinite(trace.FC[t], at + "FC");
  }
}

void requireFiniteOrWarned(const hdfe::ModeFigures& figures, std::string_view span,
                           const ConsoleLines& console) {
  if (std::isfinite(figures.FuelEconomy) && std::isfinite(figures.AveSpeed)) return;
  if (console.warnedAbout(span)) return;
  finding(std::string(span) + " figures not finite (" + std::to_string(figures.FuelEconomy) +
          " km/l, " + std::to_string(figures.AveSpeed) + " km/h) without a warning");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The folder is the working directory of every run of this process.
  static const hdfe::fuzz::ScratchFolder folder("run");
  static const bool inside = (std::filesystem::current_path(folder.path()), true);
  (void)inside;

  const std::string_view input = hdfe::fuzz::bytesOf(data, size);
  if (namesOutsideTheVehicle(input)) return 0;
  writeVehicleFiles(folder, input);

  hdfe::Evaluation run;
  run.settings.InputName = "spec.txt";
  run.settings.OutputName = "result";
  // One integer for the read after the missing-gear message.
  std::istringstream in("1\n");
  ConsoleLines outLines;
  ConsoleLines errLines;
  std::ostream out(&outLines);
  std::ostream err(&errLines);
  hdfe::Console console{in, out, err};
  if (!hdfe::fuzz::acceptedBy(
          "evaluateVehicle", [&] { hdfe::evaluateVehicle(run, console); }, false)) {
    return 0;
  }
  requireFiniteOrWarned(run.urbanFigures, "URBAN", outLines);
  requireFiniteOrWarned(run.midTownFigures, "MID-TOWN", outLines);
  requireFiniteOrWarned(run.highwayFigures, "HIGHWAY", outLines);
  requireFiniteTrace(run.urban, run.urbanTrace, run.fullLoad);
  requireFiniteTrace(run.highway, run.highwayTrace, run.fullLoad);
  return 0;
}
