#include "app/startup.h"

#include <gtest/gtest.h>

#include "velkor_version.h"

namespace velkor {
namespace {

TEST(Startup, GenerationAndTitle) {
  struct Case {
    OsVersion version;
    const char* title;
  } cases[] = {
      {{true, 5, 1}, "Windows多Velkor[XP]"}, {{true, 6, 1}, "Windows多Velkor[Win7]"},
      {{true, 5, 0}, "Windows多Velkor1.2"},  {{true, 5, 2}, "Windows多Velkor1.2"},
      {{true, 6, 0}, "Windows多Velkor1.2"},  {{true, 6, 2}, "Windows多Velkor1.2"},
      {{true, 10, 0}, "Windows多Velkor1.2"}, {{false, 5, 1}, "Windows多Velkor1.2"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MainWindowTitle(OsGenerationOf(c.version)), c.title) << c.version.major << "." << c.version.minor;
}

TEST(Startup, DesignedTextsCarryTheProjectVersion) {
  // The texts are kept exactly as designed; a new version must change them too.
  EXPECT_EQ(std::string(kProgramTitle), "Windows多Velkor" VELKOR_VERSION_TEXT);
  EXPECT_EQ(std::string(kVersionMessage), "本软件版本为:" VELKOR_VERSION_TEXT);
}

}  // namespace
}  // namespace velkor
