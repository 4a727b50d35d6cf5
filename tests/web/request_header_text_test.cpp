#include "web/request_header_text.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

TEST(CapitalizeFirstTest, UpperCasesOnlyAnAsciiFirstByte) {
  struct {
    const char* in;
    const char* want;
  } cases[] = {
      {"", ""},
      {"a", "A"},
      {"accept", "Accept"},
      {"Accept", "Accept"},
      {"aCCEPT", "ACCEPT"},
      {"-a", "-a"},
      {" a", " a"},
      {"\xD6\xD0" "a", "\xD6\xD0" "a"},  // 中a
      {"\x81" "a", "\x81" "a"},          // a lead byte with a letter as its second byte
      {"z", "Z"},
      {"{", "{"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(CapitalizeFirst(c.in), Text(c.want));
  }
}

TEST(NormalizeHeaderNamesTest, CapitalisesNamesAndDropsLinesWithoutColon) {
  struct {
    const char* in;
    const char* want;
  } cases[] = {
      {"", ""},
      {"\r\n", ""},
      {"Host", ""},
      {"Host\r\nno colon here\r\n\r\n", ""},
      {"\r\nAccept: */*\r\nreferer: x\r\n", "Accept: */*\r\nReferer: x"},
      {"content-type: text/html", "Content-Type: text/html"},
      {"x-REQUESTED-with:1", "X-REQUESTED-With:1"},
      {"ACCEPT: */*", "ACCEPT: */*"},
      {"user-agent :x", "User-Agent :x"},
      {" accept: x", " accept: x"},  // the leading space is the first byte
      {": v", ": v"},
      {"a--b: v", "A--B: v"},
      {"a-: v", "A-: v"},
      {"-a: v", "-A: v"},
      {"a-b-c: d-e", "A-B-C: d-e"},  // only the name is touched
      {"x: a:b\r\nHost\r\ny: 2", "X: a:b\r\nY: 2"},
      {"a:1\r\n\r\nb:2", "A:1\r\nB:2"},
      {"a\r\nb:1", "B:1"},
      {"x-\xD6\xD0-y: 1", "X-\xD6\xD0-Y: 1"},  // x-中-y
      {"accept:\r", "Accept:\r"},              // a lone CR stays in the line
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(NormalizeHeaderNames(c.in), Text(c.want));
  }
}

TEST(HeaderNameAndValueTest, CutAtTheFirstColonAndTrim) {
  struct {
    const char* line;
    const char* name;
    const char* value;
  } cases[] = {
      {"", "", ""},
      {"Host", "", ""},
      {" Content-Type : a:b ", "Content-Type", "a:b"},
      {"Accept:\t*/*", "Accept", "\t*/*"},
      {"Referer: http://h:8080/p?t=12:30", "Referer", "http://h:8080/p?t=12:30"},
      {":value", "", "value"},
      {"name:", "name", ""},
      {"\xA1\xA1name\xA1\xA1:\xA1\xA1v\xA1\xA1", "name", "v"},  // full-width spaces
      {"\tname\t: v", "\tname\t", "v"},
      {"Cookie: a=1\r", "Cookie", "a=1\r"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(HeaderName(c.line), Text(c.name));
    EXPECT_EQ(HeaderValue(c.line), Text(c.value));
  }
}

TEST(RequestHeaderTextTest, NeverChangesItsArgument) {
  const Text block("accept: x\r\nHost");
  const Text copy = block;
  NormalizeHeaderNames(block);
  HeaderName(block);
  HeaderValue(block);
  CapitalizeFirst(block);
  EXPECT_EQ(block, copy);
}

}  // namespace
}  // namespace quorvel
