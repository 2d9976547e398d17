// A group of parallel text lists sized by one count: entries 0..count, entry 0
// unused. Shrinking discards entries for good; growing adds empty ones.
//
// The entries lie in chunks shared between copies until one copy writes into
// a chunk, which it then copies first. A design of 32,767 requirements is
// copied (the undo history, the live entry's worker) and compared with its
// saved state in time that grows with its chunks, not its entries; a chunk
// is written in place only while no other copy holds it, so copies may be
// read on other threads.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
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
    const std::size_t size = static_cast<std::size_t>(n) + 1;  // entry 0 too
    const std::size_t chunks = (size + kChunk - 1) / kChunk;
    chunks_.resize(chunks);
    for (std::size_t c = 0; c < chunks; ++c) {
      const std::size_t rows = std::min(kChunk, size - c * kChunk);
      if (!chunks_[c]) {
        chunks_[c] = std::make_shared<Chunk>(rows);
      } else if (chunks_[c]->size() != rows) {
        Writable(c).resize(rows);
      }
    }
    count_ = n;
    return true;
  }

  bool InRange(std::int16_t i) const { return i >= 0 && i <= count_; }

  std::optional<std::string> Get(std::size_t list, std::int16_t i) const {
    if (!InRange(i)) return std::nullopt;
    const auto at = static_cast<std::size_t>(i);
    return (*chunks_[at / kChunk])[at % kChunk][list];
  }

  bool Set(std::size_t list, std::int16_t i, std::string value) {
    if (!InRange(i)) return false;
    const auto at = static_cast<std::size_t>(i);
    Writable(at / kChunk)[at % kChunk][list] = std::move(value);
    return true;
  }

  // The first entry from `from` on (1-based) at which the two differ in any
  // list, among the entries both have; 0 when there is none. Chunks the two
  // share are passed over whole.
  int NextDifference(const IndexedLists& other, int from) const {
    const std::size_t end = static_cast<std::size_t>(std::min(count_, other.count_)) + 1;
    for (std::size_t at = static_cast<std::size_t>(std::max(from, 1)); at < end;) {
      const std::size_t c = at / kChunk;
      if (chunks_[c] == other.chunks_[c]) {
        at = (c + 1) * kChunk;
        continue;
      }
      if ((*chunks_[c])[at % kChunk] != (*other.chunks_[c])[at % kChunk]) return static_cast<int>(at);
      ++at;
    }
    return 0;
  }

  bool operator==(const IndexedLists& other) const {
    if (count_ != other.count_) return false;
    for (std::size_t c = 0; c < chunks_.size(); ++c) {
      if (chunks_[c] != other.chunks_[c] && *chunks_[c] != *other.chunks_[c]) return false;
    }
    return true;
  }

 private:
  static constexpr std::size_t kChunk = 256;
  using Row = std::array<std::string, N>;
  using Chunk = std::vector<Row>;

  // Chunk c, copied first when another copy of the lists holds it too.
  Chunk& Writable(std::size_t c) {
    if (chunks_[c].use_count() > 1) chunks_[c] = std::make_shared<Chunk>(*chunks_[c]);
    return *chunks_[c];
  }

  std::int16_t count_ = 0;
  std::vector<std::shared_ptr<Chunk>> chunks_;
};

// Level counts are exchanged as text: the writer reads the leading number and
// rounds it half to even; the reader gives plain decimal text.
std::optional<std::int16_t> ParseLevelCount(const std::string& text);

}  // namespace vorlane
