// A scriptable in-memory system for the portable procedures: registry, files and
// folders, processes, and answers for message boxes and input boxes.
#pragma once

#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/platform_ops.h"

namespace velkor::test {

class FakePlatform : public PlatformOps {
 public:
  // --- state a test prepares and inspects ---
  std::map<std::string, std::string> regText;  // "HKCU\\key\\value" -> text
  std::map<std::string, uint32_t> regNumber;   // same naming
  std::set<std::string> refusedRegWrites;      // writes to these names fail
  std::vector<std::string> regWriteLog;        // every write, "HKCU\\path=value", in order
  // Typed values ("HKCU\\key\\value" -> value); a name is either here or in regText.
  std::map<std::string, RegValue> regTyped;
  std::set<std::string> unreadableRegKeys;  // "HKCU\\key": ReadRegValues fails

  std::set<std::string> dirs;                // folders, without trailing backslash
  std::vector<std::string> madeDirs;         // folders made by MakeDirectory, in order
  std::set<std::string> refusedDirs;         // MakeDirectory fails for these
  std::map<std::string, std::string> files;  // path -> contents
  std::set<std::string> lockedFiles;         // cannot be moved or removed
  std::set<std::string> sourcesKeptByMove;   // MovePath copies them and reports success
  std::set<std::string> unwritableFiles;     // ReplaceFileContents fails
  std::map<std::string, DateTime> creationDates;
  std::set<std::string> unreadableFiles;  // exist but cannot be read (locked, no permission)
  std::set<std::string> links;            // folder links: removal keeps them, never enters them
  std::string currentDirectory = "C:\\app";
  std::string windowsFolder = "C:\\Windows";
  std::string systemFolder = "C:\\Windows\\system32";
  std::string userProfileFolder = "C:\\Users\\tester";

  std::vector<ProcessEntry> processes;
  std::vector<uint32_t> endedProcesses;
  std::vector<std::string> shellOpens;  // "verb|file"
  std::vector<std::string> startedProcesses;
  std::vector<std::string> shortcuts;  // "link->target"

  std::deque<int> messageAnswers;       // answers to messages and reminders; OK when empty
  std::vector<std::string> messages;    // every message box text, in order
  std::vector<Buttons> messageButtons;  // the buttons each message asked with
  std::vector<std::string> reminders;   // every reminder text, in order
  std::deque<std::pair<bool, std::string>> inputAnswers;
  std::string browseAnswer;
  std::string logonName = "tester";
  OsVersion version{true, 6, 1};

  // Adds a file (and its folders).
  void AddFile(const std::string& path, const std::string& contents = "");
  void AddDir(const std::string& path);
  bool HasDir(const std::string& path) const { return dirs.count(Strip(path)) > 0; }
  bool HasFile(const std::string& path) const { return files.count(path) > 0; }
  static std::string Strip(const std::string& path);

  // --- PlatformOps ---
  std::string ReadRegText(RegRoot root, const std::string& path) override;
  uint32_t ReadRegNumber(RegRoot root, const std::string& path) override;
  bool WriteRegText(RegRoot root, const std::string& path, const std::string& value) override;
  bool WriteRegNumber(RegRoot root, const std::string& path, uint32_t value) override;
  bool ReadRegValues(RegRoot root, const std::string& key, std::vector<RegValue>& values) override;
  bool WriteRegValue(RegRoot root, const std::string& key, const RegValue& value) override;
  bool DeleteRegValue(RegRoot root, const std::string& key, const std::string& name) override;
  // Prepares a typed value, as a test's starting state.
  void SetRegValue(const std::string& key, const RegValue& value) {
    regTyped["HKCU\\" + key + "\\" + value.name] = value;
  }
  std::vector<ProcessEntry> ProcessList() override { return processes; }
  bool EndProcess(uint32_t id) override;
  bool ShellOpen(const std::string& verb, const std::string& file) override {
    shellOpens.push_back(verb + "|" + file);
    return true;
  }
  uint64_t FolderSize(const std::string& path) override;
  DateTime FolderCreationDate(const std::string& path) override;
  bool MakeDirectory(const std::string& path) override;
  bool Exists(const std::string& path) override;
  bool ReadWholeFile(const std::string& path, std::string& bytes) override;
  ReadOutcome ReadFileAtMost(const std::string& path, uint64_t limit, std::string& bytes) override;
  bool ReplaceFileContents(const std::string& path, const std::string& bytes) override;
  // Every text is representable except those holding U+FFFF (the tests' stand-in for
  // a character the code page lacks). The "code page" is UTF-8: bytes that are not
  // UTF-8 read as "?", as a real conversion loses them.
  bool ToAnsi(const std::string& utf8, std::string& ansi) override;
  std::string FromAnsi(const std::string& ansi) override;
  std::vector<DirEntry> ListDirectory(const std::string& pattern) override;
  RemovalResult RemoveFolder(const std::string& path) override;
  bool MovePath(const std::string& source, const std::string& target) override;
  bool CreateShortcut(const std::string& linkPath, const std::string& target) override;
  bool StartProcess(const std::string& commandLine, uint32_t) override {
    startedProcesses.push_back(commandLine);
    return true;
  }
  std::string LogonName() override { return logonName; }
  std::string CurrentDirectory() override { return currentDirectory; }
  std::string WindowsFolder() override { return windowsFolder; }
  std::string SystemFolder() override { return systemFolder; }
  std::string UserProfileFolder() override { return userProfileFolder; }
  OsVersion Version() override { return version; }
  std::string BrowseForFolder(const std::string&) override { return browseAnswer; }
  int ShowMessage(const std::string& text, Buttons buttons) override;
  int ShowReminder(const std::string& text) override;
  bool InputBox(const std::string& title, const std::string& prompt, std::string& text) override;

 private:
  int NextAnswer();
  static std::string Name(RegRoot root, const std::string& path);
  bool Under(const std::string& path, const std::string& folder) const;
};

inline constexpr char kUnrepresentable[] = "\xEF\xBF\xBF";

}  // namespace velkor::test
