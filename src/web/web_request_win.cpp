#include "web/web_request_win.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <optional>

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

static_assert(request_flag::kNoCacheWrite == INTERNET_FLAG_NO_CACHE_WRITE);

// The system's own library, by full path: a "wininet.dll" beside the program or in
// the current folder is never loaded.
HMODULE LoadSystemWinInet() {
  wchar_t folder[MAX_PATH] = L"";
  const UINT n = GetSystemDirectoryW(folder, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return nullptr;
  return LoadLibraryW((std::wstring(folder, n) + L"\\wininet.dll").c_str());
}

// The ANSI functions: the texts of a request go out in the system's ANSI code page.
struct WinInet {
  HMODULE module = LoadSystemWinInet();
  decltype(&InternetOpenA) open = ProcAddress<decltype(&InternetOpenA)>(module, "InternetOpenA");
  decltype(&InternetConnectA) connect = ProcAddress<decltype(&InternetConnectA)>(module, "InternetConnectA");
  decltype(&HttpOpenRequestA) openRequest = ProcAddress<decltype(&HttpOpenRequestA)>(module, "HttpOpenRequestA");
  decltype(&HttpSendRequestA) send = ProcAddress<decltype(&HttpSendRequestA)>(module, "HttpSendRequestA");
  decltype(&InternetReadFile) read = ProcAddress<decltype(&InternetReadFile)>(module, "InternetReadFile");
  decltype(&HttpQueryInfoA) queryInfo = ProcAddress<decltype(&HttpQueryInfoA)>(module, "HttpQueryInfoA");
  decltype(&InternetCloseHandle) close = ProcAddress<decltype(&InternetCloseHandle)>(module, "InternetCloseHandle");
  decltype(&InternetSetOptionA) setOption = ProcAddress<decltype(&InternetSetOptionA)>(module, "InternetSetOptionA");

  bool Complete() const { return open && connect && openRequest && send && read && queryInfo && close && setOption; }
};

// Loaded once, on the first request, and kept for the rest of the run.
const WinInet& Api() {
  static const WinInet api;
  return api;
}

void CloseInternet(HINTERNET handle) { Api().close(handle); }
using UniqueInternet = Unique<HINTERNET, CloseInternet, NullHandle<HINTERNET>>;

// The text in the ANSI code page; nullopt when the code page cannot hold it, so that
// nothing is sent in a mangled form.
std::optional<std::string> Ansi(const std::string& utf8) {
  const std::wstring wide = Widen(utf8);
  if (wide.empty()) return std::string();
  // Code page 65001 takes neither the flag nor the question.
  const bool toUtf8 = GetACP() == CP_UTF8;
  BOOL lossy = FALSE;
  const int n = WideCharToMultiByte(CP_ACP, toUtf8 ? 0 : WC_NO_BEST_FIT_CHARS, wide.data(),
                                    static_cast<int>(wide.size()), nullptr, 0, nullptr, toUtf8 ? nullptr : &lossy);
  if (n <= 0 || lossy) return std::nullopt;
  std::string out(n, '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::string FromAnsi(const std::string& ansi) {
  if (ansi.empty()) return {};
  std::wstring wide(MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(),
                      static_cast<int>(wide.size()));
  return Narrow(wide);
}

std::string ReadBody(HINTERNET request, size_t limit) {
  std::string body;
  while (body.size() < limit) {
    char piece[kReadPieceSize];
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(std::min(sizeof(piece), limit - body.size()));
    if (!Api().read(request, piece, want, &got) || got == 0) return body;
    body.append(piece, got);
  }
  return body;
}

// The header block, or the untouched buffer of spaces when it does not fit or the
// query fails. The buffer holds kHeaderBufferSize bytes.
std::string ReadRawHeaders(HINTERNET request) {
  std::string buffer(kHeaderBufferSize, ' ');
  DWORD size = static_cast<DWORD>(buffer.size());
  const bool answered = Api().queryInfo(request, HTTP_QUERY_RAW_HEADERS_CRLF, buffer.data(), &size, nullptr);
  buffer.resize(std::min(buffer.find('\0'), buffer.size()));
  // Wine answers for a request that never got a response with a bare "\r\n" instead
  // of failing; without a status line there is no header block either.
  if (!answered || buffer.find_first_not_of("\r\n") == std::string::npos) return std::string(kHeaderBufferSize, ' ');
  return FromAnsi(buffer);
}

}  // namespace

std::string WebRequest(const std::string& url, WebRequestArgs& args) {
  const WinInet& api = Api();
  if (!api.Complete()) return {};
  std::string completed = args.extraHeaders;
  CompleteExtraHeaders(completed, url, args.cookies.value_or(""));
  const std::optional<std::string> agent = Ansi(RequestAgent(args.extraHeaders)), host = Ansi(UrlHost(url, false)),
                                   path = Ansi(UrlObjectPath(url)), headers = Ansi(completed),
                                   proxy = Ansi("http=" + args.proxy.value_or(""));
  std::optional<std::string> postBytes = args.postBytes;
  if (args.method != 0 && args.postBytes.empty()) postBytes = Ansi(args.postText);
  if (!agent || !host || !path || !headers || !proxy || !postBytes) return {};

  std::string body;
  {
    UniqueInternet internet(args.proxy ? api.open(agent->c_str(), INTERNET_OPEN_TYPE_PROXY, proxy->c_str(), "", 0)
                                       : api.open(agent->c_str(), INTERNET_OPEN_TYPE_DIRECT, "", "", 0));
    if (!internet) return {};
    // A port beyond the 16 bits of the call would silently name another port.
    const int port = UrlPort(url);
    UniqueInternet connection;
    if (port >= 0 && port <= 0xFFFF)
      connection.reset(api.connect(internet.get(), host->c_str(), static_cast<INTERNET_PORT>(port), "", "",
                                   INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection) return {};
    UniqueInternet request(api.openRequest(
        connection.get(), args.method == 1 ? "POST" : "GET", path->c_str(), "HTTP/1.1", nullptr, nullptr,
        RequestFlags(url, args.cookies.has_value(), args.noRedirect, args.bodyLimit.has_value()), 0));
    if (!request) return {};
    if (args.waitLimit) {
      DWORD ms = static_cast<DWORD>(args.waitLimit->count());
      api.setOption(request.get(), INTERNET_OPTION_RECEIVE_TIMEOUT, &ms, sizeof(ms));
    }
    args.extraHeaders = completed;
    if (args.method != 0) {
      if (args.postBytes.empty()) args.postBytes = *postBytes;
      api.send(request.get(), headers->c_str(), static_cast<DWORD>(headers->size()), args.postBytes.data(),
               static_cast<DWORD>(args.postBytes.size()));
    } else {
      api.send(request.get(), headers->c_str(), static_cast<DWORD>(headers->size()), nullptr, 0);
    }
    body = ReadBody(request.get(), args.bodyLimit.value_or(std::string().max_size()));
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
