// The first ids of a run of the program. This executable holds this one test so that no object
// or context is made before it, whatever order the other mesh tests run in.
#include <gtest/gtest.h>

#include "mesh/SceneStore.h"
#include "tests/support/RecordingRenderBinding.h"

namespace tovmar {
namespace {

TEST(FirstIds, FirstItemIsZeroAndFirstContextRowIsOne) {
  RecordingRenderBinding binding;
  int window = 0;
  SceneStore store;
  store.SetRenderBinding(&binding);
  EXPECT_EQ(store.CreateMesh(), 0);
  EXPECT_EQ(store.FindMesh(0)->header.name, "Mesh 0");
  EXPECT_EQ(store.CreateTexture(), 1);
  EXPECT_EQ(store.MakeContextCurrent(-1, 640, 480, &window), 1);
}

}  // namespace
}  // namespace tovmar
