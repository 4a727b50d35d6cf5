// The two code page functions of the system, with the contract of the Windows
// functions of the same names: on Windows they call those; elsewhere a layer of
// our own gives the same results for UTF-8 (65001), UTF-16 and code page 936
// (code page 0, the system's ANSI code page, is 936 there). A third function
// puts the two together for the conversion every poll makes.
//
// MultiByteToWideChar() reads `length` bytes of `text` (-1: up to and including
// its NUL) under `codePage` and writes UTF-16 units to `out`. With `outSize` 0
// it only returns how many units are needed. Invalid input is replaced (U+FFFD
// for UTF-8, one per maximal invalid subpart) and never ends the conversion.
// Returns the number of units written or needed, 0 on failure (null or empty
// input, unknown code page, `out` too small).
//
// WideCharToMultiByte() is the same in the other direction; a character the
// code page cannot represent becomes its default character "?".
//
// Utf8ToCodePage936() gives what MultiByteToWideChar() from UTF-8 followed by
// WideCharToMultiByte() to code page 936 give, with the same replacements:
// on Windows it calls the two, elsewhere it converts in one pass without the
// UTF-16 in between. `length` counts the bytes to convert (-1 is not taken).
// No input gives more bytes than it has, so an `outSize` of `length` always
// has room. Returns the number of bytes written (or
// needed, with `outSize` 0), 0 on failure as above.
#ifndef QUORVEL_TEXT_CODE_PAGE_FUNCTIONS_H_
#define QUORVEL_TEXT_CODE_PAGE_FUNCTIONS_H_

namespace quorvel {

int MultiByteToWideChar(unsigned codePage, unsigned long flags, const char* text, int length,
                        char16_t* out, int outSize);

int WideCharToMultiByte(unsigned codePage, unsigned long flags, const char16_t* wide, int length,
                        char* out, int outSize);

int Utf8ToCodePage936(const char* text, int length, char* out, int outSize);

}  // namespace quorvel

#endif  // QUORVEL_TEXT_CODE_PAGE_FUNCTIONS_H_
