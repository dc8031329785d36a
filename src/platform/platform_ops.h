// The operating-system operations the program's logic calls. Texts are UTF-8;
// the Win32 implementation converts at the API call. Tests use a scriptable fake.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velkor {

enum class RegRoot { CurrentUser, LocalMachine };

struct ProcessEntry {
  uint32_t id = 0;
  std::string exeName;  // bare file name, e.g. "explorer.exe"
  // Runs in this program's session (false also when that cannot be told): processes of
  // other logged-on users are listed to an administrator but are not ours to end.
  bool ownSession = true;
};

// Buttons of the plain message box; the answer uses the program's numbering.
enum class Buttons { Ok, OkCancel };
enum Answer : int { kOk = 0, kCancel = 1, kAbort = 2, kRetry = 3, kIgnore = 4, kYes = 5, kNo = 6 };

struct DirEntry {
  std::string name;
  bool directory = false;
  bool archive = false;
};

struct OsVersion {
  bool nt = true;
  uint32_t major = 0, minor = 0;
};

// The systems the program tells apart: XP (5.1), Windows 7 (6.1) and the others.
enum class OsGeneration { XP, Win7, Other };
OsGeneration OsGenerationOf(const OsVersion& version);

struct DateTime {
  int year = 1899, month = 12, day = 30, hour = 0, minute = 0, second = 0;
  bool operator==(const DateTime&) const = default;
};

// Registry value types the typed access names; any other type is carried as a number.
inline constexpr uint32_t kRegSz = 1, kRegExpandSz = 2, kRegBinary = 3, kRegDword = 4;

// One value of a key exactly as stored: texts keep their UTF-16LE bytes, with or
// without a terminator, so a value written back is the value that was read.
struct RegValue {
  std::string name;  // UTF-8
  uint32_t type = kRegSz;
  std::string data;  // raw bytes
  bool operator==(const RegValue&) const = default;
};

// UTF-16LE bytes of a text with its terminator, as a REG_SZ value holds it.
std::string RegTextData(const std::string& utf8);
// The text of REG_SZ/REG_EXPAND_SZ bytes up to the first terminator (an odd last byte
// is dropped); not expanded.
std::string RegDataText(const std::string& data);

// What a folder removal left behind: nothing when `complete`.
struct RemovalResult {
  bool complete = false;
  uint64_t entriesLeft = 0;
  uint64_t linksLeft = 0;  // of entriesLeft: links (junctions, symbolic links) that stayed
};

enum class ReadOutcome { Read, Unreadable, TooLarge };

class PlatformOps {
 public:
  virtual ~PlatformOps() = default;

  // Registry: `path` is key path, backslash, value name (no backslash: value at the root).
  // Missing values and values of another type read as "" / 0.
  virtual std::string ReadRegText(RegRoot root, const std::string& path) = 0;
  virtual uint32_t ReadRegNumber(RegRoot root, const std::string& path) = 0;
  virtual bool WriteRegText(RegRoot root, const std::string& path, const std::string& value) = 0;
  virtual bool WriteRegNumber(RegRoot root, const std::string& path, uint32_t value) = 0;
  // Typed access to whole keys. ReadRegValues gives every value of `key`; a missing
  // key has none, a key that exists but cannot be read gives false.
  virtual bool ReadRegValues(RegRoot root, const std::string& key, std::vector<RegValue>& values) = 0;
  // Writes the value with its own type and bytes (the key is created if missing).
  virtual bool WriteRegValue(RegRoot root, const std::string& key, const RegValue& value) = 0;
  // True when the value is gone afterwards, also when it never existed.
  virtual bool DeleteRegValue(RegRoot root, const std::string& key, const std::string& name) = 0;

  virtual std::vector<ProcessEntry> ProcessList() = 0;
  virtual bool EndProcess(uint32_t id) = 0;

  // Asks the shell to open `file` with `verb` ("" for the default action), shown normally.
  virtual bool ShellOpen(const std::string& verb, const std::string& file) = 0;

  // Total bytes of every file below `path`; reparse points are not followed and
  // unreadable sub-folders are skipped. A missing folder measures 0.
  virtual uint64_t FolderSize(const std::string& path) = 0;
  // Creation date in local time; the zero date (30 Dec 1899) when it cannot be read.
  virtual DateTime FolderCreationDate(const std::string& path) = 0;

  virtual bool MakeDirectory(const std::string& path) = 0;  // one level
  // Anything by that name (file or folder); wildcards match.
  virtual bool Exists(const std::string& path) = 0;

  virtual bool ReadWholeFile(const std::string& path, std::string& bytes) = 0;
  // Reads the whole file unless it holds more than `limit` bytes (then reads nothing).
  virtual ReadOutcome ReadFileAtMost(const std::string& path, uint64_t limit, std::string& bytes) = 0;
  // Replaces the file in one step: a failure leaves the previous file intact.
  virtual bool ReplaceFileContents(const std::string& path, const std::string& bytes) = 0;

  // Converts to and from the system's ANSI code page. ToAnsi fails for a text
  // the code page cannot represent.
  virtual bool ToAnsi(const std::string& utf8, std::string& ansi) = 0;
  virtual std::string FromAnsi(const std::string& ansi) = 0;

  virtual std::vector<DirEntry> ListDirectory(const std::string& pattern) = 0;
  // Removes the folder and everything in it; links inside are removed, never followed.
  // `path` is taken literally (a canonical path: "a." and "a" are different names).
  virtual RemovalResult RemoveFolder(const std::string& path) = 0;
  // Moves a file; `target` must not exist (callers pick a free name). True only when
  // the source is gone: a copy across volumes whose source stays is taken back.
  virtual bool MovePath(const std::string& source, const std::string& target) = 0;
  virtual bool CreateShortcut(const std::string& linkPath, const std::string& target) = 0;
  // Starts a command line shown normally and waits up to `waitMs` for it to be ready for input.
  virtual bool StartProcess(const std::string& commandLine, uint32_t waitMs) = 0;

  virtual std::string LogonName() = 0;  // "" when it cannot be read
  // Absolute folders the path guards resolve against and protect.
  virtual std::string CurrentDirectory() = 0;
  virtual std::string WindowsFolder() = 0;
  virtual std::string SystemFolder() = 0;
  virtual std::string UserProfileFolder() = 0;
  virtual OsVersion Version() = 0;
  // The folder browser with an edit field; "" when cancelled.
  virtual std::string BrowseForFolder(const std::string& title) = 0;

  virtual int ShowMessage(const std::string& text, Buttons buttons) = 0;
  // The friendly reminder: caption "友情提醒", OK and Cancel, owned by the program's
  // topmost visible window.
  virtual int ShowReminder(const std::string& text) = 0;
  // Returns false when cancelled; `text` then keeps its value.
  virtual bool InputBox(const std::string& title, const std::string& prompt, std::string& text) = 0;
};

// Drops one trailing backslash, then asks whether anything of that name exists.
bool FolderExists(PlatformOps& ops, const std::string& path);

// The shell's program by full path, never a file of that name found beside the program.
std::string ShellProgramPath(PlatformOps& ops);

}  // namespace velkor
