#include "catalogue/protected_places.h"

#include <gtest/gtest.h>

#include "fake_platform.h"

namespace velkor {
namespace {

using test::FakePlatform;

TEST(ProtectedPlaces, GuardsTheSystemTheUserAndTheProgram) {
  FakePlatform ops;
  const AppPaths paths{"C:\\tools\\app", "v.exe"};
  ops.currentDirectory = "C:\\tools\\app";
  struct Case {
    const char* path;
    bool allowed;
  };
  // clang-format off
  const Case cases[] = {
      {"D:\\", false},                 {"D:/", false},                    {"D:\\x\\..", false},
      {"\\\\srv\\share\\", false},     {"\\\\srv\\share\\..", false},     {"\\\\srv\\share\\d", true},
      {"C:\\Windows", false},          {"c:\\windows\\System32", false},  {"C:\\Windows\\Temp\\x", false},
      {"C:\\Users", false},            {"C:\\Users\\Tester", false},      {"C:\\Users\\tester\\Desktop", true},
      {"C:\\tools", false},            {"C:\\TOOLS\\App", false},         {"C:\\tools\\app\\软件配置", false},
      {"C:\\tools\\app\\软件配置\\桌面配置", false},                       {"C:\\tools\\app\\软件配置\\桌面配置\\a", true},
      {"C:\\tools\\app2", true},       {"D:\\work\\desk", true},          {".", false},
      {"..\\run", false},              {"D:.", false},                    {"\\.", false},
      {"T:.", false},                  {"D:\\x\\CON", false},             {"D:\\a.\\b", false},
  };
  // clang-format on
  for (const Case& c : cases) {
    const PlaceCheck check = CheckPlace(ops, paths, c.path);
    EXPECT_EQ(check.Allowed(), c.allowed) << c.path << " " << check.problem;
  }
}

}  // namespace
}  // namespace velkor
