// Reading generated entries back: which entry and key each line belongs to,
// and the text written out in the game's encoding. An entry starts at its
// "Name" line; every other line is "Key := value" (the key padded with
// blanks) or empty.
#pragma once

#include <string>
#include <string_view>

namespace vorlane {

// The encodings results are written in: the game's own, or UTF-8 for those
// who keep their files in it.
enum class TextEncoding { Windows1252, Utf8 };

// "windows-1252" / "utf-8" (letter case ignored; "cp1252" and "utf8" too).
bool ParseTextEncoding(std::string_view name, TextEncoding& encoding);

// One "Key := value" line; `key` is empty for a line without ":=".
struct EntryLine {
  std::string_view key;    // blanks around it removed
  std::string_view value;  // after ":= ", unchanged
};
EntryLine SplitEntryLine(std::string_view line);

// Follows the lines of generated text one by one.
class EntryCursor {
 public:
  // Takes the next line, without its line end.
  void Next(std::string_view line);

  int Entry() const { return entry_; }                 // 1-based; 0 before the first
  const std::string& EntryName() const { return name_; }
  const std::string& Key() const { return key_; }      // of the last line
  // Where the last line lies, for messages: "entry 2 \"Laser 2\", key \"Name\"".
  std::string Where() const;

 private:
  int entry_ = 0;
  std::string name_;
  std::string key_;
};

// Appends one line of UTF-8 text to `out` in `encoding`. On a character that
// Windows-1252 cannot hold, sets `error` to a text naming the entry, the key
// and the character, and returns false.
bool AppendEncodedLine(std::string_view line, TextEncoding encoding, const EntryCursor& where, std::string& out,
                       std::string& error);

// The whole text in `encoding`, line ends kept; false with `error` as above.
bool EncodeEntries(std::string_view text, TextEncoding encoding, std::string& out, std::string& error);

}  // namespace vorlane
