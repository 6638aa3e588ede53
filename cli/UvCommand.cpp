// tovmar-cli uv: the texture layout of meshes as PNG pictures to paint textures on.
#include <charconv>
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
    {"--add", "", "OTHER.llm",
     "Draw this mesh's layout into every picture too, as the eyelashes share the head's "
     "texture; repeatable.",
     true},
    {"--size", "", "N|WIDTHxHEIGHT",
     "The picture's size in pixels, 1 to 8192 a side; N for a square (1024).", false},
    {"--texture", "", "IMAGE",
     "Draw the lines over this image (PNG, JPEG, TGA, BMP and other types), scaled to the "
     "picture, instead of a transparent white background.",
     false},
    {"--line-width", "", "N", "The lines' width in pixels, 1 to 64 (1).", false},
    {"--line-colour", "", "RRGGBB", "The colour of inner edges, in hexadecimal (000000).", false},
    {"--seam-colour", "", "RRGGBB",
     "The colour of seams, the edges where the layout is cut and the surface goes on elsewhere "
     "in the picture (FF0000).",
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

// An opaque colour from six hexadecimal digits, red, green and blue.
Rgba ReadColour(const ParsedArgs& args, std::string_view option, Rgba colour) {
  const std::string* text = args.Value(option);
  if (text == nullptr) return colour;
  const auto digit = [](char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  bool valid = text->size() == 6;
  for (std::size_t i = 0; valid && i < 6; i += 2) {
    const int high = digit((*text)[i]), low = digit((*text)[i + 1]);
    valid = high >= 0 && low >= 0;
    colour[i / 2] = static_cast<std::uint8_t>(high * 16 + low);
  }
  if (!valid) {
    throw CliError("malformed " + std::string(option) + " '" + *text + "': expected RRGGBB");
  }
  colour[3] = 255;
  return colour;
}

int ReadLineWidth(const ParsedArgs& args) {
  const std::string* text = args.Value("--line-width");
  if (text == nullptr) return 1;
  int width = 0;
  const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), width);
  if (error != std::errc() || end != text->data() + text->size() || text->front() == '-' ||
      width < 1 || width > kMaxUvLineWidth) {
    throw CliError("malformed --line-width '" + *text + "': expected 1 to " +
                   std::to_string(kMaxUvLineWidth));
  }
  return width;
}

int RunUv(const ParsedArgs& args) {
  if (args.positionals.empty()) throw CliError("uv: expected one or more mesh files");
  const std::string* output = args.Value("-o");
  if (output == nullptr) throw CliError("uv: missing -o OUT.png");
  int width = kDefaultSide, height = kDefaultSide;
  ReadSizeOption(args, kMaxSide, true, width, height);
  const PngCompression compression = CompressionOption(args);
  const std::vector<BatchJob> jobs = PlanBatch("uv", args.positionals, *output, "png");
  for (const BatchJob& job : jobs) RefuseInputAsOutput(job.output, args);
  UvLineStyle style;
  style.line = ReadColour(args, "--line-colour", style.line);
  style.seam = ReadColour(args, "--seam-colour", style.seam);
  style.width = ReadLineWidth(args);
  std::vector<LlmMesh> added;
  for (const std::string& path : args.Values("--add")) added.push_back(ReadMeshFile(path));

  // Every picture starts from the same background.
  RgbaPicture background = RgbaPicture::Filled(width, height, kUvClearColour);
  if (const std::string* texture = args.Value("--texture")) {
    background = ScalePicture(ReadTextureImage(*texture), width, height);
  }

  return RunBatch("uv", jobs, args.Has("-q"), [&](const BatchJob& job) {
    const LlmMesh mesh = ReadMeshFile(job.input);
    RgbaPicture picture = background;
    std::vector<const LlmMesh*> meshes = {&mesh};
    for (const LlmMesh& other : added) meshes.push_back(&other);
    if (!DrawUvEdges(meshes, style, picture)) {
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
      "FILE.llm... [--add OTHER.llm]... [--size N|WIDTHxHEIGHT] [--texture IMAGE] "
      "[--line-width N] [--line-colour RRGGBB] [--seam-colour RRGGBB] [--compression fast|small] "
      "[--quiet] -o OUT.png",
      "Draw the texture layout of meshes, every triangle's edges, as PNG pictures to paint on.",
      kOptions, RunUv};
  return kCommand;
}

}  // namespace tovmar::cli
