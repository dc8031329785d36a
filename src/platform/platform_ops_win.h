// The Win32 implementation of the program's system operations.
#pragma once

#include "platform/platform_ops.h"

namespace velkor {

class Win32PlatformOps : public PlatformOps {
 public:
  std::string ReadRegText(RegRoot root, const std::string& path) override;
  uint32_t ReadRegNumber(RegRoot root, const std::string& path) override;
  bool WriteRegText(RegRoot root, const std::string& path, const std::string& value) override;
  bool WriteRegNumber(RegRoot root, const std::string& path, uint32_t value) override;
  std::vector<ProcessEntry> ProcessList() override;
  void EndProcess(uint32_t id) override;
  void ShellOpen(const std::string& verb, const std::string& file) override;
  uint64_t FolderSize(const std::string& path) override;
  DateTime FolderCreationDate(const std::string& path) override;
  bool MakeDirectory(const std::string& path) override;
  bool Exists(const std::string& path) override;
  bool ReadWholeFile(const std::string& path, std::string& bytes) override;
  bool ReplaceFileContents(const std::string& path, const std::string& bytes) override;
  bool ToAnsi(const std::string& utf8, std::string& ansi) override;
  std::string FromAnsi(const std::string& ansi) override;
  std::vector<DirEntry> ListDirectory(const std::string& pattern) override;
  RemovalResult RemoveFolder(const std::string& path) override;
  bool MovePath(const std::string& source, const std::string& target) override;
  bool CreateShortcut(const std::string& linkPath, const std::string& target) override;
  void StartProcess(const std::string& commandLine, uint32_t waitMs) override;
  std::string LogonName() override;
  std::string WindowsFolder() override;
  OsVersion Version() override;
  std::string BrowseForFolder(const std::string& title) override;
  int ShowMessage(const std::string& text, Buttons buttons) override;
  int ShowReminder(const std::string& text) override;
  bool InputBox(const std::string& title, const std::string& prompt, std::string& text) override;
};

// The caption of every plain message box.
inline constexpr wchar_t kMessageCaption[] = L"信息：";

}  // namespace velkor
