#include "web/web_request.h"

#include <gtest/gtest.h>
#include <string>

namespace velkor {
namespace {

TEST(WebRequestParts, Agent) {
  struct Case {
    const char* headers;
    const char* agent;
  } cases[] = {
      {"", kDefaultUserAgent},
      {"Referer: x", kDefaultUserAgent},
      {"User-Agent: X", "X"},
      {"Referer: r\r\nuser-agent:  Probe/2 \r\nAccept: */*", "Probe/2"},
      {"User-Agent:\r\nAccept: */*", ""},  // named but empty: no default
      {"USER-AGENT:\xE3\x80\x80Y\t\xE3\x80\x80", "Y\t"},
  };
  for (const Case& c : cases) EXPECT_EQ(RequestAgent(c.headers), c.agent) << c.headers;
}

TEST(WebRequestParts, HeaderCompletion) {
  const std::string url = "http://h/p";
  const std::string defaults =
      "\r\nAccept: */*\r\nAccept-Language: zh-cn\r\nContent-Type: application/x-www-form-urlencoded";
  struct Case {
    std::string headers;
    std::string cookies;
    std::string completed;
  } cases[] = {
      {"", "", "Referer: http://h/p" + defaults},
      {"", "a=1; b=2", "Referer: http://h/p" + defaults + "\r\nCookie: a=1; b=2"},
      {"X-Y: 1", "", "X-Y: 1\r\nReferer: http://h/p" + defaults},
      {"Accept: text/html", "",
       "Accept: text/html\r\nReferer: http://h/p\r\nAccept-Language: zh-cn\r\n"
       "Content-Type: application/x-www-form-urlencoded"},
      {"accept: text/html", "", "accept: text/html\r\nReferer: http://h/p" + defaults},
      {"referer: r", "", "referer: r\r\nReferer: http://h/p" + defaults},
      {"Referer: r\r\nAccept: a\r\nAccept-Language: en\r\nContent-Type: t", "",
       "Referer: r\r\nAccept: a\r\nAccept-Language: en\r\nContent-Type: t"},
      {"User-Agent: X", "", "User-Agent: X\r\nReferer: http://h/p" + defaults},
  };
  for (const Case& c : cases) {
    std::string headers = c.headers;
    CompleteExtraHeaders(headers, url, c.cookies);
    EXPECT_EQ(headers, c.completed) << c.headers;
  }
}

TEST(WebRequestParts, Flags) {
  using namespace request_flag;
  struct Case {
    const char* url;
    bool cookies;
    bool noRedirect;
    bool keepOutOfCache;
    std::uint32_t flags;
  } cases[] = {
      {"http://h/", false, false, false, kReload | kNeedFile | kIgnoreRedirectToHttps},
      {"h/", true, false, false, kReload | kNeedFile | kNoCookies | kIgnoreRedirectToHttps},
      {"HTTPS://h/", false, true, false, kReload | kNeedFile | kNoAutoRedirect | kSecure},
      {"https", true, true, false, kReload | kNeedFile | kNoCookies | kNoAutoRedirect | kSecure},
      // Flag values written out: a wrong constant in the program shows here.
      {"http://h/", false, false, true, 0x80000000u | 0x04000000u | 0x00004000u},
  };
  for (const Case& c : cases)
    EXPECT_EQ(RequestFlags(c.url, c.cookies, c.noRedirect, c.keepOutOfCache), c.flags) << c.url;
}

TEST(WebRequestParts, ResponseHeaders) {
  const std::string spaces(kHeaderBufferSize, ' ');
  struct Case {
    const char* name;
    std::string raw;
    std::optional<std::string> cookies;
    std::string location;  // before
    std::string responseCookies;
    std::optional<std::string> cookiesAfter;
    std::string locationAfter;  // "=raw": the whole block
  } cases[] = {
      {"two cookies",
       "HTTP/1.1 200 OK\r\nSet-Cookie: a=1; path=/\r\nSet-Cookie: b=2; path=/\r\n\r\n",
       {},
       "",
       "a=1; b=2",
       {},
       "=raw"},
      {"cookie without ;",
       "HTTP/1.1 200 OK\r\nSet-Cookie: a=1; path=/\r\nSet-Cookie: b=2\r\n\r\n",
       {},
       "",
       "a=1; ",
       {},
       "=raw"},
      {"merge", "HTTP/1.1 200 OK\r\nSet-Cookie: a=1; path=/\r\nSet-Cookie: c=deleted; path=/\r\n\r\n", "a=0; c=3", "",
       "a=1;c=deleted", "a=1", "=raw"},
      {"supplied, nothing set", "HTTP/1.1 200 OK\r\n\r\n", "a=0; c=3", "", "", "a=0; c=3", "=raw"},
      {"cookie without =", "HTTP/1.1 200 OK\r\nSet-Cookie: flag; secure\r\n\r\n", "", "", "flag", "flag", "=raw"},
      {"malformed cookie lines", "Set-Cookie\r\nSet-Cookie:\r\nX-Set-Cookie: ;\r\n", {}, "", "; ; ", {}, "=raw"},
      {"redirect", "HTTP/1.1 302 Found\r\nLocation:  http://h:81/new \r\n\r\n", {}, "", "", {}, "http://h:81/new"},
      {"last location line wins", "Location: /a\r\nContent-Location: /b\r\n", {}, "", "", {}, "/b"},
      {"empty location value", "Location:\r\n", {}, "", "", {}, "=raw"},
      {"earlier location kept", "HTTP/1.1 200 OK\r\n\r\n", {}, "keep", "", {}, "keep"},
      {"no response", spaces, "a=1", "", "", "a=1", "=raw"},
      {"empty", "", {}, "", "", {}, ""},
  };
  for (const Case& c : cases) {
    WebRequestArgs args;
    args.rawHeaders = c.raw;
    args.cookies = c.cookies;
    args.location = c.location;
    args.responseCookies = "stale";
    ApplyResponseHeaders(args);
    EXPECT_EQ(args.responseCookies, c.responseCookies) << c.name;
    EXPECT_EQ(args.cookies, c.cookiesAfter) << c.name;
    EXPECT_EQ(args.location, c.locationAfter == "=raw" ? c.raw : c.locationAfter) << c.name;
    EXPECT_EQ(args.rawHeaders, c.raw) << c.name;
  }
}

}  // namespace
}  // namespace velkor
