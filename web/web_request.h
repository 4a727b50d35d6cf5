// WebRequest() performs one synchronous HTTP or HTTPS request through a
// request object "WinHttp.WinHttpRequest.5.1" and returns the response body.
#ifndef QUORVEL_WEB_WEB_REQUEST_H_
#define QUORVEL_WEB_WEB_REQUEST_H_

#include <cstdint>
#include <memory>
#include <optional>

#include "text/text.h"
#include "web/http_request.h"

namespace quorvel {

// The parameters in call order. Text and byte parameters named in/out or out
// point at the caller's variable; a null pointer is an argument left out (for
// `cookies`, "not given": no Cookie header and no merging).
struct WebRequestParams {
  Text url;                                      // 1
  std::optional<int32_t> method;                 // 2: verb index, 0 ... 7
  Text postText;                                 // 3
  Text* cookies = nullptr;                       // 4: in/out
  Text* returnedCookies = nullptr;               // 5: out
  Text* headers = nullptr;                       // 6: in/out
  Text* returnedHeaders = nullptr;               // 7: out
  int32_t* statusCode = nullptr;                 // 8: out
  bool noRedirect = false;                       // 9
  Bytes postBytes;                               // 10
  Text proxy;                                    // 11
  // 12: -1 keeps the object's own time-outs, 1 or more is seconds (more than
  // 2147483 s waits 2147483647 ms, the most a 32-bit count holds), else 15 s.
  int32_t timeoutSeconds = 0;
  Text proxyUser;                                // 13
  Text proxyPassword;                            // 14
  std::optional<int32_t> proxyAuthMode;          // 15: 1 when not given
  std::shared_ptr<HttpRequest> requestObject;    // 16: null when not given
  std::optional<bool> mergeWithSent;             // 17: true when not given
  std::optional<bool> completeHeaderBlock;       // 18: true when not given
  std::optional<bool> capitalizeHeaderNames;     // 19: true when not given
};

// Returns the response body; empty when the request object could not be made
// or no body could be read. `provider` makes the request object and enters and
// leaves the automation runtime around the call.
Bytes WebRequest(HttpRequestProvider& provider, const WebRequestParams& params);

}  // namespace quorvel

#endif  // QUORVEL_WEB_WEB_REQUEST_H_
