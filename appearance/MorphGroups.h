// Where a morph target belongs on the body, read from the words of its name, and finding targets
// by part of their name: how the shape editor sorts and filters its list.
#pragma once

#include <array>
#include <string_view>

namespace tovmar {

// In the order the editor lists them.
enum class MorphGroup {
  kEyes,
  kBrows,
  kNose,
  kMouth,
  kEars,
  kChin,
  kHead,
  kTorso,
  kArms,
  kLegs,
  kOther
};

inline constexpr std::array<MorphGroup, 11> kMorphGroups{
    MorphGroup::kEyes, MorphGroup::kBrows, MorphGroup::kNose, MorphGroup::kMouth,
    MorphGroup::kEars, MorphGroup::kChin,  MorphGroup::kHead, MorphGroup::kTorso,
    MorphGroup::kArms, MorphGroup::kLegs,  MorphGroup::kOther};

// The group of the target named `name` (UTF-8): the name is split into words at every character
// that is no ASCII letter or digit, and the first group, in a fixed order of precedence, with a
// word that begins with one of its fragments wins ("Arced_Eyebrows" is a brow, "Shear_Head" a
// head, not an ear). Names with no such word are kOther.
MorphGroup GroupOfMorph(std::string_view name);

// The group's Japanese caption (UTF-8): "目", "眉", "鼻", "口", "耳", "あご", "頭", "胴", "腕",
// "脚", "その他".
const char* MorphGroupCaption(MorphGroup group);

// Whether `name` holds `query`, A-Z compared without letter case; an empty query matches all.
bool MorphNameMatches(std::string_view name, std::string_view query);

}  // namespace tovmar
