#include "mesh/LlmMesh.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>
#include <optional>

#include "base/FileBytes.h"
#include "base/Text.h"
#include "mesh/ByteReader.h"
#include "mesh/FileByteReader.h"

namespace tovmar {

static_assert(std::endian::native == std::endian::little,
              "the reader copies little-endian file arrays straight into memory");

namespace {

// Mesh files hold at most 65535 vertices; anything near this size is not a mesh file.
constexpr std::uint64_t kMaxFileBytes = 1ull << 30;

constexpr char kEndMorphs[11] = {'E', 'n', 'd', ' ', 'M', 'o', 'r', 'p', 'h', 's', '\0'};

// How many elements of `size` bytes the rest of the input can at least partly fill, at most
// `count`: an array is never allocated for slots the file cannot reach.
template <typename Reader>
std::size_t ReachableCount(const Reader& in, std::uint64_t count, std::size_t size) {
  const std::uint64_t reachable = (static_cast<std::uint64_t>(in.Remaining()) + size - 1) / size;
  return static_cast<std::size_t>(std::min(count, reachable));
}

// Reads `count` elements into `out` with one read; the part the input cannot fill stays zero.
template <typename Reader, typename T>
void ReadArray(Reader& in, std::vector<T>& out, std::size_t count) {
  out.resize(count);
  if (count > 0) in.Read(out.data(), count * sizeof(T));
}

template <typename Reader>
void ReadVec3(Reader& in, Vec3& v) {
  in.Read(&v, sizeof v);
}

// Reads the morph target blocks up to the end block or the end of the input.
template <typename Reader>
void ReadMorphSection(Reader& in, std::vector<MorphTarget>& targets) {
  NameSlot name{};
  while (in.Read(name.data(), 64) == 64) {
    if (std::memcmp(name.data(), kEndMorphs, sizeof kEndMorphs) == 0) break;
    MorphTarget& target = targets.emplace_back();
    target.name = name;
    // A negative count means no records; an oversized one is cut to what the file holds.
    const std::int32_t declared = in.I32();
    const std::size_t count =
        declared > 0 ? ReachableCount(in, static_cast<std::uint64_t>(declared), sizeof(MorphVertex))
                     : 0;
    target.numVertices = static_cast<std::int32_t>(count);
    ReadArray(in, target.vertices, count);
  }
}

// Parses a whole file image from `in` into the empty record `m`.
template <typename Reader>
void Parse(Reader& in, LlmMesh& m) {
  // Fixed prefix.
  in.Read(m.header.data(), m.header.size());
  m.hasWeights = in.U8();
  m.hasDetailTexCoords = in.U8();
  ReadVec3(in, m.position);
  ReadVec3(in, m.rotation);
  m.rotationOrder = in.U8();
  ReadVec3(in, m.scale);
  m.numVertices = in.U16();

  // Vertex arrays, always of the full vertex count: the faces index into them.
  const std::size_t n = m.numVertices;
  ReadArray(in, m.coords, n);
  ReadArray(in, m.normals, n);
  ReadArray(in, m.binormals, n);
  ReadArray(in, m.texCoords, n);
  // The detail texture coordinates come before the weights.
  if (m.hasDetailTexCoords != 0) ReadArray(in, m.detailTexCoords, n);
  if (m.hasWeights != 0) ReadArray(in, m.weights, n);

  // Triangles.
  m.numFaces = in.U16();
  ReadArray(in, m.faces, std::size_t{m.numFaces} * 3);

  // Joint names: 64 bytes each, every slot terminated by a zero byte of its own.
  const std::uint16_t declaredJoints = in.U16();
  const std::size_t joints = ReachableCount(in, declaredJoints, 64);
  m.numSkinJoints = static_cast<std::uint16_t>(joints);
  m.skinJointNames.assign(joints, NameSlot{});
  for (NameSlot& slot : m.skinJointNames) in.Read(slot.data(), 64);

  ReadMorphSection(in, m.morphTargets);

  // Remaps: a negative count means none; an oversized one is cut to what the file holds.
  const std::int32_t declaredRemaps = in.I32();
  const std::size_t remapCount =
      declaredRemaps > 0
          ? ReachableCount(in, static_cast<std::uint64_t>(declaredRemaps), sizeof(VertexRemap))
          : 0;
  m.numRemaps = static_cast<std::int32_t>(remapCount);
  ReadArray(in, m.remaps, remapCount);
}

}  // namespace

std::string MorphTarget::DisplayName() const {
  // At most the 64 bytes of the file's name block, even when the slot's last byte was overwritten.
  const auto end = std::find(name.begin(), name.begin() + 64, '\0');
  return EightBitToUtf8(
      std::string_view(name.data(), static_cast<std::size_t>(end - name.begin())));
}

bool LlmMesh::Load(const std::string& newPath) {
  const FilePtr file = OpenFileForReading(newPath);
  if (!file) {
    path = newPath;
    return true;
  }
  // Only a regular file has a size that bounds the reading: a folder, pipe or device counts as
  // unreadable, as does a file too large to be a mesh file.
  const std::optional<std::uint64_t> size = RegularFileSize(file.get());
  if (!size || *size > kMaxFileBytes) return true;

  LlmMesh m;
  FileByteReader in(file.get(), *size);
  Parse(in, m);
  // A file that cannot be read whole leaves the record exactly as it was.
  if (std::ferror(file.get()) != 0) return true;
  m.path = newPath;
  *this = std::move(m);
  return true;
}

void LlmMesh::LoadFromMemory(std::string_view bytes) {
  LlmMesh m;
  ByteReader in(bytes);
  Parse(in, m);
  m.path = std::move(path);
  *this = std::move(m);
}

void LlmMesh::Release() {
  std::string keptPath = std::move(path);
  *this = LlmMesh();
  path = std::move(keptPath);
}

MorphTarget* LlmMesh::FindMorphTarget(std::string_view name) {
  for (MorphTarget& target : morphTargets) {
    if (target.DisplayName() == name) return &target;
  }
  return nullptr;
}

}  // namespace tovmar
