// The code page functions without Windows: UTF-8 and code page 936 to and
// from UTF-16, with the results Windows gives.
//
// Code page 936 uses two tables filled from glibc's iconv once, at first use:
// the UTF-16 unit of every double-byte code, and the code of every UTF-16
// unit. Codes that glibc's CP936 does not know (the user-defined areas, which
// Windows maps to private-use characters) are taken from its GB18030 where it
// maps them to private-use characters too. Byte 0x80 is the euro sign and
// byte 0xFF the private-use character U+F8F5, single bytes in Windows' table.
// Against Windows' table (as Wine carries it) two things differ: 106 codes
// that Windows maps to private-use characters and glibc to other characters
// or not at all read as "?" here; and Windows writes 518 characters missing
// from the code page as a similar one ("best fit": U+00C0 as the code of
// U+00E0, U+00B2 as "2") where this layer writes "?".
//
// Invalid input, as Windows' own table-driven conversion treats it:
//   - a lead byte (0x81 ... 0xFE) takes the byte after it as its trail byte,
//     whatever it is, unless that byte is NUL or the input ends; a pair that
//     is no character, and a lead byte alone, become "?";
//   - illegal UTF-8 becomes U+FFFD, one per maximal invalid subpart (a lead
//     byte with the trail bytes that fit it so far, or one stray byte);
//     encoded surrogates and overlong forms are illegal;
//   - a UTF-16 unit that code page 936 lacks becomes "?", so a surrogate pair
//     becomes "??"; a lone surrogate becomes U+FFFD in UTF-8.
#include <iconv.h>

#include <bit>
#include <climits>
#include <cstdint>
#include <cstring>
#include <memory>

#include "text/code_page_functions.h"

namespace quorvel {

namespace {

constexpr unsigned kAnsiCodePage = 0;
constexpr unsigned kChineseCodePage = 936;
constexpr unsigned kUtf8CodePage = 65001;
constexpr char16_t kReplacement = 0xFFFD;
constexpr unsigned char kDefaultChar = '?';

struct Cp936Tables {
  // UTF-16 unit of the double-byte code lead * 256 + trail; 0 when none.
  char16_t toWide[0x10000] = {};
  // Code of a UTF-16 unit: below 0x100 one byte, else lead * 256 + trail; 0 when none.
  uint16_t fromWide[0x10000] = {};
};

// Converts one double-byte code with `cd`; 0 when it is not exactly one
// UTF-16 unit.
char16_t DecodePair(iconv_t cd, unsigned char lead, unsigned char trail) {
  if (cd == reinterpret_cast<iconv_t>(-1)) return 0;
  char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
  unsigned char out[8];
  char* inPtr = in;
  size_t inLeft = sizeof(in);
  char* outPtr = reinterpret_cast<char*>(out);
  size_t outLeft = sizeof(out);
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1) || inLeft != 0 ||
      sizeof(out) - outLeft != 2) {
    return 0;
  }
  return static_cast<char16_t>(out[0] | (out[1] << 8));
}

std::unique_ptr<Cp936Tables> BuildCp936Tables() {
  auto tables = std::make_unique<Cp936Tables>();
  iconv_t cp936 = iconv_open("UTF-16LE", "CP936");
  iconv_t gb18030 = iconv_open("UTF-16LE", "GB18030");
  for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
    for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
      if (trail == 0x7F) continue;
      char16_t unit = DecodePair(cp936, static_cast<unsigned char>(lead),
                                 static_cast<unsigned char>(trail));
      if (unit == 0) {
        // Only the private-use mappings of GB18030 agree with Windows' table.
        unit = DecodePair(gb18030, static_cast<unsigned char>(lead),
                          static_cast<unsigned char>(trail));
        if (unit < 0xE000 || unit > 0xF8FF) unit = 0;
      }
      // Surrogates would stand for half a character; such codes count as missing.
      if (unit == 0 || (unit >= 0xD800 && unit <= 0xDFFF)) continue;
      const uint16_t code = static_cast<uint16_t>(lead << 8 | trail);
      tables->toWide[code] = unit;
      if (tables->fromWide[unit] == 0) tables->fromWide[unit] = code;
    }
  }
  if (cp936 != reinterpret_cast<iconv_t>(-1)) iconv_close(cp936);
  if (gb18030 != reinterpret_cast<iconv_t>(-1)) iconv_close(gb18030);
  for (unsigned b = 0; b < 0x80; ++b) tables->fromWide[b] = static_cast<uint16_t>(b);
  tables->fromWide[0x20AC] = 0x80;
  tables->fromWide[0xF8F5] = 0xFF;
  return tables;
}

const Cp936Tables& Tables() {
  static const std::unique_ptr<Cp936Tables> tables = BuildCp936Tables();
  return *tables;
}

// Collects output: counts every unit and stores while there is room.
template <class Unit>
class Sink {
 public:
  Sink(Unit* out, int outSize) : out_(out), capacity_(outSize > 0 ? outSize : 0) {}
  void Put(Unit u) {
    if (count_ < capacity_) out_[count_] = u;
    ++count_;
  }
  template <class Source>
  void PutRun(const Source* in, size_t n) {
    for (size_t k = 0; k < n; ++k) Put(static_cast<Unit>(in[k]));
  }
  // The result of the conversion: the units needed when only asked for the
  // size, else the units written, 0 when they did not fit or were too many.
  int Result(bool sizeOnly) const {
    if (count_ > INT_MAX) return 0;
    if (!sizeOnly && count_ > capacity_) return 0;
    return static_cast<int>(count_);
  }

 private:
  Unit* out_;
  int64_t capacity_;
  int64_t count_ = 0;
};

// Stores every unit: for an output that is known to have room for the most a
// conversion can give, so that no unit needs a check.
template <class Unit>
class RoomySink {
 public:
  explicit RoomySink(Unit* out) : out_(out) {}
  void Put(Unit u) { out_[count_++] = u; }
  template <class Source>
  void PutRun(const Source* in, size_t n) {
    Unit* out = out_ + count_;
    size_t k = 0;
    if constexpr (sizeof(Source) == sizeof(Unit)) {
      std::memcpy(out, in, n * sizeof(Unit));
      k = n;
    } else if constexpr (sizeof(Source) == 1 && sizeof(Unit) == 2 &&
                         std::endian::native == std::endian::little) {
      // Eight bytes at a time, each spread into the low half of a unit.
      for (; k + 8 <= n; k += 8) {
        uint64_t bytes;
        std::memcpy(&bytes, in + k, sizeof bytes);
        const uint64_t units[2] = {Spread(bytes & 0xFFFFFFFF), Spread(bytes >> 32)};
        std::memcpy(out + k, units, sizeof units);
      }
    }
    for (; k < n; ++k) out[k] = static_cast<Unit>(in[k]);
    count_ += static_cast<int64_t>(n);
  }
  int Result(bool) const { return count_ > INT_MAX ? 0 : static_cast<int>(count_); }

 private:
  // Four bytes, 0xDDCCBBAA, as the four units 0x00DD00CC00BB00AA.
  static uint64_t Spread(uint64_t x) {
    x = (x | x << 16) & 0x0000FFFF0000FFFFULL;
    return (x | x << 8) & 0x00FF00FF00FF00FFULL;
  }

  Unit* out_;
  int64_t count_ = 0;
};

// The length of the run of ASCII characters (below 128) at the start of `in`,
// looked at eight at a time: pages are mostly markup.
template <class Source>
size_t AsciiRun(const Source* in, size_t length) {
  size_t n = 0;
  if constexpr (sizeof(Source) == 1) {
    while (n + 8 <= length) {
      uint64_t word;
      std::memcpy(&word, in + n, sizeof word);
      if ((word & 0x8080808080808080ULL) != 0) break;
      n += 8;
    }
  }
  while (n < length && static_cast<uint32_t>(in[n]) < 0x80) ++n;
  return n;
}

template <class UnitSink>
void DecodeCp936(const unsigned char* in, size_t length, UnitSink& sink) {
  const Cp936Tables& tables = Tables();
  size_t i = 0;
  while (i < length) {
    const unsigned char b = in[i];
    if (b < 0x80) {
      const size_t run = AsciiRun(in + i, length - i);
      sink.PutRun(in + i, run);
      i += run;
    } else if (b - 0x81u < 0x7Eu && i + 1 < length && in[i + 1] != 0) {
      // A run of double-byte characters, the bulk of a page in Chinese.
      do {
        const char16_t unit = tables.toWide[in[i] << 8 | in[i + 1]];
        sink.Put(unit != 0 ? unit : kDefaultChar);
        i += 2;
      } while (i + 1 < length && in[i] - 0x81u < 0x7Eu && in[i + 1] != 0);
    } else if (b == 0x80) {
      sink.Put(0x20AC);
      ++i;
    } else if (b == 0xFF) {
      sink.Put(0xF8F5);
      ++i;
    } else {
      // A lead byte at the end, or before a NUL.
      sink.Put(kDefaultChar);
      ++i;
    }
  }
}

template <class UnitSink>
void DecodeUtf8(const unsigned char* in, size_t length, UnitSink& sink) {
  size_t i = 0;
  while (i < length) {
    const unsigned char b = in[i];
    if (b < 0x80) {
      const size_t run = AsciiRun(in + i, length - i);
      sink.PutRun(in + i, run);
      i += run;
      continue;
    }
    // The common case of a page in Chinese: a well-formed three-byte
    // character that is no surrogate (E0 needs A0 ... BF next, ED 80 ... 9F).
    if (b >= 0xE1 && b <= 0xEF && b != 0xED && i + 2 < length && (in[i + 1] & 0xC0) == 0x80 &&
        (in[i + 2] & 0xC0) == 0x80) {
      sink.Put(static_cast<char16_t>((b & 0x0F) << 12 | (in[i + 1] & 0x3F) << 6 |
                                     (in[i + 2] & 0x3F)));
      i += 3;
      continue;
    }
    // The number of trail bytes and the range allowed for the first of them,
    // which rules out overlong forms, surrogates and values above U+10FFFF.
    int trails = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    uint32_t value = 0;
    if (b >= 0xC2 && b <= 0xDF) {
      trails = 1;
      value = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
      trails = 2;
      value = b & 0x0F;
      if (b == 0xE0) low = 0xA0;
      if (b == 0xED) high = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
      trails = 3;
      value = b & 0x07;
      if (b == 0xF0) low = 0x90;
      if (b == 0xF4) high = 0x8F;
    } else {
      sink.Put(kReplacement);
      ++i;
      continue;
    }
    size_t j = i + 1;
    int taken = 0;
    while (taken < trails && j < length && in[j] >= low && in[j] <= high) {
      value = value << 6 | (in[j] & 0x3F);
      ++j;
      ++taken;
      low = 0x80;
      high = 0xBF;
    }
    i = j;
    if (taken < trails) {
      sink.Put(kReplacement);
    } else if (value >= 0x10000) {
      value -= 0x10000;
      sink.Put(static_cast<char16_t>(0xD800 | (value >> 10)));
      sink.Put(static_cast<char16_t>(0xDC00 | (value & 0x3FF)));
    } else {
      sink.Put(static_cast<char16_t>(value));
    }
  }
}

// Takes UTF-16 units and hands their code page 936 bytes on to a byte sink:
// decoding UTF-8 into it converts straight from UTF-8 to code page 936.
template <class ByteSink>
class Cp936Encoder {
 public:
  explicit Cp936Encoder(ByteSink& bytes) : bytes_(bytes), fromWide_(Tables().fromWide) {}
  void Put(char16_t unit) {
    const uint16_t code = fromWide_[unit];
    if (code >= 0x100) {
      bytes_.Put(static_cast<char>(code >> 8));
      bytes_.Put(static_cast<char>(code & 0xFF));
    } else if (code != 0 || unit == 0) {
      bytes_.Put(static_cast<char>(code));
    } else {
      bytes_.Put(static_cast<char>(kDefaultChar));
    }
  }
  // Units or bytes below 0x80, which stand for themselves.
  template <class Source>
  void PutRun(const Source* in, size_t n) {
    bytes_.PutRun(in, n);
  }

 private:
  ByteSink& bytes_;
  const uint16_t* fromWide_;
};

template <class ByteSink>
void EncodeCp936(const char16_t* in, size_t length, ByteSink& sink) {
  Cp936Encoder<ByteSink> encoder(sink);
  for (size_t i = 0; i < length;) {
    if (in[i] < 0x80) {
      const size_t run = AsciiRun(in + i, length - i);
      encoder.PutRun(in + i, run);
      i += run;
    } else {
      encoder.Put(in[i]);
      ++i;
    }
  }
}

void EncodeUtf8(const char16_t* in, size_t length, Sink<char>& sink) {
  for (size_t i = 0; i < length; ++i) {
    uint32_t value = in[i];
    if (value >= 0xD800 && value <= 0xDBFF && i + 1 < length && in[i + 1] >= 0xDC00 &&
        in[i + 1] <= 0xDFFF) {
      value = 0x10000 + ((value - 0xD800) << 10) + (in[i + 1] - 0xDC00);
      ++i;
    } else if (value >= 0xD800 && value <= 0xDFFF) {
      value = kReplacement;
    }
    if (value < 0x80) {
      sink.Put(static_cast<char>(value));
    } else if (value < 0x800) {
      sink.Put(static_cast<char>(0xC0 | (value >> 6)));
      sink.Put(static_cast<char>(0x80 | (value & 0x3F)));
    } else if (value < 0x10000) {
      sink.Put(static_cast<char>(0xE0 | (value >> 12)));
      sink.Put(static_cast<char>(0x80 | ((value >> 6) & 0x3F)));
      sink.Put(static_cast<char>(0x80 | (value & 0x3F)));
    } else {
      sink.Put(static_cast<char>(0xF0 | (value >> 18)));
      sink.Put(static_cast<char>(0x80 | ((value >> 12) & 0x3F)));
      sink.Put(static_cast<char>(0x80 | ((value >> 6) & 0x3F)));
      sink.Put(static_cast<char>(0x80 | (value & 0x3F)));
    }
  }
}

// The checks both functions share: the program passes flags 0, and no other
// flag is supported here.
bool ArgumentsValid(unsigned long flags, const void* input, int length, const void* out,
                    int outSize) {
  return flags == 0 && input != nullptr && length != 0 && length >= -1 && outSize >= 0 &&
         (outSize == 0 || out != nullptr);
}

}  // namespace

int MultiByteToWideChar(unsigned codePage, unsigned long flags, const char* text, int length,
                        char16_t* out, int outSize) {
  if (!ArgumentsValid(flags, text, length, out, outSize)) return 0;
  const size_t n = length == -1 ? std::strlen(text) + 1 : static_cast<size_t>(length);
  const auto* in = reinterpret_cast<const unsigned char*>(text);
  if (codePage != kChineseCodePage && codePage != kAnsiCodePage && codePage != kUtf8CodePage) {
    return 0;
  }
  const bool utf8 = codePage == kUtf8CodePage;
  // No byte gives more than one unit, so an output of `n` units has room for all.
  if (static_cast<size_t>(outSize) >= n) {
    RoomySink<char16_t> sink(out);
    utf8 ? DecodeUtf8(in, n, sink) : DecodeCp936(in, n, sink);
    return sink.Result(false);
  }
  Sink<char16_t> sink(out, outSize);
  utf8 ? DecodeUtf8(in, n, sink) : DecodeCp936(in, n, sink);
  return sink.Result(outSize == 0);
}

int WideCharToMultiByte(unsigned codePage, unsigned long flags, const char16_t* wide, int length,
                        char* out, int outSize) {
  if (!ArgumentsValid(flags, wide, length, out, outSize)) return 0;
  size_t n = static_cast<size_t>(length);
  if (length == -1) {
    n = 0;
    while (wide[n] != 0) ++n;
    ++n;
  }
  const bool cp936 = codePage == kChineseCodePage || codePage == kAnsiCodePage;
  // No unit takes more than two bytes in code page 936.
  if (cp936 && static_cast<size_t>(outSize) >= 2 * n) {
    RoomySink<char> sink(out);
    EncodeCp936(wide, n, sink);
    return sink.Result(false);
  }
  Sink<char> sink(out, outSize);
  if (cp936) {
    EncodeCp936(wide, n, sink);
  } else if (codePage == kUtf8CodePage) {
    EncodeUtf8(wide, n, sink);
  } else {
    return 0;
  }
  return sink.Result(outSize == 0);
}

int Utf8ToCodePage936(const char* text, int length, char* out, int outSize) {
  if (!ArgumentsValid(0, text, length, out, outSize) || length < 0) return 0;
  const auto* in = reinterpret_cast<const unsigned char*>(text);
  const size_t n = static_cast<size_t>(length);
  // No input gives more bytes than it has.
  if (static_cast<size_t>(outSize) >= n) {
    RoomySink<char> sink(out);
    Cp936Encoder<RoomySink<char>> encoder(sink);
    DecodeUtf8(in, n, encoder);
    return sink.Result(false);
  }
  Sink<char> sink(out, outSize);
  Cp936Encoder<Sink<char>> encoder(sink);
  DecodeUtf8(in, n, encoder);
  return sink.Result(outSize == 0);
}

}  // namespace quorvel
