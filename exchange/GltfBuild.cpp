#include "exchange/GltfBuild.h"

#include <algorithm>
#include <sstream>
#include <vector>

#include "exchange/ExchangeError.h"

namespace tovmar {

namespace {

// A VEC3 accessor of `count` floats from `first` on in `view`, with their exact least and
// greatest values, which glTF asks of positions and position offsets.
int AddVec3Accessor(tinygltf::Model& model, int view, std::size_t byteOffset, const Vec3* first,
                    std::size_t count) {
  const int index = AddAccessor(model, view, byteOffset, TINYGLTF_COMPONENT_TYPE_FLOAT, count,
                                TINYGLTF_TYPE_VEC3);
  Vec3 low = first[0], high = first[0];
  for (std::size_t i = 1; i < count; ++i) {
    const Vec3& v = first[i];
    low = {std::min(low.x, v.x), std::min(low.y, v.y), std::min(low.z, v.z)};
    high = {std::max(high.x, v.x), std::max(high.y, v.y), std::max(high.z, v.z)};
  }
  model.accessors[static_cast<std::size_t>(index)].minValues = {low.x, low.y, low.z};
  model.accessors[static_cast<std::size_t>(index)].maxValues = {high.x, high.y, high.z};
  return index;
}

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

// The targets' offsets of one kind, all in one view, one accessor each.
std::vector<int> AddTargetOffsets(tinygltf::Model& model, BufferBuilder& buffer,
                                  const GltfMesh& mesh, std::vector<Vec3> GltfMorphTarget::*offsets,
                                  bool withBounds) {
  const std::size_t count = mesh.positions.size();
  std::vector<Vec3> all;
  all.reserve(count * mesh.targets.size());
  for (const GltfMorphTarget& target : mesh.targets) {
    all.insert(all.end(), (target.*offsets).begin(), (target.*offsets).end());
  }
  const int view = buffer.AddView(all.data(), all.size() * sizeof(Vec3),
                                  TINYGLTF_TARGET_ARRAY_BUFFER, sizeof(Vec3));
  std::vector<int> accessors;
  for (std::size_t t = 0; t < mesh.targets.size(); ++t) {
    const std::size_t offset = t * count * sizeof(Vec3);
    accessors.push_back(withBounds ? AddVec3Accessor(model, view, offset, &all[t * count], count)
                                   : AddAccessor(model, view, offset, TINYGLTF_COMPONENT_TYPE_FLOAT,
                                                 count, TINYGLTF_TYPE_VEC3));
  }
  return accessors;
}

}  // namespace

BufferBuilder::BufferBuilder(tinygltf::Model& model) : m_model(model) {
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
  primitive.attributes["POSITION"] =
      AddVec3Accessor(model, positions, 0, mesh.positions.data(), count);
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
    tinygltf::Image image;
    image.mimeType = "image/png";
    image.bufferView = buffer.AddView(texturePng.data(), texturePng.size(), 0, 0);
    model.images.push_back(image);
    // Filtered and repeated as the window's texture is; every texture shares the one sampler.
    if (model.samplers.empty()) {
      tinygltf::Sampler sampler;
      sampler.magFilter = TINYGLTF_TEXTURE_FILTER_LINEAR;
      sampler.minFilter = TINYGLTF_TEXTURE_FILTER_LINEAR;
      model.samplers.push_back(sampler);
    }
    tinygltf::Texture texture;
    texture.sampler = 0;
    texture.source = static_cast<int>(model.images.size() - 1);
    model.textures.push_back(texture);
    material.pbrMetallicRoughness.baseColorTexture.index =
        static_cast<int>(model.textures.size() - 1);
  }
  model.materials.push_back(material);
  return static_cast<int>(model.materials.size() - 1);
}

std::string GlbFileBytes(tinygltf::Model& model) {
  std::ostringstream out;
  tinygltf::TinyGLTF writer;
  if (!writer.WriteGltfSceneToStream(&model, out, false, true)) {
    throw ExchangeError("cannot write the glTF file");
  }
  return out.str();
}

}  // namespace tovmar
