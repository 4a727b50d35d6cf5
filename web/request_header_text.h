// The text operations on a block of request header lines: capitalising the
// header names of a block and cutting one line into its name and value.
//
// A header block is lines separated by CR LF; a line is a name, a colon and a
// value. The name is everything before the first colon of the line. All four
// routines are pure: they never fail and never change their argument. Upper-
// casing touches only the ASCII letters a ... z; the bytes of double-byte
// characters pass unchanged. Trimming removes spaces and full-width spaces
// (TrimBothEnds()), never tabs, CR or LF.
#ifndef QUORVEL_WEB_REQUEST_HEADER_TEXT_H_
#define QUORVEL_WEB_REQUEST_HEADER_TEXT_H_

#include "text/text.h"

namespace quorvel {

// CapitalizeFirst() returns `t` with its first byte upper-cased; a lead byte
// of a double-byte character stays as it is.
//   CapitalizeFirst("accept") == "Accept"
//   CapitalizeFirst("") == ""
//   CapitalizeFirst("\xD6\xD0") == "\xD6\xD0"  // 中
Text CapitalizeFirst(const Text& t);

// NormalizeHeaderNames() returns `block` with every header name capitalised:
// its first byte and each byte right after a "-" upper-cased, every other byte
// of the name (spaces included) as it was; the rest of the line from the colon
// on is untouched. Lines without a colon, empty lines among them, are dropped.
// The lines come back joined by CR LF, with none before the first or after the
// last.
//   NormalizeHeaderNames("\r\nAccept: */*\r\nreferer: x\r\n") == "Accept: */*\r\nReferer: x"
//   NormalizeHeaderNames("x-REQUESTED-with:1") == "X-REQUESTED-With:1"
//   NormalizeHeaderNames("user-agent :x") == "User-Agent :x"
//   NormalizeHeaderNames("a--b: v\r\nHost") == "A--B: v"
//   NormalizeHeaderNames("Host") == ""
Text NormalizeHeaderNames(const Text& block);

// HeaderName() returns the trimmed text before the first colon of `line`;
// the empty text when it has no colon.
//   HeaderName(" Content-Type : a:b ") == "Content-Type"
//   HeaderName("Host") == ""
Text HeaderName(const Text& line);

// HeaderValue() returns the trimmed text after the first colon of `line`;
// later colons belong to the value. The empty text when it has no colon.
//   HeaderValue(" Content-Type : a:b ") == "a:b"
//   HeaderValue("Accept:\t*/*") == "\t*/*"
//   HeaderValue("Host") == ""
Text HeaderValue(const Text& line);

}  // namespace quorvel

#endif  // QUORVEL_WEB_REQUEST_HEADER_TEXT_H_
