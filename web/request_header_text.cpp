#include "web/request_header_text.h"

#include "text/find_text.h"
#include "text/split_text.h"
#include "text/text_commands.h"
#include "text/trim_both_ends.h"
#include "text/width_and_case.h"

namespace quorvel {

namespace {

// Capitalises each dash-separated part of `name`; a trailing dash or two
// dashes in a row keep all their dashes.
Text CapitalizeHeaderName(const Text& name) {
  Text result;
  int32_t from = 1;
  for (;;) {
    const int32_t dash = FindText(name, "-", from);
    if (dash == -1) {
      result += CapitalizeFirst(TextMid(name, from, TextLength(name)));
      return result;
    }
    result += CapitalizeFirst(TextMid(name, from, dash - from));
    result += "-";
    from = dash + 1;
  }
}

}  // namespace

Text CapitalizeFirst(const Text& t) {
  return ConcatText({ToUpperCase(TextLeft(t, 1)), TextMid(t, 2, TextLength(t))});
}

Text NormalizeHeaderNames(const Text& block) {
  const TextArray lines = SplitText(block, "\r\n");
  Text result;
  for (int32_t i = 1; i <= lines.ElementCount(); ++i) {
    const Text& line = lines[i];
    const int32_t colon = FindText(line, ":");
    if (colon == -1) continue;
    result += CapitalizeHeaderName(TextLeft(line, colon - 1));
    result += TextMid(line, colon, TextLength(line));
    result += "\r\n";
  }
  return TextLeft(result, TextLength(result) - 2);
}

Text HeaderName(const Text& line) {
  const int32_t colon = FindText(line, ":");
  if (colon == -1) return Text();
  return TrimBothEnds(TextLeft(line, colon - 1));
}

Text HeaderValue(const Text& line) {
  const int32_t colon = FindText(line, ":");
  if (colon == -1) return Text();
  return TrimBothEnds(TextMid(line, colon + 1, TextLength(line)));
}

}  // namespace quorvel
