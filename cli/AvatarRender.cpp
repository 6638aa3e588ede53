#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "cli/AvatarCommands.h"
#include "cli/AvatarInput.h"
#include "cli/CliError.h"
#include "cli/OutputIsInput.h"
#include "cli/ReplaceFile.h"
#include "cli/TextureImage.h"
#include "mesh/ApplyMorphs.h"
#include "mesh/MeshLoad.h"
#include "mesh/SceneStore.h"
#include "render/OffscreenContext.h"
#include "render/RenderImage.h"
#include "render/ShownPositions.h"
#include "texture/decode/PngWriter.h"

namespace tovmar::cli {

namespace {

// The factor by which building a mesh object scales positions, as the window draws them.
constexpr float kPositionScale = 5.0f;

// The texture of `path` in `store`, loaded once however many parts wear it.
std::int32_t TextureId(SceneStore& store, const std::string& path) {
  for (std::size_t i = 0; i < store.TextureCount(); ++i) {
    const TextureObject* texture = store.GetTexture(i);
    if (texture->sourcePath == path) return texture->header.id;
  }
  TextureObject loaded = LoadTextureFile(path);
  const std::int32_t id = store.CreateTexture();
  TextureObject* texture = store.FindTexture(id);
  texture->sourcePath = loaded.sourcePath;
  texture->TakePicture(loaded);
  return id;
}

// Adds a drawn object for every placement of `part` to `store`, deformed by the part's weights,
// with positions in avatar space and not yet scaled.
void AddPart(const AvatarPart& part, const std::string& path, SceneStore& store) {
  // The part is built and deformed in a store of its own, where it is mesh objects 0 and 1 as
  // the deformation expects, placed at the origin so that its positions stay the file's.
  SceneStore own;
  BuildMeshObjects(part.mesh, own, path);
  for (std::size_t k = 0; k < 2; ++k) {
    MeshObject& object = *own.GetMesh(k);
    const std::size_t count = std::min(object.positions.size(), part.mesh.coords.size());
    for (std::size_t i = 0; i < count; ++i) {
      Vec3 p = part.mesh.coords[i];
      p *= kPositionScale;
      object.positions[i] = p;
    }
  }
  ApplyMorphs(part.mesh, own, false);
  const MeshObject& source = *own.GetMesh(0);
  for (const AvatarPlacement& placement : part.placements) {
    const std::int32_t id = store.CreateMesh();
    MeshObject& placed = *store.FindMesh(id);
    placed.header.name = source.header.name;
    placed.drawStyle = source.drawStyle;
    placed.texCoords = source.texCoords;
    placed.indices = source.indices;
    placed.flags = source.flags;
    for (const Vec3& q : source.positions) {
      placed.positions.push_back(placement.transform.TransformPoint(
          {q.x / kPositionScale, q.y / kPositionScale, q.z / kPositionScale}));
    }
    for (const Vec3& n : source.normals) {
      Vec3 turned = placement.transform.TransformDirection(n);
      const float length =
          std::sqrt(turned.x * turned.x + turned.y * turned.y + turned.z * turned.z);
      if (length > 0.0f && std::isfinite(length)) turned *= 1.0f / length;
      placed.normals.push_back(turned);
    }
    if (!part.texturePath.empty()) placed.SetTextureId(TextureId(store, part.texturePath));
  }
}

// Centres every object of `store` on the middle of the whole figure's bounds and scales it as
// the window does, so that the parts keep their places relative to one another.
void CentreFigure(SceneStore& store) {
  Vec3 low{INFINITY, INFINITY, INFINITY}, high{-INFINITY, -INFINITY, -INFINITY};
  for (std::size_t m = 0; m < store.MeshCount(); ++m) {
    for (const Vec3& p : store.GetMesh(m)->positions) {
      if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) continue;
      low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
      high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
    }
  }
  if (!(low.x <= high.x)) return;
  const Vec3 centre{(low.x + high.x) / 2, (low.y + high.y) / 2, (low.z + high.z) / 2};
  for (std::size_t m = 0; m < store.MeshCount(); ++m) {
    MeshObject& object = *store.GetMesh(m);
    for (Vec3& p : object.positions) {
      p -= centre;
      p *= kPositionScale;
    }
    object.center = centre;
  }
}

}  // namespace

int RunAvatarRender(const ParsedArgs& args, const AvatarPicture& picture) {
  for (const char* option : {"--add", "--add-texture", "--texture"}) {
    if (args.Has(option)) {
      throw CliError(std::string("render: ") + option +
                     " cannot be used with --avatar; use --part-texture PART=IMAGE");
    }
  }
  const std::string& output = *args.Value("-o");
  RefuseInputAsOutput(output, args);
  const Avatar avatar = ReadAvatarOption("render", args);

  SceneStore store;
  for (const AvatarPart& part : avatar.parts) AddPart(part, AvatarPartPath(args, part), store);
  CentreFigure(store);

  std::string error;
  const std::unique_ptr<OffscreenContext> context = OffscreenContext::Create(error);
  if (context == nullptr) throw CliError("render: " + error);
  ViewCamera camera = picture.camera;
  if (picture.frame) {
    FramePoints(camera, ShownPositions(store, camera.shown),
                static_cast<float>(picture.width) / static_cast<float>(picture.height));
  }
  const std::vector<std::uint8_t> rgb =
      RenderSceneToRgb(*context, camera, picture.width, picture.height, store, error);
  if (rgb.empty()) throw CliError("cannot draw the avatar: " + error);
  const std::string png = EncodePngRgb(rgb, picture.width, picture.height, picture.compression);
  if (png.empty()) throw CliError("cannot encode the picture of the avatar as PNG");
  WriteOutput(output, png);
  return kExitSuccess;
}

}  // namespace tovmar::cli
