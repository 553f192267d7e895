#pragma once
// Looking at text eight bytes at a time: one 64-bit word holds eight bytes, and a few
// arithmetic steps test all of them at once. The tests flag the high bit of each byte that
// matches; a flag above the lowest may be wrong (a borrow runs upward), the lowest is exact,
// so "none flagged" and "the first flagged" are always right.

#include <cstdint>
#include <cstring>
#include <string_view>

namespace dovrek {

inline constexpr uint64_t kByteOnes = 0x0101010101010101ull;
inline constexpr uint64_t kByteHighBits = 0x8080808080808080ull;

// Whether eight bytes stand at s[i]; *word holds them then.
inline bool WordAt(std::string_view s, size_t i, uint64_t* word) {
  if (i + 8 > s.size()) return false;
  std::memcpy(word, s.data() + i, sizeof *word);
  return true;
}

// Whether the eight bytes at s[i] are there and all ASCII; *word holds them then.
inline bool AsciiWordAt(std::string_view s, size_t i, uint64_t* word) {
  return WordAt(s, i, word) && (*word & kByteHighBits) == 0;
}

// The bytes of `word` below `limit` (at most 0x80).
inline uint64_t BytesBelow(uint64_t word, unsigned char limit) {
  return (word - kByteOnes * limit) & ~word & kByteHighBits;
}

// The bytes of `word` that equal `byte`.
inline uint64_t BytesEqual(uint64_t word, unsigned char byte) {
  return BytesBelow(word ^ (kByteOnes * byte), 1);
}

}  // namespace dovrek
