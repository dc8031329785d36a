#include "web/web_text.h"

#include <gtest/gtest.h>
#include <string>

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

}  // namespace
}  // namespace velkor
