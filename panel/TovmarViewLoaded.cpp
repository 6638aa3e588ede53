// What the window shows of what is loaded: the caption names the mesh, the status bar the mesh,
// its texture and the appearance last applied, and a new mesh is framed in the 3D view.
#include <vector>

#include <wx/config.h>
#include <wx/filename.h>
#include <wx/frame.h>
#include <wx/statusbr.h>

#include "app/FileNames.h"
#include "app/MainFrame.h"
#include "app/Profile.h"
#include "app/TovmarDoc.h"
#include "mesh/TextureObject.h"
#include "panel/StatusTexts.h"
#include "panel/TovmarView.h"
#include "render/window/GLView.h"

namespace tovmar {

namespace {
const char kFrameOnLoadKey[] = "/View/FrameOnLoad";
}  // namespace

bool CTovmarView::FrameOnLoadInProfile() {
  const wxConfigBase* profile = wxConfigBase::Get(false);
  return profile == nullptr || profile->ReadBool(kFrameOnLoadKey, true);
}

void CTovmarView::SetFrameOnLoad(bool on) {
  m_frameOnLoad = on;
  if (wxConfigBase* profile = wxConfigBase::Get(false)) {
    profile->Write(kFrameOnLoadKey, on);
    // A profile that cannot be written is reported when the window closes, as for every setting.
    WriteProfile(*profile);
  }
}

void CTovmarView::ShowLoadedMesh(const wxString& path) {
  ShowInCaption(wxFileName(path).GetFullName());
  ShowMeshStatus();
  SetStatus(kStatusTexture, "");
  SetStatus(kStatusAppearance, "");
  if (GLView* view = View3D(); view != nullptr && m_frameOnLoad) view->FrameModel();
}

void CTovmarView::ShowInCaption(const wxString& name) {
  m_doc->SetTitle(name);
  if (auto* frame = dynamic_cast<CMainFrame*>(wxGetTopLevelParent(this))) frame->UpdateCaption();
}

void CTovmarView::ShowMeshStatus() {
  const LlmMesh& mesh = m_doc->m_mesh;
  SetStatus(kStatusMesh, MeshStatusText(mesh.path, mesh.coords.size(), mesh.morphTargets.size()));
}

void CTovmarView::ShowTextureStatus(const TextureObject& texture) {
  SetStatus(kStatusTexture,
            TextureStatusText(texture.sourcePath, texture.Width(), texture.Height()));
}

void CTovmarView::ShowAppearanceStatus(const wxString& location, int targets) {
  SetStatus(kStatusAppearance, AppearanceStatusText(CorePath(location), targets));
}

void CTovmarView::SetStatus(int field, const std::string& text) {
  auto* frame = dynamic_cast<wxFrame*>(wxGetTopLevelParent(this));
  wxStatusBar* bar = frame != nullptr ? frame->GetStatusBar() : nullptr;
  if (bar == nullptr || field >= bar->GetFieldsCount()) return;
  // The window is narrow: the fields that say something share its width (a field cut short shows
  // whole in its tip). A field is redrawn while it still has room: a text is set after its field
  // widens, an emptied field narrows after it was cleared.
  std::vector<int> widths;
  for (int i = 0; i < bar->GetFieldsCount(); ++i) {
    const bool empty = i == field ? text.empty() : bar->GetStatusText(i).empty();
    widths.push_back(empty ? 0 : -1);
  }
  if (text.empty()) bar->SetStatusText(wxString(), field);
  bar->SetStatusWidths(static_cast<int>(widths.size()), widths.data());
  if (!text.empty()) bar->SetStatusText(wxString::FromUTF8(text), field);
}

}  // namespace tovmar
