// Whether the texture follows its file.
#include "panel/TovmarView.h"

namespace tovmar {

bool CTovmarView::TextureAutoReload() const {
  return m_textureAutoReload;
}

void CTovmarView::SetTextureAutoReload(bool on) {
  m_textureAutoReload = on;
}

}  // namespace tovmar
