// The list-directed read: separators, null values, slashes, repeat counts,
// quoted text, number forms, line handling and the unguarded failures.

#include "input/freeformat.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <optional>
#include <sstream>
#include <streambuf>
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

std::string show(ReadStatus status) {
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

TEST(FreeRead, NullValuesAndSlash) {
  checkCases({
      {"a comma before the first value is a null value",
       ",5\n",
       "ii",
       Ok,
       {kOldInteger, 5},
       std::nullopt},
      {"nothing between two commas is a null value",
       "1,,3\n",
       "iii",
       Ok,
       {1, kOldInteger, 3},
       std::nullopt},
      {"blanks between two commas are a null value",
       "1 , , 2\n",
       "iii",
       Ok,
       {1, kOldInteger, 2},
       std::nullopt},
      {"two commas at the end of a line, the value on the next",
       "1,,\n5\nnext\n",
       "iii",
       Ok,
       {1, kOldInteger, 5},
       "next"},
      {"a comma, a line end and a comma are a null value",
       "1,\n,2\nnext\n",
       "iii",
       Ok,
       {1, kOldInteger, 2},
       "next"},
      {"blank lines between the commas of a null value",
       "1,\n\n  \n,\n5\nnext\n",
       "iii",
       Ok,
       {1, kOldInteger, 5},
       "next"},
      {"leading nulls spread over lines",
       ", ,\n5\nnext\n",
       "iii",
       Ok,
       {kOldInteger, kOldInteger, 5},
       "next"},
      {"a null value as the last item ends the read",
       "1,\n,\nnext\n",
       "ii",
       Ok,
       {1, kOldInteger},
       "next"},
      {"a null text keeps the old name", ",\nnext\n", "t", Ok, {kOld}, "next"},
      {"a slash first keeps every value",
       "/ 5\n6\nnext\n",
       "ii",
       Ok,
       {kOldInteger, kOldInteger},
       "6"},
      {"a slash right after a value", "1/ 2\nnext\n", "ii", Ok, {1, kOldInteger}, "next"},
      {"a slash after a comma", "1,/\nnext\n", "ii", Ok, {1, kOldInteger}, "next"},
      {"a slash mid-read keeps the later items",
       "1 2 / 3\nnext\n",
       "iii",
       Ok,
       {1, 2, kOldInteger},
       "next"},
      {"a slash on a later line of the read",
       "1.5\n/\n3\n",
       "rrr",
       Ok,
       {1.5, kOldReal, kOldReal},
       "3"},
      {"a slash ends an unquoted text", "abc/def ghi\nnext\n", "tt", Ok, {"abc", kOld}, "next"},
      {"a slash for a text item keeps the old name", "/\n", "t", Ok, {kOld}, std::nullopt},
  });
}

TEST(FreeRead, RepeatCounts) {
  checkCases({
      {"three times zero", "3*0\n", "iii", Ok, {0, 0, 0}, std::nullopt},
      {"a repeated real then a single value",
       "3*2.5 7\n",
       "rrrr",
       Ok,
       {2.5, 2.5, 2.5, 7.0},
       std::nullopt},
      {"a count and an asterisk alone are null values",
       "3*\n5\nnext\n",
       "iiii",
       Ok,
       {kOldInteger, kOldInteger, kOldInteger, 5},
       "next"},
      {"null repeat then a blank",
       "3* 5\n",
       "iiii",
       Ok,
       {kOldInteger, kOldInteger, kOldInteger, 5},
       std::nullopt},
      {"null repeat then its separating comma",
       "3*,5\n",
       "iiii",
       Ok,
       {kOldInteger, kOldInteger, kOldInteger, 5},
       std::nullopt},
      {"null repeat then one more null value",
       "2*,,5\n",
       "iiii",
       Ok,
       {kOldInteger, kOldInteger, kOldInteger, 5},
       std::nullopt},
      {"null repeat then a slash",
       "3*/\n5\n",
       "iiii",
       Ok,
       {kOldInteger, kOldInteger, kOldInteger, kOldInteger},
       "5"},
      {"a count beyond the last item ends the read", "5*1 7\nnext\n", "ii", Ok, {1, 1}, "next"},
      {"a repeated quoted text", "2*'a b' x\n", "tt", Ok, {"a b", "a b"}, std::nullopt},
      {"a repeated null text", "2*\n", "tt", Ok, {kOld, kOld}, std::nullopt},
      // Each repetition is converted for its own item.
      {"a repeated value for items of different kinds",
       "3*5\n",
       "irt",
       Ok,
       {5, 5.0, "5"},
       std::nullopt},
      {"an asterisk inside an unquoted text", "ab*c 2\n", "ti", Ok, {"ab*c", 2}, std::nullopt},
      {"an asterisk without a count", "*a 2\n", "tt", Ok, {"*a", "2"}, std::nullopt},
      {"a zero count is unreadable",
       "0*5\nnext\n",
       "ii",
       ReadError,
       {kOldInteger, kOldInteger},
       "next"},
      {"a count beyond 32 bits is unreadable",
       "99999999999*1\n",
       "ii",
       ReadError,
       {kOldInteger, kOldInteger},
       std::nullopt},
      {"a signed count is unreadable",
       "-2*3 4\n",
       "ii",
       ReadError,
       {kOldInteger, kOldInteger},
       std::nullopt},
      {"a blank before the asterisk", "2 *3\n", "ii", ReadError, {2, kOldInteger}, std::nullopt},
  });
}

TEST(FreeRead, TextValues) {
  checkCases({
      {"a quoted name with a blank",
       "'file name.txt' 3\n",
       "ti",
       Ok,
       {"file name.txt", 3},
       std::nullopt},
      {"an unquoted name ends at the blank",
       "file name.txt 3\n",
       "ti",
       ReadError,
       {"file", kOldInteger},
       std::nullopt},
      {"doubled marks stand for one",
       "\"say \"\"hi\"\"\" 'it''s'\n",
       "tt",
       Ok,
       {"say \"hi\"", "it's"},
       std::nullopt},
      {"commas, slashes and the other mark inside quotes",
       "'a,b/c d' \"x'y\"\n",
       "tt",
       Ok,
       {"a,b/c d", "x'y"},
       std::nullopt},
      {"a comma right after the closing mark", "'abc',2\n", "ti", Ok, {"abc", 2}, std::nullopt},
      {"a slash right after the closing mark", "'abc'/ x\n", "tt", Ok, {"abc", kOld}, std::nullopt},
      {"an empty quoted text is a value, not a null", "''  x\n", "tt", Ok, {"", "x"}, std::nullopt},
      {"a quoted text of blanks is blank", "'   ' x\n", "tt", Ok, {"", "x"}, std::nullopt},
      {"leading blanks of a quoted text stay", "'  lead  '\n", "t", Ok, {"  lead"}, std::nullopt},
      {"a character after the closing mark is unreadable",
       "'abc'def ghi\n",
       "tt",
       ReadError,
       {kOld, kOld},
       std::nullopt},
      {"an unclosed mark runs to the end of its line",
       "'abc, def\nnext\n",
       "t",
       Ok,
       {"abc, def"},
       "next"},
      {"an unclosed mark stops before the carriage return",
       "'abc \r\nnext\r\n",
       "t",
       Ok,
       {"abc"},
       "next"},
      {"a mark inside an unquoted text", "abc'def\n", "t", Ok, {"abc'def"}, std::nullopt},
      {"an unquoted text ends at a comma", "abc,def\n", "tt", Ok, {"abc", "def"}, std::nullopt},
      {"an unquoted name ends at a slash", "dir/file.txt\n", "t", Ok, {"dir"}, std::nullopt},
      {"a tab ends an unquoted text", "abc\tdef\n", "tt", Ok, {"abc", "def"}, std::nullopt},
      {"a lone carriage return is part of a text", "a\rb c\n", "t", Ok, {"a\rb"}, std::nullopt},
      {"digits for a text item are text",
       "0123 -4.5e6\n",
       "tt",
       Ok,
       {"0123", "-4.5e6"},
       std::nullopt},
      {"a quoted value for an integer is unreadable",
       "'5'\n",
       "i",
       ReadError,
       {kOldInteger},
       std::nullopt},
      {"a quoted value for a real is unreadable",
       "\"2.5\"\n",
       "r",
       ReadError,
       {kOldReal},
       std::nullopt},
  });
}

TEST(FreeRead, TextIsCutToTheFieldAndLosesTrailingBlanks) {
  const std::string longName(1100, 'n');
  const std::string fitting(1020, 'f');
  checkCases({
      {"an unquoted value beyond the field is cut",
       longName + " 7\n",
       "ti",
       Ok,
       {longName.substr(0, kTextFieldLength), 7},
       std::nullopt},
      {"a quoted value beyond the field is cut",
       "'" + longName + "' 7\n",
       "ti",
       Ok,
       {longName.substr(0, kTextFieldLength), 7},
       std::nullopt},
      {"blanks at the cut are dropped",
       "'" + fitting + "      x'\n",
       "t",
       Ok,
       {fitting},
       std::nullopt},
      {"exactly a field's length",
       "'" + longName.substr(0, 1024) + "'\n",
       "t",
       Ok,
       {longName.substr(0, 1024)},
       std::nullopt},
  });
}

// One value read as a real and as an integer; nullopt: a read error.
struct NumberCase {
  std::string text;
  std::optional<double> real;
  std::optional<std::int32_t> integer;
};

TEST(FreeRead, NumberForms) {
  const std::vector<NumberCase> cases = {
      {"2.5", 2.5, std::nullopt},
      {".5", 0.5, std::nullopt},
      {"5.", 5.0, std::nullopt},
      {"-.5E-3", -0.0005, std::nullopt},
      {"1D2", 100.0, std::nullopt},
      {"1d-2", 0.01, std::nullopt},
      {"1e+3", 1000.0, std::nullopt},
      {"2.5E0", 2.5, std::nullopt},
      {"0.1", 0.1, std::nullopt},
      {"00012.500", 12.5, std::nullopt},
      {"-0.0", -0.0, std::nullopt},
      {"850.00000000000000000001", 850.0, std::nullopt},
      {"1.7976931348623157e308", 1.7976931348623157e308, std::nullopt},
      {"4.9e-324", 4.9e-324, std::nullopt},
      // Too small for a double: zero of its sign, as a Fortran read gives.
      {"1e-400", 0.0, std::nullopt},
      {"-1E-400", -0.0, std::nullopt},
      {"0.0000000001e-320", 0.0, std::nullopt},
      {"0e99999", 0.0, std::nullopt},
      // Integers.
      {"+7", 7.0, 7},
      {"+12", 12.0, 12},
      {"-0", -0.0, 0},
      {"007", 7.0, 7},
      {"2147483647", 2147483647.0, 2147483647},
      {"-2147483648", -2147483648.0, INT32_MIN},
      {"2147483648", 2147483648.0, std::nullopt},
      {"-2147483649", -2147483649.0, std::nullopt},
      // Unreadable as either kind.
      {"1e", std::nullopt, std::nullopt},
      {"1e+", std::nullopt, std::nullopt},
      {"e5", std::nullopt, std::nullopt},
      {"E", std::nullopt, std::nullopt},
      {".", std::nullopt, std::nullopt},
      {".e1", std::nullopt, std::nullopt},
      {"+.e1", std::nullopt, std::nullopt},
      {"+", std::nullopt, std::nullopt},
      {"-", std::nullopt, std::nullopt},
      {"+-1", std::nullopt, std::nullopt},
      {"1.2.3", std::nullopt, std::nullopt},
      {"1e5.0", std::nullopt, std::nullopt},
      {"1e2e3", std::nullopt, std::nullopt},
      {"0x10", std::nullopt, std::nullopt},
      {"inf", std::nullopt, std::nullopt},
      {"-Infinity", std::nullopt, std::nullopt},
      {"nan", std::nullopt, std::nullopt},
      {"12abc", std::nullopt, std::nullopt},
      {"abc", std::nullopt, std::nullopt},
      // Forms some Fortran compilers take but this read does not.
      {"1.0+3", std::nullopt, std::nullopt},
      {"1q2", std::nullopt, std::nullopt},
      {"1;2", std::nullopt, std::nullopt},
      // Too large for a double: unreadable rather than infinite.
      {"1e999", std::nullopt, std::nullopt},
      {"-1D400", std::nullopt, std::nullopt},
      {"1.7976931348623159e308", std::nullopt, std::nullopt},
      {"1e99999999999999999999", std::nullopt, std::nullopt},
  };
  for (const NumberCase& c : cases) {
    SCOPED_TRACE(c.text);
    std::istringstream realInput(c.text + " 9\nnext\n");
    double real = kOldReal;
    EXPECT_EQ(show(readFree(realInput, {&real})), show(c.real ? Ok : ReadError));
    const double expectedReal = c.real.value_or(kOldReal);
    EXPECT_TRUE(sameValue(real, expectedReal)) << show(real) << " expected " << show(expectedReal);
    std::istringstream integerInput(c.text + " 9\nnext\n");
    std::int32_t integer = kOldInteger;
    EXPECT_EQ(show(readFree(integerInput, {&integer})), show(c.integer ? Ok : ReadError));
    EXPECT_EQ(integer, c.integer.value_or(kOldInteger));
    // Either way the next read starts on the next line.
    std::string next;
    EXPECT_EQ(readWholeLine(integerInput, next), Ok);
    EXPECT_EQ(next, "next");
  }
}

TEST(FreeRead, EndOfFileAndReadErrors) {
  checkCases({
      {"an empty input", "", "i", EndOfFile, {kOldInteger}, std::nullopt},
      {"only blank lines", "\n  \n\t\r\n", "r", EndOfFile, {kOldReal}, std::nullopt},
      {"values already read are kept",
       "1\n\n",
       "iii",
       EndOfFile,
       {1, kOldInteger, kOldInteger},
       std::nullopt},
      {"a trailing comma before the end of the input",
       "1,",
       "ii",
       EndOfFile,
       {1, kOldInteger},
       std::nullopt},
      {"a null repeat short of the end of the input",
       "2*\n",
       "iii",
       EndOfFile,
       {kOldInteger, kOldInteger, kOldInteger},
       std::nullopt},
      {"an empty read at the end of the input", "", "", EndOfFile, {}, std::nullopt},
      {"an error keeps the earlier values and leaves its line",
       "1 x 3\nnext\n",
       "iii",
       ReadError,
       {1, kOldInteger, kOldInteger},
       "next"},
      {"an error on a later line leaves that line",
       "1\n2 x\nnext\n",
       "iii",
       ReadError,
       {1, 2, kOldInteger},
       "next"},
  });
}

TEST(FreeRead, ReadsFollowOneAnother) {
  // A small specification-like file: each read starts on the next line and
  // ignores the descriptions behind its values.
  std::istringstream in(
      "T5 category\r\n"
      "'engine 1.txt' engine file\r\n"
      "\r\n"
      "0.45 , 6.5 tire radius and final ratio\r\n"
      "1, 2*, 3\r\n");
  std::string category = kOldText;
  std::string engine = kOldText;
  double radius = kOldReal;
  double ratio = kOldReal;
  std::int32_t a = kOldInteger, b = 5, c = 6, d = kOldInteger;
  EXPECT_EQ(readFree(in, {&category}), Ok);
  EXPECT_EQ(readFree(in, {&engine}), Ok);
  EXPECT_EQ(readFree(in, {&radius, &ratio}), Ok);
  EXPECT_EQ(readFree(in, {&a, &b, &c, &d}), Ok);
  EXPECT_EQ(readFree(in, {&a}), EndOfFile);
  EXPECT_EQ(readFree(in, {&a}), EndOfFile);
  EXPECT_EQ(category, "T5");
  EXPECT_EQ(engine, "engine 1.txt");
  EXPECT_EQ(radius, 0.45);
  EXPECT_EQ(ratio, 6.5);
  EXPECT_EQ(a, 1);
  EXPECT_EQ(b, 5);
  EXPECT_EQ(c, 6);
  EXPECT_EQ(d, 3);
}

TEST(WholeLineRead, TakesExactlyOneLine) {
  const std::string longLine(1100, 'h');
  struct Case {
    const char* what;
    std::string input;
    ReadStatus status;
    std::string line;
    std::optional<std::string> next;
  };
  const std::vector<Case> cases = {
      {"an empty line", "\nnext\n", Ok, "", "next"},
      {"an empty line with CR LF", "\r\nnext\r\n", Ok, "", "next"},
      {"a blank line", "    \nnext\n", Ok, "", "next"},
      {"leading blanks stay, trailing blanks go", "  Speed  Torque  \r\n", Ok, "  Speed  Torque",
       std::nullopt},
      {"slashes, commas and quotes are plain text", "a/b, 'c'  \n", Ok, "a/b, 'c'", std::nullopt},
      {"a trailing tab is not a blank", "rpm\t\n", Ok, "rpm\t", std::nullopt},
      {"a last line without a line end", "last", Ok, "last", std::nullopt},
      {"a long line is cut to the field", longLine + "\n", Ok, longLine.substr(0, 1024),
       std::nullopt},
      {"the end of the input", "", EndOfFile, kOldText, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::istringstream in(c.input);
    std::string line = kOldText;
    EXPECT_EQ(show(readWholeLine(in, line)), show(c.status));
    EXPECT_EQ(line, c.line);
    std::string next;
    EXPECT_EQ(show(readWholeLine(in, next)), show(c.next ? Ok : EndOfFile));
    if (c.next) {
      EXPECT_EQ(next, *c.next);
    }
  }
}

TEST(WholeLineRead, AnEmptyHeaderLineShiftsAFreeReadButNotAWholeLineRead) {
  const std::string input = "\nheader\n1.5\n";
  std::istringstream byFreeRead(input);
  std::string header = kOldText;
  double value = kOldReal;
  EXPECT_EQ(readFree(byFreeRead, {&header}), Ok);
  EXPECT_EQ(header, "header");
  EXPECT_EQ(readFree(byFreeRead, {&value}), Ok);
  EXPECT_EQ(value, 1.5);

  std::istringstream byWholeLine(input);
  EXPECT_EQ(readWholeLine(byWholeLine, header), Ok);
  EXPECT_EQ(header, "");
  EXPECT_EQ(readWholeLine(byWholeLine, header), Ok);
  EXPECT_EQ(header, "header");
}

TEST(Rewind, ASecondPassReadsTheFileAgain) {
  // Two passes over a data file opened in binary mode: count the lines up to
  // the end of the file, return to the start, read the values.
  const testing::ScratchDir dir;
  const std::string path = dir.write("curve.txt", "Speed Torque\r\n600 400\r\n800 900\r\n");
  std::ifstream in(path, std::ios::binary);
  std::string header;
  ASSERT_EQ(readWholeLine(in, header), Ok);
  int count = 0;
  double speed = 0.0, torque = 0.0;
  while (readFree(in, {&speed, &torque}) == Ok) ++count;
  EXPECT_EQ(count, 2);
  EXPECT_EQ(readFree(in, {&speed}), EndOfFile);

  rewindInput(in);
  ASSERT_EQ(readWholeLine(in, header), Ok);
  EXPECT_EQ(header, "Speed Torque");
  EXPECT_EQ(readFree(in, {&speed, &torque}), Ok);
  EXPECT_EQ(speed, 600.0);
  EXPECT_EQ(torque, 400.0);

  // Rewinding after a read error also starts over.
  rewindInput(in);
  EXPECT_EQ(readFree(in, {&speed}), ReadError);
  rewindInput(in);
  EXPECT_EQ(readWholeLine(in, header), Ok);
  EXPECT_EQ(header, "Speed Torque");
}

// A stream whose device fails: the read must not report success or a plain
// end of file.
struct FailingBuffer : std::streambuf {
  int_type underflow() override { throw std::ios_base::failure("device error"); }
};

TEST(FreeRead, AFailingStreamIsAReadError) {
  FailingBuffer buffer;
  std::istream in(&buffer);
  double value = kOldReal;
  EXPECT_EQ(show(readFree(in, {&value})), show(ReadError));
  EXPECT_EQ(value, kOldReal);
  std::string line;
  std::istream again(&buffer);
  EXPECT_EQ(show(readWholeLine(again, line)), show(ReadError));
}

// The message line of an unguarded read that failed, or "" when it did not.
template <typename Read>
std::string stopLine(Read read) {
  try {
    read();
  } catch (const FatalStop& stop) {
    EXPECT_EQ(stop.channel, Channel::Err);
    EXPECT_EQ(stop.lines.size(), 1u);
    return stop.lines.empty() ? "?" : stop.lines.front();
  }
  return "";
}

TEST(UnguardedRead, FailuresStopTheRunNamingTheFile) {
  double value = kOldReal;
  std::string line = kOldText;
  {
    std::istringstream in("");
    EXPECT_EQ(stopLine([&] { readFreeUnguarded(in, "spec.txt", {&value}); }),
              " End of file while reading [ spec.txt ]");
  }
  {
    std::istringstream in("abc\n");
    EXPECT_EQ(stopLine([&] { readFreeUnguarded(in, "shift_urban.txt   ", {&value}); }),
              " Unreadable value while reading [ shift_urban.txt ]");
  }
  {
    std::istringstream in("");
    EXPECT_EQ(stopLine([&] { readWholeLineUnguarded(in, "console input", line); }),
              " End of file while reading [ console input ]");
  }
  {
    std::istringstream in("2.5\n\n");
    EXPECT_EQ(stopLine([&] { readFreeUnguarded(in, "torque.txt", {&value}); }), "");
    EXPECT_EQ(value, 2.5);
    EXPECT_EQ(stopLine([&] { readWholeLineUnguarded(in, "torque.txt", line); }), "");
    EXPECT_EQ(line, "");
  }
  EXPECT_EQ(stopLine([] { unguardedFailure("fmap.txt", ReadStatus::EndOfFile); }),
            " End of file while reading [ fmap.txt ]");
  EXPECT_EQ(stopLine([] { unguardedFailure("fmap.txt", ReadStatus::ReadError); }),
            " Unreadable value while reading [ fmap.txt ]");
}

TEST(TrimTrailingBlanks, DropsOnlyTrailingBlanks) {
  EXPECT_EQ(trimTrailingBlanks("run1   "), "run1");
  EXPECT_EQ(trimTrailingBlanks("  a b  "), "  a b");
  EXPECT_EQ(trimTrailingBlanks("    "), "");
  EXPECT_EQ(trimTrailingBlanks(""), "");
  EXPECT_EQ(trimTrailingBlanks("tab\t "), "tab\t");
}

}  // namespace
}  // namespace hdfe
