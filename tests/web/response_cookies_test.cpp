#include "web/response_cookies.h"

#include <gtest/gtest.h>

#include <string>

namespace quorvel {
namespace {

TEST(CollectSetCookiesTest, TakesTheNameValuePairOfEachSetCookieLine) {
  struct {
    const char* headers;
    const char* want;
  } cases[] = {
      {"", ""},
      {"Content-Type: text/html\r\nContent-Length: 3\r\n\r\n", ""},
      {"Set-Cookie: a=1", "a=1"},
      {"Set-Cookie: a=1\r\n", "a=1"},
      {"Set-Cookie: a=1; Path=/; Secure\r\nSet-Cookie: b=2\r\n\r\n", "a=1; b=2"},
      {"set-cookie: a=1\r\nSet-Cookie:a=1\r\nSET-COOKIE: c=3", ""},
      {"Set-Cookie: ; x\r\nSet-Cookie: b=2", "; b=2"},
      {"Set-Cookie: a=1;\r\n", "a=1"},
      {"Set-Cookie:  spaced=1 ;Path=/", "spaced=1"},
      {"Date: x\r\nSet-Cookie: sid=\xD6\xD0; HttpOnly\r\nServer: y", "sid=\xD6\xD0"},  // 中
      {"X-Set-Cookie: a=1\r\nSet-Cookie2: b=2", ""},
      {"Set-Cookie: a=Set-Cookie:b", "a=b"},  // every occurrence goes, case-insensitively
      {"Set-Cookie: ", ""},
      // A line that only starts like a header: its first ": " decides.
      {"Set-Cookie: x: y; z", "x: y"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.headers);
    EXPECT_EQ(CollectSetCookies(c.headers), Text(c.want));
  }
}

TEST(MergeCookiesTest, ServerCookiesFirstThenUnmentionedSentOnes) {
  struct {
    const char* sent;
    const char* returned;
    const char* want;
    const char* returnedAfter;
  } cases[] = {
      {"", "", "", ""},
      {"a=1; b=2", "b=3", "b=3; a=1", "b=3"},
      {"a=1; b=2", "a=deleted", "b=2", "a=deleted"},
      {"", "x=1", "x=1", "x=1"},
      {"a=1;", "", "a=1", ""},
      {"a=1; a=2", "", "a=1", ""},
      {"a=1", "a=1", "a=1", "a=1"},
      {"", "a=1; a=1", "a=1", "a=1; a=1"},
      {"A=1", "a=2", "a=2; A=1", "a=2"},
      {"  a=1; b=2  ", " c=3; ", "c=3; a=1; b=2", "c=3; "},
      {"a=1", "b=2;", "b=2; a=1", "b=2; "},
      {" a =1", "a=2", "a=2", "a=2"},  // names compare after trimming
      {"flag; a=1", "flag", "flag; a=1", "flag"},
      {"a=1; b=deleted", "", "a=1", ""},  // a sent item ending in =deleted goes too
      {"s=\xD6\xD0", "t=1", "t=1; s=\xD6\xD0", "t=1"},  // 中
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.sent) + " | " + c.returned);
    Text sent(c.sent);
    Text returned(c.returned);
    const Text merged = MergeCookies(sent, returned);
    EXPECT_EQ(merged, Text(c.want));
    EXPECT_EQ(sent, Text(c.want));
    EXPECT_EQ(returned, Text(c.returnedAfter));
  }
}

TEST(CookieNameTest, TextBeforeTheFirstEqualsSignTrimmed) {
  struct {
    const char* item;
    const char* want;
  } cases[] = {
      {"", ""},           {"a=1", "a"},       {" sid =1", "sid"}, {"flag", "flag"},
      {" flag ", "flag"}, {"=v", ""},         {"a=b=c", "a"},     {"\tx=1", "\tx"},
      {"\xA1\xA1k\xA1\xA1=v", "k"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.item);
    EXPECT_EQ(CookieName(c.item), Text(c.want));
  }
}

TEST(HasCookieNamedTest, ComparesNamesExactly) {
  const TextArray items{"a=1", " b =2", "flag"};
  struct {
    const char* name;
    bool want;
  } cases[] = {
      {"a", true}, {"b", true}, {"flag", true}, {"A", false}, {"c", false}, {"", false}, {"a=1", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(HasCookieNamed(items, c.name), c.want);
  }
  EXPECT_FALSE(HasCookieNamed(TextArray{}, ""));
  EXPECT_TRUE(HasCookieNamed(TextArray{"=x"}, ""));
}

}  // namespace
}  // namespace quorvel
