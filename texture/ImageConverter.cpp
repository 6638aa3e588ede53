#include "texture/ImageConverter.h"

#include <utility>

namespace tovmar {

namespace {
ImageConverter* g_converter = nullptr;
}  // namespace

ImageConverter* InstalledImageConverter() {
  return g_converter;
}

ImageConverter* InstallImageConverter(ImageConverter* converter) {
  return std::exchange(g_converter, converter);
}

}  // namespace tovmar
