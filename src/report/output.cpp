#include "report/output.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace hdfe {

namespace {

void appendOverflow(std::string& line, int width) {
  line.append(static_cast<std::size_t>(width), '*');
}

// Appends `text` right-aligned in `width` characters, blanks on the left.
void appendRightAligned(std::string& line, std::string_view text, int width) {
  const auto wanted = static_cast<std::size_t>(width);
  if (text.size() < wanted) line.append(wanted - text.size(), ' ');
  line.append(text);
}

// Infinities and undefined values: they never fit a fixed-width field; the
// minimal-width field names them.
void appendNonFinite(std::string& line, double value, int width) {
  if (width > 0) {
    appendOverflow(line, width);
  } else if (std::isnan(value)) {
    line += "NaN";
  } else {
    line += std::signbit(value) ? "-Infinity" : "Infinity";
  }
}

// Enough for the widest finite double (309 integer digits), its point and
// the decimals the system uses; more decimals than this are not written.
constexpr int kMaxDecimals = 100;
constexpr std::size_t kDigitsCapacity =
    static_cast<std::size_t>(std::numeric_limits<double>::max_exponent10) + 3 + kMaxDecimals;

}  // namespace

void appendI(std::string& line, std::int32_t value, int width) {
  // -2147483648 has 11 characters.
  char digits[16];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  const std::string_view text(digits, static_cast<std::size_t>(result.ptr - digits));
  if (width <= 0) {
    line.append(text);  // I0: minimal width
  } else if (text.size() > static_cast<std::size_t>(width)) {
    appendOverflow(line, width);
  } else {
    appendRightAligned(line, text, width);
  }
}

void appendF(std::string& line, double value, int width, int decimals) {
  decimals = std::clamp(decimals, 0, kMaxDecimals);
  if (!std::isfinite(value)) {
    appendNonFinite(line, value, width);
    return;
  }
  // std::to_chars rounds the exact binary value correctly (a true halfway
  // case, such as 0.125 to two places, goes to the even digit) and never
  // looks at the locale.
  char digits[kDigitsCapacity];
  const auto result = std::to_chars(digits, digits + sizeof digits, std::fabs(value),
                                    std::chars_format::fixed, decimals);
  const std::string_view rounded(digits, static_cast<std::size_t>(result.ptr - digits));
  const std::size_t point = rounded.find('.');  // none when there are no decimals
  const std::string_view integerPart = rounded.substr(0, point);
  const std::string_view fraction =
      point == std::string_view::npos ? std::string_view() : rounded.substr(point + 1);

  // A negative value keeps its sign even when its digits round to zero
  // (-0.001 in two decimals reads -.00); a negative zero is no negative value
  // and reads .00.
  const bool negative = value < 0.0;
  const bool belowOne = integerPart == "0";
  // Below 1 the 0 before the point is optional, unless it would be the only
  // digit of the field (no decimals): a field always shows at least one digit.
  const bool zeroRequired = belowOne && decimals == 0;
  const bool showInteger = !belowOne || zeroRequired;
  const std::size_t length =
      (negative ? 1 : 0) + (showInteger ? integerPart.size() : 0) + 1 + fraction.size();

  if (width > 0 && length > static_cast<std::size_t>(width)) {
    appendOverflow(line, width);
    return;
  }
  // In a fixed-width field with room to spare, the optional 0 is written.
  const bool optionalZero =
      width > 0 && belowOne && !zeroRequired && length < static_cast<std::size_t>(width);
  const std::size_t shown = length + (optionalZero ? 1 : 0);
  if (width > 0) line.append(static_cast<std::size_t>(width) - shown, ' ');
  if (negative) line += '-';
  if (showInteger || optionalZero) line.append(integerPart);
  line += '.';
  line.append(fraction);
}

std::string formatI(std::int32_t value, int width) {
  std::string text;
  appendI(text, value, width);
  return text;
}

std::string formatF(double value, int width, int decimals) {
  std::string text;
  appendF(text, value, width, decimals);
  return text;
}

std::string formatShortest(double value) {
  char text[32];
  const auto result = std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}

void writeFixed(std::ostream& out, std::string_view line) {
  out.write(line.data(), static_cast<std::streamsize>(line.size()));
  out.write(kLineEnd.data(), static_cast<std::streamsize>(kLineEnd.size()));
}

void writeNoAdvance(std::ostream& out, std::string_view text) {
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  // The user types the answer right after the prompt, so it must be visible.
  out.flush();
}

std::string formatFree(std::initializer_list<FreeOut> items) {
  // A free-format write without items is an empty line: not even the blank.
  if (items.size() == 0) return {};
  std::string line(" ");
  for (const FreeOut& item : items) {
    if (const auto* text = std::get_if<std::string_view>(&item)) {
      line.append(*text);
    } else {
      // List-directed integers take an I12 field.
      appendI(line, std::get<std::int32_t>(item), 12);
    }
  }
  return line;
}

void writeFree(std::ostream& out, std::initializer_list<FreeOut> items) {
  writeFixed(out, formatFree(items));
}

}  // namespace hdfe
