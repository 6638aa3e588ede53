// Loading an avatar from the world's character folder.
#pragma once

#include <string>
#include <vector>

#include "avatar/Avatar.h"

namespace tovmar {

// The skeleton file of a character folder.
inline constexpr const char* kSkeletonFileName = "avatar_skeleton.xml";

struct AvatarLoadOptions {
  // The skirt is a part only when asked for.
  bool withSkirt = false;
};

struct AvatarLoadResult {
  bool ok = false;
  Avatar avatar;
  // English sentences naming the file: why nothing was loaded when not ok.
  std::string error;
  // Parts left out although their file is there (not a mesh, unreadable, or eyes the skeleton
  // cannot place), one English sentence each.
  std::vector<std::string> warnings;
};

// Reads `folder` (UTF-8): the skeleton from avatar_skeleton.xml and each part from its
// avatar_PART.llm file (level-of-detail files avatar_PART_N.llm are not parts). A part whose file
// is missing is absent. Fails when the skeleton file is missing or unreadable, or when no part is
// found.
AvatarLoadResult LoadAvatarFolder(const std::string& folder, const AvatarLoadOptions& options);

}  // namespace tovmar
