#include "tools/LlmWriter.h"

#include <algorithm>
#include <cstring>
#include <fstream>

#include "base/FileBytes.h"

namespace tovmar {

namespace {

class ByteWriter {
 public:
  void Raw(const void* data, std::size_t size) { out.append(static_cast<const char*>(data), size); }
  void U8(std::uint8_t v) { Raw(&v, 1); }
  void U16(std::uint16_t v) { Raw(&v, 2); }
  void I32(std::int32_t v) { Raw(&v, 4); }

  // `count` elements from `v`, zeros where `v` is shorter.
  template <typename T, typename Allocator>
  void Array(const std::vector<T, Allocator>& v, std::size_t count) {
    const std::size_t have = std::min(count, v.size());
    if (have > 0) Raw(v.data(), have * sizeof(T));
    out.append((count - have) * sizeof(T), '\0');
  }

  std::string out;
};

}  // namespace

std::string WriteLlm(const LlmMesh& m) {
  ByteWriter w;
  w.Raw(m.header.data(), m.header.size());
  w.U8(m.hasWeights);
  w.U8(m.hasDetailTexCoords);
  w.Raw(&m.position, 12);
  w.Raw(&m.rotation, 12);
  w.U8(m.rotationOrder);
  w.Raw(&m.scale, 12);
  w.U16(m.numVertices);
  const std::size_t n = m.numVertices;
  w.Array(m.coords, n);
  w.Array(m.normals, n);
  w.Array(m.binormals, n);
  w.Array(m.texCoords, n);
  if (m.hasDetailTexCoords != 0) w.Array(m.detailTexCoords, n);
  if (m.hasWeights != 0) w.Array(m.weights, n);
  w.U16(m.numFaces);
  w.Array(m.faces, std::size_t{m.numFaces} * 3);
  w.U16(m.numSkinJoints);
  for (std::size_t j = 0; j < m.numSkinJoints; ++j) {
    char slot[64] = {};
    if (j < m.skinJointNames.size()) std::memcpy(slot, m.skinJointNames[j].data(), 64);
    w.Raw(slot, 64);
  }
  for (const MorphTarget& t : m.morphTargets) {
    w.Raw(t.name.data(), 64);
    w.I32(t.numVertices);
    if (t.numVertices > 0) w.Array(t.vertices, static_cast<std::size_t>(t.numVertices));
  }
  char end[64] = "End Morphs";
  w.Raw(end, 64);
  w.I32(m.numRemaps);
  if (m.numRemaps > 0) w.Array(m.remaps, static_cast<std::size_t>(m.numRemaps));
  return std::move(w.out);
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream f(PathFromUtf8(path), std::ios::binary | std::ios::trunc);
  f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(f);
}

MorphTarget MakeMorphTarget(const std::string& name, MorphRecords records) {
  MorphTarget t;
  std::memcpy(t.name.data(), name.data(), std::min<std::size_t>(name.size(), 64));
  t.numVertices = static_cast<std::int32_t>(records.size());
  t.vertices = std::move(records);
  return t;
}

}  // namespace tovmar
