// The --avatar forms of render, export-gltf and info, each in a file of its own.
#pragma once

#include "cli/Options.h"
#include "cli/PngOptions.h"
#include "render/Camera.h"

namespace tovmar::cli {

// export-gltf --avatar DIR: the avatar as one glTF binary file with its skeleton and skin.
int RunAvatarExportGltf(const ParsedArgs& args);

// What render has read from its options for one picture.
struct AvatarPicture {
  int width = 0;
  int height = 0;
  ViewCamera camera;
  // True when neither --distance nor --pan was given: the camera then frames the whole figure.
  bool frame = true;
  PngCompression compression = PngCompression::kFast;
};

// render --avatar DIR: one picture of the whole avatar.
int RunAvatarRender(const ParsedArgs& args, const AvatarPicture& picture);

// info --avatar DIR: the parts found, their vertices and targets, and the skeleton's bones.
int RunAvatarInfo(const ParsedArgs& args);

}  // namespace tovmar::cli
