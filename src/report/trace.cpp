#include <stdexcept>
#include <string>

#include "input/failure.h"
#include "report/output.h"
#include "report/reports.h"

namespace hdfe {

namespace {

// 0.01 km/h as the original single-precision constant, widened exactly.
constexpr double kSpeedTolerance = 0.009999999776482582;
constexpr double kTorqueLimit = 100.0;

constexpr std::string_view kHeader =
    "time(s)\tVtarget(km/h)\tVreal(km/h)\tNe(rpm)\tTe(N-m)\tN_norm(%)\tT_norm(%)\tShift\tFC(l/h)";

// Every array read for seconds 1..n must hold n + 1 entries; a shorter one is
// a fault of the caller, stopped here rather than read past its end.
template <typename Sequence>
void requireSeconds(const Sequence& values, std::int32_t seconds, const char* what) {
  if (seconds < 0 || values.size() < static_cast<std::size_t>(seconds) + 1) {
    throw std::length_error(std::string(what) + " holds fewer entries than the cycle's seconds");
  }
}

void appendDataLine(std::string& line, std::int32_t t, const DriveCycle& cycle,
                    const ModeTrace& trace) {
  const auto second = static_cast<std::size_t>(t);
  line.clear();
  appendI(line, t, 0);
  line += '\t';
  appendF(line, cycle.Vtarget[second], 0, 4);
  line += '\t';
  appendF(line, trace.Vreal[second], 0, 4);
  line += '\t';
  appendF(line, trace.Ne[second], 0, 1);
  line += '\t';
  appendF(line, trace.Te[second], 0, 1);
  line += '\t';
  appendF(line, trace.N_norm[second], 0, 2);
  line += '\t';
  appendF(line, trace.T_norm[second], 0, 2);
  line += '\t';
  appendI(line, trace.Shift[second], 0);
  line += '\t';
  appendF(line, trace.FC[second], 0, 6);
}

std::string_view withoutTrailingBlanks(std::string_view text) {
  const auto last = text.find_last_not_of(' ');
  return last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
}

}  // namespace

void CHECKTRACE(const DriveCycle& cycle, const ModeTrace& trace, std::ostream& out) {
  const std::int32_t n = cycle.Seconds;
  requireSeconds(cycle.Vtarget, n, "Vtarget");
  requireSeconds(trace.Vreal, n, "Vreal");
  requireSeconds(trace.T_norm, n, "T_norm");
  for (std::int32_t t = 1; t <= n; ++t) {
    const auto second = static_cast<std::size_t>(t);
    // The vehicle may fall behind the target but never overtake it; a
    // comparison with NaN is false, so such a second reports nothing.
    if (trace.Vreal[second] - cycle.Vtarget[second] > kSpeedTolerance) {
      writeFree(out, {"error: V_real > V_target"});
    }
    // Torque beyond the full-load curve: the trace is physically impossible.
    if (trace.T_norm[second] > kTorqueLimit) {
      throw FatalStop(Channel::Out, {formatFree({"error: te > 100% "})});
    }
  }
}

void WRITETRACE(std::ostream& file, const DriveCycle& cycle, const ModeTrace& trace,
                std::string_view cycleName) {
  const std::int32_t n = cycle.Seconds;
  requireSeconds(cycle.Vtarget, n, "Vtarget");
  requireSeconds(trace.Shift, n, "Shift");
  requireSeconds(trace.Vreal, n, "Vreal");
  requireSeconds(trace.Ne, n, "Ne");
  requireSeconds(trace.Te, n, "Te");
  requireSeconds(trace.N_norm, n, "N_norm");
  requireSeconds(trace.T_norm, n, "T_norm");
  requireSeconds(trace.FC, n, "FC");

  writeFree(file, {});
  writeFixed(file, withoutTrailingBlanks(cycleName));
  writeFixed(file, kHeader);
  std::string line;
  line.reserve(128);
  for (std::int32_t t = 1; t <= n; ++t) {
    appendDataLine(line, t, cycle, trace);
    writeFixed(file, line);
  }
}

}  // namespace hdfe
