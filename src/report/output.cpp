#include "report/output.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace hdfe {

namespace {

// A field of `width` asterisks: the value does not fit its field.
std::string overflowField(int width) { return std::string(static_cast<std::size_t>(width), '*'); }

// Right-aligns `text` in `width` characters, blanks on the left.
std::string rightAligned(std::string text, int width) {
  const auto wanted = static_cast<std::size_t>(width);
  if (text.size() < wanted) text.insert(0, wanted - text.size(), ' ');
  return text;
}

// The decimal digits of |value| rounded to `decimals` places, as
// "integer part" "." "fraction". std::to_chars rounds the exact binary value
// correctly (a true halfway case, such as 0.125 to two places, goes to the
// even digit) and never looks at the locale.
struct RoundedMagnitude {
  std::string integerPart;  // at least one digit; "0" below 1
  std::string fraction;     // exactly `decimals` digits
  bool isZero;              // every digit is 0
};

RoundedMagnitude roundMagnitude(double magnitude, int decimals) {
  // The widest finite double has 309 integer digits.
  std::string digits(static_cast<std::size_t>(std::numeric_limits<double>::max_exponent10) + 3 +
                         static_cast<std::size_t>(decimals),
                     '\0');
  const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), magnitude,
                                    std::chars_format::fixed, decimals);
  digits.resize(static_cast<std::size_t>(result.ptr - digits.data()));

  RoundedMagnitude rounded;
  const auto point = digits.find('.');
  if (point == std::string::npos) {
    rounded.integerPart = digits;  // no decimals: to_chars writes no point
  } else {
    rounded.integerPart = digits.substr(0, point);
    rounded.fraction = digits.substr(point + 1);
  }
  rounded.isZero = digits.find_first_not_of("0.") == std::string::npos;
  return rounded;
}

// Infinities and undefined values: they never fit a fixed-width field; the
// minimal-width field names them.
std::string nonFiniteField(double value, int width) {
  if (width > 0) return overflowField(width);
  if (std::isnan(value)) return "NaN";
  return std::signbit(value) ? "-Infinity" : "Infinity";
}

}  // namespace

std::string formatI(std::int32_t value, int width) {
  // -2147483648 has 11 characters.
  char digits[16];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  std::string text(digits, result.ptr);
  if (width <= 0) return text;  // I0: minimal width
  if (text.size() > static_cast<std::size_t>(width)) return overflowField(width);
  return rightAligned(std::move(text), width);
}

std::string formatF(double value, int width, int decimals) {
  if (decimals < 0) decimals = 0;
  if (!std::isfinite(value)) return nonFiniteField(value, width);

  const RoundedMagnitude rounded = roundMagnitude(std::fabs(value), decimals);
  // A value that rounds to zero is written as zero, without a sign: -0.001
  // in two decimals and a negative zero both read .00.
  const bool negative = std::signbit(value) && !rounded.isZero;
  const bool belowOne = rounded.integerPart == "0";
  // Below 1 the 0 before the point is optional, unless it would be the only
  // digit of the field (no decimals): a field always shows at least one digit.
  const bool zeroRequired = belowOne && decimals == 0;

  std::string text;
  if (negative) text += '-';
  if (!belowOne || zeroRequired) text += rounded.integerPart;
  text += '.';
  text += rounded.fraction;

  if (width <= 0) return text;  // F0.d: minimal width, no optional 0
  const auto wanted = static_cast<std::size_t>(width);
  if (text.size() > wanted) return overflowField(width);
  if (belowOne && !zeroRequired && text.size() < wanted) {
    // The field has room for the optional 0 before the point.
    text.insert(negative ? 1 : 0, 1, '0');
  }
  return rightAligned(std::move(text), width);
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
      line += formatI(std::get<std::int32_t>(item), 12);
    }
  }
  return line;
}

void writeFree(std::ostream& out, std::initializer_list<FreeOut> items) {
  writeFixed(out, formatFree(items));
}

}  // namespace hdfe
