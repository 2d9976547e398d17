#include "util/Windows1252.h"

#include <array>
#include <cstdio>

namespace vorlane {

namespace {

// The code points of the bytes 0x80 to 0x9F; 0 marks the five undefined ones.
constexpr std::array<char32_t, 32> kHighBlock = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

std::optional<char32_t> NextCodePoint(std::string_view utf8, std::size_t& pos) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(utf8[i]); };
  const unsigned char lead = byte(pos);
  if (lead < 0x80) {
    ++pos;
    return lead;
  }
  std::size_t length = 0;
  char32_t c = 0;
  char32_t least = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, c = lead & 0x1F, least = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, c = lead & 0x0F, least = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, c = lead & 0x07, least = 0x10000;
  } else {
    ++pos;
    return std::nullopt;
  }
  if (pos + length > utf8.size()) {
    ++pos;
    return std::nullopt;
  }
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(pos + i) & 0xC0) != 0x80) {
      ++pos;
      return std::nullopt;
    }
    c = (c << 6) | (byte(pos + i) & 0x3F);
  }
  if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
    ++pos;
    return std::nullopt;
  }
  pos += length;
  return c;
}

std::optional<unsigned char> Windows1252Byte(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<unsigned char>(c);
  for (std::size_t i = 0; i < kHighBlock.size(); ++i) {
    if (kHighBlock[i] != 0 && kHighBlock[i] == c) return static_cast<unsigned char>(0x80 + i);
  }
  return std::nullopt;
}

std::optional<Unencodable> AppendWindows1252(std::string_view utf8, std::string& out) {
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    // Plain ASCII runs are copied as they are.
    const unsigned char lead = static_cast<unsigned char>(utf8[pos]);
    if (lead < 0x80) {
      out += static_cast<char>(lead);
      ++pos;
      continue;
    }
    const std::size_t start = pos;
    const std::optional<char32_t> c = NextCodePoint(utf8, pos);
    const std::optional<unsigned char> b = c ? Windows1252Byte(*c) : std::nullopt;
    if (!b) return Unencodable{start, pos - start, c};
    out += static_cast<char>(*b);
  }
  return std::nullopt;
}

std::optional<Unencodable> FindUnencodable(std::string_view utf8) {
  std::string ignored;
  return AppendWindows1252(utf8, ignored);
}

std::string DescribeUnencodable(std::string_view utf8, const Unencodable& what) {
  char code[32];
  if (!what.codePoint) {
    std::snprintf(code, sizeof code, "0x%02X", static_cast<unsigned>(static_cast<unsigned char>(utf8[what.offset])));
    return std::string("a byte that is not UTF-8 (") + code + ")";
  }
  std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(*what.codePoint));
  // A control character is named by its code alone.
  if (*what.codePoint < 0xA0) return code;
  return "\"" + std::string(utf8.substr(what.offset, what.length)) + "\" (" + code + ")";
}

bool LooksLikeUtf8(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) return true;
  bool multiByte = false;
  for (std::size_t pos = 0; pos < bytes.size();) {
    const std::size_t start = pos;
    if (!NextCodePoint(bytes, pos)) return false;
    multiByte = multiByte || pos - start > 1;
  }
  return multiByte;
}

std::string Windows1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (char ch : bytes) {
    const unsigned char b = static_cast<unsigned char>(ch);
    if (b >= 0x80 && b <= 0x9F && kHighBlock[b - 0x80] != 0) {
      AppendUtf8(out, kHighBlock[b - 0x80]);
    } else {
      AppendUtf8(out, b);
    }
  }
  return out;
}

std::string FoldCase(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    const std::size_t start = pos;
    std::optional<char32_t> c = NextCodePoint(utf8, pos);
    if (!c) {
      out.append(utf8.substr(start, pos - start));
      continue;
    }
    char32_t f = *c;
    if ((f >= 'A' && f <= 'Z') || (f >= 0xC0 && f <= 0xDE && f != 0xD7)) {
      f += 0x20;
    } else if (f == 0x160 || f == 0x17D || f == 0x152) {
      f += 1;  // Š Ž Œ
    } else if (f == 0x178) {
      f = 0xFF;  // Ÿ
    }
    AppendUtf8(out, f);
  }
  return out;
}

}  // namespace vorlane
