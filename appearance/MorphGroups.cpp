#include "appearance/MorphGroups.h"

#include <string>
#include <vector>

#include "base/Text.h"

namespace tovmar {

namespace {

struct GroupFragments {
  MorphGroup group;
  std::vector<std::string_view> fragments;
};

// In order of precedence: brows before eyes ("eyebrow" begins with "eye"), the features of the
// face before the head they sit on, and the head before the body.
const std::array<GroupFragments, 10>& GroupTable() {
  static const std::array<GroupFragments, 10> table{{
      {MorphGroup::kBrows, {"brow", "eyebrow", "unibrow"}},
      {MorphGroup::kEyes, {"eye", "lash", "lid", "pupil", "iris", "blink", "wink"}},
      {MorphGroup::kNose, {"nose", "nostril", "septum"}},
      {MorphGroup::kMouth, {"mouth", "lip", "smile", "frown", "teeth", "tooth", "tongue", "kiss"}},
      {MorphGroup::kEars, {"ear"}},
      {MorphGroup::kChin, {"chin", "jaw", "jowl"}},
      {MorphGroup::kHead, {"head", "forehead", "face", "cheek", "skull", "temple"}},
      {MorphGroup::kTorso,
       {"torso", "belly", "chest", "breast", "pec", "shoulder", "back", "neck", "waist", "hip",
        "love", "body", "package", "stomach"}},
      {MorphGroup::kArms, {"arm", "hand", "finger", "elbow", "wrist", "forearm"}},
      {MorphGroup::kLegs,
       {"leg", "thigh", "knee", "calf", "calves", "foot", "feet", "ankle", "shin", "butt",
        "saddlebag", "crotch", "lowerbody", "pant", "cuff", "shoe", "heel", "toe", "platform"}},
  }};
  return table;
}

bool IsWordCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

std::vector<std::string_view> Words(std::string_view lower) {
  std::vector<std::string_view> words;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= lower.size(); ++i) {
    if (i < lower.size() && IsWordCharacter(lower[i])) continue;
    if (i > start) words.push_back(lower.substr(start, i - start));
    start = i + 1;
  }
  return words;
}

}  // namespace

MorphGroup GroupOfMorph(std::string_view name) {
  const std::string lower = LowerAscii(name);
  const std::vector<std::string_view> words = Words(lower);
  for (const GroupFragments& entry : GroupTable()) {
    for (const std::string_view word : words) {
      for (const std::string_view fragment : entry.fragments) {
        if (word.starts_with(fragment)) return entry.group;
      }
    }
  }
  return MorphGroup::kOther;
}

const char* MorphGroupCaption(MorphGroup group) {
  switch (group) {
    case MorphGroup::kEyes:
      return "目";
    case MorphGroup::kBrows:
      return "眉";
    case MorphGroup::kNose:
      return "鼻";
    case MorphGroup::kMouth:
      return "口";
    case MorphGroup::kEars:
      return "耳";
    case MorphGroup::kChin:
      return "あご";
    case MorphGroup::kHead:
      return "頭";
    case MorphGroup::kTorso:
      return "胴";
    case MorphGroup::kArms:
      return "腕";
    case MorphGroup::kLegs:
      return "脚";
    case MorphGroup::kOther:
      break;
  }
  return "その他";
}

bool MorphNameMatches(std::string_view name, std::string_view query) {
  return LowerAscii(name).find(LowerAscii(query)) != std::string::npos;
}

}  // namespace tovmar
