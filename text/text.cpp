#include "text/text.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <utility>

#include "text/fatal_error.h"

namespace quorvel {

namespace {

constexpr size_t kMaxLength = static_cast<size_t>(std::numeric_limits<int32_t>::max());

// A length that a signed 32-bit count cannot hold is treated like memory that
// cannot be had: the value cannot exist.
void CheckLength(size_t length) {
  if (length > kMaxLength) FatalError("a value longer than 2147483647 bytes cannot be made");
}

}  // namespace

Text::Text(const char* s) {
  if (s != nullptr) {
    CheckLength(std::strlen(s));
    bytes_.assign(s);
  }
}

Text::Text(std::string_view bytes) : bytes_(bytes.substr(0, bytes.find('\0'))) {
  CheckLength(bytes_.size());
}

Text::Text(std::string&& bytes) : bytes_(std::move(bytes)) {
  const size_t zero = bytes_.find('\0');
  if (zero != std::string::npos) bytes_.resize(zero);
  CheckLength(bytes_.size());
}

Text& Text::operator+=(const Text& more) {
  CheckLength(bytes_.size() + more.bytes_.size());
  bytes_ += more.bytes_;
  return *this;
}

Bytes::Bytes(std::vector<unsigned char> data) : data_(std::move(data)) {
  CheckLength(data_.size());
}

Bytes::Bytes(const void* data, int32_t length) {
  if (data != nullptr && length > 0) {
    const auto* p = static_cast<const unsigned char*>(data);
    data_.assign(p, p + length);
  }
}

namespace {

void CheckIndex(int32_t i, int32_t count) {
  if (i < 1 || i > count) {
    FatalError(ConcatText({"array index ", Text(std::to_string(i)),
                           " is outside 1 ... ", Text(std::to_string(count))}));
  }
}

}  // namespace

const Text& TextArray::operator[](int32_t i) const {
  CheckIndex(i, ElementCount());
  return elements_[static_cast<size_t>(i) - 1];
}

Text& TextArray::operator[](int32_t i) {
  CheckIndex(i, ElementCount());
  return elements_[static_cast<size_t>(i) - 1];
}

int CompareText(const Text& a, const Text& b) {
  // std::string compares as unsigned char through char_traits<char>::compare.
  const int c = a.bytes().compare(b.bytes());
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

Text ConcatText(std::initializer_list<Text> parts) {
  size_t total = 0;
  for (const Text& t : parts) total += t.bytes().size();
  CheckLength(total);
  std::string joined;
  joined.reserve(total);
  for (const Text& t : parts) joined += t.bytes();
  return Text(std::move(joined));
}

bool CompareBytes(const Bytes& a, const Bytes& b) { return a.data() == b.data(); }

Bytes ConcatBytes(std::initializer_list<Bytes> parts) {
  size_t total = 0;
  for (const Bytes& b : parts) total += b.data().size();
  CheckLength(total);
  std::vector<unsigned char> joined;
  joined.reserve(total);
  for (const Bytes& b : parts) joined.insert(joined.end(), b.data().begin(), b.data().end());
  return Bytes(std::move(joined));
}

void AppendElement(TextArray& array, Text t) {
  CheckLength(array.elements_.size() + 1);
  array.elements_.push_back(std::move(t));
}

void ResizeArray(TextArray& array, bool keepContents, int32_t count) {
  if (count < 0) {
    FatalError(ConcatText({"array size ", Text(std::to_string(count)), " is below 0"}));
  }
  if (!keepContents) array.elements_.clear();
  array.elements_.resize(static_cast<size_t>(count));
}

int64_t TruncateToInteger(double x) {
  // Outside this range the conversion would be undefined behaviour.
  if (!(x > -9223372036854775808.0 && x < 9223372036854775808.0)) return 0;
  return static_cast<int64_t>(std::trunc(x));
}

int32_t TruncateToInt32(double x) {
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(TruncateToInteger(x))));
}

}  // namespace quorvel
