// The avatar: its eyes placed at their joints, a character folder loaded, and morph weights set
// on every part at once.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "appearance/AppearanceParam.h"
#include "avatar/AvatarLoader.h"
#include "avatar/AvatarScene.h"
#include "avatar/SkeletonReader.h"
#include "mesh/SceneStore.h"
#include "tests/avatar/AvatarFixtures.h"
#include "tests/support/TempFolder.h"

namespace tovmar {
namespace {

// The centre of the sphere that fits `points` best: |p|^2 = 2 c.p + k solved for c and k by least
// squares. An eyeball file holds the front of a ball, so its vertices' mean lies well in front of
// the ball's centre; the fitted centre is where the eye turns.
Vec3 SphereCentre(const std::vector<Vec3>& points) {
  double a[4][5] = {};
  for (const Vec3& p : points) {
    const double row[5] = {2.0 * p.x, 2.0 * p.y, 2.0 * p.z, 1.0,
                           double(p.x) * p.x + double(p.y) * p.y + double(p.z) * p.z};
    for (int i = 0; i < 4; ++i) {
      for (int j = 0; j < 5; ++j) a[i][j] += row[i] * row[j];
    }
  }
  for (int col = 0; col < 4; ++col) {
    int pivot = col;
    for (int r = col + 1; r < 4; ++r) {
      if (std::abs(a[r][col]) > std::abs(a[pivot][col])) pivot = r;
    }
    std::swap(a[col], a[pivot]);
    for (int r = 0; r < 4; ++r) {
      if (r == col) continue;
      const double factor = a[r][col] / a[col][col];
      for (int j = col; j < 5; ++j) a[r][j] -= factor * a[col][j];
    }
  }
  return {float(a[0][4] / a[0][0]), float(a[1][4] / a[1][1]), float(a[2][4] / a[2][2])};
}

float Distance(const Vec3& a, const Vec3& b) {
  return std::hypot(a.x - b.x, a.y - b.y, a.z - b.z);
}

std::string Copy(const TempFolder& folder, const char* name) {
  std::filesystem::copy_file(PathFromUtf8(RealFile(name)), folder.Path() / name);
  return folder.File(name);
}

// A made-up part holding the given morph target names, weighted to the head.
std::string WritePart(const TempFolder& folder, const std::string& name,
                      const std::vector<std::string>& targets, int vertices = 3) {
  std::vector<Vec3> coords;
  for (int i = 0; i < vertices; ++i) coords.push_back({0.0f, 0.01f * static_cast<float>(i), 1.7f});
  const std::vector<float> weights(coords.size(), 1.0f);
  return folder.Write(name, WriteLlm(MakePart(coords, weights, {"mHead"}, targets)));
}

std::vector<std::string> PartNames(const Avatar& avatar) {
  std::vector<std::string> names;
  for (const AvatarPart& part : avatar.parts) names.emplace_back(AvatarPartName(part.kind));
  return names;
}

TEST(AvatarTest, PlacesTheRealEyeballAtEachEyeJoint) {
  TOVMAR_REAL_FILE(eyePath, "avatar_eye.llm");
  const SkeletonReadResult read = ReadSkeletonFile(RealFile("avatar_skeleton.xml"));
  ASSERT_TRUE(read.ok) << read.error;
  LlmMesh eye;
  eye.Load(eyePath);
  ASSERT_EQ(eye.numVertices, 145);

  const std::vector<AvatarPlacement> placements =
      PlacementsOf(AvatarPartKind::kEyes, read.skeleton);
  ASSERT_EQ(placements.size(), 2u);
  const std::vector<Mat4> global = read.skeleton.GlobalTransforms();
  const std::array<const char*, 2> joints{"mEyeLeft", "mEyeRight"};
  for (std::size_t i = 0; i < 2; ++i) {
    SCOPED_TRACE(joints[i]);
    const std::int32_t bone = read.skeleton.FindBone(joints[i]);
    EXPECT_EQ(placements[i].bone, bone);
    std::vector<Vec3> placed;
    for (const Vec3& p : eye.coords) placed.push_back(placements[i].transform.TransformPoint(p));
    const Vec3 joint = global[static_cast<std::size_t>(bone)].TranslationPart();
    EXPECT_LT(Distance(SphereCentre(placed), joint), 0.005f);
  }
  // Every other part stays where its file puts it.
  const std::vector<AvatarPlacement> body = PlacementsOf(AvatarPartKind::kLowerBody, read.skeleton);
  ASSERT_EQ(body.size(), 1u);
  EXPECT_EQ(body[0].transform, Mat4::Identity());
  EXPECT_EQ(body[0].bone, -1);
}

class CharacterFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (RealFile("avatar_skeleton.xml").empty()) GTEST_SKIP() << "no real files";
    for (const char* name : {"avatar_skeleton.xml", "avatar_lower_body.llm", "avatar_eye.llm",
                             "avatar_eyelashes.llm"}) {
      Copy(m_folder, name);
    }
    // The head shares a target with the eyelashes and one with the lower body.
    WritePart(m_folder, "avatar_head.llm", {"Blink_Both", "Big_Belly_Legs", "Head_Only"});
    WritePart(m_folder, "avatar_skirt.llm", {"Big_Belly_Legs"});
    // Level-of-detail files are not parts, not even of a kind otherwise missing.
    WritePart(m_folder, "avatar_lower_body_1.llm", {}, 5);
    WritePart(m_folder, "avatar_hair_1.llm", {}, 5);
  }

  TempFolder m_folder;
};

TEST_F(CharacterFolderTest, TakesThePartsButNotTheirDetailLevelsAndTheSkirtOnlyWhenAsked) {
  const AvatarLoadResult without = LoadAvatarFolder(PathToUtf8(m_folder.Path()), {});
  ASSERT_TRUE(without.ok) << without.error;
  EXPECT_TRUE(without.warnings.empty());
  EXPECT_EQ(PartNames(without.avatar),
            (std::vector<std::string>{"head", "lower_body", "eyes", "eyelashes"}));
  EXPECT_EQ(without.avatar.skeleton.bones.size(), 133u);
  EXPECT_EQ(without.avatar.FindPart(AvatarPartKind::kLowerBody)->mesh.numVertices, 977);
  EXPECT_EQ(without.avatar.FindPart(AvatarPartKind::kEyes)->placements.size(), 2u);
  EXPECT_EQ(without.avatar.FindPart(AvatarPartKind::kHead)->placements.size(), 1u);

  const AvatarLoadResult with = LoadAvatarFolder(PathToUtf8(m_folder.Path()), {.withSkirt = true});
  ASSERT_TRUE(with.ok) << with.error;
  EXPECT_EQ(PartNames(with.avatar),
            (std::vector<std::string>{"head", "lower_body", "eyes", "eyelashes", "skirt"}));
}

TEST_F(CharacterFolderTest, AWeightSetOnceShapesEveryPartWithThatTarget) {
  AvatarLoadResult load = LoadAvatarFolder(PathToUtf8(m_folder.Path()), {.withSkirt = true});
  ASSERT_TRUE(load.ok) << load.error;
  Avatar& avatar = load.avatar;
  // Head and eyelashes; head, lower body and skirt.
  EXPECT_EQ(avatar.SetMorphWeight("blink_both", 0.5f), 2);
  std::vector<AppearanceParam> params{{.id = 1, .name = "Big_Belly_Legs", .value = 0.75f}};
  EXPECT_EQ(avatar.ApplyAppearanceParams(params), 3);
  for (const AvatarPart& part : avatar.parts) {
    for (const MorphTarget& target : part.mesh.morphTargets) {
      const std::string name = target.DisplayName();
      const float expected = name == "Blink_Both" ? 0.5f : name == "Big_Belly_Legs" ? 0.75f : 0;
      EXPECT_EQ(target.weight, expected) << AvatarPartName(part.kind) << " " << name;
    }
  }
  EXPECT_EQ(avatar.SetMorphWeight("No_Such_Target", 1.0f), 0);
}

TEST_F(CharacterFolderTest, PlacedInAStoreEveryCopyIsAnObjectThatReshapingKeepsTextured) {
  AvatarLoadResult load = LoadAvatarFolder(PathToUtf8(m_folder.Path()), {});
  ASSERT_TRUE(load.ok) << load.error;
  SceneStore store;
  store.CreateMesh();
  const AvatarPartMeshes meshes = PlaceAvatar(load.avatar, store);
  // Head, lower body, two eyes, eyelashes; the mesh there before is gone.
  EXPECT_EQ(meshes, (AvatarPartMeshes{{0}, {1}, {2, 3}, {4}}));
  ASSERT_EQ(store.MeshCount(), 5u);
  EXPECT_EQ(store.GetMesh(1)->positions.size(), 977u);

  const std::int32_t texture = store.CreateTexture();
  store.GetMesh(1)->SetTextureId(texture);
  const std::vector<Vec3> legs = store.GetMesh(1)->positions;
  // An object whose vertex count no longer matches its part is left alone.
  store.GetMesh(4)->positions.pop_back();
  const std::vector<Vec3> lashes = store.GetMesh(4)->positions;
  load.avatar.SetMorphWeight("Big_Belly_Legs", 1.0f);
  load.avatar.SetMorphWeight("Blink_Both", 1.0f);
  ReshapeAvatar(load.avatar, meshes, store);
  EXPECT_NE(store.GetMesh(1)->positions, legs);
  EXPECT_EQ(store.GetMesh(1)->GetTextureId(), texture);
  EXPECT_EQ(store.GetMesh(4)->positions, lashes);
}

TEST_F(CharacterFolderTest, ExplainsWhatIsMissingOrDamaged) {
  const std::string folder = PathToUtf8(m_folder.Path());
  m_folder.Write("avatar_hair.llm", "not a mesh");
  const AvatarLoadResult damagedPart = LoadAvatarFolder(folder, {});
  ASSERT_TRUE(damagedPart.ok) << damagedPart.error;
  EXPECT_EQ(damagedPart.avatar.FindPart(AvatarPartKind::kHair), nullptr);
  ASSERT_EQ(damagedPart.warnings.size(), 1u);
  EXPECT_NE(damagedPart.warnings[0].find("avatar_hair.llm is left out"), std::string::npos);

  m_folder.Write("avatar_skeleton.xml", "<linden_skeleton><bone/></linden_skeleton>");
  const AvatarLoadResult damagedSkeleton = LoadAvatarFolder(folder, {});
  EXPECT_FALSE(damagedSkeleton.ok);
  EXPECT_NE(damagedSkeleton.error.find("bone without a name"), std::string::npos);

  std::filesystem::remove(m_folder.Path() / "avatar_skeleton.xml");
  const AvatarLoadResult noSkeleton = LoadAvatarFolder(folder, {});
  EXPECT_FALSE(noSkeleton.ok);
  EXPECT_NE(noSkeleton.error.find("holds no avatar_skeleton.xml"), std::string::npos);

  const TempFolder onlySkeleton;
  Copy(onlySkeleton, "avatar_skeleton.xml");
  WritePart(onlySkeleton, "avatar_head_1.llm", {});
  const AvatarLoadResult noParts = LoadAvatarFolder(PathToUtf8(onlySkeleton.Path()), {});
  EXPECT_FALSE(noParts.ok);
  EXPECT_NE(noParts.error.find("holds none of the part files"), std::string::npos);

  EXPECT_FALSE(LoadAvatarFolder(folder + "/avatar_eye.llm", {}).ok);
}

}  // namespace
}  // namespace tovmar
