// The parts of one HTTP request that need no system calls: the arguments, the agent,
// the completed request headers, the request flags and what is read out of the
// response headers. WebRequest (web_request_win.h) puts them around WinINet.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

namespace velkor {

inline constexpr char kDefaultUserAgent[] =
    "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1; Tolvex; .NET CLR 2.0.50727; .NET CLR 3.0.04506.648; "
    ".NET CLR 3.5.21022)";
inline constexpr size_t kReadPieceSize = 1024;
inline constexpr size_t kHeaderBufferSize = 5000;

// Everything a request takes besides the address; a field left as it is stands for an
// omitted argument. postBytes and the body are raw bytes; postText, like every other
// text here, is UTF-8 and goes out in the system's ANSI code page.
struct WebRequestArgs {
  int method = 0;  // 1 POST, otherwise GET; a body goes with every value but 0
  std::string postText;
  // Supplied (even empty): the caller keeps the cookies and the system's store is not
  // used; the response's cookies are merged into it.
  std::optional<std::string> cookies;
  std::string responseCookies;  // out: "name=value" entries joined by "; "
  std::string extraHeaders;     // in/out: request header lines joined by "\r\n", completed
  std::string location;         // in/out: the redirect address, else the header block if empty
  bool noRedirect = false;
  std::string postBytes;             // in/out: gets the bytes of postText when empty and sending
  std::optional<std::string> proxy;  // "host:port" of an HTTP proxy
  std::string rawHeaders;            // out: the response's header block, or 5000 spaces
  // For a caller that drops the answer (the start-up visit): at most this many body
  // bytes are read, and nothing of the answer is written to the web cache.
  std::optional<size_t> bodyLimit;
  // When set, the longest wait for connecting, sending or each piece of the answer; a
  // server that holds the connection silently is then given up.
  std::optional<std::chrono::milliseconds> waitLimit;
};

// WinINet's request flags, by value so that they can be computed and tested anywhere.
namespace request_flag {
inline constexpr std::uint32_t kReload = 0x80000000;
inline constexpr std::uint32_t kNeedFile = 0x00000010;
inline constexpr std::uint32_t kNoCookies = 0x00080000;
inline constexpr std::uint32_t kNoAutoRedirect = 0x00200000;
inline constexpr std::uint32_t kSecure = 0x00800000;
inline constexpr std::uint32_t kIgnoreRedirectToHttps = 0x00004000;
inline constexpr std::uint32_t kNoCacheWrite = 0x04000000;
}  // namespace request_flag

// The agent named by a "User-Agent:" line (any case) of the extra headers, trimmed and
// possibly empty; the default agent without such a line.
std::string RequestAgent(const std::string& extraHeaders);

// Adds the Referer, Accept, Accept-Language and Content-Type lines the caller left
// out (names matched as written) and the Cookie line when `cookies` is not empty.
void CompleteExtraHeaders(std::string& extraHeaders, const std::string& url, const std::string& cookies);

// Without the cache, the answer needs no cache file either.
std::uint32_t RequestFlags(const std::string& url, bool cookiesSupplied, bool noRedirect, bool keepOutOfCache = false);

// After the exchange: reads Location and Set-Cookie lines out of args.rawHeaders into
// location and responseCookies, merges supplied cookies, and lets an empty location
// take the whole header block.
void ApplyResponseHeaders(WebRequestArgs& args);

}  // namespace velkor
