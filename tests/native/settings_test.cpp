#include "app/settings.h"

#include <gtest/gtest.h>

#include "fake_platform.h"

namespace velkor {
namespace {

using test::FakePlatform;

TEST(SettingsTest, PasswordMessages) {
  FakePlatform ops;
  std::string held;
  PasswordToggled(ops, held, true);  // cancelled at first use
  ops.inputAnswers = {{true, "s3cret"}};
  PasswordToggled(ops, held, true);
  PasswordToggled(ops, held, false);
  PasswordToggled(ops, held, true);  // cancelled after clearing
  ops.inputAnswers = {{true, ""}};
  PasswordToggled(ops, held, true);
  EXPECT_EQ(ops.messages,
            (std::vector<std::string>{"记录已更新，请牢记密码：", "记录已更新，请牢记密码：s3cret", "密码已清除！",
                                      "记录已更新，请牢记密码：", "记录已更新，请牢记密码："}));
}

}  // namespace
}  // namespace velkor
