#include "gamedata/Families.h"

#include <algorithm>
#include <map>
#include <set>
#include <unordered_map>

#include "util/Numbers.h"
#include "util/Platform.h"
#include "util/Windows1252.h"

namespace vorlane {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

std::string_view TrimmedName(std::string_view name) {
  while (!name.empty() && (name.front() == ' ' || name.front() == '\t')) name.remove_prefix(1);
  while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) name.remove_suffix(1);
  return name;
}

struct Shaped {
  std::size_t entry;
  std::string_view name;  // trimmed
  std::vector<NameToken> tokens;
};

// The name with its tokens replaced by markers: names with the same key
// differ at most in their numbers, and have the same count of tokens. Marker
// bytes that stand in the name itself are escaped, so that "Miner \x01-2"
// never shares a key with "Miner 4-1".
std::string KeyOf(std::string_view name, const std::vector<NameToken>& tokens) {
  std::string key;
  const auto appendText = [&key](std::string_view text) {
    for (char c : text) {
      if (c == '\x01' || c == '\x02' || c == '\x03') key += '\x03';
      key += c;
    }
  };
  std::size_t at = 0;
  for (const NameToken& token : tokens) {
    appendText(name.substr(at, token.pos - at));
    key += token.roman ? '\x02' : '\x01';
    at = token.pos + token.length;
  }
  appendText(name.substr(at));
  return key;
}

Family MakeFamily(const DataFile& file, const std::vector<const Shaped*>& members, const std::vector<std::size_t>& varying,
                  bool grid) {
  Family family;
  family.grid = grid;
  const Shaped& first = *members.front();
  std::size_t at = 0;
  for (std::size_t t : varying) {
    const NameToken& token = first.tokens[t];
    family.texts.emplace_back(first.name.substr(at, token.pos - at));
    family.romanTokens.push_back(token.roman);
    at = token.pos + token.length;
  }
  family.texts.emplace_back(first.name.substr(at));
  for (const Shaped* member : members) {
    family.members.push_back(member->entry);
    std::vector<std::string> texts;
    for (std::size_t t : varying) texts.emplace_back(member->name.substr(member->tokens[t].pos, member->tokens[t].length));
    family.tokens.push_back(std::move(texts));
  }
  const DataEntry& entry = file.entries[first.entry];
  family.facility = entry.Find("Facility Group") != nullptr || entry.Find("Facility Family") != nullptr;
  if (members.size() == 1) {
    family.label = std::string(first.name);
    return family;
  }
  for (std::size_t k = 0; k < varying.size(); ++k) {
    family.label += family.texts[k];
    std::set<int> values;
    for (const Shaped* member : members) values.insert(member->tokens[varying[k]].value);
    if (grid) family.gridSizes.push_back(static_cast<int>(values.size()));
    const auto text = [&](int value) {
      for (const Shaped* member : members) {
        const NameToken& token = member->tokens[varying[k]];
        if (token.value == value) return std::string(member->name.substr(token.pos, token.length));
      }
      return std::string();
    };
    family.label += text(*values.begin()) + ".." + text(*values.rbegin());
  }
  family.label += family.texts.back();
  return family;
}

// Members that differ in one token: one family in the token's order; a
// second entry of the same name stands on its own.
void AddPlain(const DataFile& file, std::vector<const Shaped*> members, std::size_t token, std::vector<Family>& out) {
  std::stable_sort(members.begin(), members.end(), [&](const Shaped* a, const Shaped* b) {
    return a->tokens[token].value < b->tokens[token].value;
  });
  std::vector<const Shaped*> levels;
  for (const Shaped* member : members) {
    if (!levels.empty() && levels.back()->tokens[token].value == member->tokens[token].value) {
      out.push_back(MakeFamily(file, {member}, {}, false));
    } else {
      levels.push_back(member);
    }
  }
  out.push_back(levels.size() == 1 ? MakeFamily(file, levels, {}, false) : MakeFamily(file, levels, {token}, false));
}

void AddGroup(const DataFile& file, const std::vector<const Shaped*>& members, std::vector<Family>& out) {
  if (members.size() == 1) {
    out.push_back(MakeFamily(file, members, {}, false));
    return;
  }
  std::vector<std::size_t> varying;
  for (std::size_t t = 0; t < members.front()->tokens.size(); ++t) {
    for (const Shaped* member : members) {
      if (member->tokens[t].value != members.front()->tokens[t].value) {
        varying.push_back(t);
        break;
      }
    }
  }
  if (varying.empty()) {
    for (const Shaped* member : members) out.push_back(MakeFamily(file, {member}, {}, false));
    return;
  }
  if (varying.size() == 1) {
    AddPlain(file, members, varying.front(), out);
    return;
  }
  // A grid when every combination of the varying numbers is there once and
  // every entry has a technology requirement for each of them: "Works 12 3"
  // with one requirement is level 3 of the family "Works 12".
  bool requirements = true;
  for (const Shaped* member : members) {
    const DataLine* count = file.entries[member->entry].Find("Number of Tech Req");
    requirements = requirements && count && LeadingNumber(count->value) >= static_cast<double>(varying.size());
  }
  std::size_t cells = requirements ? 1 : members.size() + 1;
  for (std::size_t t : varying) {
    std::set<int> values;
    for (const Shaped* member : members) values.insert(member->tokens[t].value);
    cells *= values.size();
    if (cells > members.size()) break;
  }
  const auto tuple = [&](const Shaped* member, std::size_t count) {
    std::vector<int> values;
    for (std::size_t k = 0; k < count; ++k) values.push_back(member->tokens[varying[k]].value);
    return values;
  };
  std::set<std::vector<int>> seen;
  for (const Shaped* member : members) seen.insert(tuple(member, varying.size()));
  if (cells == members.size() && seen.size() == members.size()) {
    std::vector<const Shaped*> sorted = members;
    std::sort(sorted.begin(), sorted.end(), [&](const Shaped* a, const Shaped* b) {
      return tuple(a, varying.size()) < tuple(b, varying.size());
    });
    out.push_back(MakeFamily(file, sorted, varying, true));
    return;
  }
  // Otherwise plain families along the last varying number.
  std::map<std::vector<int>, std::vector<const Shaped*>> rows;
  for (const Shaped* member : members) rows[tuple(member, varying.size() - 1)].push_back(member);
  for (auto& [key, row] : rows) {
    if (row.size() == 1) {
      out.push_back(MakeFamily(file, row, {}, false));
    } else {
      AddPlain(file, row, varying.back(), out);
    }
  }
}

}  // namespace

std::vector<NameToken> NameTokens(std::string_view name) {
  std::vector<NameToken> tokens;
  std::size_t i = 0;
  while (i < name.size()) {
    std::size_t j = i;
    if (IsDigit(name[i])) {
      while (j < name.size() && IsDigit(name[j])) ++j;
      // Numbers too long for a level are part of the name.
      if (j - i <= 9) tokens.push_back({i, j - i, false, static_cast<int>(LeadingNumber(name.substr(i, j - i)))});
    } else if (IsLetter(name[i])) {
      while (j < name.size() && IsLetter(name[j])) ++j;
      if (auto value = RomanValue(name.substr(i, j - i))) tokens.push_back({i, j - i, true, *value});
    } else {
      ++j;
    }
    i = j;
  }
  return tokens;
}

std::vector<Family> FindFamilies(const DataFile& file, bool facilities) {
  std::vector<Shaped> shaped;
  shaped.reserve(file.entries.size());
  for (std::size_t e = 0; e < file.entries.size(); ++e) {
    const std::string_view name = TrimmedName(file.entries[e].name);
    shaped.push_back({e, name, NameTokens(name)});
  }
  std::unordered_map<std::string, std::size_t> groupOf;
  std::vector<std::vector<const Shaped*>> groups;
  for (const Shaped& s : shaped) {
    auto [it, added] = groupOf.try_emplace(KeyOf(s.name, s.tokens), groups.size());
    if (added) groups.emplace_back();
    groups[it->second].push_back(&s);
  }
  std::vector<Family> families;
  for (const auto& group : groups) AddGroup(file, group, families);
  std::stable_sort(families.begin(), families.end(), [](const Family& a, const Family& b) {
    return *std::min_element(a.members.begin(), a.members.end()) < *std::min_element(b.members.begin(), b.members.end());
  });
  if (facilities) {
    for (Family& family : families) family.facility = true;
  }
  return families;
}

bool IsFacilityFile(const std::filesystem::path& path) {
  return FoldCase(Utf8FromPath(path.filename())).starts_with("facilit");
}

int FamilyOfName(const DataFile& file, const std::vector<Family>& families, std::string_view name) {
  const std::string wanted = GameName(name);
  for (std::size_t f = 0; f < families.size(); ++f) {
    for (std::size_t e : families[f].members) {
      if (GameName(file.entries[e].name) == wanted) return static_cast<int>(f);
    }
  }
  return -1;
}

}  // namespace vorlane
