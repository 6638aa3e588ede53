#include "avatar/Avatar.h"

#include "appearance/AppearanceParam.h"
#include "base/Text.h"

namespace tovmar {

std::string_view AvatarPartName(AvatarPartKind kind) {
  switch (kind) {
    case AvatarPartKind::kHead:
      return "head";
    case AvatarPartKind::kUpperBody:
      return "upper_body";
    case AvatarPartKind::kLowerBody:
      return "lower_body";
    case AvatarPartKind::kEyes:
      return "eyes";
    case AvatarPartKind::kEyelashes:
      return "eyelashes";
    case AvatarPartKind::kHair:
      return "hair";
    case AvatarPartKind::kSkirt:
      return "skirt";
  }
  return "";
}

std::optional<AvatarPartKind> AvatarPartFromName(std::string_view name) {
  for (const AvatarPartKind kind : kAvatarPartKinds) {
    if (AvatarPartName(kind) == name) return kind;
  }
  return std::nullopt;
}

std::string AvatarPartFileName(AvatarPartKind kind) {
  // The folder holds one eyeball, drawn twice, in a file named for one eye.
  const std::string_view stem = kind == AvatarPartKind::kEyes ? "eye" : AvatarPartName(kind);
  return "avatar_" + std::string(stem) + ".llm";
}

AvatarPart* Avatar::FindPart(AvatarPartKind kind) {
  for (AvatarPart& part : parts) {
    if (part.kind == kind) return &part;
  }
  return nullptr;
}

const AvatarPart* Avatar::FindPart(AvatarPartKind kind) const {
  for (const AvatarPart& part : parts) {
    if (part.kind == kind) return &part;
  }
  return nullptr;
}

int Avatar::SetMorphWeight(std::string_view name, float weight) {
  const std::string wanted = LowerAscii(name);
  int set = 0;
  for (AvatarPart& part : parts) {
    for (MorphTarget& target : part.mesh.morphTargets) {
      if (LowerAscii(target.DisplayName()) == wanted) {
        target.weight = weight;
        ++set;
      }
    }
  }
  return set;
}

int Avatar::ApplyAppearanceParams(std::vector<AppearanceParam>& params) {
  int set = 0;
  for (AvatarPart& part : parts) set += part.mesh.ApplyAppearanceParams(params);
  return set;
}

std::vector<AvatarPlacement> PlacementsOf(AvatarPartKind kind, const Skeleton& skeleton) {
  if (kind != AvatarPartKind::kEyes) return {AvatarPlacement{}};
  // The eye file holds one eyeball in the frame of its joint: it is drawn at each eye joint.
  const std::vector<Mat4> global = skeleton.GlobalTransforms();
  std::vector<AvatarPlacement> placements;
  for (const std::string_view joint : {"mEyeLeft", "mEyeRight"}) {
    const std::int32_t bone = skeleton.FindBone(joint);
    if (bone >= 0) placements.push_back({global[static_cast<std::size_t>(bone)], bone});
  }
  return placements;
}

}  // namespace tovmar
