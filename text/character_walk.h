// How the character-aware commands walk a code page 936 text.
//
// A byte of 128 or more is a lead byte: it and the byte after it are one
// double-byte character, stepped over as a unit. A lead byte that is the last
// byte of a text is an incomplete character; nothing reads past it.
#ifndef QUORVEL_TEXT_CHARACTER_WALK_H_
#define QUORVEL_TEXT_CHARACTER_WALK_H_

#include <cstddef>
#include <string_view>

namespace quorvel {
namespace character_walk {

inline bool IsLeadByte(char c) { return static_cast<unsigned char>(c) >= 128; }

// The byte with the ASCII letters A ... Z folded to a ... z; every other byte,
// those of double-byte characters included, stays.
inline unsigned char FoldAsciiCase(char c) {
  const auto b = static_cast<unsigned char>(c);
  return (b >= 'A' && b <= 'Z') ? static_cast<unsigned char>(b + ('a' - 'A')) : b;
}

// The offset of the first occurrence of the non-empty `sought` in `t` that
// begins on a character boundary at or after `from`, or npos. `from` is taken
// as a boundary. With `foldCase` the ASCII letters compare without case.
size_t FindOnCharacterBoundary(std::string_view t, size_t from, std::string_view sought,
                               bool foldCase);

}  // namespace character_walk
}  // namespace quorvel

#endif  // QUORVEL_TEXT_CHARACTER_WALK_H_
