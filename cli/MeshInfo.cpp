#include "cli/MeshInfo.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "base/Text.h"
#include "cli/AvatarOptions.h"
#include "cli/CliError.h"
#include "cli/JsonText.h"
#include "cli/ReadMeshFile.h"
#include "cli/TerminalText.h"

namespace tovmar::cli {

namespace {

// The header bytes up to the first zero byte, as UTF-8.
std::string HeaderText(const LlmMesh& mesh) {
  const auto end = std::find(mesh.header.begin(), mesh.header.end(), '\0');
  return EightBitToUtf8(std::string_view(mesh.header.data(), end - mesh.header.begin()));
}

const char* YesNo(std::uint8_t flag) {
  return flag != 0 ? "yes" : "no";
}
const char* TrueFalse(std::uint8_t flag) {
  return flag != 0 ? "true" : "false";
}

std::string Text(const InspectedMeshFile& file) {
  const LlmMesh& mesh = file.mesh;
  std::string out;
  auto line = [&out](const char* label, const std::string& value) {
    char padded[32];
    std::snprintf(padded, sizeof padded, "%-24s", label);
    out += padded + value + "\n";
  };
  line("File:", PrintableText(mesh.path));
  line("Header:", PrintableText(HeaderText(mesh)));
  line("Weights:", YesNo(mesh.hasWeights));
  line("Detail texture coords:", YesNo(mesh.hasDetailTexCoords));
  line("Vertices:", std::to_string(mesh.numVertices));
  line("Faces:", std::to_string(mesh.numFaces));
  line("Skin joints:", std::to_string(mesh.numSkinJoints));
  line("Morph targets:", std::to_string(mesh.morphTargets.size()));
  line("Remaps:", std::to_string(mesh.numRemaps));
  // What the file lacks, only when it lacks something.
  const LlmReadReport& r = file.report;
  if (!r.IsMesh()) line("Not a mesh:", PrintableText(DescribeNotAMesh(r, mesh)));
  if (r.TailCut()) line("Cut short:", PrintableText(DescribeCut(r, mesh)));
  if (r.skippedMorphRecords > 0) {
    line("Skipped:", "morph records with deltas that are not finite numbers: " +
                         std::to_string(r.skippedMorphRecords));
  }
  if (!mesh.morphTargets.empty()) {
    out += "\n Records  Morph target\n";
    for (const MorphTarget& target : mesh.morphTargets) {
      char count[16];
      std::snprintf(count, sizeof count, "%8d", static_cast<int>(target.numVertices));
      out += count + ("  " + PrintableText(target.DisplayName())) + "\n";
    }
  }
  return out;
}

std::string JsonCount(std::uint64_t value, bool known) {
  return known ? std::to_string(value) : "null";
}

// The section the file ends in, as declared and as present, or null.
std::string JsonCut(const InspectedMeshFile& file) {
  const LlmReadReport& r = file.report;
  if (r.cutIn == LlmSection::kNone) return "null";
  std::string out = "{\"section\": " + JsonString(SectionName(r.cutIn));
  if (r.cutIn == LlmSection::kMorphs && r.cutTarget < file.mesh.morphTargets.size()) {
    out += ", \"target\": " + std::to_string(r.cutTarget);
  }
  out += ", \"declared\": " + JsonCount(r.declared, r.countWhole);
  out += ", \"present\": " + std::to_string(r.present);
  out += ", \"description\": " + JsonString(DescribeCut(r, file.mesh)) + "}";
  return out;
}

std::string Json(const InspectedMeshFile& file) {
  const LlmMesh& mesh = file.mesh;
  const LlmReadReport& r = file.report;
  std::string out = "{\"path\": " + JsonString(mesh.path);
  out += ", \"header\": " + JsonString(HeaderText(mesh));
  out += ", \"hasWeights\": " + std::string(TrueFalse(mesh.hasWeights));
  out += ", \"hasDetailTexCoords\": " + std::string(TrueFalse(mesh.hasDetailTexCoords));
  out += ", \"vertices\": " + std::to_string(mesh.numVertices);
  out += ", \"faces\": " + std::to_string(mesh.numFaces);
  out += ", \"joints\": " + std::to_string(mesh.numSkinJoints);
  out += ", \"remaps\": " + std::to_string(mesh.numRemaps);
  out += ", \"morphs\": [";
  for (std::size_t i = 0; i < mesh.morphTargets.size(); ++i) {
    const MorphTarget& target = mesh.morphTargets[i];
    if (i > 0) out += ", ";
    out += "{\"name\": " + JsonString(target.DisplayName()) +
           ", \"records\": " + std::to_string(target.numVertices) + "}";
  }
  out += "]";
  out += ", \"isMesh\": " + std::string(TrueFalse(r.IsMesh()));
  out += ", \"cut\": " + JsonCut(file);
  out += ", \"nonFiniteValues\": " + std::to_string(r.nonFiniteVertexValues);
  out += ", \"skippedRecords\": " + std::to_string(r.skippedMorphRecords);
  out += "}\n";
  return out;
}

}  // namespace

int RunMeshInfo(const ParsedArgs& args) {
  RefuseAvatarOptionsAlone("info", args);
  if (args.positionals.size() != 1) throw CliError("info: expected one mesh file");
  const InspectedMeshFile file = InspectMeshFile(args.positionals[0]);
  const std::string out = args.Has("--json") ? Json(file) : Text(file);
  std::fwrite(out.data(), 1, out.size(), stdout);
  return kExitSuccess;
}

}  // namespace tovmar::cli
