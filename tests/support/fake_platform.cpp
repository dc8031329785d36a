#include "fake_platform.h"

#include <algorithm>

namespace velkor::test {
namespace {

bool Glob(const char* pattern, const char* name) {
  if (*pattern == '\0') return *name == '\0';
  if (*pattern == '*') return Glob(pattern + 1, name) || (*name != '\0' && Glob(pattern, name + 1));
  if (*name == '\0') return false;
  return (*pattern == '?' || *pattern == *name) && Glob(pattern + 1, name + 1);
}

std::string Parent(const std::string& path) {
  const size_t slash = path.rfind('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace

std::string FakePlatform::Strip(const std::string& path) {
  return !path.empty() && path.back() == '\\' ? path.substr(0, path.size() - 1) : path;
}

bool FakePlatform::Under(const std::string& path, const std::string& folder) const {
  return path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 && path[folder.size()] == '\\';
}

void FakePlatform::AddDir(const std::string& path) {
  for (std::string p = Strip(path); !p.empty() && p.find('\\') != std::string::npos; p = Parent(p)) dirs.insert(p);
}

void FakePlatform::AddFile(const std::string& path, const std::string& contents) {
  AddDir(Parent(path));
  files[path] = contents;
}

std::string FakePlatform::Name(RegRoot root, const std::string& path) {
  return (root == RegRoot::CurrentUser ? "HKCU\\" : "HKLM\\") + path;
}

std::string FakePlatform::ReadRegText(RegRoot root, const std::string& path) {
  if (auto typed = regTyped.find(Name(root, path)); typed != regTyped.end())
    return typed->second.type == kRegSz || typed->second.type == kRegExpandSz ? RegDataText(typed->second.data)
                                                                              : std::string();
  auto it = regText.find(Name(root, path));
  return it == regText.end() ? std::string() : it->second;
}

uint32_t FakePlatform::ReadRegNumber(RegRoot root, const std::string& path) {
  auto it = regNumber.find(Name(root, path));
  return it == regNumber.end() ? 0 : it->second;
}

bool FakePlatform::WriteRegText(RegRoot root, const std::string& path, const std::string& value) {
  const std::string name = Name(root, path);
  regWriteLog.push_back(name + "=" + value);
  if (refusedRegWrites.count(name)) return false;
  regTyped.erase(name);
  regText[name] = value;
  return true;
}

bool FakePlatform::ReadRegValues(RegRoot root, const std::string& key, std::vector<RegValue>& values) {
  values.clear();
  const std::string prefix = Name(root, key) + "\\";
  if (unreadableRegKeys.count(Name(root, key))) return false;
  auto inKey = [&prefix](const std::string& name) {
    return name.compare(0, prefix.size(), prefix) == 0 && name.find('\\', prefix.size()) == std::string::npos;
  };
  std::map<std::string, RegValue> found;
  for (const auto& [name, text] : regText)
    if (inKey(name)) found[name] = {name.substr(prefix.size()), kRegSz, RegTextData(text)};
  for (const auto& [name, number] : regNumber)
    if (inKey(name))
      found[name] = {name.substr(prefix.size()), kRegDword, std::string(reinterpret_cast<const char*>(&number), 4)};
  for (const auto& [name, value] : regTyped)
    if (inKey(name)) found[name] = value;
  for (const auto& [name, value] : found) values.push_back(value);
  return true;
}

bool FakePlatform::WriteRegValue(RegRoot root, const std::string& key, const RegValue& value) {
  const std::string name = Name(root, key + "\\" + value.name);
  const bool text = value.type == kRegSz || value.type == kRegExpandSz;
  std::string entry = name;
  entry += value.type == kRegExpandSz ? "=(expand)" : "=";
  if (text) {
    entry += RegDataText(value.data);
  } else {
    entry += "(type " + std::to_string(value.type) + ", ";
    entry += std::to_string(value.data.size());
    entry += " bytes)";
  }
  regWriteLog.push_back(entry);
  if (refusedRegWrites.count(name)) return false;
  regText.erase(name);
  regNumber.erase(name);
  regTyped[name] = value;
  return true;
}

bool FakePlatform::DeleteRegValue(RegRoot root, const std::string& key, const std::string& valueName) {
  const std::string name = Name(root, key + "\\" + valueName);
  regWriteLog.push_back(name + " removed");
  if (refusedRegWrites.count(name)) return false;
  regText.erase(name);
  regNumber.erase(name);
  regTyped.erase(name);
  return true;
}

bool FakePlatform::WriteRegNumber(RegRoot root, const std::string& path, uint32_t value) {
  const std::string name = Name(root, path);
  regWriteLog.push_back(name + "=" + std::to_string(value));
  if (refusedRegWrites.count(name)) return false;
  regNumber[name] = value;
  return true;
}

bool FakePlatform::EndProcess(uint32_t id) {
  endedProcesses.push_back(id);
  return std::erase_if(processes, [id](const ProcessEntry& p) { return p.id == id; }) > 0;
}

uint64_t FakePlatform::FolderSize(const std::string& path) {
  uint64_t total = 0;
  const std::string folder = Strip(path);
  for (const auto& [name, contents] : files)
    if (Under(name, folder)) total += contents.size();
  return total;
}

DateTime FakePlatform::FolderCreationDate(const std::string& path) {
  auto it = creationDates.find(Strip(path));
  return it == creationDates.end() || !HasDir(path) ? DateTime{} : it->second;
}

bool FakePlatform::MakeDirectory(const std::string& path) {
  const std::string p = Strip(path);
  if (dirs.count(p) || files.count(p) || !dirs.count(Parent(p)) || refusedDirs.count(p)) return false;
  dirs.insert(p);
  madeDirs.push_back(p);
  return true;
}

bool FakePlatform::Exists(const std::string& path) {
  if (path.find_first_of("*?") == std::string::npos) return dirs.count(path) || files.count(path);
  return !ListDirectory(path).empty();
}

bool FakePlatform::ReadWholeFile(const std::string& path, std::string& bytes) {
  auto it = files.find(path);
  if (it == files.end() || unreadableFiles.count(path)) return false;
  bytes = it->second;
  return true;
}

ReadOutcome FakePlatform::ReadFileAtMost(const std::string& path, uint64_t limit, std::string& bytes) {
  auto it = files.find(path);
  if (it == files.end() || unreadableFiles.count(path)) return ReadOutcome::Unreadable;
  if (it->second.size() > limit) return ReadOutcome::TooLarge;
  bytes = it->second;
  return ReadOutcome::Read;
}

std::string FakePlatform::FromAnsi(const std::string& ansi) {
  std::string out;
  for (size_t at = 0; at < ansi.size();) {
    const auto b = static_cast<unsigned char>(ansi[at]);
    const size_t n = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
    bool ok = n > 0 && at + n <= ansi.size();
    for (size_t i = 1; ok && i < n; ++i) ok = (static_cast<unsigned char>(ansi[at + i]) >> 6) == 2;
    if (!ok) {
      out.push_back('?');
      ++at;
      continue;
    }
    out.append(ansi, at, n);
    at += n;
  }
  return out;
}

bool FakePlatform::ReplaceFileContents(const std::string& path, const std::string& bytes) {
  if (unwritableFiles.count(path) || !dirs.count(Parent(path))) return false;
  files[path] = bytes;
  return true;
}

bool FakePlatform::ToAnsi(const std::string& utf8, std::string& ansi) {
  if (utf8.find(kUnrepresentable) != std::string::npos) return false;
  ansi = utf8;
  return true;
}

std::vector<DirEntry> FakePlatform::ListDirectory(const std::string& pattern) {
  const std::string folder = Parent(pattern);
  const std::string mask = pattern.substr(folder.size() + (folder.size() < pattern.size() ? 1 : 0));
  std::vector<DirEntry> out;
  auto consider = [&](const std::string& path, bool directory) {
    if (Parent(path) != folder) return;
    const std::string name = path.substr(folder.size() + 1);
    // "*.*" matches every name, as on Windows.
    if (mask == "*.*" || Glob(mask.c_str(), name.c_str())) out.push_back({name, directory, !directory});
  };
  if (dirs.count(folder)) {
    out.push_back({".", true, false});
    out.push_back({"..", true, false});
    if (mask != "*.*" && mask != "*") out.clear();
  }
  for (const std::string& d : dirs) consider(d, true);
  for (const auto& [name, contents] : files) consider(name, false);
  return out;
}

RemovalResult FakePlatform::RemoveFolder(const std::string& path) {
  const std::string folder = Strip(path);
  if (!dirs.count(folder)) return {false, 0};
  RemovalResult result{true, 0, 0};
  std::set<std::string> keep;  // folders holding something locked
  auto behindLink = [&](const std::string& path) {
    for (const std::string& link : links)
      if (Under(path, link)) return true;
    return false;
  };
  if (links.count(folder)) return {false, 1, 1};
  for (const std::string& link : links) {
    if (!Under(link, folder)) continue;
    ++result.entriesLeft, ++result.linksLeft;
    for (std::string p = link; Under(p, folder) || p == folder; p = Parent(p)) keep.insert(p);
  }
  for (auto it = files.begin(); it != files.end();) {
    if (behindLink(it->first)) {
      ++it;
    } else if (Under(it->first, folder) && lockedFiles.count(it->first)) {
      ++result.entriesLeft;
      for (std::string p = Parent(it->first); Under(p, folder) || p == folder; p = Parent(p)) keep.insert(p);
      ++it;
    } else if (Under(it->first, folder)) {
      it = files.erase(it);
    } else {
      ++it;
    }
  }
  std::erase_if(dirs, [&](const std::string& d) {
    return (d == folder || Under(d, folder)) && !keep.count(d) && !behindLink(d);
  });
  result.complete = keep.empty();
  return result;
}

bool FakePlatform::MovePath(const std::string& source, const std::string& target) {
  if (!files.count(source) || lockedFiles.count(source) || files.count(target) || dirs.count(target) ||
      !dirs.count(Parent(target)))
    return false;
  files[target] = files[source];
  if (!sourcesKeptByMove.count(source)) files.erase(source);
  return true;
}

bool FakePlatform::CreateShortcut(const std::string& linkPath, const std::string& target) {
  if (!dirs.count(Parent(linkPath))) return false;
  shortcuts.push_back(linkPath + "->" + target);
  files[linkPath] = "LNK:" + target;
  return true;
}

int FakePlatform::ShowReminder(const std::string& text) {
  reminders.push_back(text);
  return NextAnswer();
}

int FakePlatform::ShowMessage(const std::string& text, Buttons buttons) {
  messages.push_back(text);
  messageButtons.push_back(buttons);
  return NextAnswer();
}

int FakePlatform::NextAnswer() {
  if (messageAnswers.empty()) return kOk;
  const int answer = messageAnswers.front();
  messageAnswers.pop_front();
  return answer;
}

bool FakePlatform::InputBox(const std::string&, const std::string&, std::string& text) {
  if (inputAnswers.empty()) return false;
  auto [ok, typed] = inputAnswers.front();
  inputAnswers.pop_front();
  if (ok) text = typed;
  return ok;
}

}  // namespace velkor::test
