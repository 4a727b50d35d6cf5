#include "text/text_extraction.h"

#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>

#include "text/character_walk.h"
#include "text/find_text.h"
#include "text/replace_subtext.h"
#include "text/split_text.h"
#include "text/text_commands.h"
#include "text/width_and_case.h"

namespace quorvel {

namespace {

// "#引号" in code page 936: the marker for a double quote in a delimiter.
const char kQuoteMarker[] = "#\xD2\xFD\xBA\xC5";

}  // namespace

Text TextLeftOf(const Text& text, const Text& delimiter, int32_t start, bool caseInsensitive) {
  const int32_t p = FindText(text, delimiter, start < 1 ? 1 : start, caseInsensitive);
  if (p == -1) return Text();
  return TextLeft(text, p - 1);
}

Text TextBetween(const Text& text, const Text& left, const Text& right, int32_t start,
                 bool caseSensitive) {
  const Text l = ReplaceSubtext(left, kQuoteMarker, Text("\""), std::nullopt, std::nullopt, true);
  const Text r = ReplaceSubtext(right, kQuoteMarker, Text("\""), std::nullopt, std::nullopt, true);
  const bool caseInsensitive = !caseSensitive;
  const int32_t found = FindText(text, l, start, caseInsensitive);
  if (found == -1) return Text();
  // The first byte after the left delimiter; one past the end leaves nothing.
  const int64_t after = int64_t{found} + TextLength(l);
  if (after > TextLength(text)) return Text();
  const auto a = static_cast<int32_t>(after);
  const int32_t b = FindText(text, r, a, caseInsensitive);
  if (b == -1) return Text();
  return TextMid(text, a, b - a);
}

Text DedupeTextList(const Text& text, const Text& delimiter, bool splitAtDelimiter) {
  TextArray items;
  if (splitAtDelimiter) {
    items = SplitText(text, delimiter);
  } else {
    SplitChars(text, items);
  }
  // The items seen so far, looked up by their bytes; they live in `items`.
  std::unordered_set<std::string_view> seen;
  std::string result;
  for (int32_t i = 1; i <= ElementCount(items); ++i) {
    const std::string& item = items[i].bytes();
    if (!seen.insert(item).second) continue;
    result += item;
    result += delimiter.bytes();
  }
  result.resize(result.size() - (seen.empty() ? 0 : delimiter.bytes().size()));
  return Text(std::move(result));
}

int32_t SplitChars(const Text& text, TextArray& characters) {
  const Text half = ToHalfWidth(text);
  ResizeArray(characters, false, 0);
  const std::string_view h = half.bytes();
  size_t pos = 0;
  while (pos < h.size()) {
    size_t length = 1;
    if (h[pos] == '\r' && pos + 1 < h.size() && h[pos + 1] == '\n') {
      length = 2;
    } else if (character_walk::IsLeadByte(h[pos]) && pos + 1 < h.size()) {
      length = 2;
    }
    AppendElement(characters, Text(h.substr(pos, length)));
    pos += length;
  }
  return ElementCount(characters);
}

int32_t IndexOfText(const TextArray& list, const Text& text) {
  for (int32_t i = 1; i <= ElementCount(list); ++i) {
    if (CompareText(list[i], text) == 0) return i;
  }
  return -1;
}

}  // namespace quorvel
