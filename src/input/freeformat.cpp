#include "input/freeformat.h"

#include <algorithm>
#include <charconv>
#include <string>
#include <system_error>

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
// of the following lines.
RawValue quotedValue(const std::string& line, std::size_t& pos) {
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
  std::string_view digits = raw.text;
  if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
  const std::size_t firstDigit = !digits.empty() && digits.front() == '-' ? 1 : 0;
  if (digits.size() == firstDigit) return false;
  if (!std::all_of(digits.begin() + firstDigit, digits.end(), isDigit)) return false;
  std::int32_t value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (error != std::errc() || end != digits.data() + digits.size()) return false;
  result = value;
  return true;
}

// Counts the decimal digits at `pos` and moves past them.
std::size_t skipDigits(std::string_view text, std::size_t& pos) {
  const std::size_t start = pos;
  while (pos < text.size() && isDigit(text[pos])) ++pos;
  return pos - start;
}

// A real: an optional sign, digits with an optional decimal point (at least
// one digit on either side of it), and an optional exponent introduced by E or
// D in either case, with an optional sign and at least one digit. The number
// is rewritten into the form std::from_chars takes (no leading plus, E for the
// exponent) so the conversion is exact and independent of the locale.
bool parseReal(const RawValue& raw, double& result) {
  if (raw.quoted) return false;
  const std::string_view text = raw.text;
  std::string number;
  number.reserve(text.size());
  std::size_t pos = 0;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    if (text[pos] == '-') number += '-';
    ++pos;
  }
  const std::size_t mantissaStart = pos;
  std::size_t mantissaDigits = skipDigits(text, pos);
  if (pos < text.size() && text[pos] == '.') {
    ++pos;
    mantissaDigits += skipDigits(text, pos);
  }
  if (mantissaDigits == 0) return false;
  number.append(text.substr(mantissaStart, pos - mantissaStart));
  if (pos < text.size()) {
    const char letter = text[pos];
    if (letter != 'E' && letter != 'e' && letter != 'D' && letter != 'd') return false;
    number += 'e';
    ++pos;
    const std::size_t exponentStart = pos;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
    if (skipDigits(text, pos) == 0 || pos != text.size()) return false;
    number.append(text.substr(exponentStart));
  }
  double value = 0.0;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (error != std::errc() || end != number.data() + number.size()) return false;
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
    const RawValue raw =
        line[pos] == '\'' || line[pos] == '"' ? quotedValue(line, pos) : unquotedValue(line, pos);
    for (std::size_t k = 0; k < times; ++k, ++item) {
      if (!store(*item, raw)) return ReadStatus::ReadError;
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
