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

TEST(FixedFormat, NoAdvanceLeavesTheLineOpen) {
  std::ostringstream out;
  writeNoAdvance(out, "Input file name ? ");
  EXPECT_EQ(out.str(), "Input file name ? ");
}

}  // namespace
}  // namespace hdfe
