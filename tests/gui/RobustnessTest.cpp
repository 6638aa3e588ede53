// Hostile conditions during the panel's commands: a temporary folder that takes no files or is
// full, a mesh file that went away or changed after it was chosen, a server that never answers.
// Each shows its message and leaves the shaped, dressed mesh on screen exactly as it was, and the
// window goes on answering.
#include <stdlib.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include <wx/app.h>
#include <wx/image.h>
#include <wx/utils.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "appearance/LocationFetcher.h"
#include "mesh/SceneStore.h"
#include "panel/BitmapFrame.h"
#include "panel/ControlIds.h"
#include "tests/gui/AppAccess.h"
#include "tests/gui/PanelCommands.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/RecordingMessageSink.h"
#include "tests/support/ScopedFileSizeLimit.h"
#include "tests/support/ScriptedFileDialogs.h"
#include "tests/support/WxTestUtil.h"
#include "tests/texture/TextureTestFolder.h"
#include "tools/LlmWriter.h"

namespace tovmar {
namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

bool SameImage(const wxImage& a, const wxImage& b) {
  return a.IsOk() && b.IsOk() && a.GetSize() == b.GetSize() &&
         std::memcmp(a.GetData(), b.GetData(),
                     static_cast<std::size_t>(a.GetWidth()) * a.GetHeight() * 3) == 0;
}

// What the user has in front of them: the mesh objects, the record and its weight, the texture,
// the thumbnail and the 3D view.
struct Shown {
  std::int32_t visibleId = -1;
  std::int32_t hiddenId = -1;
  std::string objectName;
  std::vector<Vec3> positions;
  std::string meshPath;
  float weight = 0.0f;
  std::int32_t textureId = -1;
  PixelBuffer texturePixels;
  wxImage thumbnail;
  wxImage scene;
};

Shown Capture() {
  Shown shown;
  SceneStore& store = Scene();
  if (store.MeshCount() != 2) {
    ADD_FAILURE() << "mesh objects: " << store.MeshCount();
    return shown;
  }
  const MeshObject& visible = *store.GetMesh(0);
  shown.visibleId = visible.header.id;
  shown.hiddenId = store.GetMesh(1)->header.id;
  shown.objectName = visible.header.name;
  shown.positions = visible.positions;
  shown.meshPath = Doc().m_mesh.path;
  shown.weight = Doc().m_mesh.morphTargets.at(0).weight;
  shown.textureId = visible.GetTextureId();
  if (const TextureObject* texture = store.FindTexture(shown.textureId)) {
    shown.texturePixels = texture->Pixels();
  }
  PumpEvents(100);
  shown.thumbnail = GrabWindow(Panel().m_thumbnail);
  shown.scene = ShownScene();
  return shown;
}

void ExpectStillShows(const Shown& before) {
  const Shown now = Capture();
  EXPECT_EQ(now.visibleId, before.visibleId);
  EXPECT_EQ(now.hiddenId, before.hiddenId);
  EXPECT_EQ(now.objectName, before.objectName);
  EXPECT_EQ(now.positions, before.positions);
  EXPECT_EQ(now.meshPath, before.meshPath);
  EXPECT_EQ(now.weight, before.weight);
  EXPECT_EQ(now.textureId, before.textureId);
  EXPECT_EQ(now.texturePixels, before.texturePixels);
  EXPECT_TRUE(SameImage(now.thumbnail, before.thumbnail)) << "the thumbnail changed";
  EXPECT_TRUE(SameImage(now.scene, before.scene)) << "the 3D view changed";
}

// Whether the window still handles what is posted to it.
bool WindowAnswers() {
  bool answered = false;
  wxTheApp->CallAfter([&answered] { answered = true; });
  PumpEvents(100);
  return answered;
}

class RobustnessTest : public testing::Test {
 protected:
  // A picture of horizontal colour bands, 64 x 64: its temporary BMP takes 12 KiB.
  wxString WriteBands(const std::string& name) {
    wxImage image(64, 64);
    for (int y = 0; y < 64; ++y) {
      image.SetRGB(wxRect(0, y, 64, 1), static_cast<unsigned char>(y * 4), 128,
                   static_cast<unsigned char>(255 - y * 4));
    }
    const wxString path = m_folder.File(name);
    EXPECT_TRUE(image.SaveFile(path, wxBITMAP_TYPE_PNG));
    return path;
  }

  // Sets the weights that an appearance file at `location` names, through the panel's button.
  void LoadAppearanceThroughTheButton(const wxString& location) {
    m_dialogs.Choose(location);
    Press(IDC_LOAD_AVATAR);
  }

  // The ball as a user leaves it after some work: dressed, and with Big_Belly at 1.5.
  void ShapeAndDressBall() {
    m_dialogs.Choose(WriteBallMesh(m_folder, "ball.llm", 0.15f));
    Press(IDC_LOAD_MESH);
    m_dialogs.Choose(WriteBands("skin.png"));
    Press(IDC_LOAD_TEXTURE);
    const wxString xml = m_folder.File("shape.xml");
    std::ofstream(xml.utf8_string())
        << "<linden_genepool><archetype><param id=\"1\" name=\"big_belly\" value=\"1.5\"/>"
           "</archetype></linden_genepool>";
    LoadAppearanceThroughTheButton(xml);
    ASSERT_EQ(Scene().MeshCount(), 2u);
    ASSERT_EQ(Doc().m_mesh.morphTargets.size(), 1u);
    ASSERT_EQ(Doc().m_mesh.morphTargets[0].weight, 1.5f);
    ASSERT_NE(Scene().FindTexture(Scene().GetMesh(0)->GetTextureId()), nullptr);
    ASSERT_TRUE(m_messages.messages.empty());
  }

  TestFolder m_folder{"tovmar-robustness"};
  ScriptedFileDialogs m_dialogs;
  RecordingMessageSink m_messages;
};

TEST_F(RobustnessTest, TextureLoadWithoutRoomForItsTemporaryFileKeepsEverything) {
  ShapeAndDressBall();
  const Shown before = Capture();
  const wxString picture = WriteBands("new.png");
  // The temporary folder becomes one of the test's own, so that leftovers can be counted.
  const TextureTestFolder temp;

  for (const bool full : {false, true}) {
    SCOPED_TRACE(full ? "full" : "takes no files");
    m_messages.messages.clear();
    m_dialogs.Choose(picture);
    {
      std::optional<ScopedFileSizeLimit> limit;
      if (full) {
        limit.emplace(1024);
        ASSERT_TRUE(limit->Active());
      } else {
        // Not even a privileged user can create files there.
        temp.SetTempFolder("/proc");
      }
      Press(IDC_LOAD_TEXTURE);
    }
    temp.SetTempFolder(temp.Temp());

    EXPECT_EQ(m_messages.messages,
              std::vector<std::string>{full ? "D3DXCreateTextureFromFile error"
                                            : "テンポラリファイルが作成できませんでした。"});
    EXPECT_TRUE(temp.LeftoverBmpFiles().empty());
    EXPECT_EQ(Scene().TextureCount(), 1u);
    ExpectStillShows(before);
    EXPECT_FALSE(wxIsBusy());
    EXPECT_TRUE(WindowAnswers());
  }
}

TEST_F(RobustnessTest, MeshFileGoneOrChangedAfterItWasChosenKeepsEverything) {
  ShapeAndDressBall();
  const Shown before = Capture();
  const std::string whole = [this] {
    const wxString path = WriteBallMesh(m_folder, "whole.llm", 0.2f);
    std::ifstream in(path.utf8_string(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }();

  struct Case {
    const char* what;
    std::string bytes;  // the file as it is when read; none: it was deleted
    bool deleted;
    std::string reason;  // how the message's third line begins
  };
  const std::vector<Case> cases = {
      {"deleted", "", true, "ファイルがないか、開けません。"},
      {"cut in half, inside its vertex arrays", whole.substr(0, whole.size() / 2), false,
       "頂点データの途中でファイルが終わっています (頂点 425 個の 18700 バイトのうち 14523"},
      {"cut after its first 100 bytes", whole.substr(0, 100), false, "頂点データの途中"},
      {"overwritten with text", "Saved by another program.\n", false,
       "ヘッダ (65 バイト) の途中、26 バイトで"},
      {"emptied", "", false, "ヘッダ (65 バイト) の途中、0 バイトで"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    m_messages.messages.clear();
    // The dialog answers with a whole mesh file, which then goes or changes before the read.
    const wxString chosen = WriteBallMesh(m_folder, "chosen.llm", 0.2f);
    m_dialogs.Choose(chosen);
    if (c.deleted) {
      std::filesystem::remove(chosen.utf8_string());
    } else {
      WriteFileBytes(chosen.utf8_string(), c.bytes);
    }
    Press(IDC_LOAD_MESH);

    // The program's line first, then the file and what is wrong with it.
    ASSERT_EQ(m_messages.messages.size(), 1u);
    EXPECT_THAT(m_messages.messages[0],
                testing::StartsWith("指定ファイルが読み込めませんでした。\n" +
                                    chosen.utf8_string() + "\n" + c.reason));
    ExpectStillShows(before);
    EXPECT_TRUE(WindowAnswers());
  }

  // The next mesh loads as usual, also when its file ends inside its morph records: new objects,
  // weights back at 0, no texture.
  m_messages.messages.clear();
  const wxString next = WriteBallMesh(m_folder, "next.llm", 0.2f);
  WriteFileBytes(next.utf8_string(), whole.substr(0, whole.size() - 100));
  m_dialogs.Choose(next);
  Press(IDC_LOAD_MESH);
  EXPECT_TRUE(m_messages.messages.empty());
  SceneStore& store = Scene();
  ASSERT_EQ(store.MeshCount(), 2u);
  EXPECT_GT(store.GetMesh(0)->header.id, before.hiddenId);
  EXPECT_EQ(Doc().m_mesh.morphTargets.at(0).weight, 0.0f);
  EXPECT_EQ(store.GetMesh(0)->GetTextureId(), -1);
}

// Notes whether the busy cursor is up while the location is fetched, with short time-outs so that
// the test need not wait a minute.
class WatchedFetcher : public LocationFetcher {
 public:
  FetchResult Fetch(const std::string& location, const FetchProgress& progress) override {
    busyWhileFetching = wxIsBusy();
    return m_fetcher.Fetch(location, progress);
  }

  static constexpr milliseconds kTotalTimeout{1500};
  bool busyWhileFetching = false;

 private:
  DefaultLocationFetcher m_fetcher{
      FetchOptions{milliseconds(1000), kTotalTimeout, std::uint64_t{16} << 20, 5}};
};

TEST_F(RobustnessTest, ServerThatNeverAnswersEndsAtTheTimeOutAndKeepsEverything) {
  ShapeAndDressBall();
  const Shown before = Capture();
  setenv("no_proxy", "127.0.0.1", 1);
  LoopbackHttpServer server;
  server.SetRoute("/stall.xml",
                  LoopbackHttpServer::Route{LoopbackHttpServer::Behaviour::kStall, {}});
  WatchedFetcher fetcher;
  const ScopedLocationFetcher installed(&fetcher);

  const steady_clock::time_point start = steady_clock::now();
  LoadAppearanceThroughTheButton(wxString::FromUTF8(server.Url("/stall.xml")));
  const auto waited = steady_clock::now() - start;

  // The window waited with the busy cursor, no longer than the time-out, and then said why.
  EXPECT_EQ(server.RequestCount("/stall.xml"), 1);
  EXPECT_TRUE(fetcher.busyWhileFetching);
  EXPECT_FALSE(wxIsBusy());
  EXPECT_GE(waited, WatchedFetcher::kTotalTimeout - milliseconds(100));
  EXPECT_LT(waited, WatchedFetcher::kTotalTimeout + milliseconds(3000));
  ASSERT_EQ(m_messages.messages.size(), 1u);
  EXPECT_THAT(m_messages.messages[0], testing::HasSubstr("サーバーが時間内に応答しませんでした。"));
  ExpectStillShows(before);
  EXPECT_TRUE(WindowAnswers());

  // The next appearance file is applied as usual.
  const wxString xml = m_folder.File("flat.xml");
  std::ofstream(xml.utf8_string())
      << "<linden_genepool><archetype><param id=\"1\" name=\"big_belly\" value=\"0.5\"/>"
         "</archetype></linden_genepool>";
  LoadAppearanceThroughTheButton(xml);
  EXPECT_EQ(Doc().m_mesh.morphTargets.at(0).weight, 0.5f);
  EXPECT_EQ(m_messages.messages.size(), 1u);
}

}  // namespace
}  // namespace tovmar
