// The texture follows its file: saved again in place or renamed over, it shows without a click,
// in the thumbnail, the 3D view and a saved picture; half written or gone, the picture stays and
// nothing is said; switched off, nothing happens.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <wx/config.h>
#include <wx/evtloop.h>
#include <wx/image.h>

#include <gtest/gtest.h>

#include "mesh/SceneStore.h"
#include "panel/BitmapFrame.h"
#include "panel/ControlIds.h"
#include "panel/ViewContextMenu.h"
#include "tests/gui/AppAccess.h"
#include "tests/gui/PanelCommands.h"
#include "tests/support/RecordingMessageSink.h"
#include "tests/support/ScriptedFileDialogs.h"
#include "tests/support/WxTestUtil.h"

namespace tovmar {
namespace {

struct Rgb {
  unsigned char r, g, b;
};
constexpr Rgb kRed{255, 0, 0}, kBlue{0, 0, 255}, kGreen{0, 255, 0};

// Long enough for a change to settle and be read, several times over.
constexpr int kQuietMs = 3 * TextureFileWatch::kSettleMs;

void WriteSolid(const wxString& path, Rgb colour) {
  wxImage image(8, 8);
  image.SetRGB(wxRect(0, 0, 8, 8), colour.r, colour.g, colour.b);
  ASSERT_TRUE(image.SaveFile(path, wxBITMAP_TYPE_PNG));
}

// Pumps events until `done` holds, for at most three seconds.
bool WaitFor(const std::function<bool()>& done) {
  for (int i = 0; i < 150 && !done(); ++i) PumpEvents(20);
  return done();
}

const TextureObject* MeshTexture() {
  SceneStore& store = Scene();
  return store.GetMesh(0) != nullptr ? store.FindTexture(store.GetMesh(0)->GetTextureId())
                                     : nullptr;
}

bool TextureIs(Rgb colour) {
  const TextureObject* texture = MeshTexture();
  return texture != nullptr && texture->HasPixels() && texture->Pixels()[0] == colour.r &&
         texture->Pixels()[1] == colour.g && texture->Pixels()[2] == colour.b;
}

// How many pixels, of every fourth row and column, are clearly of `colour`'s hue: its full
// channels stand above its empty ones, whatever the light does to their brightness.
int PixelsOfHue(const wxImage& image, Rgb colour) {
  int count = 0;
  for (int y = 0; y < image.GetHeight(); y += 4) {
    for (int x = 0; x < image.GetWidth(); x += 4) {
      const int channels[3] = {image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y)};
      const bool full[3] = {colour.r != 0, colour.g != 0, colour.b != 0};
      int lowestFull = 255, highestEmpty = 0;
      for (int c = 0; c < 3; ++c) {
        if (full[c])
          lowestFull = std::min(lowestFull, channels[c]);
        else
          highestEmpty = std::max(highestEmpty, channels[c]);
      }
      if (lowestFull - highestEmpty > 60) ++count;
    }
  }
  return count;
}

// The 3D view shows the ball in `colour` and nothing in `old`, the picture before.
void ExpectViewShows(Rgb colour, Rgb old) {
  const wxImage shown = ShownScene();
  ASSERT_TRUE(shown.IsOk());
  EXPECT_GT(PixelsOfHue(shown, colour), 50);
  EXPECT_EQ(PixelsOfHue(shown, old), 0);
}

bool ThumbnailIs(Rgb colour) {
  const wxImage thumb = GrabWindow(Panel().m_thumbnail);
  return thumb.IsOk() && thumb.GetRed(5, 5) == colour.r && thumb.GetGreen(5, 5) == colour.g &&
         thumb.GetBlue(5, 5) == colour.b;
}

class TextureAutoReloadTest : public testing::Test {
 protected:
  TextureAutoReloadTest() {
    m_dialogs.Choose(WriteBallMesh(m_folder, "ball.llm", 0.15f));
    Press(IDC_LOAD_MESH);
    WriteSolid(m_skin, kRed);
    m_dialogs.Choose(m_skin);
    Press(IDC_LOAD_TEXTURE);
  }
  ~TextureAutoReloadTest() override {
    // Nothing is left watching the folder that goes with the test; the setting is back on.
    RemoveAllMeshes();
    Panel().SetTextureAutoReload(true);
  }

  TestFolder m_folder{"tovmar-texture-auto-reload"};
  wxString m_skin = m_folder.File("skin.png");
  ScriptedFileDialogs m_dialogs;
  RecordingMessageSink m_messages;
};

TEST_F(TextureAutoReloadTest, WriteInPlaceAndRenameOverBothShow) {
  ASSERT_TRUE(Panel().TextureAutoReload());
  ASSERT_TRUE(TextureIs(kRed));
  const std::int32_t id = MeshTexture()->header.id;

  WriteSolid(m_skin, kBlue);
  ASSERT_TRUE(WaitFor([] { return TextureIs(kBlue); }));
  PumpEvents(100);
  EXPECT_GT(GrabWindow(Panel().m_thumbnail).GetBlue(5, 5), 200);

  // As editors save: a new file beside it, renamed over it.
  const wxString aside = m_folder.File("skin.png.part");
  WriteSolid(aside, kGreen);
  std::filesystem::rename(aside.utf8_string(), m_skin.utf8_string());
  ASSERT_TRUE(WaitFor([] { return TextureIs(kGreen); }));
  EXPECT_EQ(MeshTexture()->header.id, id);
  EXPECT_EQ(MeshTexture()->sourcePath, m_skin.utf8_string());
  EXPECT_TRUE(m_messages.messages.empty());
}

// What the user sees, not the texture object: the view draws the new picture at its next paint,
// and "画像を保存..." saves the picture the view shows.
TEST_F(TextureAutoReloadTest, TheViewAndASavedPictureShowTheFileAsItNowIs) {
  ExpectViewShows(kRed, kBlue);

  WriteSolid(m_skin, kBlue);
  ASSERT_TRUE(WaitFor([] { return ThumbnailIs(kBlue); }));
  ExpectViewShows(kBlue, kRed);

  const wxString aside = m_folder.File("skin.png.part");
  WriteSolid(aside, kGreen);
  std::filesystem::rename(aside.utf8_string(), m_skin.utf8_string());
  ASSERT_TRUE(WaitFor([] { return ThumbnailIs(kGreen); }));
  ExpectViewShows(kGreen, kBlue);

  m_dialogs.Choose(m_folder.File("shot.png"));
  Panel().RunViewMenuCommand(ID_VIEW_SAVE_PICTURE);
  wxImage saved;
  ASSERT_TRUE(saved.LoadFile(m_folder.File("shot.png"), wxBITMAP_TYPE_PNG));
  const wxImage shown = ShownScene();
  ASSERT_EQ(saved.GetSize(), shown.GetSize());
  const unsigned char* data = shown.GetData();
  const std::vector<std::uint8_t> shownRgb(
      data, data + std::size_t{3} * shown.GetWidth() * shown.GetHeight());
  EXPECT_EQ(DifferingPixels(saved, shownRgb, 2), 0);
  EXPECT_GT(PixelsOfHue(saved, kGreen), 50);
  EXPECT_TRUE(m_messages.messages.empty());
}

TEST_F(TextureAutoReloadTest, HalfWrittenOrGoneKeepsThePictureSilently) {
  // The first half of a PNG file: what a reader finds while the editor is still writing.
  const wxString whole = m_folder.File("whole.png");
  WriteSolid(whole, kBlue);
  std::ifstream in(whole.utf8_string(), std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::ofstream(m_skin.utf8_string(), std::ios::binary) << bytes.substr(0, bytes.size() / 2);
  PumpEvents(kQuietMs);
  EXPECT_TRUE(TextureIs(kRed));
  EXPECT_TRUE(m_messages.messages.empty());

  // Completed: read.
  std::ofstream(m_skin.utf8_string(), std::ios::binary) << bytes;
  EXPECT_TRUE(WaitFor([] { return TextureIs(kBlue); }));

  // Deleted, then saved again.
  std::filesystem::remove(m_skin.utf8_string());
  PumpEvents(kQuietMs);
  EXPECT_TRUE(TextureIs(kBlue));
  WriteSolid(m_skin, kGreen);
  EXPECT_TRUE(WaitFor([] { return TextureIs(kGreen); }));
  EXPECT_TRUE(m_messages.messages.empty());
}

TEST_F(TextureAutoReloadTest, SwitchedOffNothingReloadsAndTheProfileKeepsTheSetting) {
  wxConfigBase& profile = *wxConfigBase::Get();
  Panel().SetTextureAutoReload(false);
  EXPECT_FALSE(profile.ReadBool("/Texture/AutoReload", true));
  EXPECT_FALSE(CTovmarView::TextureAutoReloadInProfile());
  WriteSolid(m_skin, kBlue);
  PumpEvents(kQuietMs);
  EXPECT_TRUE(TextureIs(kRed));

  // On again: the texture that shows is watched from now on.
  Panel().SetTextureAutoReload(true);
  EXPECT_TRUE(profile.ReadBool("/Texture/AutoReload", false));
  WriteSolid(m_skin, kGreen);
  EXPECT_TRUE(WaitFor([] { return TextureIs(kGreen); }));

  // A texture loaded before the event loop runs (named on the command line) is watched once it
  // does.
  const wxString other = m_folder.File("other.png");
  WriteSolid(other, kRed);
  {
    const wxEventLoopActivator noLoopYet(nullptr);
    Panel().LoadTextureFile(other, m_folder.File(""));
  }
  PumpEvents(kQuietMs);
  WriteSolid(other, kBlue);
  EXPECT_TRUE(WaitFor([] { return TextureIs(kBlue); }));

  // Without the key the setting is on.
  profile.DeleteEntry("/Texture/AutoReload");
  EXPECT_TRUE(CTovmarView::TextureAutoReloadInProfile());
}

// With no descriptor left for the system's watcher, the texture stays unwatched: no fault, and
// no assertion of the toolkit shows.
TEST_F(TextureAutoReloadTest, NoWatcherToBeHadIsNoFault) {
#if defined(__SANITIZE_ADDRESS__)
  // Their checks of the watcher's type open a pipe, and take the want of one for a fault.
  GTEST_SKIP() << "the sanitizers need descriptors of their own";
#endif
  Panel().SetTextureAutoReload(false);
  rlimit limit{};
  ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &limit), 0);
  const rlimit few{std::min<rlim_t>(limit.rlim_cur, 512), limit.rlim_max};
  ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &few), 0);
  std::vector<int> held;
  for (int fd = 0; (fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC)) >= 0;) held.push_back(fd);
  Panel().SetTextureAutoReload(true);
  for (const int fd : held) ::close(fd);
  ::setrlimit(RLIMIT_NOFILE, &limit);

  WriteSolid(m_skin, kBlue);
  PumpEvents(kQuietMs);
  EXPECT_TRUE(TextureIs(kRed));
}

}  // namespace
}  // namespace tovmar
