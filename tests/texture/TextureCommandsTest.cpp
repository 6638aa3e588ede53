// The scene-store side of the texture load and refresh commands, with real image files.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "base/FileBytes.h"
#include "mesh/SceneStore.h"
#include "tests/support/RecordingMessageSink.h"
#include "tests/support/ScopedFileSizeLimit.h"
#include "tests/support/WxImageHandlers.h"
#include "tests/texture/TestImages.h"
#include "tests/texture/TextureTestFolder.h"
#include "texture/PictureConverter.h"
#include "texture/TextureCommands.h"

namespace tovmar {
namespace {

class TextureCommands : public ::testing::Test {
 protected:
  // Writes the quadrant picture of the given size as a TGA file named `name`.
  std::string WriteTga(const std::string& name, std::int32_t width, std::int32_t height) {
    return folder.WriteImage(
        name, MakeTga(MakeQuadrants(width, height), TgaKind::kTrueColour24, false, false));
  }

  TextureTestFolder folder;
  RecordingMessageSink messages;
  PictureConverter converter;
  ScopedImageConverter installed{&converter};
  SceneStore store;
};

TEST_F(TextureCommands, WithoutAMeshNothingIsLoadedOrRefreshed) {
  EXPECT_EQ(LoadMeshTexture(store, WriteTga("a.tga", 4, 4)), nullptr);
  EXPECT_EQ(store.TextureCount(), 0u);
  EXPECT_EQ(RefreshMeshTexture(store), nullptr);
  EXPECT_TRUE(messages.messages.empty());
}

TEST_F(TextureCommands, ASecondLoadReplacesTheFirstTextureWithTheNextId) {
  store.CreateMesh();
  MeshObject& mesh = *store.GetMesh(0);
  EXPECT_EQ(RefreshMeshTexture(store), nullptr);

  TextureObject* first = LoadMeshTexture(store, WriteTga("a.tga", 4, 2));
  ASSERT_NE(first, nullptr);
  const std::int32_t firstId = first->header.id;
  EXPECT_EQ(mesh.GetTextureId(), firstId);
  EXPECT_EQ(first->Width(), 4);

  TextureObject* second = LoadMeshTexture(store, WriteTga("b.tga", 2, 8));
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->header.id, firstId + 1);
  EXPECT_EQ(second->header.name, "tex " + std::to_string(firstId + 1));
  EXPECT_EQ(mesh.GetTextureId(), second->header.id);
  EXPECT_EQ(store.FindTexture(firstId), nullptr);
  EXPECT_EQ(store.TextureCount(), 1u);

  // A failed load discards its new object; the mesh keeps its texture.
  EXPECT_EQ(LoadMeshTexture(store, folder.WriteImage("bad.png", "no picture")), nullptr);
  EXPECT_EQ(messages.messages, std::vector<std::string>{"D3DXCreateTextureFromFile error"});
  EXPECT_EQ(mesh.GetTextureId(), second->header.id);
  EXPECT_EQ(store.TextureCount(), 1u);
  EXPECT_TRUE(second->HasPixels());
}

TEST_F(TextureCommands, SeveralMeshesWearOneTextureAndOthersKeepTheirs) {
  for (int i = 0; i < 3; ++i) store.CreateMesh();
  const std::vector<std::size_t> others{0};
  TextureObject* own = LoadMeshTexture(store, WriteTga("own.tga", 4, 4), others);
  ASSERT_NE(own, nullptr);
  const std::int32_t ownId = own->header.id;

  // Nothing is created for no meshes, or for a list naming a mesh that is not there.
  for (const std::vector<std::size_t>& meshes :
       {std::vector<std::size_t>{}, std::vector<std::size_t>{1, 3}}) {
    EXPECT_EQ(LoadMeshTexture(store, WriteTga("x.tga", 2, 2), meshes), nullptr);
    EXPECT_EQ(store.TextureCount(), 1u);
  }

  const std::vector<std::size_t> pair{1, 2};
  TextureObject* shared = LoadMeshTexture(store, WriteTga("pair.tga", 2, 2), pair);
  ASSERT_NE(shared, nullptr);
  const std::int32_t firstSharedId = shared->header.id;
  EXPECT_EQ(store.GetMesh(1)->GetTextureId(), firstSharedId);
  EXPECT_EQ(store.GetMesh(2)->GetTextureId(), firstSharedId);
  EXPECT_EQ(store.GetMesh(0)->GetTextureId(), ownId);

  // Replacing the shared texture lets the old one go once neither mesh wears it.
  shared = LoadMeshTexture(store, WriteTga("pair2.tga", 2, 2), pair);
  ASSERT_NE(shared, nullptr);
  EXPECT_EQ(store.FindTexture(firstSharedId), nullptr);
  EXPECT_EQ(store.TextureCount(), 2u);
  EXPECT_EQ(RefreshMeshTexture(store, 2), shared);
}

TEST_F(TextureCommands, RefreshTakesOverAChangedFileAndEmptiesTheTextureWhenItIsGone) {
  store.CreateMesh();
  const std::string path = WriteTga("skin.tga", 4, 4);
  TextureObject* texture = LoadMeshTexture(store, path);
  ASSERT_NE(texture, nullptr);

  // The file changed on disk, size included.
  WriteTga("skin.tga", 6, 2);
  EXPECT_EQ(RefreshMeshTexture(store), texture);
  ExpectTextureShows(*texture, MakeQuadrants(6, 2));
  EXPECT_EQ(texture->sourcePath, path);

  // The file was deleted: no pixels, no source path, and a further refresh does nothing.
  std::filesystem::remove(PathFromUtf8(path));
  EXPECT_EQ(RefreshMeshTexture(store), texture);
  EXPECT_EQ(messages.messages, std::vector<std::string>{"D3DXCreateTextureFromFile error"});
  EXPECT_FALSE(texture->HasPixels());
  EXPECT_EQ(texture->sourcePath, "");
  EXPECT_EQ(RefreshMeshTexture(store), nullptr);
  EXPECT_EQ(messages.messages.size(), 1u);
}

TEST_F(TextureCommands, ReloadKeepsThePictureUntilTheFileReadsWhole) {
  EXPECT_EQ(ReloadMeshTextureKeepingPicture(store, WriteTga("a.tga", 4, 4)), nullptr);
  store.CreateMesh();
  EXPECT_EQ(ReloadMeshTextureKeepingPicture(store, WriteTga("a.tga", 4, 4)), nullptr);
  const std::string path = WriteTga("skin.tga", 4, 4);
  TextureObject* texture = LoadMeshTexture(store, path);
  ASSERT_NE(texture, nullptr);
  const std::uint64_t loaded = texture->Generation();

  // Half written, then gone: the picture stays, source path and generation included.
  const std::string whole = MakeTga(MakeQuadrants(6, 2), TgaKind::kTrueColour24, false, false);
  folder.WriteImage("skin.tga", whole.substr(0, whole.size() / 2));
  EXPECT_EQ(ReloadMeshTextureKeepingPicture(store, path), nullptr);
  std::filesystem::remove(PathFromUtf8(path));
  EXPECT_EQ(ReloadMeshTextureKeepingPicture(store, path), nullptr);
  ExpectTextureShows(*texture, MakeQuadrants(4, 4));
  EXPECT_EQ(texture->sourcePath, path);
  EXPECT_EQ(texture->Generation(), loaded);

  // Whole again: the same texture object takes the new picture and size, under a generation of
  // its own so that the contexts that drew the old picture put the new one in.
  folder.WriteImage("skin.tga", whole);
  EXPECT_EQ(ReloadMeshTextureKeepingPicture(store, path), texture);
  ExpectTextureShows(*texture, MakeQuadrants(6, 2));
  EXPECT_NE(texture->Generation(), loaded);
  EXPECT_EQ(store.GetMesh(0)->GetTextureId(), texture->header.id);
}

TEST_F(TextureCommands, TemporaryFolderFaultsKeepThePreviousTextureAndLeaveNoFile) {
  store.CreateMesh();
  const MeshObject& mesh = *store.GetMesh(0);
  TextureObject* previous = LoadMeshTexture(store, WriteTga("old.tga", 4, 2));
  ASSERT_NE(previous, nullptr);
  const std::int32_t previousId = previous->header.id;
  const PixelBuffer previousPixels = previous->Pixels();
  // Its temporary BMP takes 12 KiB.
  const std::string picture = WriteTga("new.tga", 64, 64);

  enum class Fault { kMissingFolder, kFileForFolder, kFolderTakesNoFiles, kFull };
  struct Case {
    const char* what;
    Fault fault;
    const char* message;
  };
  const std::vector<Case> cases = {
      {"missing folder", Fault::kMissingFolder, "テンポラリファイルパスが見つかりません"},
      {"a file named as the folder", Fault::kFileForFolder,
       "テンポラリファイルパスが見つかりません"},
      {"a folder that takes no files", Fault::kFolderTakesNoFiles,
       "テンポラリファイルが作成できませんでした。"},
      {"full", Fault::kFull, "D3DXCreateTextureFromFile error"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    messages.messages.clear();
    std::optional<ScopedFileSizeLimit> limit;
    switch (c.fault) {
      case Fault::kMissingFolder:
        folder.SetTempFolder(folder.Temp() / "missing");
        break;
      case Fault::kFileForFolder:
        folder.SetTempFolder(PathFromUtf8(picture));
        break;
      case Fault::kFolderTakesNoFiles:
        // Not even a privileged user can create files there.
        folder.SetTempFolder("/proc");
        break;
      case Fault::kFull:
        limit.emplace(1024);
        ASSERT_TRUE(limit->Active());
        break;
    }
    const TextureObject* loaded = LoadMeshTexture(store, picture);
    limit.reset();
    folder.SetTempFolder(folder.Temp());

    EXPECT_EQ(loaded, nullptr);
    EXPECT_EQ(messages.messages, std::vector<std::string>{c.message});
    EXPECT_EQ(mesh.GetTextureId(), previousId);
    EXPECT_EQ(store.FindTexture(previousId), previous);
    EXPECT_EQ(previous->Pixels(), previousPixels);
    EXPECT_EQ(store.TextureCount(), 1u);
    EXPECT_TRUE(folder.LeftoverBmpFiles().empty());
  }

  // With room again, the same picture loads.
  messages.messages.clear();
  TextureObject* loaded = LoadMeshTexture(store, picture);
  ASSERT_NE(loaded, nullptr);
  ExpectTextureShows(*loaded, MakeQuadrants(64, 64));
  EXPECT_EQ(store.FindTexture(previousId), nullptr);
  EXPECT_TRUE(messages.messages.empty());
}

}  // namespace
}  // namespace tovmar
