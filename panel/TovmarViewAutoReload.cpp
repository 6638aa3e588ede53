// The panel's texture auto-reload: the texture's file is watched, and when an image editor saved
// it again it is read again as "更新" reads it, but without a message and without losing the
// picture that shows when the read fails.
#include <string>

#include <wx/config.h>

#include "app/FileNames.h"
#include "app/Profile.h"
#include "base/MessageSink.h"
#include "base/ScopedInstall.h"
#include "mesh/SceneStore.h"
#include "panel/TovmarView.h"
#include "texture/TextureCommands.h"

namespace tovmar {

namespace {

const char kAutoReloadKey[] = "/Texture/AutoReload";

// Keeps back the messages of a read nobody asked for, while it lives.
class QuietMessages : public MessageSink {
 public:
  void Show(const std::string&) override {}

 private:
  ScopedInstall<MessageSink, &InstallMessageSink> m_installed{this};
};

}  // namespace

bool CTovmarView::TextureAutoReloadInProfile() {
  const wxConfigBase* profile = wxConfigBase::Get(false);
  return profile == nullptr || profile->ReadBool(kAutoReloadKey, true);
}

bool CTovmarView::TextureAutoReload() const {
  return m_textureAutoReload;
}

void CTovmarView::SetTextureAutoReload(bool on) {
  m_textureAutoReload = on;
  if (wxConfigBase* profile = wxConfigBase::Get(false)) {
    profile->Write(kAutoReloadKey, on);
    // A profile that cannot be written is reported when the window closes, as for every setting.
    WriteProfile(*profile);
  }
  FollowTextureFile();
}

void CTovmarView::FollowTextureFile() {
  SceneStore& store = m_scene;
  const MeshObject* mesh = store.GetMesh(TextureMeshes().front());
  const TextureObject* texture =
      mesh != nullptr ? store.FindTexture(mesh->GetTextureId()) : nullptr;
  if (!m_textureAutoReload || texture == nullptr) {
    m_textureWatch.Stop();
  } else if (!texture->sourcePath.empty()) {
    m_textureWatch.Watch(WxPath(texture->sourcePath));
  }
  // A texture that a failed "更新" emptied keeps the watch on its file, which may come back.
}

void CTovmarView::OnTextureFileSettled(const wxString& path) {
  // The mesh or its texture may have changed since the file was last seen.
  FollowTextureFile();
  if (m_textureWatch.Path() != path) return;
  const TextureObject* texture = nullptr;
  {
    // A file still half written keeps the picture that shows; its next change tries again.
    const QuietMessages quiet;
    texture = ReloadMeshTextureKeepingPicture(m_scene, CorePath(path), TextureMeshes().front());
  }
  if (texture == nullptr) return;
  ShowThumbnail(texture);
  // No click asked for it, so the view repaints by itself.
  RefreshView3D(false);
}

}  // namespace tovmar
