// Dressing the mesh with a picture: the texture load, refresh and their thumbnail.
#include <filesystem>

#include <wx/image.h>

#include <gtest/gtest.h>

#include "base/FileBytes.h"
#include "mesh/SceneStore.h"
#include "panel/BitmapFrame.h"
#include "panel/ControlIds.h"
#include "tests/gui/AppAccess.h"
#include "tests/gui/PanelCommands.h"
#include "tests/support/RecordingMessageSink.h"
#include "tests/support/ScriptedFileDialogs.h"
#include "tests/support/WxTestUtil.h"

namespace tovmar {
namespace {

// A picture of four quadrants: red top-left, green top-right, blue bottom-left, yellow
// bottom-right.
wxString WriteQuadrants(const TestFolder& folder, const std::string& name, int size) {
  wxImage image(size, size);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const bool right = x >= size / 2, bottom = y >= size / 2;
      const unsigned char r = (!bottom && !right) || (bottom && right) ? 255 : 0;
      const unsigned char g = (!bottom && right) || (bottom && right) ? 255 : 0;
      const unsigned char b = bottom && !right ? 255 : 0;
      image.SetRGB(x, y, r, g, b);
    }
  }
  const wxString path = folder.File(name);
  EXPECT_TRUE(image.SaveFile(path, wxBITMAP_TYPE_PNG));
  return path;
}

wxString WriteSolid(const TestFolder& folder, const std::string& name, int w, int h,
                    unsigned char r, unsigned char g, unsigned char b) {
  wxImage image(w, h);
  image.SetRGB(wxRect(0, 0, w, h), r, g, b);
  const wxString path = folder.File(name);
  EXPECT_TRUE(image.SaveFile(path, wxBITMAP_TYPE_PNG));
  return path;
}

// Expects the thumbnail to show the quadrants of WriteQuadrants the right way up.
void ExpectUprightQuadrants(wxWindow* thumbnail) {
  PumpEvents(100);
  const wxImage thumb = GrabWindow(thumbnail);
  ASSERT_TRUE(thumb.IsOk());
  const int w = thumb.GetWidth(), h = thumb.GetHeight();
  EXPECT_GT(thumb.GetBlue(2, h - 3), 200);  // bottom-left
  EXPECT_LT(thumb.GetRed(2, h - 3), 50);
  EXPECT_GT(thumb.GetRed(2, 2), 200);  // top-left
  // The panel's column may cut the thumbnail's right edge: look just right of its middle.
  EXPECT_GT(thumb.GetGreen(w / 2 + 4, 2), 200);  // top-right
}

class TextureCommandTest : public testing::Test {
 protected:
  void LoadBall() {
    m_dialogs.Choose(WriteBallMesh(m_folder, "ball.llm", 0.15f));
    Press(IDC_LOAD_MESH);
  }
  TestFolder m_folder{"tovmar-texture-command"};
  ScriptedFileDialogs m_dialogs;
  RecordingMessageSink m_messages;
};

TEST_F(TextureCommandTest, WithoutAMeshOnlyTheMessageShows) {
  RemoveAllMeshes();
  Press(IDC_LOAD_TEXTURE);
  EXPECT_TRUE(m_dialogs.requests.empty());
  ASSERT_EQ(m_messages.messages.size(), 1u);
  EXPECT_EQ(m_messages.messages[0], "先にLLMメッシュを読み込んで下さい。");
}

TEST_F(TextureCommandTest, PictureShowsOnTheLitMeshAndUprightInTheThumbnail) {
  LoadBall();
  m_dialogs.Choose(WriteQuadrants(m_folder, "quadrants.png", 64));
  Press(IDC_LOAD_TEXTURE);
  ASSERT_EQ(m_dialogs.requests.size(), 2u);
  EXPECT_EQ(
      m_dialogs.requests[1].filter,
      wxString::FromUTF8("画像ファイル(*.tga;*.jpg;*.jpeg;*.bmp;*.png;*.gif;*.tif;*.tiff)|"
                         "*.tga;*.jpg;*.jpeg;*.bmp;*.png;*.gif;*.tif;*.tiff|全て(*.*)|*.*||"));
  EXPECT_TRUE(m_messages.messages.empty());
  EXPECT_EQ(Doc().GetTextureFolder(), wxString::FromUTF8(PathToUtf8(m_folder.Path())) + "/");

  ExpectUprightQuadrants(Panel().m_thumbnail);

  // The mesh shows the picture's colours, modulated by the light.
  const wxImage scene = ShownScene();
  int coloured = 0;
  for (int y = 0; y < scene.GetHeight(); y += 4) {
    for (int x = 0; x < scene.GetWidth(); x += 4) {
      const int r = scene.GetRed(x, y), g = scene.GetGreen(x, y), b = scene.GetBlue(x, y);
      if (std::max({r, g, b}) - std::min({r, g, b}) > 80) ++coloured;
    }
  }
  EXPECT_GT(coloured, 50);
}

TEST_F(TextureCommandTest, APictureOverTheThumbnailLimitShowsWholeAndUpright) {
  // The thumbnail keeps a copy sampled down to 1024 pixels a side, not the picture itself.
  LoadBall();
  m_dialogs.Choose(WriteQuadrants(m_folder, "large.png", 1500));
  Press(IDC_LOAD_TEXTURE);
  EXPECT_TRUE(m_messages.messages.empty());
  ExpectUprightQuadrants(Panel().m_thumbnail);
}

TEST_F(TextureCommandTest, SecondLoadReplacesTheTextureObject) {
  LoadBall();
  m_dialogs.Choose(WriteSolid(m_folder, "red.png", 8, 8, 255, 0, 0));
  Press(IDC_LOAD_TEXTURE);
  SceneStore& store = Scene();
  const std::int32_t first = store.GetMesh(0)->GetTextureId();
  ASSERT_NE(store.FindTexture(first), nullptr);

  m_dialogs.Choose(WriteSolid(m_folder, "green.png", 8, 8, 0, 255, 0));
  Press(IDC_LOAD_TEXTURE);
  const std::int32_t second = store.GetMesh(0)->GetTextureId();
  EXPECT_GT(second, first);
  EXPECT_EQ(store.FindTexture(first), nullptr);
  EXPECT_EQ(store.FindTexture(second)->header.name, "tex " + std::to_string(second));

  // A picture that cannot be decoded keeps the current texture.
  const wxString broken = m_folder.File("broken.png");
  WriteSolid(m_folder, "broken.png", 1, 1, 0, 0, 0);
  std::filesystem::resize_file(broken.utf8_string(), 20);
  m_dialogs.Choose(broken);
  Press(IDC_LOAD_TEXTURE);
  EXPECT_EQ(store.GetMesh(0)->GetTextureId(), second);
  ASSERT_FALSE(m_messages.messages.empty());
  EXPECT_EQ(m_messages.messages.back(), "D3DXCreateTextureFromFile error");
}

TEST_F(TextureCommandTest, RefreshTakesOverAChangedFileAndEmptiesOnADeletedOne) {
  LoadBall();
  const wxString path = WriteSolid(m_folder, "skin.png", 16, 8, 255, 0, 0);
  m_dialogs.Choose(path);
  Press(IDC_LOAD_TEXTURE);

  // Edited in another program: a new size and colour.
  WriteSolid(m_folder, "skin.png", 32, 32, 0, 0, 255);
  Press(IDC_REFRESH_TEXTURE);
  SceneStore& store = Scene();
  const TextureObject* texture = store.FindTexture(store.GetMesh(0)->GetTextureId());
  ASSERT_NE(texture, nullptr);
  EXPECT_EQ(texture->Width(), 32);
  EXPECT_EQ(texture->Height(), 32);
  PumpEvents(100);
  EXPECT_GT(GrabWindow(Panel().m_thumbnail).GetBlue(5, 5), 200);

  // Deleted: the message, a white thumbnail, an untextured mesh.
  std::filesystem::remove(path.utf8_string());
  Press(IDC_REFRESH_TEXTURE);
  ASSERT_FALSE(m_messages.messages.empty());
  EXPECT_EQ(m_messages.messages.back(), "D3DXCreateTextureFromFile error");
  EXPECT_FALSE(texture->HasPixels());
  PumpEvents(100);
  const wxImage thumb = GrabWindow(Panel().m_thumbnail);
  EXPECT_EQ(thumb.GetRed(5, 5), 255);
  EXPECT_EQ(thumb.GetBlue(5, 5), 255);
  const wxImage scene = ShownScene();
  const int cx = scene.GetWidth() / 2, cy = scene.GetHeight() / 2;
  EXPECT_EQ(scene.GetRed(cx, cy), scene.GetBlue(cx, cy));
}

}  // namespace
}  // namespace tovmar
