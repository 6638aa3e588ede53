#include "mesh/SceneItem.h"

namespace tovmar {

namespace {
// Ids start at 0 with the process and are never reused.
std::int32_t g_nextItemId = 0;
}  // namespace

SceneItem::SceneItem() : id(g_nextItemId++) {}

}  // namespace tovmar
