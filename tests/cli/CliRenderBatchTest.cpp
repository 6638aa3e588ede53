// tovmar-cli render over many files and with several body parts: parallel batches that match a
// serial one byte for byte, textures loaded once, parts placed as on the avatar, PNG settings.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/Command.h"
#include "cli/Options.h"
#include "tests/cli/CliTestPaths.h"
#include "tests/support/DrawnPictures.h"
#include "tests/support/RunProcess.h"
#include "texture/ImageConverter.h"
#include "texture/PictureConverter.h"
#include "tools/LlmWriter.h"

namespace tovmar::test {
namespace {

std::string SampleFile(const std::string& name) {
  return (std::filesystem::path(TOVMAR_SAMPLE_DIR) / name).string();
}

// The facing square moved up by `up` file units, with a target "Lift" that moves it up by 0.1.
LlmMesh MakeRaisedQuad(float up) {
  LlmMesh quad = MakeFacingQuad();
  for (Vec3& p : quad.coords) p.z += up;
  MorphRecords records(4);
  for (int v = 0; v < 4; ++v) records[v] = {v, {0, 0, 0.1f}, {}, {}, {}};
  quad.morphTargets.push_back(MakeMorphTarget("Lift", records));
  return quad;
}

// A 16 x 16 picture of one colour, written into `folder`.
std::string WriteColour(const TempFolder& folder, const std::string& name, Rgb colour) {
  std::vector<std::uint8_t> rgb;
  for (int i = 0; i < 16 * 16; ++i) rgb.insert(rgb.end(), colour.begin(), colour.end());
  const std::string path = folder.File(name);
  EXPECT_TRUE(WritePng(path, rgb, 16, 16));
  return path;
}

class CliRenderBatch : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    ::unsetenv("DISPLAY");
    ::unsetenv("WAYLAND_DISPLAY");
  }

  std::string WriteMesh(const std::string& name, const LlmMesh& mesh) {
    const std::string path = m_in.File(name);
    EXPECT_TRUE(WriteFileBytes(path, WriteLlm(mesh)));
    return path;
  }

  // Renders `args` at 256 x 256 into a picture file, read back; a failed run fails the test.
  Picture Render(std::vector<std::string> args) {
    const std::string out = m_in.File("picture.png");
    args.insert(args.begin(), "render");
    args.insert(args.end(), {"--size", "256x256", "-o", out});
    const ProcessResult r = RunProcess(kCliPath, args);
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    return ReadPicture(out);
  }

  TempFolder m_in;
};

// Failures in either step (an unwritable picture after drawing, a missing file while the scene is
// built) come out in input order, and every picture is the serial run's, byte for byte.
TEST_F(CliRenderBatch, ParallelRunsMatchTheSerialRunAndReportInInputOrder) {
  std::vector<std::string> args = {"render"};
  const std::string sample = ReadFileText(SampleFile("sample.llm"));
  for (const char* name : {"a", "b", "c", "d", "e", "f"}) {
    ASSERT_TRUE(WriteFileBytes(m_in.File(std::string(name) + ".llm"), sample));
    args.push_back(m_in.File(std::string(name) + ".llm"));
  }
  args.insert(args.begin() + 2, m_in.File("gone.llm"));
  args.insert(args.begin() + 5, m_in.File("lost.llm"));
  args.insert(args.end(), {"--texture", SampleFile("sample.png"), "--appearance",
                           SampleFile("sample.xml"), "--size", "128x96"});

  std::vector<std::string> errors[2];
  TempFolder out[2];
  for (int run = 0; run < 2; ++run) {
    // A folder where the first picture goes: it fails last of all to be found out, after drawing.
    std::filesystem::create_directory(out[run].Path() / "a.png");
    std::vector<std::string> all = args;
    all.insert(all.end(), {"--jobs", run == 0 ? "1" : "3", "-o", out[run].Path().string()});
    const ProcessResult r = RunProcess(kCliPath, all);
    EXPECT_EQ(r.exitStatus, 2);
    for (std::string line : SplitLines(r.err)) {
      // Where the machine has fewer processors than --jobs asks for, the run says so first.
      if (line.find(" processors; drawing ") != std::string::npos) continue;
      const std::string folder = out[run].Path().string();
      if (const std::size_t at = line.find(folder); at != std::string::npos) {
        line.replace(at, folder.size(), "OUT");
      }
      errors[run].push_back(line);
    }
  }
  ASSERT_EQ(errors[0].size(), 3u);
  EXPECT_NE(errors[0][0].find("a.llm"), std::string::npos) << errors[0][0];
  EXPECT_NE(errors[0][1].find("gone.llm"), std::string::npos) << errors[0][1];
  EXPECT_NE(errors[0][2].find("lost.llm"), std::string::npos) << errors[0][2];
  EXPECT_EQ(errors[1], errors[0]);

  const std::vector<std::string> written = {"a.png", "b.png", "c.png", "d.png", "e.png", "f.png"};
  ASSERT_EQ(out[0].Entries(), written);
  ASSERT_EQ(out[1].Entries(), written);
  for (const std::string& name : written) {
    if (name == "a.png") continue;
    EXPECT_EQ(ReadFileText(out[1].File(name)), ReadFileText(out[0].File(name))) << name;
  }
  // Each is the picture of a run for its file alone, which loads the texture for it.
  const std::string alone = m_in.File("alone.png");
  ASSERT_EQ(RunProcess(kCliPath,
                       {"render", m_in.File("f.llm"), "--texture", SampleFile("sample.png"),
                        "--appearance", SampleFile("sample.xml"), "--size", "128x96", "-o", alone})
                .exitStatus,
            0);
  EXPECT_EQ(ReadFileText(alone), ReadFileText(out[1].File("f.png")));
}

// More --jobs than processors draws one picture a processor and says so; the pictures are made.
TEST_F(CliRenderBatch, JobsPastTheProcessorsAreCappedWithANote) {
  const std::string quad = WriteMesh("quad.llm", MakeFacingQuad());
  const std::string raised = WriteMesh("raised.llm", MakeRaisedQuad(0.1f));
  TempFolder out;
  const ProcessResult r = RunProcess(kCliPath, {"render", quad, raised, "--jobs", "1024", "--size",
                                                "16x16", "-o", out.Path().string()});
  EXPECT_EQ(r.exitStatus, 0) << r.err;
  EXPECT_NE(r.err.find("--jobs 1024 is more than the "), std::string::npos) << r.err;
  EXPECT_EQ(out.Entries(), (std::vector<std::string>{"quad.png", "raised.png"}));
}

// Counts the images decoded, decoding them as the program does.
class CountingConverter : public ImageConverter {
 public:
  bool ConvertToBmp(const std::string& source, std::FILE* bmpFile) override {
    ++conversions;
    return m_decoders.ConvertToBmp(source, bmpFile);
  }
  int conversions = 0;

 private:
  PictureConverter m_decoders;
};

TEST_F(CliRenderBatch, ATextureIsLoadedOncePerRun) {
  const std::string texture = WriteColour(m_in, "red.png", {255, 0, 0});
  const std::string quad = WriteMesh("quad.llm", MakeFacingQuad());
  const std::string raised = WriteMesh("raised.llm", MakeRaisedQuad(0.1f));
  TempFolder out;
  const std::vector<std::string> args = {
      quad,    raised,   "--texture", texture,  "--add", raised, "--add-texture",
      texture, "--jobs", "2",         "--size", "32x32", "-o",   out.Path().string()};
  const cli::Command& render = *cli::FindCommand("render");

  CountingConverter counter;
  const ScopedImageConverter installed(&counter);
  EXPECT_EQ(render.run(cli::ParseArgs(args, render.options)), 0);
  EXPECT_EQ(counter.conversions, 1) << "one image for two files and two parts";
  EXPECT_EQ(out.Entries(), (std::vector<std::string>{"quad.png", "raised.png"}));
}

// Every part is placed with the first file's centre and scale, shaped by the weights its own
// targets take, and dressed by the --add-texture after its --add.
TEST_F(CliRenderBatch, AddedPartsSitWhereTheyAreAgainstTheFirstFile) {
  const std::string quad = WriteMesh("quad.llm", MakeFacingQuad());
  const std::string raised = WriteMesh("raised.llm", MakeRaisedQuad(0.1f));
  const Box alone = DrawnBox(Render({quad, "--distance", "10"}));
  EXPECT_EQ(DrawnBox(Render({raised, "--distance", "10"})).top, alone.top)
      << "a file alone is centred on itself";

  // Half a unit (0.1 file units scaled by 5) at distance 10 is 24 pixels of 256.
  const Box both = DrawnBox(Render({quad, "--add", raised, "--distance", "10"}));
  EXPECT_NEAR(alone.top - both.top, 24, 2);
  EXPECT_EQ(both.bottom, alone.bottom);
  const Box lifted =
      DrawnBox(Render({quad, "--add", raised, "--weight", "lift=1", "--distance", "10"}));
  EXPECT_NEAR(alone.top - lifted.top, 48, 2);
  const Box under = DrawnBox(Render({raised, "--add", quad, "--distance", "10"}));
  EXPECT_EQ(under.top, alone.top);
  EXPECT_NEAR(under.bottom - alone.bottom, 24, 2);

  const Picture dressed =
      Render({quad, "--texture", WriteColour(m_in, "red.png", {255, 0, 0}), "--add", raised,
              "--add-texture", WriteColour(m_in, "blue.png", {0, 0, 255}), "--distance", "10"});
  const Rgb top = dressed.At(128, both.top + 10), bottom = dressed.At(128, both.bottom - 10);
  EXPECT_TRUE(top[2] > 200 && top[0] < 40) << "the part in blue";
  EXPECT_TRUE(bottom[0] > 200 && bottom[2] < 40) << "the first file in red";

  // A weight that names a target of no part, and a texture with no part before it, are refused.
  for (const std::vector<std::string>& wrong :
       {std::vector<std::string>{quad, "--add", raised, "--weight", "nothing=1"},
        std::vector<std::string>{quad, "--add-texture", m_in.File("red.png"), "--add", raised}}) {
    std::vector<std::string> all = {"render"};
    all.insert(all.end(), wrong.begin(), wrong.end());
    all.insert(all.end(), {"-o", m_in.File("refused.png")});
    const ProcessResult r = RunProcess(kCliPath, all);
    EXPECT_EQ(r.exitStatus, 2) << wrong[3];
    EXPECT_FALSE(std::filesystem::exists(m_in.File("refused.png")));
  }
}

TEST_F(CliRenderBatch, RealLowerBodyWearsTheEyelashesAboveIt) {
  const std::string lower = RealMeshPath("avatar_lower_body.llm");
  const std::string lashes = RealMeshPath("avatar_eyelashes.llm");
  if (lower.empty() || lashes.empty()) GTEST_SKIP() << "the real meshes are absent";
  const std::vector<std::string> view = {"--distance", "24", "--pan", "0,-2.5"};
  std::vector<std::string> args = {lower};
  args.insert(args.end(), view.begin(), view.end());
  const Box legs = DrawnBox(Render(args));
  // Each weight names a target of one of the two files only.
  args.insert(args.end(), {"--add", lashes, "--weight", "eyelashes_long=1"});
  const Box avatar = DrawnBox(Render(args));
  // The lashes sit at head height, well above the top of the legs; the legs stay where they were.
  EXPECT_GT(legs.top - avatar.top, 60) << legs.top << " against " << avatar.top;
  EXPECT_EQ(avatar.bottom, legs.bottom);
  EXPECT_NEAR(avatar.left + avatar.right, legs.left + legs.right, 8);
  args.insert(args.end(), {"--weight", "fat_legs=1"});
  EXPECT_GT(DrawnBox(Render(args)).Width(), avatar.Width());
}

TEST_F(CliRenderBatch, SmallCompressionWritesTheSamePixelsInFewerBytes) {
  const std::string sample = SampleFile("sample.llm");
  const Picture fast = Render({sample});
  const std::string fastBytes = ReadFileText(m_in.File("picture.png"));
  const Picture small = Render({sample, "--compression", "small"});
  EXPECT_EQ(small.rgb, fast.rgb);
  EXPECT_LT(ReadFileText(m_in.File("picture.png")).size(), fastBytes.size());
  const ProcessResult wrong = RunProcess(
      kCliPath, {"render", sample, "--compression", "best", "-o", m_in.File("wrong.png")});
  EXPECT_EQ(wrong.exitStatus, 2);
  EXPECT_NE(wrong.err.find("fast or small"), std::string::npos) << wrong.err;
}

}  // namespace
}  // namespace tovmar::test
