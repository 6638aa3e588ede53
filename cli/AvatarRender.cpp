#include <memory>
#include <string>
#include <vector>

#include "avatar/AvatarScene.h"
#include "cli/AvatarCommands.h"
#include "cli/AvatarInput.h"
#include "cli/CliError.h"
#include "cli/OutputIsInput.h"
#include "cli/ReplaceFile.h"
#include "cli/TextureImage.h"
#include "mesh/SceneStore.h"
#include "render/OffscreenContext.h"
#include "render/RenderImage.h"
#include "render/ShownPositions.h"
#include "texture/decode/PngWriter.h"

namespace tovmar::cli {

namespace {

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
  for (const AvatarPart& part : avatar.parts) {
    const std::vector<std::int32_t> ids = AddAvatarPart(part, AvatarPartPath(args, part), store);
    if (part.texturePath.empty()) continue;
    const std::int32_t texture = TextureId(store, part.texturePath);
    for (const std::int32_t id : ids) store.FindMesh(id)->SetTextureId(texture);
  }
  CentreAvatarFigure(store);

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
