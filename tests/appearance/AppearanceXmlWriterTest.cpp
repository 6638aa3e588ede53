// A saved shape reads back to the same weights: the written document through the reader, and the
// records made from a mesh's weights.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "appearance/AppearanceXmlReader.h"
#include "appearance/AppearanceXmlWriter.h"
#include "appearance/ShapeParams.h"
#include "mesh/LlmMesh.h"
#include "tools/LlmWriter.h"

namespace tovmar {
namespace {

std::vector<AppearanceParam> ReadBack(const std::vector<AppearanceParam>& params) {
  return AppearanceXmlReader::ReadParamsFromMemory(AppearanceXml(params, "shape"));
}

TEST(AppearanceXmlWriterTest, NamesIdsAndValuesReadBackExactly) {
  const std::vector<AppearanceParam> written{
      {1, "Big_Belly", 0.3f},
      {16777215, "\xE8\x85\xB9\xE5\x9B\xB2\xE3\x82\x8A", -1.0f / 3.0f},  // Japanese
      {-7, "caf\xC3\xA9 <&> \"q\" 'a'", 1e-7f},
      {2147483647, " tab\there\nline\rret ", std::numeric_limits<float>::denorm_min()},
      {0, "x", -std::numeric_limits<float>::max()},
  };
  const std::vector<AppearanceParam> read = ReadBack(written);
  ASSERT_EQ(read.size(), written.size());
  for (std::size_t i = 0; i < written.size(); ++i) {
    EXPECT_EQ(read[i].id, written[i].id) << i;
    EXPECT_EQ(read[i].name, written[i].name) << i;
    EXPECT_EQ(read[i].value, written[i].value) << i;
  }
  // Values take no more digits than they need.
  EXPECT_NE(AppearanceXml(written, "shape").find("value=\"0.3\""), std::string::npos);
}

TEST(AppearanceXmlWriterTest, TheArchetypeCarriesTheGivenNameAsXmlCanHoldIt) {
  const struct {
    const char* name;
    const char* written;
  } cases[] = {
      {"my shape", "my shape"},
      {"\xE7\xAC\x91\xE9\xA1\x94", "\xE7\xAC\x91\xE9\xA1\x94"},  // Japanese
      {"a\"<&>\tb", "a&quot;&lt;&amp;&gt;&#9;b"},
      {"bell\x07\xEF\xBF\xBE"
       "end",
       "bellend"},
      {"\xC4rm", "\xC3\x84rm"},
      {"", ""},
  };
  for (const auto& c : cases) {
    const std::string xml = AppearanceXml({{1, "Big_Belly", 0.5f}}, c.name);
    EXPECT_NE(xml.find("<archetype name=\"" + std::string(c.written) + "\">"), std::string::npos)
        << xml;
    EXPECT_EQ(AppearanceXmlReader::ReadParamsFromMemory(xml).size(), 1u) << c.name;
  }
}

TEST(AppearanceXmlWriterTest, NamesTheReaderCannotTakeBackAreRecognised) {
  const struct {
    const char* name;
    bool readsBack;
  } cases[] = {
      {"Big_Belly", true},
      {"\xC3\x84rm", true},
      {"a b", true},
      {"ids", true},
      {"", false},
      {"a,b", false},
      {"a:b", false},
      {"ID", false},
      {"Name", false},
      {"value", false},
      {"a\x01", false},
      {"\xC4rm", false},
      {"a\xEF\xBF\xBE", false},
      {"\xEF\xBF\xBD", true},
  };
  for (const auto& c : cases) EXPECT_EQ(NameReadsBack(c.name), c.readsBack) << c.name;
}

LlmMesh MeshWith(const std::vector<std::pair<std::string, float>>& targets) {
  LlmMesh mesh;
  for (const auto& [name, weight] : targets) {
    mesh.morphTargets.push_back(MakeMorphTarget(name, {}));
    mesh.morphTargets.back().weight = weight;
  }
  return mesh;
}

TEST(ShapeParamsTest, EveryWeightZerosIncludedWithTheIdsOfTheFilesRead) {
  AppearanceIds ids;
  // The first record of a name with a finite value gives the id; a later file replaces it.
  RememberAppearanceIds({{5, "Big_Belly", NAN}, {6, "BIG_BELLY", 0.1f}, {7, "big_belly", 0.2f}},
                        ids);
  RememberAppearanceIds({{8, "Neck", 0.1f}}, ids);
  RememberAppearanceIds({{9, "neck", 0.3f}}, ids);
  const LlmMesh mesh = MeshWith({{"Big_Belly", 0.5f},
                                 {"Flat", 0.0f},
                                 {"Neck", -1.0f},
                                 {"Other", 2.0f},
                                 {"a,b", 1.0f},
                                 {"NECK", -1.0f},
                                 {"neck", 0.25f},
                                 {"Bad", NAN}});
  const ShapeParams shape = MakeShapeParams(mesh, ids);
  // A weight of 0 is written too: loading the file must set it over whatever the mesh held.
  ASSERT_EQ(shape.params.size(), 4u);
  EXPECT_EQ(shape.params[0].id, 6);
  EXPECT_EQ(shape.params[0].name, "Big_Belly");
  EXPECT_EQ(shape.params[0].value, 0.5f);
  EXPECT_EQ(shape.params[1].name, "Flat");
  EXPECT_EQ(shape.params[1].value, 0.0f);
  EXPECT_EQ(shape.params[2].id, 9);
  EXPECT_EQ(shape.params[3].id, AppearanceParam{}.id);
  EXPECT_EQ(shape.params[3].name, "Other");
  // "NECK" with the same weight reads back alike; "neck" with another weight cannot.
  EXPECT_EQ(shape.leftOut, (std::vector<std::string>{"a,b", "neck", "Bad"}));
}

}  // namespace
}  // namespace tovmar
