#include "platform/linux/http_request_curl.h"

#include <curl/curl.h>
#include <openssl/ssl.h>
#include <openssl/x509_vfy.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace quorvel {

namespace {

using Clock = std::chrono::steady_clock;

// Option indexes and values of the component.
constexpr int32_t kOptionSslErrorIgnoreFlags = 4;
constexpr int32_t kOptionEnableRedirects = 6;
constexpr int32_t kOptionEnableHttpsToHttpRedirects = 12;
constexpr int32_t kOptionMaxAutomaticRedirects = 14;
constexpr int32_t kIgnoreUnknownAuthority = 0x0100;
constexpr int32_t kIgnoreWrongUsage = 0x0200;
constexpr int32_t kIgnoreInvalidName = 0x1000;
constexpr int32_t kIgnoreInvalidDate = 0x2000;
constexpr int32_t kIgnorableErrors =
    kIgnoreUnknownAuthority | kIgnoreWrongUsage | kIgnoreInvalidName | kIgnoreInvalidDate;
constexpr int32_t kProxySettingProxy = 2;

constexpr size_t kMaxHeaderBytes = 1024 * 1024;
// How many of its longest time-out a whole request may take.
constexpr int64_t kLongestTimeOutsPerRequest = 4;
const char kDefaultUserAgent[] = "Mozilla/4.0 (compatible; Win32; WinHttp.WinHttpRequest.5)";

void InitializeCurlOnce() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// UTF-8 of `s`; an unpaired surrogate becomes U+FFFD.
std::string ToUtf8(const std::u16string& s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    uint32_t c = s[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

// Decodes `bytes` as strict UTF-8; false when they are not.
bool DecodeUtf8(const std::string& bytes, std::u16string* out) {
  out->clear();
  for (size_t i = 0; i < bytes.size();) {
    const unsigned char b = static_cast<unsigned char>(bytes[i]);
    uint32_t c;
    size_t extra;
    uint32_t min;
    if (b < 0x80) {
      c = b, extra = 0, min = 0;
    } else if ((b & 0xE0) == 0xC0) {
      c = b & 0x1F, extra = 1, min = 0x80;
    } else if ((b & 0xF0) == 0xE0) {
      c = b & 0x0F, extra = 2, min = 0x800;
    } else if ((b & 0xF8) == 0xF0) {
      c = b & 0x07, extra = 3, min = 0x10000;
    } else {
      return false;
    }
    if (i + extra >= bytes.size()) return false;
    for (size_t k = 1; k <= extra; ++k) {
      const unsigned char t = static_cast<unsigned char>(bytes[i + k]);
      if ((t & 0xC0) != 0x80) return false;
      c = (c << 6) | (t & 0x3F);
    }
    if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
    if (c >= 0x10000) {
      c -= 0x10000;
      *out += static_cast<char16_t>(0xD800 + (c >> 10));
      *out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    } else {
      *out += static_cast<char16_t>(c);
    }
    i += extra + 1;
  }
  return true;
}

// Text from the wire: UTF-8 where it is valid, else each byte as its Latin-1 character.
std::u16string FromWireText(const std::string& bytes) {
  std::u16string out;
  if (DecodeUtf8(bytes, &out)) return out;
  out.clear();
  for (char b : bytes) out += static_cast<char16_t>(static_cast<unsigned char>(b));
  return out;
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string AsciiLower(std::string s) {
  for (char& c : s) c = AsciiLower(c);
  return s;
}

bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
  return AsciiLower(a) == AsciiLower(b);
}

// An HTTP token: the characters a method or a header name may hold.
bool IsToken(const std::string& s) {
  if (s.empty()) return false;
  for (char c : s) {
    const bool alnum = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    if (!alnum && std::string_view("!#$%&'*+-.^_`|~").find(c) == std::string_view::npos) {
      return false;
    }
  }
  return true;
}

bool HoldsLineBreakOrNul(const std::u16string& s) {
  return s.find_first_of(std::u16string(u"\r\n\0", 3)) != std::u16string::npos;
}

// The parts of an address libcurl accepts; empty parts when it does not.
struct UrlParts {
  std::string url;  // normalised, unsafe characters percent-encoded
  std::string scheme;
  std::string host;
  std::string port;
};

// `url` with spaces, control characters and the bytes of non-ASCII
// characters (UTF-8) written as %XX, as the component escapes an address.
std::string EscapeUnsafeBytes(const std::string& url) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string out;
  for (char ch : url) {
    const auto c = static_cast<unsigned char>(ch);
    if (c <= 0x20 || c >= 0x7F) {
      out += '%';
      out += kDigits[c >> 4];
      out += kDigits[c & 15];
    } else {
      out += ch;
    }
  }
  return out;
}

// `url` may be relative to `base` (a redirect's Location).
UrlParts ParseUrl(const std::string& url, const std::string& base = std::string()) {
  UrlParts parts;
  CURLU* u = curl_url();
  if (u == nullptr) return parts;
  const unsigned int flags = CURLU_NON_SUPPORT_SCHEME;
  const bool baseSet = base.empty() || curl_url_set(u, CURLUPART_URL, base.c_str(), flags) == CURLUE_OK;
  if (baseSet &&
      curl_url_set(u, CURLUPART_URL, EscapeUnsafeBytes(url).c_str(), flags) == CURLUE_OK) {
    auto get = [u](CURLUPart part, unsigned int flags) {
      char* value = nullptr;
      std::string result;
      if (curl_url_get(u, part, &value, flags) == CURLUE_OK && value != nullptr) result = value;
      curl_free(value);
      return result;
    };
    parts.url = get(CURLUPART_URL, 0);
    parts.scheme = AsciiLower(get(CURLUPART_SCHEME, 0));
    parts.host = AsciiLower(get(CURLUPART_HOST, 0));
    parts.port = get(CURLUPART_PORT, CURLU_DEFAULT_PORT);
  }
  curl_url_cleanup(u);
  return parts;
}

bool IsWebScheme(const std::string& scheme) { return scheme == "http" || scheme == "https"; }

// The proxy server for `scheme` from a list in the component's notation:
// entries separated by ";" or spaces, each "server" or "scheme=server".
std::string ProxyFor(const std::string& list, const std::string& scheme) {
  std::string generic;
  std::string specific;
  size_t i = 0;
  while (i < list.size()) {
    const size_t end = list.find_first_of("; \t", i);
    const std::string entry = list.substr(i, end == std::string::npos ? std::string::npos : end - i);
    i = end == std::string::npos ? list.size() : end + 1;
    if (entry.empty()) continue;
    const size_t equals = entry.find('=');
    if (equals == std::string::npos) {
      if (generic.empty()) generic = entry;
    } else if (specific.empty() && AsciiLower(entry.substr(0, equals)) == scheme) {
      specific = entry.substr(equals + 1);
    }
  }
  std::string server = specific.empty() ? generic : specific;
  if (!server.empty() && server.find("://") == std::string::npos) server = "http://" + server;
  return server;
}

// Certificate errors that Option 4 may excuse, and the flag that does.
int32_t FlagExcusing(int error) {
  switch (error) {
    case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT:
    case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT_LOCALLY:
    case X509_V_ERR_UNABLE_TO_VERIFY_LEAF_SIGNATURE:
    case X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT:
    case X509_V_ERR_SELF_SIGNED_CERT_IN_CHAIN:
    case X509_V_ERR_CERT_UNTRUSTED:
      return kIgnoreUnknownAuthority;
    case X509_V_ERR_INVALID_PURPOSE:
      return kIgnoreWrongUsage;
    case X509_V_ERR_HOSTNAME_MISMATCH:
    case X509_V_ERR_IP_ADDRESS_MISMATCH:
      return kIgnoreInvalidName;
    case X509_V_ERR_CERT_NOT_YET_VALID:
    case X509_V_ERR_CERT_HAS_EXPIRED:
      return kIgnoreInvalidDate;
    default:
      return 0;
  }
}

int IgnoreFlagsIndex() {
  static const int index = SSL_CTX_get_ex_new_index(0, nullptr, nullptr, nullptr, nullptr);
  return index;
}

// Lets the verification go on past the errors the flags excuse, and clears
// them, so that the result libcurl reads afterwards is "verified" only when
// every error met was excused.
int VerifyExcusing(int preverified, X509_STORE_CTX* store) {
  if (preverified) return 1;
  auto* ssl = static_cast<SSL*>(
      X509_STORE_CTX_get_ex_data(store, SSL_get_ex_data_X509_STORE_CTX_idx()));
  if (ssl == nullptr) return 0;
  const auto flags = static_cast<int32_t>(
      reinterpret_cast<intptr_t>(SSL_CTX_get_ex_data(SSL_get_SSL_CTX(ssl), IgnoreFlagsIndex())));
  const int32_t excusing = FlagExcusing(X509_STORE_CTX_get_error(store));
  if (excusing == 0 || (flags & excusing) == 0) return 0;
  X509_STORE_CTX_set_error(store, X509_V_OK);
  return 1;
}

CURLcode InstallVerifyCallback(CURL*, void* sslContext, void* flags) {
  auto* context = static_cast<SSL_CTX*>(sslContext);
  SSL_CTX_set_ex_data(context, IgnoreFlagsIndex(), flags);
  SSL_CTX_set_verify(context, SSL_CTX_get_verify_mode(context), VerifyExcusing);
  return CURLE_OK;
}

// What one round trip (one response, before any redirect) collects.
struct Exchange {
  CURL* easy = nullptr;
  bool https = false;
  std::string verb;
  int32_t sendMs = 0;
  int32_t receiveMs = 0;

  // When the whole request must have ended, redirects included; none when a
  // time-out is unlimited.
  std::optional<Clock::time_point> deadline;

  bool connected = false;
  Clock::time_point lastActivity;
  curl_off_t lastUp = 0;
  curl_off_t lastDown = 0;

  bool endedAtHeader = false;
  int32_t status = 0;
  std::string location;
  std::string headerLines;
  std::vector<unsigned char> body;
};

size_t OnHeaderLine(char* data, size_t size, size_t count, void* context) {
  auto* x = static_cast<Exchange*>(context);
  const size_t n = size * count;
  x->lastActivity = Clock::now();
  std::string line(data, n);
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  if (line.rfind("HTTP/", 0) == 0) {
    // A status line begins a new response (after a 1xx one, say): only the
    // headers of the last count.
    x->headerLines.clear();
    x->location.clear();
    const size_t space = line.find(' ');
    x->status = space == std::string::npos ? 0 : std::atoi(line.c_str() + space + 1);
    return n;
  }
  if (line.empty()) {
    // The answer to HEAD has no body, whatever its Content-Length says, and a
    // 2xx answer to CONNECT turns the connection into a tunnel: either ends
    // here. Stopping the transfer is how libcurl is told; it is no failure.
    const bool final = x->status >= 200;
    if (final && (x->verb == "HEAD" || (x->verb == "CONNECT" && x->status < 300))) {
      x->endedAtHeader = true;
      return 0;
    }
    return n;
  }
  if (line.size() > 9 && AsciiLower(line.substr(0, 9)) == "location:") {
    const size_t start = line.find_first_not_of(" \t", 9);
    const size_t end = line.find_last_not_of(" \t");
    x->location = start == std::string::npos ? std::string() : line.substr(start, end + 1 - start);
  }
  if (x->headerLines.size() + line.size() + 2 > kMaxHeaderBytes) return 0;
  x->headerLines += line;
  x->headerLines += "\r\n";
  return n;
}

size_t OnBodyData(char* data, size_t size, size_t count, void* context) {
  auto* x = static_cast<Exchange*>(context);
  const size_t n = size * count;
  x->lastActivity = Clock::now();
  if (x->body.size() + n > static_cast<size_t>(HttpRequestCurl::kMaxBodyBytes)) return 0;
  x->body.insert(x->body.end(), data, data + n);
  return n;
}

// The send and receive time-outs: idle timers that start once the connection
// (and its TLS handshake) is up; until then the connect time-out rules.
int OnProgress(void* context, curl_off_t, curl_off_t downNow, curl_off_t upTotal, curl_off_t upNow) {
  auto* x = static_cast<Exchange*>(context);
  const Clock::time_point now = Clock::now();
  if (x->deadline && now >= *x->deadline) return 1;
  if (!x->connected) {
    curl_off_t connectedAfter = 0;
    curl_easy_getinfo(x->easy, x->https ? CURLINFO_APPCONNECT_TIME_T : CURLINFO_CONNECT_TIME_T,
                      &connectedAfter);
    if (connectedAfter <= 0) return 0;
    x->connected = true;
    x->lastActivity = now;
    x->lastUp = upNow;
    x->lastDown = downNow;
  }
  if (upNow != x->lastUp || downNow != x->lastDown) {
    x->lastActivity = now;
    x->lastUp = upNow;
    x->lastDown = downNow;
  }
  const int32_t limitMs = upNow < upTotal ? x->sendMs : x->receiveMs;
  if (limitMs > 0 && now - x->lastActivity >= std::chrono::milliseconds(limitMs)) return 1;
  return 0;
}

class HeaderList {
 public:
  HeaderList() = default;
  HeaderList(const HeaderList&) = delete;
  HeaderList& operator=(const HeaderList&) = delete;
  ~HeaderList() { curl_slist_free_all(list_); }
  void Add(const std::string& line) {
    if (curl_slist* grown = curl_slist_append(list_, line.c_str())) list_ = grown;
  }
  curl_slist* get() const { return list_; }

 private:
  curl_slist* list_ = nullptr;
};

bool IsRedirect(int32_t status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

}  // namespace

struct HttpRequestCurl::State {
  CURL* easy = nullptr;

  int32_t resolveMs = 0;
  int32_t connectMs = 60000;
  int32_t sendMs = 30000;
  int32_t receiveMs = 30000;
  int32_t proxySetting = 0;
  std::string proxyList;
  int32_t ignoreFlags = 0;
  bool redirects = true;
  bool httpsToHttpRedirects = false;
  int32_t maxRedirects = 10;

  bool opened = false;
  std::string verb;
  std::string url;
  std::vector<std::pair<std::string, std::string>> headers;

  bool received = false;
  int32_t status = 0;
  std::string headerLines;
  std::vector<unsigned char> body;

  void ClearResponse() {
    received = false;
    status = 0;
    headerLines.clear();
    body.clear();
  }
};

HttpRequestCurl::HttpRequestCurl() : state_(std::make_unique<State>()) {
  InitializeCurlOnce();
  state_->easy = curl_easy_init();
}

HttpRequestCurl::~HttpRequestCurl() {
  if (state_->easy != nullptr) curl_easy_cleanup(state_->easy);
}

bool HttpRequestCurl::SetTimeouts(int32_t resolveMs, int32_t connectMs, int32_t sendMs,
                                  int32_t receiveMs) {
  for (int32_t ms : {resolveMs, connectMs, sendMs, receiveMs}) {
    if (ms < -1) return false;
  }
  // 0 and -1 both wait without limit.
  auto limit = [](int32_t ms) { return ms < 0 ? 0 : ms; };
  state_->resolveMs = limit(resolveMs);
  state_->connectMs = limit(connectMs);
  state_->sendMs = limit(sendMs);
  state_->receiveMs = limit(receiveMs);
  return true;
}

bool HttpRequestCurl::SetProxy(int32_t setting, const std::u16string& proxy) {
  if (setting < 0 || setting > kProxySettingProxy) return false;
  if (setting == kProxySettingProxy && proxy.empty()) return false;
  state_->proxySetting = setting;
  state_->proxyList = setting == kProxySettingProxy ? ToUtf8(proxy) : std::string();
  return true;
}

bool HttpRequestCurl::Open(const std::u16string& verb, const std::u16string& url, bool async) {
  State& s = *state_;
  s.opened = false;
  s.headers.clear();
  s.ClearResponse();
  if (async || s.easy == nullptr) return false;
  const std::string verbBytes = ToUtf8(verb);
  if (!IsToken(verbBytes)) return false;
  const UrlParts parts = ParseUrl(ToUtf8(url));
  if (!IsWebScheme(parts.scheme) || parts.host.empty()) return false;
  s.verb = verbBytes;
  s.url = parts.url;
  s.opened = true;
  return true;
}

bool HttpRequestCurl::PutOption(int32_t index, int32_t value) {
  State& s = *state_;
  switch (index) {
    case kOptionSslErrorIgnoreFlags:
      if ((value & ~kIgnorableErrors) != 0) return false;
      s.ignoreFlags = value;
      return true;
    case kOptionEnableRedirects:
      s.redirects = value != 0;
      return true;
    case kOptionEnableHttpsToHttpRedirects:
      s.httpsToHttpRedirects = value != 0;
      return true;
    case kOptionMaxAutomaticRedirects:
      if (value < 0) return false;
      s.maxRedirects = value;
      return true;
    default:
      return false;
  }
}

bool HttpRequestCurl::SetRequestHeader(const std::u16string& name, const std::u16string& value) {
  State& s = *state_;
  if (!s.opened) return false;
  const std::string nameBytes = ToUtf8(name);
  if (!IsToken(nameBytes) || HoldsLineBreakOrNul(value)) return false;
  std::vector<std::pair<std::string, std::string>> kept;
  for (auto& header : s.headers) {
    if (!EqualsIgnoringCase(header.first, nameBytes)) kept.push_back(std::move(header));
  }
  s.headers = std::move(kept);
  if (!value.empty()) s.headers.emplace_back(nameBytes, ToUtf8(value));
  return true;
}

bool HttpRequestCurl::Send(const std::u16string& body) { return Transfer(ToUtf8(body)); }

bool HttpRequestCurl::Send(const Bytes& body) {
  return Transfer(std::string(body.data().begin(), body.data().end()));
}

bool HttpRequestCurl::Transfer(std::string body) {
  State& s = *state_;
  s.ClearResponse();
  if (!s.opened) return false;

  std::string verb = s.verb;
  std::string url = s.url;
  const UrlParts origin = ParseUrl(url);
  // A GET goes without body, as the component sends it.
  bool withBody = verb != "GET";
  int32_t redirectsTaken = 0;
  // A server that keeps every wait between packets just inside the time-outs
  // could hold the caller's thread for ever: the whole request may take four
  // times the longest of the time-outs, what the four phases take at most.
  std::optional<Clock::time_point> deadline;
  if (s.resolveMs > 0 && s.connectMs > 0 && s.sendMs > 0 && s.receiveMs > 0) {
    const int64_t longest = std::max({s.resolveMs, s.connectMs, s.sendMs, s.receiveMs});
    deadline = Clock::now() + std::chrono::milliseconds(kLongestTimeOutsPerRequest * longest);
  }

  for (;;) {
    const UrlParts target = ParseUrl(url);
    const bool sameOrigin = target.host == origin.host && target.port == origin.port;
    const std::string proxy =
        s.proxySetting == kProxySettingProxy ? ProxyFor(s.proxyList, target.scheme) : "";
    const bool tunnel = !proxy.empty() && target.scheme == "https";

    Exchange x;
    x.easy = s.easy;
    x.https = target.scheme == "https";
    x.verb = verb;
    x.sendMs = s.sendMs;
    x.receiveMs = s.receiveMs;
    x.deadline = deadline;

    CURL* easy = s.easy;
    curl_easy_reset(easy);
    curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    // Each round trip on a connection of its own: the idle timers start at its
    // connect, and no connection or TLS session verified under other
    // certificate rules is ever taken up again.
    curl_easy_setopt(easy, CURLOPT_FRESH_CONNECT, 1L);
    curl_easy_setopt(easy, CURLOPT_FORBID_REUSE, 1L);
    curl_easy_setopt(easy, CURLOPT_SSL_SESSIONID_CACHE, 0L);

    const int64_t connectMs = s.resolveMs > 0 && s.connectMs > 0
                                  ? static_cast<int64_t>(s.resolveMs) + s.connectMs
                                  : 0;  // libcurl's own limit
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(connectMs));
    curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, OnProgress);
    curl_easy_setopt(easy, CURLOPT_XFERINFODATA, &x);
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, OnHeaderLine);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, &x);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, OnBodyData);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &x);

    curl_easy_setopt(easy, CURLOPT_PROXY, proxy.c_str());  // "" also ignores the environment
    curl_easy_setopt(easy, CURLOPT_NOPROXY, "");
    curl_easy_setopt(easy, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
    curl_easy_setopt(easy, CURLOPT_HEADEROPT, static_cast<long>(CURLHEADER_SEPARATE));

    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, (s.ignoreFlags & kIgnoreInvalidName) ? 0L : 2L);
    if ((s.ignoreFlags & ~kIgnoreInvalidName) != 0) {
      curl_easy_setopt(easy, CURLOPT_SSL_CTX_FUNCTION, InstallVerifyCallback);
      curl_easy_setopt(easy, CURLOPT_SSL_CTX_DATA,
                       reinterpret_cast<void*>(static_cast<intptr_t>(s.ignoreFlags)));
    }

    // The verb and the body. A HEAD goes as a request of its own name, not as
    // libcurl's "no body" request, which would drop a body given to it; its
    // answer ends at the header (see OnHeaderLine).
    const bool bodyAttached = withBody && (!body.empty() || verb == "POST" || verb == "PUT");
    if (bodyAttached) {
      curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
      curl_easy_setopt(easy, CURLOPT_POSTFIELDS, body.data());
    }
    if (verb == "GET") {
      curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
    } else {
      curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, verb.c_str());
    }

    HeaderList headers;
    HeaderList proxyHeaders;
    bool hasAccept = false;
    bool hasContentType = false;
    bool hasUserAgent = false;
    for (const auto& [name, value] : s.headers) {
      if (!sameOrigin && (EqualsIgnoringCase(name, "Cookie") ||
                          EqualsIgnoringCase(name, "Authorization"))) {
        continue;
      }
      const std::string line = name + ": " + value;
      if (EqualsIgnoringCase(name, "Proxy-Authorization")) {
        if (proxy.empty()) continue;
        if (tunnel) {
          proxyHeaders.Add(line);
          continue;
        }
      }
      hasAccept = hasAccept || EqualsIgnoringCase(name, "Accept");
      hasContentType = hasContentType || EqualsIgnoringCase(name, "Content-Type");
      hasUserAgent = hasUserAgent || EqualsIgnoringCase(name, "User-Agent");
      headers.Add(line);
    }
    // libcurl's own additions that the component does not make.
    if (!hasAccept) headers.Add("Accept:");
    if (bodyAttached && !hasContentType) headers.Add("Content-Type:");
    headers.Add("Expect:");
    if (!hasUserAgent) curl_easy_setopt(easy, CURLOPT_USERAGENT, kDefaultUserAgent);
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(easy, CURLOPT_PROXYHEADER, proxyHeaders.get());

    const CURLcode result = curl_easy_perform(easy);
    if (result != CURLE_OK && !x.endedAtHeader) return false;

    if (s.redirects && IsRedirect(x.status)) {
      const UrlParts next = x.location.empty() ? UrlParts() : ParseUrl(x.location, url);
      const bool allowed = IsWebScheme(next.scheme) &&
                           !(target.scheme == "https" && next.scheme == "http" &&
                             !s.httpsToHttpRedirects);
      if (allowed) {
        if (redirectsTaken == s.maxRedirects) return false;
        ++redirectsTaken;
        if ((x.status == 303 && verb != "HEAD") ||
            ((x.status == 301 || x.status == 302) && verb == "POST")) {
          verb = "GET";
          withBody = false;
        }
        url = next.url;
        continue;
      }
    }

    s.received = true;
    s.status = x.status;
    s.headerLines = x.headerLines.empty() ? std::string() : x.headerLines + "\r\n";
    s.body = std::move(x.body);
    return true;
  }
}

Bytes HttpRequestCurl::ResponseBody() {
  return state_->received ? Bytes(state_->body) : Bytes();
}

std::u16string HttpRequestCurl::GetAllResponseHeaders() {
  return state_->received ? FromWireText(state_->headerLines) : std::u16string();
}

double HttpRequestCurl::Status() { return state_->received ? state_->status : 0; }

namespace {
thread_local int32_t initializationDepth = 0;
}  // namespace

void HttpRequestProviderCurl::CoInitialize() { ++initializationDepth; }

void HttpRequestProviderCurl::CoUninitialize() {
  if (initializationDepth > 0) --initializationDepth;
}

std::shared_ptr<HttpRequest> HttpRequestProviderCurl::CreateObject(const Text& progId) {
  if (initializationDepth == 0) return nullptr;
  if (!EqualsIgnoringCase(progId.bytes(), "WinHttp.WinHttpRequest.5.1")) return nullptr;
  return std::make_shared<HttpRequestCurl>();
}

int32_t HttpRequestProviderCurl::InitializationDepth() { return initializationDepth; }

}  // namespace quorvel
