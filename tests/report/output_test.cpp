#include "report/output.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace hdfe {
namespace {

struct IntegerCase {
  std::int32_t value;
  int width;
  std::string_view text;
};

struct RealCase {
  double value;
  int width;
  int decimals;
  std::string_view text;
};

std::string describe(const RealCase& c) {
  std::ostringstream name;
  name.precision(17);
  name << "F" << c.width << "." << c.decimals << " of " << c.value;
  return name.str();
}

void expectIntegers(const std::vector<IntegerCase>& cases) {
  for (const IntegerCase& c : cases) {
    EXPECT_EQ(formatI(c.value, c.width), c.text) << "I" << c.width << " of " << c.value;
  }
}

void expectReals(const std::vector<RealCase>& cases) {
  for (const RealCase& c : cases)
    EXPECT_EQ(formatF(c.value, c.width, c.decimals), c.text) << describe(c);
}

// The field examples every report relies on.
TEST(FieldExamples, IntegerFields) {
  expectIntegers({
      {1, 2, " 1"},
      {999, 2, "**"},
      {12, 3, " 12"},
      {1, 4, "   1"},
      {1830, 0, "1830"},
      {-2, 0, "-2"},
      {0, 2, " 0"},
      {0, 0, "0"},
      {1, 0, "1"},
  });
}

TEST(FieldExamples, RealFields) {
  expectReals({
      {4.5, 8, 4, "  4.5000"},
      {123.5, 5, 2, "*****"},
      {0.5, 8, 5, " 0.50000"},
      {1.0, 8, 6, "1.000000"},
      {27.34, 5, 1, " 27.3"},
      {0.7, 5, 2, " 0.70"},
      {25000.0, 8, 2, "25000.00"},
      {850.26, 0, 1, "850.3"},
      {70.0, 0, 2, "70.00"},
      {80.0, 0, 4, "80.0000"},
      {0.0, 0, 4, ".0000"},
      {0.5, 0, 2, ".50"},
      {-0.26, 0, 1, "-.3"},
      {0.999, 0, 6, ".999000"},
      {0.996, 0, 2, "1.00"},
      // The sign takes a character of the field; the 0 before the point
      // goes first when the field is short.
      {-0.5, 5, 2, "-0.50"},
      {-0.5, 4, 2, "-.50"},
      {-10.5, 4, 1, "****"},
      // Fixed and minimal width differ below 1.
      {0.5, 7, 4, " 0.5000"},
      {0.5, 0, 4, ".5000"},
  });
}

// Cases cross-checked against an independent formatted-output library:
// halfway ties, decimals whose binary value lies just below or above the tie,
// rounding that carries into a new digit, and the edges of each field width.
TEST(RealFields, RoundingOfTheExactBinaryValue) {
  expectReals({
      // True ties (the double is exactly halfway): to the even digit.
      {0.125, 0, 2, ".12"},
      {0.375, 0, 2, ".38"},
      {0.125, 4, 2, "0.12"},
      {2.5, 5, 0, "   2."},
      {1.5, 5, 0, "   2."},
      // Decimal ties that are not ties in binary follow the binary value.
      {2.675, 0, 2, "2.67"},  // 2.67499999999999982...
      {1.005, 0, 2, "1.00"},  // 1.00499999999999989...
      {0.015, 0, 2, ".01"},   // 0.01499999999999999944...
      {0.05, 0, 1, ".1"},     // 0.05000000000000000277...
      {1.0000005, 0, 6, "1.000001"},
      {99999.995, 0, 2, "99999.99"},  // 99999.99499999999534...
      // Rounding that carries into a new integer digit.
      {9.99995, 0, 4, "10.0000"},
      {9.99995, 8, 4, " 10.0000"},
      {999.99995, 0, 2, "1000.00"},
      {-999.96, 0, 1, "-1000.0"},
      {99999.995, 0, 1, "100000.0"},
      {1234.5678, 0, 2, "1234.57"},
      {1.0e20, 0, 2, "100000000000000000000.00"},
  });
}

TEST(RealFields, FieldWidthEdges) {
  expectReals({
      // The last value that fits and the first that does not.
      {999.99994, 8, 4, "999.9999"},
      {999.99995, 8, 4, "********"},
      {99999.995, 8, 2, "99999.99"},  // just below the tie in binary
      {99999.996, 8, 2, "********"},
      {9.9999994, 8, 6, "9.999999"},
      {10.0, 8, 6, "********"},
      {-99.94, 5, 1, "-99.9"},
      {-99.96, 5, 1, "*****"},
      // Below 1: the 0 goes first, then the field overflows.
      {0.45, 3, 2, ".45"},
      {0.45, 4, 2, "0.45"},
      {-0.3, 4, 2, "-.30"},
      {-0.3, 3, 2, "***"},
      {-0.0292, 5, 2, "-0.03"},
      // Magnitudes below 1 that round up to 1 keep their 1.
      {0.996, 5, 2, " 1.00"},
      {0.96, 3, 1, "1.0"},
      {-0.96, 3, 1, "***"},
  });
}

// A negative value keeps its minus sign even when it rounds to zero (a
// slightly negative torque reads -.0 in the trace); a negative zero is zero
// and is written without a sign.
TEST(RealFields, NegativeValuesThatRoundToZeroKeepTheirSign) {
  expectReals({
      {-0.001, 0, 2, "-.00"},
      {-0.001, 5, 2, "-0.00"},
      {-0.001, 4, 2, "-.00"},
      {-0.001, 3, 2, "***"},
      {-0.04, 5, 1, " -0.0"},
      {-0.04, 0, 1, "-.0"},
      {-1.0e-300, 0, 6, "-.000000"},
      {-0.0049, 0, 2, "-.00"},
      {-0.005, 0, 2, "-.01"},
      {-0.0, 0, 4, ".0000"},
      {-0.0, 8, 4, "  0.0000"},
      {-0.0, 3, 1, "0.0"},
  });
}

// Without decimals a field still shows one digit: the 0 before the point is
// then the only digit and is always written.
TEST(RealFields, NoDecimalsKeepsOneDigit) {
  expectReals({
      {0.125, 0, 0, "0."},
      {0.0, 0, 0, "0."},
      {-0.3, 0, 0, "-0."},
      {-0.7, 0, 0, "-1."},
      {1234.5678, 0, 0, "1235."},
      {0.125, 5, 0, "   0."},
      {0.125, 1, 0, "*"},
      {7.0, 2, 0, "7."},
  });
}

TEST(RealFields, InfinitiesAndUndefinedValues) {
  const double infinity = std::numeric_limits<double>::infinity();
  const double undefined = std::numeric_limits<double>::quiet_NaN();
  expectReals({
      {infinity, 8, 4, "********"},
      {-infinity, 5, 1, "*****"},
      {undefined, 8, 4, "********"},
      {-undefined, 2, 1, "**"},
      {infinity, 0, 2, "Infinity"},
      {-infinity, 0, 1, "-Infinity"},
      {undefined, 0, 6, "NaN"},
      {-undefined, 0, 6, "NaN"},
  });
}

TEST(RealFields, ExtremeFiniteValues) {
  const double largest = std::numeric_limits<double>::max();
  const std::string largestDigits = formatF(largest, 0, 1);
  EXPECT_EQ(largestDigits.size(), 311u);
  EXPECT_EQ(largestDigits.substr(0, 17), "17976931348623157");
  EXPECT_EQ(largestDigits.substr(largestDigits.size() - 11), "124858368.0");
  EXPECT_EQ(formatF(-largest, 0, 2).substr(0, 3), "-17");
  EXPECT_EQ(formatF(-largest, 15, 5), "***************");
  EXPECT_EQ(formatF(std::numeric_limits<double>::denorm_min(), 0, 6), ".000000");
  EXPECT_EQ(formatF(-2147483648.0, 0, 2), "-2147483648.00");
}

TEST(IntegerFields, WidthEdgesAndExtremes) {
  expectIntegers({
      {-1, 1, "*"},
      {9, 1, "9"},
      {10, 1, "*"},
      {-9, 2, "-9"},
      {-10, 2, "**"},
      {-10, 3, "-10"},
      {1000, 3, "***"},
      {1000, 4, "1000"},
      {2147483647, 0, "2147483647"},
      {-2147483647 - 1, 0, "-2147483648"},
      {-2147483647 - 1, 12, " -2147483648"},
      {-2147483647 - 1, 4, "****"},
      {2147483647, 12, "  2147483647"},
  });
}

TEST(FreeFormat, IntegersTakeTwelveCharacters) {
  std::ostringstream out;
  writeFree(out, {std::string_view("error : engine overrun, time= "), std::int32_t{1234}});
  EXPECT_EQ(out.str(), " error : engine overrun, time=         1234\r\n");
}

TEST(FreeFormat, TextStartsAfterOneBlank) {
  std::ostringstream out;
  writeFree(out, {std::string_view(" complete.")});
  EXPECT_EQ(out.str(), "  complete.\r\n");
}

TEST(FreeFormat, WithoutItemsIsAnEmptyLine) {
  std::ostringstream out;
  writeFree(out, {});
  EXPECT_EQ(out.str(), "\r\n");
  EXPECT_EQ(formatFree({}), "");
}

TEST(FreeFormat, FormatFreeIsTheLineWithoutItsEnd) {
  EXPECT_EQ(formatFree({std::string_view("Nidle ="), std::int32_t{-7}, std::string_view(" x")}),
            " Nidle =          -7 x");
}

TEST(FixedFormat, LineEndsWithCrLf) {
  std::ostringstream out;
  writeFixed(out, "GVW =" + formatF(25000.0, 8, 2) + "[kg]");
  writeFixed(out, "");
  EXPECT_EQ(out.str(), "GVW =25000.00[kg]\r\n\r\n");
}

// Records what reaches the device and how often the stream is flushed.
class RecordingBuffer : public std::stringbuf {
 public:
  int flushes = 0;

 protected:
  int sync() override {
    ++flushes;
    return std::stringbuf::sync();
  }
};

TEST(FixedFormat, NoAdvanceLeavesTheLineOpenAndShowsIt) {
  RecordingBuffer buffer;
  std::ostream out(&buffer);
  writeNoAdvance(out, " TYPE FILENAME FOR INPUT : ");
  // The prompt must be on the screen before the program waits for the answer.
  EXPECT_EQ(buffer.flushes, 1);
  EXPECT_EQ(buffer.str(), " TYPE FILENAME FOR INPUT : ");
}

TEST(FreeFormat, LongLinesStayOnOneLine) {
  // A message naming a long file keeps the whole name on its line.
  const std::string name(1024, 'n');
  EXPECT_EQ(formatFree({std::string_view("file not found: "), std::string_view(name)}),
            " file not found: " + name);
}

TEST(FreeFormat, TextIsWrittenByteForByte) {
  // Shift_JIS bytes, tabs, trailing blanks and embedded zero bytes pass unchanged.
  const std::string_view text("\x81@\x89\xdf\tx\0y  ", 10);
  std::ostringstream out;
  writeFree(out, {text});
  EXPECT_EQ(out.str(), " " + std::string(text) + "\r\n");
}

}  // namespace
}  // namespace hdfe
