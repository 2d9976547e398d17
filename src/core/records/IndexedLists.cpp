#include "records/IndexedLists.h"

#include "util/Numbers.h"

namespace vorlane {

std::optional<std::int16_t> ParseLevelCount(const std::string& text) {
  return RoundToInt16(LeadingNumber(text));
}

}  // namespace vorlane
