#include "web/web_request.h"

#include <string_view>

#include "platform/text.h"
#include "web/web_text.h"

namespace velkor {

std::string RequestAgent(const std::string& extraHeaders) {
  constexpr std::string_view kName = "User-Agent:";
  const size_t at = FindIgnoringAsciiCase(extraHeaders, kName);
  if (at == std::string::npos) return kDefaultUserAgent;
  const size_t from = at + kName.size();
  const size_t end = extraHeaders.find("\r\n", from);
  return TrimSpaces(std::string_view(extraHeaders).substr(from, end == std::string::npos ? end : end - from));
}

void CompleteExtraHeaders(std::string& extraHeaders, const std::string& url, const std::string& cookies) {
  const auto lacks = [&](std::string_view name) { return extraHeaders.find(name) == std::string::npos; };
  if (lacks("Referer:")) extraHeaders += (extraHeaders.empty() ? "Referer: " : "\r\nReferer: ") + url;
  if (lacks("Accept:")) extraHeaders += "\r\nAccept: */*";
  if (lacks("Accept-Language:")) extraHeaders += "\r\nAccept-Language: zh-cn";
  if (lacks("Content-Type:")) extraHeaders += "\r\nContent-Type: application/x-www-form-urlencoded";
  if (!cookies.empty()) extraHeaders += "\r\nCookie: " + cookies;
}

std::uint32_t RequestFlags(const std::string& url, bool cookiesSupplied, bool noRedirect, bool keepOutOfCache) {
  using namespace request_flag;
  std::uint32_t flags = kReload | (keepOutOfCache ? kNoCacheWrite : kNeedFile);
  if (cookiesSupplied) flags |= kNoCookies;
  if (noRedirect) flags |= kNoAutoRedirect;
  flags |= AsciiLower(url.substr(0, 5)) == "https" ? kSecure : kIgnoreRedirectToHttps;
  return flags;
}

void ApplyResponseHeaders(WebRequestArgs& args) {
  args.responseCookies.clear();
  const std::string_view block = args.rawHeaders;
  for (size_t from = 0; from <= block.size();) {
    const size_t end = block.find("\r\n", from);
    const std::string_view line = block.substr(from, end == std::string_view::npos ? end : end - from);
    // A Content-Location line counts as well; the last one wins.
    if (line.find("Location:") != std::string_view::npos) args.location = TextAfterColon(line);
    if (line.find("Set-Cookie") != std::string_view::npos)
      args.responseCookies += TrimSpaces(TextBetween(line, "Set-Cookie:", ";")) + "; ";
    if (end == std::string_view::npos) break;
    from = end + 2;
  }
  args.responseCookies.resize(args.responseCookies.size() < 2 ? 0 : args.responseCookies.size() - 2);
  if (args.cookies) MergeCookies(*args.cookies, args.responseCookies);
  if (args.location.empty()) args.location = args.rawHeaders;
}

}  // namespace velkor
