#include "generate/EntryDiff.h"

#include <algorithm>
#include <cstddef>
#include <unordered_map>

#include "generate/EntryText.h"

namespace vorlane {

namespace {

struct Line {
  std::string_view key;
  std::string_view value;
};

struct Entry {
  std::string name;
  std::vector<Line> lines;
};

// The entries of `text`; index 0 holds the lines before the first "Name".
std::vector<Entry> ReadEntries(std::string_view text) {
  std::vector<Entry> entries(1);
  EntryCursor cursor;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (line.find_first_not_of(' ') == std::string_view::npos) continue;
    cursor.Next(line);
    if (static_cast<std::size_t>(cursor.Entry()) >= entries.size()) entries.push_back({cursor.EntryName(), {}});
    const EntryLine parts = SplitEntryLine(line);
    entries.back().lines.push_back({parts.key, parts.value});
  }
  return entries;
}

// Each key's values in order, and the keys in the order they first appear.
struct KeyValues {
  std::vector<std::string_view> keys;
  std::unordered_map<std::string_view, std::vector<std::string_view>> values;
  void Add(const std::vector<Line>& lines) {
    for (const Line& line : lines) {
      auto& list = values[line.key];
      if (list.empty()) keys.push_back(line.key);
      list.push_back(line.value);
    }
  }
};

void DiffEntry(int number, const Entry& before, const Entry& after, std::vector<EntryChange>& changes) {
  KeyValues oldSide, newSide, both;
  oldSide.Add(before.lines);
  newSide.Add(after.lines);
  both.Add(before.lines);
  both.Add(after.lines);
  static const std::vector<std::string_view> kNone;
  for (std::string_view key : both.keys) {
    const auto oldIt = oldSide.values.find(key), newIt = newSide.values.find(key);
    const auto& oldValues = oldIt == oldSide.values.end() ? kNone : oldIt->second;
    const auto& newValues = newIt == newSide.values.end() ? kNone : newIt->second;
    for (std::size_t i = 0; i < std::max(oldValues.size(), newValues.size()); ++i) {
      const bool inOld = i < oldValues.size(), inNew = i < newValues.size();
      if (inOld && inNew && oldValues[i] == newValues[i]) continue;
      changes.push_back({EntryChange::Kind::Changed, number, before.name, after.name, std::string(key),
                         inOld ? std::string(oldValues[i]) : std::string(),
                         inNew ? std::string(newValues[i]) : std::string()});
    }
  }
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

}  // namespace

std::string EntryChange::Text() const {
  std::string text = entry == 0 ? std::string("before the first entry") : "entry " + std::to_string(entry) + " ";
  if (entry != 0) {
    if (kind == Kind::Added) return text + Quoted(newName) + ": added";
    if (kind == Kind::Removed) return text + Quoted(oldName) + ": removed";
    text += Quoted(oldName);
    if (newName != oldName) text += " -> " + Quoted(newName);
  }
  return text + ", key " + Quoted(key) + ": " + Quoted(oldValue) + " -> " + Quoted(newValue);
}

std::vector<EntryChange> DiffEntries(std::string_view oldText, std::string_view newText) {
  const std::vector<Entry> before = ReadEntries(oldText);
  const std::vector<Entry> after = ReadEntries(newText);
  std::vector<EntryChange> changes;
  const std::size_t common = std::min(before.size(), after.size());
  for (std::size_t i = 0; i < common; ++i) DiffEntry(static_cast<int>(i), before[i], after[i], changes);
  for (std::size_t i = common; i < before.size(); ++i)
    changes.push_back({EntryChange::Kind::Removed, static_cast<int>(i), before[i].name, {}, {}, {}, {}});
  for (std::size_t i = common; i < after.size(); ++i)
    changes.push_back({EntryChange::Kind::Added, static_cast<int>(i), {}, after[i].name, {}, {}, {}});
  return changes;
}

}  // namespace vorlane
