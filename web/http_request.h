// The HTTP request object that WebRequest drives. Its members mirror those of
// the system's WinHTTP request automation component and behave as late-bound
// calls do: a call that fails raises nothing and yields the empty value of its
// result (false, 0, an empty string, empty bytes). Strings are UTF-16.
//
// Backends: HttpRequestWinHttp (Windows, "WinHttp.WinHttpRequest.5.1" by late
// binding) and HttpRequestCurl (Linux, libcurl).
#ifndef QUORVEL_WEB_HTTP_REQUEST_H_
#define QUORVEL_WEB_HTTP_REQUEST_H_

#include <cstdint>
#include <memory>
#include <string>

#include "text/text.h"

namespace quorvel {

class HttpRequest {
 public:
  virtual ~HttpRequest() = default;
  // Time-outs in milliseconds for resolving, connecting, sending and receiving.
  virtual bool SetTimeouts(int32_t resolveMs, int32_t connectMs, int32_t sendMs,
                           int32_t receiveMs) = 0;
  // `setting` 2 names a proxy server in the component's notation.
  virtual bool SetProxy(int32_t setting, const std::u16string& proxy) = 0;
  virtual bool Open(const std::u16string& verb, const std::u16string& url, bool async) = 0;
  // Writes the indexed property "Option": 6 is automatic redirects, 4 the
  // certificate errors to ignore.
  virtual bool PutOption(int32_t index, int32_t value) = 0;
  // Refused (false, nothing added) for a malformed header.
  virtual bool SetRequestHeader(const std::u16string& name, const std::u16string& value) = 0;
  virtual bool Send(const std::u16string& body) = 0;
  virtual bool Send(const Bytes& body) = 0;
  virtual Bytes ResponseBody() = 0;
  // The header lines of the final response, without its status line, each
  // ended by CR LF, then one more CR LF; empty when no response was read.
  virtual std::u16string GetAllResponseHeaders() = 0;
  // The status code, 0 when none was received.
  virtual double Status() = 0;
};

// Makes request objects and enters and leaves the automation runtime of the
// calling thread. Each CoInitialize() is balanced by one CoUninitialize().
class HttpRequestProvider {
 public:
  virtual ~HttpRequestProvider() = default;
  virtual void CoInitialize() = 0;
  virtual void CoUninitialize() = 0;
  // A new request object for the component named `progId`; null on failure.
  virtual std::shared_ptr<HttpRequest> CreateObject(const Text& progId) = 0;
};

}  // namespace quorvel

#endif  // QUORVEL_WEB_HTTP_REQUEST_H_
