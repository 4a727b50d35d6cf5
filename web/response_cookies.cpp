#include "web/response_cookies.h"

#include <optional>

#include "text/find_text.h"
#include "text/replace_subtext.h"
#include "text/split_text.h"
#include "text/text_commands.h"
#include "text/text_extraction.h"
#include "text/trim_both_ends.h"

namespace quorvel {

namespace {

// Trims `cookies` and gives a final ";" its space, so that splitting on "; "
// does not keep the semicolon in the last item.
Text TidyCookieText(const Text& cookies) {
  Text tidy = TrimBothEnds(cookies);
  if (TextRight(tidy, 1) == Text(";")) tidy += " ";
  return tidy;
}

}  // namespace

Text CollectSetCookies(const Text& responseHeaders) {
  const TextArray lines = SplitText(responseHeaders, "\r\n");
  Text result;
  for (int32_t i = 1; i <= lines.ElementCount(); ++i) {
    const Text& line = lines[i];
    if (CompareText(TextLeftOf(line, ": "), "Set-Cookie") != 0) continue;
    Text value;
    if (FindText(line, ";") == -1) {
      value = TrimBothEnds(
          ReplaceSubtext(line, "Set-Cookie:", Text(), std::nullopt, std::nullopt, false));
    } else {
      value = TrimBothEnds(TextBetween(line, "Set-Cookie:", ";"));
    }
    result += value;
    result += "; ";
  }
  if (TextRight(result, 2) == Text("; ")) result = TextLeft(result, TextLength(result) - 2);
  return result;
}

Text MergeCookies(Text& sent, Text& returned) {
  sent = TidyCookieText(sent);
  returned = TidyCookieText(returned);
  const TextArray sentItems = SplitText(sent, "; ");
  TextArray merged = SplitText(returned, "; ");
  for (int32_t i = 1; i <= sentItems.ElementCount(); ++i) {
    if (!HasCookieNamed(merged, CookieName(sentItems[i]))) AppendElement(merged, sentItems[i]);
  }
  sent = Text();
  for (int32_t i = 1; i <= merged.ElementCount(); ++i) {
    if (TextRight(merged[i], 8) == Text("=deleted")) continue;
    sent += merged[i];
    sent += "; ";
  }
  sent = TextLeft(sent, TextLength(sent) - 2);
  sent = DedupeTextList(sent, "; ", true);
  return sent;
}

Text CookieName(const Text& item) {
  const int32_t equals = FindText(item, "=");
  return TrimBothEnds(equals == -1 ? item : TextLeft(item, equals - 1));
}

bool HasCookieNamed(const TextArray& items, const Text& name) {
  for (int32_t i = 1; i <= items.ElementCount(); ++i) {
    if (CompareText(CookieName(items[i]), name) == 0) return true;
  }
  return false;
}

}  // namespace quorvel
