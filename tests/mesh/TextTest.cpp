// Decoding 8-bit names and lower-casing A-Z.
#include <gtest/gtest.h>

#include <string>

#include "base/Text.h"
#include "mesh/LlmMesh.h"
#include "tools/LlmWriter.h"

namespace tovmar {
namespace {

TEST(Text, ValidUtf8IsKeptAndAnythingElseIsReadAsLatin1) {
  EXPECT_EQ(EightBitToUtf8(""), "");
  EXPECT_EQ(EightBitToUtf8("Big_Belly_Legs"), "Big_Belly_Legs");
  EXPECT_EQ(EightBitToUtf8("笑顔 \xF0\x9F\x98\x80"), "笑顔 \xF0\x9F\x98\x80");
  EXPECT_EQ(EightBitToUtf8("\xE9t\xE9"), "été");
  // One bad byte makes the whole name Latin-1, the valid sequence before it included.
  EXPECT_EQ(EightBitToUtf8("caf\xC3\xA9\xFF"), "cafÃ©ÿ");
  // Overlong forms, surrogates, values past U+10FFFF and cut sequences are not UTF-8.
  EXPECT_EQ(EightBitToUtf8("\xC0\x80"), "\xC3\x80\xC2\x80");
  EXPECT_EQ(EightBitToUtf8("\xED\xA0\x80"), "\xC3\xAD\xC2\xA0\xC2\x80");
  EXPECT_EQ(EightBitToUtf8("\xF4\x90\x80\x80"), "\xC3\xB4\xC2\x90\xC2\x80\xC2\x80");
  EXPECT_EQ(EightBitToUtf8("a\xE3\x81"), "a\xC3\xA3\xC2\x81");
}

TEST(Text, LowerAsciiChangesOnlyAToZ) {
  EXPECT_EQ(LowerAscii("@AZ[ az Big_Belly"), "@az[ az big_belly");
  EXPECT_EQ(LowerAscii("ÉΩ笑"), "ÉΩ笑");
}

TEST(Text, MorphTargetNameShowsUpToItsFirstZero) {
  MorphTarget t = MakeMorphTarget(std::string("Fat\xE9_Legs\0tail", 14), {});
  EXPECT_EQ(t.DisplayName(), "Fat\xC3\xA9_Legs");

  // A slot written to its last byte still shows only the 64 bytes of the name block.
  t.name.fill('x');
  EXPECT_EQ(t.DisplayName(), std::string(64, 'x'));
}

}  // namespace
}  // namespace tovmar
