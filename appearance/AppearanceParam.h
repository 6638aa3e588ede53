// One parameter record of an appearance archetype file.
#pragma once

#include <cstdint>
#include <string>

namespace tovmar {

struct AppearanceParam {
  // The values a record keeps when the file does not set them.
  std::int32_t id = 16777215;
  std::string name;  // UTF-8, case as in the file
  float value = 0.0f;
};

}  // namespace tovmar
