// tovmar-cli render: pictures of meshes as the 3D view draws them, as PNG files, drawn without a
// window or a display.
#include <cmath>
#include <exception>
#include <filesystem>
#include <map>
#include <memory>
#include <numbers>
#include <string>
#include <system_error>
#include <vector>

#include "base/FileBytes.h"
#include "cli/CliError.h"
#include "cli/Command.h"
#include "cli/MessageCapture.h"
#include "cli/MorphSettings.h"
#include "cli/OutputIsInput.h"
#include "cli/ReadMeshFile.h"
#include "cli/ReplaceFile.h"
#include "cli/TerminalText.h"
#include "mesh/SceneStore.h"
#include "render/Camera.h"
#include "render/OffscreenContext.h"
#include "render/RenderImage.h"
#include "texture/ImageConverter.h"
#include "texture/PictureConverter.h"
#include "texture/TextureCommands.h"
#include "tools/PngEncode.h"

namespace tovmar::cli {

namespace {

constexpr OptionInfo kOptions[] = {
    kAppearanceOption,
    kWeightOption,
    {"--texture", "", "IMAGE",
     "Dress each mesh with this image file (PNG, JPEG, TGA, BMP and other types).", false},
    {"--size", "", "WIDTHxHEIGHT", "The picture's size in pixels, 1 to 8192 a side (512x512).",
     false},
    {"--turn", "", "DEGREES",
     "Turn the model about the screen's vertical axis; positive turns its front to the right.",
     false},
    {"--tilt", "", "DEGREES",
     "Then tilt it about the screen's horizontal axis; positive turns its front downwards.", false},
    {"--distance", "", "D", "The eye's distance from the model's centre, 1 to 100 (5).", false},
    {"--pan", "", "Y,Z", "Move the model right by Y and up by Z (0,0).", false},
    {"--light", "", "Y,Z",
     "Place the light at (10, Y, Z) in the model's own axes; it turns with the model (0,0: "
     "from the front).",
     false},
    {"-o", "--output", "OUT.png",
     "The PNG file to write, or an existing folder that receives NAME.png for each FILE.llm "
     "(required; a folder with several files).",
     false},
};

constexpr int kDefaultSide = 512;

struct PictureSettings {
  MorphSettings morphs;
  std::string texture;
  int width = kDefaultSide;
  int height = kDefaultSide;
  ViewCamera camera;
};

// One mesh file and the picture it becomes.
struct Job {
  std::string mesh;
  std::string picture;
};

float FloatOption(const ParsedArgs& args, std::string_view name, float fallback) {
  const std::string* text = args.Value(name);
  if (text == nullptr) return fallback;
  float value = 0.0f;
  if (!ReadFiniteFloat(*text, value)) {
    throw CliError("malformed " + std::string(name) + " '" + *text + "': expected a number");
  }
  return value;
}

// "Y,Z": two finite numbers; `y` and `z` keep their values without the option.
void PairOption(const ParsedArgs& args, std::string_view name, float& y, float& z) {
  const std::string* text = args.Value(name);
  if (text == nullptr) return;
  const std::size_t comma = text->find(',');
  if (comma == std::string::npos || !ReadFiniteFloat(std::string_view(*text).substr(0, comma), y) ||
      !ReadFiniteFloat(std::string_view(*text).substr(comma + 1), z)) {
    throw CliError("malformed " + std::string(name) + " '" + *text + "': expected Y,Z");
  }
}

// A side of "WIDTHxHEIGHT": digits only, 1 to kMaxSide.
bool ReadSide(std::string_view digits, int& side) {
  if (digits.empty() || digits.size() > 5) return false;
  int value = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  if (value < 1 || value > OffscreenContext::kMaxSide) return false;
  side = value;
  return true;
}

void SizeOption(const ParsedArgs& args, int& width, int& height) {
  const std::string* text = args.Value("--size");
  if (text == nullptr) return;
  const std::size_t x = text->find('x');
  if (x == std::string::npos || !ReadSide(std::string_view(*text).substr(0, x), width) ||
      !ReadSide(std::string_view(*text).substr(x + 1), height)) {
    throw CliError("malformed --size '" + *text + "': expected WIDTHxHEIGHT, each 1 to " +
                   std::to_string(OffscreenContext::kMaxSide));
  }
}

// The window's initial camera, turned and tilted as a drag from it would turn it, moved and
// lit as the options say.
ViewCamera CameraFromOptions(const ParsedArgs& args) {
  ViewCamera camera;
  constexpr float kRadiansPerDegree = std::numbers::pi_v<float> / 180.0f;
  const float turn = FloatOption(args, "--turn", 0.0f) * kRadiansPerDegree;
  const float tilt = FloatOption(args, "--tilt", 0.0f) * kRadiansPerDegree;
  camera.stored = Multiply(TurnTiltRotation(turn, tilt), camera.stored);
  camera.shown = camera.stored;

  camera.distance = FloatOption(args, "--distance", camera.distance);
  if (camera.distance < 1.0f || camera.distance > 100.0f) {
    throw CliError("--distance must be 1 to 100");
  }
  PairOption(args, "--pan", camera.pan.y, camera.pan.z);
  PairOption(args, "--light", camera.light[1], camera.light[2]);
  return camera;
}

// Where each picture goes: -o itself for one mesh file, or NAME.png in the folder -o names.
std::vector<Job> PlanJobs(const std::vector<std::string>& meshes, const std::string& output) {
  std::error_code ec;
  const std::filesystem::path folder = PathFromUtf8(output);
  if (!std::filesystem::is_directory(folder, ec)) {
    if (meshes.size() > 1) {
      throw CliError("render: with several mesh files, -o must name an existing folder");
    }
    return {{meshes[0], output}};
  }
  std::vector<Job> jobs;
  std::map<std::string, std::string> writers;  // picture name -> the mesh file that writes it
  for (const std::string& mesh : meshes) {
    const std::string name = PathToUtf8(PathFromUtf8(mesh).stem()) + ".png";
    const auto [it, added] = writers.emplace(name, mesh);
    if (!added) {
      throw CliError("render: '" + it->second + "' and '" + mesh + "' would both write " + name);
    }
    jobs.push_back({mesh, PathToUtf8(folder / PathFromUtf8(name))});
  }
  return jobs;
}

// Loads the image onto mesh object 0 as the texture command does.
void AttachTexture(SceneStore& store, const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(PathFromUtf8(path), ec)) {
    throw CliError("cannot open texture '" + path + "': no such file");
  }
  const MessageCapture messages;
  if (LoadMeshTexture(store, path) == nullptr) {
    throw CliError("cannot load texture '" + path + "': " + messages.Text());
  }
}

// Loads, deforms, dresses and draws one mesh file, and writes its picture.
void RenderJob(const Job& job, const PictureSettings& settings, OffscreenContext& context) {
  LlmMesh mesh = ReadMeshFile(job.mesh);
  SceneStore& store = SceneStore::Instance();
  BuildDeformedMesh(mesh, store, job.mesh, settings.morphs);
  if (!settings.texture.empty()) AttachTexture(store, settings.texture);

  std::string error;
  const std::vector<std::uint8_t> rgb =
      RenderSceneToRgb(context, settings.camera, settings.width, settings.height, store, error);
  if (rgb.empty()) throw CliError("cannot draw '" + job.mesh + "': " + error);
  const std::string png = sample::EncodePngRgb(rgb, settings.width, settings.height);
  if (png.empty()) throw CliError("cannot encode the picture of '" + job.mesh + "' as PNG");
  ReplaceFileContents(job.picture, png);
}

int RunRender(const ParsedArgs& args) {
  if (args.positionals.empty()) throw CliError("render: expected one or more mesh files");
  const std::string* output = args.Value("-o");
  if (output == nullptr) throw CliError("render: missing -o OUT.png");

  // Every option is checked before anything is read or drawn.
  PictureSettings settings;
  SizeOption(args, settings.width, settings.height);
  settings.camera = CameraFromOptions(args);
  if (const std::string* texture = args.Value("--texture")) settings.texture = *texture;
  const std::vector<Job> jobs = PlanJobs(args.positionals, *output);
  for (const Job& job : jobs) RefuseInputAsOutput(job.picture, args);
  settings.morphs = ReadMorphSettings(args);

  std::string error;
  const std::unique_ptr<OffscreenContext> context = OffscreenContext::Create(error);
  if (context == nullptr) throw CliError("render: " + error);
  PictureConverter converter;
  const ScopedImageConverter installed(&converter);

  // One mesh file fails as any command fails; among several, each failure is reported and the
  // others are still drawn.
  if (jobs.size() == 1) {
    RenderJob(jobs[0], settings, *context);
    return kExitSuccess;
  }
  int failures = 0;
  for (const Job& job : jobs) {
    try {
      RenderJob(job, settings, *context);
    } catch (const std::exception& e) {
      PrintErrorLine("render: " + job.mesh + ": " + e.what());
      ++failures;
    }
  }
  return failures == 0 ? kExitSuccess : kExitFailure;
}

}  // namespace

const Command& RenderCommand() {
  static const Command kCommand{
      "render",
      "FILE.llm... [--appearance FILE-or-URL] [--weight NAME=VALUE]... [--texture IMAGE] "
      "[--size WIDTHxHEIGHT] [--turn DEGREES] [--tilt DEGREES] [--distance D] [--pan Y,Z] "
      "[--light Y,Z] -o OUT.png",
      "Draw meshes as the 3D view shows them, without a display, into RGB PNG files.", kOptions,
      RunRender};
  return kCommand;
}

}  // namespace tovmar::cli
