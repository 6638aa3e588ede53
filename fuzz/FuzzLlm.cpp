// Fuzzes the mesh file reader, the building of the two mesh objects and the deformation: any
// bytes as a ".llm" file, read from memory and from a file and, when they are a mesh, built into
// the scene and deformed once with weights taken from the input's tail.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "mesh/ApplyMorphs.h"
#include "mesh/LlmFile.h"
#include "mesh/LlmMesh.h"
#include "mesh/MeshLoad.h"
#include "mesh/MorphDeformer.h"
#include "mesh/SceneStore.h"

namespace tovmar::fuzz {

namespace {

// Equal bit for bit: floats read from a file may be NaN, which never compares equal.
template <typename T>
bool SameBytes(const T& a, const T& b) {
  return std::memcmp(&a, &b, sizeof(T)) == 0;
}

template <typename T, typename Allocator>
bool SameBytes(const std::vector<T, Allocator>& a, const std::vector<T, Allocator>& b) {
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

bool SameReport(const LlmReadReport& a, const LlmReadReport& b) {
  return a.cutIn == b.cutIn && a.countWhole == b.countWhole && a.declared == b.declared &&
         a.present == b.present && a.declaredBytes == b.declaredBytes &&
         a.presentBytes == b.presentBytes && a.cutTarget == b.cutTarget &&
         a.tooManyTargets == b.tooManyTargets &&
         a.nonFiniteVertexValues == b.nonFiniteVertexValues &&
         a.skippedMorphRecords == b.skippedMorphRecords && a.bytesRead == b.bytesRead;
}

bool Finite(const Vec3& v) {
  return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

bool Finite(const Vec2& v) {
  return std::isfinite(v.u) && std::isfinite(v.v);
}

// The counts agree with the arrays, every array holds only whole elements that came from the
// input, nothing was read twice, and a mesh holds no value that is not a finite number where the
// drawing or an export would use it.
void CheckShape(const LlmMesh& m, const LlmReadReport& report, std::size_t inputSize) {
  const std::size_t n = m.numVertices;
  Require(m.coords.size() == n && m.normals.size() == n && m.binormals.size() == n &&
              m.texCoords.size() == n,
          "every vertex array holds numVertices elements");
  Require(m.detailTexCoords.size() == (m.hasDetailTexCoords != 0 ? n : 0),
          "detail texture coordinates exactly when the flag says so");
  Require(m.weights.size() == (m.hasWeights != 0 ? n : 0), "weights exactly when the flag says so");
  Require(m.faces.size() == std::size_t{m.numFaces} * 3, "three indices per face");
  Require(m.skinJointNames.size() == m.numSkinJoints && m.skinJointNames.size() * 64 <= inputSize,
          "joint names only as far as the input holds them whole");
  Require(m.morphTargets.size() * 64 <= inputSize, "every target's name came from the input");
  std::size_t records = 0;
  for (const MorphTarget& t : m.morphTargets) {
    Require(t.numVertices >= 0 && t.vertices.size() == static_cast<std::size_t>(t.numVertices),
            "a target's count is its number of records");
    records += t.vertices.size();
    for (const MorphVertex& r : t.vertices) {
      Require(Finite(r.coordDelta) && Finite(r.normalDelta) && Finite(r.texCoordDelta),
              "morph records with deltas that are not finite are left out");
    }
  }
  Require(records * sizeof(MorphVertex) <= inputSize,
          "morph records only as far as the input holds them whole");
  Require(m.numRemaps >= 0 && m.remaps.size() == static_cast<std::size_t>(m.numRemaps) &&
              m.remaps.size() * sizeof(VertexRemap) <= inputSize,
          "remaps only as far as the input holds them whole");
  Require(report.bytesRead <= inputSize, "no byte is read twice");
  Require(report.present <= report.declared || !report.countWhole,
          "a cut section holds less than it declares");
  if (report.IsMesh()) {
    for (std::size_t i = 0; i < n; ++i) {
      Require(Finite(m.coords[i]) && Finite(m.normals[i]) && Finite(m.texCoords[i]),
              "a mesh's positions, normals and texture coordinates are finite");
    }
  }
}

// The programs read mesh files from disk; that must give the same record and report as reading
// the same bytes from memory. The window's mesh command takes a file only when it is a mesh: then
// with that same record, otherwise changing nothing.
void CheckFileReadAgrees(std::string_view bytes, const LlmMesh& fromMemory,
                         const LlmReadReport& memoryReport) {
  const NamedInputFile file(bytes);
  LlmMesh fromFile;
  LlmReadReport fileReport;
  Require(ReadLlmFile(file.Path(), fromFile, fileReport) == LlmFileStatus::kRead,
          "a regular file of any content is read");
  Require(SameRecord(fromMemory, fromFile) && SameReport(memoryReport, fileReport),
          "a file reads as its bytes read from memory");

  LlmMesh complete;
  if (ReadCompleteMeshFile(file.Path(), complete)) {
    Require(memoryReport.IsMesh(), "the window takes only a mesh");
    Require(SameRecord(fromMemory, complete) && complete.path == file.Path(),
            "a mesh reads as its bytes read from memory");
  } else {
    Require(!memoryReport.IsMesh(), "the window takes every mesh");
    Require(SameRecord(LlmMesh(), complete) && complete.path.empty(),
            "a file that is not a mesh changes nothing");
  }
}

// Both mesh objects hold the file's vertices as finite numbers, and only triangles whose corners
// exist.
void CheckMeshObjects(const LlmMesh& mesh, SceneStore& store) {
  Require(store.MeshCount() == 2, "loading makes two mesh objects");
  for (std::size_t i = 0; i < 2; ++i) {
    const MeshObject& object = *store.GetMesh(i);
    Require(
        object.positions.size() == mesh.numVertices && object.normals.size() == mesh.numVertices,
        "a mesh object holds every vertex of the file");
    for (const Vec3& p : object.positions) {
      Require(Finite(p), "centring and scaling keep finite coordinates finite");
    }
    Require(object.indices.size() % 3 == 0, "a mesh object holds whole triangles");
    for (const std::int32_t index : object.indices) {
      Require(index >= 0 && index < object.PositionCount(), "every triangle corner exists");
    }
  }
}

// Target i takes the 4 bytes that end 4 * i bytes before the input's end as its weight, raw, when
// they are a finite number: weights come from sliders, appearance files and options, which set
// only finite numbers, of any size.
void SetWeightsFromTail(LlmMesh& mesh, std::string_view bytes) {
  std::size_t end = bytes.size();
  for (MorphTarget& target : mesh.morphTargets) {
    if (end < sizeof target.weight) break;
    end -= sizeof target.weight;
    float weight = 0.0f;
    std::memcpy(&weight, bytes.data() + end, sizeof weight);
    if (std::isfinite(weight)) target.weight = weight;
  }
}

template <typename T>
bool SameBits(const std::vector<T>& a, const std::vector<T>& b) {
  // memcmp may not be given the null pointer of an empty array, even for no bytes.
  return a.size() == b.size() &&
         (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0);
}

// The kept deformation and a full run leave the same bits in the visible object.
void CheckSameBits(const MeshObject& kept, const MeshObject& full) {
  Require(SameBits(kept.positions, full.positions), "kept deformation: positions differ");
  Require(SameBits(kept.normals, full.normals), "kept deformation: normals differ");
  Require(SameBits(kept.texCoords, full.texCoords), "kept deformation: texture coordinates differ");
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
  const LlmReadReport report = mesh.LoadFromMemory(bytes);
  CheckShape(mesh, report, size);
  CheckFileReadAgrees(bytes, mesh, report);
  if (!report.IsMesh()) return 0;

  SceneStore store;
  BuildMeshObjects(mesh, store, "fuzz");
  CheckMeshObjects(mesh, store);

  // The last byte's lowest bit says whether the texture-coordinate deltas are applied as well.
  SetWeightsFromTail(mesh, bytes);
  const bool applyTexCoords = size > 0 && (data[size - 1] & 1u) != 0;
  ApplyMorphs(mesh, store, applyTexCoords);

  // The kept deformation: a full first run, then one weight changed, which recomputes only the
  // vertices of that target and must leave what a full run leaves.
  MorphDeformer deformer;
  deformer.Apply(mesh, store, applyTexCoords);
  if (!mesh.morphTargets.empty()) {
    mesh.morphTargets.front().weight += 0.5f;
    deformer.Apply(mesh, store, applyTexCoords);
    SceneStore full;
    BuildMeshObjects(mesh, full, "fuzz");
    ApplyMorphs(mesh, full, applyTexCoords);
    CheckSameBits(*store.GetMesh(0), *full.GetMesh(0));
  }
  return 0;
}
