#include "catalogue/profile_layout.h"

#include <cctype>

namespace velkor {
namespace {

bool HasControlCharacter(const std::string& text) {
  for (unsigned char c : text)
    if (c < 0x20 || c == 0x7F) return true;
  return false;
}

bool IsDeviceName(const std::string& title) {
  std::string base = title.substr(0, title.find('.'));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  for (char& c : base) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL") return true;
  return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) && base[3] >= '1' &&
         base[3] <= '9';
}

}  // namespace

std::optional<std::string> TitleProblem(const std::string& title) {
  if (title.find_first_of("\\/:*?\"<>|") != std::string::npos || HasControlCharacter(title))
    return "桌面标题不能含有以下字符：\\ / : * ? \" < > | 以及控制字符。";
  if (title == "." || title == ".." || (!title.empty() && (title.back() == '.' || title.back() == ' ')))
    return "桌面标题不能是“.”或“..”，也不能以点或空格结尾。";
  if (IsDeviceName(title)) return "桌面标题不能使用系统保留的设备名称（如 CON、NUL、COM1、LPT1）。";
  return std::nullopt;
}

std::optional<std::string> CustomPathProblem(const std::string& path) {
  // A drive colon is allowed only as the second character ("D:\...").
  const size_t colon = path.find(':');
  const bool badColon = colon != std::string::npos && (colon != 1 || path.find(':', 2) != std::string::npos);
  if (path.find_first_of("*?\"<>|") != std::string::npos || badColon || HasControlCharacter(path))
    return "自定义桌面路径不能含有以下字符：* ? \" < > | 以及控制字符，冒号只能用在盘符后。";
  return std::nullopt;
}

}  // namespace velkor
