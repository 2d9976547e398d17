// Windows-1252, the "ANSI" code page in which the game reads its data files,
// and the UTF-8 text the rest of the program works in. Code points 0 to 127
// and 160 to 255 keep their values; 27 typographic characters (the euro sign,
// curly quotes, dashes, ...) take the bytes 128 to 159 that Latin-1 leaves to
// control characters. The C1 control characters U+0080 to U+009F have no
// place: the game's reader would not take them as text.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vorlane {

// The code point of the UTF-8 sequence at `pos`, which then moves past it.
// Nothing for a malformed sequence (an overlong form, a surrogate, a stray
// continuation byte, a cut-off end); `pos` then moves one byte on.
std::optional<char32_t> NextCodePoint(std::string_view utf8, std::size_t& pos);

// The Windows-1252 byte of a code point, or nothing when it has none.
std::optional<unsigned char> Windows1252Byte(char32_t c);

// A character of UTF-8 text that Windows-1252 cannot hold.
struct Unencodable {
  std::size_t offset = 0;       // byte offset of the character in the text
  std::size_t length = 0;       // its length in bytes
  std::optional<char32_t> codePoint;  // nothing for a malformed sequence
};

// Appends the Windows-1252 form of `utf8` to `out`. Stops at the first
// character without a place and returns it; `out` then holds what came
// before it.
std::optional<Unencodable> AppendWindows1252(std::string_view utf8, std::string& out);

// The first character of `utf8` that Windows-1252 cannot hold, if any.
std::optional<Unencodable> FindUnencodable(std::string_view utf8);

// How a message names such a character: "\"☢\" (U+2622)", or "a byte that is
// not UTF-8 (0xFF)" for a malformed sequence.
std::string DescribeUnencodable(std::string_view utf8, const Unencodable& what);

// UTF-8 text of Windows-1252 bytes. The five bytes the code page leaves
// undefined become the code points of the same value, as Windows reads them.
std::string Windows1252ToUtf8(std::string_view bytes);

// True when `bytes` look like UTF-8 rather than Windows-1252: they start with
// the UTF-8 byte order mark, or hold bytes above 127 that all form well-made
// UTF-8 sequences of two bytes or more.
bool LooksLikeUtf8(std::string_view bytes);

// The text with every letter that has a capital and a small form in
// Windows-1252 made small, for matching names without regard to letter case.
std::string FoldCase(std::string_view utf8);

}  // namespace vorlane
