#include "app/settings.h"

namespace velkor {

void PasswordToggled(AppContext& context, bool ticked) {
  if (!ticked) {
    context.heldPassword.clear();
    context.ops.ShowMessage("密码已清除！", Buttons::Ok);
    return;
  }
  std::string typed;
  if (context.ops.InputBox("安全密码", "请输入密码", typed)) context.heldPassword = typed;
  context.ops.ShowMessage("记录已更新，请牢记密码：" + context.heldPassword, Buttons::Ok);
}

}  // namespace velkor
