#include "platform/paths.h"

#include <vector>

#include "platform/text.h"

namespace velkor {
namespace {

bool IsSlash(char c) { return c == '\\' || c == '/'; }
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool IsDeviceName(std::string_view name) {
  std::string base(name.substr(0, name.find('.')));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  base = AsciiLower(base);
  if (base == "con" || base == "prn" || base == "aux" || base == "nul" || base == "conin$" || base == "conout$")
    return true;
  return base.size() == 4 && (base.starts_with("com") || base.starts_with("lpt")) && base[3] >= '0' && base[3] <= '9';
}

bool BadName(std::string_view name) {
  for (unsigned char c : name)
    if (c < 0x20 || c == 0x7F || std::string_view("*?\"<>|:").find(static_cast<char>(c)) != std::string_view::npos)
      return true;
  return IsDeviceName(name);
}

// Splits at either slash, dropping empty names (repeated separators).
std::vector<std::string_view> Names(std::string_view rest) {
  std::vector<std::string_view> out;
  size_t at = 0;
  while (at < rest.size()) {
    size_t end = at;
    while (end < rest.size() && !IsSlash(rest[end])) ++end;
    if (end > at) out.push_back(rest.substr(at, end - at));
    at = end + 1;
  }
  return out;
}

// "\\server\share" of a UNC path and the length it takes; 0 when there is none.
size_t UncRoot(std::string_view path, std::string& root) {
  if (path.size() < 2 || !IsSlash(path[0]) || !IsSlash(path[1])) return 0;
  size_t at = 2, parts = 0;
  root = "\\\\";
  while (parts < 2) {
    const size_t start = at;
    while (at < path.size() && !IsSlash(path[at])) ++at;
    const std::string_view part = path.substr(start, at - start);
    if (part.empty() || part == "." || part == ".." || BadName(part)) return 0;
    root.append(part);
    if (++parts == 1) root.push_back('\\');
    if (parts == 1 && at >= path.size()) return 0;
    ++at;
  }
  return std::min(at, path.size());
}

}  // namespace

bool IsAbsolutePath(std::string_view path) {
  std::string root;
  if (path.size() >= 3 && IsLetter(path[0]) && path[1] == ':' && IsSlash(path[2])) return true;
  return UncRoot(path, root) > 0;
}

std::optional<std::string> CanonicalPath(std::string_view path, std::string_view currentDir) {
  if (path.empty()) return std::nullopt;
  // Device and literal namespaces skip the system's own normalisation: refused.
  if (path.size() >= 4 && IsSlash(path[0]) && IsSlash(path[1]) && (path[2] == '?' || path[2] == '.') &&
      IsSlash(path[3]))
    return std::nullopt;

  std::string root;  // "X:" or "\\server\share"
  std::string_view rest;
  if (const size_t n = UncRoot(path, root)) {
    rest = path.substr(n);
  } else if (IsSlash(path[0]) && path.size() >= 2 && IsSlash(path[1])) {
    return std::nullopt;  // "\\server" without a share
  } else if (path.size() >= 2 && IsLetter(path[0]) && path[1] == ':') {
    if (path.size() == 2 || !IsSlash(path[2])) {
      // Drive-relative ("D:x"): against the current folder when it is on that drive,
      // otherwise against the drive's root.
      const auto cwd = CanonicalPath(currentDir, "");
      const bool sameDrive = cwd && cwd->size() >= 2 && Upper((*cwd)[0]) == Upper(path[0]) && (*cwd)[1] == ':';
      const std::string base = sameDrive ? *cwd : std::string(1, Upper(path[0])) + ":\\";
      return CanonicalPath(base + "\\" + std::string(path.substr(2)), "");
    }
    root = std::string(1, Upper(path[0])) + ":";
    rest = path.substr(2);
  } else {
    const auto cwd = CanonicalPath(currentDir, "");
    if (!cwd || !IsAbsolutePath(currentDir)) return std::nullopt;
    // "\x" is rooted at the current folder's drive or share.
    if (IsSlash(path[0])) {
      std::string base = *cwd;
      while (!IsRootPath(base)) base = ParentPath(base);
      return CanonicalPath(base + std::string(path), "");
    }
    return CanonicalPath(*cwd + "\\" + std::string(path), "");
  }

  std::vector<std::string> names;
  const std::vector<std::string_view> parts = Names(rest);
  for (size_t i = 0; i < parts.size(); ++i) {
    std::string name(parts[i]);
    if (name == ".") continue;
    if (name == "..") {
      if (!names.empty()) names.pop_back();
      continue;
    }
    const bool last = i + 1 == parts.size();
    if (name.back() == '.' || name.back() == ' ') {
      // Windows drops them from the last name; elsewhere they leave it unclear which
      // folder is meant.
      if (!last) return std::nullopt;
      while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
      if (name.empty()) continue;
    }
    if (BadName(name)) return std::nullopt;
    names.push_back(std::move(name));
  }
  std::string out = root + "\\";
  for (size_t i = 0; i < names.size(); ++i) out += (i ? "\\" : "") + names[i];
  if (out.size() > 32000) return std::nullopt;
  return out;
}

bool IsRootPath(std::string_view canonical) {
  if (canonical.size() == 3 && canonical[1] == ':') return true;
  if (!canonical.starts_with("\\\\") || !canonical.ends_with('\\')) return false;
  const size_t shareSlash = canonical.find('\\', 2);
  return shareSlash != std::string_view::npos && shareSlash + 1 < canonical.size() &&
         canonical.find('\\', shareSlash + 1) == canonical.size() - 1;
}

std::string ParentPath(std::string_view canonical) {
  if (IsRootPath(canonical)) return std::string(canonical);
  const size_t slash = canonical.rfind('\\');
  std::string parent(canonical.substr(0, slash));
  return IsRootPath(parent + "\\") ? parent + "\\" : parent;
}

bool SamePath(std::string_view a, std::string_view b) { return UpcaseForNames(a) == UpcaseForNames(b); }

bool PathWithin(std::string_view inner, std::string_view outer) {
  const std::string in = UpcaseForNames(inner), out = UpcaseForNames(outer);
  if (in == out) return true;
  if (!in.starts_with(out)) return false;
  return out.ends_with('\\') || in[out.size()] == '\\';
}

std::string ExtendedLengthPath(std::string_view canonical) {
  if (canonical.starts_with("\\\\")) return "\\\\?\\UNC\\" + std::string(canonical.substr(2));
  return "\\\\?\\" + std::string(canonical);
}

}  // namespace velkor
