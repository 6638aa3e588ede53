// The panel's texture commands: load (1010), refresh (1015) and texture fit (1036).
#include <wx/tglbtn.h>
#include <wx/utils.h>

#include <algorithm>

#include "app/FileDialogs.h"
#include "app/FileNames.h"
#include "app/TovmarDoc.h"
#include "mesh/SceneStore.h"
#include "panel/BitmapFrame.h"
#include "panel/ControlIds.h"
#include "panel/TovmarView.h"
#include "texture/TextureCommands.h"
#include "texture/ThumbnailPixels.h"

namespace tovmar {

namespace {
// Every kind the decoders read; the dialog matches the extensions in any case.
const char kImageFilter[] =
    "画像ファイル(*.tga;*.jpg;*.jpeg;*.bmp;*.png;*.gif;*.tif;*.tiff)|"
    "*.tga;*.jpg;*.jpeg;*.bmp;*.png;*.gif;*.tif;*.tiff|全て(*.*)|*.*||";
}  // namespace

void CTovmarView::ShowThumbnail(const TextureObject* texture) {
  if (texture == nullptr) return;
  // A large texture reaches the thumbnail sampled down: the window keeps one full-size copy.
  if (texture->HasPixels() && std::max(texture->Width(), texture->Height()) > kMaxThumbnailSide) {
    const ThumbnailPixels small =
        SampleThumbnail(texture->Pixels().data(), texture->Width(), texture->Height());
    m_thumbnail->SetImage(small.width, small.height, small.pixels.data());
  } else {
    m_thumbnail->SetImage(texture->Width(), texture->Height(),
                          texture->HasPixels() ? texture->Pixels().data() : nullptr);
  }
  m_thumbnail->Refresh(false);
  if (texture->HasPixels()) ShowTextureStatus(*texture);
}

void CTovmarView::OnLoadTexture(wxCommandEvent&) {
  if (!RequireMesh()) return;
  const auto answer = AskExistingFile(this, wxString::FromUTF8(kImageFilter), "tga",
                                      m_doc->GetTextureFolder(), "テクスチャを開く");
  if (!answer || answer->path.empty()) return;
  LoadTextureFile(answer->path, FolderOf(*answer));
}

void CTovmarView::LoadTextureFile(const wxString& path, const wxString& folder) {
  {
    // Decoding a large picture takes a moment.
    wxBusyCursor busy;
    ShowThumbnail(LoadMeshTexture(m_scene, CorePath(path), TextureMeshes()));
  }
  m_doc->SetTextureFolder(folder);
  FollowTextureFile();
}

void CTovmarView::OnRefreshTexture(wxCommandEvent&) {
  wxBusyCursor busy;
  ShowThumbnail(RefreshMeshTexture(m_scene, TextureMeshes().front()));
}

void CTovmarView::OnTexFit(wxCommandEvent& event) {
  auto* toggle = dynamic_cast<wxToggleButton*>(event.GetEventObject());
  m_bTexFit = toggle != nullptr && toggle->GetValue() ? 1 : 0;
  // An avatar's parts keep the texture coordinates of their files.
  if (!m_avatar) m_morphs.Apply(m_doc->m_mesh, m_scene, m_bTexFit != 0);
  RefreshView3D(true);
}

}  // namespace tovmar
