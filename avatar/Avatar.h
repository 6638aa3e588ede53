// The whole avatar: the skeleton and the parts of a character folder, each with its mesh, its
// texture and where it is drawn.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "avatar/Skeleton.h"
#include "avatar/Transform.h"
#include "mesh/LlmMesh.h"

namespace tovmar {

struct AppearanceParam;

enum class AvatarPartKind { kHead, kUpperBody, kLowerBody, kEyes, kEyelashes, kHair, kSkirt };

// Every kind, in the order an avatar holds its parts.
inline constexpr std::array<AvatarPartKind, 7> kAvatarPartKinds{
    AvatarPartKind::kHead, AvatarPartKind::kUpperBody, AvatarPartKind::kLowerBody,
    AvatarPartKind::kEyes, AvatarPartKind::kEyelashes, AvatarPartKind::kHair,
    AvatarPartKind::kSkirt};

// The part's name: "head", "upper_body", "lower_body", "eyes", "eyelashes", "hair", "skirt".
std::string_view AvatarPartName(AvatarPartKind kind);

// The kind named `name` (one of the names above, exactly), or nothing.
std::optional<AvatarPartKind> AvatarPartFromName(std::string_view name);

// The name of the part's file in a character folder: "avatar_head.llm", ..., and
// "avatar_eye.llm" for the eyes.
std::string AvatarPartFileName(AvatarPartKind kind);

// One drawn copy of a part's mesh.
struct AvatarPlacement {
  // From the mesh's coordinates to avatar space.
  Mat4 transform;
  // The bone whose global transform `transform` is, or -1 for a part held in avatar space.
  std::int32_t bone = -1;
};

struct AvatarPart {
  AvatarPartKind kind = AvatarPartKind::kHead;
  LlmMesh mesh;
  // The texture image's path (UTF-8), set by the caller; empty for none.
  std::string texturePath;
  // The copies drawn: one at the identity for the parts held in avatar space; for the eyes two,
  // at the global transforms of mEyeLeft and mEyeRight.
  std::vector<AvatarPlacement> placements;
};

class Avatar {
 public:
  Skeleton skeleton;
  // At most one part of each kind, in the order of kAvatarPartKinds.
  std::vector<AvatarPart> parts;

  AvatarPart* FindPart(AvatarPartKind kind);
  const AvatarPart* FindPart(AvatarPartKind kind) const;

  // Sets `weight` on every morph target of every part called `name` (A-Z compared without letter
  // case). Returns how many targets were set.
  int SetMorphWeight(std::string_view name, float weight);

  // Applies an appearance file's records to every part (LlmMesh::ApplyAppearanceParams on each;
  // the records' names are lower-cased in place). Returns how many targets were set in all.
  int ApplyAppearanceParams(std::vector<AppearanceParam>& params);
};

// The placements of a part of `kind` over `skeleton`: the eyes at the eye joints (none when the
// skeleton lacks both), every other part once at the identity.
std::vector<AvatarPlacement> PlacementsOf(AvatarPartKind kind, const Skeleton& skeleton);

}  // namespace tovmar
