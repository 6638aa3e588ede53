#include "texture/ImageConverter.h"

namespace tovmar {

namespace {
ImageConverter* g_converter = nullptr;
}  // namespace

ImageConverter* InstalledImageConverter() {
  return g_converter;
}

ImageConverter* InstallImageConverter(ImageConverter* converter) {
  ImageConverter* previous = g_converter;
  g_converter = converter;
  return previous;
}

}  // namespace tovmar
