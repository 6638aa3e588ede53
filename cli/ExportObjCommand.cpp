// tovmar-cli export-obj: a mesh file, deformed by morph weights, as a Wavefront OBJ file.
#include <string>

#include "cli/CliError.h"
#include "cli/Command.h"
#include "cli/MorphSettings.h"
#include "cli/OutputIsInput.h"
#include "cli/ReadMeshFile.h"
#include "cli/ReplaceFile.h"
#include "exchange/ObjText.h"
#include "mesh/SceneStore.h"

namespace tovmar::cli {

namespace {

constexpr OptionInfo kOptions[] = {
    kAppearanceOption,
    kWeightOption,
    {"-o", "--output", "OUT.obj", "The OBJ file to write, or - for standard output (required).",
     false},
};

int RunExportObj(const ParsedArgs& args) {
  if (args.positionals.size() != 1) throw CliError("export-obj: expected one mesh file");
  const std::string* output = args.Value("-o");
  if (output == nullptr) throw CliError("export-obj: missing -o OUT.obj");
  RefuseInputAsOutput(*output, args);
  const MorphSettings settings = ReadMorphSettings(args);

  const std::string& path = args.positionals[0];
  LlmMesh mesh = ReadMeshFile(path);
  SceneStore& store = SceneStore::Instance();
  BuildDeformedMesh(mesh, store, path, settings);
  WriteOutput(*output, ObjText(mesh, *store.GetMesh(0)));
  return kExitSuccess;
}

}  // namespace

const Command& ExportObjCommand() {
  static const Command kCommand{
      "export-obj", "FILE.llm [--appearance FILE-or-URL] [--weight NAME=VALUE]... -o OUT.obj",
      "Deform a mesh by morph weights and write it as a Wavefront OBJ file.", kOptions,
      RunExportObj};
  return kCommand;
}

}  // namespace tovmar::cli
