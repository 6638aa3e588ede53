#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>

#include "tests/appearance/AppearanceFixtures.h"
#include "tests/support/LoopbackHttpServer.h"

namespace tovmar {
namespace {

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
  // Reset after part of the body, and a body shorter than its declared length.
  server.SetRoute("/reset.xml", Route{Behaviour::kResetMidBody, head + kDocument.substr(0, 40)});
  server.SetRoute("/short.xml", Route{Behaviour::kRespond, head + kDocument});
  EXPECT_TRUE(Read(server.Url("/reset.xml")).empty());
  EXPECT_TRUE(Read(server.Url("/short.xml")).empty());
  EXPECT_EQ(messages.messages.size(), 2u);

  // A body longer than its declared length is read to that length: here not well formed.
  server.SetRoute(
      "/long.xml",
      Route{Behaviour::kRespond,
            "HTTP/1.1 200 OK\r\nContent-Length: 40\r\nConnection: close\r\n\r\n" + kDocument});
  EXPECT_TRUE(Read(server.Url("/long.xml")).empty());
  EXPECT_EQ(messages.messages.size(), 2u);
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

}  // namespace
}  // namespace tovmar
