#include "generate/IndexedVariables.h"

#include "util/Numbers.h"

namespace vorlane {

namespace {

// The run of digits read as a number; a run too long for any index reads as
// out of range.
long DigitsIndex(std::string_view digits) {
  long value = 0;
  for (char c : digits) {
    value = value * 10 + (c - '0');
    if (value > 1000000) return 1000000;
  }
  return value;
}

}  // namespace

IndexedName ReadIndexed(std::string_view name, bool damage) {
  IndexedName read;
  for (const IndexedFamily& f : kIndexedFamilies) {
    if (!name.starts_with(f.prefix) || (f.list == IndexedList::kDamage && !damage)) continue;
    read.prefixed = true;
    read.list = f.list;
    const std::string_view rest = name.substr(f.prefix.size());
    if (f.suffix.empty()) {
      const auto n = RoundToInt16(LeadingNumber(rest));
      read.index = n && *n >= 1 ? *n : 0;
      read.family = &f;
      return read;
    }
    std::size_t end = 0;
    while (end < rest.size() && rest[end] >= '0' && rest[end] <= '9') ++end;
    read.index = DigitsIndex(rest.substr(0, end));
    if (rest.substr(end) == f.suffix) {
      read.family = &f;
      return read;
    }
  }
  return read;
}

}  // namespace vorlane
