#include "settings/PictureLookup.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <system_error>

#include "util/Numbers.h"
#include "util/Platform.h"

namespace vorlane {

namespace fs = std::filesystem;

namespace {

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  }
  return true;
}

// A missing entry is an ordinary "not found", not a failure worth reporting.
bool IsMissing(const std::error_code& ec) {
  return ec == std::errc::no_such_file_or_directory || ec == std::errc::not_a_directory;
}

// Whether `p` exists with the wanted type; `error` is set on a real failure.
bool Fits(const fs::path& p, bool wantFile, std::error_code& error) {
  std::error_code ec;
  fs::file_status st = fs::status(p, ec);
  if (ec) {
    if (!IsMissing(ec)) error = ec;
    return false;
  }
  if (!fs::exists(st)) return false;
  return wantFile ? !fs::is_directory(st) : fs::is_directory(st);
}

PictureSearchResult FromError(const std::error_code& ec) {
  PictureSearchResult r;
  r.errorDescription = ec.message();
  r.errorNumber = ec.value();
  if (r.errorDescription.empty()) r.errorDescription = "File system error";
  return r;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::string PictureNumberText(std::int64_t number) {
  std::string text = std::to_string(number);
  if (number >= 0 && text.size() < 3) text.insert(0, 3 - text.size(), '0');
  return text;
}

std::string PictureFileName(PictureKind kind, std::int64_t number) {
  return (kind == PictureKind::Component ? "Comp_" : "Facil_") + PictureNumberText(number) + ".bmp";
}

std::string CombatPictureFileName(std::string_view displayType) {
  return std::string(displayType) + "s.bmp";
}

std::vector<std::string> PictureFolder(PictureKind kind) {
  return {"Pictures", kind == PictureKind::Component ? "Components" : "Facilities"};
}

std::vector<std::string> CombatPictureFolder() { return {"Pictures", "Combat"}; }

namespace {

// Depth-first over every spelling of each name, the exact one first, so that a
// folder present in two letter cases is searched in both.
std::optional<fs::path> FindFrom(const fs::path& current, const std::vector<std::string>& names, std::size_t i,
                                 bool wantFile, std::error_code& error) {
  if (i == names.size()) return current;
  const bool want = (i + 1 == names.size()) && wantFile;

  // The name as written first: the usual case, and no folder scan needed.
  fs::path exact = current / PathFromUtf8(names[i]);
  if (Fits(exact, want, error)) {
    auto found = FindFrom(exact, names, i + 1, wantFile, error);
    if (found || error) return found;
  }
  if (error) return std::nullopt;

  std::vector<fs::path> others;
  std::error_code ec;
  for (fs::directory_iterator it(current, ec); !ec && it != fs::directory_iterator(); it.increment(ec)) {
    const std::string name = Utf8FromPath(it->path().filename());
    if (name != names[i] && SameIgnoringCase(name, names[i])) others.push_back(it->path());
  }
  if (ec) {
    if (!IsMissing(ec)) error = ec;
    return std::nullopt;
  }
  std::sort(others.begin(), others.end());  // the same choice on every run
  for (const auto& other : others) {
    if (Fits(other, want, error)) {
      auto found = FindFrom(other, names, i + 1, wantFile, error);
      if (found) return found;
    }
    if (error) return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace

std::optional<fs::path> FindBelowIgnoringCase(const std::string& directory, const std::vector<std::string>& names,
                                              bool wantFile, std::error_code& error) {
  error.clear();
  return FindFrom(PathFromUtf8(directory), names, 0, wantFile, error);
}

int CountFilesBelow(const std::string& directory, const std::vector<std::string>& folder) {
  std::error_code ec;
  auto dir = FindBelowIgnoringCase(directory, folder, false, ec);
  if (!dir) return 0;
  int count = 0;
  for (fs::directory_iterator it(*dir, ec); !ec && it != fs::directory_iterator(); it.increment(ec)) {
    std::error_code typeError;
    if (!it->is_directory(typeError)) ++count;
  }
  return ec ? 0 : count;
}

SliderRange PictureSliderRange(std::optional<int> modCount, std::optional<int> seivCount) {
  std::int64_t maximum = 0;
  if (modCount) maximum = *modCount;
  if (seivCount && *seivCount > maximum) maximum = *seivCount;
  if (maximum < 400) maximum = 400;
  const std::int64_t hundreds = RoundToInt32(static_cast<double>(maximum) / 200.0).value_or(0);
  maximum = hundreds * 200 + 400;
  SliderRange range;
  range.maximum = static_cast<int>(std::min<std::int64_t>(maximum, INT32_MAX));
  range.tickSpacing = range.maximum < 1000 ? 50 : 100;
  return range;
}

SliderRange WidenedToHold(SliderRange range, std::int64_t value) {
  if (value > range.maximum) {
    range.maximum = static_cast<int>(std::min<std::int64_t>(value, INT32_MAX));
    range.tickSpacing = range.maximum < 1000 ? 50 : 100;
  }
  return range;
}

std::optional<double> WholeTextNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  const std::size_t start = i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return std::nullopt;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t expDigits = 0;
    while (i < text.size() && IsDigit(text[i])) ++i, ++expDigits;
    if (expDigits == 0) return std::nullopt;
  }
  const std::size_t end = i;
  while (i < text.size() && IsBlank(text[i])) ++i;
  if (i != text.size()) return std::nullopt;
  const double value = LeadingNumber(text.substr(start, end - start));
  if (!std::isfinite(value)) return std::nullopt;
  return value;
}

PictureSearchResult FindInGameDirs(const std::string& modDir, const std::string& seivDir,
                                   const std::vector<std::string>& names) {
  const std::pair<const std::string*, PictureSource> order[] = {{&modDir, PictureSource::ModDir},
                                                                {&seivDir, PictureSource::SEIVDir}};
  for (const auto& [dir, source] : order) {
    if (dir->empty()) continue;
    std::error_code ec;
    auto file = FindBelowIgnoringCase(*dir, names, true, ec);
    if (ec) return FromError(ec);
    if (file) {
      PictureSearchResult r;
      r.source = source;
      r.file = std::move(*file);
      return r;
    }
  }
  return {};
}

PictureSearchResult FindCombatPicture(const std::string& modDir, const std::string& seivDir,
                                      std::string_view displayType) {
  auto names = CombatPictureFolder();
  names.push_back(CombatPictureFileName(displayType));
  return FindInGameDirs(modDir, seivDir, names);
}

PictureLookup::PictureLookup(PictureKind kind, std::string modDir, std::string seivDir)
    : kind_(kind), modDir_(std::move(modDir)), seivDir_(std::move(seivDir)) {}

SliderRange PictureLookup::SliderRangeOnOpening() const {
  const auto folder = PictureFolder(kind_);
  std::optional<int> modCount;
  std::optional<int> seivCount;
  if (HasModDir()) modCount = CountFilesBelow(modDir_, folder);
  if (HasSEIVDir()) seivCount = CountFilesBelow(seivDir_, folder);
  return PictureSliderRange(modCount, seivCount);
}

PictureSearchResult PictureLookup::Find(std::int64_t number) const {
  auto names = PictureFolder(kind_);
  names.push_back(PictureFileName(kind_, number));
  return FindInGameDirs(modDir_, seivDir_, names);
}

}  // namespace vorlane
