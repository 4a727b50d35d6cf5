// WebRequest() against a request object that records every call made on it.
#include "web/web_request.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "text/code_page_conversion.h"
#include "text/text_commands.h"

namespace quorvel {
namespace {

using Log = std::vector<std::string>;

std::string Quoted(const std::u16string& s) { return "\"" + FromAutomationString(s).bytes() + "\""; }

std::string Hex(const Bytes& b) {
  static const char kDigits[] = "0123456789abcdef";
  std::string out;
  for (unsigned char c : b.data()) {
    out += kDigits[c >> 4];
    out += kDigits[c & 15];
  }
  return out;
}

struct Response {
  Bytes body;
  std::u16string headers;
  double status = 0;
};

class RecordingRequest final : public HttpRequest {
 public:
  RecordingRequest(Log* log, Response response) : log_(log), response_(std::move(response)) {}
  ~RecordingRequest() override { log_->push_back("Release"); }

  bool SetTimeouts(int32_t r, int32_t c, int32_t s, int32_t v) override {
    return Record("SetTimeouts(" + std::to_string(r) + "," + std::to_string(c) + "," +
                  std::to_string(s) + "," + std::to_string(v) + ")");
  }
  bool SetProxy(int32_t setting, const std::u16string& proxy) override {
    return Record("SetProxy(" + std::to_string(setting) + "," + Quoted(proxy) + ")");
  }
  bool Open(const std::u16string& verb, const std::u16string& url, bool async) override {
    return Record("Open(" + Quoted(verb) + "," + Quoted(url) + "," + (async ? "true" : "false") +
                  ")");
  }
  bool PutOption(int32_t index, int32_t value) override {
    return Record("Option(" + std::to_string(index) + ")=" + std::to_string(value));
  }
  bool SetRequestHeader(const std::u16string& name, const std::u16string& value) override {
    return Record("SetRequestHeader(" + Quoted(name) + "," + Quoted(value) + ")");
  }
  bool Send(const std::u16string& body) override { return Record("Send(text " + Quoted(body) + ")"); }
  bool Send(const Bytes& body) override { return Record("Send(bytes " + Hex(body) + ")"); }
  Bytes ResponseBody() override {
    Record("ResponseBody");
    return response_.body;
  }
  std::u16string GetAllResponseHeaders() override {
    Record("GetAllResponseHeaders");
    return response_.headers;
  }
  double Status() override {
    Record("Status");
    return response_.status;
  }

 private:
  bool Record(const std::string& call) {
    log_->push_back(call);
    return true;
  }
  Log* log_;
  Response response_;
};

class RecordingProvider final : public HttpRequestProvider {
 public:
  void CoInitialize() override {
    log.push_back("CoInitialize");
    ++depth;
  }
  void CoUninitialize() override {
    log.push_back("CoUninitialize");
    --depth;
  }
  std::shared_ptr<HttpRequest> CreateObject(const Text& progId) override {
    log.push_back("CreateObject(" + progId.bytes() + ")");
    if (failCreation) return nullptr;
    return std::make_shared<RecordingRequest>(&log, response);
  }

  Log log;
  int depth = 0;
  bool failCreation = false;
  Response response;
};

const char kUrl[] = "http://example.test/list?id=1";
const char kUserAgent[] =
    "SetRequestHeader(\"User-Agent\",\"Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)\")";

WebRequestParams Params() {
  WebRequestParams p;
  p.url = kUrl;
  return p;
}

// The caller's variables behind the in/out and out parameters.
struct CallerVariables {
  Text cookies;
  Text returnedCookies;
  Text headers;
  Text returnedHeaders;
  int32_t status = 0;

  WebRequestParams WiredParams() {
    WebRequestParams p = Params();
    p.cookies = &cookies;
    p.returnedCookies = &returnedCookies;
    p.headers = &headers;
    p.returnedHeaders = &returnedHeaders;
    p.statusCode = &status;
    return p;
  }
};

Log HeaderCalls(const Log& log) {
  Log out;
  for (const std::string& call : log) {
    if (call.rfind("SetRequestHeader", 0) == 0) out.push_back(call);
  }
  return out;
}

bool Contains(const Log& log, const std::string& prefix) {
  for (const std::string& call : log) {
    if (call.rfind(prefix, 0) == 0) return true;
  }
  return false;
}

TEST(WebRequestTest, PollCycleCallMakesExactlyTheseCalls) {
  RecordingProvider provider;
  provider.response = {Bytes{'o', 'k'}, u"Content-Length: 2\r\n\r\n", 200};
  Text cookies;
  WebRequestParams p = Params();
  p.method = 0;
  p.cookies = &cookies;
  const Bytes body = WebRequest(provider, p);

  const Log want = {
      "CoInitialize",
      "CreateObject(WinHttp.WinHttpRequest.5.1)",
      "SetTimeouts(15000,15000,15000,15000)",
      "Open(\"GET\",\"http://example.test/list?id=1\",false)",
      "Option(4)=13056",
      "SetRequestHeader(\"Cookie\",\"\")",
      "SetRequestHeader(\"Accept\",\"*/*\")",
      "SetRequestHeader(\"Referer\",\"http://example.test/list?id=1\")",
      "SetRequestHeader(\"Accept-Language\",\"zh-cn\")",
      kUserAgent,
      "Send(text \"\")",
      "ResponseBody",
      "GetAllResponseHeaders",
      "Status",
      "Release",
      "CoUninitialize",
  };
  EXPECT_EQ(provider.log, want);
  EXPECT_EQ(body, (Bytes{'o', 'k'}));
  EXPECT_EQ(provider.depth, 0);
  EXPECT_EQ(cookies, Text(""));
}

TEST(WebRequestTest, OutParametersReceiveHeadersStatusAndCookies) {
  RecordingProvider provider;
  provider.response = {Bytes{1, 0, 2},
                       u"Set-Cookie: a=9; Path=/\r\nX: y\r\nSet-Cookie: c=3\r\n\r\n", 302.9};
  CallerVariables v{"a=1; b=2", "old", "", "old", -7};
  WebRequestParams p = v.WiredParams();
  Text& cookies = v.cookies;
  Text& returnedCookies = v.returnedCookies;

  EXPECT_EQ(WebRequest(provider, p), (Bytes{1, 0, 2}));
  EXPECT_EQ(v.returnedHeaders, Text("Set-Cookie: a=9; Path=/\r\nX: y\r\nSet-Cookie: c=3\r\n\r\n"));
  EXPECT_EQ(v.status, 302);
  EXPECT_EQ(returnedCookies, Text("a=9; c=3; b=2"));
  EXPECT_EQ(cookies, Text("a=9; c=3; b=2"));
  EXPECT_EQ(v.headers, Text("Accept: */*\r\nReferer: http://example.test/list?id=1\r\n"
                          "Accept-Language: zh-cn\r\n"
                          "User-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)"));

  // Without merging the collected cookies come back alone, the sent ones stay.
  RecordingProvider plain;
  plain.response = provider.response;
  cookies = "a=1; b=2";
  p.mergeWithSent = false;
  WebRequest(plain, p);
  EXPECT_EQ(returnedCookies, Text("a=9; c=3"));
  EXPECT_EQ(cookies, Text("a=1; b=2"));

  // Cookies not given: no Cookie header and no merging, whatever mergeWithSent says.
  RecordingProvider none;
  none.response = provider.response;
  p.cookies = nullptr;
  p.mergeWithSent = true;
  WebRequest(none, p);
  EXPECT_FALSE(Contains(none.log, "SetRequestHeader(\"Cookie\""));
  EXPECT_EQ(returnedCookies, Text("a=9; c=3"));
}

TEST(WebRequestTest, MethodOutsideTheTableIsGet) {
  struct {
    int32_t method;
    const char* verb;
    bool contentType;
  } cases[] = {
      {-1, "GET", false},   {0, "GET", false},     {1, "POST", true},    {2, "HEAD", false},
      {3, "PUT", false},    {4, "OPTIONS", false}, {5, "DELETE", false}, {6, "TRACE", false},
      {7, "CONNECT", false}, {8, "GET", false},    {INT32_MIN, "GET", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.method);
    RecordingProvider provider;
    WebRequestParams p = Params();
    p.method = c.method;
    WebRequest(provider, p);
    EXPECT_TRUE(Contains(provider.log, std::string("Open(\"") + c.verb + "\","));
    EXPECT_EQ(Contains(provider.log,
                       "SetRequestHeader(\"Content-Type\",\"application/x-www-form-urlencoded\")"),
              c.contentType);
  }
}

TEST(WebRequestTest, TimeoutRules) {
  struct {
    int32_t seconds;
    const char* want;  // null: no SetTimeouts call
  } cases[] = {
      {0, "SetTimeouts(15000,15000,15000,15000)"},
      {1, "SetTimeouts(1000,1000,1000,1000)"},
      {2, "SetTimeouts(2000,2000,2000,2000)"},
      {-1, nullptr},
      {-5, "SetTimeouts(15000,15000,15000,15000)"},
      {2147483, "SetTimeouts(2147483000,2147483000,2147483000,2147483000)"},
      // Beyond a 32-bit count of milliseconds: the longest wait, not a wrapped one.
      {3000000, "SetTimeouts(2147483647,2147483647,2147483647,2147483647)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.seconds);
    RecordingProvider provider;
    WebRequestParams p = Params();
    p.timeoutSeconds = c.seconds;
    WebRequest(provider, p);
    if (c.want == nullptr) {
      EXPECT_FALSE(Contains(provider.log, "SetTimeouts"));
    } else {
      ASSERT_GE(provider.log.size(), 3u);
      EXPECT_EQ(provider.log[2], c.want);
    }
  }
}

TEST(WebRequestTest, DefaultLinesAreSuppressedByTheirKeyAnywhereIgnoringCase) {
  struct {
    const char* block;
    Log wantHeaders;
    const char* wantBlock;
  } cases[] = {
      {"accept: text/html",
       {"SetRequestHeader(\"Accept\",\"text/html\")",
        "SetRequestHeader(\"Referer\",\"http://example.test/list?id=1\")",
        "SetRequestHeader(\"Accept-Language\",\"zh-cn\")", kUserAgent},
       "Accept: text/html\r\nReferer: http://example.test/list?id=1\r\nAccept-Language: zh-cn\r\n"
       "User-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)"},
      // The key inside a value suppresses its default line too.
      {"X-Note: see referer: here\r\nUSER-AGENT: me",
       {"SetRequestHeader(\"X-Note\",\"see referer: here\")",
        "SetRequestHeader(\"USER-AGENT\",\"me\")", "SetRequestHeader(\"Accept\",\"*/*\")",
        "SetRequestHeader(\"Accept-Language\",\"zh-cn\")"},
       "X-Note: see referer: here\r\nUSER-AGENT: me\r\nAccept: */*\r\nAccept-Language: zh-cn"},
      // "Accept-Language:" holds no "Accept:", so Accept is still added.
      {"accept-language: en",
       {"SetRequestHeader(\"Accept-Language\",\"en\")", "SetRequestHeader(\"Accept\",\"*/*\")",
        "SetRequestHeader(\"Referer\",\"http://example.test/list?id=1\")", kUserAgent},
       "Accept-Language: en\r\nAccept: */*\r\nReferer: http://example.test/list?id=1\r\n"
       "User-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.block);
    RecordingProvider provider;
    Text headers = c.block;
    WebRequestParams p = Params();
    p.headers = &headers;
    WebRequest(provider, p);
    EXPECT_EQ(HeaderCalls(provider.log), c.wantHeaders);
    EXPECT_EQ(headers, Text(c.wantBlock));
  }
}

TEST(WebRequestTest, CompletionAndCapitalisationCanBeTurnedOff) {
  {
    RecordingProvider provider;
    Text headers = "x-a: 1\r\nno colon";
    WebRequestParams p = Params();
    p.headers = &headers;
    p.completeHeaderBlock = false;
    WebRequest(provider, p);
    EXPECT_EQ(HeaderCalls(provider.log), Log({"SetRequestHeader(\"X-A\",\"1\")"}));
    EXPECT_EQ(headers, Text("X-A: 1"));
  }
  {
    // Uncapitalised, the block keeps its line without a colon, which is then
    // sent with an empty name and value.
    RecordingProvider provider;
    Text headers = "x-a: 1\r\nno colon";
    WebRequestParams p = Params();
    p.headers = &headers;
    p.capitalizeHeaderNames = false;
    p.method = 1;
    WebRequest(provider, p);
    const Log want = {
        "SetRequestHeader(\"x-a\",\"1\")",
        "SetRequestHeader(\"\",\"\")",
        "SetRequestHeader(\"Accept\",\"*/*\")",
        "SetRequestHeader(\"Referer\",\"http://example.test/list?id=1\")",
        "SetRequestHeader(\"Accept-Language\",\"zh-cn\")",
        kUserAgent,
        "SetRequestHeader(\"Content-Type\",\"application/x-www-form-urlencoded\")",
    };
    EXPECT_EQ(HeaderCalls(provider.log), want);
    EXPECT_EQ(TextLeft(headers, 10), Text("x-a: 1\r\nno"));
  }
  {
    RecordingProvider provider;
    Text headers;
    WebRequestParams p = Params();
    p.headers = &headers;
    p.completeHeaderBlock = false;
    p.capitalizeHeaderNames = false;
    WebRequest(provider, p);
    EXPECT_TRUE(HeaderCalls(provider.log).empty());
    EXPECT_EQ(headers, Text(""));
  }
}

TEST(WebRequestTest, CookieRules) {
  struct {
    const char* cookies;
    bool merge;
    const char* wantSent;
    const char* wantAfter;
  } cases[] = {
      {"", false, "", ""},
      {"Cookie: a=1", false, " a=1", " a=1"},
      {"Cookie: a=1", true, " a=1", "a=1"},
      {"cookie:a=1; COOKIE: b=2", false, "a=1;  b=2", "a=1;  b=2"},
      {"a=1; b=2", false, "a=1; b=2", "a=1; b=2"},
      // A trailing line break is not trimmed: it reaches the request object.
      {"a=1\r\n", false, "a=1\r\n", "a=1\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.cookies);
    RecordingProvider provider;
    Text cookies = c.cookies;
    WebRequestParams p = Params();
    p.cookies = &cookies;
    p.mergeWithSent = c.merge;
    WebRequest(provider, p);
    const Log headers = HeaderCalls(provider.log);
    ASSERT_FALSE(headers.empty());
    EXPECT_EQ(headers[0], std::string("SetRequestHeader(\"Cookie\",\"") + c.wantSent + "\")");
    EXPECT_EQ(cookies, Text(c.wantAfter));
  }

  // The server's cookie of the same name wins over the sent one.
  RecordingProvider provider;
  provider.response.headers = u"Set-Cookie: a=2\r\n\r\n";
  Text cookies = "Cookie: a=1; b=1";
  WebRequestParams p = Params();
  p.cookies = &cookies;
  WebRequest(provider, p);
  EXPECT_EQ(cookies, Text("a=2; b=1"));
}

TEST(WebRequestTest, CookieLineOfTheBlockIsSetAfterTheCookieHeader) {
  RecordingProvider provider;
  Text cookies = "a=1";
  Text headers = "cookie: z=9";
  WebRequestParams p = Params();
  p.cookies = &cookies;
  p.headers = &headers;
  p.completeHeaderBlock = false;
  WebRequest(provider, p);
  EXPECT_EQ(HeaderCalls(provider.log),
            Log({"SetRequestHeader(\"Cookie\",\"a=1\")", "SetRequestHeader(\"Cookie\",\"z=9\")"}));
}

TEST(WebRequestTest, ConnectionKeepAliveIsSkippedOnlyExactlyAndOnlyAmongSeveralLines) {
  struct {
    const char* block;
    Log want;
  } cases[] = {
      {"Host: x\r\nConnection: keep-alive", {"SetRequestHeader(\"Host\",\"x\")"}},
      {"Host: x\r\nConnection: Keep-Alive",
       {"SetRequestHeader(\"Host\",\"x\")", "SetRequestHeader(\"Connection\",\"Keep-Alive\")"}},
      {"Connection: keep-alive", {"SetRequestHeader(\"Connection\",\"keep-alive\")"}},
      {"Connection:keep-alive\r\n", {}},
      {"Host: x\r\n\r\n Connection : keep-alive ", {"SetRequestHeader(\"Host\",\"x\")"}},
      {"Host: x\r\nconnection: keep-alive",
       {"SetRequestHeader(\"Host\",\"x\")", "SetRequestHeader(\"connection\",\"keep-alive\")"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.block);
    RecordingProvider provider;
    Text headers = c.block;
    WebRequestParams p = Params();
    p.headers = &headers;
    p.completeHeaderBlock = false;
    p.capitalizeHeaderNames = false;
    WebRequest(provider, p);
    EXPECT_EQ(HeaderCalls(provider.log), c.want);
  }
}

TEST(WebRequestTest, ProxyAuthorizationOnlyWithProxyUserAndMode1) {
  struct {
    const char* proxy;
    const char* user;
    const char* password;
    std::optional<int32_t> mode;
    const char* want;  // the Proxy-Authorization value, or null for none
  } cases[] = {
      {"127.0.0.1:3128", "user", "pass", std::nullopt, "Basic dXNlcjpwYXNz"},
      {"127.0.0.1:3128", "user", "pass", 1, "Basic dXNlcjpwYXNz"},
      {"127.0.0.1:3128", "user", "", std::nullopt, "Basic dXNlcjo="},
      {"127.0.0.1:3128", "\xD6\xD0", "p", std::nullopt, "Basic 1tA6cA=="},  // 中, code page 936 bytes
      {"127.0.0.1:3128", "user", "pass", 0, nullptr},
      {"127.0.0.1:3128", "user", "pass", 2, nullptr},
      {"127.0.0.1:3128", "", "pass", std::nullopt, nullptr},
      {"", "user", "pass", std::nullopt, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.proxy) + " " + c.user);
    RecordingProvider provider;
    Text cookies = "a=1";
    WebRequestParams p = Params();
    p.cookies = &cookies;
    p.proxy = c.proxy;
    p.proxyUser = c.user;
    p.proxyPassword = c.password;
    p.proxyAuthMode = c.mode;
    WebRequest(provider, p);
    EXPECT_EQ(Contains(provider.log, "SetProxy(2,\"127.0.0.1:3128\")"), *c.proxy != '\0');
    const Log headers = HeaderCalls(provider.log);
    if (c.want == nullptr) {
      EXPECT_FALSE(Contains(headers, "SetRequestHeader(\"Proxy-Authorization\""));
    } else {
      ASSERT_GE(headers.size(), 2u);
      EXPECT_EQ(headers[0], std::string("SetRequestHeader(\"Proxy-Authorization\",\"") + c.want + "\")");
      EXPECT_EQ(headers[1], "SetRequestHeader(\"Cookie\",\"a=1\")");
    }
  }
}

TEST(WebRequestTest, ProxyAndOptionsComeInTheirOrder) {
  RecordingProvider provider;
  WebRequestParams p = Params();
  p.proxy = "127.0.0.1:3128";
  p.noRedirect = true;
  p.timeoutSeconds = -1;
  p.completeHeaderBlock = false;
  WebRequest(provider, p);
  const Log want = {
      "CoInitialize",
      "CreateObject(WinHttp.WinHttpRequest.5.1)",
      "SetProxy(2,\"127.0.0.1:3128\")",
      "Open(\"GET\",\"http://example.test/list?id=1\",false)",
      "Option(6)=0",
      "Option(4)=13056",
      "Send(text \"\")",
      "ResponseBody",
      "GetAllResponseHeaders",
      "Status",
      "Release",
      "CoUninitialize",
  };
  EXPECT_EQ(provider.log, want);

  RecordingProvider redirects;
  p.noRedirect = false;
  WebRequest(redirects, p);
  EXPECT_FALSE(Contains(redirects.log, "Option(6)"));
}

TEST(WebRequestTest, BytesWinOverText) {
  struct {
    Bytes bytes;
    const char* text;
    const char* want;
  } cases[] = {
      {Bytes{0, 1, 255}, "x=1", "Send(bytes 0001ff)"},
      {Bytes{}, "x=1", "Send(text \"x=1\")"},
      {Bytes{0}, "", "Send(bytes 00)"},
      {Bytes{}, "", "Send(text \"\")"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.want);
    RecordingProvider provider;
    WebRequestParams p = Params();
    p.method = 1;
    p.postBytes = c.bytes;
    p.postText = c.text;
    WebRequest(provider, p);
    EXPECT_TRUE(Contains(provider.log, c.want));
  }
}

TEST(WebRequestTest, CreationFailureLeavesEverythingAsItWas) {
  RecordingProvider provider;
  provider.failCreation = true;
  CallerVariables v{"Cookie: a=1", "rc", "accept: x", "rh", 77};
  EXPECT_TRUE(WebRequest(provider, v.WiredParams()).empty());
  EXPECT_EQ(provider.log,
            Log({"CoInitialize", "CreateObject(WinHttp.WinHttpRequest.5.1)", "CoUninitialize"}));
  EXPECT_EQ(provider.depth, 0);
  EXPECT_EQ(v.cookies, Text("Cookie: a=1"));
  EXPECT_EQ(v.returnedCookies, Text("rc"));
  EXPECT_EQ(v.headers, Text("accept: x"));
  EXPECT_EQ(v.returnedHeaders, Text("rh"));
  EXPECT_EQ(v.status, 77);
}

TEST(WebRequestTest, FailedRequestGivesEmptyResultsAndTheMergedSentCookies) {
  RecordingProvider provider;  // the object answers nothing: empty body and headers, status 0
  CallerVariables v{"b=2;", "stale", "", "stale", 99};
  EXPECT_TRUE(WebRequest(provider, v.WiredParams()).empty());
  EXPECT_EQ(v.returnedHeaders, Text(""));
  EXPECT_EQ(v.status, 0);
  EXPECT_EQ(v.returnedCookies, Text("b=2"));
  EXPECT_EQ(v.cookies, Text("b=2"));
  EXPECT_EQ(provider.depth, 0);
}

TEST(WebRequestTest, GivenObjectIsUsedAndStaysTheCallers) {
  RecordingProvider provider;
  Log objectLog;
  auto object = std::make_shared<RecordingRequest>(&objectLog, Response{Bytes{7}, u"", 200});
  WebRequestParams p = Params();
  p.requestObject = object;
  EXPECT_EQ(WebRequest(provider, p), (Bytes{7}));
  EXPECT_EQ(provider.log, Log({"CoInitialize", "CoUninitialize"}));
  EXPECT_TRUE(Contains(objectLog, "Open("));
  EXPECT_FALSE(Contains(objectLog, "Release"));
  EXPECT_EQ(object.use_count(), 2);  // ours and the one in `p`
  EXPECT_EQ(object->ResponseBody(), (Bytes{7}));
}

}  // namespace
}  // namespace quorvel
