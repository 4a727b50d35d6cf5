// Helpers that cut a piece out of a text or clean up a list of texts: the
// response-cookie code takes header lines apart with TextLeftOf() and
// TextBetween() and drops repeated cookies with DedupeTextList().
//
// None of them changes its arguments and none fails: a delimiter that is not
// there gives the empty text. Positions are 1-based bytes; searches step over
// double-byte characters as FindText() does. The optional arguments have no
// given-flag: an omitted one is 0.
#ifndef QUORVEL_TEXT_TEXT_EXTRACTION_H_
#define QUORVEL_TEXT_TEXT_EXTRACTION_H_

#include <cstdint>

#include "text/text.h"

namespace quorvel {

// TextLeftOf() returns the bytes of `text`, from its first byte, before the
// first `delimiter` found at or after `start` (1 when 0 or below); the empty
// text when there is none, and so with an empty delimiter. With
// `caseInsensitive` the ASCII letters match without case.
//   TextLeftOf("Set-Cookie: a=b", ": ") == "Set-Cookie"
//   TextLeftOf("a:b:c", ":", 3) == "a:b"
//   TextLeftOf("abc", "x") == ""
//   TextLeftOf("x-Content", "CONTENT", 0, true) == "x-"
Text TextLeftOf(const Text& text, const Text& delimiter, int32_t start = 0,
                bool caseInsensitive = false);

// TextBetween() returns the bytes between the first `left` delimiter at or
// after `start` (1 when 0 or below) and the first `right` delimiter after it;
// the empty text when either is missing. The right delimiter is searched from
// the first byte after the left one, so it never overlaps it. In both
// delimiters the marker "#引号" stands for one double quote. Note the flag:
// the searches ignore the case of ASCII letters unless `caseSensitive`.
//
// An empty left delimiter takes the text from its first byte, whatever
// `start` is, while `start` lies within the text; an empty right delimiter
// always gives the empty text.
//   TextBetween("Set-Cookie: sid=1; path=/", "set-cookie:", ";") == " sid=1"
//   TextBetween("name=\"v\"", "name=#\xD2\xFD\xBA\xC5", "#\xD2\xFD\xBA\xC5") == "v"
//   TextBetween("a=;", "a=", ";") == ""
Text TextBetween(const Text& text, const Text& left, const Text& right, int32_t start = 0,
                 bool caseSensitive = false);

// DedupeTextList() returns the items of `text`, each at its first occurrence,
// joined by `delimiter`. The items are the pieces of SplitText(text,
// delimiter) with `splitAtDelimiter`, else the characters of SplitChars(text)
// (so full-width characters count as their half-width forms). Items compare
// exactly; a trailing delimiter of the input does not survive.
//   DedupeTextList("a; b; a; c", "; ", true) == "a; b; c"
//   DedupeTextList("a;;;b", ";", true) == "a;;b"
//   DedupeTextList("aabca", ",", false) == "a,b,c"
//   DedupeTextList("aabca", "", false) == "abc"
Text DedupeTextList(const Text& text, const Text& delimiter, bool splitAtDelimiter);

// SplitChars() replaces the contents of `characters` with the characters of
// ToHalfWidth(text) and returns their number. Each element is one single-byte
// character, one double-byte character or one CR LF pair; a CR without LF and
// an LF alone are elements of their own.
//   SplitChars("a\xD6\xD0\r\n\rb", chars) == 5  // a, 中, CR LF, CR, b
//   SplitChars("", chars) == 0
int32_t SplitChars(const Text& text, TextArray& characters);

// IndexOfText() returns the 1-based index of the first element of `list` equal
// to `text` (exact, byte-wise), or -1.
//   IndexOfText(TextArray{"Abc", "abc", "abc"}, "abc") == 2
//   IndexOfText(TextArray{"x", ""}, "") == 2
//   IndexOfText(TextArray{}, "a") == -1
int32_t IndexOfText(const TextArray& list, const Text& text);

}  // namespace quorvel

#endif  // QUORVEL_TEXT_TEXT_EXTRACTION_H_
