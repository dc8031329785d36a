#include <gtest/gtest.h>
#include <memory>

#include "app/main_menu.h"
#include "driver_win.h"
#include "loopback_http_server_win.h"
#include "web/web_request.h"
#include "web/web_text.h"

namespace velkor::e2e {
namespace {

using test::LoopbackHttpServer;
using test::RecordedRequest;

// The site must not answer: a visit that waits for it must neither show anything nor
// hold the program when the user quits.
TEST(StartupVisitE2E, ProgramWorksAndQuitsWhateverTheSiteDoes) {
  ASSERT_TRUE(test::RunningUnderWine());
  // Built by the win64 preset, the site is on this machine, where the test decides.
  ASSERT_EQ(UrlHost(VELKOR_SITE_URL, false), "127.0.0.1") << VELKOR_SITE_URL;
  const auto sitePort = static_cast<unsigned short>(UrlPort(VELKOR_SITE_URL));

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
      const RecordedRequest visit = site->Requests()[0];
      EXPECT_EQ(visit.requestLine, "GET / HTTP/1.1");
      EXPECT_EQ(visit.Header("User-Agent"), kDefaultUserAgent);
      EXPECT_EQ(visit.Header("Referer"), VELKOR_SITE_URL);
      EXPECT_EQ(visit.Header("Accept"), "*/*");
      EXPECT_EQ(visit.Header("Accept-Language"), "zh-cn");
      EXPECT_EQ(visit.Header("Content-Type"), "application/x-www-form-urlencoded");
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
      EXPECT_GE(site->Requests().size(), 1u);
      EXPECT_TRUE(WaitFor([&] { return site->OpenHeldConnections() == 0; }));
    }
  }
}

}  // namespace
}  // namespace velkor::e2e
