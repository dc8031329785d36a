#include "web/web_text.h"

#include <algorithm>
#include <limits>
#include <unordered_set>
#include <vector>

#include "platform/text.h"

namespace velkor {
namespace {

std::string ReplaceAll(std::string_view text, std::string_view what, std::string_view with) {
  std::string out;
  size_t from = 0;
  for (size_t at = text.find(what); at != std::string_view::npos; at = text.find(what, from)) {
    out.append(text.substr(from, at - from)).append(with);
    from = at + what.size();
  }
  return out.append(text.substr(from));
}

// An empty text has no entries; otherwise empty pieces count. An empty separator
// splits nothing.
std::vector<std::string_view> SplitEntries(std::string_view text, std::string_view separator) {
  std::vector<std::string_view> entries;
  if (text.empty()) return entries;
  if (separator.empty()) return {text};
  for (size_t from = 0;;) {
    const size_t at = text.find(separator, from);
    entries.push_back(text.substr(from, at == std::string_view::npos ? std::string_view::npos : at - from));
    if (at == std::string_view::npos) return entries;
    from = at + separator.size();
  }
}

// A leading sign and digits, as far as they go; saturates instead of overflowing.
int IntegerValue(std::string_view text) {
  const bool negative = !text.empty() && text.front() == '-';
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
  long long value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    value = std::min<long long>(value * 10 + (c - '0'), std::numeric_limits<int>::max());
  }
  return static_cast<int>(negative ? -value : value);
}

}  // namespace

std::string TextBetween(std::string_view text, std::string_view startMarker, std::string_view endMarker) {
  const std::string start = ReplaceAll(startMarker, "#引号", "\"");
  const std::string end = ReplaceAll(endMarker, "#引号", "\"");
  size_t from = FindIgnoringAsciiCase(text, start, 0);
  if (from == std::string_view::npos) return {};
  from += start.size();
  const size_t to = FindIgnoringAsciiCase(text, end, from);
  if (to == std::string_view::npos) return {};
  return std::string(text.substr(from, to - from));
}

std::string TextAfterColon(std::string_view text) {
  const size_t colon = text.find(':');
  return colon == std::string_view::npos ? std::string() : TrimSpaces(text.substr(colon + 1));
}

std::string UrlHost(std::string_view address, bool keepPort) {
  std::string text = AsciiLower(address);
  if (!text.ends_with('/')) text += '/';
  const bool secure = text.starts_with("https://");
  if (!secure && text.find("http://") == std::string::npos) text.insert(0, "http://");
  std::string host = TextBetween(text, secure ? "https://" : "http://", "/");
  if (!keepPort) host = host.substr(0, host.find(':'));
  return host;
}

int UrlPort(std::string_view address) {
  const std::string host = UrlHost(address, true);
  const size_t colon = host.rfind(':');
  if (colon != std::string::npos) return IntegerValue(std::string_view(host).substr(colon + 1));
  return AsciiLower(address.substr(0, 5)) == "https" ? 443 : 80;
}

std::string UrlObjectPath(std::string_view address) {
  // The host is looked for after the scheme: a host such as "p" or "t" would
  // otherwise be found inside "http" itself.
  const std::string lower = AsciiLower(address.substr(0, 8));
  const size_t scheme = lower.starts_with("https://") ? 8 : lower.starts_with("http://") ? 7 : 0;
  const size_t host = FindIgnoringAsciiCase(address, UrlHost(address, false), scheme);
  const size_t slash = host == std::string_view::npos ? host : address.find('/', host);
  return slash == std::string_view::npos ? std::string("/") : std::string(address.substr(slash));
}

std::string CookieName(std::string_view entry) { return TrimSpaces(entry.substr(0, entry.find('='))); }

std::string DropDuplicateEntries(std::string_view text, std::string_view separator) {
  std::unordered_set<std::string_view> seen;
  std::string out;
  for (std::string_view entry : SplitEntries(text, separator)) {
    if (!seen.insert(entry).second) continue;
    if (seen.size() > 1) out += separator;
    out += entry;
  }
  return out;
}

void MergeCookies(std::string& cookies, std::string& responseCookies) {
  std::erase(cookies, ' ');
  std::erase(responseCookies, ' ');
  std::vector<std::string_view> merged = SplitEntries(responseCookies, ";");
  std::unordered_set<std::string> names;
  for (std::string_view entry : merged) names.insert(CookieName(entry));
  // An earlier cookie kept here also hides later ones of its name.
  for (std::string_view entry : SplitEntries(cookies, ";"))
    if (names.insert(CookieName(entry)).second) merged.push_back(entry);

  std::string result;
  bool first = true;
  for (std::string_view entry : merged) {
    if (entry.ends_with("=deleted")) continue;
    if (!first) result += "; ";
    result += entry;
    first = false;
  }
  cookies = DropDuplicateEntries(result, "; ");
}

}  // namespace velkor
