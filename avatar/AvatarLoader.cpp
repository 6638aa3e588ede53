#include "avatar/AvatarLoader.h"

#include <filesystem>
#include <system_error>

#include "avatar/SkeletonReader.h"
#include "base/FileBytes.h"
#include "mesh/LlmFile.h"
#include "mesh/LlmReadReport.h"

namespace tovmar {

namespace {

std::string PartFileList() {
  std::string list;
  for (const AvatarPartKind kind : kAvatarPartKinds) {
    if (!list.empty()) list += ", ";
    list += AvatarPartFileName(kind);
  }
  return list;
}

// Reads the part file at `path` into `part`; false, with a sentence in `warning`, when the file
// cannot be read or is not a mesh.
bool ReadPart(const std::string& path, AvatarPart& part, std::string& warning) {
  LlmReadReport report;
  switch (ReadLlmFile(path, part.mesh, report)) {
    case LlmFileStatus::kRead:
      if (report.IsMesh()) return true;
      warning = "The part file " + path + " is left out: " + DescribeNotAMesh(report, part.mesh);
      return false;
    case LlmFileStatus::kCannotOpen:
      warning = "The part file " + path + " is left out: it cannot be opened.";
      return false;
    case LlmFileStatus::kNotRegularFile:
      warning = "The part file " + path + " is left out: it is not a regular file.";
      return false;
    case LlmFileStatus::kTooLarge:
      warning = "The part file " + path + " is left out: it is far too large for a mesh file.";
      return false;
    case LlmFileStatus::kReadError:
      break;
  }
  warning = "The part file " + path + " is left out: it cannot be read.";
  return false;
}

}  // namespace

AvatarLoadResult LoadAvatarFolder(const std::string& folder, const AvatarLoadOptions& options) {
  AvatarLoadResult result;
  const std::filesystem::path dir = PathFromUtf8(folder);
  std::error_code ec;
  if (!std::filesystem::is_directory(dir, ec)) {
    result.error = "The character folder " + folder + " is not a folder.";
    return result;
  }
  const std::string skeletonPath = PathToUtf8(dir / kSkeletonFileName);
  if (!std::filesystem::exists(PathFromUtf8(skeletonPath), ec)) {
    result.error = "The character folder " + folder + " holds no " + kSkeletonFileName + ".";
    return result;
  }
  SkeletonReadResult skeleton = ReadSkeletonFile(skeletonPath);
  if (!skeleton.ok) {
    result.error = std::move(skeleton.error);
    return result;
  }
  result.avatar.skeleton = std::move(skeleton.skeleton);

  // Only the names of the parts are looked for, so the level-of-detail files beside them
  // (avatar_lower_body_1.llm and the like) are never taken for parts.
  for (const AvatarPartKind kind : kAvatarPartKinds) {
    if (kind == AvatarPartKind::kSkirt && !options.withSkirt) continue;
    const std::string path = PathToUtf8(dir / AvatarPartFileName(kind));
    if (!std::filesystem::exists(PathFromUtf8(path), ec)) continue;
    AvatarPart part;
    part.kind = kind;
    std::string warning;
    if (!ReadPart(path, part, warning)) {
      result.warnings.push_back(std::move(warning));
      continue;
    }
    part.placements = PlacementsOf(kind, result.avatar.skeleton);
    if (part.placements.empty()) {
      result.warnings.push_back("The eyes are left out: the skeleton " + skeletonPath +
                                " has neither mEyeLeft nor mEyeRight.");
      continue;
    }
    result.avatar.parts.push_back(std::move(part));
  }
  if (result.avatar.parts.empty()) {
    result.error =
        "The character folder " + folder + " holds none of the part files " + PartFileList() + ".";
    result.avatar = Avatar();
    return result;
  }
  result.ok = true;
  return result;
}

}  // namespace tovmar
