#include <windows.h>
#include <wininet.h>

#include <cstdio>
#include <gtest/gtest.h>
#include <thread>

#include "loopback_http_server_win.h"
#include "web/startup_visit_win.h"
#include "web/web_request_win.h"
#include "win_fixtures_win.h"

namespace velkor {
namespace {

using test::HttpResponse;
using test::LoopbackHttpServer;
using test::RecordedRequest;

// Ends the whole test program when a test overruns, so that nothing can hang.
class Watchdog {
 public:
  explicit Watchdog(DWORD ms) : done_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    thread_ = std::thread([this, ms] {
      if (WaitForSingleObject(done_.get(), ms) == WAIT_OBJECT_0) return;
      std::fprintf(stderr, "%s overran its time limit\n",
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
      std::fflush(stderr);
      TerminateProcess(GetCurrentProcess(), 3);
    });
  }
  ~Watchdog() {
    SetEvent(done_.get());
    thread_.join();
  }

 private:
  UniqueHandle done_;
  std::thread thread_;
};

class WebRequestTest : public ::testing::Test {
 protected:
  Watchdog limit_{60000};
};

const std::string kDefaults =
    "\r\nAccept: */*\r\nAccept-Language: zh-cn\r\nContent-Type: application/x-www-form-urlencoded";

LoopbackHttpServer::Responder Always(std::string response) {
  return [response](const RecordedRequest&) { return response; };
}

TEST_F(WebRequestTest, GetSendsCompletedHeadersAndHandsBackTheResponse) {
  const std::string body("binary\0body\r\n", 13);
  LoopbackHttpServer server(Always(HttpResponse("200 OK", "X-Note: one\r\n", body)));
  ASSERT_NE(server.Port(), 0);
  const std::string url = server.Url("/dir/page.asp?q=1&r=two");

  WebRequestArgs args;
  EXPECT_EQ(WebRequest(url, args), body);

  ASSERT_EQ(server.Requests().size(), 1u);
  const RecordedRequest got = server.Requests()[0];
  EXPECT_EQ(got.requestLine, "GET /dir/page.asp?q=1&r=two HTTP/1.1");
  EXPECT_EQ(got.Header("Host"), "127.0.0.1:" + std::to_string(server.Port()));
  // Written out here, so a changed constant in the program cannot pass unnoticed.
  EXPECT_EQ(got.All("User-Agent"),
            std::vector<std::string>{"Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1; Tolvex; .NET CLR 2.0.50727; "
                                     ".NET CLR 3.0.04506.648; .NET CLR 3.5.21022)"});
  EXPECT_EQ(got.Header("Referer"), url);
  EXPECT_EQ(got.All("Accept"), std::vector<std::string>{"*/*"});
  EXPECT_EQ(got.Header("Accept-Language"), "zh-cn");
  EXPECT_EQ(got.Header("Content-Type"), "application/x-www-form-urlencoded");
  EXPECT_EQ(got.body, "");

  EXPECT_EQ(args.extraHeaders, "Referer: " + url + kDefaults);
  EXPECT_TRUE(args.rawHeaders.starts_with("HTTP/1.1 200 OK\r\n")) << args.rawHeaders;
  EXPECT_TRUE(args.rawHeaders.ends_with("\r\n\r\n")) << args.rawHeaders;
  EXPECT_NE(args.rawHeaders.find("\r\nX-Note: one\r\n"), std::string::npos) << args.rawHeaders;
  EXPECT_EQ(args.location, args.rawHeaders);  // no Location line
  EXPECT_EQ(args.responseCookies, "");
  EXPECT_FALSE(args.cookies.has_value());
}

TEST_F(WebRequestTest, PostSendsBodyCookiesAndOwnAgent) {
  LoopbackHttpServer server(
      Always(HttpResponse("200 OK", "Set-Cookie: sid=new; path=/\r\nSet-Cookie: gone=deleted; path=/\r\n", "posted")));
  ASSERT_NE(server.Port(), 0);
  const std::string url = server.Url("/form");
  const std::string text = "name=值&x=1";
  const std::string ansi = "name=\xD6\xB5&x=1";  // the text's bytes in code page 936
  const std::string bytes("\x01\x00\xFFraw", 6);
  struct Case {
    int method;
    std::string postBytes;  // in
    const char* verb;
    std::string sent;
  } cases[] = {
      {1, "", "POST", ansi},      // the text's bytes, kept in postBytes afterwards
      {1, bytes, "POST", bytes},  // given bytes win over the text
      {2, "", "GET", ansi},       // a body goes with every method but 0
  };
  for (const Case& c : cases) {
    WebRequestArgs args;
    args.method = c.method;
    args.postText = text;
    args.postBytes = c.postBytes;
    args.cookies = "sid=old; keep=1; gone=1";
    args.extraHeaders = "User-Agent: Probe/7\r\nX-Test: yes";
    EXPECT_EQ(WebRequest(url, args), "posted") << c.method;
    EXPECT_EQ(args.postBytes, c.sent) << c.method;
    EXPECT_EQ(args.cookies, "sid=new; keep=1") << c.method;
    EXPECT_EQ(args.responseCookies, "sid=new;gone=deleted") << c.method;
    EXPECT_EQ(args.extraHeaders, "User-Agent: Probe/7\r\nX-Test: yes\r\nReferer: " + url + kDefaults +
                                     "\r\nCookie: sid=old; keep=1; gone=1")
        << c.method;

    const std::vector<RecordedRequest> requests = server.Requests();
    ASSERT_FALSE(requests.empty());
    const RecordedRequest& got = requests.back();
    EXPECT_EQ(got.requestLine, std::string(c.verb) + " /form HTTP/1.1") << c.method;
    EXPECT_EQ(got.All("User-Agent"), std::vector<std::string>{"Probe/7"}) << c.method;
    EXPECT_EQ(got.Header("X-Test"), "yes") << c.method;
    EXPECT_EQ(got.Header("Referer"), url) << c.method;
    EXPECT_EQ(got.All("Cookie"), std::vector<std::string>{"sid=old; keep=1; gone=1"}) << c.method;
    EXPECT_EQ(got.Header("Content-Type"), "application/x-www-form-urlencoded") << c.method;
    EXPECT_EQ(got.body, c.sent) << c.method;
  }
  EXPECT_EQ(server.Requests().size(), std::size(cases));
}

TEST_F(WebRequestTest, SuppliedCookiesKeepTheSystemStoreOut) {
  // A path of its own, so cookies the prefix kept from earlier runs cannot interfere.
  const std::string path = "/jar" + Narrow(test::UniqueSuffix());
  LoopbackHttpServer server(Always(
      HttpResponse("200 OK", "Set-Cookie: a=1; path=" + path + "\r\nSet-Cookie: b=2; path=" + path + "\r\n", "")));
  ASSERT_NE(server.Port(), 0);
  const std::string url = server.Url(path + "/page");

  WebRequestArgs first;
  WebRequest(url, first);
  EXPECT_EQ(first.responseCookies, "a=1; b=2");
  EXPECT_FALSE(first.cookies.has_value());

  WebRequestArgs fromStore;  // cookies omitted: the system's store sends what it kept
  WebRequest(url, fromStore);
  WebRequestArgs ownEmpty;  // supplied, even empty: the store stays out
  ownEmpty.cookies = "";
  WebRequest(url, ownEmpty);
  EXPECT_EQ(ownEmpty.cookies, "a=1; b=2");
  WebRequestArgs own;
  own.cookies = "z=9";
  WebRequest(url, own);
  EXPECT_EQ(own.cookies, "a=1; b=2; z=9");

  const std::vector<RecordedRequest> requests = server.Requests();
  ASSERT_EQ(requests.size(), 4u);
  EXPECT_EQ(requests[0].All("Cookie"), std::vector<std::string>{});
  EXPECT_EQ(requests[1].All("Cookie"), std::vector<std::string>{"a=1; b=2"});
  EXPECT_EQ(requests[2].All("Cookie"), std::vector<std::string>{});
  EXPECT_EQ(requests[3].All("Cookie"), std::vector<std::string>{"z=9"});
}

TEST_F(WebRequestTest, RedirectsAreFollowedUnlessNoRedirect) {
  LoopbackHttpServer server([](const RecordedRequest& r) -> std::optional<std::string> {
    if (r.requestLine.starts_with("GET /old ")) return HttpResponse("302 Found", "Location: /new\r\n", "moved away");
    return HttpResponse("200 OK", "", "arrived");
  });
  ASSERT_NE(server.Port(), 0);

  WebRequestArgs follow;
  EXPECT_EQ(WebRequest(server.Url("/old"), follow), "arrived");
  EXPECT_TRUE(follow.rawHeaders.starts_with("HTTP/1.1 200 OK\r\n")) << follow.rawHeaders;
  EXPECT_EQ(follow.location, follow.rawHeaders);
  ASSERT_EQ(server.Requests().size(), 2u);
  EXPECT_EQ(server.Requests()[1].requestLine, "GET /new HTTP/1.1");

  WebRequestArgs stay;
  stay.noRedirect = true;
  EXPECT_EQ(WebRequest(server.Url("/old"), stay), "moved away");
  EXPECT_TRUE(stay.rawHeaders.starts_with("HTTP/1.1 302 Found\r\n")) << stay.rawHeaders;
  EXPECT_EQ(stay.location, "/new");
  EXPECT_EQ(server.Requests().size(), 3u);
}

TEST_F(WebRequestTest, ProxyGetsTheRequestInProxyForm) {
  LoopbackHttpServer proxy(Always(HttpResponse("200 OK", "", "via proxy")));
  ASSERT_NE(proxy.Port(), 0);
  // The address itself is dead: only the proxy can answer.
  const std::string url = "http://127.0.0.1:" + std::to_string(LoopbackHttpServer::UnusedPort()) + "/via?x=1";
  WebRequestArgs args;
  args.proxy = "127.0.0.1:" + std::to_string(proxy.Port());
  EXPECT_EQ(WebRequest(url, args), "via proxy");
  ASSERT_EQ(proxy.Requests().size(), 1u);
  EXPECT_EQ(proxy.Requests()[0].requestLine, "GET " + url + " HTTP/1.1");
  EXPECT_EQ(proxy.Requests()[0].Header("Referer"), url);
}

TEST_F(WebRequestTest, UnreachableServerGivesEmptyBodyAndSpaces) {
  const std::string url = "http://127.0.0.1:" + std::to_string(LoopbackHttpServer::UnusedPort()) + "/x";
  const std::string spaces(kHeaderBufferSize, ' ');
  WebRequestArgs args;
  args.cookies = "a=1";
  EXPECT_EQ(WebRequest(url, args), "");
  EXPECT_EQ(args.extraHeaders, "Referer: " + url + kDefaults + "\r\nCookie: a=1");
  EXPECT_EQ(args.rawHeaders, spaces);
  EXPECT_EQ(args.location, spaces);
  EXPECT_EQ(args.responseCookies, "");
  EXPECT_EQ(args.cookies, "a=1");

  WebRequestArgs kept;
  kept.location = "earlier";
  WebRequest(url, kept);
  EXPECT_EQ(kept.location, "earlier");
}

TEST_F(WebRequestTest, PortBeyondSixteenBitsIsNotWrappedOntoAnother) {
  LoopbackHttpServer server(Always(HttpResponse("200 OK", "", "wrong door")));
  ASSERT_NE(server.Port(), 0);
  WebRequestArgs args;
  args.rawHeaders = args.location = "untouched";
  EXPECT_EQ(WebRequest("http://127.0.0.1:" + std::to_string(65536 + server.Port()) + "/", args), "");
  EXPECT_EQ(args.extraHeaders, "");  // no connection: nothing is written
  EXPECT_EQ(args.rawHeaders, "untouched");
  EXPECT_EQ(args.location, "untouched");
  EXPECT_FALSE(server.WaitForRequests(1, 500));
}

TEST_F(WebRequestTest, HeaderBlockMustFitFiveThousandCharacters) {
  // Filler lines of 1000 characters (Wine cuts single header lines at about 4 KiB).
  struct Case {
    int fillerLines;
    bool fits;
  } cases[] = {{3, true}, {4, true}, {6, false}};
  const std::string filler(1000, 'f');
  for (const Case& c : cases) {
    std::string lines = "Set-Cookie: k=v; path=/big\r\n";
    for (int i = 0; i < c.fillerLines; ++i) lines += "X-Filler-" + std::to_string(i) + ": " + filler + "\r\n";
    LoopbackHttpServer server(Always(HttpResponse("200 OK", lines, "after")));
    ASSERT_NE(server.Port(), 0);
    WebRequestArgs args;
    args.cookies = "";
    EXPECT_EQ(WebRequest(server.Url("/big"), args), "after") << c.fillerLines;
    if (c.fits) {
      EXPECT_NE(args.rawHeaders.find(lines), std::string::npos) << c.fillerLines;
      EXPECT_EQ(args.responseCookies, "k=v") << c.fillerLines;
    } else {
      EXPECT_EQ(args.rawHeaders, std::string(kHeaderBufferSize, ' ')) << c.fillerLines;
      EXPECT_EQ(args.responseCookies, "") << c.fillerLines;
    }
    EXPECT_EQ(args.location, args.rawHeaders) << c.fillerLines;
  }
}

TEST_F(WebRequestTest, OddResponseHeadersAndLongBody) {
  // 32 MiB, read 1 KiB at a time, must arrive whole and in order.
  std::string big(32u << 20, '\0');
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>((i * 2654435761u) >> 24);
  LoopbackHttpServer server(Always(HttpResponse(
      "200 OK", "Set-Cookie: flag\r\nSet-Cookie: novalue; secure\r\nSet-Cookie:\r\nLocation:\r\nX-Empty:\r\n", big)));
  ASSERT_NE(server.Port(), 0);
  WebRequestArgs args;
  const std::string body = WebRequest(server.Url("/odd"), args);
  EXPECT_EQ(body.size(), big.size());
  EXPECT_TRUE(body == big);
  EXPECT_EQ(args.responseCookies, "; novalue; ");
  EXPECT_EQ(args.location, args.rawHeaders);
}

TEST_F(WebRequestTest, TextsGoOutInTheAnsiCodePage) {
  ASSERT_EQ(GetACP(), 936u);
  LoopbackHttpServer server(Always(HttpResponse("200 OK", "", "ok")));
  ASSERT_NE(server.Port(), 0);
  WebRequestArgs args;
  args.method = 1;
  args.postText = "name=值";
  args.extraHeaders = "X-Name: 桌面";
  EXPECT_EQ(WebRequest(server.Url("/form"), args), "ok");
  ASSERT_EQ(server.Requests().size(), 1u);
  const RecordedRequest got = server.Requests()[0];
  EXPECT_EQ(got.body, "name=\xD6\xB5");  // GBK, not the UTF-8 E5 80 BC
  EXPECT_EQ(got.Header("X-Name"), "\xD7\xC0\xC3\xE6");
  EXPECT_EQ(args.postBytes, "name=\xD6\xB5");
  // The caller's texts stay as they were given.
  EXPECT_EQ(args.extraHeaders.substr(0, 14), "X-Name: 桌面");
}

// Answers that never end, never come or bring a large header block: the visit reads
// a few KiB of the body, writes nothing to the web cache and comes back.
TEST_F(WebRequestTest, StartupVisitReadsABoundedAnswerAndCachesNothing) {
  std::string flood(64u << 20, 'x');
  std::string manyHeaders;
  for (int i = 0; manyHeaders.size() < (256u << 10); ++i)
    manyHeaders += "X-Flood-" + std::to_string(i) + ": " + std::string(200, 'h') + "\r\n";
  struct Case {
    const char* name;
    std::string response;
  } cases[] = {
      // Declares a length it never reaches: only the bound ends the read.
      {"endless body", "HTTP/1.1 200 OK\r\nContent-Length: 1099511627776\r\n\r\n" + flood},
      {"huge headers", HttpResponse("200 OK", manyHeaders, "small")},
      {"silent server", ""},
      {"plain page", HttpResponse("200 OK", "Cache-Control: max-age=3600\r\n", std::string(100000, 'p'))},
  };
  for (const Case& c : cases) {
    LoopbackHttpServer server([&](const RecordedRequest&) -> std::optional<std::string> {
      if (c.response.empty()) return std::nullopt;
      return c.response;
    });
    ASSERT_NE(server.Port(), 0);
    const std::string url = server.Url("/visit" + Narrow(test::UniqueSuffix()) + "/");
    const std::string read = VisitSite(url, std::chrono::seconds(3));
    EXPECT_LE(read.size(), kStartupVisitBodyLimit) << c.name;
    EXPECT_EQ(server.Requests().size(), 1u) << c.name;
    DWORD size = 0;
    const std::wstring wide = Widen(url);
    EXPECT_FALSE(GetUrlCacheEntryInfoW(wide.c_str(), nullptr, &size) || GetLastError() == ERROR_INSUFFICIENT_BUFFER)
        << c.name << ": the answer went to the web cache";
  }
}

}  // namespace
}  // namespace velkor
