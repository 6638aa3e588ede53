// The skin: the joint list a mesh's vertex weights count in, proved on the world's lower body and
// on a made-up upper body, and weights that point outside the list.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "avatar/SkeletonReader.h"
#include "avatar/SkinJoints.h"
#include "mesh/LlmFile.h"
#include "tests/avatar/AvatarFixtures.h"

namespace tovmar {
namespace {

Skeleton RealSkeleton() {
  const SkeletonReadResult read = ReadSkeletonFile(RealFile("avatar_skeleton.xml"));
  EXPECT_TRUE(read.ok) << read.error;
  return read.skeleton;
}

// The bone names of a joint list, "root" for the entry that is no bone.
std::vector<std::string> Names(const Skeleton& skeleton, const std::vector<std::int32_t>& list) {
  std::vector<std::string> names;
  for (const std::int32_t entry : list) {
    names.push_back(entry == kRootEntry ? "root"
                                        : skeleton.bones[static_cast<std::size_t>(entry)].name);
  }
  return names;
}

float WeightOf(const VertexInfluence& influence, std::int32_t bone) {
  float weight = 0.0f;
  for (std::size_t i = 0; i < 2; ++i) {
    if (influence.bones[i] == bone) weight += influence.weights[i];
  }
  return weight;
}

TEST(SkinJointsTest, EveryShinFollowsItsKneeAndEveryThighItsHip) {
  TOVMAR_REAL_FILE(path, "avatar_lower_body.llm");
  const Skeleton skeleton = RealSkeleton();
  LlmMesh mesh;
  LlmReadReport report;
  ASSERT_EQ(ReadLlmFile(path, mesh, report), LlmFileStatus::kRead);
  const MeshSkin skin = BuildMeshSkin(mesh, skeleton);
  ASSERT_TRUE(skin.ok) << skin.error;
  // The file names its 7 joints alphabetically; its weights run 1 to 8 over this list.
  EXPECT_EQ(Names(skeleton, skin.jointList),
            (std::vector<std::string>{"root", "mPelvis", "mHipRight", "mKneeRight", "mAnkleRight",
                                      "mPelvis", "mHipLeft", "mKneeLeft", "mAnkleLeft"}));

  const std::vector<Mat4> global = skeleton.GlobalTransforms();
  const auto height = [&](const std::string& name) {
    return global[static_cast<std::size_t>(skeleton.FindBone(name))].TranslationPart().z;
  };
  for (const std::string side : {"Left", "Right"}) {
    SCOPED_TRACE(side);
    const float sign = side == "Left" ? 1.0f : -1.0f;
    const std::int32_t hip = skeleton.FindBone("mHip" + side);
    const std::int32_t knee = skeleton.FindBone("mKnee" + side);
    const float hipZ = height("mHip" + side), kneeZ = height("mKnee" + side),
                ankleZ = height("mAnkle" + side);
    const std::string otherSide = side == "Left" ? "Right" : "Left";
    int shins = 0, thighs = 0;
    for (std::size_t v = 0; v < mesh.numVertices; ++v) {
      const Vec3& p = mesh.coords[v];
      const VertexInfluence& influence = skin.influences[v];
      if (p.y * sign < 0.01f) continue;
      // A leg never follows a bone of the other leg.
      for (const std::int32_t bone : influence.bones) {
        EXPECT_EQ(skeleton.bones[static_cast<std::size_t>(bone)].name.find(otherSide),
                  std::string::npos)
            << "vertex " << v;
      }
      // The middle half of each leg segment, away from the blends at its joints.
      const float shinQuarter = (kneeZ - ankleZ) / 4, thighQuarter = (hipZ - kneeZ) / 4;
      if (p.z > ankleZ + shinQuarter && p.z < kneeZ - shinQuarter) {
        ++shins;
        EXPECT_GE(WeightOf(influence, knee), 0.5f) << "shin vertex " << v;
      } else if (p.z > kneeZ + thighQuarter && p.z < hipZ - thighQuarter) {
        ++thighs;
        EXPECT_GE(WeightOf(influence, hip), 0.25f) << "thigh vertex " << v;
      }
    }
    EXPECT_GT(shins, 40);
    EXPECT_GT(thighs, 30);
  }
}

// The upper body names 12 joints alphabetically, and its weights run 1 to 14.
const std::vector<std::string> kUpperBodyJoints{
    "mChest",  "mCollarLeft",   "mCollarRight",   "mElbowLeft", "mElbowRight", "mNeck",
    "mPelvis", "mShoulderLeft", "mShoulderRight", "mTorso",     "mWristLeft",  "mWristRight"};

TEST(SkinJointsTest, AMadeUpUpperBodyCountsOneToFourteenAndItsArmsMirror) {
  TOVMAR_REAL_FILE(path, "avatar_skeleton.xml");
  const Skeleton skeleton = RealSkeleton();
  const std::vector<Mat4> global = skeleton.GlobalTransforms();
  const auto at = [&](const char* name) {
    return global[static_cast<std::size_t>(skeleton.FindBone(name))].TranslationPart();
  };
  // A vertex at a quarter and one at three quarters of each segment, weighted as a rig of the
  // world weights them: the entry of the segment's upper joint, blended toward the lower one.
  struct Segment {
    const char* upper;
    const char* lower;
    float entry;
  };
  const Segment segments[] = {{"mChest", "mNeck", 3},
                              {"mCollarLeft", "mShoulderLeft", 6},
                              {"mShoulderLeft", "mElbowLeft", 7},
                              {"mElbowLeft", "mWristLeft", 8},
                              {"mCollarRight", "mShoulderRight", 11},
                              {"mShoulderRight", "mElbowRight", 12},
                              {"mElbowRight", "mWristRight", 13}};
  std::vector<Vec3> coords;
  std::vector<float> weights;
  for (const Segment& s : segments) {
    for (const float t : {0.25f, 0.75f}) {
      Vec3 p = at(s.lower);
      p -= at(s.upper);
      p *= t;
      p += at(s.upper);
      coords.push_back(p);
      weights.push_back(s.entry + t * 0.5f);
    }
  }
  const LlmMesh mesh = MakePart(coords, weights, kUpperBodyJoints, {});
  const MeshSkin skin = BuildMeshSkin(mesh, skeleton);
  ASSERT_TRUE(skin.ok) << skin.error;
  // The arms stand at the same places of the list, from 6 and from 11.
  EXPECT_EQ(Names(skeleton, skin.jointList),
            (std::vector<std::string>{"root", "mPelvis", "mTorso", "mChest", "mNeck", "mChest",
                                      "mCollarLeft", "mShoulderLeft", "mElbowLeft", "mWristLeft",
                                      "mChest", "mCollarRight", "mShoulderRight", "mElbowRight",
                                      "mWristRight"}));
  for (std::size_t v = 0; v < coords.size(); ++v) {
    const Segment& s = segments[v / 2];
    SCOPED_TRACE(std::string(s.upper) + " vertex " + std::to_string(v));
    EXPECT_EQ(skin.influences[v].bones[0], skeleton.FindBone(s.upper));
    EXPECT_EQ(skin.influences[v].bones[1], skeleton.FindBone(s.lower));
    EXPECT_GE(skin.influences[v].weights[0], 0.5f);
  }
}

TEST(SkinJointsTest, WeightsOutsideTheListStayInsideIt) {
  // root, A, B: a list whose first entry is no bone.
  const std::vector<std::int32_t> list{kRootEntry, 4, 7};
  struct Case {
    float value;
    std::int32_t first, second;
    float firstWeight;
  };
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const Case cases[] = {
      {1.0f, 4, 4, 1.0f}, {1.25f, 4, 7, 0.75f}, {2.0f, 7, 7, 1.0f},  {2.5f, 7, 7, 1.0f},
      {0.5f, 4, 4, 1.0f}, {-3.0f, 4, 4, 1.0f},  {99.0f, 7, 7, 1.0f}, {inf, 7, 7, 1.0f},
      {-inf, 4, 4, 1.0f}, {nan, 4, 4, 1.0f},    {3e38f, 7, 7, 1.0f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    const VertexInfluence influence = InfluenceOfWeight(WeightBytes(c.value), list);
    EXPECT_EQ(influence.bones[0], c.first);
    EXPECT_EQ(influence.bones[1], c.second);
    EXPECT_FLOAT_EQ(influence.weights[0], c.firstWeight);
    EXPECT_FLOAT_EQ(influence.weights[0] + influence.weights[1], 1.0f);
  }
}

TEST(SkinJointsTest, ExplainsAMeshItCannotSkin) {
  TOVMAR_REAL_FILE(path, "avatar_skeleton.xml");
  const Skeleton skeleton = RealSkeleton();
  struct Case {
    LlmMesh mesh;
    const char* says;
  };
  Case cases[] = {
      {MakePart({{}, {}, {}}, {}, {"mHead"}, {}), "holds no vertex weights"},
      {MakePart({{}, {}, {}}, {1, 1, 1}, {}, {}), "names no joints"},
      {MakePart({{}, {}, {}}, {1, 1, 1}, {"mTail"}, {}), "\"mTail\", which is no bone"},
  };
  for (Case& c : cases) {
    const MeshSkin skin = BuildMeshSkin(c.mesh, skeleton);
    EXPECT_FALSE(skin.ok);
    EXPECT_NE(skin.error.find(c.says), std::string::npos) << skin.error;
  }
}

}  // namespace
}  // namespace tovmar
