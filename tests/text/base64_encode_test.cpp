#include "text/base64_encode.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "text/text_commands.h"

namespace quorvel {
namespace {

TEST(Base64EncodeTest, Rfc4648Vectors) {
  struct {
    const char* in;
    std::string want;
  } cases[] = {
      {"", ""},
      {"f", "Zg=="},
      {"fo", "Zm8="},
      {"foo", "Zm9v"},
      {"foob", "Zm9vYg=="},
      {"fooba", "Zm9vYmE="},
      {"foobar", "Zm9vYmFy"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(Base64Encode(TextToBytes(c.in)).bytes(), c.want);
  }
}

TEST(Base64EncodeTest, Edges) {
  struct {
    Bytes in;
    std::string want;
  } cases[] = {
      {Bytes(), ""},
      {Bytes{0}, "AA=="},
      {Bytes{0, 0}, "AAA="},
      {Bytes{0, 0, 0}, "AAAA"},
      {Bytes{0, 0, 0, 0}, "AAAAAA=="},
      {Bytes{255, 255, 255}, "////"},  // bytes of 128 and above are unsigned
      {Bytes{0xFB, 0xFF}, "+/8="},
      {Bytes{128}, "gA=="},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.want);
    EXPECT_EQ(Base64Encode(c.in).bytes(), c.want);
  }
  // The proxy credentials the web request sends.
  EXPECT_EQ(Base64Encode(TextToBytes("Aladdin:open sesame")).bytes(), "QWxhZGRpbjpvcGVuIHNlc2FtZQ==");
}

// A second encoder of a different make: it feeds the bits into an
// accumulator and takes six at a time.
std::string ReferenceBase64(const std::vector<unsigned char>& in) {
  static const char kAlphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  uint32_t bits = 0;
  int count = 0;
  for (unsigned char b : in) {
    bits = (bits << 8) | b;
    count += 8;
    while (count >= 6) {
      count -= 6;
      out.push_back(kAlphabet[(bits >> count) & 63u]);
    }
    bits &= (1u << count) - 1u;
  }
  if (count > 0) out.push_back(kAlphabet[(bits << (6 - count)) & 63u]);
  while (out.size() % 4 != 0) out.push_back('=');
  return out;
}

TEST(Base64EncodeTest, AgreesWithAnIndependentEncoder) {
  std::mt19937 random(20240611);
  std::uniform_int_distribution<int> byte(0, 255);
  for (int length = 0; length <= 300; ++length) {
    for (int round = 0; round < 4; ++round) {
      std::vector<unsigned char> data(static_cast<size_t>(length));
      for (auto& b : data) b = static_cast<unsigned char>(byte(random));
      SCOPED_TRACE("length " + std::to_string(length));
      const Text encoded = Base64Encode(Bytes(data));
      ASSERT_EQ(encoded.bytes(), ReferenceBase64(data));
      ASSERT_EQ(static_cast<size_t>(encoded.length()), (data.size() + 2) / 3 * 4);
    }
  }
}

TEST(Base64EncodeTest, LongInputIsOneUnbrokenLine) {
  std::vector<unsigned char> data(100000);
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<unsigned char>(i * 7);
  const Text encoded = Base64Encode(Bytes(data));
  EXPECT_EQ(encoded.bytes().find_first_of("\r\n"), std::string::npos);
  EXPECT_EQ(encoded.length(), 133336);
  EXPECT_EQ(encoded.bytes(), ReferenceBase64(data));
}

}  // namespace
}  // namespace quorvel
