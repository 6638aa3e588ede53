// tovmar-cli uv: the template's lines at the pixels where the texture lies on the mesh.
#include <gtest/gtest.h>

#include <wx/image.h>

#include <cmath>
#include <limits>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "cli/TextureImage.h"
#include "exchange/UvTemplate.h"
#include "tests/cli/CliTestPaths.h"
#include "tests/support/DrawnPictures.h"
#include "tests/support/RunProcess.h"
#include "tests/support/WxImageHandlers.h"
#include "tools/LlmWriter.h"

namespace tovmar::test {
namespace {

using tovmar::RgbaPicture;
using Pixels = std::set<std::pair<int, int>>;

// The pixels that are not transparent.
Pixels Drawn(const RgbaPicture& p) {
  Pixels drawn;
  for (int y = 0; y < p.height; ++y) {
    for (int x = 0; x < p.width; ++x) {
      if (p.pixels[(static_cast<std::size_t>(y) * p.width + x) * 4 + 3] != 0) drawn.insert({x, y});
    }
  }
  return drawn;
}

Rgba At(const RgbaPicture& p, int x, int y) {
  const std::size_t i = (static_cast<std::size_t>(y) * p.width + x) * 4;
  return {p.pixels[i], p.pixels[i + 1], p.pixels[i + 2], p.pixels[i + 3]};
}

Pixels Row(int y, int fromX, int toX) {
  Pixels row;
  for (int x = fromX; x <= toX; ++x) row.insert({x, y});
  return row;
}

Pixels Column(int x, int fromY, int toY) {
  Pixels column;
  for (int y = fromY; y <= toY; ++y) column.insert({x, y});
  return column;
}

Pixels Join(Pixels a, const Pixels& b) {
  a.insert(b.begin(), b.end());
  return a;
}

// A mesh whose one triangle (0, 1, 1) has the single edge from `a` to `b`.
LlmMesh EdgeMesh(Vec2 a, Vec2 b) {
  LlmMesh mesh;
  mesh.numVertices = 2;
  mesh.coords.resize(2);
  mesh.normals.resize(2);
  mesh.binormals.resize(2);
  mesh.texCoords = {a, b};
  mesh.numFaces = 1;
  mesh.faces = {0, 1, 1};
  return mesh;
}

bool Draw(const LlmMesh& mesh, RgbaPicture& picture) {
  return DrawUvEdges({&mesh}, UvLineStyle{}, picture);
}

TEST(UvTemplate, EdgesLandOnThePixelsWhereTheTextureLies) {
  // 128 x 64: (u, v) is at pixel (128 u, 64 (1 - v)) from the top-left corner.
  constexpr float kNan = std::numeric_limits<float>::quiet_NaN();
  Pixels diagonal;
  for (int k = 0; k <= 16; ++k) diagonal.insert({k, k});
  const struct {
    const char* what;
    Vec2 a, b;
    Pixels expected;
  } cases[] = {
      {"v = 0 is the bottom row", {0, 0}, {1, 0}, Row(63, 0, 127)},
      {"v = 1 is the top row", {0, 1}, {1, 1}, Row(0, 0, 127)},
      {"u = 1 is the last column", {1, 0}, {1, 1}, Column(127, 0, 63)},
      {"inside", {0.25f, 0.25f}, {0.75f, 0.25f}, Row(48, 32, 96)},
      {"diagonal", {0, 1}, {0.125f, 0.75f}, diagonal},
      {"one repeat to the right", {1.125f, 0.5f}, {1.375f, 0.5f}, Row(32, 16, 48)},
      {"one repeat to the left", {-0.375f, 0.5f}, {-0.125f, 0.5f}, Row(32, 80, 112)},
      {"one repeat down", {0.5f, -0.25f}, {0.5f, -0.125f}, Column(64, 8, 16)},
      {"across the right border",
       {0.875f, 0.75f},
       {1.125f, 0.75f},
       Join(Row(16, 112, 127), Row(16, 0, 16))},
      {"not a number", {kNan, 0}, {0.5f, 0.5f}, {}},
      {"nine repeats long", {0, 0.5f}, {9, 0.5f}, {}},
  };
  for (const auto& c : cases) {
    RgbaPicture picture = RgbaPicture::Filled(128, 64, {0, 0, 0, 0});
    EXPECT_TRUE(Draw(EdgeMesh(c.a, c.b), picture));
    EXPECT_EQ(Drawn(picture), c.expected) << c.what;
  }

  // A triangle that names a vertex the mesh lacks is not drawn.
  LlmMesh outside = EdgeMesh({0, 0}, {1, 1});
  outside.faces = {0, 1, 2};
  RgbaPicture picture = RgbaPicture::Filled(100, 50, {0, 0, 0, 0});
  EXPECT_TRUE(Draw(outside, picture));
  EXPECT_TRUE(Drawn(picture).empty());
}

// Two triangles sharing an edge by position, cut apart in the layout: the left one at u 0 to 0.5,
// the right one at u 0.5 to 1 with its copy of the shared edge at u = 1. The shared edge is a
// seam on both sides; the rest are inner lines, drawn the style's width.
TEST(UvTemplate, SeamsAreDrawnInTheirOwnColour) {
  LlmMesh mesh;
  mesh.numVertices = 6;
  mesh.coords = {{0, 0, 0}, {0, 1, 0}, {1, 0, 0}, {0, 0, 0}, {0, 1, 0}, {-1, 0, 0}};
  mesh.normals.resize(6);
  mesh.texCoords = {{0.25f, 0.25f}, {0.25f, 0.75f}, {0, 0.25f},
                    {0.75f, 0.25f}, {0.75f, 0.75f}, {1, 0.25f}};
  mesh.numFaces = 2;
  mesh.faces = {0, 1, 2, 3, 4, 5};
  RgbaPicture picture = RgbaPicture::Filled(64, 64, kUvClearColour);
  const UvLineStyle style{{0, 0, 255, 255}, {255, 0, 0, 255}, 3};
  ASSERT_TRUE(DrawUvEdges({&mesh}, style, picture));
  const Rgba seam = style.seam, line = style.line;
  // The seams at u 0.25 and 0.75, three pixels wide; the bottoms (v 0.25, row 48) inner lines.
  for (const int x : {15, 16, 17, 47, 48, 49}) EXPECT_EQ(At(picture, x, 32), seam) << x;
  EXPECT_EQ(At(picture, 8, 48), line);
  EXPECT_EQ(At(picture, 8, 47), line);
  EXPECT_EQ(At(picture, 56, 49), line);
  EXPECT_EQ(At(picture, 32, 32), kUvClearColour);
  EXPECT_EQ(At(picture, 19, 32), kUvClearColour);
}

// Lines of more pixels than a picture could ever need are refused before any is drawn, so that
// a hostile mesh cannot keep the tool busy for minutes.
TEST(UvTemplate, LinesTooLongInAllAreRefused) {
  // 20000 triangles, each with edges of 4 to 8 repeats: about 16000 pixels each at 1024.
  LlmMesh mesh;
  mesh.numFaces = 20000;
  for (std::uint16_t t = 0; t < mesh.numFaces; ++t) {
    const float v = static_cast<float>(t) / mesh.numFaces;
    for (const float u : {0.0f, 7.9f, 3.9f}) {
      mesh.faces.push_back(static_cast<std::uint16_t>(mesh.texCoords.size()));
      mesh.texCoords.push_back({u, v});
    }
  }
  mesh.numVertices = static_cast<std::uint16_t>(mesh.texCoords.size());
  RgbaPicture picture = RgbaPicture::Filled(1024, 1024, {0, 0, 0, 0});
  EXPECT_FALSE(Draw(mesh, picture));
  EXPECT_TRUE(Drawn(picture).empty());
  picture = RgbaPicture::Filled(64, 64, {0, 0, 0, 0});
  EXPECT_TRUE(Draw(mesh, picture));
}

TEST(UvTemplate, ScalingAveragesWhatEachPixelCovers) {
  const RgbaPicture source{
      4, 1, {0, 0, 0, 255, 255, 255, 255, 255, 10, 20, 30, 255, 10, 20, 30, 255}};
  const RgbaPicture halved = cli::ScalePicture(source, 2, 1);
  EXPECT_EQ(halved.pixels, (std::vector<std::uint8_t>{128, 128, 128, 255, 10, 20, 30, 255}));
  const RgbaPicture doubled = cli::ScalePicture(source, 8, 2);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 8; ++x) {
      const std::size_t from = static_cast<std::size_t>(x / 2) * 4;
      const std::size_t to = (static_cast<std::size_t>(y) * 8 + x) * 4;
      EXPECT_EQ(doubled.pixels[to], source.pixels[from]) << x << "," << y;
    }
  }
}

// A PNG file with its alpha channel (255 everywhere without one).
RgbaPicture ReadRgba(const std::string& path) {
  AddWxImageHandlers();
  wxImage image;
  RgbaPicture picture;
  if (!image.LoadFile(wxString::FromUTF8(path), wxBITMAP_TYPE_PNG)) return picture;
  picture = RgbaPicture::Filled(image.GetWidth(), image.GetHeight(), {0, 0, 0, 255});
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      picture.Set(x, y,
                  {image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y),
                   image.HasAlpha() ? image.GetAlpha(x, y) : std::uint8_t{255}});
    }
  }
  return picture;
}

class CliUv : public testing::Test {
 protected:
  ProcessResult Uv(std::vector<std::string> args) {
    args.insert(args.begin(), "uv");
    return RunProcess(kCliPath, args);
  }

  std::string WriteMesh(const std::string& name, const LlmMesh& mesh) {
    const std::string path = m_folder.File(name);
    EXPECT_TRUE(WriteFileBytes(path, WriteLlm(mesh)));
    return path;
  }

  // A side x side picture: one colour, or red, green, blue and yellow quarters from the top left.
  std::string WriteTexture(const std::string& name, int side, bool quarters) {
    std::vector<std::uint8_t> rgb;
    for (int y = 0; y < side; ++y) {
      for (int x = 0; x < side; ++x) {
        const bool top = y < side / 2, left = x < side / 2;
        const Rgb c = !quarters ? Rgb{255, 255, 255}
                      : top     ? (left ? Rgb{255, 0, 0} : Rgb{0, 255, 0})
                                : (left ? Rgb{0, 0, 255} : Rgb{255, 255, 0});
        for (const int channel : c) rgb.push_back(static_cast<std::uint8_t>(channel));
      }
    }
    const std::string path = m_folder.File(name);
    EXPECT_TRUE(WritePng(path, rgb, side, side));
    return path;
  }

  TempFolder m_folder;
};

TEST_F(CliUv, WritesTransparentTemplatesAlsoForSeveralFiles) {
  const std::string quad = WriteMesh("quad.llm", MakeFacingQuad());
  ProcessResult r = Uv({quad, "-o", m_folder.File("one.png")});
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  RgbaPicture p = ReadRgba(m_folder.File("one.png"));
  EXPECT_EQ(p.width, 1024);
  EXPECT_EQ(p.height, 1024);
  // Opaque black lines along the quad's border and its diagonal, transparent elsewhere.
  EXPECT_EQ(At(p, 0, 500), (Rgba{0, 0, 0, 255}));
  EXPECT_EQ(At(p, 1023, 1023), (Rgba{0, 0, 0, 255}));
  EXPECT_EQ(At(p, 500, 500), (Rgba{0, 0, 0, 255}));
  EXPECT_EQ(At(p, 500, 520), kUvClearColour);

  // Another mesh drawn into the same picture, with lines of another colour and width.
  LlmMesh small = MakeFacingQuad();
  for (Vec2& t : small.texCoords) t = {0.25f + t.u / 4, 0.25f + t.v / 4};
  r = Uv({quad, "--add", WriteMesh("small.llm", small), "--size", "64", "--line-colour", "00ff80",
          "--line-width", "2", "-o", m_folder.File("two.png")});
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  p = ReadRgba(m_folder.File("two.png"));
  const Rgba green{0, 255, 128, 255};
  EXPECT_EQ(At(p, 1, 32), green);
  EXPECT_EQ(At(p, 16, 40), green);
  EXPECT_EQ(At(p, 17, 40), green);
  EXPECT_EQ(At(p, 24, 48), green);
  EXPECT_EQ(At(p, 24, 44), kUvClearColour);
  for (const std::vector<std::string>& bad : {std::vector<std::string>{"--line-width", "0"},
                                              {"--line-width", "65"},
                                              {"--line-colour", "12345"},
                                              {"--seam-colour", "00gg00"}}) {
    r = Uv({quad, bad[0], bad[1], "-o", m_folder.File("bad.png")});
    EXPECT_EQ(r.exitStatus, 2) << bad[1];
    EXPECT_NE(r.err.find("malformed " + bad[0]), std::string::npos) << r.err;
  }

  // Into a folder, a failing file reported on its own line while the others are drawn.
  std::filesystem::create_directory(m_folder.Path() / "out");
  const std::string out = m_folder.File("out");
  r = Uv({quad, m_folder.File("missing.llm"), "--size", "64x32", "-o", out});
  EXPECT_EQ(r.exitStatus, 2);
  EXPECT_NE(r.err.find("tovmar-cli: uv: " + m_folder.File("missing.llm") + ": cannot open"),
            std::string::npos)
      << r.err;
  p = ReadRgba(m_folder.File("out/quad.png"));
  EXPECT_EQ(p.width, 64);
  EXPECT_EQ(p.height, 32);

  for (const char* size : {"0", "8193", "64x", "x64", "-5", "6.5"}) {
    r = Uv({quad, "--size", size, "-o", m_folder.File("bad.png")});
    EXPECT_EQ(r.exitStatus, 2) << size;
    EXPECT_NE(r.err.find("malformed --size"), std::string::npos) << r.err;
  }
  EXPECT_FALSE(std::filesystem::exists(m_folder.File("bad.png")));
}

// A mark on the template lands where its line is on the mesh: the quad dressed with its own
// template shows the diagonal from its top left to its bottom right, as the template does.
TEST_F(CliUv, TemplateOnTheMeshShowsItsLinesWhereTheTemplateHasThem) {
  const std::string quad = WriteMesh("quad.llm", MakeFacingQuad());
  ProcessResult r = Uv({quad, "--size", "16", "--texture", WriteTexture("q.png", 64, true), "-o",
                        m_folder.File("quarters.png")});
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  const RgbaPicture quarters = ReadRgba(m_folder.File("quarters.png"));
  EXPECT_EQ(At(quarters, 2, 5), (Rgba{255, 0, 0, 255}));
  EXPECT_EQ(At(quarters, 13, 5), (Rgba{0, 255, 0, 255}));
  EXPECT_EQ(At(quarters, 2, 10), (Rgba{0, 0, 255, 255}));
  EXPECT_EQ(At(quarters, 4, 4), (Rgba{0, 0, 0, 255}));

  r = Uv({quad, "--size", "16", "--texture", WriteTexture("white.png", 8, false), "-o",
          m_folder.File("template.png")});
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  r = RunProcess(kCliPath, {"render", quad, "--texture", m_folder.File("template.png"), "--size",
                            "256x256", "-o", m_folder.File("dressed.png")});
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  const Picture dressed = ReadPicture(m_folder.File("dressed.png"));
  const Box box = DrawnBox(dressed);
  ASSERT_FALSE(box.empty());
  // The centres of template pixels (4, 4) on the diagonal and (4, 11) off it.
  const auto shown = [&](double x, double y) {
    return dressed.At(box.left + static_cast<int>(x / 16 * box.Width()),
                      box.top + static_cast<int>(y / 16 * box.Height()))[0];
  };
  EXPECT_LT(shown(4.5, 4.5), 40);
  EXPECT_GT(shown(4.5, 11.5), 100);
}

}  // namespace
}  // namespace tovmar::test
