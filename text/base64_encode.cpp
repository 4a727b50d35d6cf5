#include "text/base64_encode.h"

#include <string>
#include <utility>
#include <vector>

namespace quorvel {

namespace {

const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

}  // namespace

Text Base64Encode(const Bytes& data) {
  const std::vector<unsigned char>& in = data.data();
  const size_t n = in.size();
  if (n == 0) return Text();
  std::string out;
  out.reserve((n + 2) / 3 * 4);
  size_t i = 0;
  for (; i + 3 <= n; i += 3) {
    const unsigned b1 = in[i], b2 = in[i + 1], b3 = in[i + 2];
    out.push_back(kAlphabet[b1 >> 2]);
    out.push_back(kAlphabet[((b1 & 3u) << 4) | (b2 >> 4)]);
    out.push_back(kAlphabet[((b2 & 15u) << 2) | (b3 >> 6)]);
    out.push_back(kAlphabet[b3 & 63u]);
  }
  // The last one or two bytes, as if followed by zero bytes, then padding.
  const size_t rest = n - i;
  if (rest > 0) {
    const unsigned b1 = in[i];
    const unsigned b2 = rest == 2 ? in[i + 1] : 0u;
    out.push_back(kAlphabet[b1 >> 2]);
    out.push_back(kAlphabet[((b1 & 3u) << 4) | (b2 >> 4)]);
    out.push_back(rest == 2 ? kAlphabet[(b2 & 15u) << 2] : '=');
    out.push_back('=');
  }
  return Text(std::move(out));
}

}  // namespace quorvel
