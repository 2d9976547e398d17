#include "generate/GameCheck.h"

#include <charconv>
#include <map>
#include <tuple>

#include "generate/EntryText.h"
#include "settings/PictureLookup.h"
#include "settings/SoundLookup.h"
#include "util/Platform.h"
#include "util/Windows1252.h"

namespace vorlane {

namespace {

constexpr std::int32_t kMaxAbilities = 20;
constexpr int kDamageRanges = 21;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// "Tech Area Req #" matches "Tech Area Req 12".
bool Matches(std::string_view pattern, std::string_view key) {
  std::size_t k = 0;
  for (char p : pattern) {
    if (p == '#') {
      const std::size_t start = k;
      while (k < key.size() && IsDigit(key[k])) ++k;
      if (k == start) return false;
    } else {
      if (k >= key.size() || key[k] != p) return false;
      ++k;
    }
  }
  return k == key.size();
}

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

// What is wrong with a whole-number value, or an empty text when nothing is;
// `level` tells how much it matters.
std::string WholeProblem(std::string_view value, const KeyRule& rule, CheckLevel& level) {
  const std::string_view text = TrimBlanks(value);
  std::string problem;
  level = CheckLevel::Error;
  std::size_t digits = text.starts_with('-') ? 1 : 0;
  bool plain = digits < text.size();
  for (std::size_t i = digits; i < text.size(); ++i) plain = plain && IsDigit(text[i]);
  if (plain) {
    std::int64_t number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size() || number < rule.min || number > rule.max) {
      problem = Quoted(text) + " is out of range (" + std::to_string(rule.min) + " to " + std::to_string(rule.max) + ")";
      if (rule.aboveMaxWarns && !text.starts_with('-')) level = CheckLevel::Warning;
    }
  } else if (WholeTextNumber(text) && text.find_first_of("eEdD") != std::string_view::npos) {
    problem = Quoted(text) + " is in exponent form; the game reads only plain digits";
  } else {
    problem = Quoted(text) + " is not a whole number in plain digits";
  }
  if (!problem.empty() && !rule.note.empty()) problem += "; " + std::string(rule.note);
  return problem;
}

std::string JoinWords(const std::vector<std::string_view>& words) {
  std::string joined;
  for (std::string_view w : words) joined += (joined.empty() ? "" : ", ") + std::string(w);
  return joined;
}

class Checker {
 public:
  Checker(const GameData& data, CheckReport& report) : data_(data), report_(report) {}

  void Line(std::string_view line) {
    cursor_.Next(line);
    if (line.empty()) return;
    report_.entries = cursor_.Entry();
    const EntryLine parts = SplitEntryLine(line);
    if (parts.key.empty()) {
      Add({}, Quoted(line) + " is no \"Key := value\" line (a line break inside a value?)");
      return;
    }
    if (parts.key == "Name") NoteName(parts.value);
    if (auto bad = FindUnencodable(parts.value)) {
      Add(parts.key, DescribeUnencodable(parts.value, *bad) + " cannot be written in Windows-1252");
    }
    if (const KeyRule* rule = FindKeyRule(parts.key)) Apply(*rule, parts.key, parts.value);
  }

 private:
  // The game keeps one of two entries of the same name, surrounding blanks
  // ignored.
  void NoteName(std::string_view value) {
    const std::string name(TrimBlanks(value));
    const auto [first, added] = names_.try_emplace(name, cursor_.Entry());
    if (added) return;
    Add("Name", Quoted(name) + " is the name of entry " + std::to_string(first->second) +
                    " too; the game keeps only one of them");
  }

  void Add(std::string_view key, std::string problem, CheckLevel level = CheckLevel::Error) {
    report_.findings.push_back({cursor_.Entry(), cursor_.EntryName(), std::string(key), std::move(problem), level});
  }

  void Apply(const KeyRule& rule, std::string_view key, std::string_view value) {
    if (TrimBlanks(value).empty()) {
      // The game reads a blank number as 0; anything else blank it refuses.
      const bool number = rule.kind == ValueKind::Whole || rule.kind == ValueKind::WholeList;
      if (rule.required && number) Add(key, "the value is empty; the game reads it as 0", CheckLevel::Warning);
      if (rule.required && !number) Add(key, "the value is empty");
      return;
    }
    switch (rule.kind) {
      case ValueKind::Text:
        break;
      case ValueKind::Whole: {
        CheckLevel level;
        if (std::string problem = WholeProblem(value, rule, level); !problem.empty()) Add(key, problem, level);
        break;
      }
      case ValueKind::WholeList: {
        int n = 0;
        std::string_view rest = value;
        while (!(rest = TrimBlanks(rest)).empty()) {
          const std::size_t end = rest.find_first_of(" \t");
          const std::string_view item = rest.substr(0, end);
          ++n;
          CheckLevel level;
          if (std::string problem = WholeProblem(item, rule, level); !problem.empty()) {
            Add(key, "number " + std::to_string(n) + ": " + problem, level);
          }
          rest.remove_prefix(item.size());
        }
        if (n != rule.count) {
          Add(key, "holds " + std::to_string(n) + " numbers; the game reads " + std::to_string(rule.count));
        }
        break;
      }
      case ValueKind::OneOf: {
        const std::string folded = FoldCase(TrimBlanks(value));
        bool known = false;
        for (std::string_view w : rule.words) known = known || FoldCase(w) == folded;
        if (!known) Add(key, Quoted(value) + " is not one of " + JoinWords(rule.words));
        break;
      }
      case ValueKind::TechArea:
      case ValueKind::AbilityType: {
        const GameNames* names =
            data_.Find(rule.kind == ValueKind::TechArea ? GameNameKind::TechArea : GameNameKind::AbilityType);
        if (names && names->Usable() && !names->Knows(TrimBlanks(value))) {
          Add(key, Quoted(value) + ": no such " + names->what + " in " + Utf8FromPath(names->file));
        }
        break;
      }
      case ValueKind::SoundName:
        if (IsFullPath(value)) {
          Add(key, Quoted(value) + " is a full path; the game looks the sound up by name in its Sounds folder");
        }
        break;
    }
  }

  const GameData& data_;
  CheckReport& report_;
  EntryCursor cursor_;
  std::map<std::string, int> names_;  // each name and its first entry
};

void AddNotes(const GameData& data, CheckReport& report) {
  if (data.lists.empty()) {
    report.notes.push_back("Technology areas and ability types not checked: no game directory is set.");
    return;
  }
  for (const GameNames& list : data.lists) {
    std::string what = list.what + "s";
    what[0] = static_cast<char>(what[0] - 'a' + 'A');
    if (list.file.empty()) {
      std::string files;
      for (const GameDataFile& file : GameDataFiles()) {
        if (file.kind != list.kind) continue;
        for (std::string_view name : file.fileNames) files += (files.empty() ? "" : " or ") + std::string(name);
      }
      report.notes.push_back(what + " not checked: no " + files +
                             " in the Data folder of the mod or the game directory.");
    } else if (!list.error.empty()) {
      report.notes.push_back(what + " not checked: " + Utf8FromPath(list.file) + " " + list.error + ".");
    } else {
      report.notes.push_back(what + " read from " + Utf8FromPath(list.file) + " (" + std::to_string(list.count) +
                             (list.count == 1 ? " name)." : " names)."));
      if (list.looksUtf8) {
        report.notes.push_back(Utf8FromPath(list.file) +
                               " looks like UTF-8; the game reads it as Windows-1252, and so does this check: a "
                               "name with letters beyond A to Z reads differently there.");
      }
    }
  }
}

}  // namespace

const std::vector<KeyRule>& GameKeyRules() {
  using K = ValueKind;
  static const std::vector<KeyRule> rules = {
      {.key = "Name", .kind = K::Text, .required = true},
      {.key = "Pic Num", .kind = K::Whole},
      {.key = "Tonnage Space Taken", .kind = K::Whole, .required = true},
      {.key = "Tonnage Structure", .kind = K::Whole},
      {.key = "Cost Minerals", .kind = K::Whole, .required = true, .aboveMaxWarns = true},
      {.key = "Cost Organics", .kind = K::Whole, .required = true, .aboveMaxWarns = true},
      {.key = "Cost Radioactives", .kind = K::Whole, .required = true, .aboveMaxWarns = true},
      {.key = "Vehicle List Type Override", .kind = K::Text, .required = true},
      {.key = "Supply Amount Used", .kind = K::Whole},
      {.key = "Restrictions",
       .kind = K::OneOf,
       .required = true,
       .words = {"None", "One Per Vehicle", "Two Per Vehicle", "Three Per Vehicle", "Four Per Vehicle",
                 "Five Per Vehicle", "Six Per Vehicle", "Seven Per Vehicle", "Eight Per Vehicle", "Nine Per Vehicle",
                 "Ten Per Vehicle"}},
      {.key = "Family", .kind = K::Whole},
      {.key = "Facility Family", .kind = K::Whole},
      {.key = "Roman Numeral", .kind = K::Whole},
      {.key = "Custom Group", .kind = K::Whole},
      {.key = "Number of Tech Req", .kind = K::Whole, .min = 0},
      {.key = "Tech Area Req #", .kind = K::TechArea, .required = true},
      {.key = "Tech Level Req #", .kind = K::Whole, .required = true},
      {.key = "Number of Abilities",
       .kind = K::Whole,
       .min = 0,
       .max = kMaxAbilities,
       .note = "the game reads only the first 20 abilities"},
      {.key = "Ability # Type", .kind = K::AbilityType, .required = true},
      {.key = "Ability # Val 1", .kind = K::Whole, .note = "the game reads it as 0"},
      {.key = "Ability # Val 2", .kind = K::Whole, .note = "the game reads it as 0"},
      {.key = "Weapon Type",
       .kind = K::OneOf,
       .required = true,
       .words = {"None", "Direct Fire", "Seeking", "Point-Defense", "Warhead"}},
      {.key = "Weapon Damage At Rng", .kind = K::WholeList, .required = true, .count = kDamageRanges},
      {.key = "Weapon Damage Type", .kind = K::Text, .required = true},
      {.key = "Weapon Reload Rate", .kind = K::Whole, .required = true},
      {.key = "Weapon Display Type", .kind = K::OneOf, .required = true, .words = {"Beam", "Torp", "Seeker"}},
      {.key = "Weapon Display", .kind = K::Whole},
      {.key = "Weapon Modifier", .kind = K::Whole},
      {.key = "Weapon Sound", .kind = K::SoundName},
      {.key = "Weapon Family", .kind = K::Whole},
      {.key = "Weapon Seeker Speed", .kind = K::Whole},
      {.key = "Weapon Seeker Dmg Res", .kind = K::Whole},
  };
  return rules;
}

const KeyRule* FindKeyRule(std::string_view key) {
  for (const KeyRule& rule : GameKeyRules()) {
    if (Matches(rule.key, key)) return &rule;
  }
  return nullptr;
}

CheckReport CheckEntries(std::string_view text, const GameData& data) {
  CheckReport report;
  Checker checker(data, report);
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (line.ends_with('\r')) line.remove_suffix(1);
    checker.Line(line);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  }
  AddNotes(data, report);
  return report;
}

std::string_view CheckLevelName(CheckLevel level) { return level == CheckLevel::Error ? "error" : "warning"; }

std::size_t CheckReport::Count(CheckLevel level) const {
  std::size_t n = 0;
  for (const CheckFinding& f : findings) n += f.level == level ? 1 : 0;
  return n;
}

std::string CheckReport::Text(std::size_t maxLines) const {
  // The same problem in the same key of several entries is one line; errors
  // come before warnings.
  struct Group {
    const CheckFinding* first;
    std::vector<int> entries;
  };
  std::vector<Group> groups;
  std::map<std::tuple<CheckLevel, std::string_view, std::string_view>, std::size_t> index;
  for (CheckLevel level : {CheckLevel::Error, CheckLevel::Warning}) {
    for (const CheckFinding& f : findings) {
      if (f.level != level) continue;
      auto [at, added] = index.try_emplace({f.level, f.key, f.problem}, groups.size());
      if (added) groups.push_back({&f, {}});
      groups[at->second].entries.push_back(f.entry);
    }
  }
  std::string text;
  for (std::size_t g = 0; g < groups.size(); ++g) {
    if (g == maxLines) {
      text += "... and " + std::to_string(groups.size() - maxLines) + " more.\n";
      break;
    }
    const Group& group = groups[g];
    text += std::string(CheckLevelName(group.first->level)) + ": ";
    if (group.entries.size() == 1) {
      text += "entry " + std::to_string(group.first->entry) + " \"" + group.first->entryName + "\"";
    } else {
      text += "entries ";
      const std::vector<int>& e = group.entries;
      for (std::size_t i = 0; i < e.size();) {
        std::size_t j = i;
        while (j + 1 < e.size() && e[j + 1] == e[j] + 1) ++j;
        if (j < i + 2) j = i;  // runs of three or more are written as ranges
        text += (i == 0 ? "" : ", ") + std::to_string(e[i]) + (j > i ? " to " + std::to_string(e[j]) : "");
        i = j + 1;
      }
    }
    if (!group.first->key.empty()) text += ", key \"" + group.first->key + "\"";
    text += ": " + group.first->problem + "\n";
  }
  if (!text.empty()) text += "\n";
  for (const std::string& note : notes) text += note + "\n";
  text += std::to_string(entries) + (entries == 1 ? " entry" : " entries") + " checked: ";
  if (Clean()) return text + "nothing the game would refuse or misread.";
  const std::size_t errors = Count(CheckLevel::Error), warnings = findings.size() - errors;
  auto counted = [](std::size_t n, const char* what) {
    return std::to_string(n) + " " + what + (n == 1 ? "" : "s");
  };
  if (errors > 0) text += counted(errors, "error");
  if (errors > 0 && warnings > 0) text += " and ";
  if (warnings > 0) text += counted(warnings, "warning");
  return text + " found.";
}

}  // namespace vorlane
