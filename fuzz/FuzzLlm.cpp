// Fuzzes the mesh file reader, the building of the two mesh objects and the deformation: any
// bytes as a ".llm" file, read from memory and from a file, built into the scene and deformed once
// with weights taken from the input's tail.
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "mesh/ApplyMorphs.h"
#include "mesh/LlmMesh.h"
#include "mesh/MeshLoad.h"
#include "mesh/SceneStore.h"
#include "texture/TemporaryFile.h"

namespace tovmar::fuzz {

namespace {

// Equal bit for bit: floats read from a file may be NaN, which never compares equal.
template <typename T>
bool SameBytes(const T& a, const T& b) {
  return std::memcmp(&a, &b, sizeof(T)) == 0;
}

template <typename T>
bool SameBytes(const std::vector<T>& a, const std::vector<T>& b) {
  return a.size() == b.size() &&
         (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0);
}

bool SameTarget(const MorphTarget& a, const MorphTarget& b) {
  return SameBytes(a.name, b.name) && a.numVertices == b.numVertices &&
         SameBytes(a.vertices, b.vertices) && SameBytes(a.weight, b.weight) &&
         SameBytes(a.maxWeight, b.maxWeight) && SameBytes(a.minWeight, b.minWeight);
}

// Every field but the path.
bool SameRecord(const LlmMesh& a, const LlmMesh& b) {
  if (a.morphTargets.size() != b.morphTargets.size()) return false;
  for (std::size_t i = 0; i < a.morphTargets.size(); ++i) {
    if (!SameTarget(a.morphTargets[i], b.morphTargets[i])) return false;
  }
  return SameBytes(a.header, b.header) && a.hasWeights == b.hasWeights &&
         a.hasDetailTexCoords == b.hasDetailTexCoords && SameBytes(a.position, b.position) &&
         SameBytes(a.rotation, b.rotation) && a.rotationOrder == b.rotationOrder &&
         SameBytes(a.scale, b.scale) && a.numVertices == b.numVertices &&
         SameBytes(a.coords, b.coords) && SameBytes(a.normals, b.normals) &&
         SameBytes(a.binormals, b.binormals) && SameBytes(a.texCoords, b.texCoords) &&
         SameBytes(a.detailTexCoords, b.detailTexCoords) && SameBytes(a.weights, b.weights) &&
         a.numFaces == b.numFaces && SameBytes(a.faces, b.faces) &&
         a.numSkinJoints == b.numSkinJoints && SameBytes(a.skinJointNames, b.skinJointNames) &&
         a.numRemaps == b.numRemaps && SameBytes(a.remaps, b.remaps);
}

// The counts agree with the arrays, and the arrays whose counts come from the file hold no more
// elements than the input can at least partly fill.
void CheckShape(const LlmMesh& m, std::size_t inputSize) {
  const std::size_t n = m.numVertices;
  Require(m.coords.size() == n && m.normals.size() == n && m.binormals.size() == n &&
              m.texCoords.size() == n,
          "every vertex array holds numVertices elements");
  Require(m.detailTexCoords.size() == (m.hasDetailTexCoords != 0 ? n : 0),
          "detail texture coordinates exactly when the flag says so");
  Require(m.weights.size() == (m.hasWeights != 0 ? n : 0), "weights exactly when the flag says so");
  Require(m.faces.size() == std::size_t{m.numFaces} * 3, "three indices per face");
  Require(
      m.skinJointNames.size() == m.numSkinJoints && m.skinJointNames.size() * 64 < inputSize + 64,
      "joint names only as far as the input reaches");
  Require(m.morphTargets.size() * 64 <= inputSize, "every target's name came from the input");
  for (const MorphTarget& t : m.morphTargets) {
    Require(t.numVertices >= 0 && t.vertices.size() == static_cast<std::size_t>(t.numVertices) &&
                t.vertices.size() * sizeof(MorphVertex) < inputSize + sizeof(MorphVertex),
            "morph records only as far as the input reaches");
  }
  Require(m.numRemaps >= 0 && m.remaps.size() == static_cast<std::size_t>(m.numRemaps) &&
              m.remaps.size() * sizeof(VertexRemap) < inputSize + sizeof(VertexRemap),
          "remaps only as far as the input reaches");
}

// The application reads mesh files from disk through a reader of its own; it must give the same
// record as reading the same bytes from memory. The window's mesh command takes a file only when
// it holds every byte its counts declare: then with that same record, otherwise changing nothing.
void CheckFileReadAgrees(std::string_view bytes, const LlmMesh& fromMemory) {
  TemporaryFile file;
  Require(file.Create(std::filesystem::temp_directory_path(), "fuzz-llm"),
          "a temporary file can be made");
  FillNewFile(file.Path(), bytes);
  LlmMesh fromFile;
  fromFile.Load(file.Path());
  Require(SameRecord(fromMemory, fromFile), "a file reads as its bytes read from memory");

  LlmMesh complete;
  if (ReadCompleteMeshFile(file.Path(), complete)) {
    Require(SameRecord(fromMemory, complete) && complete.path == file.Path(),
            "a whole file reads as its bytes read from memory");
  } else {
    Require(SameRecord(LlmMesh(), complete) && complete.path.empty(),
            "a file that is not whole changes nothing");
  }
}

// Both mesh objects hold the file's vertices, and only triangles whose corners exist.
void CheckMeshObjects(const LlmMesh& mesh, SceneStore& store) {
  Require(store.MeshCount() == 2, "loading makes two mesh objects");
  for (std::size_t i = 0; i < 2; ++i) {
    const MeshObject& object = *store.GetMesh(i);
    Require(object.numPositions == mesh.numVertices && object.positions.size() == mesh.numVertices,
            "a mesh object holds every vertex of the file");
    Require(object.numIndices % 3 == 0 &&
                object.indices.size() == static_cast<std::size_t>(object.numIndices),
            "a mesh object holds whole triangles");
    for (const std::int32_t index : object.indices) {
      Require(index >= 0 && index < object.numPositions, "every triangle corner exists");
    }
  }
}

// Target i takes the 4 bytes that end 4 * i bytes before the input's end as its weight, raw: an
// appearance file can set any float, infinities and NaN included.
void SetWeightsFromTail(LlmMesh& mesh, std::string_view bytes) {
  std::size_t end = bytes.size();
  for (MorphTarget& target : mesh.morphTargets) {
    if (end < sizeof target.weight) break;
    end -= sizeof target.weight;
    std::memcpy(&target.weight, bytes.data() + end, sizeof target.weight);
  }
}

}  // namespace

}  // namespace tovmar::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  tovmar::fuzz::DiscardMessages();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tovmar;
  using namespace tovmar::fuzz;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  LlmMesh mesh;
  mesh.LoadFromMemory(bytes);
  CheckShape(mesh, size);
  CheckFileReadAgrees(bytes, mesh);

  SceneStore store;
  BuildMeshObjects(mesh, store, "fuzz");
  CheckMeshObjects(mesh, store);

  // The last byte's lowest bit says whether the texture-coordinate deltas are applied as well.
  SetWeightsFromTail(mesh, bytes);
  ApplyMorphs(mesh, store, size > 0 && (data[size - 1] & 1u) != 0);
  return 0;
}
