// tovmar-cli export-obj: a mesh file, deformed by morph weights, as a Wavefront OBJ file.
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "base/FileBytes.h"

#include "cli/CliError.h"
#include "cli/Command.h"
#include "cli/MorphSettings.h"
#include "cli/OutputIsInput.h"
#include "cli/ReadMeshFile.h"
#include "cli/ReplaceFile.h"
#include "exchange/ObjMaterial.h"
#include "exchange/ObjText.h"
#include "mesh/SceneStore.h"

namespace tovmar::cli {

namespace {

constexpr OptionInfo kOptions[] = {
    kAppearanceOption,
    kArchetypeOption,
    kWeightOption,
    {"--up", "", "z|y",
     "The axis that points up: z as in the mesh file (default), or y as glTF, Blender's importer "
     "and three.js expect.",
     false},
    {"--texture", "", "IMAGE",
     "Write OUT.mtl beside the OBJ file, a material whose map_Kd names this image, and name it "
     "in the OBJ file.",
     false},
    {"-o", "--output", "OUT.obj", "The OBJ file to write, or - for standard output (required).",
     false},
};

int RunExportObj(const ParsedArgs& args) {
  if (args.positionals.size() != 1) throw CliError("export-obj: expected one mesh file");
  const std::string* output = args.Value("-o");
  if (output == nullptr) throw CliError("export-obj: missing -o OUT.obj");
  RefuseInputAsOutput(*output, args);
  ObjOptions options;
  if (const std::string* up = args.Value("--up")) {
    if (*up != "z" && *up != "y") throw CliError("malformed --up '" + *up + "': expected z or y");
    options.yUp = *up == "y";
  }
  std::optional<ObjMaterial> material;
  if (const std::string* texture = args.Value("--texture")) {
    if (*output == kStandardOutput) {
      throw CliError("export-obj: --texture needs an output file to put the .mtl file beside");
    }
    std::error_code ec;
    if (!std::filesystem::is_regular_file(PathFromUtf8(*texture), ec)) {
      throw CliError("cannot open '" + *texture + "': no such file");
    }
    material = MakeObjMaterial(*output, *texture, options);
    RefuseInputAsOutput(material->path, args);
  }
  const MorphSettings settings = ReadMorphSettings(args);

  const std::string& path = args.positionals[0];
  LlmMesh mesh = ReadMeshFile(path);
  SceneStore& store = SceneStore::Instance();
  BuildDeformedMesh(mesh, store, path, settings);
  if (material) WriteOutput(material->path, material->text);
  WriteOutput(*output, ObjText(mesh, *store.GetMesh(0), options));
  return kExitSuccess;
}

}  // namespace

const Command& ExportObjCommand() {
  static const Command kCommand{
      "export-obj",
      "FILE.llm [--appearance FILE-or-URL [--archetype NAME]] [--weight NAME=VALUE]... "
      "[--up z|y] [--texture IMAGE] -o OUT.obj",
      "Deform a mesh by morph weights and write it as a Wavefront OBJ file.", kOptions,
      RunExportObj};
  return kCommand;
}

}  // namespace tovmar::cli
