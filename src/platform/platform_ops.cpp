#include "platform/platform_ops.h"

#include "platform/text.h"

namespace velkor {

OsGeneration OsGenerationOf(const OsVersion& version) {
  if (!version.nt) return OsGeneration::Other;
  if (version.major == 5 && version.minor == 1) return OsGeneration::XP;
  if (version.major == 6 && version.minor == 1) return OsGeneration::Win7;
  return OsGeneration::Other;
}

std::string RegTextData(const std::string& utf8) {
  std::string out;
  auto unit = [&out](uint32_t u) {
    out.push_back(static_cast<char>(u & 0xFF));
    out.push_back(static_cast<char>(u >> 8));
  };
  for (size_t i = 0; i < utf8.size();) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    const int extra = c < 0x80 ? 0 : c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : -1;
    uint32_t code = extra == 0 ? c : extra == 1 ? c & 0x1F : extra == 2 ? c & 0x0F : c & 0x07;
    if (extra < 0 || (extra > 0 && i + extra >= utf8.size())) {
      code = 0xFFFD;  // a stray or cut byte: the replacement character, as the system converts it
      ++i;
    } else {
      for (int k = 1; k <= extra; ++k) code = (code << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
      i += extra + 1;
    }
    if (code >= 0x10000) {
      code -= 0x10000;
      unit(0xD800 + (code >> 10));
      unit(0xDC00 + (code & 0x3FF));
    } else {
      unit(code);
    }
  }
  unit(0);
  return out;
}

std::string RegDataText(const std::string& data) {
  std::string out;
  const size_t units = data.size() / 2;
  auto at = [&data](size_t i) {
    return static_cast<uint32_t>(static_cast<unsigned char>(data[2 * i])) |
           (static_cast<uint32_t>(static_cast<unsigned char>(data[2 * i + 1])) << 8);
  };
  for (size_t i = 0; i < units; ++i) {
    uint32_t code = at(i);
    if (code == 0) break;
    if (code >= 0xD800 && code < 0xDC00 && i + 1 < units && at(i + 1) >= 0xDC00 && at(i + 1) < 0xE000) {
      code = 0x10000 + ((code - 0xD800) << 10) + (at(i + 1) - 0xDC00);
      ++i;
    } else if (code >= 0xD800 && code < 0xE000) {
      code = 0xFFFD;
    }
    AppendUtf8(out, code);
  }
  return out;
}

bool FolderExists(PlatformOps& ops, const std::string& path) {
  // UTF-8 never has 0x5C inside a multi-byte character, so the last byte is safe to test.
  if (!path.empty() && path.back() == '\\') return ops.Exists(path.substr(0, path.size() - 1));
  return ops.Exists(path);
}

std::string ShellProgramPath(PlatformOps& ops) { return ops.WindowsFolder() + "\\explorer.exe"; }

}  // namespace velkor
