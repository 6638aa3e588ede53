// How much of a ".llm" file a reader walks.
#pragma once

namespace tovmar {

// All of it, or only what drawing the mesh needs: everything up to and with the joint names, the
// morph targets and the remaps left unread.
enum class LlmSections { kAll, kDrawing };

}  // namespace tovmar
