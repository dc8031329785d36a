#include <gtest/gtest.h>
#include <memory>

#include "app/main_menu.h"
#include "driver_win.h"
#include "loopback_http_server_win.h"
#include "web/web_text.h"

namespace velkor::e2e {
namespace {

using test::LoopbackHttpServer;
using test::RecordedRequest;

// The site must not answer: a visit that waits for it must neither show anything nor
// hold the program when the user quits.
TEST(StartupVisitE2E, ProgramWorksAndQuitsWhateverTheSiteDoes) {
  ASSERT_TRUE(test::RunningUnderWine());
  // The copy under test visits this machine, where the test decides.
  ASSERT_EQ(UrlHost(VELKOR_TEST_SITE_ADDRESS, false), "127.0.0.1") << VELKOR_TEST_SITE_ADDRESS;
  const auto sitePort = static_cast<unsigned short>(UrlPort(VELKOR_TEST_SITE_ADDRESS));

  for (const bool listening : {false, true}) {
    SCOPED_TRACE(listening ? "site accepts and stays silent" : "nothing listens at the site");
    std::unique_ptr<LoopbackHttpServer> site;
    if (listening) {
      site = std::make_unique<LoopbackHttpServer>([](const RecordedRequest&) { return std::nullopt; }, sitePort);
      ASSERT_EQ(site->Port(), sitePort);
    }
    ProgramUnderTest program;
    program.Start();
    HWND main = program.MainWindow();
    ASSERT_TRUE(main);

    if (site) {
      ASSERT_TRUE(site->WaitForRequests(1, 10000));
      EXPECT_FALSE(site->WaitForRequests(2, 1000)) << "one visit per start";
      ASSERT_EQ(site->Requests().size(), 1u);
      const RecordedRequest visit = site->Requests()[0];
      // The expected lines are written out here, not taken from the program.
      EXPECT_EQ(visit.requestLine, "GET / HTTP/1.1");
      EXPECT_EQ(visit.All("User-Agent"),
                std::vector<std::string>{"Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1; Tolvex; .NET CLR "
                                         "2.0.50727; .NET CLR 3.0.04506.648; .NET CLR 3.5.21022)"});
      EXPECT_EQ(visit.All("Referer"), std::vector<std::string>{VELKOR_TEST_SITE_ADDRESS});
      EXPECT_EQ(visit.All("Accept"), std::vector<std::string>{"*/*"});
      EXPECT_EQ(visit.All("Accept-Language"), std::vector<std::string>{"zh-cn"});
      EXPECT_EQ(visit.All("Content-Type"), std::vector<std::string>{"application/x-www-form-urlencoded"});
    }
    SaveScreenshot(main, listening ? "main_window_site_silent" : "main_window_site_unreachable");
    EXPECT_FALSE(FindWindowOf(program.Pid(), L"#32770", nullptr));

    // The window thread answers while the visit waits.
    ChooseCommand(main, kCmdVersion);
    HWND box = WaitMessageBox(program.Pid());
    ASSERT_TRUE(box);
    EXPECT_EQ(MessageBoxText(box), "本软件版本为:1.2");
    SaveScreenshot(box, listening ? "version_site_silent" : "version_site_unreachable");
    Answer(box, IDOK);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }));

    // Still waiting for the silent site when the user quits.
    if (site) {
      EXPECT_GE(site->OpenHeldConnections(), 1u);
    }
    ChooseCommand(main, kCmdExit);
    box = WaitMessageBox(program.Pid());
    ASSERT_TRUE(box);
    EXPECT_EQ(MessageBoxText(box), "您确定退出软件吗？");
    SaveScreenshot(box, listening ? "exit_question_site_silent" : "exit_question_site_unreachable");
    Answer(box, IDOK);
    // Without a window manager Wine waits 2 s for each window it hides; a visit
    // that held the exit would wait for the silent site far longer.
    EXPECT_EQ(program.WaitExit(15000), 0u);
    if (site) {
      EXPECT_EQ(site->Requests().size(), 1u);
      EXPECT_TRUE(WaitFor([&] { return site->OpenHeldConnections() == 0; }));
    }
  }
}

// The program users run or unpack carries the maker's site; only the copy the tests
// start may visit a server on this machine.
TEST(StartupVisitE2E, ShippedProgramCarriesTheMakersSite) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring built = self;
  built = built.substr(0, built.rfind(L'\\'));                                   // .../tests
  built = built.substr(0, built.rfind(L'\\')) + L"\\" + Widen(VELKOR_EXE_NAME);  // the build's root
  const std::string image = test::ReadFileW(built);
  ASSERT_FALSE(image.empty()) << Narrow(built);
  EXPECT_NE(image.find(VELKOR_SITE_ADDRESS), std::string::npos) << VELKOR_SITE_ADDRESS;
  EXPECT_EQ(image.find("127.0.0.1"), std::string::npos);
}

}  // namespace
}  // namespace velkor::e2e
