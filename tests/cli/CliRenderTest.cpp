// tovmar-cli render, run as a program with no display at all, judged by the pixels it writes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "tests/cli/CliTestPaths.h"
#include "tests/support/DrawnPictures.h"
#include "tests/support/RunProcess.h"
#include "tools/LlmWriter.h"

namespace tovmar::test {
namespace {

std::string SampleFile(const std::string& name) {
  return (std::filesystem::path(TOVMAR_SAMPLE_DIR) / name).string();
}

bool IsGrey(const Rgb& c) {
  return c[0] == c[1] && c[1] == c[2];
}

bool Near(const Rgb& actual, const Rgb& expected, int tolerance) {
  for (int i = 0; i < 3; ++i) {
    if (std::abs(actual[i] - expected[i]) > tolerance) return false;
  }
  return true;
}

// How many drawn pixels the run through (x, y) holds along row y; 0 on the background.
int RunWidth(const Picture& p, int x, int y) {
  if (p.IsBackground(x, y)) return 0;
  int left = x, right = x;
  while (left > 0 && !p.IsBackground(left - 1, y)) --left;
  while (right + 1 < p.width && !p.IsBackground(right + 1, y)) ++right;
  return right - left + 1;
}

// How many drawn pixels column x holds.
int ColumnHeight(const Picture& p, int x) {
  int drawn = 0;
  for (int y = 0; y < p.height; ++y) drawn += p.IsBackground(x, y) ? 0 : 1;
  return drawn;
}

// How many drawn pixels row y holds.
int RowWidth(const Picture& p, int y) {
  int drawn = 0;
  for (int x = 0; x < p.width; ++x) drawn += p.IsBackground(x, y) ? 0 : 1;
  return drawn;
}

class CliRender : public testing::Test {
 protected:
  // The tool draws without a display: none is offered to it.
  static void SetUpTestSuite() {
    ::unsetenv("DISPLAY");
    ::unsetenv("WAYLAND_DISPLAY");
  }

  // Renders with `args` into a new PNG file and reads it back; a failed run fails the test.
  Picture Render(const std::vector<std::string>& args) {
    const std::string out = m_folder.File("picture" + std::to_string(m_pictures++) + ".png");
    std::vector<std::string> all = {"render"};
    all.insert(all.end(), args.begin(), args.end());
    all.insert(all.end(), {"-o", out});
    const ProcessResult r = RunProcess(kCliPath, all);
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "");
    m_lastFile = out;
    return ReadPicture(out);
  }

  std::string WriteQuad() {
    const std::string path = m_folder.File("quad.llm");
    EXPECT_TRUE(WriteFileBytes(path, WriteLlm(MakeFacingQuad())));
    return path;
  }

  TempFolder m_folder;
  std::string m_lastFile;
  int m_pictures = 0;
};

TEST_F(CliRender, SampleIsDrawnLitAndCentredOnTheGreyBackground) {
  // The window's start: 512 x 512, distance 5, light from the eye.
  const Picture start = Render({SampleFile("sample.llm")});
  ASSERT_EQ(start.width, 512);
  ASSERT_EQ(start.height, 512);
  EXPECT_EQ(start.colorType, 2) << "an RGB picture without alpha";
  for (int dy = -4; dy <= 4; ++dy) {
    for (int dx = -4; dx <= 4; ++dx) {
      const Rgb c = start.At(256 + dx, 256 + dy);
      EXPECT_TRUE(IsGrey(c) && c[0] > 200) << "lit white body at centre offset " << dx << "," << dy;
    }
  }

  // From farther away the whole body shows, mirrored about the vertical centre line.
  const Picture whole = Render({SampleFile("sample.llm"), "--distance", "20", "--size", "256x256"});
  ASSERT_EQ(whole.width, 256);
  for (const auto& [x, y] : {std::pair{0, 0}, {255, 0}, {0, 255}, {255, 255}}) {
    EXPECT_EQ(whole.At(x, y), kBackground) << x << "," << y;
  }
  const Box box = DrawnBox(whole);
  ASSERT_FALSE(box.empty());
  EXPECT_GT(box.left, 0);
  EXPECT_LT(box.right, 255);
  EXPECT_GT(box.top, 0);
  EXPECT_LT(box.bottom, 255);
  EXPECT_LE(std::abs(box.left + box.right - 255), 3) << box.left << ".." << box.right;
  EXPECT_LE(std::abs(box.top + box.bottom - 255), 64) << box.top << ".." << box.bottom;
  EXPECT_GT(box.Height(), 2 * box.Width() / 3) << "a standing figure";
}

// The light is fixed to the model, so turning the model half round shows its unlit back.
TEST_F(CliRender, HalfTurnShowsTheUnlitSide) {
  const Picture front = Render({SampleFile("sample.llm"), "--size", "128x128"});
  const Picture back = Render({SampleFile("sample.llm"), "--size", "128x128", "--turn", "180"});
  const Rgb lit = front.At(64, 64);
  const Rgb unlit = back.At(64, 64);
  EXPECT_NE(unlit, kBackground);
  EXPECT_TRUE(IsGrey(unlit));
  EXPECT_LT(unlit[0] * 10, lit[0] * 7) << unlit[0] << " against " << lit[0];
  // A full turn is the start position again.
  const Picture full = Render({SampleFile("sample.llm"), "--size", "128x128", "--turn", "360"});
  EXPECT_TRUE(Near(full.At(64, 64), lit, 2));
}

// Turning narrows a facing square sideways and brings its left edge nearer; tilting flattens it
// and brings its top edge nearer, as dragging right and dragging down do in the window.
TEST_F(CliRender, TurnAndTiltFollowTheScreenAxes) {
  const std::string quad = WriteQuad();
  const Box facing = DrawnBox(Render({quad, "--size", "256x256"}));
  ASSERT_FALSE(facing.empty());
  EXPECT_NEAR(facing.Width(), 191, 3);
  EXPECT_NEAR(facing.Height(), 191, 3);

  const Picture turned = Render({quad, "--size", "256x256", "--turn", "60"});
  const Box t = DrawnBox(turned);
  EXPECT_NEAR(t.Width(), facing.Width() / 2, 15);
  EXPECT_GE(t.Height(), facing.Height());
  EXPECT_GT(ColumnHeight(turned, t.left + 2), ColumnHeight(turned, t.right - 2) + 20);

  const Picture tilted = Render({quad, "--size", "256x256", "--tilt", "60"});
  const Box b = DrawnBox(tilted);
  EXPECT_NEAR(b.Height(), facing.Height() / 2, 15);
  EXPECT_GE(b.Width(), facing.Width());
  EXPECT_GT(RowWidth(tilted, b.top + 2), RowWidth(tilted, b.bottom - 2) + 20);

  // Edge on, the square all but vanishes.
  EXPECT_LE(DrawnBox(Render({quad, "--size", "256x256", "--turn", "90"})).Width(), 3);
  EXPECT_LE(DrawnBox(Render({quad, "--size", "256x256", "--tilt", "-90"})).Height(), 3);
}

TEST_F(CliRender, PanDistanceAndSizeMoveAndScaleThePicture) {
  const std::string quad = WriteQuad();
  const Box facing = DrawnBox(Render({quad, "--size", "256x256"}));

  // Half a unit at distance 5 is 0.5 / tan(15 degrees) / 5 of the half picture: 48 pixels.
  const Box right = DrawnBox(Render({quad, "--size", "256x256", "--pan", "0.5,0"}));
  EXPECT_NEAR(right.left - facing.left, 48, 3);
  EXPECT_NEAR(right.top, facing.top, 1);
  const Box up = DrawnBox(Render({quad, "--size", "256x256", "--pan", "0,0.5"}));
  EXPECT_NEAR(facing.bottom - up.bottom, 48, 3);
  EXPECT_NEAR(up.left, facing.left, 1);

  const Box far = DrawnBox(Render({quad, "--size", "256x256", "--distance", "10"}));
  EXPECT_NEAR(far.Width(), facing.Width() / 2, 2);

  // The field of view is vertical: a wide picture shows the square square and centred.
  const Picture wide = Render({quad, "--size", "300x200"});
  ASSERT_EQ(wide.width, 300);
  ASSERT_EQ(wide.height, 200);
  const Box w = DrawnBox(wide);
  EXPECT_NEAR(w.Height(), 149, 3);
  EXPECT_NEAR(w.Width(), w.Height(), 2);
  EXPECT_LE(std::abs(w.left + w.right - 299), 2);
}

TEST_F(CliRender, LightOptionMovesTheLightAwayFromTheEye) {
  const std::string quad = WriteQuad();
  // Facing the light: ambient and diffuse light together saturate the white material.
  const Rgb full = Render({quad, "--size", "64x64"}).At(32, 32);
  EXPECT_EQ(full, (Rgb{255, 255, 255}));
  // A light from far above grazes the square: little more than the ambient light is left.
  const Rgb grazed = Render({quad, "--size", "64x64", "--light", "0,1000"}).At(32, 32);
  EXPECT_TRUE(IsGrey(grazed));
  EXPECT_NEAR(grazed[0], 128, 8);
}

TEST_F(CliRender, TextureQuadrantsShowWhereTheImageHasThem) {
  // Red top left, green top right, blue bottom left, yellow bottom right.
  constexpr int kSide = 64;
  std::vector<std::uint8_t> image;
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) {
      const bool top = y < kSide / 2, left = x < kSide / 2;
      const Rgb c = top ? (left ? Rgb{255, 0, 0} : Rgb{0, 255, 0})
                        : (left ? Rgb{0, 0, 255} : Rgb{255, 255, 0});
      image.insert(image.end(), {static_cast<std::uint8_t>(c[0]), static_cast<std::uint8_t>(c[1]),
                                 static_cast<std::uint8_t>(c[2])});
    }
  }
  const std::string texture = m_folder.File("quadrants.png");
  ASSERT_TRUE(WritePng(texture, image, kSide, kSide));

  const Picture p = Render({WriteQuad(), "--size", "256x256", "--texture", texture});
  const Box box = DrawnBox(p);
  ASSERT_FALSE(box.empty());
  const int x1 = box.left + box.Width() / 4, x2 = box.right - box.Width() / 4;
  const int y1 = box.top + box.Height() / 4, y2 = box.bottom - box.Height() / 4;
  EXPECT_TRUE(Near(p.At(x1, y1), {255, 0, 0}, 8));
  EXPECT_TRUE(Near(p.At(x2, y1), {0, 255, 0}, 8));
  EXPECT_TRUE(Near(p.At(x1, y2), {0, 0, 255}, 8));
  EXPECT_TRUE(Near(p.At(x2, y2), {255, 255, 0}, 8));
}

TEST_F(CliRender, BellyWeightWidensTheTorso) {
  const std::vector<std::string> view = {SampleFile("sample.llm"), "--distance", "16", "--size",
                                         "256x256"};
  const Picture plain = Render(view);
  std::vector<std::string> weighted = view;
  weighted.insert(weighted.end(), {"--weight", "big_belly_torso=2"});
  const Picture belly = Render(weighted);

  // The torso is the run through the centre column; somewhere it is clearly wider.
  int widened = 0;
  for (int y = 0; y < 256; ++y) {
    widened = std::max(widened, RunWidth(belly, 128, y) - RunWidth(plain, 128, y));
  }
  EXPECT_GE(widened, 6);
  // Head and feet stay where they were.
  EXPECT_EQ(DrawnBox(belly).top, DrawnBox(plain).top);
  EXPECT_EQ(DrawnBox(belly).bottom, DrawnBox(plain).bottom);
}

// An appearance file sets the weights it names, exactly as --weight would.
TEST_F(CliRender, AppearanceFileActsAsTheWeightsItNames) {
  const std::string mesh = SampleFile("sample.llm");
  Render({mesh, "--appearance", SampleFile("sample.xml")});
  const std::string byAppearance = ReadFileText(m_lastFile);
  Render({mesh, "--weight", "Big_Belly_Torso=0.8", "--weight", "Big_Chest=1.2", "--weight",
          "Broad_Shoulders=-0.5", "--weight", "Long_Legs=1", "--weight", "Big_Head=0.4"});
  EXPECT_EQ(byAppearance, ReadFileText(m_lastFile));
  Render({mesh});
  EXPECT_NE(byAppearance, ReadFileText(m_lastFile));
}

TEST_F(CliRender, BatchWritesOnePicturePerFileAndGoesOnAfterAFailure) {
  const std::string sample = ReadFileText(SampleFile("sample.llm"));
  ASSERT_TRUE(WriteFileBytes(m_folder.File("a.llm"), sample));
  ASSERT_TRUE(WriteFileBytes(m_folder.File("cut.llm"), sample.substr(0, 1000)));
  const std::string quad = WriteQuad();
  TempFolder out;

  const ProcessResult r = RunProcess(
      kCliPath, {"render", m_folder.File("a.llm"), m_folder.File("missing.llm"), quad,
                 m_folder.File("cut.llm"), "--size", "96x96", "-o", out.Path().string()});
  EXPECT_EQ(r.exitStatus, 2);
  const std::vector<std::string> errors = SplitLines(r.err);
  ASSERT_EQ(errors.size(), 2u) << r.err;
  EXPECT_NE(errors[0].find("missing.llm"), std::string::npos) << r.err;
  EXPECT_NE(errors[1].find("cut.llm' is not a mesh: "), std::string::npos) << r.err;
  EXPECT_EQ(out.Entries(), (std::vector<std::string>{"a.png", "quad.png"}));

  // Each picture is the one a run for that file alone draws.
  Render({quad, "--size", "96x96"});
  EXPECT_EQ(ReadFileText(out.File("quad.png")), ReadFileText(m_lastFile));
  Render({m_folder.File("a.llm"), "--size", "96x96"});
  EXPECT_EQ(ReadFileText(out.File("a.png")), ReadFileText(m_lastFile));

  // Without a failure the batch succeeds; a folder with one file receives NAME.png too.
  const ProcessResult again = RunProcess(kCliPath, {"render", quad, m_folder.File("a.llm"),
                                                    "--size", "8x8", "-o", out.Path().string()});
  EXPECT_EQ(again.exitStatus, 0) << again.err;
  TempFolder single;
  EXPECT_EQ(RunProcess(kCliPath, {"render", quad, "-o", single.Path().string()}).exitStatus, 0);
  EXPECT_EQ(single.Entries(), (std::vector<std::string>{"quad.png"}));
}

}  // namespace
}  // namespace tovmar::test
