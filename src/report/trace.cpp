#include <charconv>
#include <cmath>
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

// I0: the digits and a sign, nothing else.
void appendMinimalInteger(std::string& line, std::int32_t value) {
  char digits[16];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  line.append(digits, result.ptr);
}

// F0.d without a temporary string per field: the correctly rounded fixed
// notation, with the 0 before the point dropped below 1 as the minimal-width
// field requires. Values the common path cannot show as the shared formatter
// does (not finite, a negative value rounding to zero, too long) go to it.
void appendMinimalFixed(std::string& line, double value, int decimals) {
  char text[48];
  const auto result =
      std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
  if (!std::isfinite(value) || result.ec != std::errc{}) {
    line += formatF(value, 0, decimals);
    return;
  }
  const char* first = text;
  const char* last = result.ptr;
  const bool negative = *first == '-';
  if (negative) ++first;
  if (negative && std::string_view(first, last).find_first_not_of("0.") == std::string_view::npos) {
    line += formatF(value, 0, decimals);
    return;
  }
  if (negative) line += '-';
  if (first[0] == '0' && first + 1 < last && first[1] == '.') ++first;
  line.append(first, last);
}

void appendDataLine(std::string& line, std::int32_t t, const DriveCycle& cycle,
                    const ModeTrace& trace) {
  const auto second = static_cast<std::size_t>(t);
  line.clear();
  appendMinimalInteger(line, t);
  line += '\t';
  appendMinimalFixed(line, cycle.Vtarget[second], 4);
  line += '\t';
  appendMinimalFixed(line, trace.Vreal[second], 4);
  line += '\t';
  appendMinimalFixed(line, trace.Ne[second], 1);
  line += '\t';
  appendMinimalFixed(line, trace.Te[second], 1);
  line += '\t';
  appendMinimalFixed(line, trace.N_norm[second], 2);
  line += '\t';
  appendMinimalFixed(line, trace.T_norm[second], 2);
  line += '\t';
  appendMinimalInteger(line, trace.Shift[second]);
  line += '\t';
  appendMinimalFixed(line, trace.FC[second], 6);
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
