#include "platform/win32/http_request_winhttp.h"

#include "text/code_page_conversion.h"

namespace quorvel {

namespace {

// Whether each CoInitialize() of this thread succeeded, innermost last.
thread_local std::vector<bool> initializations;

// Drops a leading status line ("HTTP/1.1 200 OK" and its CR LF).
std::u16string WithoutStatusLine(std::u16string headers) {
  if (headers.compare(0, 5, u"HTTP/") != 0) return headers;
  const size_t end = headers.find(u"\r\n");
  return end == std::u16string::npos ? std::u16string() : headers.substr(end + 2);
}

}  // namespace

bool HttpRequestWinHttp::SetTimeouts(int32_t resolveMs, int32_t connectMs, int32_t sendMs,
                                     int32_t receiveMs) {
  return SUCCEEDED(CallMethod(request_.get(), L"SetTimeouts",
                              {Variant(resolveMs), Variant(connectMs), Variant(sendMs),
                               Variant(receiveMs)},
                              nullptr));
}

bool HttpRequestWinHttp::SetProxy(int32_t setting, const std::u16string& proxy) {
  return SUCCEEDED(
      CallMethod(request_.get(), L"SetProxy", {Variant(setting), Variant(proxy)}, nullptr));
}

bool HttpRequestWinHttp::Open(const std::u16string& verb, const std::u16string& url, bool async) {
  return SUCCEEDED(CallMethod(request_.get(), L"Open", {Variant(verb), Variant(url), Variant(async)},
                              nullptr));
}

bool HttpRequestWinHttp::PutOption(int32_t index, int32_t value) {
  return SUCCEEDED(PutMember(request_.get(), L"Option", {Variant(index)}, Variant(value)));
}

bool HttpRequestWinHttp::SetRequestHeader(const std::u16string& name,
                                          const std::u16string& value) {
  // Windows refuses such a header itself; Wine's component would send the
  // text after the line break as header lines of their own.
  const std::u16string lineBreaks(u"\r\n\0", 3);
  if (name.find_first_of(lineBreaks) != std::u16string::npos ||
      value.find_first_of(lineBreaks) != std::u16string::npos) {
    return false;
  }
  return SUCCEEDED(CallMethod(request_.get(), L"SetRequestHeader", {Variant(name), Variant(value)},
                              nullptr));
}

bool HttpRequestWinHttp::Send(const std::u16string& body) {
  return SUCCEEDED(CallMethod(request_.get(), L"Send", {Variant(body)}, nullptr));
}

bool HttpRequestWinHttp::Send(const Bytes& body) {
  return SUCCEEDED(CallMethod(request_.get(), L"Send", {Variant::FromBytes(body)}, nullptr));
}

Bytes HttpRequestWinHttp::ResponseBody() {
  Variant body;
  GetMember(request_.get(), L"ResponseBody", {}, &body);
  return body.ToBytes();
}

std::u16string HttpRequestWinHttp::GetAllResponseHeaders() {
  Variant headers;
  GetMember(request_.get(), L"GetAllResponseHeaders", {}, &headers);
  return WithoutStatusLine(headers.ToU16String());
}

double HttpRequestWinHttp::Status() {
  Variant status;
  GetMember(request_.get(), L"Status", {}, &status);
  return status.ToDouble();
}

void HttpRequestProviderWinHttp::CoInitialize() {
  initializations.push_back(SUCCEEDED(::CoInitialize(nullptr)));
}

void HttpRequestProviderWinHttp::CoUninitialize() {
  if (initializations.empty()) return;
  const bool succeeded = initializations.back();
  initializations.pop_back();
  if (succeeded) ::CoUninitialize();
}

std::shared_ptr<HttpRequest> HttpRequestProviderWinHttp::CreateObject(const Text& progId) {
  ComPtr<IDispatch> request = quorvel::CreateObject(ToAutomationString(progId));
  if (!request) return nullptr;
  return std::make_shared<HttpRequestWinHttp>(std::move(request));
}

}  // namespace quorvel
