#include "report/texts.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <string_view>

namespace hdfe {
namespace {

// Converts UTF-8 to code page 932 with the C library's character-set
// converter; an unconvertible or incomplete sequence fails the test.
std::string toCp932(std::string_view utf8) {
  iconv_t converter = iconv_open("CP932", "UTF-8");
  if (converter == reinterpret_cast<iconv_t>(-1)) {
    ADD_FAILURE() << "no UTF-8 to CP932 converter: " << std::strerror(errno);
    return {};
  }
  std::string input(utf8);
  std::string output(input.size() * 2 + 16, '\0');
  char* in = input.data();
  std::size_t inLeft = input.size();
  char* out = output.data();
  std::size_t outLeft = output.size();
  const std::size_t converted = iconv(converter, &in, &inLeft, &out, &outLeft);
  if (converted == static_cast<std::size_t>(-1)) {
    ADD_FAILURE() << "cannot convert \"" << utf8 << "\": " << std::strerror(errno);
  }
  EXPECT_EQ(inLeft, 0u) << utf8;
  iconv_close(converter);
  output.resize(output.size() - outLeft);
  return output;
}

std::string hex(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text;
  for (const unsigned char byte : bytes) {
    if (!text.empty()) text += ' ';
    text += kDigits[byte >> 4];
    text += kDigits[byte & 0xf];
  }
  return text;
}

TEST(JapaneseTexts, BytesAreTheCp932EncodingOfTheReadableText) {
  for (const texts::JapaneseText& text : texts::kAll) {
    EXPECT_EQ(hex(text.cp932), hex(toCp932(text.readable))) << text.readable;
  }
}

TEST(JapaneseTexts, ResultLabelsBeforeTheFirstTabAreSixteenBytes) {
  // The first field of the figure lines is 16 bytes so the tabs line up.
  for (const texts::JapaneseText& label :
       {texts::kBeforeTransientLabel, texts::kAfterTransientLabel, texts::kKfConsideredLabel,
        texts::kCentredBlankLabel}) {
    EXPECT_EQ(label.cp932.size(), 16u) << label.readable;
  }
}

TEST(JapaneseTexts, IdeographicSpaceIsTwoBytes) {
  EXPECT_EQ(hex(texts::kCentredBlankLabel.cp932.substr(7, 2)), "81 40");
  EXPECT_EQ(hex(texts::kBeforeTransientLabel.cp932.substr(0, 2)), "81 40");
}

}  // namespace
}  // namespace hdfe
