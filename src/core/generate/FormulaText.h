// Text helpers of the formula language: reading a variable name, and the
// case-blind searching and replacing that every substitution uses.
//
// Variable names are ASCII letters and digits after the ampersand, so folding
// ASCII letters is all the case-blindness a name needs; the texts themselves
// are UTF-8 and their other bytes compare exactly.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vorlane {

// The two flags every field carries while one entry is made.
struct FieldState {
  bool VarsDone = false;    // no ampersand left; not searched for variables again
  bool BracesDone = false;  // no brace left either; the field is finished
  bool operator==(const FieldState&) const = default;
};

// True when the first character of `text` lies from A to Z or from a to z.
bool IsLetter(std::string_view text);

// The variable name that starts at the ampersand at byte offset `amp`: the
// ampersand, the next character whatever it is (a whole UTF-8 sequence), then
// every following ASCII letter or digit. The end of the text ends the name.
std::string ReadVariableName(std::string_view text, std::size_t amp);

void LowerAscii(std::string& text);
bool EqualsNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);

// Byte offset of the first occurrence of `what` in `text`, letters compared
// without regard to case; npos when there is none.
std::size_t FindNoCase(std::string_view text, std::string_view what);

// Replaces the first case-blind occurrence of `what` by `with`; false (and
// nothing changed) when there is none.
bool ReplaceFirstNoCase(std::string& text, std::string_view what, std::string_view with);

// Number of characters (UTF-8 code points) in `text`.
std::size_t CharacterCount(std::string_view text);


}  // namespace vorlane
