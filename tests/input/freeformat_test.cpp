// The list-directed read: separators, null values, slashes, repeat counts,
// quoted text, number forms, line handling and the unguarded failures.

#include "input/freeformat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <variant>
#include <vector>

#include "input/failure.h"
#include "support/test_support.h"

namespace hdfe {
namespace {

using Value = std::variant<std::string, std::int32_t, double>;
using Values = std::vector<Value>;

// Every item starts with a recognisable old value, so an item that gets no
// value (null value, slash, end of file) shows it.
const std::string kOldText = "old";
constexpr std::int32_t kOldInteger = -99;
constexpr double kOldReal = -99.5;

// Item kinds by letter: t = text, i = integer, r = real.
Values oldValues(std::string_view kinds) {
  Values values;
  for (const char kind : kinds) {
    if (kind == 't') values.emplace_back(kOldText);
    if (kind == 'i') values.emplace_back(kOldInteger);
    if (kind == 'r') values.emplace_back(kOldReal);
  }
  return values;
}

FreeItem itemFor(Value& value) {
  return std::visit([](auto& v) -> FreeItem { return &v; }, value);
}

// The read takes a fixed list of items; this spells out the lists the tables use.
ReadStatus readInto(std::istream& in, Values& values) {
  std::vector<FreeItem> p;
  for (Value& value : values) p.push_back(itemFor(value));
  switch (p.size()) {
    case 0:
      return readFree(in, {});
    case 1:
      return readFree(in, {p[0]});
    case 2:
      return readFree(in, {p[0], p[1]});
    case 3:
      return readFree(in, {p[0], p[1], p[2]});
    case 4:
      return readFree(in, {p[0], p[1], p[2], p[3]});
    case 5:
      return readFree(in, {p[0], p[1], p[2], p[3], p[4]});
    case 6:
      return readFree(in, {p[0], p[1], p[2], p[3], p[4], p[5]});
  }
  ADD_FAILURE() << "no read with " << p.size() << " items";
  return ReadStatus::ReadError;
}

// Doubles compare bit for bit (so -0.0 differs from 0.0).
bool sameValue(const Value& a, const Value& b) {
  if (a.index() != b.index()) return false;
  if (const auto* x = std::get_if<double>(&a)) {
    const double y = std::get<double>(b);
    return std::signbit(*x) == std::signbit(y) && (*x == y);
  }
  return a == b;
}

std::string show(const Value& value) {
  if (const auto* text = std::get_if<std::string>(&value)) return "'" + *text + "'";
  if (const auto* integer = std::get_if<std::int32_t>(&value)) return std::to_string(*integer);
  std::ostringstream out;
  out.precision(17);
  out << std::get<double>(value);
  return out.str();
}

std::string show(const Values& values) {
  std::string text;
  for (const Value& value : values) text += show(value) + " ";
  return text;
}

const char* show(ReadStatus status) {
  switch (status) {
    case ReadStatus::Ok:
      return "Ok";
    case ReadStatus::ReadError:
      return "ReadError";
    case ReadStatus::EndOfFile:
      return "EndOfFile";
  }
  return "?";
}

// One read over `input` with items of `kinds`; `next` is the line the next
// read sees (nullopt: the end of the input), which shows where the read left
// the stream.
struct ReadCase {
  const char* what;
  std::string input;
  std::string kinds;
  ReadStatus status;
  Values expected;
  std::optional<std::string> next;
};

void checkCases(const std::vector<ReadCase>& cases) {
  for (const ReadCase& c : cases) {
    SCOPED_TRACE(c.what);
    std::istringstream in(c.input);
    Values values = oldValues(c.kinds);
    const ReadStatus status = readInto(in, values);
    EXPECT_EQ(show(status), show(c.status));
    bool same = values.size() == c.expected.size();
    for (std::size_t k = 0; same && k < values.size(); ++k)
      same = sameValue(values[k], c.expected[k]);
    EXPECT_TRUE(same) << "got " << show(values) << " expected " << show(c.expected);
    std::string nextLine;
    const ReadStatus nextStatus = readWholeLine(in, nextLine);
    if (c.next) {
      EXPECT_EQ(show(nextStatus), show(ReadStatus::Ok));
      EXPECT_EQ(nextLine, *c.next);
    } else {
      EXPECT_EQ(show(nextStatus), show(ReadStatus::EndOfFile)) << "next line '" << nextLine << "'";
    }
  }
}

const std::string kOld = kOldText;
constexpr ReadStatus Ok = ReadStatus::Ok;
constexpr ReadStatus ReadError = ReadStatus::ReadError;
constexpr ReadStatus EndOfFile = ReadStatus::EndOfFile;

TEST(FreeRead, SeparatorsLinesAndTheRestOfALine) {
  checkCases({
      {"a comment after the value is ignored", "2.5 kW rated\nnext\n", "r", Ok, {2.5}, "next"},
      {"a second value on the line is lost", "2.5,3.0\nnext\n", "r", Ok, {2.5}, "next"},
      {"a read continues on the next line", "1000\n850\nnext\n", "rr", Ok, {1000.0, 850.0}, "next"},
      {"blank, tab and comma separators",
       "1 \t2 , 3,4\t,5\n",
       "iiiii",
       Ok,
       {1, 2, 3, 4, 5},
       std::nullopt},
      {"blanks and tabs at the start of a line", " \t  7\n", "i", Ok, {7}, std::nullopt},
      {"empty and blank lines are passed over", "\n   \n\t\n7\nnext\n", "i", Ok, {7}, "next"},
      {"blank lines between the values of one read",
       "1\n\n  \n2\n",
       "ii",
       Ok,
       {1, 2},
       std::nullopt},
      {"CR LF line ends", "1 2\r\n3\r\nnext\r\n", "iii", Ok, {1, 2, 3}, "next"},
      {"a CR before the line feed ends an unquoted text",
       "name.txt\r\n",
       "t",
       Ok,
       {"name.txt"},
       std::nullopt},
      {"a last line without a line end", "1 2", "ii", Ok, {1, 2}, std::nullopt},
      {"a comma at the end of a line before a value is one separator",
       "1,\n2\n",
       "ii",
       Ok,
       {1, 2},
       std::nullopt},
      {"blanks then a comma after a value are one separator",
       "1   ,  2\n",
       "ii",
       Ok,
       {1, 2},
       std::nullopt},
      {"a line end then a comma after a value are one separator",
       "1\n,2\n",
       "ii",
       Ok,
       {1, 2},
       std::nullopt},
      {"an empty read takes one line", "1 2\nnext\n", "", Ok, {}, "next"},
  });
}

}  // namespace
}  // namespace hdfe
