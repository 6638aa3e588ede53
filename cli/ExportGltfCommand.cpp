// tovmar-cli export-gltf: mesh files with every morph target as one glTF 2.0 binary file, for
// modelling tools and game engines.
#include <string>
#include <vector>

#include "base/FileBytes.h"
#include "base/MessageSink.h"
#include "base/Text.h"
#include "cli/AvatarCommands.h"
#include "cli/AvatarInput.h"
#include "cli/CliError.h"
#include "cli/Command.h"
#include "cli/GltfOutput.h"
#include "cli/MorphSettings.h"
#include "cli/OutputIsInput.h"
#include "cli/PngOptions.h"
#include "cli/ReadMeshFile.h"
#include "cli/ReplaceFile.h"
#include "cli/TexturePng.h"
#include "exchange/GltfMesh.h"
#include "exchange/GltfWriter.h"

namespace tovmar::cli {

namespace {

constexpr OptionInfo kOptions[] = {
    {"--add", "", "OTHER.llm",
     "Put another body part into the file as a node of its own, in its own coordinates; "
     "repeatable.",
     true},
    kAppearanceOption,
    kArchetypeOption,
    kWeightOption,
    {"--texture", "", "IMAGE",
     "Embed this image (PNG, JPEG, TGA, BMP and other types) as PNG, the base colour texture "
     "of FILE.llm's mesh.",
     false},
    kAvatarOption,
    kPartTextureOption,
    kWithSkirtOption,
    kAlphaOption,
    kBakeOption,
    kSeparateOption,
    kCompressionOption,
    {"-o", "--output", "OUT.glb|OUT.gltf",
     "The glTF file to write: JSON for a name ending in .gltf, binary otherwise, - for binary on "
     "standard output (required).",
     false},
};

int RunExportGltf(const ParsedArgs& args) {
  if (args.Has("--avatar")) return RunAvatarExportGltf(args);
  RefuseAvatarOptionsAlone("export-gltf", args);
  if (args.positionals.size() != 1) throw CliError("export-gltf: expected one mesh file");
  const std::string* output = args.Value("-o");
  if (output == nullptr) throw CliError("export-gltf: missing -o OUT.glb");
  RefuseInputAsOutput(*output, args);
  const PngCompression compression = CompressionOption(args);
  const GltfFileOptions fileOptions = ReadGltfFileOptions(args, *output);
  const MorphSettings settings = ReadMorphSettings(args);
  std::vector<std::string> paths = {args.positionals[0]};
  for (const std::string& part : args.Values("--add")) paths.push_back(part);

  // Every part is read and its weights set before anything is built; a --weight must name a
  // target of at least one part.
  std::vector<LlmMesh> meshes;
  std::vector<bool> named(settings.weights.size(), false);
  std::uint64_t bytes = 0;
  for (const std::string& path : paths) {
    LlmMesh& mesh = meshes.emplace_back(ReadMeshFile(path));
    const std::vector<bool> matched = SetMorphWeights(mesh, settings);
    for (std::size_t i = 0; i < matched.size(); ++i) named[i] = named[i] || matched[i];
    bytes += GltfBytesNeeded(mesh);
  }
  for (std::size_t i = 0; i < named.size(); ++i) {
    if (!named[i]) throw CliError("no morph target named '" + settings.weights[i].name + "'");
  }
  RefuseGltfPastBudget("the meshes", bytes);

  // Each part is named after its file; records that name no vertex are reported as the
  // deformation reports them.
  std::vector<GltfMesh> parts;
  for (std::size_t i = 0; i < meshes.size(); ++i) {
    const std::string name = EightBitToUtf8(PathToUtf8(PathFromUtf8(paths[i]).stem()));
    parts.push_back(MakeGltfMesh(meshes[i], name, paths[i]));
    if (parts.back().droppedRecords > 0) ShowMessage("インデックス数上限を超えています");
    if (args.Has("--bake")) BakeMorphs(parts.back());
  }
  const std::string* texture = args.Value("--texture");
  const std::string png = texture == nullptr ? ""
                                             : TexturePng(*texture, compression,
                                                          fileOptions.alpha != GltfAlpha::kOpaque);
  WriteGltfFiles(*output, WriteGltf(parts, png, fileOptions), args);
  return kExitSuccess;
}

}  // namespace

const Command& ExportGltfCommand() {
  static const Command kCommand{
      "export-gltf",
      "FILE.llm [--add OTHER.llm]... [--appearance FILE-or-URL [--archetype NAME]] [--weight "
      "NAME=VALUE]... "
      "[--texture IMAGE] [--alpha blend|mask] [--bake] [--separate] [--compression fast|small] "
      "-o OUT.glb|OUT.gltf",
      "Write meshes with every morph target, weighted as set, as a glTF 2.0 file; with --avatar, "
      "the whole avatar with its skeleton and skin.",
      kOptions,
      RunExportGltf,
      "--avatar DIR [--with-skirt] [--part-texture PART=IMAGE]... [--appearance FILE-or-URL "
      "[--archetype NAME]] "
      "[--weight NAME=VALUE]... [--alpha blend|mask] [--bake] [--separate] "
      "[--compression fast|small] -o OUT.glb|OUT.gltf"};
  return kCommand;
}

}  // namespace tovmar::cli
