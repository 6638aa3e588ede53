#include <arpa/inet.h>
#include <gmock/gmock.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/appearance/AppearanceFixtures.h"
#include "tests/support/LoopbackHttpServer.h"

namespace tovmar {
namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;
using ::testing::AnyOf;
using ::testing::HasSubstr;

using Route = LoopbackHttpServer::Route;
using Behaviour = LoopbackHttpServer::Behaviour;

const std::string kDocument = Archetype("<param id='1' name='morph_a' value='0.25'/>\n");

// Reads from a server of its own with short time-outs and a small size cap, so that a failure
// costs a fraction of a second.
class RemoteTest : public ::testing::Test {
 protected:
  RemoteTest() { setenv("no_proxy", "127.0.0.1", 1); }

  ParamTable Read(const std::string& url) { return AppearanceXmlReader::ReadParams(url, fetcher); }
  // Expects the fetch to have broken off with one message.
  void ExpectOneMessage() {
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_FALSE(messages.messages[0].empty());
  }

  LoopbackHttpServer server;
  FetchOptions options{std::chrono::milliseconds(2000), std::chrono::milliseconds(500), 64 * 1024,
                       5};
  DefaultLocationFetcher fetcher{options};
  RecordingMessageSink messages;
  TempFolder folder;
};

TEST_F(RemoteTest, ReadsADocumentServedWithStatus200) {
  server.SetRoute("/a.xml",
                  Route{Behaviour::kRespond, LoopbackHttpServer::Response(200, "OK", kDocument)});
  EXPECT_EQ(Read(server.Url("/a.xml")), (ParamTable{{1, "morph_a", 0.25f}}));
  // With the default options too, as the application reads.
  EXPECT_EQ(AppearanceXmlReader::ReadParams(server.Url("/a.xml")),
            (ParamTable{{1, "morph_a", 0.25f}}));
  EXPECT_TRUE(messages.messages.empty());
}

TEST_F(RemoteTest, FollowsARedirectToTheDocument) {
  server.SetRoute("/old.xml",
                  Route{Behaviour::kRespond,
                        LoopbackHttpServer::Response(302, "Found", "", "Location: /a.xml\r\n")});
  server.SetRoute("/a.xml",
                  Route{Behaviour::kRespond, LoopbackHttpServer::Response(200, "OK", kDocument)});
  EXPECT_EQ(Read(server.Url("/old.xml")), (ParamTable{{1, "morph_a", 0.25f}}));
}

TEST_F(RemoteTest, ErrorStatusesAndUnreachableHostsAreSilent) {
  server.SetRoute("/gone.xml", Route{Behaviour::kRespond,
                                     LoopbackHttpServer::Response(404, "Not Found", kDocument)});
  server.SetRoute("/moved.xml", Route{Behaviour::kRespond,
                                      LoopbackHttpServer::Response(301, "Moved", kDocument)});
  EXPECT_TRUE(Read(server.Url("/gone.xml")).empty());
  EXPECT_TRUE(Read(server.Url("/moved.xml")).empty());

  // A port that was just given up refuses the connection.
  std::string closedUrl;
  {
    const LoopbackHttpServer gone;
    closedUrl = gone.Url("/a.xml");
  }
  EXPECT_TRUE(Read(closedUrl).empty());
  EXPECT_TRUE(messages.messages.empty());
}

TEST_F(RemoteTest, AServerThatNeverAnswersTimesOutWithAMessage) {
  server.SetRoute("/stall.xml", Route{Behaviour::kStall, {}});
  EXPECT_TRUE(Read(server.Url("/stall.xml")).empty());
  ExpectOneMessage();
}

TEST_F(RemoteTest, ARedirectLoopStopsAfterFiveRedirects) {
  server.SetRoute("/loop.xml",
                  Route{Behaviour::kRespond,
                        LoopbackHttpServer::Response(302, "Found", "", "Location: /loop.xml\r\n")});
  EXPECT_TRUE(Read(server.Url("/loop.xml")).empty());
  EXPECT_EQ(server.RequestCount("/loop.xml"), 6);
  ExpectOneMessage();
}

TEST_F(RemoteTest, RedirectsToOtherSchemesAreRefused) {
  const std::string secret = folder.Write("secret.xml", kDocument);
  server.SetRoute("/file.xml", Route{Behaviour::kRespond,
                                     LoopbackHttpServer::Response(
                                         302, "Found", "", "Location: file://" + secret + "\r\n")});
  EXPECT_TRUE(Read(server.Url("/file.xml")).empty());
  ExpectOneMessage();
}

TEST_F(RemoteTest, BodiesPastTheSizeCapAreCutOff) {
  server.SetRoute("/endless.xml",
                  Route{Behaviour::kEndlessBody,
                        "HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\nConnection: close\r\n\r\n"});
  EXPECT_TRUE(Read(server.Url("/endless.xml")).empty());
  EXPECT_EQ(messages.messages, (std::vector<std::string>{kTooLargeText}));

  // A declared length past the cap is refused before the body is taken.
  server.SetRoute("/declared.xml",
                  Route{Behaviour::kRespond,
                        "HTTP/1.1 200 OK\r\nContent-Length: 100000000\r\nConnection: close\r\n"
                        "\r\n" +
                            kDocument});
  EXPECT_TRUE(Read(server.Url("/declared.xml")).empty());
  EXPECT_EQ(messages.messages.size(), 2u);
}

TEST_F(RemoteTest, BrokenTransfersGiveNoTable) {
  const std::string head =
      "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(kDocument.size() + 100) +
      "\r\nConnection: close\r\n\r\n";
  // Reset after part of the body, a body shorter than its declared length, and a connection
  // closed inside the headers, before or after a whole header line.
  server.SetRoute("/reset.xml", Route{Behaviour::kResetMidBody, head + kDocument.substr(0, 40)});
  server.SetRoute("/short.xml", Route{Behaviour::kRespond, head + kDocument});
  server.SetRoute("/cut-line.xml", Route{Behaviour::kRespond, head.substr(0, 20)});
  server.SetRoute("/cut-head.xml", Route{Behaviour::kRespond, head.substr(0, head.size() - 2)});
  for (const char* path : {"/reset.xml", "/short.xml", "/cut-line.xml", "/cut-head.xml"}) {
    EXPECT_TRUE(Read(server.Url(path)).empty()) << path;
  }
  EXPECT_EQ(messages.messages.size(), 4u);

  // A body longer than its declared length is read to that length: here not well formed.
  server.SetRoute(
      "/long.xml",
      Route{Behaviour::kRespond,
            "HTTP/1.1 200 OK\r\nContent-Length: 40\r\nConnection: close\r\n\r\n" + kDocument});
  EXPECT_TRUE(Read(server.Url("/long.xml")).empty());
  EXPECT_EQ(messages.messages.size(), 4u);
}

TEST_F(RemoteTest, OnlyLowerCaseSchemesGoToTheNetwork) {
  server.SetRoute("/a.xml",
                  Route{Behaviour::kRespond, LoopbackHttpServer::Response(200, "OK", kDocument)});
  std::string upper = server.Url("/a.xml");
  upper.replace(0, 4, "HTTP");
  EXPECT_TRUE(Read(upper).empty());
  EXPECT_EQ(server.RequestCount("/a.xml"), 0);
  EXPECT_TRUE(messages.messages.empty());

  // "https://" does go to the network: this plain server cannot complete the handshake.
  std::string secure = server.Url("/a.xml");
  secure.replace(0, 4, "https");
  EXPECT_TRUE(Read(secure).empty());
  ExpectOneMessage();
}

// A port whose listening socket has no room left in its queue: the system drops every further
// connection request unanswered, as a host on a congested or broken route does.
class FullListenQueue {
 public:
  FullListenQueue() {
    m_listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (m_listener < 0 ||
        bind(m_listener, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        listen(m_listener, 0) != 0 ||
        getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
      throw std::runtime_error("no loopback socket");
    }
    m_port = ntohs(address.sin_port);
    // Connections that fill the queue and are never accepted.
    for (int i = 0; i < 2; ++i) {
      const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
      connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
      m_fillers.push_back(fd);
    }
  }
  ~FullListenQueue() {
    for (const int fd : m_fillers) close(fd);
    close(m_listener);
  }
  FullListenQueue(const FullListenQueue&) = delete;
  FullListenQueue& operator=(const FullListenQueue&) = delete;

  std::string Url() const { return "http://127.0.0.1:" + std::to_string(m_port) + "/a.xml"; }

 private:
  int m_listener = -1;
  std::uint16_t m_port = 0;
  std::vector<int> m_fillers;
};

// A transfer that never starts, stops half-way or crawls ends at the total time-out with
// libcurl's text, so the user never waits longer than that.
TEST_F(RemoteTest, StalledAndCrawlingTransfersEndAtTheTimeOutWithLibcurlsText) {
  const std::string head =
      "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(kDocument.size()) +
      "\r\nConnection: close\r\n\r\n";
  server.SetRoute("/half.xml", Route{Behaviour::kStallMidBody, head + kDocument.substr(0, 40)});
  // At one byte in 50 ms, the whole response would take several seconds.
  server.SetRoute("/crawl.xml",
                  Route{Behaviour::kTrickle, LoopbackHttpServer::Response(200, "OK", kDocument)});
  const FullListenQueue unanswered;

  for (const std::string& url :
       {server.Url("/half.xml"), server.Url("/crawl.xml"), unanswered.Url()}) {
    SCOPED_TRACE(url);
    messages.messages.clear();
    const steady_clock::time_point start = steady_clock::now();
    EXPECT_TRUE(Read(url).empty());
    const auto waited = steady_clock::now() - start;
    EXPECT_GE(waited, milliseconds(450));
    EXPECT_LT(waited, milliseconds(3000));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_THAT(messages.messages[0], AnyOf(HasSubstr("timed out"), HasSubstr("Timeout")));
  }
}

// Progress comes every few tens of milliseconds, also while nothing arrives; the callback's false
// ends the transfer at once, long before the time-out, without a message.
TEST_F(RemoteTest, ProgressIsReportedOftenAndItsFalseCancelsSilently) {
  const std::string head =
      "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(kDocument.size()) +
      "\r\nConnection: close\r\n\r\n";
  server.SetRoute("/half.xml", Route{Behaviour::kStallMidBody, head + kDocument.substr(0, 40)});
  DefaultLocationFetcher patient{
      FetchOptions{milliseconds(2000), milliseconds(5000), 64 * 1024, 5}};

  int calls = 0;
  std::uint64_t received = 0;
  std::uint64_t total = 0;
  const steady_clock::time_point start = steady_clock::now();
  const FetchProgress progress = [&](std::uint64_t nowReceived, std::uint64_t announced) {
    ++calls;
    received = nowReceived;
    total = announced;
    return steady_clock::now() - start < milliseconds(400);
  };
  EXPECT_TRUE(AppearanceXmlReader::ReadParams(server.Url("/half.xml"), patient, progress).empty());
  EXPECT_LT(steady_clock::now() - start, milliseconds(1000));
  EXPECT_GE(calls, 5);
  EXPECT_EQ(received, 40u);
  EXPECT_EQ(total, kDocument.size());
  EXPECT_TRUE(messages.messages.empty());
  EXPECT_EQ(patient.Fetch(server.Url("/half.xml"), [](auto, auto) { return false; }).status,
            FetchStatus::kCancelled);

  // A fetch that completes is unchanged by being followed.
  server.SetRoute("/a.xml",
                  Route{Behaviour::kRespond, LoopbackHttpServer::Response(200, "OK", kDocument)});
  const auto carryOn = [](std::uint64_t, std::uint64_t) { return true; };
  EXPECT_EQ(AppearanceXmlReader::ReadParams(server.Url("/a.xml"), patient, carryOn),
            (ParamTable{{1, "morph_a", 0.25f}}));
}

// The commands read through the installed fetcher, whose limits then apply; the default one with
// its own limits comes back afterwards.
TEST_F(RemoteTest, CommandsReadThroughTheInstalledFetcher) {
  server.SetRoute("/quiet.xml", Route{Behaviour::kStall, {}});
  server.SetRoute("/a.xml",
                  Route{Behaviour::kRespond, LoopbackHttpServer::Response(200, "OK", kDocument)});
  {
    const ScopedLocationFetcher installed(&fetcher);
    EXPECT_EQ(&CurrentLocationFetcher(), &fetcher);
    const steady_clock::time_point start = steady_clock::now();
    EXPECT_TRUE(AppearanceXmlReader::ReadParams(server.Url("/quiet.xml")).empty());
    EXPECT_LT(steady_clock::now() - start, milliseconds(3000));
    ExpectOneMessage();
  }
  EXPECT_NE(&CurrentLocationFetcher(), &fetcher);
  EXPECT_EQ(AppearanceXmlReader::ReadParams(server.Url("/a.xml")),
            (ParamTable{{1, "morph_a", 0.25f}}));
}

}  // namespace
}  // namespace tovmar
