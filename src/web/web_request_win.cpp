#include "web/web_request_win.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>

#include "platform/handles_win.h"
#include "platform/proc_address_win.h"
#include "platform/text_win.h"
#include "web/web_text.h"

namespace velkor {
namespace {

static_assert(request_flag::kReload == INTERNET_FLAG_RELOAD);
static_assert(request_flag::kNeedFile == INTERNET_FLAG_NEED_FILE);
static_assert(request_flag::kNoCookies == INTERNET_FLAG_NO_COOKIES);
static_assert(request_flag::kNoAutoRedirect == INTERNET_FLAG_NO_AUTO_REDIRECT);
static_assert(request_flag::kSecure == INTERNET_FLAG_SECURE);
static_assert(request_flag::kIgnoreRedirectToHttps == INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS);

struct WinInet {
  HMODULE module = LoadLibraryW(L"wininet.dll");
  decltype(&InternetOpenW) open = ProcAddress<decltype(&InternetOpenW)>(module, "InternetOpenW");
  decltype(&InternetConnectW) connect = ProcAddress<decltype(&InternetConnectW)>(module, "InternetConnectW");
  decltype(&HttpOpenRequestW) openRequest = ProcAddress<decltype(&HttpOpenRequestW)>(module, "HttpOpenRequestW");
  decltype(&HttpSendRequestW) send = ProcAddress<decltype(&HttpSendRequestW)>(module, "HttpSendRequestW");
  decltype(&InternetReadFile) read = ProcAddress<decltype(&InternetReadFile)>(module, "InternetReadFile");
  decltype(&HttpQueryInfoW) queryInfo = ProcAddress<decltype(&HttpQueryInfoW)>(module, "HttpQueryInfoW");
  decltype(&InternetCloseHandle) close = ProcAddress<decltype(&InternetCloseHandle)>(module, "InternetCloseHandle");

  bool Complete() const { return open && connect && openRequest && send && read && queryInfo && close; }
};

// Loaded once, on the first request, and kept for the rest of the run.
const WinInet& Api() {
  static const WinInet api;
  return api;
}

void CloseInternet(HINTERNET handle) { Api().close(handle); }
using UniqueInternet = Unique<HINTERNET, CloseInternet, NullHandle<HINTERNET>>;

std::string ReadBody(HINTERNET request) {
  std::string body;
  for (;;) {
    char piece[kReadPieceSize];
    DWORD got = 0;
    if (!Api().read(request, piece, sizeof(piece), &got) || got == 0) return body;
    body.append(piece, got);
  }
}

// The header block, or the untouched buffer of spaces when it does not fit or the
// query fails. The buffer holds kHeaderBufferSize characters.
std::string ReadRawHeaders(HINTERNET request) {
  std::wstring buffer(kHeaderBufferSize, L' ');
  DWORD size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
  const bool answered = Api().queryInfo(request, HTTP_QUERY_RAW_HEADERS_CRLF, buffer.data(), &size, nullptr);
  buffer.resize(std::min(buffer.find(L'\0'), buffer.size()));
  // Wine answers for a request that never got a response with a bare "\r\n" instead
  // of failing; without a status line there is no header block either.
  if (!answered || buffer.find_first_not_of(L"\r\n") == std::wstring::npos) return std::string(kHeaderBufferSize, ' ');
  return Narrow(buffer);
}

}  // namespace

std::string WebRequest(const std::string& url, WebRequestArgs& args) {
  const WinInet& api = Api();
  if (!api.Complete()) return {};
  std::string body;
  {
    const std::wstring agent = Widen(RequestAgent(args.extraHeaders));
    UniqueInternet internet(
        args.proxy ? api.open(agent.c_str(), INTERNET_OPEN_TYPE_PROXY, Widen("http=" + *args.proxy).c_str(), L"", 0)
                   : api.open(agent.c_str(), INTERNET_OPEN_TYPE_DIRECT, L"", L"", 0));
    if (!internet) return {};
    // A port beyond the 16 bits of the call would silently name another port.
    const int port = UrlPort(url);
    UniqueInternet connection;
    if (port >= 0 && port <= 0xFFFF)
      connection.reset(api.connect(internet.get(), Widen(UrlHost(url, false)).c_str(), static_cast<INTERNET_PORT>(port),
                                   L"", L"", INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection) return {};
    UniqueInternet request(api.openRequest(connection.get(), args.method == 1 ? L"POST" : L"GET",
                                           Widen(UrlObjectPath(url)).c_str(), L"HTTP/1.1", nullptr, nullptr,
                                           RequestFlags(url, args.cookies.has_value(), args.noRedirect), 0));
    if (!request) return {};

    CompleteExtraHeaders(args.extraHeaders, url, args.cookies.value_or(""));
    const std::wstring headers = Widen(args.extraHeaders);
    if (args.method != 0) {
      if (args.postBytes.empty()) args.postBytes = args.postText;
      api.send(request.get(), headers.c_str(), static_cast<DWORD>(headers.size()), args.postBytes.data(),
               static_cast<DWORD>(args.postBytes.size()));
    } else {
      api.send(request.get(), headers.c_str(), static_cast<DWORD>(headers.size()), nullptr, 0);
    }
    body = ReadBody(request.get());
    args.rawHeaders = ReadRawHeaders(request.get());
  }
  ApplyResponseHeaders(args);
  return body;
}

std::string WebRequest(const std::string& url) {
  WebRequestArgs args;
  return WebRequest(url, args);
}

}  // namespace velkor
