// The whole texture load of PNG, JPEG and TGA pictures (decode, temporary BMP file, read back,
// convert), against wxImage decoding the same file alone.

#include <benchmark/benchmark.h>
#include <wx/image.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "bench/BenchFolder.h"
#include "bench/Ratio.h"
#include "mesh/MessageSink.h"
#include "mesh/TextureObject.h"
#include "texture/WxImageConverter.h"

namespace tovmar::bench {

namespace {

// The whole load may cost at most this many times the bare decode.
constexpr double kLoadTarget = 1.5;

// A skin-like picture: smooth gradients with a little noise, so that no encoder finds it trivial.
wxImage MakePicture(int side) {
  wxImage image(side, side, false);
  unsigned char* p = image.GetData();
  std::uint32_t noise = 12345;
  for (int y = 0; y < side; ++y) {
    for (int x = 0; x < side; ++x) {
      noise = noise * 1103515245u + 12345u;
      const int n = static_cast<int>((noise >> 16) & 15u);
      *p++ = static_cast<unsigned char>((x * 255 / side + n) & 0xFF);
      *p++ = static_cast<unsigned char>((y * 255 / side + n) & 0xFF);
      *p++ = static_cast<unsigned char>(((x + y) * 127 / side + n) & 0xFF);
    }
  }
  return image;
}

// Counts the messages instead of showing them; a working load shows none.
class CountingMessageSink : public MessageSink {
 public:
  void Show(const std::string&) override { ++count; }
  int count = 0;
};

CountingMessageSink g_messages;

void LoadTexture(benchmark::State& state, const std::string& path) {
  TextureObject texture;
  for (auto _ : state) {
    if (!texture.Load(path)) state.SkipWithError("the load failed");
    benchmark::DoNotOptimize(texture.pixels.data());
  }
  state.counters["messages"] = g_messages.count;
}

// The least any loader of the file must do: have wxImage decode it.
void DecodeOnly(benchmark::State& state, const std::string& path) {
  for (auto _ : state) {
    wxImage image;
    if (!image.LoadFile(wxString::FromUTF8(path), wxBITMAP_TYPE_ANY)) {
      state.SkipWithError("the decode failed");
    }
    benchmark::DoNotOptimize(image.GetData());
  }
}

void RegisterPair(const std::string& label, const std::string& path) {
  const std::string load = "TextureLoad/" + label;
  const std::string decode = "WxImageDecode/" + label;
  benchmark::RegisterBenchmark(load.c_str(), LoadTexture, path)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark(decode.c_str(), DecodeOnly, path)->Unit(benchmark::kMillisecond);
  AddRatio(load, decode, kLoadTarget);
}

}  // namespace

}  // namespace tovmar::bench

int main(int argc, char** argv) {
  using namespace tovmar::bench;
  tovmar::AddWxImageHandlers();
  const BenchFolder folder("tovmar-bench-texture");
  if (folder.Path().empty()) {
    std::fprintf(stderr, "cannot make a folder for the pictures\n");
    return 1;
  }
  struct Type {
    const char* extension;
    wxBitmapType type;
  };
  const Type types[] = {
      {"png", wxBITMAP_TYPE_PNG}, {"jpg", wxBITMAP_TYPE_JPEG}, {"tga", wxBITMAP_TYPE_TGA}};
  for (int side : {1024, 2048}) {
    wxImage picture = MakePicture(side);
    picture.SetOption(wxIMAGE_OPTION_QUALITY, 90);
    for (const Type& t : types) {
      const std::string label = std::string(t.extension) + "/" + std::to_string(side);
      const std::string path = folder.Path() + "/" + std::to_string(side) + "." + t.extension;
      if (!picture.SaveFile(wxString::FromUTF8(path), t.type)) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return 1;
      }
      RegisterPair(label, path);
    }
  }
  tovmar::WxImageConverter converter;
  tovmar::InstallImageConverter(&converter);
  tovmar::InstallMessageSink(&g_messages);
  return RunBenchmarksWithRatios(argc, argv);
}
