#include "web/web_request.h"

#include <cstdint>
#include <optional>

#include "text/base64_encode.h"
#include "text/code_page_conversion.h"
#include "text/find_text.h"
#include "text/replace_subtext.h"
#include "text/split_text.h"
#include "text/text_commands.h"
#include "web/request_header_text.h"
#include "web/response_cookies.h"

namespace quorvel {

namespace {

const char* const kVerbs[] = {"GET", "POST", "HEAD", "PUT", "OPTIONS", "DELETE", "TRACE", "CONNECT"};
constexpr int32_t kPost = 1;
constexpr int32_t kDefaultTimeoutMs = 15000;
constexpr int32_t kProxySettingProxy = 2;
constexpr int32_t kOptionSslErrorIgnoreFlags = 4;
constexpr int32_t kOptionEnableRedirects = 6;
// Unknown certificate authority, wrong usage, invalid common name, invalid date.
constexpr int32_t kIgnoredCertificateErrors = 0x0100 | 0x0200 | 0x1000 | 0x2000;

struct DefaultHeaderLine {
  const char* key;
  const char* line;
  bool postOnly;
};

const DefaultHeaderLine kDefaultHeaderLines[] = {
    {"Accept:", "\r\nAccept: */*", false},
    {"Referer:", "\r\nReferer: ", false},  // followed by the address
    {"Accept-Language:", "\r\nAccept-Language: zh-cn", false},
    {"User-Agent:", "\r\nUser-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)", false},
    {"Content-Type:", "\r\nContent-Type: application/x-www-form-urlencoded", true},
};

// The time-out for all four phases, in milliseconds. A number of seconds too
// large for a 32-bit count of milliseconds waits as long as one can.
int32_t TimeoutMilliseconds(int32_t timeoutSeconds) {
  if (timeoutSeconds < 1) return kDefaultTimeoutMs;
  const int64_t ms = TruncateToInteger(timeoutSeconds * 1000.0);
  return ms > INT32_MAX ? INT32_MAX : static_cast<int32_t>(ms);
}

// Appends each default line whose key the block lacks; the check for each key
// sees the lines appended before it.
Text CompleteHeaderBlock(Text block, const Text& url, int32_t method) {
  for (const DefaultHeaderLine& d : kDefaultHeaderLines) {
    if (d.postOnly && method != kPost) continue;
    if (FindText(block, d.key, std::nullopt, true) != -1) continue;
    block += d.line;
    if (CompareText(d.key, "Referer:") == 0) block += url;
  }
  return block;
}

void SetHeader(HttpRequest& request, const Text& name, const Text& value) {
  request.SetRequestHeader(ToAutomationString(name), ToAutomationString(value));
}

// Sends every line of the block as a header of its own. In a block of several
// lines, Connection: keep-alive (exactly so) is left to the component.
void SetHeaderLines(HttpRequest& request, const Text& block) {
  if (FindText(block, "\r\n") == -1) {
    if (!block.empty()) SetHeader(request, HeaderName(block), HeaderValue(block));
    return;
  }
  const TextArray lines = SplitText(block, "\r\n");
  for (int32_t i = 1; i <= lines.ElementCount(); ++i) {
    const Text& line = lines[i];
    if (line.empty()) continue;
    const Text name = HeaderName(line);
    const Text value = HeaderValue(line);
    if (CompareText(name, "Connection") == 0 && CompareText(value, "keep-alive") == 0) continue;
    SetHeader(request, name, value);
  }
}

}  // namespace

Bytes WebRequest(HttpRequestProvider& provider, const WebRequestParams& params) {
  const bool mergeWithSent = params.mergeWithSent.value_or(true);
  const bool completeHeaderBlock = params.completeHeaderBlock.value_or(true);
  const bool capitalizeHeaderNames = params.capitalizeHeaderNames.value_or(true);

  provider.CoInitialize();

  int32_t method = params.method.value_or(0);
  if (method < 0 || method > 7) method = 0;
  const Text verb = kVerbs[method];

  // Our own reference: a given object stays the caller's and usable after the call.
  std::shared_ptr<HttpRequest> request = params.requestObject;
  if (request == nullptr) request = provider.CreateObject("WinHttp.WinHttpRequest.5.1");
  if (request == nullptr) {
    provider.CoUninitialize();
    return Bytes();
  }

  if (params.timeoutSeconds != -1) {
    const int32_t ms = TimeoutMilliseconds(params.timeoutSeconds);
    request->SetTimeouts(ms, ms, ms, ms);
  }
  if (!params.proxy.empty()) request->SetProxy(kProxySettingProxy, ToAutomationString(params.proxy));
  request->Open(ToAutomationString(verb), ToAutomationString(params.url), false);
  if (params.noRedirect) request->PutOption(kOptionEnableRedirects, 0);
  request->PutOption(kOptionSslErrorIgnoreFlags, kIgnoredCertificateErrors);

  Text block = params.headers != nullptr ? *params.headers : Text();
  if (completeHeaderBlock) {
    block = CompleteHeaderBlock(block, params.url, method);
    if (params.headers != nullptr) *params.headers = block;
  }
  if (capitalizeHeaderNames) {
    block = NormalizeHeaderNames(block);
    if (params.headers != nullptr) *params.headers = block;
  }

  if (!params.proxy.empty() && !params.proxyUser.empty() && params.proxyAuthMode.value_or(1) == 1) {
    const Text credentials = ConcatText({params.proxyUser, ":", params.proxyPassword});
    SetHeader(*request, "Proxy-Authorization",
              ConcatText({"Basic ", Base64Encode(TextToBytes(credentials))}));
  }

  if (params.cookies != nullptr) {
    Text& cookies = *params.cookies;
    if (!cookies.empty() && FindText(cookies, "Cookie:", std::nullopt, true) != -1) {
      cookies = ReplaceSubtext(cookies, "Cookie:", Text(), std::nullopt, std::nullopt, false);
    }
    SetHeader(*request, "Cookie", cookies);
  }

  SetHeaderLines(*request, block);

  if (!CompareBytes(params.postBytes, Bytes())) {
    request->Send(params.postBytes);
  } else {
    request->Send(ToAutomationString(params.postText));
  }

  const Bytes body = request->ResponseBody();
  const Text returnedHeaders = FromAutomationString(request->GetAllResponseHeaders());
  if (params.returnedHeaders != nullptr) *params.returnedHeaders = returnedHeaders;
  const int32_t statusCode = TruncateToInt32(request->Status());
  if (params.statusCode != nullptr) *params.statusCode = statusCode;

  Text returnedCookies = CollectSetCookies(returnedHeaders);
  if (mergeWithSent && params.cookies != nullptr) {
    returnedCookies = MergeCookies(*params.cookies, returnedCookies);
  }
  if (params.returnedCookies != nullptr) *params.returnedCookies = returnedCookies;

  request.reset();
  provider.CoUninitialize();
  return body;
}

}  // namespace quorvel
