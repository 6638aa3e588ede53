// The archetypes of an appearance file read one by one, and one of them chosen and applied.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "appearance/AppearanceArchetypes.h"
#include "appearance/AppearanceXmlReader.h"
#include "mesh/LlmMesh.h"
#include "tools/LlmWriter.h"

namespace tovmar {
namespace {

// Three archetypes as the world's client writes several: the first and "F A Chubby" set the same
// target differently; the third has no name and no records. A param outside any archetype and
// one nested a level too deep belong to none.
constexpr char kThree[] = R"(<?xml version="1.0"?>
<linden_genepool version="1.0">
  <param id="1" name="stray" value="9"/>
  <archetype name="F A Default">
    <param id="10" name="Belly" value="0.25"/>
    <texture te="0" id="x"/>
  </archetype>
  <archetype NAME="F A Chubby">
    <param id="10" name="Belly" value="1"/>
    <param id="11" name="Chest" value="-0.5"/>
    <group><param id="12" name="deep" value="3"/></group>
  </archetype>
  <archetype/>
</linden_genepool>)";

TEST(AppearanceArchetypes, EachArchetypeKeepsItsOwnRecords) {
  const std::vector<AppearanceArchetype> archetypes = ReadArchetypesFromMemory(kThree);
  ASSERT_EQ(archetypes.size(), 3u);
  EXPECT_EQ(archetypes[0].name, "F A Default");
  EXPECT_EQ(archetypes[1].name, "F A Chubby");
  EXPECT_EQ(archetypes[2].name, "archetype 3");
  ASSERT_EQ(archetypes[0].params.size(), 1u);
  EXPECT_EQ(archetypes[0].params[0].value, 0.25f);
  ASSERT_EQ(archetypes[1].params.size(), 2u);
  EXPECT_EQ(archetypes[1].params[1].name, "Chest");
  EXPECT_TRUE(archetypes[2].params.empty());

  // Together they are the records of the whole file, in file order.
  const std::vector<AppearanceParam> whole = AppearanceXmlReader::ReadParamsFromMemory(kThree);
  ASSERT_EQ(whole.size(), 3u);
  EXPECT_EQ(whole[2].name, "Chest");

  EXPECT_EQ(FindArchetype(archetypes, "F A Chubby"), 1u);
  EXPECT_EQ(FindArchetype(archetypes, "f a chubby"), 1u);
  EXPECT_FALSE(FindArchetype(archetypes, "F A Thin"));
  // A file that breaks off after whole archetypes gives none of them.
  for (const char* broken :
       {"", "<linden_genepool>", "<other><archetype/></other>",
        "<linden_genepool><archetype name='a'><param id='1' name='x' value='1'/></archetype>"}) {
    EXPECT_TRUE(ReadArchetypesFromMemory(broken).empty()) << broken;
  }
}

// Choosing "F A Chubby" shapes the mesh otherwise than the whole file, whose first archetype
// wins; an archetype without records changes nothing.
TEST(AppearanceArchetypes, TheChosenArchetypeShapesTheMesh) {
  const auto shaped = [](const AppearanceArchetype* archetype) {
    LlmMesh mesh;
    MorphVertex record;
    record.vertexIndex = 0;
    mesh.morphTargets.push_back(MakeMorphTarget("belly", {record}));
    std::vector<AppearanceParam> params = archetype == nullptr
                                              ? AppearanceXmlReader::ReadParamsFromMemory(kThree)
                                              : archetype->params;
    mesh.ApplyAppearanceParams(params);
    return mesh.morphTargets[0].weight;
  };
  const std::vector<AppearanceArchetype> archetypes = ReadArchetypesFromMemory(kThree);
  EXPECT_EQ(shaped(nullptr), 0.25f);
  EXPECT_EQ(shaped(&archetypes[0]), 0.25f);
  EXPECT_EQ(shaped(&archetypes[1]), 1.0f);
  EXPECT_EQ(shaped(&archetypes[2]), 0.0f);
}

}  // namespace
}  // namespace tovmar
