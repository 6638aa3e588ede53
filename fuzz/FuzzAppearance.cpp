// Fuzzes the appearance file reader and what follows it: any bytes as an appearance document,
// read whole and archetype by archetype, its parameter records applied to the square mesh, whose
// target names the records can match, and the mesh deformed with the weights they set.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "appearance/AppearanceArchetypes.h"
#include "appearance/AppearanceXmlReader.h"
#include "appearance/ParamWalk.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/SquareMesh.h"
#include "mesh/ApplyMorphs.h"
#include "mesh/LlmMesh.h"
#include "mesh/MeshLoad.h"
#include "mesh/SceneStore.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  tovmar::fuzz::DiscardMessages();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tovmar;
  using namespace tovmar::fuzz;
  const std::string_view xml(reinterpret_cast<const char*>(data), size);

  std::vector<AppearanceParam> params = AppearanceXmlReader::ReadParamsFromMemory(xml);
  // The reader empties the tree as it parses; a walk of the whole tree must find the same.
  if (const DocPtr doc = ParseAppearanceDocument(xml)) {
    std::string path;
    std::string whole;
    Walk(xmlDocGetRootElement(doc.get()), path, whole);
    Require(CollectParamAttributes(xml) == whole, "collecting while parsing walks the whole tree");
  } else {
    Require(!CollectParamAttributes(xml), "no tree, nothing collected");
  }
  std::size_t apart = 0;
  for (const AppearanceArchetype& archetype : ReadArchetypesFromMemory(xml)) {
    apart += archetype.params.size();
  }
  Require(apart <= params.size(), "the archetypes hold no record the whole file lacks");
  LlmMesh mesh = MakeSquareMesh(kTargetNames);
  const int matched = mesh.ApplyAppearanceParams(params);
  Require(matched >= 0 && static_cast<std::size_t>(matched) <= mesh.morphTargets.size(),
          "each target is set by one record at most");
  for (const AppearanceParam& param : params) {
    Require(std::none_of(param.name.begin(), param.name.end(),
                         [](char c) { return c >= 'A' && c <= 'Z'; }),
            "applying the records lower-cases their names");
  }

  SceneStore store;
  BuildMeshObjects(mesh, store, "fuzz");
  ApplyMorphs(mesh, store, true);
  return 0;
}
