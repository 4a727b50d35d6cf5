// The cookies a response sets: gathering them from the response header text
// and merging them with the cookies that were sent.
//
// A cookie text is items separated by "; ", normally name=value, as in a
// browser's Cookie header. Names compare exactly, with case, after trimming
// (spaces and full-width spaces only).
#ifndef QUORVEL_WEB_RESPONSE_COOKIES_H_
#define QUORVEL_WEB_RESPONSE_COOKIES_H_

#include "text/text.h"

namespace quorvel {

// CollectSetCookies() returns the name=value pairs of the Set-Cookie lines of
// `responseHeaders` (lines separated by CR LF), in order, as a cookie text.
// Only a line whose text before its first ": " is exactly "Set-Cookie" counts;
// the attributes after the first ";" are dropped. Empty when no line counts.
//   CollectSetCookies("Set-Cookie: a=1; Path=/; Secure\r\nSet-Cookie: b=2\r\n") == "a=1; b=2"
//   CollectSetCookies("set-cookie: a=1\r\nSet-Cookie:a=1") == ""
//   CollectSetCookies("Set-Cookie: ; x\r\nSet-Cookie: b=2") == "; b=2"
Text CollectSetCookies(const Text& responseHeaders);

// MergeCookies() merges the cookies the server `returned` into those `sent`:
// the returned items first, in their order, minus the ones whose value is
// "deleted"; then the sent items whose names the server did not set, in their
// order, a repeated name only at its first item; exact repeats removed.
//
// Both arguments are in/out: `sent` receives the merged text too, and
// `returned` comes back trimmed, with a space after a final ";".
//   sent "a=1; b=2", returned "b=3"        gives "b=3; a=1" (and so does `sent`)
//   sent "a=1; b=2", returned "a=deleted"  gives "b=2"
//   sent "a=1; a=2", returned ""           gives "a=1"
//   sent "A=1",      returned "a=2"        gives "a=2; A=1"
Text MergeCookies(Text& sent, Text& returned);

// CookieName() returns the trimmed text before the first "=" of `item`, or the
// whole item trimmed when it holds no "=".
//   CookieName(" sid =1") == "sid"
//   CookieName("flag") == "flag"
Text CookieName(const Text& item);

// HasCookieNamed() is true when some item of `items` has the cookie name
// `name` exactly; false for an empty list.
//   HasCookieNamed(TextArray{"a=1", "b=2"}, "b") == true
//   HasCookieNamed(TextArray{"a=1"}, "A") == false
bool HasCookieNamed(const TextArray& items, const Text& name);

}  // namespace quorvel

#endif  // QUORVEL_WEB_RESPONSE_COOKIES_H_
