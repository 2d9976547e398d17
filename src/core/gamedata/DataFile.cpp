#include "gamedata/DataFile.h"

#include "util/FileText.h"
#include "util/Platform.h"
#include "util/Windows1252.h"

namespace vorlane {

namespace {

// A stray carriage return (one not before a line feed) counts as blank too.
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool EqualsNoCaseAscii(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
    if (x != y) return false;
  }
  return true;
}

// Walks the lines of a byte range: each line's start, the end of its text
// (before CR LF or LF) and the start of the next line.
class LineWalk {
 public:
  LineWalk(std::string_view bytes, std::size_t from, int firstNumber) : bytes_(bytes), next_(from), number_(firstNumber - 1) {}
  bool Next() {
    if (next_ >= bytes_.size()) return false;
    begin_ = next_;
    const std::size_t lf = bytes_.find('\n', begin_);
    if (lf == std::string_view::npos) {
      end_ = next_ = bytes_.size();
      ended_ = false;
    } else {
      end_ = lf > begin_ && bytes_[lf - 1] == '\r' ? lf - 1 : lf;
      next_ = lf + 1;
      ended_ = true;
    }
    ++number_;
    return true;
  }
  std::size_t Begin() const { return begin_; }
  std::size_t End() const { return end_; }
  std::size_t After() const { return next_; }
  bool Ended() const { return ended_; }
  int Number() const { return number_; }
  std::string_view Text() const { return bytes_.substr(begin_, end_ - begin_); }

 private:
  std::string_view bytes_;
  std::size_t next_;
  std::size_t begin_ = 0, end_ = 0;
  bool ended_ = false;
  int number_;
};

std::string AsUtf8(std::string_view text, bool utf8) { return utf8 ? std::string(text) : Windows1252ToUtf8(text); }

// Reads entries from `walk` until the "*END*" line (when `stopAtEnd`) or the
// end of the bytes. Gives the start of the "*END*" line, or npos.
std::size_t ReadBody(LineWalk& walk, bool utf8, bool stopAtEnd, std::vector<DataEntry>& entries,
                     std::vector<DataFileProblem>& problems) {
  bool open = false;
  auto close = [&] {
    if (!open) return;
    open = false;
    if (entries.back().name.empty() && !entries.back().Find("Name")) {
      problems.push_back({entries.back().FirstLine(), "entry without a \"Name\" line"});
    }
  };
  while (walk.Next()) {
    const std::string_view text = walk.Text();
    const std::string_view trimmed = Trim(text);
    if (stopAtEnd && EqualsNoCaseAscii(trimmed, "*END*")) {
      close();
      return walk.Begin();
    }
    if (trimmed.empty()) {
      close();
      continue;
    }
    if (!open) {
      entries.emplace_back();
      entries.back().begin = walk.Begin();
      open = true;
    }
    DataEntry& entry = entries.back();
    DataLine line;
    line.begin = walk.Begin();
    line.end = walk.End();
    line.number = walk.Number();
    const std::size_t sep = text.find(":=");
    if (sep == std::string_view::npos) {
      line.value = AsUtf8(trimmed, utf8);
      problems.push_back({line.number, "no \":=\" in \"" + line.value + "\"; the line is kept as it is"});
    } else {
      line.split = true;
      line.key = AsUtf8(Trim(text.substr(0, sep)), utf8);
      line.value = AsUtf8(Trim(text.substr(sep + 2)), utf8);
      if (entry.name.empty() && GameKey(line.key) == "name") entry.name = line.value;
    }
    entry.lines.push_back(std::move(line));
    entry.end = walk.After();
  }
  close();
  return std::string_view::npos;
}

}  // namespace

std::string GameKey(std::string_view key) {
  std::string collapsed;
  collapsed.reserve(key.size());
  for (char c : Trim(key)) {
    if (IsBlank(c)) {
      if (!collapsed.empty() && collapsed.back() == ' ') continue;
      c = ' ';
    }
    collapsed += c;
  }
  return FoldCase(collapsed);
}

std::string GameName(std::string_view name) { return FoldCase(Trim(name)); }

bool IsBlankLine(std::string_view line) { return Trim(line).empty(); }

const DataLine* DataEntry::Find(std::string_view key) const {
  const std::string wanted = GameKey(key);
  for (const DataLine& line : lines) {
    if (line.split && GameKey(line.key) == wanted) return &line;
  }
  return nullptr;
}

std::string DataFile::ToUtf8(std::string_view bytesOfFile) const { return AsUtf8(bytesOfFile, utf8); }

std::optional<DataFile> ParseDataFile(std::string bytes, std::string& error) {
  DataFile file;
  file.bytes = std::move(bytes);
  const std::string_view all = file.bytes;
  file.utf8 = all.starts_with("\xEF\xBB\xBF");
  const std::size_t lf = all.find('\n');
  file.lineEnd = lf != std::string_view::npos && lf > 0 && all[lf - 1] == '\r' ? "\r\n"
                 : lf != std::string_view::npos                             ? "\n"
                                                                            : "\r\n";
  LineWalk walk(all, file.utf8 ? 3 : 0, 1);
  bool begun = false;
  while (!begun && walk.Next()) begun = EqualsNoCaseAscii(Trim(walk.Text()), "*BEGIN*");
  if (!begun) {
    error = "no \"*BEGIN*\" line in " + std::to_string(walk.Number()) + " lines; this is no game data file";
    return std::nullopt;
  }
  file.bodyBegin = walk.After();
  const std::size_t end = ReadBody(walk, file.utf8, true, file.entries, file.problems);
  if (end == std::string_view::npos) {
    file.bodyEnd = all.size();
    file.problems.push_back({walk.Number() + 1, "no \"*END*\" line; the entries run to the end of the file"});
  } else {
    file.bodyEnd = end;
  }
  return file;
}

std::optional<DataFile> ReadDataFile(const std::filesystem::path& path, std::string& error) {
  std::string text;
  if (!ReadWholeFile(path, kMaxDataFileBytes, kDataFileTooLarge, text, error)) return std::nullopt;
  std::string reason;
  auto file = ParseDataFile(std::move(text), reason);
  if (!file) error = "\"" + Utf8FromPath(path) + "\": " + reason;
  return file;
}

std::vector<DataEntry> ParseEntries(std::string_view text) {
  std::vector<DataEntry> entries;
  std::vector<DataFileProblem> ignored;
  LineWalk walk(text, 0, 1);
  ReadBody(walk, true, false, entries, ignored);
  return entries;
}

FileStamp StampOf(std::string_view bytes) {
  std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
  for (char c : bytes) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ull;
  }
  return {bytes.size(), hash};
}

}  // namespace vorlane
