// The whole texture load with a scripted conversion stage: the temporary file, the messages of
// every failure, and what the texture object keeps afterwards.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "base/FileBytes.h"
#include "mesh/TextureObject.h"
#include "tests/support/RecordingMessageSink.h"
#include "tests/texture/TestImages.h"
#include "tests/texture/TextureTestFolder.h"
#include "texture/ImageConverter.h"
#include "tools/LlmWriter.h"

namespace tovmar {
namespace {

// A conversion stage that runs `script` on the temporary file, after noting what it was given
// and what the temporary folder held meanwhile.
class ScriptedConverter : public ImageConverter {
 public:
  explicit ScriptedConverter(std::function<bool(std::FILE*)> script)
      : m_script(std::move(script)) {}

  bool ConvertToBmp(const std::string& source, std::FILE* bmpFile) override {
    sources.push_back(source);
    tempWasEmpty = RegularFileSize(bmpFile) == std::uint64_t{0};
    for (const auto& entry :
         std::filesystem::directory_iterator(std::filesystem::temp_directory_path())) {
      namesInTempFolder.push_back(PathToUtf8(entry.path().filename()));
    }
    return m_script(bmpFile);
  }

  std::vector<std::string> sources;
  std::vector<std::string> namesInTempFolder;
  bool tempWasEmpty = false;

 private:
  std::function<bool(std::FILE*)> m_script;
};

// A script that writes `bytes` and reports success.
std::function<bool(std::FILE*)> Writes(std::string bytes) {
  return [bytes](std::FILE* file) {
    return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  };
}

// A 2 x 2 BMP of 24 bits: bottom row blue, white; top row red, green.
std::string SmallBmp() {
  return MakeBmp(2, 2, 24, std::string("\xFF\0\0\xFF\xFF\xFF\0\0\0\0\xFF\0\xFF\0\0\0", 16));
}

class TextureLoad : public ::testing::Test {
 protected:
  TextureTestFolder folder;
  RecordingMessageSink messages;
};

TEST_F(TextureLoad, FillsTheObjectThroughAnEmptyTemporaryFileThatNeverHasAName) {
  ScriptedConverter converter(Writes(SmallBmp()));
  ScopedImageConverter installed(&converter);
  TextureObject texture;
  for (int load = 0; load < 2; ++load) {
    SCOPED_TRACE(load);
    ASSERT_TRUE(texture.Load("/pictures/skin.tga"));
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(texture.sourcePath, "/pictures/skin.tga");
    EXPECT_EQ(texture.Width(), 2);
    EXPECT_EQ(texture.Height(), 2);
    EXPECT_EQ(texture.Pixels(),
              (PixelBuffer{0, 0, 255, 0, 255, 255, 255, 0, 255, 0, 0, 0, 0, 255, 0, 0}));
    // Each load has a new empty file, which no name in the temporary folder leads to while it
    // is written, so that whatever ends the process leaves nothing behind.
    EXPECT_TRUE(converter.tempWasEmpty);
    EXPECT_TRUE(converter.namesInTempFolder.empty());
    EXPECT_TRUE(folder.LeftoverBmpFiles().empty());
  }
  EXPECT_EQ(converter.sources, std::vector<std::string>(2, "/pictures/skin.tga"));
}

TEST_F(TextureLoad, LargeFilesAreReadInPiecesInEitherRowOrder) {
  // Over a mebibyte of rows, enough pixels for two threads to share an odd number of rows, the
  // last row without its padding; every pixel tells its place.
  const std::int32_t width = 1001;
  const std::int32_t height = 525;
  std::string rows;
  for (std::int32_t r = 0; r < height; ++r) {
    for (std::int32_t c = 0; c < width; ++c) {
      rows += {static_cast<char>(c), static_cast<char>(r >> 8), static_cast<char>(r)};
    }
    if (r + 1 < height) rows.push_back('\xEE');
  }
  for (const bool topDown : {false, true}) {
    SCOPED_TRACE(topDown);
    ScriptedConverter converter(Writes(MakeBmp(width, topDown ? -height : height, 24, rows)));
    ScopedImageConverter installed(&converter);
    TextureObject texture;
    ASSERT_TRUE(texture.Load("/pictures/large.bmp"));
    ASSERT_EQ(texture.Pixels().size(), std::size_t{4} * width * height);
    int mismatches = 0;
    for (std::int32_t row = 0; row < height; ++row) {
      const std::int32_t fileRow = topDown ? height - 1 - row : row;
      for (std::int32_t c = 0; c < width; ++c) {
        const std::uint8_t* p = &texture.Pixels()[4 * (static_cast<std::size_t>(row) * width + c)];
        const bool same =
            p[0] == (fileRow & 0xFF) && p[1] == (fileRow >> 8) && p[2] == (c & 0xFF) && p[3] == 0;
        if (!same) ++mismatches;
      }
    }
    EXPECT_EQ(mismatches, 0);
  }
  EXPECT_TRUE(messages.messages.empty());
}

TEST_F(TextureLoad, EveryFailureShowsItsMessageDeletesTheFileAndEmptiesTheObject) {
  struct Case {
    const char* what;
    std::function<bool(std::FILE*)> script;
    const char* message;
  };
  const std::vector<Case> cases = {
      {"no converter", nullptr, "D3DXCreateTextureFromFile error"},
      {"undecodable", [](std::FILE*) { return false; }, "D3DXCreateTextureFromFile error"},
      {"nothing written", [](std::FILE*) { return true; }, "指定ファイルが読み込めませんでした。"},
      {"short header", Writes(SmallBmp().substr(0, 29)), "指定ファイルが読み込めませんでした。"},
      {"short rows", Writes(SmallBmp().substr(0, 67)), "指定ファイルが読み込めませんでした。"},
      {"zero height", Writes(MakeBmp(2, 0, 24, "")), "指定ファイルが読み込めませんでした。"},
      {"too wide", Writes(MakeBmp(16385, 1, 24, "")), "画像が大きすぎます。"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TextureObject texture;
    {
      ScriptedConverter good(Writes(SmallBmp()));
      ScopedImageConverter installed(&good);
      ASSERT_TRUE(texture.Load("/pictures/old.png"));
    }
    ScriptedConverter converter(c.script);
    ScopedImageConverter installed(c.script ? &converter : nullptr);
    messages.messages.clear();

    EXPECT_FALSE(texture.Load("/pictures/new.png"));
    EXPECT_EQ(messages.messages, std::vector<std::string>{c.message});
    EXPECT_FALSE(texture.HasPixels());
    EXPECT_EQ(texture.sourcePath, "");
    EXPECT_EQ(texture.Width(), 2);
    EXPECT_EQ(texture.Height(), 2);
    EXPECT_TRUE(folder.LeftoverBmpFiles().empty());
  }
}

TEST_F(TextureLoad, AMissingOrUnwritableTemporaryFolderStopsBeforeConversion) {
  ScriptedConverter converter(Writes(SmallBmp()));
  ScopedImageConverter installed(&converter);
  TextureObject texture;

  folder.SetTempFolder(folder.Temp() / "missing");
  EXPECT_FALSE(texture.Load("/pictures/skin.tga"));
  EXPECT_EQ(messages.messages, std::vector<std::string>{"テンポラリファイルパスが見つかりません"});

  // Owner permissions do not bind a privileged user; /proc accepts no new files from anyone.
  std::filesystem::permissions(
      folder.Temp(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  const bool stillWritable = access(folder.Temp().c_str(), W_OK) == 0;
  folder.SetTempFolder(stillWritable ? std::filesystem::path("/proc") : folder.Temp());
  messages.messages.clear();
  EXPECT_FALSE(texture.Load("/pictures/skin.tga"));
  EXPECT_EQ(messages.messages,
            std::vector<std::string>{"テンポラリファイルが作成できませんでした。"});

  EXPECT_TRUE(converter.sources.empty());
  EXPECT_FALSE(texture.HasPixels());
}

TEST(TextureObjectPixels, AllocatesZeroedPixelsWithinTheSizeLimit) {
  TextureObject texture;
  ASSERT_TRUE(texture.AllocatePixels(3, 2));
  EXPECT_EQ(texture.Pixels(), PixelBuffer(24, 0));
  EXPECT_EQ(texture.Width(), 3);
  EXPECT_EQ(texture.Height(), 2);

  for (auto [w, h] : {std::pair{-1, 2}, {2, -1}, {16385, 1}, {1, 16385}}) {
    EXPECT_FALSE(texture.AllocatePixels(w, h));
    EXPECT_FALSE(texture.HasPixels());
    EXPECT_EQ(texture.Width(), 3);
    EXPECT_EQ(texture.Height(), 2);
  }
}

// A drawing context knows a picture by its generation: every change of the picture renews it, a
// refused change keeps it, and a copy of the same picture takes it along.
TEST(TextureObjectPixels, EveryChangeOfThePictureRenewsTheGenerationAndACopyKeepsIt) {
  const PixelBuffer picture(8, 7);
  TextureObject texture;
  ASSERT_TRUE(texture.SetPicture(picture, 2, 1));
  const std::uint64_t set = texture.Generation();

  // Pixels that do not fill the size, or a side beyond the limits: nothing changes.
  for (auto [bytes, w, h] : {std::tuple{std::size_t{4}, 2, 1},
                             {std::size_t{12}, 2, 1},
                             {std::size_t{0}, 16385, 0},
                             {std::size_t{0}, -1, 0}}) {
    EXPECT_FALSE(texture.SetPicture(PixelBuffer(bytes, 0), w, h)) << w << "x" << h;
  }
  EXPECT_EQ(texture.Generation(), set);
  EXPECT_EQ(texture.Pixels(), picture);
  EXPECT_EQ(texture.Width(), 2);
  EXPECT_EQ(texture.Height(), 1);

  TextureObject copy;
  copy.CopyPicture(texture);
  EXPECT_EQ(copy.Generation(), set);
  EXPECT_EQ(copy.Pixels(), picture);
  // One picture in memory for both, however many objects (a batch's workers) hold it.
  EXPECT_EQ(copy.Pixels().data(), texture.Pixels().data());

  // Taken over, the picture shows under a generation no object had; the giver keeps none.
  TextureObject taker;
  const std::uint64_t before = taker.Generation();
  taker.TakePicture(texture);
  EXPECT_EQ(taker.Pixels(), picture);
  EXPECT_EQ(taker.Width(), 2);
  EXPECT_EQ(taker.Height(), 1);
  EXPECT_NE(taker.Generation(), set);
  EXPECT_NE(taker.Generation(), before);
  EXPECT_FALSE(texture.HasPixels());
  EXPECT_NE(texture.Generation(), set);
}

}  // namespace
}  // namespace tovmar
