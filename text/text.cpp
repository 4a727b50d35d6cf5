#include "text/text.h"

#include <cmath>
#include <cstring>

#include "text/fatal_error.h"

namespace quorvel {

Text::Text(const char* s) {
  if (s != nullptr) bytes_.assign(s);
}

Text::Text(std::string_view bytes) : bytes_(bytes.substr(0, bytes.find('\0'))) {}

Bytes::Bytes(std::vector<unsigned char> data) : data_(std::move(data)) {}

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
  std::string joined;
  joined.reserve(total);
  for (const Text& t : parts) joined += t.bytes();
  return Text(joined);
}

bool CompareBytes(const Bytes& a, const Bytes& b) { return a.data() == b.data(); }

Bytes ConcatBytes(std::initializer_list<Bytes> parts) {
  std::vector<unsigned char> joined;
  for (const Bytes& b : parts) joined.insert(joined.end(), b.data().begin(), b.data().end());
  return Bytes(std::move(joined));
}

void AppendElement(TextArray& array, const Text& t) { array.elements_.push_back(t); }

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
