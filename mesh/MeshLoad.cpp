#include "mesh/MeshLoad.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "base/FileBytes.h"
#include "mesh/LlmMesh.h"
#include "mesh/SceneStore.h"

namespace tovmar {

namespace {

// Mesh files hold at most 65535 vertices; anything near this size is not a mesh file.
constexpr std::uint64_t kMaxMeshFileBytes = std::uint64_t{1} << 30;

// The bytes of the fixed part before the vertex arrays: header, two flags, position, rotation,
// rotation order, scale and the vertex count.
constexpr std::uint64_t kPrefixBytes = 24 + 1 + 1 + 12 + 12 + 1 + 12 + 2;
constexpr std::uint64_t kNameBytes = 64;
constexpr std::uint64_t kMorphVertexBytes = 48;
constexpr std::uint64_t kRemapBytes = 8;

// The bytes that `file` must hold for `m`, the record read from it, to be whole: every array at
// the count the reader kept, each target's block, the end block of the morph section and the
// remap table at the count the file declares. The reader cuts a count to what the file holds, so
// a file that ends early needs more than it has; only the remap table, the last part, can be cut
// to exactly the file's end, so its count is taken from the file itself.
std::uint64_t DeclaredFileBytes(const LlmMesh& m, std::string_view file) {
  std::uint64_t perVertex = 12 + 12 + 12 + 8;
  if (m.hasDetailTexCoords != 0) perVertex += 8;
  if (m.hasWeights != 0) perVertex += 4;
  std::uint64_t bytes = kPrefixBytes + perVertex * m.numVertices;
  bytes += 2 + std::uint64_t{6} * m.numFaces;
  bytes += 2 + kNameBytes * m.numSkinJoints;
  for (const MorphTarget& target : m.morphTargets) {
    bytes += kNameBytes + 4 + kMorphVertexBytes * target.vertices.size();
  }
  bytes += kNameBytes;

  // The remap count; a negative one means no remaps.
  if (bytes + 4 > file.size()) return bytes + 4;
  std::int32_t remaps = 0;
  std::memcpy(&remaps, file.data() + bytes, sizeof remaps);
  return bytes + 4 + kRemapBytes * static_cast<std::uint64_t>(std::max(remaps, 0));
}

// The whole of the regular file at `path`; nothing for a file that cannot be opened or read, for
// a folder, pipe or device (whose reading could block or never end) and for a far too large one.
std::optional<std::string> ReadRegularFile(const std::string& path) {
  const FilePtr file = OpenFileForReading(path);
  if (!file) return std::nullopt;
  const std::optional<std::uint64_t> size = RegularFileSize(file.get());
  if (!size || *size > kMaxMeshFileBytes) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(*size), '\0');
  // A file cut short since its size was taken gives fewer bytes, which the count check catches.
  bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file.get()));
  if (std::ferror(file.get()) != 0) return std::nullopt;
  return bytes;
}

// Builds one mesh object from the record's arrays and gives it its name and visibility.
void AddMeshObject(const LlmMesh& mesh, SceneStore& store, const std::string& name, bool visible) {
  // The record's counts normally equal its array sizes; a record filled by other means is
  // clamped to what its arrays hold.
  const std::size_t count =
      std::min({std::size_t{mesh.numVertices}, mesh.coords.size(), mesh.normals.size()});
  std::size_t indexCount = std::min(std::size_t{mesh.numFaces} * 3, mesh.faces.size());
  indexCount -= indexCount % 3;
  const Vec2* texCoords = mesh.texCoords.size() >= count ? mesh.texCoords.data() : nullptr;

  MeshObject* object = store.FindMesh(store.CreateMesh());
  object->Build(static_cast<std::int32_t>(count), mesh.coords.data(),
                static_cast<std::int32_t>(indexCount), mesh.faces.data(), mesh.normals.data(),
                texCoords);
  object->header.name = name;
  object->SetVisible(visible);
}

}  // namespace

bool ReadCompleteMeshFile(const std::string& path, LlmMesh& mesh) {
  // The bytes are read once and parsed from memory, so what is checked is what was parsed.
  const std::optional<std::string> bytes = ReadRegularFile(path);
  if (!bytes) return false;
  LlmMesh read;
  read.LoadFromMemory(*bytes);
  if (DeclaredFileBytes(read, *bytes) > bytes->size()) return false;
  read.path = path;
  mesh = std::move(read);
  return true;
}

void BuildMeshObjects(const LlmMesh& mesh, SceneStore& store, const std::string& name) {
  // Count once, then always remove the first object: the list empties from the front.
  const std::size_t existing = store.MeshCount();
  for (std::size_t i = 0; i < existing; ++i) store.RemoveMesh(store.GetMesh(0)->header.id);

  AddMeshObject(mesh, store, name, true);
  AddMeshObject(mesh, store, name, false);
}

}  // namespace tovmar
