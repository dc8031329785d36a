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
  regText[name] = value;
  return true;
}

bool FakePlatform::WriteRegNumber(RegRoot root, const std::string& path, uint32_t value) {
  const std::string name = Name(root, path);
  regWriteLog.push_back(name + "=" + std::to_string(value));
  if (refusedRegWrites.count(name)) return false;
  regNumber[name] = value;
  return true;
}

void FakePlatform::EndProcess(uint32_t id) {
  endedProcesses.push_back(id);
  std::erase_if(processes, [id](const ProcessEntry& p) { return p.id == id; });
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
  if (dirs.count(p) || files.count(p) || !dirs.count(Parent(p))) return false;
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
  if (it == files.end()) return false;
  bytes = it->second;
  return true;
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
  RemovalResult result{true, 0};
  std::set<std::string> keep;  // folders holding something locked
  for (auto it = files.begin(); it != files.end();) {
    if (Under(it->first, folder) && lockedFiles.count(it->first)) {
      ++result.entriesLeft;
      for (std::string p = Parent(it->first); Under(p, folder) || p == folder; p = Parent(p)) keep.insert(p);
      ++it;
    } else if (Under(it->first, folder)) {
      it = files.erase(it);
    } else {
      ++it;
    }
  }
  std::erase_if(dirs, [&](const std::string& d) { return (d == folder || Under(d, folder)) && !keep.count(d); });
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

int FakePlatform::ShowMessage(const std::string& text, Buttons) {
  messages.push_back(text);
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
