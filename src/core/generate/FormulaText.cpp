#include "generate/FormulaText.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace vorlane {

namespace {

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Length in bytes of the UTF-8 sequence that starts with `lead`; a byte that
// cannot start a sequence counts as one character of its own.
std::size_t SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 1;
}

}  // namespace

bool IsLetter(std::string_view text) { return !text.empty() && IsAsciiLetter(text.front()); }

std::string ReadVariableName(std::string_view text, std::size_t amp) {
  const char* p = text.data();
  const std::size_t size = text.size();
  std::size_t i = amp + 1;
  if (i < size) {
    std::size_t n = SequenceLength(static_cast<unsigned char>(p[i]));
    std::size_t end = i + 1;
    // Take the continuation bytes that really follow, no more.
    while (end < size && end < i + n && (static_cast<unsigned char>(p[end]) & 0xC0) == 0x80) ++end;
    i = end;
    // ASCII letters and digits, looked up in a table of the byte values.
    static constexpr auto kNameByte = [] {
      std::array<bool, 256> table{};
      for (int c = '0'; c <= '9'; ++c) table[static_cast<std::size_t>(c)] = true;
      for (int c = 'A'; c <= 'Z'; ++c) table[static_cast<std::size_t>(c)] = table[static_cast<std::size_t>(c + 32)] = true;
      return table;
    }();
    while (i < size && kNameByte[static_cast<unsigned char>(p[i])]) ++i;
  }
  return std::string(p + amp, i - amp);
}

void LowerAscii(std::string& text) {
  // Eight bytes at a time: a byte whose low seven bits lie from A to Z and
  // whose top bit is clear gets the bit that makes it lower case.
  // Lowering twice changes nothing, so a text of eight bytes or more ends
  // with a word that overlaps the one before.
  constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
  auto lowerWord = [](char* p) {
    std::uint64_t w;
    std::memcpy(&w, p, 8);
    const std::uint64_t low = w & (0x7F * kOnes);
    const std::uint64_t atLeastA = low + (0x80 - 'A') * kOnes;
    const std::uint64_t beyondZ = low + (0x80 - 'Z' - 1) * kOnes;
    const std::uint64_t upper = atLeastA & ~beyondZ & ~w & (0x80 * kOnes);
    w |= upper >> 2;
    std::memcpy(p, &w, 8);
  };
  char* p = text.data();
  const std::size_t n = text.size();
  if (n < 8) {
    for (std::size_t i = 0; i < n; ++i) p[i] = FoldAscii(p[i]);
    return;
  }
  for (std::size_t i = 0; i + 8 <= n; i += 8) lowerWord(p + i);
  if (n % 8 != 0) lowerWord(p + n - 8);
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  }
  return true;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

std::size_t FindNoCase(std::string_view text, std::string_view what) {
  if (what.empty()) return 0;
  if (what.size() > text.size()) return std::string_view::npos;
  const char first = FoldAscii(what.front());
  for (std::size_t i = 0; i + what.size() <= text.size(); ++i) {
    if (FoldAscii(text[i]) == first && EqualsNoCase(text.substr(i, what.size()), what)) return i;
  }
  return std::string_view::npos;
}

bool ReplaceFirstNoCase(std::string& text, std::string_view what, std::string_view with) {
  std::size_t at = FindNoCase(text, what);
  if (at == std::string_view::npos) return false;
  text.replace(at, what.size(), with);
  return true;
}

std::size_t CharacterCount(std::string_view text) {
  std::size_t count = 0;
  for (char c : text) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
  }
  return count;
}

}  // namespace vorlane
