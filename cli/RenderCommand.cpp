// tovmar-cli render: pictures of meshes as the 3D view draws them, as PNG files, drawn without a
// window or a display.
#include <sched.h>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <future>
#include <memory>
#include <numbers>
#include <optional>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "base/FileBytes.h"
#include "cli/AvatarCommands.h"
#include "cli/AvatarInput.h"
#include "cli/BatchOutputs.h"
#include "cli/BatchProgress.h"
#include "cli/CliError.h"
#include "cli/Command.h"
#include "cli/MorphSettings.h"
#include "cli/OutputIsInput.h"
#include "cli/ParallelBatch.h"
#include "cli/PngOptions.h"
#include "cli/RenderScene.h"
#include "cli/ReplaceFile.h"
#include "cli/TerminalText.h"
#include "render/Camera.h"
#include "render/OffscreenContext.h"
#include "render/RenderImage.h"
#include "texture/decode/PngWriter.h"

namespace tovmar::cli {

namespace {

constexpr OptionInfo kOptions[] = {
    kAppearanceOption,
    kArchetypeOption,
    kWeightOption,
    {"--texture", "", "IMAGE",
     "Dress each mesh with this image file (PNG, JPEG, TGA, BMP and other types).", false},
    {"--add", "", "OTHER.llm",
     "Draw another body part with each mesh, placed as on the avatar and shaped by the same "
     "weights; repeatable.",
     true},
    {"--add-texture", "", "IMAGE", "Dress the part of the --add just before with this image.",
     true},
    kAvatarOption,
    kPartTextureOption,
    kWithSkirtOption,
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
    kCompressionOption,
    {"--jobs", "", "N",
     "Draw N pictures at a time, each on a thread of its own; at most the number of processors, "
     "which is also the default, and fewer where large pictures or textures would take too much "
     "memory.",
     false},
    kQuietOption,
    {"-o", "--output", "OUT.png",
     "The PNG file to write, - for standard output, or an existing folder that receives "
     "NAME.png for each FILE.llm (required; a folder with several files).",
     false},
};

constexpr int kDefaultSide = 512;
constexpr std::size_t kMaxJobs = 1024;
// What the workers' pictures and the textures may take in all; larger pictures and textures
// leave fewer workers.
constexpr std::uint64_t kMemoryBudget = std::uint64_t{1} << 30;
// What drawing a picture takes for each of its pixels: the drawing's colour and depth, the pixels
// read back with alpha and then without, and the PNG encoder's work.
constexpr std::uint64_t kPictureBytesPerPixel = 16;

struct PictureSettings {
  int width = kDefaultSide;
  int height = kDefaultSide;
  ViewCamera camera;
  PngCompression compression = PngCompression::kFast;
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

// --add and --add-texture in command-line order: each --add-texture dresses the --add before it.
std::vector<PartFiles> PartsOption(const ParsedArgs& args) {
  std::vector<PartFiles> parts;
  for (const auto& [name, value] : args.InOrder()) {
    if (name == "--add") {
      parts.push_back({value, ""});
    } else if (name == "--add-texture") {
      if (value.empty()) throw CliError("render: --add-texture needs an image file");
      if (parts.empty()) {
        throw CliError("render: --add-texture '" + value +
                       "' must follow the --add of the part it dresses");
      }
      if (!parts.back().texture.empty()) {
        throw CliError("render: more than one --add-texture for the part '" + parts.back().mesh +
                       "'");
      }
      parts.back().texture = value;
    }
  }
  return parts;
}

// The processors this program may run on.
std::size_t ProcessorCount() {
  cpu_set_t set;
  CPU_ZERO(&set);
  if (::sched_getaffinity(0, sizeof(set), &set) == 0 && CPU_COUNT(&set) > 0) {
    return static_cast<std::size_t>(CPU_COUNT(&set));
  }
  return std::max(1u, std::thread::hardware_concurrency());
}

// --jobs, at most the number of processors (more would only share them, at the memory of a
// worker each), which is also what it is without the option.
std::size_t JobsOption(const ParsedArgs& args) {
  const std::size_t processors = ProcessorCount();
  const std::string* text = args.Value("--jobs");
  if (text == nullptr) return processors;
  std::size_t jobs = 0;
  const auto [end, ec] = std::from_chars(text->data(), text->data() + text->size(), jobs);
  if (ec != std::errc() || end != text->data() + text->size() || jobs < 1 || jobs > kMaxJobs) {
    throw CliError("malformed --jobs '" + *text + "': expected 1 to " + std::to_string(kMaxJobs));
  }
  if (jobs > processors) {
    PrintErrorLine("render: --jobs " + *text + " is more than the " + std::to_string(processors) +
                   " processors; drawing " + std::to_string(processors) + " at a time");
    return processors;
  }
  return jobs;
}

// The most workers that stay within the memory budget: each draws a picture of `pixels` pixels,
// and the textures, `textureBytes` in all, are held twice: decoded, and in the contexts, which
// share them. One worker at least, whatever it takes.
std::size_t MaxWorkers(std::uint64_t pixels, std::uint64_t textureBytes) {
  const std::uint64_t perWorker = pixels * kPictureBytesPerPixel;
  if (kMemoryBudget <= 2 * textureBytes + perWorker) return 1;
  return static_cast<std::size_t>(
      std::min<std::uint64_t>((kMemoryBudget - 2 * textureBytes) / perWorker, kMaxJobs));
}

// Up to `count` contexts that share their textures, at least one: the first failure ends the
// command when no context was made, and otherwise leaves fewer workers.
std::vector<std::unique_ptr<OffscreenContext>> CreateContexts(std::size_t count) {
  std::vector<std::unique_ptr<OffscreenContext>> contexts;
  std::string error;
  while (contexts.size() < count) {
    std::unique_ptr<OffscreenContext> context =
        contexts.empty() ? OffscreenContext::Create(error)
                         : OffscreenContext::CreateSharing(*contexts.front(), error);
    if (context == nullptr) break;
    contexts.push_back(std::move(context));
  }
  if (contexts.empty()) throw CliError("render: " + error);
  return contexts;
}

// The contexts of CreateContexts, made on a thread of their own while `read` runs on this one:
// starting the OpenGL implementation takes about as long as decoding a large texture. Both are
// done when this returns or throws.
template <typename Read>
std::vector<std::unique_ptr<OffscreenContext>> CreateContextsWhile(std::size_t count, Read&& read) {
  std::future<std::vector<std::unique_ptr<OffscreenContext>>> made;
  try {
    made = std::async(std::launch::async, CreateContexts, count);
  } catch (const std::system_error&) {
    read();
    return CreateContexts(count);
  }
  read();
  return made.get();
}

// The picture scenes of a run. Scene stores go in the reverse order of their making, as each
// hands the program's store back to the one made before it.
class PictureScenes {
 public:
  PictureScenes(const SharedScene& shared, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
      m_scenes.push_back(std::make_unique<PictureScene>(shared));
  }
  ~PictureScenes() {
    while (!m_scenes.empty()) m_scenes.pop_back();
  }
  PictureScenes(const PictureScenes&) = delete;
  PictureScenes& operator=(const PictureScenes&) = delete;

  PictureScene& operator[](std::size_t i) { return *m_scenes[i]; }

 private:
  std::vector<std::unique_ptr<PictureScene>> m_scenes;
};

// Draws the scene of `scene` into `rgb`, kept for the worker's next picture, and returns the
// picture's PNG file.
std::string DrawAndEncode(const PictureSettings& settings, OffscreenContext& context,
                          PictureScene& scene, std::vector<std::uint8_t>& rgb,
                          const BatchJob& job) {
  std::string error;
  if (!RenderSceneInto(context, settings.camera, settings.width, settings.height, scene.Store(),
                       rgb, error)) {
    throw CliError("cannot draw '" + job.input + "': " + error);
  }
  std::string png = EncodePngRgb(rgb, settings.width, settings.height, settings.compression);
  if (png.empty()) throw CliError("cannot encode the picture of '" + job.input + "' as PNG");
  return png;
}

// render --avatar: the options of one picture, framed on the whole figure unless the camera's
// distance or pan is given.
int RunRenderAvatar(const ParsedArgs& args) {
  if (args.Value("-o") == nullptr) throw CliError("render: missing -o OUT.png");
  AvatarPicture picture;
  picture.width = picture.height = kDefaultSide;
  ReadSizeOption(args, OffscreenContext::kMaxSide, false, picture.width, picture.height);
  picture.camera = CameraFromOptions(args);
  picture.frame = !args.Has("--distance") && !args.Has("--pan");
  picture.compression = CompressionOption(args);
  return RunAvatarRender(args, picture);
}

int RunRender(const ParsedArgs& args) {
  if (args.Has("--avatar")) return RunRenderAvatar(args);
  RefuseAvatarOptionsAlone("render", args);
  if (args.positionals.empty()) throw CliError("render: expected one or more mesh files");
  const std::string* output = args.Value("-o");
  if (output == nullptr) throw CliError("render: missing -o OUT.png");

  // Every option is checked before anything is read or drawn.
  PictureSettings settings;
  ReadSizeOption(args, OffscreenContext::kMaxSide, false, settings.width, settings.height);
  settings.camera = CameraFromOptions(args);
  settings.compression = CompressionOption(args);
  const std::string* texture = args.Value("--texture");
  const std::vector<PartFiles> parts = PartsOption(args);
  const std::size_t jobsWanted = JobsOption(args);
  const std::vector<BatchJob> jobs = PlanBatch("render", args.positionals, *output, "png");
  for (const BatchJob& job : jobs) RefuseInputAsOutput(job.output, args);

  // The weights, the parts and the textures are read once for every picture, while the
  // contexts are made. Each worker draws with a context of its own from scenes of its own; the
  // contexts share the textures, which are put into them once.
  const auto pixels = static_cast<std::uint64_t>(settings.width) * settings.height;
  std::optional<SharedScene> shared;
  std::vector<std::unique_ptr<OffscreenContext>> contexts = CreateContextsWhile(
      std::min({jobsWanted, jobs.size(), MaxWorkers(pixels, 0)}),
      [&] { shared.emplace(ReadMorphSettings(args), texture != nullptr ? *texture : "", parts); });
  contexts.resize(std::min(contexts.size(), MaxWorkers(pixels, shared->TextureBytes())));

  // While one picture is drawn, the next one's scene is built in a spare place.
  const std::size_t places = contexts.size() == 1 ? 1 : contexts.size() + 1;
  PictureScenes scenes(*shared, places);
  BatchSteps steps;
  steps.workers = contexts.size();
  steps.places = places;
  steps.quiet = args.Has("-q");
  steps.prepare = [&](const BatchJob& job, std::size_t place) { scenes[place].Build(job.input); };
  std::vector<std::vector<std::uint8_t>> pictures(contexts.size());
  steps.finish = [&](const BatchJob& job, std::size_t place, std::size_t worker) {
    return DrawAndEncode(settings, *contexts[worker], scenes[place], pictures[worker], job);
  };
  steps.store = [](const BatchJob& job, const std::string& png) { WriteOutput(job.output, png); };
  return RunParallelBatch("render", jobs, steps);
}

}  // namespace

const Command& RenderCommand() {
  static const Command kCommand{
      "render",
      "FILE.llm... [--appearance FILE-or-URL [--archetype NAME]] [--weight NAME=VALUE]... "
      "[--texture IMAGE] "
      "[--size WIDTHxHEIGHT] [--turn DEGREES] [--tilt DEGREES] [--distance D] [--pan Y,Z] "
      "[--light Y,Z] [--add OTHER.llm [--add-texture IMAGE]]... [--compression fast|small] "
      "[--jobs N] [--quiet] -o OUT.png",
      "Draw meshes as the 3D view shows them, without a display, into RGB PNG files; with "
      "--avatar, one picture of the whole avatar, framed to fit.",
      kOptions,
      RunRender,
      "--avatar DIR [--with-skirt] [--part-texture PART=IMAGE]... [--appearance FILE-or-URL "
      "[--archetype NAME]] "
      "[--weight NAME=VALUE]... [--size WIDTHxHEIGHT] [--turn DEGREES] [--tilt DEGREES] "
      "[--distance D] [--pan Y,Z] [--light Y,Z] [--compression fast|small] -o OUT.png"};
  return kCommand;
}

}  // namespace tovmar::cli
