// A small HTTP server on 127.0.0.1 for tests: it listens on a port of the system's choosing and
// answers each request by a script chosen per path, one connection at a time, on its own thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

namespace tovmar {

class LoopbackHttpServer {
 public:
  enum class Behaviour {
    kRespond,       // send `response` as it stands, then close
    kStall,         // read the request and never answer, until the client gives up
    kEndlessBody,   // send `response` (status and headers), then body bytes without end
    kResetMidBody,  // send `response`, then reset the connection
    kStallMidBody,  // send `response` (headers and part of a body), then nothing, until the
                    // client gives up
    kTrickle,       // send `response` one byte every kTrickleGapMs, until done or the client goes
  };
  static constexpr int kTrickleGapMs = 50;
  struct Route {
    Behaviour behaviour = Behaviour::kRespond;
    std::string response;
  };

  // A complete response with Content-Length and "Connection: close"; `extraHeaders` are lines
  // ending with "\r\n".
  static std::string Response(int status, std::string_view reason, std::string_view body,
                              std::string_view extraHeaders = {});

  // Listens at once; throws std::runtime_error when no socket can be had.
  LoopbackHttpServer();
  ~LoopbackHttpServer();
  LoopbackHttpServer(const LoopbackHttpServer&) = delete;
  LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

  // Paths without a route get 404.
  void SetRoute(const std::string& path, Route route);
  std::uint16_t Port() const { return m_port; }
  // "http://127.0.0.1:<port>" followed by `path`.
  std::string Url(std::string_view path) const;
  int RequestCount(const std::string& path) const;

 private:
  void Serve();
  void HandleConnection(int fd);
  bool WaitFor(int fd, short events) const;
  bool SendAll(int fd, std::string_view data) const;
  bool ReadRequestPath(int fd, std::string& path) const;
  void WaitForClientToClose(int fd) const;
  void SendEndlessBody(int fd) const;
  void Trickle(int fd, std::string_view data) const;

  int m_listenFd = -1;
  int m_wakeRead = -1;
  int m_wakeWrite = -1;
  std::uint16_t m_port = 0;
  std::atomic<bool> m_stopping{false};
  mutable std::mutex m_mutex;
  std::map<std::string, Route> m_routes;
  std::map<std::string, int> m_requestCounts;
  std::thread m_thread;
};

}  // namespace tovmar
