// Slow, plain models of the character-aware text commands, written straight
// from their documented behaviour over std::string, for the fuzz targets to
// compare the real commands with. Positions here are 0-based offsets.
#ifndef QUORVEL_FUZZ_REFERENCE_TEXT_H_
#define QUORVEL_FUZZ_REFERENCE_TEXT_H_

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorvel::reference {

inline bool IsLead(char c) { return static_cast<unsigned char>(c) >= 128; }

inline char Fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

inline bool SameAt(const std::string& t, size_t at, const std::string& sought, bool foldCase) {
  if (t.size() - at < sought.size()) return false;
  for (size_t k = 0; k < sought.size(); ++k) {
    const char a = t[at + k];
    const char b = sought[k];
    if (foldCase ? Fold(a) != Fold(b) : a != b) return false;
  }
  return true;
}

// The characters of `t`: a lead byte with the byte after it, or one byte; a
// lead byte at the very end is a character by itself.
inline std::vector<std::string> Characters(const std::string& t) {
  std::vector<std::string> chars;
  for (size_t i = 0; i < t.size();) {
    const size_t n = (IsLead(t[i]) && i + 1 < t.size()) ? 2 : 1;
    chars.push_back(t.substr(i, n));
    i += n;
  }
  return chars;
}

// FindText: 1-based result, -1 when not found.
inline int64_t Find(const std::string& t, const std::string& sought,
                    std::optional<int32_t> start, bool caseInsensitive) {
  const int64_t length = static_cast<int64_t>(t.size());
  const int64_t from = (!start || *start < 1) ? 1 : *start;
  if (sought.empty()) return from <= length ? 1 : -1;
  int64_t i = from - 1;
  while (i < length && length - i >= static_cast<int64_t>(sought.size())) {
    if (SameAt(t, static_cast<size_t>(i), sought, caseInsensitive)) return i + 1;
    if (IsLead(t[static_cast<size_t>(i)])) {
      if (i + 1 >= length) return -1;
      i += 2;
    } else {
      i += 1;
    }
  }
  return -1;
}

// ReplaceSubtext.
inline std::string Replace(const std::string& t, const std::string& sought,
                           const std::string& replacement, std::optional<int32_t> start,
                           std::optional<int32_t> count, bool caseSensitive) {
  const size_t offset = (!start || *start < 1) ? 0 : static_cast<size_t>(*start) - 1;
  if (t.empty() || sought.empty() || (count && *count == 0) || offset >= t.size()) return t;
  std::string out = t.substr(0, offset);
  size_t i = offset;
  int64_t done = 0;
  while (i < t.size() && t.size() - i >= sought.size()) {
    if (SameAt(t, i, sought, !caseSensitive)) {
      out += replacement;
      i += sought.size();
      if (count && ++done == *count) break;
    } else {
      const size_t n = (IsLead(t[i]) && i + 1 < t.size()) ? 2 : 1;
      out += t.substr(i, n);
      i += n;
    }
  }
  out += t.substr(i);
  return out;
}

// SplitText.
inline std::vector<std::string> Split(const std::string& t, const std::string& delimiter,
                                      std::optional<int32_t> maxCount) {
  std::vector<std::string> pieces;
  if (t.empty() || (maxCount && *maxCount <= 0)) return pieces;
  if (delimiter.empty()) return {t};
  size_t pieceStart = 0;
  size_t i = 0;
  while (i < t.size()) {
    if (SameAt(t, i, delimiter, false)) {
      pieces.push_back(t.substr(pieceStart, i - pieceStart));
      if (maxCount && static_cast<int64_t>(pieces.size()) == *maxCount) return pieces;
      i += delimiter.size();
      pieceStart = i;
    } else {
      i += IsLead(t[i]) ? 2 : 1;
    }
  }
  if (pieceStart < t.size()) pieces.push_back(t.substr(pieceStart));
  return pieces;
}

// TrimBothEnds.
inline std::string Trim(const std::string& t) {
  const std::vector<std::string> chars = Characters(t);
  auto isSpace = [](const std::string& c) { return c == " " || c == "\xA1\xA1"; };
  size_t first = 0;
  size_t last = chars.size();
  while (first < last && isSpace(chars[first])) ++first;
  while (last > first && isSpace(chars[last - 1])) --last;
  std::string out;
  for (size_t k = first; k < last; ++k) out += chars[k];
  return out;
}

// ToHalfWidth.
inline std::string HalfWidth(const std::string& t) {
  std::string out;
  for (const std::string& c : Characters(t)) {
    if (c.size() == 1) {
      if (!IsLead(c[0])) out += c;  // an incomplete character at the end is dropped
      continue;
    }
    const auto lead = static_cast<unsigned char>(c[0]);
    const auto trail = static_cast<unsigned char>(c[1]);
    if (lead == 161 && trail == 161) {
      out += ' ';
    } else if (lead == 161 && trail == 171) {
      out += '~';
    } else if (lead == 161 && (trail == 238 || trail == 239)) {
      out += '*';
    } else if (lead == 163 && trail >= 161 && trail <= 254) {
      out += static_cast<char>(trail - 128);
    } else {
      out += c;
    }
  }
  return out;
}

inline std::string Join(const std::vector<std::string>& items, const std::string& delimiter) {
  std::string out;
  for (size_t k = 0; k < items.size(); ++k) {
    if (k > 0) out += delimiter;
    out += items[k];
  }
  return out;
}

}  // namespace quorvel::reference

#endif  // QUORVEL_FUZZ_REFERENCE_TEXT_H_
