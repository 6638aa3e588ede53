// Writing the three sample files into one folder.
#pragma once

#include <string>

namespace tovmar::sample {

constexpr const char* kSampleMeshFile = "sample.llm";
constexpr const char* kSampleTextureFile = "sample.png";
constexpr const char* kSampleAppearanceFile = "sample.xml";

// Creates `folder` (UTF-8) when it is missing and writes the sample mesh, texture and appearance
// file into it, and the sample body's three parts (SampleParts.h), the same bytes every time. On
// failure returns false with a one-line reason.
bool WriteSampleFiles(const std::string& folder, std::string& error);

}  // namespace tovmar::sample
