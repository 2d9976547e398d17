// Number reading and writing shared by the records, the evaluator's tools and
// the generation engine. All of it is locale-independent: the decimal
// separator is always a period, so a number written by one brace group reads
// back in the next and in the game's own files.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vorlane {

// Reads the number that the leading characters of `text` spell, the way the
// classic BASIC Val does: blanks and tabs are skipped anywhere, an optional
// sign, digits with an optional period and fraction, and an optional exponent
// introduced by E or D (either case). Reading stops at the first character
// that cannot continue the number; text without a number gives 0.
double LeadingNumber(std::string_view text);

// Rounds to the nearest integer, halves to the even neighbour. Empty when the
// result lies outside -32768..32767 (or is not a number at all).
std::optional<std::int16_t> RoundToInt16(double value);

// Same rounding into the 32-bit range.
std::optional<std::int32_t> RoundToInt32(double value);

// The general number text of an evaluated value: at most `significant`
// significant digits, no trailing zeros, no decimal point for whole values,
// "0.5" for a pure fraction, exponent form "1E+16" / "1.5E-07" when the
// exponent is below -4 or at least `significant`. Negative zero is "0".
std::string FormatNumber(double value, int significant = 15);

// A whole number from 1 to 3999 as an upper-case Roman numeral ("XIV");
// empty outside that range.
std::string RomanNumeral(int value);
// The value of a Roman numeral written the way RomanNumeral writes it;
// nothing for any other text.
std::optional<int> RomanValue(std::string_view text);
// A level text as a Roman numeral; the text unchanged when its number is not
// a whole number from 1 to 3999.
std::string RomanLevel(std::string_view levelText);

}  // namespace vorlane
