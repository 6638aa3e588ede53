// The whole texture load of PNG, JPEG, TGA and BMP pictures (read, decode, temporary BMP file,
// read back, convert), against reading and decoding the same file alone with the same decoder,
// and, for TGA and BMP, whose decoding is little more than a copy, also against the decode with
// the temporary BMP file written and read back, which every load does.

#include <benchmark/benchmark.h>
#include <jpeglib.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "base/FileBytes.h"
#include "base/MessageSink.h"
#include "bench/BenchFolder.h"
#include "bench/Ratio.h"
#include "mesh/TextureObject.h"
#include "texture/PictureConverter.h"
#include "texture/TemporaryFile.h"
#include "texture/decode/BmpWriter.h"
#include "texture/decode/DecodePicture.h"
#include "texture/decode/PngWriter.h"

namespace tovmar::bench {

namespace {

// The whole load may cost at most this many times the bare decode.
constexpr double kLoadTarget = 1.4;
// ... and, for the types that decode by copying, at most this many times the decode with the
// temporary file.
constexpr double kCopyLoadTarget = 2.0;

// A skin-like picture, R, G, B with the top row first: smooth gradients with a little noise, so
// that no encoder finds it trivial.
std::vector<std::uint8_t> MakePicture(int side) {
  std::vector<std::uint8_t> rgb;
  rgb.reserve(std::size_t{3} * side * side);
  std::uint32_t noise = 12345;
  for (int y = 0; y < side; ++y) {
    for (int x = 0; x < side; ++x) {
      noise = noise * 1103515245u + 12345u;
      const int n = static_cast<int>((noise >> 16) & 15u);
      rgb.push_back(static_cast<std::uint8_t>((x * 255 / side + n) & 0xFF));
      rgb.push_back(static_cast<std::uint8_t>((y * 255 / side + n) & 0xFF));
      rgb.push_back(static_cast<std::uint8_t>(((x + y) * 127 / side + n) & 0xFF));
    }
  }
  return rgb;
}

// A baseline JPEG at quality 90, as cameras and image editors write them.
std::string EncodeJpeg(const std::vector<std::uint8_t>& rgb, int side) {
  jpeg_compress_struct c{};
  jpeg_error_mgr errors{};
  c.err = jpeg_std_error(&errors);
  jpeg_create_compress(&c);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &buffer, &size);
  c.image_width = static_cast<JDIMENSION>(side);
  c.image_height = static_cast<JDIMENSION>(side);
  c.input_components = 3;
  c.in_color_space = JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, 90, TRUE);
  jpeg_start_compress(&c, TRUE);
  while (c.next_scanline < c.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(&rgb[std::size_t{3} * side * c.next_scanline]);
    jpeg_write_scanlines(&c, &row, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  std::string bytes(reinterpret_cast<char*>(buffer), size);
  std::free(buffer);
  return bytes;
}

// The picture in BMP pixel order: bottom row first, B, G, R.
BgrPicture ToBmpOrder(const std::vector<std::uint8_t>& rgb, int side) {
  BgrPicture picture{side, side, {}};
  picture.bgr.reserve(rgb.size());
  for (int y = side - 1; y >= 0; --y) {
    const std::uint8_t* p = &rgb[std::size_t{3} * side * y];
    for (int x = 0; x < side; ++x, p += 3)
      picture.bgr.insert(picture.bgr.end(), {p[2], p[1], p[0]});
  }
  return picture;
}

// An uncompressed 24-bit TGA, bottom row first, as most painting programs save them.
std::string EncodeTga(const BgrPicture& picture) {
  std::string header(18, '\0');
  header[2] = 2;  // true colour
  header[12] = static_cast<char>(picture.width & 0xFF);
  header[13] = static_cast<char>(picture.width >> 8);
  header[14] = static_cast<char>(picture.height & 0xFF);
  header[15] = static_cast<char>(picture.height >> 8);
  header[16] = 24;
  return header + std::string(picture.bgr.begin(), picture.bgr.end());
}

bool WriteFile(const std::string& path, const std::string& bytes) {
  const FilePtr file(std::fopen(path.c_str(), "wb"));
  return file != nullptr && std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
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
    benchmark::DoNotOptimize(texture.Pixels().data());
  }
  state.counters["messages"] = g_messages.count;
}

// The least any loader of the file must do: read it and decode it.
void DecodeOnly(benchmark::State& state, const std::string& path) {
  for (auto _ : state) {
    std::string bytes;
    BgrPicture picture;
    if (ReadWholeFile(path, bytes, std::uint64_t{1} << 30) != FileReadStatus::kOk ||
        !DecodePicture(bytes, picture)) {
      state.SkipWithError("the decode failed");
    }
    benchmark::DoNotOptimize(picture.bgr.data());
  }
}

// The least a load through the temporary file must do: read and decode the file, write the
// picture as a BMP file in the temporary folder and read that back whole.
void DecodeWithTemporaryFile(benchmark::State& state, const std::string& path) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path();
  std::vector<char> back;
  for (auto _ : state) {
    std::string bytes;
    BgrPicture picture;
    TemporaryFile temp;
    if (ReadWholeFile(path, bytes, std::uint64_t{1} << 30) != FileReadStatus::kOk ||
        !DecodePicture(bytes, picture) || !temp.Create(folder, "bmp") ||
        !WriteBmp24(temp.File(), picture) || std::fflush(temp.File()) != 0) {
      state.SkipWithError("the decode or the temporary file failed");
      break;
    }
    const long size = std::ftell(temp.File());
    back.resize(static_cast<std::size_t>(size));
    std::rewind(temp.File());
    if (std::fread(back.data(), 1, back.size(), temp.File()) != back.size()) {
      state.SkipWithError("the temporary file cannot be read back");
    }
    benchmark::DoNotOptimize(back.data());
  }
}

void RegisterPair(const std::string& label, const std::string& path, bool copyDecoded) {
  const std::string load = "TextureLoad/" + label;
  const std::string decode = "DecodeOnly/" + label;
  benchmark::RegisterBenchmark(load.c_str(), LoadTexture, path)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark(decode.c_str(), DecodeOnly, path)->Unit(benchmark::kMillisecond);
  if (!copyDecoded) {
    AddRatio(load, decode, kLoadTarget);
    return;
  }
  const std::string floor = "DecodeWithTemporaryFile/" + label;
  benchmark::RegisterBenchmark(floor.c_str(), DecodeWithTemporaryFile, path)
      ->Unit(benchmark::kMillisecond);
  AddRatio(load, decode, 0.0);
  AddRatio(load, floor, kCopyLoadTarget);
}

}  // namespace

}  // namespace tovmar::bench

int main(int argc, char** argv) {
  using namespace tovmar;
  using namespace tovmar::bench;
  const BenchFolder folder("tovmar-bench-texture");
  if (folder.Path().empty()) {
    std::fprintf(stderr, "cannot make a folder for the pictures\n");
    return 1;
  }
  for (int side : {1024, 2048}) {
    const std::vector<std::uint8_t> rgb = MakePicture(side);
    const BgrPicture bgr = ToBmpOrder(rgb, side);
    const std::string base = folder.Path() + "/" + std::to_string(side);
    const FilePtr bmp(std::fopen((base + ".bmp").c_str(), "wb"));
    const bool written =
        WriteFile(base + ".png", EncodePngRgb(rgb, side, side, PngCompression::kSmall)) &&
        WriteFile(base + ".jpg", EncodeJpeg(rgb, side)) &&
        WriteFile(base + ".tga", EncodeTga(bgr)) && bmp != nullptr && WriteBmp24(bmp.get(), bgr);
    if (!written) {
      std::fprintf(stderr, "cannot write the pictures in %s\n", folder.Path().c_str());
      return 1;
    }
    for (const std::string type : {"png", "jpg", "tga", "bmp"}) {
      RegisterPair(type + "/" + std::to_string(side), base + "." + type,
                   type == "tga" || type == "bmp");
    }
  }
  PictureConverter converter;
  InstallImageConverter(&converter);
  InstallMessageSink(&g_messages);
  return RunBenchmarksWithRatios(argc, argv);
}
