#include "app/settings.h"

namespace velkor {

void PasswordToggled(PlatformOps& ops, std::string& heldPassword, bool ticked) {
  if (!ticked) {
    heldPassword.clear();
    ops.ShowMessage("密码已清除！", Buttons::Ok);
    return;
  }
  std::string typed;
  if (ops.InputBox("安全密码", "请输入密码", typed)) heldPassword = typed;
  ops.ShowMessage("记录已更新，请牢记密码：" + heldPassword, Buttons::Ok);
}

}  // namespace velkor
