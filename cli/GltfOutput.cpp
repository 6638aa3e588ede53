#include "cli/GltfOutput.h"

#include <filesystem>

#include "base/FileBytes.h"
#include "base/Text.h"
#include "cli/CliError.h"
#include "cli/OutputIsInput.h"
#include "cli/ReplaceFile.h"

namespace tovmar::cli {

GltfFileOptions ReadGltfFileOptions(const ParsedArgs& args, const std::string& output) {
  GltfFileOptions options;
  const std::filesystem::path path = PathFromUtf8(output);
  const bool json =
      output != kStandardOutput && LowerAscii(PathToUtf8(path.extension())) == ".gltf";
  if (json) {
    options.form = args.Has("--separate") ? GltfForm::kSeparate : GltfForm::kEmbedded;
    options.baseName = PathToUtf8(path.stem());
  } else if (args.Has("--separate")) {
    throw CliError("export-gltf: --separate needs an output file ending in .gltf");
  }
  if (const std::string* alpha = args.Value("--alpha")) {
    if (*alpha == "blend") {
      options.alpha = GltfAlpha::kBlend;
    } else if (*alpha == "mask") {
      options.alpha = GltfAlpha::kMask;
    } else {
      throw CliError("malformed --alpha '" + *alpha + "': expected blend or mask");
    }
  }
  return options;
}

void WriteGltfFiles(const std::string& output, const GltfFiles& files, const ParsedArgs& args) {
  const std::filesystem::path folder = PathFromUtf8(output).parent_path();
  std::vector<std::string> beside;
  for (const auto& [name, bytes] : files.beside) {
    beside.push_back(PathToUtf8(folder / PathFromUtf8(name)));
    RefuseInputAsOutput(beside.back(), args);
  }
  for (std::size_t i = 0; i < beside.size(); ++i) WriteOutput(beside[i], files.beside[i].second);
  WriteOutput(output, files.main);
}

}  // namespace tovmar::cli
