// HttpRequestCurl: the HTTP request object on Linux, over libcurl. It behaves
// as the WinHTTP request component does for the members WebRequest() uses.
//
// One libcurl easy handle per object; Send() is synchronous and returns after
// the whole response has been read, or has failed.
//
//   Time-outs    SetTimeouts(resolve, connect, send, receive) in ms; 0 or -1
//                waits without limit, other negative values are refused. The
//                defaults are 0, 60000, 30000, 30000. libcurl has one limit
//                for resolving and connecting (TLS handshake included): it
//                gets their sum, and libcurl's own 300 s when either is
//                unlimited. Send and receive are idle timers, per packet as
//                the component has them: the request fails when, once
//                connected, nothing is sent (while request body remains) or
//                nothing arrives for that long. They bound the waits between
//                packets; the whole request, redirects included, fails after
//                four times the longest of the four time-outs (60 s for 15 s
//                each), so that a server dripping its answer cannot hold the
//                caller for ever. None of this when a time-out is unlimited.
//   Proxy        SetProxy(2, "host:port") sends every request through that
//                HTTP proxy; a list "http=host:port;https=host:port" names one
//                per scheme. SetProxy(0 or 1) goes direct. The environment's
//                proxy variables are never used. A Proxy-Authorization header
//                goes to the proxy (in the CONNECT of an https tunnel, never
//                to the server behind it).
//   Redirects    followed, at most 10 in a row (more fail the request), unless
//                Option 6 is 0. Never from https to http, and never to a
//                scheme other than http or https: such a redirect is the final
//                response. 301, 302 and 303 turn a POST into a GET without
//                body (303 any verb but HEAD); 307 and 308 keep verb and body.
//                Cookie and Authorization headers are not carried to another
//                host or port.
//   Addresses    only http and https are ever fetched; Open() refuses other
//                schemes. Spaces, control characters and non-ASCII characters
//                go as %XX escapes of their UTF-8 bytes, as the component
//                sends them; the rest of the address goes as given.
//   Certificates verified against the system's authorities unless Option 4
//                names errors to ignore: 0x0100 unknown authority, 0x0200
//                wrong usage, 0x1000 invalid name, 0x2000 invalid date (0x3300
//                all four). Any other fault, a signature that does not verify
//                among them, is still refused.
//   Headers      SetRequestHeader() replaces a header of the same name (case
//                ignored); an empty value removes it, as the component's null
//                value does. A name that is not an HTTP token, or a name or
//                value holding CR, LF or NUL, is refused and nothing is added.
//                Names and values are sent as UTF-8.
//   Body         Send(text) sends the text as UTF-8, Send(bytes) the bytes as
//                they are; both with a Content-Length. A GET sends no body, as
//                the component documents; POST and PUT send "Content-Length:
//                0" for an empty one. HEAD and CONNECT carry a body too. The
//                answer to HEAD, and a 2xx answer to CONNECT, end at their
//                header (the tunnel is not used).
//   Response     GetAllResponseHeaders() gives the header lines of the final
//                response without its status line, each ended by CR LF, then
//                one more CR LF; read as UTF-8 where valid, else as Latin-1.
//                A body longer than kMaxBodyBytes fails the request, and so
//                do response headers beyond libcurl's own bounds (some 300
//                KiB in all, 100 KiB a line).
//   Failure      a Send() that fails leaves status 0, no headers and an empty
//                body, as does a request never sent.
#ifndef QUORVEL_PLATFORM_LINUX_HTTP_REQUEST_CURL_H_
#define QUORVEL_PLATFORM_LINUX_HTTP_REQUEST_CURL_H_

#include <cstdint>
#include <memory>
#include <string>

#include "web/http_request.h"

namespace quorvel {

class HttpRequestCurl final : public HttpRequest {
 public:
  // The largest response body kept: 64 MiB. A longer one fails the request
  // rather than exhaust memory.
  static constexpr int32_t kMaxBodyBytes = 64 * 1024 * 1024;

  HttpRequestCurl();
  HttpRequestCurl(const HttpRequestCurl&) = delete;
  HttpRequestCurl& operator=(const HttpRequestCurl&) = delete;
  ~HttpRequestCurl() override;

  bool SetTimeouts(int32_t resolveMs, int32_t connectMs, int32_t sendMs,
                   int32_t receiveMs) override;
  bool SetProxy(int32_t setting, const std::u16string& proxy) override;
  bool Open(const std::u16string& verb, const std::u16string& url, bool async) override;
  // Options known: 4 certificate errors to ignore, 6 redirects (0 off), 12
  // https-to-http redirects (0 off, the default), 14 most redirects (10).
  bool PutOption(int32_t index, int32_t value) override;
  bool SetRequestHeader(const std::u16string& name, const std::u16string& value) override;
  bool Send(const std::u16string& body) override;
  bool Send(const Bytes& body) override;
  Bytes ResponseBody() override;
  std::u16string GetAllResponseHeaders() override;
  double Status() override;

 private:
  struct State;
  bool Transfer(std::string body);
  std::unique_ptr<State> state_;
};

// Makes HttpRequestCurl objects for "WinHttp.WinHttpRequest.5.1". There is no
// automation runtime on Linux: CoInitialize() and CoUninitialize() count the
// calling thread's entries, and CreateObject() fails, as it would under COM,
// on a thread that has not entered.
class HttpRequestProviderCurl final : public HttpRequestProvider {
 public:
  void CoInitialize() override;
  void CoUninitialize() override;
  std::shared_ptr<HttpRequest> CreateObject(const Text& progId) override;

  // How many CoInitialize() calls of the calling thread are not yet balanced.
  static int32_t InitializationDepth();
};

}  // namespace quorvel

#endif  // QUORVEL_PLATFORM_LINUX_HTTP_REQUEST_CURL_H_
