// The generation module's entry layout pieces and its two drivers: one entry
// per level, or one entry per grid cell in odometer order.
#include <algorithm>
#include <charconv>
#include <cmath>

#include "generate/GenerationModule.h"
#include "util/Numbers.h"

namespace vorlane {

namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kErrorTitle = "Error";
constexpr std::size_t kKeyWidth = 42;

// A text as the user wrote it, for messages: literal ampersands shown as "&".
std::string Shown(std::string text) {
  std::replace(text.begin(), text.end(), GenerationModule::kLiteralAmpersand, '&');
  return text;
}

// After the first of `total` entries: room for all of them at about its size,
// so the text is not copied again and again as it grows (at most 256 MB).
void ReserveForEntries(std::string& entries, int total) {
  const double estimate = static_cast<double>(entries.size()) * total * 1.125;
  entries.reserve(static_cast<std::size_t>(std::min(estimate, 268435456.0)));
}

}  // namespace

void GenerationModule::AppendLine(std::string& out, std::string_view key, std::string_view value) {
  // The blanks that fill the key to its width and the separator, in one piece.
  static constexpr std::string_view kFill = "                                          := ";
  static_assert(kFill.size() == kKeyWidth + 3);
  out += key;
  out += kFill.substr(std::min(key.size(), kKeyWidth));
  const std::size_t start = out.size();
  out += value;
  if (value.find(kLiteralAmpersand) != std::string_view::npos) {
    std::replace(out.begin() + static_cast<std::ptrdiff_t>(start), out.end(), kLiteralAmpersand, '&');
  }
  out += kCrLf;
}

std::string GenerationModule::NameWithSuffix(bool grid) const {
  std::string name = slots_[1].text;
  if (grid) {
    name += ' ';
    for (std::size_t n = 1; n < tech_.size(); ++n) name += tech_[n].numberStyle.text;
  } else if (!slots_[2].text.empty()) {
    name += ' ';
    name += slots_[2].text;
  }
  return name;
}

std::string GenerationModule::GridRomanNumeral() const {
  long numeral = 1;
  for (std::size_t n = 1; n < gridPos_.size(); ++n) numeral += gridPos_[n] - 1;
  return std::to_string(numeral);
}

namespace {

// Keys such as "Ability 12 Descr", put together in a buffer on the stack.
struct NumberedKey {
  NumberedKey(std::string_view prefix, std::size_t n, std::string_view suffix) {
    char* at = std::copy(prefix.begin(), prefix.end(), buffer);
    at = std::to_chars(at, buffer + sizeof buffer, n).ptr;
    at = std::copy(suffix.begin(), suffix.end(), at);
    size = static_cast<std::size_t>(at - buffer);
  }
  operator std::string_view() const { return {buffer, size}; }
  char buffer[64];  // the longest prefix and suffix with 20 digits fit
  std::size_t size;
};

}  // namespace

void GenerationModule::AppendTechLines(std::string& out, std::size_t n) const {
  AppendLine(out, NumberedKey("Tech Area Req ", n, ""), tech_[n].area.text);
  AppendLine(out, NumberedKey("Tech Level Req ", n, ""), tech_[n].level.text);
}

void GenerationModule::AppendAbilityLines(std::string& out, std::size_t n) const {
  AppendLine(out, NumberedKey("Ability ", n, " Type"), abil_[n].type.text);
  AppendLine(out, NumberedKey("Ability ", n, " Descr"), abil_[n].descr.text);
  AppendLine(out, NumberedKey("Ability ", n, " Val 1"), abil_[n].val1.text);
  AppendLine(out, NumberedKey("Ability ", n, " Val 2"), abil_[n].val2.text);
}

void GenerationModule::AppendRequirementAndAbilityLines(std::string& out) const {
  // A kept entry has its lines made already (KeepListLines).
  if (keep_) {
    // With room for the lines after them, so that the text is not copied again.
    out.reserve(out.size() + kept_.lines.size() + 65536);
    out += kept_.lines;
    return;
  }
  // The lines at their key width and more, in one allocation.
  std::size_t bytes = 0;
  for (std::size_t n = 1; n < tech_.size(); ++n) {
    bytes += 2 * (kKeyWidth + 5) + tech_[n].area.text.size() + tech_[n].level.text.size();
  }
  for (std::size_t n = 1; n < abil_.size(); ++n) {
    bytes += 4 * (kKeyWidth + 5) + abil_[n].type.text.size() + abil_[n].descr.text.size() + abil_[n].val1.text.size() +
             abil_[n].val2.text.size();
  }
  out.reserve(out.size() + bytes + 2 * (kKeyWidth + 5));
  AppendLine(out, "Number of Tech Req", std::to_string(shape_.numTechReqs));
  for (std::size_t n = 1; n < tech_.size(); ++n) AppendTechLines(out, n);
  AppendLine(out, "Number of Abilities", std::to_string(shape_.numAbils));
  for (std::size_t n = 1; n < abil_.size(); ++n) AppendAbilityLines(out, n);
}

// ---------------------------------------------------------------------------
// Drivers

bool GenerationModule::Report(int position, int maximum, const ProgressCallback& progress) const {
  if (!progress) return true;
  double percent = maximum > 0 ? static_cast<double>(position) / maximum * 100 : 0;
  std::string text = std::to_string(RoundToInt32(percent).value_or(0)) + "% generated";
  return progress(position, maximum, text);
}

GenerationResult GenerationModule::Finish(GenerationStatus status, std::string text, int entries) const {
  GenerationResult result;
  result.status = status;
  result.entries = entries;
  result.resultKind = std::string(words_.nounTitle);
  if (status == GenerationStatus::Generated) {
    result.text = std::move(text);
    result.windowTitle = std::string(words_.nounTitle) + " Generation Results - [" + Shown(slots_[1].text) + "]";
  } else if (status == GenerationStatus::Failed) {
    result.fault = fault_;
  }
  result.warnings = warnings_;
  result.warningCount = warningCount_;
  return result;
}

GenerationResult GenerationModule::RunPlain(const ProgressCallback& progress) {
  Evaluator();
  const int levels = shape_.levels;
  const std::string notGenerated = std::string(words_.nounTitle) + " not generated";
  if (levels < 1) {
    NoteFault({"", 0, std::string(words_.levelsName)}, "You must have at least one level");
    Show(kErrorTitle, "You must have at least one level for your " + std::string(words_.noun) + "." +
                          std::string(kCrLf) + notGenerated);
    return Finish(GenerationStatus::Failed, {}, 0);
  }
  std::string entries;
  for (int level = 1; level <= levels; ++level) {
    SetLevelText(std::to_string(level));
    if (!WriteEntry(entries, false)) {
      Show(kErrorTitle, notGenerated + ".");
      return Finish(GenerationStatus::Failed, {}, level - 1);
    }
    if (level == 1) ReserveForEntries(entries, levels);
    if (!Report(level, levels, progress)) return Finish(GenerationStatus::Cancelled, {}, level);
  }
  return Finish(GenerationStatus::Generated, std::move(entries), levels);
}

GenerationResult GenerationModule::RunGrid(const ProgressCallback& progress) {
  Evaluator();
  const int n = shape_.numTechReqs;
  const std::string notGenerated = std::string(words_.nounTitle) + " not generated";
  const std::string gridNoun = "Grid " + std::string(words_.nounPlural);
  if (n < 1) {
    NoteFault({"", 0, std::string(words_.gridName)}, gridNoun + " must have tech requirements");
    Show(kErrorTitle, gridNoun + " must have tech requirements." + std::string(kCrLf) + notGenerated);
    return Finish(GenerationStatus::Failed, {}, 0);
  }

  // Every requirement contributes the whole positions 1..its grid size.
  double cells = 1;
  for (int i = 1; i <= n; ++i) {
    double size = shape_.gridSizes[static_cast<std::size_t>(i)];
    cells *= size >= 1 ? std::floor(size) : 0;
  }
  if (cells < 1) {
    int first = 1;
    while (first < n && shape_.gridSizes[static_cast<std::size_t>(first)] >= 1) ++first;
    NoteFault({"TechReqs", first, "TechReqGridSize"}, "The grid size must be at least 1");
    Show(kErrorTitle, gridNoun + " must have a grid size of at least 1 for every tech requirement." +
                          std::string(kCrLf) + notGenerated);
    return Finish(GenerationStatus::Failed, {}, 0);
  }
  if (cells > kMaxGridCells) {
    NoteFault({"", 0, std::string(words_.gridName)}, gridNoun + " can have at most " + std::to_string(kMaxGridCells) +
                                                          " grid cells; this grid has " + FormatNumber(cells));
    Show(kErrorTitle, gridNoun + " can have at most " + std::to_string(kMaxGridCells) + " grid cells; this grid has " +
                          FormatNumber(cells) + "." + std::string(kCrLf) + notGenerated);
    return Finish(GenerationStatus::Failed, {}, 0);
  }
  const int maximum = static_cast<int>(cells);

  std::string entries;
  int count = 0;
  int i = 1;
  while (i != 0) {
    auto& position = gridPos_[static_cast<std::size_t>(i)];
    ++position;
    if (shape_.gridSizes[static_cast<std::size_t>(i)] < position) {
      position = 0;
      --i;
    } else if (i >= n) {
      ++count;
      SetLevelText(std::to_string(count));
      if (!WriteEntry(entries, true)) {
        Show(kErrorTitle, notGenerated + ".");
        return Finish(GenerationStatus::Failed, {}, count - 1);
      }
      if (count == 1) ReserveForEntries(entries, maximum);
    } else {
      ++i;
    }
    if (!Report(count, maximum, progress)) return Finish(GenerationStatus::Cancelled, {}, count);
  }
  return Finish(GenerationStatus::Generated, std::move(entries), count);
}

}  // namespace vorlane
