#include "gamedata/Apply.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <set>
#include <unordered_map>

#include "generate/EntryText.h"
#include "util/FileText.h"
#include "util/Platform.h"
#include "util/Windows1252.h"

namespace vorlane {

namespace {

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

struct Edit {
  std::size_t begin, end;  // bytes of the old file replaced
  std::string text;
  std::size_t order;       // among edits at the same place
};

// The lines of an entry of UTF-8 text in the file's encoding and line ends,
// each line followed by a line end.
bool EncodeLines(std::string_view text, const DataEntry& entry, const DataFile& file, std::string& out,
                 std::string& error) {
  EntryCursor cursor;
  for (const DataLine& line : entry.lines) {
    const std::string_view raw = text.substr(line.begin, line.end - line.begin);
    cursor.Next(raw);
    if (!AppendEncodedLine(raw, file.utf8 ? TextEncoding::Utf8 : TextEncoding::Windows1252, cursor, out, error)) {
      return false;
    }
    out += file.lineEnd;
  }
  return true;
}

// Where blank lines after an entry end: the start of the next line that is
// not blank, within the body.
std::size_t PastBlankLines(const DataFile& file, std::size_t at) {
  const std::string_view bytes = file.bytes;
  while (at < file.bodyEnd) {
    const std::size_t lf = bytes.find('\n', at);
    const std::size_t end = lf == std::string_view::npos ? bytes.size() : lf;
    if (!IsBlankLine(bytes.substr(at, end - at))) break;
    at = lf == std::string_view::npos ? bytes.size() : lf + 1;
  }
  return std::min(at, file.bodyEnd);
}

// The UTF-8 text of an entry of the file, one line each, for the diff.
std::string EntryText(const DataFile& file, const DataEntry& entry) {
  std::string text;
  for (const DataLine& line : entry.lines) {
    text += file.ToUtf8(std::string_view(file.bytes).substr(line.begin, line.end - line.begin));
    text += "\r\n";
  }
  return text;
}

std::string Lines(std::string_view text, const DataEntry& entry) {
  std::string out;
  for (const DataLine& line : entry.lines) {
    out.append(text.substr(line.begin, line.end - line.begin));
    out += "\r\n";
  }
  return out;
}

}  // namespace

std::string ApplyChange::Text() const {
  const std::string where = line > 0 ? " (line " + std::to_string(line) + ")" : std::string();
  switch (kind) {
    case Kind::Added:
      return "added " + Quoted(name);
    case Kind::Removed:
      return "removed " + Quoted(name) + where;
    case Kind::Replaced:
      break;
  }
  std::string text = "replaced " + Quoted(name) + where;
  for (const EntryChange& key : keys) {
    text += "\n  key " + Quoted(key.key) + ": " + Quoted(key.oldValue) + " -> " + Quoted(key.newValue);
  }
  return text;
}

std::string ApplyConflict::Text() const {
  if (!owner.empty()) return Quoted(name) + ": " + design + " and " + owner + " both write this name";
  return Quoted(name) + ": the entry at line " + std::to_string(line) + " holds this name and " + design +
         " did not write it";
}

std::string ApplyPlan::Text() const {
  std::string text;
  for (const ApplyChange& change : changes) text += change.Text() + "\n";
  for (const ApplyConflict& conflict : conflicts) text += "refused: " + conflict.Text() + "\n";
  for (const std::string& name : duplicates) text += "duplicate name: " + Quoted(name) + "\n";
  if (!error.empty()) text += "refused: " + error + "\n";
  return text;
}

ApplyPlan PlanApply(const DataFile& file, const std::vector<ApplySource>& sources, bool replaceOthers) {
  ApplyPlan plan;
  plan.before = StampOf(file.bytes);
  std::unordered_map<std::string, std::vector<std::size_t>> byName;
  for (std::size_t e = 0; e < file.entries.size(); ++e) byName[GameName(file.entries[e].name)].push_back(e);
  std::set<std::size_t> taken;                 // file entries replaced or removed
  std::map<std::string, std::string> claimed;  // generated names -> the source writing them
  std::vector<Edit> edits;
  const auto edit = [&](std::size_t begin, std::size_t end, std::string text) {
    edits.push_back({begin, end, std::move(text), edits.size()});
  };
  for (const ApplySource& source : sources) {
    const std::vector<DataEntry> made = ParseEntries(source.entries);
    std::set<std::string> last;
    for (const std::string& name : source.lastWritten) last.insert(GameName(name));
    std::vector<std::string> written;
    std::set<std::string> makes;
    std::size_t insertAt = std::string::npos;      // after the family's last replaced entry
    std::size_t insertBefore = std::string::npos;  // else in place of its first removed entry
    std::vector<const DataEntry*> added;
    for (const DataEntry& entry : made) {
      const std::string key = GameName(entry.name);
      makes.insert(key);
      if (auto other = claimed.find(key); other != claimed.end()) {
        plan.conflicts.push_back({entry.name, 0, source.label, other->second});
        continue;
      }
      claimed.emplace(key, source.label);
      std::string text;
      if (!EncodeLines(source.entries, entry, file, text, plan.error)) return plan;
      written.push_back(entry.name);
      const auto found = byName.find(key);
      const std::vector<std::size_t> none;
      const auto& holders = found == byName.end() ? none : found->second;
      auto holder = std::find_if(holders.begin(), holders.end(), [&](std::size_t e) { return !taken.contains(e); });
      if (holder == holders.end()) {
        added.push_back(&entry);
        continue;
      }
      const DataEntry& old = file.entries[*holder];
      if (!last.contains(key) && !replaceOthers) {
        plan.conflicts.push_back({entry.name, old.FirstLine(), source.label, {}});
        continue;
      }
      taken.insert(*holder);
      insertAt = insertAt == std::string::npos ? old.end : std::max(insertAt, old.end);
      // An entry that ended the file without a line end keeps it that way.
      if (old.end == file.bytes.size() && !file.bytes.ends_with('\n')) text.resize(text.size() - file.lineEnd.size());
      if (std::string_view(file.bytes).substr(old.begin, old.end - old.begin) == text) continue;
      auto keys = DiffEntries(EntryText(file, old), Lines(source.entries, entry));
      plan.changes.push_back({ApplyChange::Kind::Replaced, entry.name, source.label, old.FirstLine(), std::move(keys)});
      edit(old.begin, old.end, std::move(text));
    }
    // Levels this design wrote last time and makes no more.
    for (const std::string& name : source.lastWritten) {
      const std::string key = GameName(name);
      if (makes.contains(key) || claimed.contains(key)) continue;
      const auto found = byName.find(key);
      if (found == byName.end()) continue;
      for (std::size_t e : found->second) {
        if (taken.contains(e)) continue;
        taken.insert(e);
        const DataEntry& old = file.entries[e];
        insertBefore = std::min(insertBefore, old.begin);
        plan.changes.push_back({ApplyChange::Kind::Removed, old.name, source.label, old.FirstLine(), {}});
        edit(old.begin, PastBlankLines(file, old.end), {});
        break;
      }
    }
    if (!added.empty()) {
      std::string text;
      std::size_t at = insertAt;
      if (at != std::string::npos) {
        if (!std::string_view(file.bytes).substr(0, at).ends_with('\n')) text += file.lineEnd;
        for (const DataEntry* entry : added) {
          text += file.lineEnd;
          if (!EncodeLines(source.entries, *entry, file, text, plan.error)) return plan;
        }
      } else if (insertBefore != std::string::npos) {
        at = insertBefore;
        for (const DataEntry* entry : added) {
          if (!EncodeLines(source.entries, *entry, file, text, plan.error)) return plan;
          text += file.lineEnd;
        }
      } else {
        // A new family: at the end of the body, after a blank line.
        at = file.bodyEnd;
        const std::string_view before = std::string_view(file.bytes).substr(0, at);
        if (!before.ends_with('\n')) text += file.lineEnd;
        const std::size_t lineStart = before.substr(0, before.size() - (before.ends_with('\n') ? 1 : 0)).rfind('\n');
        const std::string_view lastLine = before.substr(lineStart == std::string_view::npos ? 0 : lineStart + 1);
        if (at > file.bodyBegin && !IsBlankLine(lastLine.substr(0, lastLine.find('\n')))) text += file.lineEnd;
        for (const DataEntry* entry : added) {
          if (!EncodeLines(source.entries, *entry, file, text, plan.error)) return plan;
          text += file.lineEnd;
        }
      }
      for (const DataEntry* entry : added) plan.changes.push_back({ApplyChange::Kind::Added, entry->name, source.label, 0, {}});
      edit(at, at, std::move(text));
    }
    plan.written.push_back(std::move(written));
    plan.appliedText += source.entries;
  }
  if (!plan.Ready()) return plan;
  std::stable_sort(edits.begin(), edits.end(), [](const Edit& a, const Edit& b) {
    return a.begin != b.begin ? a.begin < b.begin : a.end != b.end ? a.end < b.end : a.order < b.order;
  });
  plan.bytes.reserve(file.bytes.size() + 1024);
  std::size_t at = 0;
  for (const Edit& e : edits) {
    if (e.begin > at) plan.bytes.append(file.bytes, at, e.begin - at);
    plan.bytes += e.text;
    at = std::max(at, e.end);
  }
  plan.bytes.append(file.bytes, at);
  // Names that more than one entry of the result holds.
  std::string ignored;
  if (auto result = ParseDataFile(plan.bytes, ignored)) {
    std::unordered_map<std::string, int> counts;
    for (const DataEntry& entry : result->entries) {
      if (++counts[GameName(entry.name)] == 2 && !entry.name.empty()) plan.duplicates.push_back(entry.name);
    }
  }
  return plan;
}

CheckReport CheckApplied(const ApplyPlan& plan, const GameData& data) {
  CheckReport report = CheckEntries(plan.appliedText, data);
  for (const std::string& name : plan.duplicates) {
    report.findings.push_back({0, name, "Name", "more than one entry of the file has this name"});
  }
  return report;
}

bool WriteAppliedFile(const std::filesystem::path& path, const ApplyPlan& plan, std::string& error,
                      const WriteBytes& write) {
  const std::string shown = "\"" + Utf8FromPath(path) + "\"";
  if (!plan.Ready()) {
    error = "the apply was refused; " + shown + " is unchanged";
    return false;
  }
  {
    std::string now, unread;
    if (!ReadWholeFile(path, kMaxDataFileBytes, kDataFileTooLarge, now, unread) || StampOf(now) != plan.before) {
      error = shown + " changed on disk since it was read; nothing was written";
      return false;
    }
  }
  std::filesystem::path temporary;
  std::FILE* file = CreateFileBeside(path, temporary);
  if (!file) {
    error = "cannot create a file beside " + shown + ": " + std::strerror(errno);
    return false;
  }
  bool ok = write ? write(file, plan.bytes)
                  : std::fwrite(plan.bytes.data(), 1, plan.bytes.size(), file) == plan.bytes.size();
  ok = std::fflush(file) == 0 && ok;
  ok = std::fclose(file) == 0 && ok;
  std::error_code ec;
  if (!ok) {
    std::filesystem::remove(temporary, ec);
    error = "cannot write beside " + shown + " (is the disk full?); the file is unchanged";
    return false;
  }
  std::filesystem::path backup = path;
  backup += ".bak";
  // The old backup goes first: overwriting through copy_file fails on Windows
  // (with this compiler's library every existing file looks like the source).
  std::filesystem::remove(backup, ec);
  if (!ec) std::filesystem::copy_file(path, backup, ec);
  if (!ec) MoveFileOver(temporary, path, ec);
  if (ec) {
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    error = "cannot replace " + shown + ": " + ec.message() + "; the file is unchanged";
    return false;
  }
  return true;
}

std::string DataFileKey(const std::filesystem::path& path) {
  std::error_code ec;
  std::filesystem::path full = std::filesystem::weakly_canonical(path, ec);
  if (ec) full = std::filesystem::absolute(path, ec);
  return Utf8FromPath(full);
}

std::vector<std::string> WrittenNames(const std::vector<WrittenEntries>& written, std::string_view fileKey) {
  const std::string key = FoldCase(fileKey);
  for (const WrittenEntries& entries : written) {
    if (FoldCase(entries.file) == key) return entries.names;
  }
  return {};
}

void SetWrittenNames(std::vector<WrittenEntries>& written, const std::string& fileKey, std::vector<std::string> names) {
  const std::string key = FoldCase(fileKey);
  for (WrittenEntries& entries : written) {
    if (FoldCase(entries.file) == key) {
      entries.names = std::move(names);
      return;
    }
  }
  written.push_back({fileKey, std::move(names)});
}

}  // namespace vorlane
