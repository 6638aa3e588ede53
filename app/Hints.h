// The update hints that the morph dialog sends through the document to both panes.
#pragma once

namespace tovmar {

constexpr int HINT_MORPHS_CHANGED = 100;
constexpr int HINT_MORPH_DIALOG_CLOSED = 101;

}  // namespace tovmar
