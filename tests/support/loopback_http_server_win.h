// A small HTTP server on 127.0.0.1 for the Windows test layers: it records every
// request and answers each one as the test says, or holds the connection silently.
#pragma once

#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace velkor::test {

struct RecordedRequest {
  std::string requestLine;  // "GET /x HTTP/1.1"
  std::vector<std::pair<std::string, std::string>> headers;
  std::string body;

  // Values of every header of that name (any case), in arrival order.
  std::vector<std::string> All(const std::string& name) const {
    std::vector<std::string> values;
    for (const auto& [n, v] : headers)
      if (_stricmp(n.c_str(), name.c_str()) == 0) values.push_back(v);
    return values;
  }
  // The first such value; "<none>" when there is none.
  std::string Header(const std::string& name) const {
    const std::vector<std::string> values = All(name);
    return values.empty() ? "<none>" : values.front();
  }
};

// A whole response that closes its connection: the status line and header lines as
// given, then Content-Length, Connection: close and the body.
inline std::string HttpResponse(const std::string& status, const std::string& headerLines, const std::string& body) {
  return "HTTP/1.1 " + status + "\r\n" + headerLines + "Content-Length: " + std::to_string(body.size()) +
         "\r\nConnection: close\r\n\r\n" + body;
}

class LoopbackHttpServer {
 public:
  // The whole bytes to send back, or nullopt to accept and then stay silent.
  using Responder = std::function<std::optional<std::string>(const RecordedRequest&)>;

  // Port 0 takes any free port.
  explicit LoopbackHttpServer(Responder respond, unsigned short port = 0) : respond_(std::move(respond)) {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    const BOOL reuse = TRUE;  // a fixed port may still have closed connections waiting
    setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&reuse), sizeof(reuse));
    sockaddr_in address = Loopback(port);
    int size = sizeof(address);
    if (bind(listener_, reinterpret_cast<sockaddr*>(&address), size) == 0 && listen(listener_, 8) == 0 &&
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size) == 0)
      port_ = ntohs(address.sin_port);
    if (port_) thread_ = std::thread([this] { Serve(); });
  }

  ~LoopbackHttpServer() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    for (SOCKET s : held_) closesocket(s);
    closesocket(listener_);
    WSACleanup();
  }

  LoopbackHttpServer(const LoopbackHttpServer&) = delete;
  LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

  // 0 when the server could not listen.
  unsigned short Port() const { return port_; }
  std::string Url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }

  std::vector<RecordedRequest> Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
  }
  bool WaitForRequests(size_t count, DWORD ms) const {
    std::unique_lock lock(mutex_);
    return arrived_.wait_for(lock, std::chrono::milliseconds(ms), [&] { return requests_.size() >= count; });
  }

  // Connections held silently that the client has not closed yet.
  size_t OpenHeldConnections() const {
    std::lock_guard lock(mutex_);
    size_t open = 0;
    for (SOCKET s : held_) {
      char byte;
      if (!Readable(s, 0) || recv(s, &byte, 1, MSG_PEEK) > 0) ++open;
    }
    return open;
  }

  // A port on 127.0.0.1 where nothing listens.
  static unsigned short UnusedPort() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = Loopback(0);
    int size = sizeof(address);
    bind(s, reinterpret_cast<sockaddr*>(&address), size);
    getsockname(s, reinterpret_cast<sockaddr*>(&address), &size);
    closesocket(s);
    WSACleanup();
    return ntohs(address.sin_port);
  }

 private:
  static sockaddr_in Loopback(unsigned short port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
  }

  // Waits up to `ms` for the socket to become readable.
  static bool Readable(SOCKET s, int ms) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(s, &set);
    timeval limit{ms / 1000, (ms % 1000) * 1000};
    return select(0, &set, nullptr, nullptr, &limit) == 1;
  }

  void Serve() {
    while (!stop_) {
      if (!Readable(listener_, 50)) continue;
      SOCKET client = accept(listener_, nullptr, nullptr);
      if (client == INVALID_SOCKET) continue;
      std::optional<RecordedRequest> request = ReadRequest(client);
      if (!request) {
        closesocket(client);
        continue;
      }
      const std::optional<std::string> answer = respond_(*request);
      {
        std::lock_guard lock(mutex_);
        requests_.push_back(std::move(*request));
      }
      arrived_.notify_all();
      if (!answer) {
        std::lock_guard lock(mutex_);
        held_.push_back(client);
        continue;
      }
      for (size_t sent = 0; sent < answer->size();) {
        const size_t piece = std::min<size_t>(answer->size() - sent, 1 << 20);
        const int n = send(client, answer->data() + sent, static_cast<int>(piece), 0);
        if (n <= 0) break;
        sent += static_cast<size_t>(n);
      }
      shutdown(client, SD_SEND);
      while (Readable(client, 1000) && ReceiveSome(client, nullptr) > 0) {
      }
      closesocket(client);
    }
  }

  static int ReceiveSome(SOCKET s, std::string* into) {
    char buffer[8192];
    const int n = recv(s, buffer, sizeof(buffer), 0);
    if (n > 0 && into) into->append(buffer, static_cast<size_t>(n));
    return n;
  }

  // The request line, headers and a Content-Length body; nothing when the client
  // sends no complete head within a few seconds.
  static std::optional<RecordedRequest> ReadRequest(SOCKET client) {
    std::string data;
    size_t headEnd;
    while ((headEnd = data.find("\r\n\r\n")) == std::string::npos)
      if (!Readable(client, 5000) || ReceiveSome(client, &data) <= 0) return std::nullopt;
    RecordedRequest request;
    const std::string head = data.substr(0, headEnd + 2);
    size_t from = head.find("\r\n");
    request.requestLine = head.substr(0, from);
    size_t length = 0;
    for (from += 2; from < head.size();) {
      const size_t end = head.find("\r\n", from);
      const std::string line = head.substr(from, end - from);
      from = end + 2;
      const size_t colon = line.find(':');
      std::string value = colon == std::string::npos ? "" : line.substr(colon + 1);
      value.erase(0, value.find_first_not_of(' '));
      request.headers.emplace_back(line.substr(0, colon), value);
      if (_stricmp(line.substr(0, colon).c_str(), "Content-Length") == 0) length = std::stoul(value);
    }
    request.body = data.substr(headEnd + 4);
    while (request.body.size() < length)
      if (!Readable(client, 5000) || ReceiveSome(client, &request.body) <= 0) break;
    return request;
  }

  Responder respond_;
  SOCKET listener_ = INVALID_SOCKET;
  unsigned short port_ = 0;
  std::atomic<bool> stop_{false};
  std::vector<SOCKET> held_;
  mutable std::mutex mutex_;
  mutable std::condition_variable arrived_;
  std::vector<RecordedRequest> requests_;
  std::thread thread_;
};

}  // namespace velkor::test
