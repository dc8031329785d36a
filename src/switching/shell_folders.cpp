#include "switching/shell_folders.h"

#include <algorithm>
#include <map>

#include "catalogue/catalogue_view.h"

namespace velkor {

std::string ShellFoldersValue(const std::string& valueName) { return std::string(kShellFoldersKey) + "\\" + valueName; }

std::string UserShellFoldersValue(const std::string& valueName) {
  return std::string(kUserShellFoldersKey) + "\\" + valueName;
}

FolderTest FolderTestOf(PlatformOps& ops) {
  return [&ops](const std::string& path) { return FolderExists(ops, path); };
}

void ApplyRegWrites(PlatformOps& ops, const RegWritePlan& plan) {
  for (const RegWrite& write : plan) ops.WriteRegText(RegRoot::CurrentUser, write.path, write.value);
}

namespace {

std::string KeyOf(const std::string& path) { return path.substr(0, path.rfind('\\')); }
std::string NameOf(const std::string& path) { return path.substr(path.rfind('\\') + 1); }

// What the keys of a step held before it, so that a refused change can be undone.
class StepUndo {
 public:
  explicit StepUndo(PlatformOps& ops) : ops_(ops) {}

  bool Remember(const std::string& key) {
    if (before_.count(key)) return true;
    std::vector<RegValue> values;
    if (!ops_.ReadRegValues(RegRoot::CurrentUser, key, values)) return false;
    before_[key] = std::move(values);
    return true;
  }
  void Changed(const std::string& key, const std::string& name) { changed_.emplace_back(key, name); }

  // Puts back, newest first, every value changed so far; says which could not be.
  void PutBack(RegStepResult& result) {
    for (auto it = changed_.rbegin(); it != changed_.rend(); ++it) {
      const auto& [key, name] = *it;
      const std::vector<RegValue>& old = before_[key];
      const auto was = std::find_if(old.begin(), old.end(), [&](const RegValue& v) { return v.name == name; });
      const bool ok = was != old.end() ? ops_.WriteRegValue(RegRoot::CurrentUser, key, *was)
                                       : ops_.DeleteRegValue(RegRoot::CurrentUser, key, name);
      if (!ok) result.notPutBack.push_back(key + "\\" + name);
    }
  }

 private:
  PlatformOps& ops_;
  std::map<std::string, std::vector<RegValue>> before_;
  std::vector<std::pair<std::string, std::string>> changed_;
};

// Runs `apply` for change 0, 1, ... of a step on `targets` (key, value name); `apply` returns false for a
// refused change, which ends the step and puts back what it changed.
template <typename Apply>
RegStepResult RunStep(PlatformOps& ops, const std::vector<std::pair<std::string, std::string>>& targets, Apply apply) {
  RegStepResult result;
  StepUndo undo(ops);
  for (const auto& [key, name] : targets) {
    if (!undo.Remember(key)) {
      result.ok = false;
      result.refused = key + "\\" + name;
      return result;
    }
  }
  for (size_t i = 0; i < targets.size(); ++i) {
    if (!apply(i)) {
      result.ok = false;
      result.refused = targets[i].first + "\\" + targets[i].second;
      undo.PutBack(result);
      return result;
    }
    undo.Changed(targets[i].first, targets[i].second);
  }
  return result;
}

}  // namespace

RegStepResult ApplyRegStep(PlatformOps& ops, const RegChangePlan& plan) {
  std::vector<std::pair<std::string, std::string>> targets;
  for (const RegChange& change : plan) targets.emplace_back(change.key, change.value.name);
  return RunStep(ops, targets, [&](size_t i) {
    const RegChange& change = plan[i];
    return change.remove ? ops.DeleteRegValue(RegRoot::CurrentUser, change.key, change.value.name)
                         : ops.WriteRegValue(RegRoot::CurrentUser, change.key, change.value);
  });
}

RegStepResult ApplyRegStep(PlatformOps& ops, const RegWritePlan& plan) {
  std::vector<std::pair<std::string, std::string>> targets;
  for (const RegWrite& write : plan) targets.emplace_back(KeyOf(write.path), NameOf(write.path));
  return RunStep(ops, targets,
                 [&](size_t i) { return ops.WriteRegText(RegRoot::CurrentUser, plan[i].path, plan[i].value); });
}

std::string StepRefusedText(const std::string& what, const RegStepResult& result) {
  std::string text = what + "没有完成：注册表值“" + result.refused +
                     "”拒绝修改（可能被安全软件或权限设置锁定）。\n本次修改过的值都已恢复原样，桌面已重新启动。";
  if (!result.notPutBack.empty()) {
    text += "\n以下值未能恢复原样，请用“还原到切换前的文件夹”再试一次：";
    for (const std::string& value : result.notPutBack) text += "\n" + value;
  }
  return text;
}

}  // namespace velkor
