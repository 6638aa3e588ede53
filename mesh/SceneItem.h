// The identity header shared by mesh objects and texture objects.
#pragma once

#include <cstdint>
#include <string>

namespace tovmar {

struct SceneItem {
  // Takes the next id of the counter shared by every mesh and texture object of the process.
  SceneItem();

  std::int32_t id;
  std::string name;
  std::int32_t marker = 0;
};

}  // namespace tovmar
