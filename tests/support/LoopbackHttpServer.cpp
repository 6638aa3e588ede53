#include "tests/support/LoopbackHttpServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

namespace tovmar {

namespace {

// Every wait ends after this long, so a client that never acts cannot hold the thread.
constexpr int kWaitLimitMs = 30'000;
constexpr std::size_t kMaxRequestBytes = 64 * 1024;
constexpr std::size_t kMaxEndlessBytes = std::size_t{1} << 30;

}  // namespace

std::string LoopbackHttpServer::Response(int status, std::string_view reason, std::string_view body,
                                         std::string_view extraHeaders) {
  std::string response =
      "HTTP/1.1 " + std::to_string(status) + " " + std::string(reason) +
      "\r\nContent-Type: text/xml\r\nContent-Length: " + std::to_string(body.size()) +
      "\r\nConnection: close\r\n";
  response += extraHeaders;
  response += "\r\n";
  response += body;
  return response;
}

LoopbackHttpServer::LoopbackHttpServer() {
  int wake[2];
  if (pipe2(wake, O_CLOEXEC) != 0) throw std::runtime_error("no pipe");
  m_wakeRead = wake[0];
  m_wakeWrite = wake[1];

  m_listenFd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  socklen_t length = sizeof address;
  if (m_listenFd < 0 ||
      bind(m_listenFd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
      listen(m_listenFd, 16) != 0 ||
      getsockname(m_listenFd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    if (m_listenFd >= 0) close(m_listenFd);
    close(m_wakeRead);
    close(m_wakeWrite);
    throw std::runtime_error("no loopback socket");
  }
  m_port = ntohs(address.sin_port);
  m_thread = std::thread([this] { Serve(); });
}

LoopbackHttpServer::~LoopbackHttpServer() {
  m_stopping = true;
  const char wake = 'x';
  // The pipe is empty and never full: the byte goes in, or the serving thread is gone already.
  [[maybe_unused]] const ssize_t woken = write(m_wakeWrite, &wake, 1);
  m_thread.join();
  close(m_listenFd);
  close(m_wakeRead);
  close(m_wakeWrite);
}

void LoopbackHttpServer::SetRoute(const std::string& path, Route route) {
  const std::lock_guard lock(m_mutex);
  m_routes[path] = std::move(route);
}

std::string LoopbackHttpServer::Url(std::string_view path) const {
  return "http://127.0.0.1:" + std::to_string(m_port) + std::string(path);
}

int LoopbackHttpServer::RequestCount(const std::string& path) const {
  const std::lock_guard lock(m_mutex);
  const auto it = m_requestCounts.find(path);
  return it != m_requestCounts.end() ? it->second : 0;
}

void LoopbackHttpServer::Serve() {
  while (!m_stopping) {
    if (!WaitFor(m_listenFd, POLLIN)) continue;
    const int fd = accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd >= 0) HandleConnection(fd);
  }
}

void LoopbackHttpServer::HandleConnection(int fd) {
  std::string path;
  if (!ReadRequestPath(fd, path)) {
    close(fd);
    return;
  }
  Route route{Behaviour::kRespond, Response(404, "Not Found", "")};
  {
    const std::lock_guard lock(m_mutex);
    ++m_requestCounts[path];
    const auto it = m_routes.find(path);
    if (it != m_routes.end()) route = it->second;
  }

  switch (route.behaviour) {
    case Behaviour::kRespond:
      // Half-close and let the client close first, so that nothing sent is lost to a reset.
      if (SendAll(fd, route.response)) {
        shutdown(fd, SHUT_WR);
        WaitForClientToClose(fd);
      }
      break;
    case Behaviour::kStall:
      WaitForClientToClose(fd);
      break;
    case Behaviour::kEndlessBody:
      if (SendAll(fd, route.response)) SendEndlessBody(fd);
      break;
    case Behaviour::kResetMidBody:
      if (SendAll(fd, route.response)) {
        // Closing with a zero linger time sends a reset instead of an orderly end.
        const linger abortive{1, 0};
        setsockopt(fd, SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
      }
      break;
    case Behaviour::kStallMidBody:
      if (SendAll(fd, route.response)) WaitForClientToClose(fd);
      break;
    case Behaviour::kTrickle:
      Trickle(fd, route.response);
      break;
  }
  close(fd);
}

bool LoopbackHttpServer::WaitFor(int fd, short events) const {
  pollfd fds[2] = {{fd, events, 0}, {m_wakeRead, POLLIN, 0}};
  const int ready = poll(fds, 2, kWaitLimitMs);
  if (m_stopping || ready <= 0) return false;
  return (fds[0].revents & (events | POLLHUP | POLLERR)) != 0;
}

bool LoopbackHttpServer::SendAll(int fd, std::string_view data) const {
  while (!data.empty()) {
    if (!WaitFor(fd, POLLOUT)) return false;
    const ssize_t sent = send(fd, data.data(), data.size(), MSG_NOSIGNAL);
    if (sent < 0) {
      if (errno == EINTR || errno == EAGAIN) continue;
      return false;
    }
    data.remove_prefix(static_cast<std::size_t>(sent));
  }
  return true;
}

bool LoopbackHttpServer::ReadRequestPath(int fd, std::string& path) const {
  std::string request;
  char buffer[4096];
  while (request.find("\r\n\r\n") == std::string::npos) {
    if (request.size() > kMaxRequestBytes || !WaitFor(fd, POLLIN)) return false;
    const ssize_t got = recv(fd, buffer, sizeof buffer, 0);
    if (got <= 0) return false;
    request.append(buffer, static_cast<std::size_t>(got));
  }
  // "GET /path HTTP/1.1": the path stands between the first two spaces.
  const std::size_t start = request.find(' ');
  const std::size_t end = start == std::string::npos ? start : request.find(' ', start + 1);
  if (end == std::string::npos) return false;
  path = request.substr(start + 1, end - start - 1);
  return true;
}

void LoopbackHttpServer::WaitForClientToClose(int fd) const {
  char buffer[4096];
  while (WaitFor(fd, POLLIN)) {
    if (recv(fd, buffer, sizeof buffer, 0) <= 0) return;
  }
}

void LoopbackHttpServer::SendEndlessBody(int fd) const {
  const std::string chunk(64 * 1024, 'x');
  for (std::size_t sent = 0; sent < kMaxEndlessBytes; sent += chunk.size()) {
    if (!SendAll(fd, chunk)) return;
  }
}

void LoopbackHttpServer::Trickle(int fd, std::string_view data) const {
  for (const char byte : data) {
    if (!SendAll(fd, std::string_view(&byte, 1))) return;
    // The pause ends early only when the server stops.
    pollfd wake{m_wakeRead, POLLIN, 0};
    if (poll(&wake, 1, kTrickleGapMs) != 0 || m_stopping) return;
  }
  shutdown(fd, SHUT_WR);
  WaitForClientToClose(fd);
}

}  // namespace tovmar
