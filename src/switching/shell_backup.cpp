#include "switching/shell_backup.h"

#include <algorithm>
#include <cstdio>

#include "catalogue/catalogue_view.h"
#include "catalogue/profile_layout.h"
#include "catalogue/shell_folder_use.h"
#include "platform/text.h"
#include "switching/shell_restart.h"

namespace velkor {
namespace {

constexpr char kHeader[] = "VelkorShellFolders 1\n";

constexpr char kShellFoldersUnreadable[] = "无法读取当前的桌面文件夹设置，为了能够还原，本次没有切换。";
constexpr char kBackupNotSaved[] = "无法保存切换前文件夹的备份，为了能够还原，本次没有切换。";

uint32_t Fnv1a(const std::string& bytes) {
  uint32_t hash = 2166136261u;
  for (unsigned char c : bytes) hash = (hash ^ c) * 16777619u;
  return hash;
}

std::string Hex(const std::string& bytes) {
  if (bytes.empty()) return "-";
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out;
  for (unsigned char c : bytes) {
    out.push_back(kDigits[c >> 4]);
    out.push_back(kDigits[c & 15]);
  }
  return out;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::optional<std::string> Unhex(const std::string& text) {
  if (text == "-") return std::string();
  if (text.empty() || text.size() % 2) return std::nullopt;
  std::string out;
  for (size_t i = 0; i < text.size(); i += 2) {
    const int hi = HexDigit(text[i]), lo = HexDigit(text[i + 1]);
    if (hi < 0 || lo < 0) return std::nullopt;
    out.push_back(static_cast<char>(hi * 16 + lo));
  }
  return out;
}

// A whole decimal number without sign or leading zeros, up to 32 bits.
std::optional<uint32_t> Number(const std::string& text) {
  if (text.empty() || text.size() > 10 || (text.size() > 1 && text[0] == '0')) return std::nullopt;
  uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<uint64_t>(c - '0');
  }
  if (value > 0xFFFFFFFFu) return std::nullopt;
  return static_cast<uint32_t>(value);
}

std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> words;
  size_t start = 0;
  for (size_t space; (space = line.find(' ', start)) != std::string::npos; start = space + 1)
    words.push_back(line.substr(start, space - start));
  words.push_back(line.substr(start));
  return words;
}

std::string EightHex(uint32_t value) {
  char text[9];
  std::snprintf(text, sizeof(text), "%08x", value);
  return text;
}

bool SameName(const std::string& a, const std::string& b) { return AsciiLower(a) == AsciiLower(b); }

const RegValue* Find(const std::vector<RegValue>& values, const std::string& name) {
  const auto it = std::find_if(values.begin(), values.end(), [&](const RegValue& v) { return SameName(v.name, name); });
  return it == values.end() ? nullptr : &*it;
}

bool IsShellFolderName(const std::string& name) {
  return std::any_of(kShellFolderTable.begin(), kShellFolderTable.end(),
                     [&](const ShellFolder& folder) { return SameName(folder.valueName, name); });
}

// The text a value names, expanded as the shell would expand it.
std::string PathOf(PlatformOps& ops, const std::string& key, const RegValue& value) {
  if (value.type == kRegExpandSz) return ops.ReadRegText(RegRoot::CurrentUser, key + "\\" + value.name);
  return value.type == kRegSz ? RegDataText(value.data) : std::string();
}

// The first shell-folder value (key path, backslash, name) whose path lies in one of `folders`.
std::optional<std::pair<std::string, std::string>> ValueInside(PlatformOps& ops, const ShellFolderSnapshot& snapshot,
                                                               const std::vector<std::string>& names,
                                                               const std::vector<std::string>& folders) {
  for (const KeyValues& key : snapshot)
    for (const RegValue& value : key.values) {
      if (std::none_of(names.begin(), names.end(), [&](const std::string& n) { return SameName(n, value.name); }))
        continue;
      const std::string path = PathOf(ops, key.key, value);
      for (const std::string& folder : folders)
        if (PathIsOrIsInside(path, folder)) return std::make_pair(key.key + "\\" + value.name, path);
    }
  return std::nullopt;
}

bool SaveBackup(PlatformOps& ops, const std::string& configRoot, const ShellFolderSnapshot& snapshot) {
  const std::string file = configRoot + kBackupFileName;
  // A damaged backup is still the user's: kept aside, never simply overwritten.
  std::string old;
  if (ops.ReadWholeFile(file, old) && !old.empty() && !DecodeBackup(old))
    ops.ReplaceFileContents(file + ".damaged", old);
  const std::string bytes = EncodeBackup(snapshot);
  const bool fileSaved = ops.ReplaceFileContents(file, bytes);
  const bool copySaved = ops.WriteRegValue(RegRoot::CurrentUser, kProgramKey, {kBackupValueName, kRegBinary, bytes});
  return fileSaved || copySaved;
}

std::string ChangesText(const RegChangePlan& plan) {
  if (plan.empty()) return "文件夹本来就和切换前一样，没有需要修改的值。";
  std::string text = "已还原到切换前的文件夹：";
  for (const RegChange& change : plan) {
    // "Shell Folders\Desktop": the key's last part is enough to tell the two apart.
    text += '\n';
    text.append(change.key, change.key.rfind('\\') + 1);
    text += '\\';
    text += change.value.name;
    if (change.remove)
      text += "（切换前没有此值，已删除）";
    else if (change.value.type == kRegSz || change.value.type == kRegExpandSz)
      text += " = " + RegDataText(change.value.data);
  }
  return text;
}

}  // namespace

std::string EncodeBackup(const ShellFolderSnapshot& snapshot) {
  std::string body = kHeader;
  size_t lines = 0;
  for (const KeyValues& key : snapshot) {
    body += "key " + Hex(key.key) + "\n";
    ++lines;
    for (const RegValue& value : key.values) {
      body += "value " + std::to_string(value.type) + " " + Hex(value.name) + " " + Hex(value.data) + "\n";
      ++lines;
    }
  }
  return body + "end " + std::to_string(lines) + " " + EightHex(Fnv1a(body)) + "\n";
}

std::optional<ShellFolderSnapshot> DecodeBackup(const std::string& bytes) {
  const std::string header = kHeader;
  if (bytes.size() < header.size() || bytes.compare(0, header.size(), header) != 0 || bytes.back() != '\n')
    return std::nullopt;
  const size_t endLine = bytes.rfind("\nend ", bytes.size() - 1);
  if (endLine == std::string::npos || endLine + 1 < header.size()) return std::nullopt;
  const std::string body = bytes.substr(0, endLine + 1);
  const std::vector<std::string> end = Words(bytes.substr(endLine + 1, bytes.size() - endLine - 2));
  if (end.size() != 3 || end[0] != "end" || end[2] != EightHex(Fnv1a(body))) return std::nullopt;
  const std::optional<uint32_t> count = Number(end[1]);
  if (!count) return std::nullopt;

  ShellFolderSnapshot snapshot;
  size_t lines = 0;
  for (size_t at = header.size(); at < body.size(); ++lines) {
    const size_t newline = body.find('\n', at);
    const std::vector<std::string> words = Words(body.substr(at, newline - at));
    at = newline + 1;
    if (words.size() == 2 && words[0] == "key") {
      const std::optional<std::string> key = Unhex(words[1]);
      if (!key) return std::nullopt;
      snapshot.push_back({*key, {}});
    } else if (words.size() == 4 && words[0] == "value" && !snapshot.empty()) {
      const std::optional<uint32_t> type = Number(words[1]);
      const std::optional<std::string> name = Unhex(words[2]), data = Unhex(words[3]);
      if (!type || !name || !data) return std::nullopt;
      snapshot.back().values.push_back({*name, *type, *data});
    } else {
      return std::nullopt;
    }
  }
  if (lines != *count) return std::nullopt;
  return snapshot;
}

std::optional<ShellFolderSnapshot> ReadShellFolders(PlatformOps& ops) {
  ShellFolderSnapshot snapshot;
  for (const char* key : {kShellFoldersKey, kUserShellFoldersKey}) {
    snapshot.push_back({key, {}});
    if (!ops.ReadRegValues(RegRoot::CurrentUser, key, snapshot.back().values)) return std::nullopt;
  }
  return snapshot;
}

LoadedBackup LoadBackup(PlatformOps& ops, const std::string& configRoot) {
  LoadedBackup loaded;
  std::string bytes;
  if (ops.ReadWholeFile(configRoot + kBackupFileName, bytes)) {
    loaded.snapshot = DecodeBackup(bytes);
    loaded.fileDamaged = !loaded.snapshot;
  }
  if (!loaded.snapshot) {
    std::vector<RegValue> values;
    ops.ReadRegValues(RegRoot::CurrentUser, kProgramKey, values);
    if (const RegValue* copy = Find(values, kBackupValueName)) loaded.snapshot = DecodeBackup(copy->data);
  }
  return loaded;
}

bool BackupAvailable(PlatformOps& ops, const std::string& configRoot) {
  return LoadBackup(ops, configRoot).snapshot.has_value();
}

std::vector<std::string> SyncFolders(PlatformOps& ops) {
  // OneDrive's own record of its folders (Known Folder Move redirects into these), and
  // the variables it sets in the user's environment.
  static constexpr const char* kSources[][2] = {
      {"Software\\Microsoft\\OneDrive", "UserFolder"},
      {"Software\\Microsoft\\OneDrive\\Accounts\\Personal", "UserFolder"},
      {"Software\\Microsoft\\OneDrive\\Accounts\\Business1", "UserFolder"},
      {"Software\\Microsoft\\OneDrive\\Accounts\\Business2", "UserFolder"},
      {"Environment", "OneDrive"},
      {"Environment", "OneDriveConsumer"},
      {"Environment", "OneDriveCommercial"},
  };
  std::vector<std::string> folders;
  for (const auto& [key, name] : kSources) {
    std::vector<RegValue> values;
    ops.ReadRegValues(RegRoot::CurrentUser, key, values);
    if (const RegValue* value = Find(values, name)) {
      const std::string path = PathOf(ops, key, *value);
      if (!path.empty() && std::find(folders.begin(), folders.end(), path) == folders.end()) folders.push_back(path);
    }
  }
  return folders;
}

bool KeepTheWayBack(PlatformOps& ops, const std::string& configRoot, const std::string& profilesRoot) {
  if (LoadBackup(ops, configRoot).snapshot) return true;
  const std::optional<ShellFolderSnapshot> now = ReadShellFolders(ops);
  if (!now) {
    ops.ShowMessage(kShellFoldersUnreadable, Buttons::Ok);
    return false;
  }
  if (const auto synced = ValueInside(ops, *now, {"Desktop", "Personal"}, SyncFolders(ops))) {
    const std::string text = "您现在的文件夹“" + synced->second +
                             "”由同步程序（OneDrive）同步。切换桌面后，同步程序可能会把文件移回或重新同步。\n"
                             "切换前的文件夹会先备份好，随时可以用“程序设定”→“" +
                             kExactRestoreCaption + "”找回。\n是否继续切换？";
    if (ops.ShowMessage(text, Buttons::OkCancel) != kOk) return false;
  }
  std::vector<std::string> names;
  for (const ShellFolder& folder : kShellFolderTable) names.push_back(folder.valueName);
  if (const auto inProfile = ValueInside(ops, *now, names, {profilesRoot}))
    ops.ShowMessage("注意：没有找到切换前文件夹的备份，而且当前的文件夹已经指向一个桌面配置（" + inProfile->first +
                        " = " + inProfile->second + "）。\n现在保存的就是这些值，“" + kExactRestoreCaption +
                        "”会还原到这里。",
                    Buttons::Ok);
  if (!SaveBackup(ops, configRoot, *now)) {
    ops.ShowMessage(kBackupNotSaved, Buttons::Ok);
    return false;
  }
  return true;
}

RegChangePlan ExactRestorePlan(const ShellFolderSnapshot& backup, const ShellFolderSnapshot& current) {
  RegChangePlan plan;
  for (const KeyValues& kept : backup) {
    static const std::vector<RegValue> kNone;
    const auto now =
        std::find_if(current.begin(), current.end(), [&](const KeyValues& k) { return k.key == kept.key; });
    const std::vector<RegValue>& values = now == current.end() ? kNone : now->values;
    for (const RegValue& value : kept.values) {
      const RegValue* present = Find(values, value.name);
      if (!present || present->type != value.type || present->data != value.data) plan.push_back({kept.key, value});
    }
    // Only the values switching writes are removed: others may have come from the system since.
    for (const RegValue& value : values)
      if (IsShellFolderName(value.name) && !Find(kept.values, value.name))
        plan.push_back({kept.key, {value.name, value.type, ""}, true});
  }
  return plan;
}

void RestoreFromBackup(PlatformOps& ops, RowList& rows, const std::string& configRoot) {
  const LoadedBackup loaded = LoadBackup(ops, configRoot);
  if (!loaded.snapshot) {
    ops.ShowMessage(kNoBackup, Buttons::Ok);
    return;
  }
  if (loaded.fileDamaged) ops.ShowMessage(kBackupFileDamaged, Buttons::Ok);
  if (ops.ShowMessage(kAskExactRestore, Buttons::OkCancel) != kOk) return;
  EndShell(ops, ops.ProcessList());
  const std::optional<ShellFolderSnapshot> now = ReadShellFolders(ops);
  RegChangePlan plan;
  RegStepResult result;
  if (now) {
    plan = ExactRestorePlan(*loaded.snapshot, *now);
    result = ApplyRegStep(ops, plan);
  } else {
    result.ok = false;
    result.refused = kUserShellFoldersKey;
  }
  ShellRestart(ops);
  ops.ShowMessage(result.ok ? ChangesText(plan) : StepRefusedText("还原", result), Buttons::Ok);
  RunningStateRefresh(rows, ops);
}

}  // namespace velkor
