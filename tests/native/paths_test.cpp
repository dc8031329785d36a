#include "platform/paths.h"

#include <gtest/gtest.h>

#include "platform/text.h"

namespace velkor {
namespace {

constexpr char kNone[] = "(refused)";

TEST(CanonicalPath, EverySpellingResolvesToWhatItNamesOrIsRefused) {
  // The current folder is the program's, as when the program runs.
  const std::string cwd = "C:\\app";
  struct Case {
    const char* typed;
    const char* canonical;
  };
  // clang-format off
  const Case cases[] = {
      {"D:/", "D:\\"},               {"D:\\\\", "D:\\"},             {"D:\\.", "D:\\"},
      {"D:\\x\\..", "D:\\"},         {"\\.", "C:\\"},                {"D:.", "D:\\"},
      {".", "C:\\app"},              {".\\", "C:\\app"},             {"..\\run", "C:\\run"},
      {"T:.", "T:\\"},               {"C:.", "C:\\app"},             {"C:sub", "C:\\app\\sub"},
      {"d:\\a\\\\b//c\\", "D:\\a\\b\\c"},                            {"D:\\a\\..\\..\\..\\b", "D:\\b"},
      {"D:\\x\\a.", "D:\\x\\a"},     {"D:\\x\\a .. ", "D:\\x\\a"},   {"D:\\x\\...", "D:\\x"},
      {"\\\\srv\\share", "\\\\srv\\share\\"},                        {"\\\\srv\\share\\..\\..", "\\\\srv\\share\\"},
      {"//srv/share/a", "\\\\srv\\share\\a"},                        {"\\\\srv", kNone},
      {"\\\\srv\\", kNone},          {"\\\\?\\D:\\x", kNone},         {"\\\\.\\D:", kNone},
      {"D:\\x\\CON", kNone},         {"D:\\nul.txt\\y", kNone},       {"D:\\com1", kNone},
      {"D:\\a.\\b", kNone},          {"D:\\a \\b", kNone},            {"D:\\a:s", kNone},
      {"D:\\a*", kNone},             {"", kNone},                     {"D:\\桌面\\工作", "D:\\桌面\\工作"},
  };
  // clang-format on
  for (const Case& c : cases) {
    const auto got = CanonicalPath(c.typed, cwd);
    EXPECT_EQ(got.value_or(kNone), c.canonical) << c.typed;
  }
  const std::string deep = "D:\\" + std::string(300, 'x') + "\\y";
  EXPECT_EQ(CanonicalPath(deep, cwd).value_or(kNone), deep);
}

TEST(CanonicalPath, OnlyDriveAndSharePathsAreAbsolute) {
  for (const char* p : {"D:\\", "D:/x", "\\\\srv\\share", "\\\\srv\\share\\x"}) EXPECT_TRUE(IsAbsolutePath(p)) << p;
  for (const char* p : {"D:", "D:.", "D:x", "\\x", "\\.", ".", "..\\run", "x", "\\\\srv", "\\\\srv\\"})
    EXPECT_FALSE(IsAbsolutePath(p)) << p;
}

TEST(CanonicalPath, ComparedAsTheFileSystemComparesNames) {
  EXPECT_TRUE(SamePath("C:\\Users\\Me\\Desktop", "c:\\users\\me\\DESKTOP"));
  EXPECT_TRUE(SamePath("D:\\Тест", "D:\\тест"));
  EXPECT_TRUE(SamePath("D:\\ＡＢ", "D:\\ａｂ"));
  EXPECT_FALSE(SamePath("D:\\ab", "D:\\ab2"));
  EXPECT_TRUE(PathWithin("D:\\A\\b", "d:\\a"));
  EXPECT_TRUE(PathWithin("D:\\a", "D:\\"));
  EXPECT_FALSE(PathWithin("D:\\ab", "D:\\a"));
  EXPECT_FALSE(PathWithin("D:\\a", "D:\\a\\b"));
  EXPECT_EQ(ParentPath("D:\\a"), "D:\\");
  EXPECT_EQ(ParentPath("\\\\s\\h\\a"), "\\\\s\\h\\");
  EXPECT_EQ(ExtendedLengthPath("D:\\a."), "\\\\?\\D:\\a.");
  EXPECT_EQ(ExtendedLengthPath("\\\\s\\h\\a"), "\\\\?\\UNC\\s\\h\\a");
  EXPECT_EQ(UpcaseForNames("aÿßЁёΣσς\xFF"), "AŸßЁЁΣΣΣ\xFF");
}

}  // namespace
}  // namespace velkor
