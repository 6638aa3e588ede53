#include "cli/RenderScene.h"

#include <utility>

#include "cli/ReadMeshFile.h"
#include "cli/TextureImage.h"
#include "mesh/ApplyMorphs.h"
#include "mesh/MeshLoad.h"

namespace tovmar::cli {

namespace {

// The factor by which building a mesh object scales the centred positions.
constexpr float kPositionScale = 5.0f;

// Places `object`, built from `mesh`, about `centre` instead of its own centre, with the same
// arithmetic as building it.
void Recentre(MeshObject& object, const LlmMesh& mesh, const Vec3& centre) {
  for (std::int32_t i = 0; i < object.PositionCount(); ++i) {
    Vec3 p = mesh.coords[static_cast<std::size_t>(i)];
    p -= centre;
    p *= kPositionScale;
    object.positions[static_cast<std::size_t>(i)] = p;
  }
  object.center = centre;
}

// Moves what drawing reads from `from` to `to`, an object of another store.
void MoveDrawing(MeshObject& from, MeshObject& to) {
  to.header.name = from.header.name;
  to.drawStyle = from.drawStyle;
  to.positions = std::move(from.positions);
  to.normals = std::move(from.normals);
  to.texCoords = std::move(from.texCoords);
  to.indices = std::move(from.indices);
  to.flags = from.flags;
  to.center = from.center;
}

}  // namespace

SharedScene::SharedScene(MorphSettings morphs, const std::string& texture,
                         const std::vector<PartFiles>& parts)
    : m_morphs(std::move(morphs)), m_namedByParts(m_morphs.weights.size(), false) {
  m_firstTexture = Texture(texture);
  for (const PartFiles& files : parts) {
    Part part{files.mesh, ReadMeshFile(files.mesh), -1};
    const std::vector<bool> named = SetMorphWeights(part.mesh, m_morphs);
    for (std::size_t i = 0; i < named.size(); ++i)
      m_namedByParts[i] = m_namedByParts[i] || named[i];
    part.texture = Texture(files.texture);
    m_parts.push_back(std::move(part));
  }
}

std::uint64_t SharedScene::TextureBytes() const {
  std::uint64_t bytes = 0;
  for (const TextureObject& texture : m_textures) bytes += texture.Pixels().size();
  return bytes;
}

int SharedScene::Texture(const std::string& path) {
  if (path.empty()) return -1;
  for (std::size_t i = 0; i < m_textures.size(); ++i) {
    if (m_textures[i].sourcePath == path) return static_cast<int>(i);
  }
  m_textures.push_back(LoadTextureFile(path));
  return static_cast<int>(m_textures.size() - 1);
}

PictureScene::PictureScene(const SharedScene& shared) : m_shared(shared) {
  for (const TextureObject& source : shared.m_textures) {
    const std::int32_t id = m_store.CreateTexture();
    TextureObject* texture = m_store.FindTexture(id);
    texture->sourcePath = source.sourcePath;
    // The same picture: a context that drew it from one scene draws it from every other.
    texture->CopyPicture(source);
    m_textureIds.push_back(id);
  }
}

void PictureScene::Build(const std::string& path) {
  // Without weights to set, the morph section would only be read to be left unused.
  const MorphSettings& morphs = m_shared.m_morphs;
  const bool deforms = !morphs.appearance.empty() || !morphs.weights.empty();
  LlmMesh mesh = ReadMeshFile(path, deforms ? LlmSections::kAll : LlmSections::kDrawing);

  // The textures stay in the store while the mesh objects that wore them go.
  for (std::size_t i = 0; i < m_store.MeshCount(); ++i) m_store.GetMesh(i)->SetTextureId(-1);
  BuildMeshObjects(mesh, m_store, path);

  // A --weight must name a target of the mesh or of a part.
  std::vector<bool> named = SetMorphWeights(mesh, m_shared.m_morphs);
  for (std::size_t i = 0; i < named.size(); ++i) named[i] = named[i] || m_shared.m_namedByParts[i];
  RefuseUnnamedWeights(m_shared.m_morphs, named);
  ApplyMorphs(mesh, m_store, false);

  const Vec3 centre = m_store.GetMesh(0)->center;
  if (m_shared.m_firstTexture >= 0) {
    m_store.GetMesh(0)->SetTextureId(
        m_textureIds[static_cast<std::size_t>(m_shared.m_firstTexture)]);
  }
  for (const SharedScene::Part& part : m_shared.m_parts) AddPart(part, centre);
}

void PictureScene::AddPart(const SharedScene::Part& part, const Vec3& centre) {
  MeshObject* placed = m_store.FindMesh(m_store.CreateMesh());

  // The part is built and deformed in a store of its own, where it is mesh objects 0 and 1 as
  // the deformation expects, and only its deformed object comes over.
  SceneStore own;
  BuildMeshObjects(part.mesh, own, part.path);
  Recentre(*own.GetMesh(0), part.mesh, centre);
  Recentre(*own.GetMesh(1), part.mesh, centre);
  ApplyMorphs(part.mesh, own, false);
  MoveDrawing(*own.GetMesh(0), *placed);
  if (part.texture >= 0) {
    placed->SetTextureId(m_textureIds[static_cast<std::size_t>(part.texture)]);
  }
}

}  // namespace tovmar::cli
