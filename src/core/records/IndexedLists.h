// A group of parallel text lists sized by one count: entries 0..count, entry 0
// unused. Shrinking discards entries for good; growing adds empty ones.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vorlane {

template <std::size_t N>
class IndexedLists {
 public:
  IndexedLists() { SetCount(1); }

  std::int16_t Count() const { return count_; }

  // A negative count is refused and changes nothing.
  bool SetCount(std::int16_t n) {
    if (n < 0) return false;
    count_ = n;
    for (auto& list : lists_) list.resize(static_cast<std::size_t>(n) + 1);
    return true;
  }

  bool InRange(std::int16_t i) const { return i >= 0 && i <= count_; }

  std::optional<std::string> Get(std::size_t list, std::int16_t i) const {
    if (!InRange(i)) return std::nullopt;
    return lists_[list][static_cast<std::size_t>(i)];
  }

  bool Set(std::size_t list, std::int16_t i, std::string value) {
    if (!InRange(i)) return false;
    lists_[list][static_cast<std::size_t>(i)] = std::move(value);
    return true;
  }

  bool operator==(const IndexedLists&) const = default;

 private:
  std::int16_t count_ = 0;
  std::array<std::vector<std::string>, N> lists_;
};

// Level counts are exchanged as text: the writer reads the leading number and
// rounds it half to even; the reader gives plain decimal text.
std::optional<std::int16_t> ParseLevelCount(const std::string& text);

}  // namespace vorlane
