// The request header text routines against a plain model: a block keeps its
// lines that hold a colon, each with its name capitalised at the start and
// after every dash, and one line cuts into a trimmed name and value.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "fuzz/reference_text.h"
#include "web/request_header_text.h"

namespace quorvel {
namespace {

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

// The name with its first byte and each byte after a "-" character upper-cased.
std::string CapitalizedName(const std::string& name) {
  std::string out;
  bool atPartStart = true;
  for (const std::string& c : reference::Characters(name)) {
    out += atPartStart ? std::string(1, Upper(c[0])) + c.substr(1) : c;
    atPartStart = c == "-";
  }
  return out;
}

std::string NormalizedBlock(const std::string& block) {
  std::vector<std::string> lines;
  for (const std::string& line : reference::Split(block, "\r\n", std::nullopt)) {
    const int64_t colon = reference::Find(line, ":", std::nullopt, false);
    if (colon == -1) continue;
    const size_t nameLength = static_cast<size_t>(colon - 1);
    lines.push_back(CapitalizedName(line.substr(0, nameLength)) + line.substr(nameLength));
  }
  return reference::Join(lines, "\r\n");
}

}  // namespace
}  // namespace quorvel

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quorvel;
  FuzzedDataProvider input(data, size);
  const Text block = fuzz::ConsumeText(input);

  const Text normalized = NormalizeHeaderNames(block);
  FUZZ_CHECK(fuzz::HoldsNoZeroByte(normalized));
  FUZZ_CHECK(normalized.bytes() == NormalizedBlock(block.bytes()));
  FUZZ_CHECK(normalized.length() <= block.length());
  FUZZ_CHECK(NormalizeHeaderNames(normalized) == normalized);

  const Text first = CapitalizeFirst(block);
  FUZZ_CHECK(first.length() == block.length());
  if (!block.empty()) {
    FUZZ_CHECK(first.bytes().substr(1) == block.bytes().substr(1));
    FUZZ_CHECK(first.at(0) == static_cast<unsigned char>(Upper(block.bytes()[0])));
  }

  const std::string& line = block.bytes();
  const int64_t colon = reference::Find(line, ":", std::nullopt, false);
  const Text name = HeaderName(block);
  const Text value = HeaderValue(block);
  if (colon == -1) {
    FUZZ_CHECK(name.empty() && value.empty());
  } else {
    const size_t at = static_cast<size_t>(colon - 1);
    FUZZ_CHECK(name.bytes() == reference::Trim(line.substr(0, at)));
    FUZZ_CHECK(value.bytes() == reference::Trim(line.substr(at + 1)));
  }
  return 0;
}
