// The free-format (list-directed) read and the whole-line read over arbitrary
// bytes with arbitrary item lists.
//
// Input layout: byte 0 gives the number of items (1 to 6), the next bytes one
// item kind each (text, integer, real), then one byte chooses per call between
// a free-format read and a whole-line read; the rest is the text read, call
// after call, up to its end.
//
// Checks: no crash or sanitizer report; every call touches at least one line,
// so the calls end; an accepted number is finite; a text field stays within
// 1024 characters, without trailing blanks or a line feed; the first value of
// a line that is a plain number reads as the C library reads it.

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <variant>
#include <vector>

#include "fuzz_support.h"
#include "input/freeformat.h"

namespace {

using hdfe::ReadStatus;
using hdfe::fuzz::finding;

enum class Kind { Text, Integer, Real };

struct Items {
  std::vector<Kind> kinds;
  std::vector<std::string> texts;
  std::vector<std::int32_t> integers;
  std::vector<double> reals;
};

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// The first value of the line the next read will start on, when it stands
// plain at the start of the line (no quote, null value, slash or repeat
// count): the value the first item must receive.
bool plainFirstValue(std::istringstream& in, std::string& value) {
  const std::streampos start = in.tellg();
  std::string line;
  const bool got = static_cast<bool>(std::getline(in, line));
  in.clear();
  in.seekg(start);
  if (!got) return false;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  std::size_t pos = 0;
  while (pos < line.size() && isBlank(line[pos])) ++pos;
  if (pos == line.size()) return false;
  const std::size_t end = line.find_first_of(" \t,/", pos);
  value = line.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
  if (value.empty() || value.find_first_of("'\"*") != std::string::npos) return false;
  return value.find_first_not_of("+-.0123456789") == std::string::npos ||
         value.find_first_not_of("+-.0123456789eEdD") == std::string::npos;
}

// The C library's reading of a plain number; false when it does not take the
// whole text or the value is out of range.
bool libraryReal(std::string text, double& value) {
  if (text.empty() || text[0] == ' ') return false;
  for (char& c : text) {
    if (c == 'd' || c == 'D') c = 'e';
  }
  errno = 0;
  char* end = nullptr;
  value = std::strtod(text.c_str(), &end);
  return end == text.c_str() + text.size() && errno == 0;
}

bool libraryInteger(const std::string& text, std::int32_t& value) {
  if (text.empty() || text.find_first_not_of("+-0123456789") != std::string::npos) return false;
  errno = 0;
  char* end = nullptr;
  const long long wide = std::strtoll(text.c_str(), &end, 10);
  if (end != text.c_str() + text.size() || errno != 0) return false;
  if (wide < INT32_MIN || wide > INT32_MAX) return false;
  value = static_cast<std::int32_t>(wide);
  return true;
}

// The C library accepts forms the read refuses ("1e", a bare sign never
// reaches here); the read's rules: digits on at least one side of the point,
// an exponent letter followed by digits.
bool readableReal(const std::string& text) {
  std::size_t pos = 0;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
  std::size_t digits = 0;
  while (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos]))) ++pos, ++digits;
  if (pos < text.size() && text[pos] == '.') {
    ++pos;
    while (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos])))
      ++pos, ++digits;
  }
  if (digits == 0) return false;
  if (pos == text.size()) return true;
  if (text[pos] != 'e' && text[pos] != 'E' && text[pos] != 'd' && text[pos] != 'D') return false;
  ++pos;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
  std::size_t exponentDigits = 0;
  while (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos]))) {
    ++pos, ++exponentDigits;
  }
  return exponentDigits > 0 && pos == text.size();
}

void compareFirstValue(Kind kind, const std::string& plain, ReadStatus status, const Items& items) {
  if (kind == Kind::Real) {
    double expected = 0.0;
    if (!readableReal(plain)) return;
    if (!libraryReal(plain, expected)) {
      // Too large for a double: unreadable, never infinity.
      if (std::isinf(expected) && status != ReadStatus::ReadError) {
        finding("real " + plain + " accepted");
      }
      return;
    }
    if (expected != 0.0 && std::fabs(expected) < 2.2250738585072014e-308) return;  // subnormal
    if (status == ReadStatus::ReadError && items.kinds.size() == 1) {
      finding("real " + plain + " refused");
    }
    if (!(items.reals[0] == expected) || std::signbit(items.reals[0]) != std::signbit(expected)) {
      finding("real " + plain + " read as " + std::to_string(items.reals[0]));
    }
  } else if (kind == Kind::Integer) {
    std::int32_t expected = 0;
    if (!libraryInteger(plain, expected)) {
      if (status != ReadStatus::ReadError) finding("integer " + plain + " accepted");
      return;
    }
    if (status == ReadStatus::ReadError && items.kinds.size() == 1) {
      finding("integer " + plain + " refused");
    }
    if (items.integers[0] != expected) {
      finding("integer " + plain + " read as " + std::to_string(items.integers[0]));
    }
  } else if (items.texts[0] != hdfe::trimTrailingBlanks(plain.substr(0, 1024))) {
    finding("text " + plain + " read as " + items.texts[0]);
  }
}

ReadStatus freeRead(std::istringstream& in, Items& items) {
  // One list of item variables for the whole read, in the order of kinds.
  std::vector<hdfe::FreeItem> list;
  std::size_t text = 0;
  std::size_t integer = 0;
  std::size_t real = 0;
  for (const Kind kind : items.kinds) {
    if (kind == Kind::Text) list.emplace_back(&items.texts[text++]);
    if (kind == Kind::Integer) list.emplace_back(&items.integers[integer++]);
    if (kind == Kind::Real) list.emplace_back(&items.reals[real++]);
  }
  switch (list.size()) {
    case 1:
      return hdfe::readFree(in, {list[0]});
    case 2:
      return hdfe::readFree(in, {list[0], list[1]});
    case 3:
      return hdfe::readFree(in, {list[0], list[1], list[2]});
    case 4:
      return hdfe::readFree(in, {list[0], list[1], list[2], list[3]});
    case 5:
      return hdfe::readFree(in, {list[0], list[1], list[2], list[3], list[4]});
    default:
      return hdfe::readFree(in, {list[0], list[1], list[2], list[3], list[4], list[5]});
  }
}

void checkItems(const Items& items) {
  for (const std::string& text : items.texts) hdfe::fuzz::requireTextField(text, "text item");
  for (const double real : items.reals) hdfe::fuzz::requireFinite(real, "real item");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  const std::size_t count = 1 + data[0] % 6;
  if (size < 2 + count) return 0;
  Items items;
  for (std::size_t k = 0; k < count; ++k) {
    const Kind kind = static_cast<Kind>(data[1 + k] % 3);
    items.kinds.push_back(kind);
    if (kind == Kind::Text) items.texts.emplace_back("previous");
    if (kind == Kind::Integer) items.integers.push_back(4711);
    if (kind == Kind::Real) items.reals.push_back(0.5);
  }
  const std::uint8_t plan = data[1 + count];
  const std::string text(hdfe::fuzz::bytesOf(data + 2 + count, size - 2 - count));
  std::istringstream in(text);

  // Every call starts on a line no earlier call touched, so there can be at
  // most one call per line feed plus the last line and the end of the text.
  const std::size_t lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
  for (std::size_t call = 0;; ++call) {
    if (call > lines + 2) finding("read calls do not reach the end of the text");
    const bool wholeLine = (plan >> (call % 8)) & 1U;
    ReadStatus status = ReadStatus::Ok;
    if (wholeLine) {
      std::string line = "previous";
      status = hdfe::readWholeLine(in, line);
      hdfe::fuzz::requireTextField(line, "whole line");
    } else {
      // The first value is compared on the first call only, while the items
      // still hold their initial values.
      std::string plain;
      const bool oracle = call == 0 && plainFirstValue(in, plain);
      status = freeRead(in, items);
      checkItems(items);
      if (oracle) compareFirstValue(items.kinds[0], plain, status, items);
    }
    if (status == ReadStatus::EndOfFile) break;
  }
  return 0;
}
