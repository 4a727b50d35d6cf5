// The response cookie routines: the pairs collected from Set-Cookie lines,
// line by line as a plain model does it, and the properties of a merge (the
// server's items first, deleted names gone, sent names kept, no repeats).
#include <cstddef>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "fuzz/reference_text.h"
#include "web/response_cookies.h"

namespace quorvel {
namespace {

using reference::Find;
using reference::Split;
using reference::Trim;

// The value one header line contributes, or nothing when it is no Set-Cookie line.
std::optional<std::string> CollectedValue(const std::string& line) {
  const int64_t separator = Find(line, ": ", std::nullopt, false);
  if (separator == -1 || line.substr(0, static_cast<size_t>(separator - 1)) != "Set-Cookie") {
    return std::nullopt;
  }
  if (Find(line, ";", std::nullopt, false) == -1) {
    return Trim(reference::Replace(line, "Set-Cookie:", "", std::nullopt, std::nullopt, false));
  }
  // The line begins with "Set-Cookie", so the left delimiter is found at its
  // start; the value runs to the first ";" after it.
  const size_t from = std::string("Set-Cookie:").size();
  const int64_t semicolon = Find(line, ";", static_cast<int32_t>(from + 1), false);
  if (semicolon == -1) return std::string();
  return Trim(line.substr(from, static_cast<size_t>(semicolon - 1) - from));
}

std::string Collected(const std::string& headers) {
  std::vector<std::string> values;
  for (const std::string& line : Split(headers, "\r\n", std::nullopt)) {
    if (std::optional<std::string> value = CollectedValue(line)) values.push_back(*value);
  }
  return reference::Join(values, "; ");
}

std::string Tidy(const std::string& cookies) {
  std::string tidy = Trim(cookies);
  if (!tidy.empty() && tidy.back() == ';') tidy += ' ';
  return tidy;
}

std::string NameOf(const std::string& item) {
  const int64_t equals = Find(item, "=", std::nullopt, false);
  return Trim(equals == -1 ? item : item.substr(0, static_cast<size_t>(equals - 1)));
}

bool IsDeleted(const std::string& item) {
  const std::string marker = "=deleted";
  return item.size() >= marker.size() && item.compare(item.size() - marker.size(), marker.size(),
                                                      marker) == 0;
}

bool EndsInLoneLeadByte(const std::string& t) {
  const std::vector<std::string> chars = reference::Characters(t);
  return !chars.empty() && chars.back().size() == 1 && reference::IsLead(chars.back()[0]);
}

void CheckMerge(const Text& sentIn, const Text& returnedIn) {
  Text sent = sentIn;
  Text returned = returnedIn;
  const Text merged = MergeCookies(sent, returned);
  FUZZ_CHECK(fuzz::HoldsNoZeroByte(merged));
  FUZZ_CHECK(sent == merged);
  FUZZ_CHECK(returned.bytes() == Tidy(returnedIn.bytes()));

  // A lead byte at the very end of one text would take the "; " after it as
  // part of a character once the items are joined: no text of the program
  // ends that way, and the item properties below do not apply to it.
  if (EndsInLoneLeadByte(Tidy(sentIn.bytes())) || EndsInLoneLeadByte(Tidy(returnedIn.bytes()))) {
    return;
  }
  const std::vector<std::string> items = Split(merged.bytes(), "; ", std::nullopt);
  const std::vector<std::string> returnedItems = Split(Tidy(returnedIn.bytes()), "; ", std::nullopt);
  const std::vector<std::string> sentItems = Split(Tidy(sentIn.bytes()), "; ", std::nullopt);
  std::set<std::string> seen;
  for (const std::string& item : items) {
    FUZZ_CHECK(seen.insert(item).second);  // no exact repeats
    FUZZ_CHECK(!IsDeleted(item));
  }
  std::set<std::string> returnedNames;
  for (const std::string& item : returnedItems) {
    returnedNames.insert(NameOf(item));
    if (!IsDeleted(item) && !item.empty()) FUZZ_CHECK(seen.count(item) == 1);
  }
  std::set<std::string> sentNames;
  for (const std::string& item : sentItems) {
    const std::string name = NameOf(item);
    // The first sent item of a name the server did not set survives. (An
    // empty item may vanish: as the last item it is the empty rest that a
    // split drops.)
    if (returnedNames.count(name) == 0 && sentNames.insert(name).second && !IsDeleted(item) &&
        !item.empty()) {
      FUZZ_CHECK(seen.count(item) == 1);
    }
  }
  for (const std::string& item : items) {
    bool known = false;
    for (const std::string& r : returnedItems) known = known || r == item;
    for (const std::string& s : sentItems) known = known || s == item;
    FUZZ_CHECK(known);
  }
}

}  // namespace
}  // namespace quorvel

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quorvel;
  FuzzedDataProvider input(data, size);
  const Text first = fuzz::ConsumeText(input);
  const Text second = fuzz::ConsumeText(input);

  const Text collected = CollectSetCookies(first);
  FUZZ_CHECK(fuzz::HoldsNoZeroByte(collected));
  FUZZ_CHECK(collected.bytes() == Collected(first.bytes()));

  CheckMerge(second, first);
  CheckMerge(second, collected);

  const Text name = CookieName(first);
  FUZZ_CHECK(name.bytes() == NameOf(first.bytes()));
  return 0;
}
