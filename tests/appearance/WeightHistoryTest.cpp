// The weights' undo history: steps, the end of either side, a new change after undoing, and the
// snapshots that steps are taken from.
#include <gtest/gtest.h>

#include <cmath>

#include "appearance/WeightHistory.h"
#include "mesh/LlmMesh.h"
#include "tools/LlmWriter.h"

namespace tovmar {
namespace {

TEST(WeightHistoryTest, UndoAndRedoWalkTheStepsAndANewChangeDropsWhatWasUndone) {
  const WeightSnapshot a{{0.0f, 0.0f}, {0.0f}};
  const WeightSnapshot b{{0.5f, 0.0f}, {0.0f}};
  const WeightSnapshot c{{0.5f, -1.0f}, {0.0f}};
  const WeightSnapshot d{{0.5f, 0.0f}, {2.0f}};
  WeightHistory history;
  EXPECT_FALSE(history.Undo());
  EXPECT_FALSE(history.Record(a, a));  // no change, no step
  EXPECT_TRUE(history.Record(a, b));
  EXPECT_TRUE(history.Record(b, c));
  EXPECT_EQ(history.Undo(), b);
  EXPECT_EQ(history.Undo(), a);
  EXPECT_FALSE(history.Undo());
  EXPECT_EQ(history.Redo(), b);
  EXPECT_TRUE(history.CanRedo());
  // A change after undoing forgets the step undone.
  EXPECT_TRUE(history.Record(b, d));
  EXPECT_FALSE(history.Redo());
  EXPECT_EQ(history.Undo(), b);
  history.Clear();
  EXPECT_FALSE(history.CanUndo());
  EXPECT_FALSE(history.CanRedo());
  // Weights compare bit for bit: a NaN left as it was is no change, -0 is one.
  EXPECT_FALSE(history.Record({{NAN}}, {{NAN}}));
  EXPECT_TRUE(history.Record({{0.0f}}, {{-0.0f}}));
}

TEST(WeightHistoryTest, SnapshotsGoBackOntoPartsOfOtherSizesAsFarAsTheyReach) {
  LlmMesh head;
  LlmMesh body;
  head.morphTargets = {MakeMorphTarget("A", {}), MakeMorphTarget("B", {})};
  body.morphTargets = {MakeMorphTarget("C", {})};
  head.morphTargets[1].weight = 0.25f;
  const WeightSnapshot taken = TakeWeights({&head, &body});
  EXPECT_EQ(taken, (WeightSnapshot{{0.0f, 0.25f}, {0.0f}}));
  PutWeights({{1.0f, 2.0f, 3.0f}, {4.0f}, {5.0f}}, {&head, &body});
  EXPECT_EQ(TakeWeights({&head, &body}), (WeightSnapshot{{1.0f, 2.0f}, {4.0f}}));
  PutWeights({{-1.0f}}, {&head, &body});
  EXPECT_EQ(TakeWeights({&head, &body}), (WeightSnapshot{{-1.0f, 2.0f}, {4.0f}}));
}

}  // namespace
}  // namespace tovmar
