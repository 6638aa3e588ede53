// A texture is put into an offscreen context once and drawn from there until its picture
// changes; the pictures are the same as those of a fresh context.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "mesh/MeshLoad.h"
#include "mesh/SceneStore.h"
#include "render/OffscreenContext.h"
#include "render/RenderImage.h"
#include "tests/support/DrawnPictures.h"

namespace tovmar::test {
namespace {

constexpr int kSide = 16;

// The pixels of a 2 x 2 picture of one colour.
PixelBuffer SolidPixels(Rgb colour) {
  PixelBuffer pixels(16, 0);
  for (std::size_t i = 0; i < pixels.size(); i += 4) {
    for (std::size_t c = 0; c < 3; ++c) pixels[i + c] = static_cast<std::uint8_t>(colour[c]);
  }
  return pixels;
}

// The facing square in `store`, dressed with a 2 x 2 texture of one colour.
TextureObject& DressedQuad(SceneStore& store, Rgb colour) {
  BuildMeshObjects(MakeFacingQuad(), store, "quad");
  TextureObject& texture = *store.FindTexture(store.CreateTexture());
  EXPECT_TRUE(texture.SetPicture(SolidPixels(colour), 2, 2));
  store.GetMesh(0)->SetTextureId(texture.header.id);
  return texture;
}

class ContextTexturesTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    ::unsetenv("DISPLAY");
    ::unsetenv("WAYLAND_DISPLAY");
  }

  std::unique_ptr<OffscreenContext> NewContext() {
    std::unique_ptr<OffscreenContext> context = OffscreenContext::Create(m_error);
    EXPECT_NE(context, nullptr) << m_error;
    return context;
  }

  std::vector<std::uint8_t> Draw(OffscreenContext& context, SceneStore& store) {
    std::vector<std::uint8_t> rgb =
        RenderSceneToRgb(context, ViewCamera(), kSide, kSide, store, m_error);
    EXPECT_FALSE(rgb.empty()) << m_error;
    return rgb;
  }

  static Rgb Centre(const std::vector<std::uint8_t>& rgb) {
    const std::size_t i = (kSide / 2 * kSide + kSide / 2) * 3;
    return {rgb[i], rgb[i + 1], rgb[i + 2]};
  }

  std::string m_error;
};

TEST_F(ContextTexturesTest, OneUploadPerPictureAndContextWithTheSamePixels) {
  const std::unique_ptr<OffscreenContext> context = NewContext();
  ASSERT_NE(context, nullptr);
  SceneStore store;
  TextureObject& texture = DressedQuad(store, {255, 0, 0});

  // Drawn again and again from the one upload, as a fresh context draws it.
  const std::vector<std::uint8_t> first = Draw(*context, store);
  EXPECT_EQ(Centre(first)[0], 255);
  EXPECT_EQ(Draw(*context, store), first);
  EXPECT_EQ(Draw(*context, store), first);
  EXPECT_EQ(context->Textures().Uploads(), 1u);
  const std::unique_ptr<OffscreenContext> fresh = NewContext();
  ASSERT_NE(fresh, nullptr);
  EXPECT_EQ(Draw(*fresh, store), first);
  EXPECT_EQ(fresh->Textures().Uploads(), 1u);

  // Another store holding a copy of the picture with its generation draws from the same upload.
  SceneStore other;
  TextureObject& copy = DressedQuad(other, {0, 0, 0});
  copy.CopyPicture(texture);
  EXPECT_EQ(Draw(*context, other), first);
  EXPECT_EQ(context->Textures().Uploads(), 1u);

  // A changed picture is put in again, and the old one leaves the context.
  const std::uint64_t old = texture.Generation();
  ASSERT_TRUE(texture.SetPicture(SolidPixels({0, 0, 255}), 2, 2));
  EXPECT_EQ(Centre(Draw(*context, store)), (Rgb{0, 0, 255}));
  EXPECT_EQ(context->Textures().Uploads(), 2u);
  EXPECT_EQ(context->Textures().NameOf(old), 0u);
}

// Contexts that share their textures put a picture in once, whichever draws it first, while both
// draw on threads of their own.
TEST_F(ContextTexturesTest, SharingContextsPutAPictureInOnceWhileDrawingAtOnce) {
  const std::unique_ptr<OffscreenContext> first = NewContext();
  ASSERT_NE(first, nullptr);
  const std::unique_ptr<OffscreenContext> second = OffscreenContext::CreateSharing(*first, m_error);
  ASSERT_NE(second, nullptr) << m_error;
  EXPECT_EQ(&second->Textures(), &first->Textures());

  SceneStore stores[2];
  TextureObject& texture = DressedQuad(stores[0], {0, 255, 0});
  DressedQuad(stores[1], {0, 0, 0}).CopyPicture(texture);
  std::vector<std::uint8_t> pictures[2][8];
  std::string errors[2];
  const auto drawAll = [&](int i, OffscreenContext& context) {
    for (auto& picture : pictures[i]) {
      picture = RenderSceneToRgb(context, ViewCamera(), kSide, kSide, stores[i], errors[i]);
    }
  };
  std::thread other(drawAll, 1, std::ref(*second));
  drawAll(0, *first);
  other.join();

  for (int i = 0; i < 2; ++i) {
    for (const auto& picture : pictures[i]) {
      ASSERT_FALSE(picture.empty()) << errors[i];
      EXPECT_EQ(Centre(picture), (Rgb{0, 255, 0})) << "context " << i;
    }
  }
  EXPECT_EQ(first->Textures().Uploads(), 1u);
}

}  // namespace
}  // namespace tovmar::test
