// The three values every routine of the program is written against.
//
// Text is a byte string in code page 936. It can never hold a zero byte: every
// way of making one stops at the first zero byte, so a Text read from the
// network ends where a C string would. A missing Text and the empty Text are
// the same value. Lengths and positions count bytes; positions are 1-based.
// A byte of 128 or more and the byte after it form one double-byte character.
//
// Bytes is a sequence of arbitrary bytes, zero bytes included, with a signed
// 32-bit length. A missing Bytes equals the empty one.
//
// Lengths are signed 32-bit counts, so a Text or Bytes value of more than
// 2147483647 bytes cannot exist: making one is a FatalError(), as when memory
// for it cannot be had.
//
// TextArray is a one-dimensional array of Text numbered from 1. Reading or
// writing an element outside 1 ... ElementCount() ends the program through
// FatalError().
//
// Source files are UTF-8, so a code page 936 literal is written as escaped
// bytes with its characters in a comment:
//   const Text kStart("\xBF\xAA\xCA\xBC\xBC\xEC\xB2\xE2");  // 开始检测
#ifndef QUORVEL_TEXT_TEXT_H_
#define QUORVEL_TEXT_TEXT_H_

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

class Text {
 public:
  Text() = default;
  // Takes the bytes up to the first zero byte; a null pointer is the empty text.
  Text(const char* s);  // NOLINT(google-explicit-constructor): literals read naturally
  // Takes the bytes up to the first zero byte of `bytes`.
  explicit Text(std::string_view bytes);
  // The same, keeping the storage of `bytes`.
  explicit Text(std::string&& bytes);

  // The bytes without a terminator; never holds a zero byte.
  const std::string& bytes() const { return bytes_; }
  const char* c_str() const { return bytes_.c_str(); }
  int32_t length() const { return static_cast<int32_t>(bytes_.size()); }
  bool empty() const { return bytes_.empty(); }
  // The byte at the 0-based offset `i`, read as unsigned; `i` must be in range.
  unsigned char at(int32_t i) const { return static_cast<unsigned char>(bytes_[i]); }

  // A text longer than 2147483647 bytes cannot be made: FatalError().
  Text& operator+=(const Text& more);
  friend bool operator==(const Text& a, const Text& b) { return a.bytes_ == b.bytes_; }
  friend bool operator!=(const Text& a, const Text& b) { return a.bytes_ != b.bytes_; }

 private:
  std::string bytes_;
};

class Bytes {
 public:
  Bytes() = default;
  explicit Bytes(std::vector<unsigned char> data);
  Bytes(std::initializer_list<unsigned char> data) : data_(data) {}
  Bytes(const void* data, int32_t length);

  const std::vector<unsigned char>& data() const { return data_; }
  std::vector<unsigned char>& data() { return data_; }
  int32_t length() const { return static_cast<int32_t>(data_.size()); }
  bool empty() const { return data_.empty(); }

  friend bool operator==(const Bytes& a, const Bytes& b) { return a.data_ == b.data_; }
  friend bool operator!=(const Bytes& a, const Bytes& b) { return a.data_ != b.data_; }

 private:
  std::vector<unsigned char> data_;
};

class TextArray {
 public:
  TextArray() = default;
  TextArray(std::initializer_list<Text> elements) : elements_(elements) {}

  int32_t ElementCount() const { return static_cast<int32_t>(elements_.size()); }
  // Element `i`, 1-based. An index outside 1 ... ElementCount() is a FatalError.
  const Text& operator[](int32_t i) const;
  Text& operator[](int32_t i);

  friend bool operator==(const TextArray& a, const TextArray& b) {
    return a.elements_ == b.elements_;
  }

 private:
  friend void AppendElement(TextArray& array, Text t);
  friend void ResizeArray(TextArray& array, bool keepContents, int32_t count);
  std::vector<Text> elements_;
};

// Support operations.

// CompareText() compares byte by byte as unsigned values: -1 when `a` sorts
// first, 1 when `b` does, 0 when equal. No case folding.
//   CompareText("abc", "abd") == -1
//   CompareText("", Text()) == 0
int CompareText(const Text& a, const Text& b);

// ConcatText() joins the texts in order; missing ones add nothing.
//   ConcatText({"a", Text(), "bc"}) == "abc"
Text ConcatText(std::initializer_list<Text> parts);

// CompareBytes() is true when both hold the same bytes; missing equals empty.
//   CompareBytes(Bytes(), Bytes{}) == true
//   CompareBytes(Bytes{0}, Bytes{}) == false
bool CompareBytes(const Bytes& a, const Bytes& b);

// ConcatBytes() joins the byte sequences in order; zero bytes are kept.
//   ConcatBytes({Bytes{1, 0}, Bytes(), Bytes{2}}) == Bytes{1, 0, 2}
Bytes ConcatBytes(std::initializer_list<Bytes> parts);

// ElementCount() is the number of elements of the array.
inline int32_t ElementCount(const TextArray& array) { return array.ElementCount(); }

// AppendElement() adds a copy of `t` as the new last element.
void AppendElement(TextArray& array, Text t);

// ResizeArray() gives the array `count` elements. With `keepContents` the first
// min(old, count) elements stay and added ones are empty; without it every
// element is empty. A count below 0 is a FatalError.
void ResizeArray(TextArray& array, bool keepContents, int32_t count);

// TruncateToInteger() drops the fraction toward zero. A value outside the
// 64-bit range, or NaN, has no integer to give and gives 0.
//   TruncateToInteger(2.7) == 2
//   TruncateToInteger(-2.7) == -2
//   TruncateToInteger(1e300) == 0
int64_t TruncateToInteger(double x);

// TruncateToInt32() is the low 32 bits of TruncateToInteger(x), as a 32-bit
// variable receives it.
//   TruncateToInt32(4294967297.0) == 1
int32_t TruncateToInt32(double x);

}  // namespace quorvel

#endif  // QUORVEL_TEXT_TEXT_H_
