// tovmar-cli uv: the texture layout of meshes as PNG pictures to paint textures on.
#include <string>
#include <string_view>
#include <vector>

#include "cli/BatchOutputs.h"
#include "cli/BatchProgress.h"
#include "cli/CliError.h"
#include "cli/Command.h"
#include "cli/OutputIsInput.h"
#include "cli/PngOptions.h"
#include "cli/ReadMeshFile.h"
#include "cli/ReplaceFile.h"
#include "cli/TextureImage.h"
#include "exchange/UvTemplate.h"
#include "texture/decode/PngWriter.h"

namespace tovmar::cli {

namespace {

constexpr OptionInfo kOptions[] = {
    {"--size", "", "N|WIDTHxHEIGHT",
     "The picture's size in pixels, 1 to 8192 a side; N for a square (1024).", false},
    {"--texture", "", "IMAGE",
     "Draw the lines over this image (PNG, JPEG, TGA, BMP and other types), scaled to the "
     "picture, instead of a transparent background.",
     false},
    kCompressionOption,
    kQuietOption,
    {"-o", "--output", "OUT.png",
     "The PNG file to write, - for standard output, or an existing folder that receives "
     "NAME.png for each FILE.llm (required; a folder with several files).",
     false},
};

constexpr int kDefaultSide = 1024;
constexpr int kMaxSide = 8192;

int RunUv(const ParsedArgs& args) {
  if (args.positionals.empty()) throw CliError("uv: expected one or more mesh files");
  const std::string* output = args.Value("-o");
  if (output == nullptr) throw CliError("uv: missing -o OUT.png");
  int width = kDefaultSide, height = kDefaultSide;
  ReadSizeOption(args, kMaxSide, true, width, height);
  const PngCompression compression = CompressionOption(args);
  const std::vector<BatchJob> jobs = PlanBatch("uv", args.positionals, *output, "png");
  for (const BatchJob& job : jobs) RefuseInputAsOutput(job.output, args);

  // Every picture starts from the same background.
  RgbaPicture background = RgbaPicture::Filled(width, height, {0, 0, 0, 0});
  if (const std::string* texture = args.Value("--texture")) {
    background = ScalePicture(ReadTextureImage(*texture), width, height);
  }

  return RunBatch("uv", jobs, args.Has("-q"), [&](const BatchJob& job) {
    const LlmMesh mesh = ReadMeshFile(job.input);
    RgbaPicture picture = background;
    if (!DrawUvEdges(mesh, picture)) {
      throw CliError("the lines of '" + job.input + "' are too long in all to draw at " +
                     std::to_string(width) + "x" + std::to_string(height) +
                     "; try a smaller --size");
    }
    const std::string png = EncodePngRgba(picture.pixels, width, height, compression);
    if (png.empty()) throw CliError("cannot encode the picture of '" + job.input + "' as PNG");
    WriteOutput(job.output, png);
  });
}

}  // namespace

const Command& UvCommand() {
  static const Command kCommand{
      "uv",
      "FILE.llm... [--size N|WIDTHxHEIGHT] [--texture IMAGE] [--compression fast|small] [--quiet] "
      "-o OUT.png",
      "Draw the texture layout of meshes, every triangle's edges, as PNG pictures to paint on.",
      kOptions, RunUv};
  return kCommand;
}

}  // namespace tovmar::cli
