#include <string>

#include "cli/AvatarCommands.h"
#include "cli/AvatarGltf.h"
#include "cli/AvatarInput.h"
#include "cli/CliError.h"
#include "cli/GltfOutput.h"
#include "cli/OutputIsInput.h"
#include "cli/ReplaceFile.h"
#include "exchange/GltfMesh.h"
#include "exchange/GltfScene.h"

namespace tovmar::cli {

int RunAvatarExportGltf(const ParsedArgs& args) {
  for (const char* option : {"--add", "--texture"}) {
    if (args.Has(option)) {
      throw CliError(std::string("export-gltf: ") + option +
                     " cannot be used with --avatar; use --part-texture PART=IMAGE");
    }
  }
  const std::string* output = args.Value("-o");
  if (output == nullptr) throw CliError("export-gltf: missing -o OUT.glb");
  RefuseInputAsOutput(*output, args);
  const PngCompression compression = CompressionOption(args);
  const GltfFileOptions fileOptions = ReadGltfFileOptions(args, *output);
  const Avatar avatar = ReadAvatarOption("export-gltf", args);

  std::uint64_t bytes = 0;
  for (const AvatarPart& part : avatar.parts) bytes += GltfBytesNeeded(part.mesh);
  RefuseGltfPastBudget("the avatar's parts", bytes);
  GltfScene scene =
      MakeAvatarGltfScene(avatar, compression, fileOptions.alpha != GltfAlpha::kOpaque,
                          [&](const AvatarPart& part) { return AvatarPartPath(args, part); });
  if (args.Has("--bake")) {
    for (GltfPart& part : scene.parts) BakeMorphs(part.mesh);
  }
  WriteGltfFiles(*output, WriteGltf(scene, fileOptions), args);
  return kExitSuccess;
}

}  // namespace tovmar::cli
