// The game's data files (Components.txt, Facility.txt, ...) as they lie on
// disk: a free header, a "*BEGIN*" line, entries of "Key := value" lines
// separated by blank lines, an "*END*" line and whatever follows it. The
// reader keeps the bytes and notes where each entry lies, so that a writer can
// change some entries and keep every other byte. Keys match as the game's
// readers match them: letter case ignored, runs of blanks collapsed; a line is
// split at its first ":=".
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorlane {

struct DataLine {
  std::size_t begin = 0;  // byte offset of the line
  std::size_t end = 0;    // end of its text, before the line end
  int number = 0;         // 1-based line number in the file
  bool split = false;     // the line holds ":="
  std::string key;        // UTF-8, blanks around it removed; empty when not split
  std::string value;      // UTF-8, blanks around it removed; the whole text when not split
};

struct DataEntry {
  std::size_t begin = 0;  // first byte of its first line
  std::size_t end = 0;    // past the line end of its last line (or the file's end)
  std::vector<DataLine> lines;
  std::string name;  // the value of its first "Name" line; empty without one

  // The first line whose key matches `key` as the game matches keys.
  const DataLine* Find(std::string_view key) const;
  int FirstLine() const { return lines.empty() ? 0 : lines.front().number; }
};

struct DataFileProblem {
  int line = 0;
  std::string text;
  std::string Text() const { return "line " + std::to_string(line) + ": " + text; }
};

struct DataFile {
  std::string bytes;        // the whole file
  bool utf8 = false;        // starts with a UTF-8 byte-order mark; else Windows-1252
  std::string lineEnd;      // the file's first line end, "\r\n" unless it uses "\n"
  std::size_t bodyBegin = 0;  // past the "*BEGIN*" line's line end
  std::size_t bodyEnd = 0;    // start of the "*END*" line; the file's end without one
  std::vector<DataEntry> entries;
  std::vector<DataFileProblem> problems;  // what was kept but could not be read

  // Text of the file's bytes as UTF-8.
  std::string ToUtf8(std::string_view bytesOfFile) const;
};

// The form in which the game matches keys: letter case folded, runs of
// blanks and tabs made one blank, none at either end.
std::string GameKey(std::string_view key);
// The form in which names are compared: blanks around them ignored, letter
// case folded.
std::string GameName(std::string_view name);

// A line the reader takes for a separator: nothing but blanks, tabs and
// carriage returns.
bool IsBlankLine(std::string_view line);

// Reads a data file's bytes. Gives nothing, with `error` naming the line,
// only when there is no "*BEGIN*" line; everything else that cannot be read
// is kept and listed in `problems`.
std::optional<DataFile> ParseDataFile(std::string bytes, std::string& error);
// The game's largest files hold a few MiB; a file past this is no data file,
// and only a regular file is read (a named pipe would never end).
inline constexpr std::uintmax_t kMaxDataFileBytes = std::uintmax_t{256} << 20;  // 256 MiB
inline constexpr std::string_view kDataFileTooLarge = "it is larger than 256 MiB, more than any game data file";
std::optional<DataFile> ReadDataFile(const std::filesystem::path& path, std::string& error);

// The entries of generated text (UTF-8, any line ends), read as a data file's
// body is read.
std::vector<DataEntry> ParseEntries(std::string_view text);

// A cheap fingerprint of file contents (size and a 64-bit hash), to notice a
// file that changed since it was read.
struct FileStamp {
  std::uint64_t size = 0;
  std::uint64_t hash = 0;
  bool operator==(const FileStamp&) const = default;
};
FileStamp StampOf(std::string_view bytes);

}  // namespace vorlane
