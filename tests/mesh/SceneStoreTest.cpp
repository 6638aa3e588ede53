// The scene store: mesh and texture objects by id and index, shared textures, and the rendering
// contexts it keeps per (id, width, height).
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "mesh/SceneStore.h"
#include "tests/support/RecordingRenderBinding.h"

namespace tovmar {
namespace {

using Call = RecordingRenderBinding::Call;

void ExpectEvent(const RecordingRenderBinding::Event& e, Call call, RenderContext context,
                 RenderSurface surface) {
  EXPECT_EQ(e.call, call);
  EXPECT_EQ(e.context, context);
  EXPECT_EQ(e.surface, surface);
}

TEST(SceneStore, CreatesFindsGetsAndRemovesMeshes) {
  SceneStore store;
  EXPECT_EQ(store.RemoveMesh(0), -1);
  const std::int32_t a = store.CreateMesh();
  const std::int32_t b = store.CreateMesh();
  ASSERT_EQ(store.MeshCount(), 2u);
  EXPECT_EQ(store.FindMesh(a), store.GetMesh(0));
  EXPECT_EQ(store.FindMesh(b), store.GetMesh(1));
  EXPECT_EQ(store.GetMesh(0)->header.id, a);
  EXPECT_EQ(store.GetMesh(2), nullptr);
  EXPECT_EQ(store.FindMesh(b + 1000), nullptr);
  EXPECT_EQ(store.FindMesh(-1), nullptr);

  EXPECT_EQ(store.RemoveMesh(b + 1000), -1);
  EXPECT_EQ(store.MeshCount(), 2u);
  // Later objects move up one place.
  EXPECT_EQ(store.RemoveMesh(a), 1);
  EXPECT_EQ(store.GetMesh(0)->header.id, b);
  EXPECT_EQ(store.FindMesh(a), nullptr);
  EXPECT_EQ(store.RemoveMesh(b), 0);
  EXPECT_EQ(store.RemoveMesh(b), -1);
}

TEST(SceneStore, MeshesAndTexturesShareOneIncreasingIdCounter) {
  SceneStore store;
  const std::int32_t mesh1 = store.CreateMesh();
  const std::int32_t texture1 = store.CreateTexture();
  const std::int32_t mesh2 = store.CreateMesh();
  const std::int32_t texture2 = store.CreateTexture();
  EXPECT_EQ(texture1, mesh1 + 1);
  EXPECT_EQ(mesh2, mesh1 + 2);
  EXPECT_EQ(texture2, mesh1 + 3);
  EXPECT_EQ(store.FindMesh(mesh2)->header.name, "Mesh " + std::to_string(mesh2));

  const TextureObject* t = store.FindTexture(texture1);
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->header.name, "tex " + std::to_string(texture1));
  EXPECT_EQ(t->header.marker, 0);
  EXPECT_EQ(t->state, 1u);
  EXPECT_TRUE(t->sourcePath.empty());
  EXPECT_FALSE(t->HasPixels());
  EXPECT_EQ(store.FindTexture(mesh1), nullptr);
}

TEST(SceneStore, SharedTextureLivesUntilItsLastUserGoes) {
  SceneStore store;
  const std::int32_t texture = store.CreateTexture();
  const std::int32_t first = store.CreateMesh();
  const std::int32_t second = store.CreateMesh();
  store.FindMesh(first)->SetTextureId(texture);
  store.FindMesh(second)->SetTextureId(texture);

  EXPECT_EQ(store.RemoveTexture(texture), -1);
  EXPECT_NE(store.FindTexture(texture), nullptr);
  EXPECT_EQ(store.RemoveMesh(first), 1);
  EXPECT_NE(store.FindTexture(texture), nullptr);
  EXPECT_EQ(store.RemoveMesh(second), 0);
  EXPECT_EQ(store.FindTexture(texture), nullptr);
  EXPECT_EQ(store.TextureCount(), 0u);
}

TEST(SceneStore, RemoveTextureRefusesNegativeUnknownAndUsedIds) {
  SceneStore store;
  EXPECT_EQ(store.RemoveTexture(0), -1);
  const std::int32_t used = store.CreateTexture();
  const std::int32_t free1 = store.CreateTexture();
  const std::int32_t free2 = store.CreateTexture();
  store.FindMesh(store.CreateMesh())->SetTextureId(used);

  EXPECT_EQ(store.RemoveTexture(-1), -1);
  EXPECT_EQ(store.RemoveTexture(free2 + 1000), -1);
  EXPECT_EQ(store.RemoveTexture(used), -1);
  EXPECT_EQ(store.TextureCount(), 3u);
  EXPECT_EQ(store.RemoveTexture(free1), 2);
  EXPECT_EQ(store.RemoveTexture(free1), -1);
  EXPECT_EQ(store.RemoveTexture(free2), 1);
  EXPECT_NE(store.FindTexture(used), nullptr);
}

TEST(SceneStore, RemovingAMeshReleasesItsExtraTextureToo) {
  SceneStore store;
  const std::int32_t texture = store.CreateTexture();
  const std::int32_t extra = store.CreateTexture();
  const std::int32_t mesh = store.CreateMesh();
  store.FindMesh(mesh)->SetTextureId(texture);
  store.FindMesh(mesh)->extraTextureId = extra;
  EXPECT_EQ(store.RemoveMesh(mesh), 0);
  EXPECT_EQ(store.TextureCount(), 0u);
}

TEST(SceneStore, PublishesItselfAsTheInstanceWhileItLives) {
  SceneStore* const program = &SceneStore::Instance();
  {
    SceneStore store;
    EXPECT_EQ(&SceneStore::Instance(), &store);
  }
  EXPECT_EQ(&SceneStore::Instance(), program);
}

TEST(SceneStoreContexts, SameSizeMakesCurrentAndNewSizeReplacesTheContext) {
  RecordingRenderBinding binding;
  int window = 0;
  RenderSurface surface = &window;
  SceneStore store;
  store.SetRenderBinding(&binding);

  // First paint: a new row and a context that is not made current.
  const std::int32_t id = store.MakeContextCurrent(-1, 640, 480, surface);
  EXPECT_GE(id, 1);
  ASSERT_EQ(binding.events.size(), 1u);
  ExpectEvent(binding.events[0], Call::kCreate, binding.events[0].context, surface);
  const RenderContext first = binding.events[0].context;
  ASSERT_EQ(store.Contexts().size(), 1u);
  EXPECT_EQ(store.Contexts()[0].id, id);
  EXPECT_EQ(store.Contexts()[0].context, first);
  EXPECT_EQ(store.Contexts()[0].width, 640);
  EXPECT_EQ(store.Contexts()[0].height, 480);
  EXPECT_EQ(binding.formats[0].colorBits, 24);
  EXPECT_EQ(binding.formats[0].depthBits, 32);
  EXPECT_TRUE(binding.formats[0].doubleBuffered);
  EXPECT_TRUE(binding.formats[0].rgba);

  // Same size: only made current.
  EXPECT_EQ(store.MakeContextCurrent(id, 640, 480, surface), id);
  ASSERT_EQ(binding.events.size(), 2u);
  ExpectEvent(binding.events[1], Call::kMakeCurrent, first, surface);
  EXPECT_EQ(store.Contexts().size(), 1u);

  // New size: same row and id, a new context, the old one deleted with none current.
  EXPECT_EQ(store.MakeContextCurrent(id, 800, 600, surface), id);
  ASSERT_EQ(binding.events.size(), 5u);
  const RenderContext second = binding.events[2].context;
  ExpectEvent(binding.events[2], Call::kCreate, second, surface);
  EXPECT_NE(second, first);
  ExpectEvent(binding.events[3], Call::kMakeNoneCurrent, nullptr, nullptr);
  ExpectEvent(binding.events[4], Call::kDelete, first, nullptr);
  ASSERT_EQ(store.Contexts().size(), 1u);
  EXPECT_EQ(store.Contexts()[0].id, id);
  EXPECT_EQ(store.Contexts()[0].context, second);
  EXPECT_EQ(store.Contexts()[0].width, 800);
  EXPECT_EQ(store.Contexts()[0].height, 600);

  EXPECT_EQ(store.MakeContextCurrent(id, 800, 600, surface), id);
  ExpectEvent(binding.events.back(), Call::kMakeCurrent, second, surface);
}

// Drawing keeps textures in the record of the context made current last; a context made in
// place of another starts with an empty record, and no record is current once it is gone.
TEST(SceneStoreContexts, TheCurrentContextsTextureRecordFollowsTheContexts) {
  RecordingRenderBinding binding;
  int window = 0;
  SceneStore store;
  store.SetRenderBinding(&binding);
  const std::int32_t a = store.MakeContextCurrent(-1, 640, 480, &window);
  const std::int32_t b = store.MakeContextCurrent(-1, 320, 200, &window);
  EXPECT_EQ(store.CurrentContextTextures(), nullptr) << "a new context is not made current";

  store.MakeContextCurrent(a, 640, 480, &window);
  ContextTextures* recordA = store.CurrentContextTextures();
  ASSERT_EQ(recordA, store.Contexts()[0].textures.get());
  recordA->Add(7, 1);
  store.MakeContextCurrent(b, 320, 200, &window);
  EXPECT_EQ(store.CurrentContextTextures(), store.Contexts()[1].textures.get());

  store.MakeContextCurrent(a, 800, 600, &window);
  EXPECT_EQ(store.CurrentContextTextures(), nullptr);
  store.MakeContextCurrent(a, 800, 600, &window);
  EXPECT_EQ(store.CurrentContextTextures()->NameOf(7), 0u) << "the new context holds nothing";

  store.ReleaseContexts();
  EXPECT_EQ(store.CurrentContextTextures(), nullptr);
}

TEST(SceneStoreContexts, EveryNewViewGetsTheNextId) {
  RecordingRenderBinding binding;
  int window = 0;
  SceneStore store;
  store.SetRenderBinding(&binding);
  const std::int32_t first = store.MakeContextCurrent(-1, 640, 480, &window);
  const std::int32_t second = store.MakeContextCurrent(-1, 640, 480, &window);
  EXPECT_EQ(second, first + 1);
  // An id that no row has is not taken over: the view gets the next id.
  EXPECT_EQ(store.MakeContextCurrent(second + 1000, 640, 480, &window), second + 1);
  EXPECT_EQ(store.Contexts().size(), 3u);
  EXPECT_EQ(binding.CountOf(Call::kCreate), 3u);
  EXPECT_EQ(binding.CountOf(Call::kMakeCurrent), 0u);
}

TEST(SceneStoreContexts, TeardownMakesNoneCurrentThenDeletesEveryContextInOrder) {
  RecordingRenderBinding binding;
  int window = 0;
  std::size_t before = 0;
  {
    SceneStore store;
    store.SetRenderBinding(&binding);
    const std::int32_t first = store.MakeContextCurrent(-1, 640, 480, &window);
    store.MakeContextCurrent(-1, 320, 200, &window);
    store.MakeContextCurrent(first, 800, 600, &window);
    store.CreateMesh();
    store.CreateTexture();
    before = binding.events.size();
  }
  const auto created = binding.ContextsOf(Call::kCreate);
  ASSERT_EQ(created.size(), 3u);
  ASSERT_EQ(binding.events.size(), before + 3);
  // The table holds the first row's replacement, then the second row's context.
  ExpectEvent(binding.events[before], Call::kMakeNoneCurrent, nullptr, nullptr);
  ExpectEvent(binding.events[before + 1], Call::kDelete, created[2], nullptr);
  ExpectEvent(binding.events[before + 2], Call::kDelete, created[1], nullptr);
  EXPECT_EQ(binding.CountOf(Call::kDelete), 3u);
}

}  // namespace
}  // namespace tovmar
