// The skeleton file read: the world's own, a small made-up one, and damaged copies.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>
#include <vector>

#include "avatar/SkeletonReader.h"
#include "tests/avatar/AvatarFixtures.h"
#include "tests/support/TempFolder.h"
#include "tools/SampleSkeleton.h"

namespace tovmar {
namespace {

void ExpectNear(const Vec3& actual, const Vec3& expected, float tolerance) {
  EXPECT_NEAR(actual.x, expected.x, tolerance);
  EXPECT_NEAR(actual.y, expected.y, tolerance);
  EXPECT_NEAR(actual.z, expected.z, tolerance);
}

Vec3 JointPosition(const Skeleton& skeleton, const char* name) {
  const std::int32_t bone = skeleton.FindBone(name);
  EXPECT_GE(bone, 0) << name;
  if (bone < 0) return {};
  return skeleton.GlobalTransforms()[static_cast<std::size_t>(bone)].TranslationPart();
}

TEST(SkeletonReaderTest, ReadsTheWorldsSkeletonAndPlacesItsEyes) {
  TOVMAR_REAL_FILE(path, "avatar_skeleton.xml");
  const SkeletonReadResult read = ReadSkeletonFile(path);
  ASSERT_TRUE(read.ok) << read.error;
  const std::vector<Bone>& bones = read.skeleton.bones;
  EXPECT_EQ(bones.size(), 133u);
  EXPECT_EQ(read.collisionVolumes, 26);
  EXPECT_EQ(bones.front().name, "mPelvis");
  EXPECT_EQ(bones.front().parent, -1);
  for (std::size_t i = 1; i < bones.size(); ++i) {
    EXPECT_GE(bones[i].parent, 0) << bones[i].name;
    EXPECT_LT(bones[i].parent, static_cast<std::int32_t>(i)) << bones[i].name;
  }
  const Bone& head = bones[static_cast<std::size_t>(read.skeleton.FindBone("mHead"))];
  EXPECT_EQ(head.aliases, "head avatar_mHead");
  EXPECT_EQ(head.group, "Torso");
  ExpectNear(head.pivot, {0.0f, 0.0f, 0.07563f}, 1e-6f);
  ExpectNear(JointPosition(read.skeleton, "mEyeLeft"), {0.073f, 0.036f, 1.762f}, 0.001f);
  ExpectNear(JointPosition(read.skeleton, "mEyeRight"), {0.073f, -0.036f, 1.762f}, 0.001f);
}

TEST(SkeletonReaderTest, PlacesThroughTheParentsRotationAndScale) {
  const SkeletonReadResult read = ReadSkeletonFromMemory(SampleSkeletonXml(), "sample");
  ASSERT_TRUE(read.ok) << read.error;
  EXPECT_EQ(read.skeleton.bones.size(), 12u);
  EXPECT_EQ(read.collisionVolumes, 3);
  ExpectNear(JointPosition(read.skeleton, "mEyeLeft"), {0.1f, 0.04f, 1.8f}, 1e-5f);
  ExpectNear(JointPosition(read.skeleton, "mEyeRight"), {0.1f, -0.04f, 1.8f}, 1e-5f);
  ExpectNear(JointPosition(read.skeleton, "mKneeLeft"), {0.0f, 0.1f, 0.5f}, 1e-5f);
  // The global transforms undo exactly.
  for (const Mat4& global : read.skeleton.GlobalTransforms()) {
    const Mat4 back = InverseAffine(global) * global;
    for (std::size_t i = 0; i < 16; ++i) EXPECT_NEAR(back.m[i], Mat4::Identity().m[i], 1e-5f);
  }
}

// The window takes the user's locale; a decimal comma there changes nothing of what is read.
TEST(SkeletonReaderTest, ACommaLocaleReadsTheSamePlaces) {
  const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
  if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) {
    GTEST_SKIP() << "de_DE.UTF-8 is not installed (scripts/install-deps.sh makes it)";
  }
  const SkeletonReadResult read = ReadSkeletonFromMemory(SampleSkeletonXml(), "sample");
  std::setlocale(LC_NUMERIC, previous.c_str());
  ASSERT_TRUE(read.ok) << read.error;
  ExpectNear(JointPosition(read.skeleton, "mEyeLeft"), {0.1f, 0.04f, 1.8f}, 1e-5f);
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

std::string Nested(int depth) {
  std::string xml = "<linden_skeleton>";
  for (int i = 0; i < depth; ++i) xml += "<bone name=\"b" + std::to_string(i) + "\">";
  for (int i = 0; i < depth; ++i) xml += "</bone>";
  return xml + "</linden_skeleton>";
}

// A chain of `depth` bones, each with the given attributes.
std::string Chain(int depth, const std::string& attributes) {
  std::string xml = "<linden_skeleton>";
  for (int i = 0; i < depth; ++i) {
    xml += "<bone name=\"b" + std::to_string(i) + "\" " + attributes + ">";
  }
  for (int i = 0; i < depth; ++i) xml += "</bone>";
  return xml + "</linden_skeleton>";
}

std::string Flat(std::size_t count) {
  std::string xml = "<linden_skeleton>";
  for (std::size_t i = 0; i < count; ++i) xml += "<bone name=\"b" + std::to_string(i) + "\"/>";
  return xml + "</linden_skeleton>";
}

struct Damage {
  const char* caseName;
  std::string bytes;
  const char* says;
};

void PrintTo(const Damage& damage, std::ostream* os) {
  *os << damage.caseName;
}

std::vector<Damage> Damages() {
  const std::string good = SampleSkeletonXml();
  return {
      {"Cut", good.substr(0, good.size() / 2), "not well-formed XML"},
      {"Empty", "", "not well-formed XML"},
      {"NotXml", std::string("\x89PNG\r\n\x1a\n\0\0", 10), "not well-formed XML"},
      {"OtherDocument", "<linden_genepool><bone name=\"a\"/></linden_genepool>",
       "not linden_skeleton"},
      {"NoBones", "<linden_skeleton><collision_volume name=\"A\"/></linden_skeleton>",
       "holds no bone"},
      {"UnknownNumberText", Replace(good, "pos=\"0 0 0.1\"", "pos=\"0 zero 0.1\""),
       "pos that is not three numbers"},
      {"CommaDecimal", Replace(good, "pos=\"0 0 0.1\"", "pos=\"0 0 0,1\""),
       "pos that is not three numbers"},
      {"NotFinite", Replace(good, "rot=\"0 0 90\"", "rot=\"0 nan 90\""),
       "rot that is not three numbers"},
      {"Huge", Replace(good, "pos=\"0 0 0.1\"", "pos=\"0 0 1e30\""),
       "pos that is not three numbers"},
      {"TwoNumbers", Replace(good, "scale=\"2 2 2\"", "scale=\"2 2\""),
       "scale that is not three numbers"},
      {"FourNumbers", Replace(good, "scale=\"2 2 2\"", "scale=\"2 2 2 2\""),
       "scale that is not three numbers"},
      {"ZeroScale", Replace(good, "scale=\"2 2 2\"", "scale=\"2 0 2\""), "scale of nearly zero"},
      {"MissingName", Replace(good, "name=\"mTorso\"", "label=\"mTorso\""), "bone without a name"},
      {"DuplicateName", Replace(good, "name=\"mKneeLeft\"", "name=\"mKneeRight\""),
       "names two bones \"mKneeRight\""},
      {"LongAttribute",
       Replace(good, "aliases=\"hip\"", "aliases=\"" + std::string(300, 'a') + "\""),
       "aliases attribute longer than"},
      {"ScalesMultiplyPastFloat", Chain(20, "scale=\"900 900 900\""), "out of range"},
      {"ScalesMultiplyToNothing", Chain(20, "scale=\"0.002 0.002 0.002\""), "out of range"},
      {"OffsetsAddUpTooFar", Chain(20, "pos=\"900 0 0\""), "out of range"},
      {"TooDeep", Nested(kMaxSkeletonDepth + 1), "more than 64 deep"},
      {"TooManyBones", Flat(kMaxSkeletonBones + 1), "more than 1024 bones"},
      {"TooLarge", "<linden_skeleton>" + std::string(kMaxSkeletonFileBytes, ' '), "larger than"},
  };
}

class DamagedSkeletonTest : public ::testing::TestWithParam<Damage> {};

TEST_P(DamagedSkeletonTest, GivesAnErrorNamingTheFile) {
  const TempFolder folder;
  const std::string path = folder.Write("avatar_skeleton.xml", GetParam().bytes);
  const SkeletonReadResult read = ReadSkeletonFile(path);
  EXPECT_FALSE(read.ok);
  EXPECT_TRUE(read.skeleton.bones.empty());
  EXPECT_NE(read.error.find(path), std::string::npos) << read.error;
  EXPECT_NE(read.error.find(GetParam().says), std::string::npos) << read.error;
}

std::string DamageName(const ::testing::TestParamInfo<Damage>& info) {
  return info.param.caseName;
}

INSTANTIATE_TEST_SUITE_P(Copies, DamagedSkeletonTest, ::testing::ValuesIn(Damages()), DamageName);

TEST(SkeletonReaderTest, NamesAMissingFileOrOneThatIsNoFile) {
  const TempFolder folder;
  const SkeletonReadResult missing = ReadSkeletonFile(folder.File("absent.xml"));
  EXPECT_FALSE(missing.ok);
  EXPECT_NE(missing.error.find("absent.xml cannot be opened"), std::string::npos) << missing.error;
  const SkeletonReadResult folderRead = ReadSkeletonFile(PathToUtf8(folder.Path()));
  EXPECT_FALSE(folderRead.ok);
  EXPECT_NE(folderRead.error.find("is not a regular file"), std::string::npos) << folderRead.error;
}

TEST(SkeletonReaderTest, TakesTheLimitsThemselves) {
  EXPECT_TRUE(ReadSkeletonFromMemory(Nested(kMaxSkeletonDepth), "x").ok);
  EXPECT_TRUE(ReadSkeletonFromMemory(Flat(kMaxSkeletonBones), "x").ok);
}

}  // namespace
}  // namespace tovmar
