#pragma once
// The fixed-format and free-format writes. Every line ends with CR LF; all
// numbers are formatted locale-independently and correctly rounded.

#include <cstdint>
#include <initializer_list>
#include <istream>
#include <ostream>
#include <string>
#include <string_view>
#include <variant>

namespace hdfe {

// The console: prompts, summary, solver and check messages go to `out`;
// the readers' and the interpolation messages to `err`.
struct Console {
  std::istream& in;
  std::ostream& out;
  std::ostream& err;
};

// Iw: right-aligned in w characters, w asterisks when it does not fit.
// I0 (w == 0): minimal width.
std::string formatI(std::int32_t value, int width);

// Fw.d: rounded to d decimals, right-aligned in w characters, a 0 before the
// point below 1 only when the field has room, w asterisks on overflow.
// F0.d (w == 0): minimal width, no 0 before the point below 1, sign kept.
std::string formatF(double value, int width, int decimals);

// The same fields appended to a line under construction, without a
// temporary string per field (the trace blocks write thousands of lines).
void appendI(std::string& line, std::int32_t value, int width);
void appendF(std::string& line, double value, int width, int decimals);

// A number as it reads in a message of the system's own (not a field of the
// official layout): the shortest text that reads back as the same double.
std::string formatShortest(double value);

inline constexpr std::string_view kLineEnd = "\r\n";

// A fixed-format write: the already formatted fields back to back, then CR LF.
void writeFixed(std::ostream& out, std::string_view line);
// The same without the line end (console prompts).
void writeNoAdvance(std::ostream& out, std::string_view text);

// A free-format write: one blank, then the items back to back (integers as
// I12), then CR LF. Without items: an empty line.
using FreeOut = std::variant<std::string_view, std::int32_t>;
void writeFree(std::ostream& out, std::initializer_list<FreeOut> items);
std::string formatFree(std::initializer_list<FreeOut> items);  // without CR LF

}  // namespace hdfe
