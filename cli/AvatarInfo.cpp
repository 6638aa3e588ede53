#include <cstdio>
#include <string>

#include "cli/AvatarCommands.h"
#include "cli/AvatarInput.h"
#include "cli/CliError.h"
#include "cli/JsonText.h"
#include "cli/TerminalText.h"

namespace tovmar::cli {

namespace {

std::string Text(const std::string& folder, const Avatar& avatar) {
  std::string out = "Folder:                 " + PrintableText(folder) + "\n";
  out += "Skeleton bones:         " + std::to_string(avatar.skeleton.bones.size()) + "\n";
  out += "Parts:                  " + std::to_string(avatar.parts.size()) + "\n";
  out += "\n Vertices  Targets  Shown  Part        File\n";
  for (const AvatarPart& part : avatar.parts) {
    char row[64];
    std::snprintf(row, sizeof row, "%9d %8zu %6zu  %-10s  ",
                  static_cast<int>(part.mesh.numVertices), part.mesh.morphTargets.size(),
                  part.placements.size(), std::string(AvatarPartName(part.kind)).c_str());
    out += row + AvatarPartFileName(part.kind) + "\n";
  }
  return out;
}

std::string Json(const std::string& folder, const Avatar& avatar) {
  std::string out = "{\"folder\": " + JsonString(folder);
  out += ", \"bones\": " + std::to_string(avatar.skeleton.bones.size());
  out += ", \"parts\": [";
  for (std::size_t p = 0; p < avatar.parts.size(); ++p) {
    const AvatarPart& part = avatar.parts[p];
    if (p > 0) out += ", ";
    out += "{\"name\": " + JsonString(std::string(AvatarPartName(part.kind)));
    out += ", \"file\": " + JsonString(AvatarPartFileName(part.kind));
    out += ", \"vertices\": " + std::to_string(part.mesh.numVertices);
    out += ", \"faces\": " + std::to_string(part.mesh.numFaces);
    out += ", \"shown\": " + std::to_string(part.placements.size());
    out += ", \"targets\": [";
    for (std::size_t t = 0; t < part.mesh.morphTargets.size(); ++t) {
      if (t > 0) out += ", ";
      out += JsonString(part.mesh.morphTargets[t].DisplayName());
    }
    out += "]}";
  }
  out += "]}\n";
  return out;
}

}  // namespace

int RunAvatarInfo(const ParsedArgs& args) {
  const Avatar avatar = ReadAvatarOption("info", args);
  const std::string& folder = *args.Value("--avatar");
  const std::string out = args.Has("--json") ? Json(folder, avatar) : Text(folder, avatar);
  std::fwrite(out.data(), 1, out.size(), stdout);
  return kExitSuccess;
}

}  // namespace tovmar::cli
