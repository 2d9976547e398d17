#include "generate/EntryText.h"

#include "util/Windows1252.h"

namespace vorlane {

namespace {

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

}  // namespace

bool ParseTextEncoding(std::string_view name, TextEncoding& encoding) {
  const std::string folded = FoldCase(name);
  if (folded == "windows-1252" || folded == "cp1252") {
    encoding = TextEncoding::Windows1252;
  } else if (folded == "utf-8" || folded == "utf8") {
    encoding = TextEncoding::Utf8;
  } else {
    return false;
  }
  return true;
}

EntryLine SplitEntryLine(std::string_view line) {
  const std::size_t sep = line.find(":=");
  if (sep == std::string_view::npos) return {{}, line};
  std::string_view value = line.substr(sep + 2);
  if (value.starts_with(' ')) value.remove_prefix(1);
  return {TrimBlanks(line.substr(0, sep)), value};
}

void EntryCursor::Next(std::string_view line) {
  const EntryLine parts = SplitEntryLine(line);
  key_ = std::string(parts.key);
  if (key_ == "Name") {
    ++entry_;
    name_ = std::string(parts.value);
  }
}

std::string EntryCursor::Where() const {
  std::string where = entry_ == 0 ? std::string("before the first entry")
                                  : "entry " + std::to_string(entry_) + " \"" + name_ + "\"";
  if (!key_.empty()) where += ", key \"" + key_ + "\"";
  return where;
}

bool AppendEncodedLine(std::string_view line, TextEncoding encoding, const EntryCursor& where, std::string& out,
                       std::string& error) {
  if (encoding == TextEncoding::Utf8) {
    out.append(line);
    return true;
  }
  const std::size_t before = out.size();
  if (auto bad = AppendWindows1252(line, out)) {
    out.resize(before);
    error = where.Where() + ": " + DescribeUnencodable(line, *bad) + " cannot be written in Windows-1252";
    return false;
  }
  return true;
}

bool EncodeEntries(std::string_view text, TextEncoding encoding, std::string& out, std::string& error) {
  EntryCursor cursor;
  out.reserve(out.size() + text.size());
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (line.ends_with('\r')) line.remove_suffix(1);
    cursor.Next(line);
    if (!AppendEncodedLine(line, encoding, cursor, out, error)) return false;
    if (end == std::string_view::npos) break;
    out.append(text.substr(line.size(), end + 1 - line.size()));
    text.remove_prefix(end + 1);
  }
  return true;
}

}  // namespace vorlane
