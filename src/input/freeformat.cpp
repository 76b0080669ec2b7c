#include "input/freeformat.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string>
#include <system_error>
#include <utility>

#include "input/failure.h"

namespace hdfe {
namespace {

// Blanks and tabs separate values; any other character belongs to a value.
bool isBlank(char c) { return c == ' ' || c == '\t'; }

// An unquoted value runs up to the first of these or the end of its line.
bool endsUnquotedValue(char c) { return isBlank(c) || c == ',' || c == '/'; }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

enum class LineFetch { Got, End, Failed };

// Takes the next line of the stream; a carriage return before the line feed
// (or at the very end of a file without a final line feed) is not part of it.
LineFetch nextLine(std::istream& in, std::string& line) {
  if (!std::getline(in, line)) return in.bad() ? LineFetch::Failed : LineFetch::End;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return LineFetch::Got;
}

ReadStatus statusOf(LineFetch fetch) {
  return fetch == LineFetch::End ? ReadStatus::EndOfFile : ReadStatus::ReadError;
}

// One value of the input as written, before it is converted for its item.
struct RawValue {
  std::string text;
  bool quoted = false;
};

// A quoted value: from the opening mark to the matching closing mark, two
// marks in a row standing for one. A quoted value never continues onto the
// next line: a mark left unclosed runs to the end of its line. No input file
// needs a value across lines, and a stray mark then cannot swallow the values
// of the following lines. A closing mark must be followed by a separator or
// the end of the line ('abc'def is unreadable); nullopt then.
std::optional<RawValue> quotedValue(const std::string& line, std::size_t& pos) {
  const char mark = line[pos++];
  RawValue value{{}, true};
  while (pos < line.size()) {
    const char c = line[pos++];
    if (c != mark) {
      value.text += c;
    } else if (pos < line.size() && line[pos] == mark) {
      value.text += mark;
      ++pos;
    } else {
      if (pos < line.size() && !endsUnquotedValue(line[pos])) return std::nullopt;
      break;
    }
  }
  return value;
}

RawValue unquotedValue(const std::string& line, std::size_t& pos) {
  const std::size_t start = pos;
  while (pos < line.size() && !endsUnquotedValue(line[pos])) ++pos;
  return RawValue{line.substr(start, pos - start), false};
}

// An integer: an optional sign and decimal digits only, within 32 bits.
bool parseInteger(const RawValue& raw, std::int32_t& result) {
  if (raw.quoted) return false;
  std::string_view number = raw.text;
  const bool hasSign = !number.empty() && (number.front() == '+' || number.front() == '-');
  const std::string_view digits = number.substr(hasSign ? 1 : 0);
  if (digits.empty() || !std::all_of(digits.begin(), digits.end(), isDigit)) return false;
  if (number.front() == '+') number = digits;  // std::from_chars takes no plus sign
  std::int32_t value = 0;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (error != std::errc() || end != number.data() + number.size()) return false;
  result = value;
  return true;
}

// Counts the decimal digits at `pos` and moves past them.
std::size_t skipDigits(std::string_view text, std::size_t& pos) {
  const std::size_t start = pos;
  while (pos < text.size() && isDigit(text[pos])) ++pos;
  return pos - start;
}

// The decimal order of magnitude of a mantissa and exponent: the power of
// ten of the first non-zero digit. The exponent is clamped, far beyond any
// double, so a long run of exponent digits cannot overflow the sum.
std::int64_t decimalOrder(std::string_view integerDigits, std::string_view fractionDigits,
                          std::string_view exponent) {
  std::int64_t power = 0;
  std::size_t pos = exponent.empty() || isDigit(exponent.front()) ? 0 : 1;
  for (; pos < exponent.size() && power < 1'000'000'000; ++pos) {
    power = power * 10 + (exponent[pos] - '0');
  }
  if (!exponent.empty() && exponent.front() == '-') power = -power;
  const std::size_t firstNonZero = integerDigits.find_first_not_of('0');
  if (firstNonZero != std::string_view::npos) {
    return power + static_cast<std::int64_t>(integerDigits.size() - firstNonZero) - 1;
  }
  const std::size_t leadingZeros = fractionDigits.find_first_not_of('0');
  if (leadingZeros == std::string_view::npos) return power;  // zero: never out of range
  return power - static_cast<std::int64_t>(leadingZeros) - 1;
}

// A real: an optional sign, digits with an optional decimal point (at least
// one digit on either side of it), and an optional exponent introduced by E or
// D in either case, with an optional sign and at least one digit. The number
// is rewritten into the form std::from_chars takes (no leading plus, E for the
// exponent) so the conversion is correctly rounded and independent of the
// locale. A value too small for a double reads as zero of its sign; a value
// too large for one is unreadable.
bool parseReal(const RawValue& raw, double& result) {
  if (raw.quoted) return false;
  const std::string_view text = raw.text;
  std::size_t pos = 0;
  const bool negative = pos < text.size() && text[pos] == '-';
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
  const std::size_t integerStart = pos;
  const std::string_view integerDigits = text.substr(integerStart, skipDigits(text, pos));
  std::string_view fractionDigits;
  if (pos < text.size() && text[pos] == '.') {
    const std::size_t fractionStart = ++pos;
    fractionDigits = text.substr(fractionStart, skipDigits(text, pos));
  }
  if (integerDigits.empty() && fractionDigits.empty()) return false;
  const std::string_view mantissa = text.substr(integerStart, pos - integerStart);
  std::string_view exponent;
  if (pos < text.size()) {
    const char letter = text[pos];
    if (letter != 'E' && letter != 'e' && letter != 'D' && letter != 'd') return false;
    const std::size_t exponentStart = ++pos;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
    if (skipDigits(text, pos) == 0 || pos != text.size()) return false;
    exponent = text.substr(exponentStart);
  }
  std::string number(negative ? "-" : "");
  number.append(mantissa);
  if (!exponent.empty()) number.append("e").append(exponent);
  double value = 0.0;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (end != number.data() + number.size()) return false;
  if (error == std::errc::result_out_of_range &&
      decimalOrder(integerDigits, fractionDigits, exponent) < 0) {
    value = negative ? -0.0 : 0.0;  // underflow
  } else if (error != std::errc()) {
    return false;
  }
  result = value;
  return true;
}

// A text item holds at most one field's worth of characters, without the
// blanks that would pad the field.
void storeText(const RawValue& raw, std::string& target) {
  const std::string_view text = raw.text;
  target = trimTrailingBlanks(text.substr(0, std::min(text.size(), kTextFieldLength)));
}

// Converts a value for its item; false when the value is unreadable as the
// item's kind.
bool store(const FreeItem& item, const RawValue& raw) {
  if (auto* text = std::get_if<std::string*>(&item)) {
    storeText(raw, **text);
    return true;
  }
  if (auto* integer = std::get_if<std::int32_t*>(&item)) return parseInteger(raw, **integer);
  return parseReal(raw, *std::get<double*>(item));
}

// A repeat count: decimal digits immediately followed by an asterisk. On
// success `pos` is moved past the asterisk. A count of zero or one beyond 32
// bits is unreadable.
enum class Repeat { None, Counted, Unreadable };

Repeat repeatCount(const std::string& line, std::size_t& pos, std::int32_t& count) {
  std::size_t end = pos;
  if (skipDigits(line, end) == 0 || end == line.size() || line[end] != '*') return Repeat::None;
  const auto [last, error] = std::from_chars(line.data() + pos, line.data() + end, count);
  if (error != std::errc() || last != line.data() + end || count == 0) return Repeat::Unreadable;
  pos = end + 1;
  return Repeat::Counted;
}

}  // namespace

// The list-directed read. Between values the read is either "separated" (at
// its start or just after a comma), where one more comma is a null value, or
// just after a value, where the first comma is only the separator. Line ends,
// blanks and tabs never change that state, so a comma at the end of a line
// followed by a value on the next line is one separator.
ReadStatus readFree(std::istream& in, std::initializer_list<FreeItem> items) {
  std::string line;
  if (const LineFetch fetch = nextLine(in, line); fetch != LineFetch::Got) return statusOf(fetch);
  const FreeItem* item = items.begin();
  std::size_t pos = 0;
  bool separated = true;
  while (item != items.end()) {
    while (pos < line.size() && isBlank(line[pos])) ++pos;
    if (pos == line.size()) {
      // Lines without a value are passed over.
      if (const LineFetch fetch = nextLine(in, line); fetch != LineFetch::Got) {
        return statusOf(fetch);
      }
      pos = 0;
      continue;
    }
    const char c = line[pos];
    if (c == '/') return ReadStatus::Ok;  // later items keep their values
    if (c == ',') {
      ++pos;
      if (separated) ++item;  // null value: the item keeps its value
      separated = true;
      continue;
    }
    std::int32_t count = 1;
    const Repeat repeat = repeatCount(line, pos, count);
    if (repeat == Repeat::Unreadable) return ReadStatus::ReadError;
    separated = false;
    const auto remaining = static_cast<std::size_t>(items.end() - item);
    const std::size_t times = std::min(static_cast<std::size_t>(count), remaining);
    if (repeat == Repeat::Counted && (pos == line.size() || endsUnquotedValue(line[pos]))) {
      item += times;  // "r*" alone: r null values
      continue;
    }
    const bool quoted = line[pos] == '\'' || line[pos] == '"';
    const std::optional<RawValue> raw =
        quoted ? quotedValue(line, pos) : std::optional(unquotedValue(line, pos));
    if (!raw) return ReadStatus::ReadError;
    // Each repetition is converted for its own item, as if the value had been
    // written that many times.
    for (std::size_t k = 0; k < times; ++k, ++item) {
      if (!store(*item, *raw)) return ReadStatus::ReadError;
    }
  }
  return ReadStatus::Ok;
}

ReadStatus readWholeLine(std::istream& in, std::string& line) {
  std::string text;
  if (const LineFetch fetch = nextLine(in, text); fetch != LineFetch::Got) return statusOf(fetch);
  storeText(RawValue{std::move(text), false}, line);
  return ReadStatus::Ok;
}

void rewindInput(std::istream& in) {
  in.clear();
  in.seekg(0, std::ios::beg);
}

void readFreeUnguarded(std::istream& in, std::string_view name,
                       std::initializer_list<FreeItem> items) {
  if (const ReadStatus status = readFree(in, items); status != ReadStatus::Ok) {
    unguardedFailure(name, status);
  }
}

void readWholeLineUnguarded(std::istream& in, std::string_view name, std::string& line) {
  if (const ReadStatus status = readWholeLine(in, line); status != ReadStatus::Ok) {
    unguardedFailure(name, status);
  }
}

void unguardedFailure(std::string_view name, ReadStatus status) {
  const char* condition = status == ReadStatus::EndOfFile   ? " End of file while reading [ "
                          : status == ReadStatus::ReadError ? " Unreadable value while reading [ "
                                                            : " Read failure while reading [ ";
  throw FatalStop(Channel::Err, {condition + trimTrailingBlanks(name) + " ]"});
}

std::string trimTrailingBlanks(std::string_view text) {
  const std::size_t last = text.find_last_not_of(' ');
  return std::string(last == std::string_view::npos ? std::string_view{}
                                                    : text.substr(0, last + 1));
}

}  // namespace hdfe
