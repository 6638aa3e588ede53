#include "exchange/GltfBuild.h"

#include <algorithm>
#include <cstring>
#include <sstream>
#include <vector>

#include "exchange/ExchangeError.h"

namespace tovmar {

namespace {

// The indices as 16-bit numbers when every vertex fits below 65535, the value that some readers
// take as the end of a strip; otherwise as 32-bit ones.
int AddIndices(tinygltf::Model& model, BufferBuilder& buffer, const GltfMesh& mesh) {
  const std::size_t count = mesh.indices.size();
  if (mesh.positions.size() <= 65535) {
    std::vector<std::uint16_t> narrow(mesh.indices.begin(), mesh.indices.end());
    const int view =
        buffer.AddView(narrow.data(), count * 2, TINYGLTF_TARGET_ELEMENT_ARRAY_BUFFER, 0);
    return AddAccessor(model, view, 0, TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT, count,
                       TINYGLTF_TYPE_SCALAR);
  }
  const int view =
      buffer.AddView(mesh.indices.data(), count * 4, TINYGLTF_TARGET_ELEMENT_ARRAY_BUFFER, 0);
  return AddAccessor(model, view, 0, TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT, count,
                     TINYGLTF_TYPE_SCALAR);
}

// A file name as a relative URI: every byte but letters, digits and "-._~" percent-encoded, so
// that spaces, quotes and non-ASCII names reach every reader intact.
std::string UriOf(const std::string& name) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string uri;
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    if (letter || (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' || c == '~') {
      uri += c;
    } else {
      uri += '%';
      uri += kHex[byte >> 4];
      uri += kHex[byte & 15];
    }
  }
  return uri;
}

// The exact least and greatest of `values`, which glTF asks of positions and position offsets.
void SetBounds(tinygltf::Accessor& accessor, const std::vector<Vec3>& values) {
  Vec3 low = values.empty() ? Vec3{} : values[0], high = low;
  for (const Vec3& v : values) {
    low = {std::min(low.x, v.x), std::min(low.y, v.y), std::min(low.z, v.z)};
    high = {std::max(high.x, v.x), std::max(high.y, v.y), std::max(high.z, v.z)};
  }
  accessor.minValues = {low.x, low.y, low.z};
  accessor.maxValues = {high.x, high.y, high.z};
}

// The vertices whose offset is not zero, in increasing order.
std::vector<std::uint32_t> Moved(const std::vector<Vec3>& offsets) {
  std::vector<std::uint32_t> moved;
  for (std::size_t i = 0; i < offsets.size(); ++i) {
    const Vec3& v = offsets[i];
    if (v.x != 0.0f || v.y != 0.0f || v.z != 0.0f) moved.push_back(static_cast<std::uint32_t>(i));
  }
  return moved;
}

// The bytes one sparse index takes for `count` vertices.
std::size_t SparseIndexSize(std::size_t count) {
  return count <= 256 ? 1 : count <= 65536 ? 2 : 4;
}

// A sparse accessor of `offsets` over no data (zeros): the indices of `moved` and their values,
// each in a view of its own. With nothing moved, no sparse part at all.
int AddSparseAccessor(tinygltf::Model& model, BufferBuilder& buffer,
                      const std::vector<Vec3>& offsets, const std::vector<std::uint32_t>& moved) {
  const int index =
      AddAccessor(model, -1, 0, TINYGLTF_COMPONENT_TYPE_FLOAT, offsets.size(), TINYGLTF_TYPE_VEC3);
  if (moved.empty()) return index;
  const std::size_t indexSize = SparseIndexSize(offsets.size());
  std::vector<unsigned char> indices(moved.size() * indexSize);
  std::vector<Vec3> values;
  for (std::size_t k = 0; k < moved.size(); ++k) {
    if (indexSize == 1) {
      indices[k] = static_cast<unsigned char>(moved[k]);
    } else if (indexSize == 2) {
      const auto narrow = static_cast<std::uint16_t>(moved[k]);
      std::memcpy(&indices[k * 2], &narrow, 2);
    } else {
      std::memcpy(&indices[k * 4], &moved[k], 4);
    }
    values.push_back(offsets[moved[k]]);
  }
  tinygltf::Accessor& accessor = model.accessors[static_cast<std::size_t>(index)];
  accessor.sparse.isSparse = true;
  accessor.sparse.count = static_cast<int>(moved.size());
  accessor.sparse.indices.bufferView = buffer.AddView(indices.data(), indices.size(), 0, 0);
  accessor.sparse.indices.byteOffset = 0;
  accessor.sparse.indices.componentType = indexSize == 1   ? TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE
                                          : indexSize == 2 ? TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT
                                                           : TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT;
  accessor.sparse.values.bufferView =
      buffer.AddView(values.data(), values.size() * sizeof(Vec3), 0, 0);
  accessor.sparse.values.byteOffset = 0;
  return index;
}

// The targets' offsets of one kind, one accessor each: sparse where that is smaller, the others
// whole, all in one view.
std::vector<int> AddTargetOffsets(tinygltf::Model& model, BufferBuilder& buffer,
                                  const GltfMesh& mesh, std::vector<Vec3> GltfMorphTarget::*offsets,
                                  bool withBounds) {
  const std::size_t count = mesh.positions.size();
  std::vector<std::vector<std::uint32_t>> moved;
  std::vector<bool> sparse;
  std::vector<Vec3> whole;
  for (const GltfMorphTarget& target : mesh.targets) {
    moved.push_back(Moved(target.*offsets));
    sparse.push_back(moved.back().size() * (SparseIndexSize(count) + sizeof(Vec3)) <
                     count * sizeof(Vec3));
    if (!sparse.back())
      whole.insert(whole.end(), (target.*offsets).begin(), (target.*offsets).end());
  }
  const int view = whole.empty() ? -1
                                 : buffer.AddView(whole.data(), whole.size() * sizeof(Vec3),
                                                  TINYGLTF_TARGET_ARRAY_BUFFER, sizeof(Vec3));
  std::vector<int> accessors;
  std::size_t wholeOffset = 0;
  for (std::size_t t = 0; t < mesh.targets.size(); ++t) {
    int index = 0;
    if (sparse[t]) {
      index = AddSparseAccessor(model, buffer, mesh.targets[t].*offsets, moved[t]);
    } else {
      index = AddAccessor(model, view, wholeOffset, TINYGLTF_COMPONENT_TYPE_FLOAT, count,
                          TINYGLTF_TYPE_VEC3);
      wholeOffset += count * sizeof(Vec3);
    }
    if (withBounds)
      SetBounds(model.accessors[static_cast<std::size_t>(index)], mesh.targets[t].*offsets);
    accessors.push_back(index);
  }
  return accessors;
}

}  // namespace

BufferBuilder::BufferBuilder(tinygltf::Model& model, const GltfFileOptions& options)
    : m_model(model), m_options(options) {
  m_model.buffers.emplace_back();
}

int BufferBuilder::AddView(const void* bytes, std::size_t size, int target, std::size_t stride) {
  std::vector<unsigned char>& data = m_model.buffers[0].data;
  data.resize((data.size() + 3) / 4 * 4);
  tinygltf::BufferView view;
  view.buffer = 0;
  view.byteOffset = data.size();
  view.byteLength = size;
  view.byteStride = stride;
  view.target = target;
  data.insert(data.end(), static_cast<const unsigned char*>(bytes),
              static_cast<const unsigned char*>(bytes) + size);
  m_model.bufferViews.push_back(view);
  return static_cast<int>(m_model.bufferViews.size() - 1);
}

int BufferBuilder::AddImage(const std::string& png) {
  tinygltf::Image image;
  if (m_options.form == GltfForm::kSeparate) {
    const std::string name = m_options.baseName + "_" + std::to_string(m_beside.size()) + ".png";
    image.uri = UriOf(name);
    m_beside.emplace_back(name, png);
  } else {
    image.mimeType = "image/png";
    image.bufferView = AddView(png.data(), png.size(), 0, 0);
  }
  m_model.images.push_back(image);
  return static_cast<int>(m_model.images.size() - 1);
}

GltfFiles BufferBuilder::Write() {
  GltfFiles files;
  std::ostringstream out;
  tinygltf::TinyGLTF writer;
  // Images are written as they are: PNG bytes in a view, or a file this builder keeps.
  writer.SetImageWriter(nullptr, nullptr);
  const bool binary = m_options.form == GltfForm::kBinary;
  if (!writer.WriteGltfSceneToStream(&m_model, out, !binary, binary)) {
    throw ExchangeError("cannot write the glTF file");
  }
  files.main = out.str();
  if (m_options.form == GltfForm::kSeparate) {
    // The stream holds the buffer as a data URI; the separate form names its file instead.
    const std::string binName = m_options.baseName + ".bin";
    const std::string dataUri = "\"uri\": \"data:application/octet-stream;base64,";
    const std::size_t start = files.main.find(dataUri);
    const std::size_t end =
        start == std::string::npos ? start : files.main.find('"', start + dataUri.size());
    if (end == std::string::npos) throw ExchangeError("cannot write the glTF file");
    files.main.replace(start, end + 1 - start, "\"uri\": \"" + UriOf(binName) + "\"");
    const std::vector<unsigned char>& data = m_model.buffers[0].data;
    files.beside.emplace_back(binName, std::string(data.begin(), data.end()));
  }
  files.beside.insert(files.beside.end(), m_beside.begin(), m_beside.end());
  return files;
}

int AddAccessor(tinygltf::Model& model, int view, std::size_t byteOffset, int componentType,
                std::size_t count, int type) {
  tinygltf::Accessor accessor;
  accessor.bufferView = view;
  accessor.byteOffset = byteOffset;
  accessor.componentType = componentType;
  accessor.count = count;
  accessor.type = type;
  model.accessors.push_back(accessor);
  return static_cast<int>(model.accessors.size() - 1);
}

tinygltf::Mesh MakeMesh(tinygltf::Model& model, BufferBuilder& buffer, const GltfMesh& mesh,
                        int material) {
  const std::size_t count = mesh.positions.size();
  tinygltf::Primitive primitive;
  primitive.mode = TINYGLTF_MODE_TRIANGLES;
  primitive.material = material;

  const int positions = buffer.AddView(mesh.positions.data(), count * sizeof(Vec3),
                                       TINYGLTF_TARGET_ARRAY_BUFFER, sizeof(Vec3));
  const int position =
      AddAccessor(model, positions, 0, TINYGLTF_COMPONENT_TYPE_FLOAT, count, TINYGLTF_TYPE_VEC3);
  SetBounds(model.accessors[static_cast<std::size_t>(position)], mesh.positions);
  primitive.attributes["POSITION"] = position;
  const int normals = buffer.AddView(mesh.normals.data(), count * sizeof(Vec3),
                                     TINYGLTF_TARGET_ARRAY_BUFFER, sizeof(Vec3));
  primitive.attributes["NORMAL"] =
      AddAccessor(model, normals, 0, TINYGLTF_COMPONENT_TYPE_FLOAT, count, TINYGLTF_TYPE_VEC3);
  if (!mesh.texCoords.empty()) {
    const int texCoords = buffer.AddView(mesh.texCoords.data(), count * sizeof(Vec2),
                                         TINYGLTF_TARGET_ARRAY_BUFFER, sizeof(Vec2));
    primitive.attributes["TEXCOORD_0"] =
        AddAccessor(model, texCoords, 0, TINYGLTF_COMPONENT_TYPE_FLOAT, count, TINYGLTF_TYPE_VEC2);
  }
  primitive.indices = AddIndices(model, buffer, mesh);

  tinygltf::Mesh out;
  out.name = mesh.name;
  if (!mesh.targets.empty()) {
    const std::vector<int> positionOffsets =
        AddTargetOffsets(model, buffer, mesh, &GltfMorphTarget::positionOffsets, true);
    const std::vector<int> normalOffsets =
        AddTargetOffsets(model, buffer, mesh, &GltfMorphTarget::normalOffsets, false);
    tinygltf::Value::Array names;
    for (std::size_t t = 0; t < mesh.targets.size(); ++t) {
      primitive.targets.push_back({{"POSITION", positionOffsets[t]}, {"NORMAL", normalOffsets[t]}});
      names.emplace_back(mesh.targets[t].name);
      out.weights.push_back(mesh.targets[t].weight);
    }
    out.extras = tinygltf::Value(tinygltf::Value::Object{{"targetNames", tinygltf::Value(names)}});
  }
  out.primitives.push_back(primitive);
  return out;
}

int AddMaterial(tinygltf::Model& model, BufferBuilder& buffer, const std::string& texturePng,
                const std::string& name) {
  tinygltf::Material material;
  material.name = name;
  material.doubleSided = true;
  material.pbrMetallicRoughness.metallicFactor = 0.0;
  if (!texturePng.empty()) {
    const int image = buffer.AddImage(texturePng);
    switch (buffer.Options().alpha) {
      case GltfAlpha::kOpaque:
        break;
      case GltfAlpha::kBlend:
        material.alphaMode = "BLEND";
        break;
      case GltfAlpha::kMask:
        material.alphaMode = "MASK";
        break;
    }
    // Filtered and repeated as the window's texture is; every texture shares the one sampler.
    if (model.samplers.empty()) {
      tinygltf::Sampler sampler;
      sampler.magFilter = TINYGLTF_TEXTURE_FILTER_LINEAR;
      sampler.minFilter = TINYGLTF_TEXTURE_FILTER_LINEAR;
      model.samplers.push_back(sampler);
    }
    tinygltf::Texture texture;
    texture.sampler = 0;
    texture.source = image;
    model.textures.push_back(texture);
    material.pbrMetallicRoughness.baseColorTexture.index =
        static_cast<int>(model.textures.size() - 1);
  }
  model.materials.push_back(material);
  return static_cast<int>(model.materials.size() - 1);
}

}  // namespace tovmar
