#include "util/Windows1252.h"

#include <gtest/gtest.h>

#include <tuple>

namespace vorlane {
namespace {

TEST(Windows1252, EncodesLatinAndTheTypographicBlockAndStopsAtAnythingElse) {
  // The text, what is encoded before the first failure, and where that failure is.
  const std::tuple<std::string, std::string, std::optional<std::size_t>> cases[] = {
      {"Laser 1", "Laser 1", {}},
      {"Läser\xC2\xA0ÿ", "L\xE4ser\xA0\xFF", {}},  // with a no-break space
      {"€ – “x” ™ Ÿ", "\x80 \x96 \x93x\x94 \x99 \x9F", {}},
      {"ok ☢ no", "ok ", 3},        // outside the code page
      {"a\xC2\x81", "a", 1},        // a C1 control character
      {"a\xFF", "a", 1},            // not UTF-8
      {"a\xC3", "a", 1},            // cut off
      {"\xE0\x80\x80", "", 0},      // overlong
      {"\xED\xA0\x80", "", 0},      // a surrogate
  };
  for (const auto& [utf8, encoded, badOffset] : cases) {
    std::string out;
    auto bad = AppendWindows1252(utf8, out);
    EXPECT_EQ(out, encoded) << utf8;
    EXPECT_EQ(bad ? std::optional(bad->offset) : std::nullopt, badOffset) << utf8;
  }
  const std::pair<std::string, std::string> described[] = {
      {"x ☢", "\"☢\" (U+2622)"}, {"x\xC2\x85", "U+0085"}, {"x\xFE", "a byte that is not UTF-8 (0xFE)"},
      {"x\xED\xBF\xBF", "a byte that is not UTF-8 (0xED)"}};  // the last surrogate, U+DFFF
  for (const auto& [text, description] : described) {
    EXPECT_EQ(DescribeUnencodable(text, *FindUnencodable(text)), description) << text;
  }
}

TEST(Windows1252, DecodesEveryByteAndFoldsLetterCase) {
  EXPECT_EQ(Windows1252ToUtf8("L\xE4ser \x80\x81"), "Läser €\xC2\x81");
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  std::string back;
  const std::string utf8 = Windows1252ToUtf8(all);
  // Every byte the code page defines comes back; the five undefined ones do not.
  auto bad = AppendWindows1252(utf8, back);
  ASSERT_TRUE(bad.has_value());
  EXPECT_EQ(back, all.substr(0, 0x81));
  EXPECT_EQ(FoldCase("LÄSER Šž ŸÿΩ"), "läser šž ÿÿΩ");
}

TEST(Windows1252, TellsTextThatLooksLikeUtf8) {
  const std::pair<std::string_view, bool> cases[] = {
      {"Name := Pl\xC3\xA4sma\r\n", true},       // a two-byte sequence
      {"\xEF\xBB\xBFName := Lasers\r\n", true},  // the byte order mark alone
      {"Name := Lasers\r\n", false},             // ASCII reads alike either way
      {"Name := Pl\xE4sma\r\n", false},           // a Windows-1252 letter
      {"Name := \xC3\xA4 \xE4\r\n", false},       // mixed: one byte is no UTF-8
      {"", false},
  };
  for (const auto& [bytes, utf8] : cases) EXPECT_EQ(LooksLikeUtf8(bytes), utf8) << bytes;
}

}  // namespace
}  // namespace vorlane
