#include "platform/platform_ops.h"

#include <gtest/gtest.h>

#include "fake_platform.h"

namespace velkor {
namespace {

using test::FakePlatform;

TEST(PlatformOps, FolderExistsDropsOneTrailingBackslash) {
  FakePlatform ops;
  ops.AddDir("C:\\a");
  EXPECT_TRUE(FolderExists(ops, "C:\\a"));
  EXPECT_TRUE(FolderExists(ops, "C:\\a\\"));
  EXPECT_FALSE(FolderExists(ops, "C:\\a\\\\"));
  EXPECT_FALSE(FolderExists(ops, "C:\\b"));
}

}  // namespace
}  // namespace velkor
