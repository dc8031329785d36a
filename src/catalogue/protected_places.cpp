#include "catalogue/protected_places.h"

#include <optional>

#include "platform/paths.h"

namespace velkor {
namespace {

std::optional<std::string> Canonical(PlatformOps& ops, const std::string& path) {
  if (path.empty()) return std::nullopt;
  return CanonicalPath(path, ops.CurrentDirectory());
}

// True when `folder` is `place` or lies above it.
bool OnTheWayTo(const std::string& folder, const std::optional<std::string>& place) {
  return place && PathWithin(*place, folder);
}

}  // namespace

PlaceCheck CheckPlace(PlatformOps& ops, const AppPaths& paths, const std::string& path) {
  PlaceCheck check;
  if (!IsAbsolutePath(path)) {
    check.problem = "不是完整的路径（应为 X:\\… 或 \\\\服务器\\共享\\… 的形式）";
    return check;
  }
  const auto canonical = CanonicalPath(path, "");
  if (!canonical) {
    check.problem = "无法确定它所指的文件夹（含设备名、非法字符或以点、空格结尾的中间文件夹名）";
    return check;
  }
  check.canonical = *canonical;
  const std::string& c = check.canonical;
  const auto windows = Canonical(ops, ops.WindowsFolder());
  const auto system = Canonical(ops, ops.SystemFolder());
  const auto program = Canonical(ops, paths.runDir);
  if (IsRootPath(c))
    check.problem = "是磁盘或共享的根目录";
  else if ((windows && PathWithin(c, *windows)) || (system && PathWithin(c, *system)) || OnTheWayTo(c, windows) ||
           OnTheWayTo(c, system))
    check.problem = "是 Windows 或系统文件夹";
  else if (OnTheWayTo(c, Canonical(ops, ops.UserProfileFolder())))
    check.problem = "是用户文件夹本身或它的上级文件夹";
  else if (!program || OnTheWayTo(c, program))
    check.problem = "是本程序所在的文件夹或它的上级文件夹";
  else if (OnTheWayTo(c, Canonical(ops, paths.CatalogueFile())))
    check.problem = "保存着桌面列表文件";
  else if (SamePath(c, Canonical(ops, paths.ProfilesRoot()).value_or("")))
    check.problem = "是存放所有桌面的文件夹本身";
  return check;
}

}  // namespace velkor
