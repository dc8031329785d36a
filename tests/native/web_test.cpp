#include <gtest/gtest.h>
#include <string>

#include "web/web_request.h"
#include "web/web_text.h"

namespace velkor {
namespace {

TEST(WebText, TextBetweenAndAfterColon) {
  struct Case {
    const char* text;
    const char* start;
    const char* end;
    const char* between;
  } cases[] = {
      {"<a href=\"x.htm\">", "HREF=#引号", "#引号", "x.htm"},  // the quote stand-in, any case
      {"a[1]b[2]", "[", "]", "1"},                             // first start, next end after it
      {"x]y[z", "[", "]", ""},                                 // the end only before the start
      {"abc", "q", "c", ""},
      {"abc", "a", "q", ""},
      {"aXa", "a", "a", "X"},  // the end is searched after the start marker
      {"key: v", "", ":", "key"},
  };
  for (const Case& c : cases) EXPECT_EQ(TextBetween(c.text, c.start, c.end), c.between) << c.text;

  EXPECT_EQ(TextAfterColon("Location: http://h:81/a \t"), "http://h:81/a \t");
  EXPECT_EQ(TextAfterColon("Name:\xE3\x80\x80 v \xE3\x80\x80"), "v");
  EXPECT_EQ(TextAfterColon("no colon"), "");
}

TEST(WebText, AddressParts) {
  struct Case {
    const char* url;
    const char* host;
    const char* hostWithPort;
    int port;
    const char* path;
  } cases[] = {
      {"www.example.com/a/B.html", "www.example.com", "www.example.com", 80, "/a/B.html"},
      {"HTTPS://Secure.Example.COM/Login?Next=/", "secure.example.com", "secure.example.com", 443, "/Login?Next=/"},
      {"http://Example.com:8080/x?y=1", "example.com", "example.com:8080", 8080, "/x?y=1"},
      {"http://example.com", "example.com", "example.com", 80, "/"},
      {"example.com:8080", "example.com", "example.com:8080", 8080, "/"},
      {"https://h:8443", "h", "h:8443", 8443, "/"},
      {"http://h:/", "h", "h:", 0, "/"},
      {"http://h:12ab/", "h", "h:12ab", 12, "/"},
      {"http://h:99999/", "h", "h:99999", 99999, "/"},  // out of range: refused when connecting
      {"http://h:99999999999999/", "h", "h:99999999999999", 2147483647, "/"},
      {"http://h:-1/", "h", "h:-1", -1, "/"},
      {"http://p/x", "p", "p", 80, "/x"},  // hosts that also occur inside the scheme
      {"HTTPS://t:8/s", "t", "t:8", 8, "/s"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(UrlHost(c.url, false), c.host) << c.url;
    EXPECT_EQ(UrlHost(c.url, true), c.hostWithPort) << c.url;
    EXPECT_EQ(UrlPort(c.url), c.port) << c.url;
    EXPECT_EQ(UrlObjectPath(c.url), c.path) << c.url;
  }
}

TEST(WebText, CookieLists) {
  EXPECT_EQ(CookieName(" sid = 1=2 "), "sid");
  EXPECT_EQ(CookieName(" flag "), "flag");
  EXPECT_EQ(CookieName("=v"), "");
  EXPECT_EQ(DropDuplicateEntries("a; b; a; c; b", "; "), "a; b; c");
  EXPECT_EQ(DropDuplicateEntries("a;; a;", ";"), "a;; a");  // " a" differs from "a"
  EXPECT_EQ(DropDuplicateEntries("", "; "), "");
  EXPECT_EQ(DropDuplicateEntries("a;a", ""), "a;a");

  struct Case {
    const char* cookies;
    const char* response;
    const char* merged;
    const char* responseAfter;
  } cases[] = {
      {"a=0; c=3", "a=1;c=deleted", "a=1", "a=1;c=deleted"},
      {"a=0; b=2", "", "a=0; b=2", ""},  // nothing set: the earlier cookies stay, no empty entry
      {"", "x=1; y=2", "x=1; y=2", "x=1;y=2"},
      {"k=1; k=2; m = 3", "n=4", "n=4; k=1; m=3", "n=4"},  // the first earlier k hides the second
      {"a=0", "a=1; a=1", "a=1", "a=1;a=1"},
      {"x=1", "x=deleted", "", "x=deleted"},
      {"a=0", "b=1; ", "b=1; ; a=0", "b=1;"},  // an empty response entry stays, as the response gave it
  };
  for (const Case& c : cases) {
    std::string cookies = c.cookies, response = c.response;
    MergeCookies(cookies, response);
    EXPECT_EQ(cookies, c.merged) << c.cookies << " + " << c.response;
    EXPECT_EQ(response, c.responseAfter) << c.cookies << " + " << c.response;
  }
}

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
