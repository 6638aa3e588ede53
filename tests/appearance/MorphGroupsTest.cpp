// Sorting targets into the shape editor's groups by the words of their names, and finding them by
// part of their name.
#include <gtest/gtest.h>

#include "appearance/MorphGroups.h"

namespace tovmar {
namespace {

TEST(MorphGroupsTest, NamesFallIntoTheGroupTheirWordsSay) {
  const struct {
    const char* name;
    MorphGroup group;
  } cases[] = {
      {"Eyelid_Corner_Up", MorphGroup::kEyes},
      {"Wide_Eyes", MorphGroup::kEyes},
      {"Blink_Left", MorphGroup::kEyes},
      {"Arced_Eyebrows", MorphGroup::kBrows},  // not the eyes, though it begins with "Eye"
      {"Big_Brow", MorphGroup::kBrows},
      {"Bulbous_Nose", MorphGroup::kNose},
      {"Lips_Thin", MorphGroup::kMouth},
      {"Mouth_Height", MorphGroup::kMouth},
      {"Big_Ears", MorphGroup::kEars},
      {"Attached_Earlobes", MorphGroup::kEars},
      {"Shear_Head", MorphGroup::kHead},  // "shear" holds "ear" but is no word of it
      {"Double_Chin", MorphGroup::kChin},
      {"Jaw_Angle", MorphGroup::kChin},
      {"Forehead_Angle", MorphGroup::kHead},
      {"Big_Belly_Torso", MorphGroup::kTorso},
      {"NECK_THICKNESS", MorphGroup::kTorso},
      {"Big_Hands", MorphGroup::kArms},
      {"Fat_Legs", MorphGroup::kLegs},
      {"Saddlebags", MorphGroup::kLegs},
      {"Shoe_Heel_Height", MorphGroup::kLegs},
      {"Express_Toothsmile", MorphGroup::kMouth},
      {"Target 042", MorphGroup::kOther},
      {"\xE8\x85\xB9\xE5\x9B\xB2\xE3\x82\x8A", MorphGroup::kOther},  // Japanese
      {"", MorphGroup::kOther},
  };
  for (const auto& c : cases) EXPECT_EQ(GroupOfMorph(c.name), c.group) << c.name;
  EXPECT_STREQ(MorphGroupCaption(MorphGroup::kChin), "あご");
  EXPECT_STREQ(MorphGroupCaption(MorphGroup::kOther), "その他");
}

TEST(MorphGroupsTest, ANameMatchesAnyPartOfItWithoutLetterCase) {
  const struct {
    const char* name;
    const char* query;
    bool matches;
  } cases[] = {
      {"Arced_Eyebrows", "", true},        {"Arced_Eyebrows", "eyeb", true},
      {"Arced_Eyebrows", "ARCED_E", true}, {"Arced_Eyebrows", "arced e", false},
      {"Arced_Eyebrows", "browsx", false}, {"\xE8\x85\xB9\xE5\x9B\xB2", "\xE5\x9B\xB2", true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MorphNameMatches(c.name, c.query), c.matches) << c.name << " / " << c.query;
  }
}

}  // namespace
}  // namespace tovmar
