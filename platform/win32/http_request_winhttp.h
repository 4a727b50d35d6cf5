// HttpRequestWinHttp: the HTTP request object on Windows, the system's
// "WinHttp.WinHttpRequest.5.1" component driven by late binding. Every member
// is called by its own name through IDispatch; a failed call yields false or
// the empty value.
//
// A header name or value holding CR, LF or NUL is refused here, before the
// component sees it: Windows would refuse it too, but Wine's component sends
// what follows a line break as header lines of their own.
//
// GetAllResponseHeaders() is read as a property get that falls back to a
// method call. Some implementations of the component (Wine's) begin the text
// with the status line; it is dropped here, so that every backend gives the
// header lines alone, each ended by CR LF, as the component documents.
#ifndef QUORVEL_PLATFORM_WIN32_HTTP_REQUEST_WINHTTP_H_
#define QUORVEL_PLATFORM_WIN32_HTTP_REQUEST_WINHTTP_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/win32/automation.h"
#include "web/http_request.h"

namespace quorvel {

class HttpRequestWinHttp final : public HttpRequest {
 public:
  // Holds `request` and the reference that comes with it.
  explicit HttpRequestWinHttp(ComPtr<IDispatch> request) : request_(std::move(request)) {}

  bool SetTimeouts(int32_t resolveMs, int32_t connectMs, int32_t sendMs,
                   int32_t receiveMs) override;
  bool SetProxy(int32_t setting, const std::u16string& proxy) override;
  bool Open(const std::u16string& verb, const std::u16string& url, bool async) override;
  bool PutOption(int32_t index, int32_t value) override;
  bool SetRequestHeader(const std::u16string& name, const std::u16string& value) override;
  bool Send(const std::u16string& body) override;
  bool Send(const Bytes& body) override;
  Bytes ResponseBody() override;
  std::u16string GetAllResponseHeaders() override;
  double Status() override;

 private:
  ComPtr<IDispatch> request_;
};

// Enters and leaves the real automation runtime and creates components by
// ProgID. A CoInitialize() that failed is not balanced by CoUninitialize():
// the matching CoUninitialize() call does nothing.
class HttpRequestProviderWinHttp final : public HttpRequestProvider {
 public:
  void CoInitialize() override;
  void CoUninitialize() override;
  std::shared_ptr<HttpRequest> CreateObject(const Text& progId) override;
};

}  // namespace quorvel

#endif  // QUORVEL_PLATFORM_WIN32_HTTP_REQUEST_WINHTTP_H_
