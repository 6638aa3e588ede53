// Reading the avatar's skeleton file: a linden_skeleton element holding nested bone elements.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "avatar/Skeleton.h"

namespace tovmar {

// The limits a skeleton file must keep; the world's own holds 133 bones nested 14 deep in 43 kB, no
// attribute longer than 40 bytes.
inline constexpr std::uint64_t kMaxSkeletonFileBytes = 4 * 1024 * 1024;
inline constexpr std::size_t kMaxSkeletonBones = 1024;
inline constexpr int kMaxSkeletonDepth = 64;
inline constexpr std::size_t kMaxSkeletonAttributeBytes = 256;

struct SkeletonReadResult {
  bool ok = false;
  Skeleton skeleton;                  // the bones when ok
  std::int32_t collisionVolumes = 0;  // collision_volume elements seen and skipped
  std::string error;                  // an English sentence naming the file when not ok
};

// Reads the skeleton file at `path` (UTF-8). Every bone needs a unique name; pos, rot, scale and
// pivot, when present, hold three finite numbers each (read in the "C" locale) within the sane
// range of an avatar. Anything else, or a file breaking the limits above, gives an error.
SkeletonReadResult ReadSkeletonFile(const std::string& path);

// The same for a document held in memory; `name` stands for the file in the error text.
SkeletonReadResult ReadSkeletonFromMemory(std::string_view xml, const std::string& name);

}  // namespace tovmar
