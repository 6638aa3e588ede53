#include "panel/TovmarView.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/frame.h>
#include <wx/tglbtn.h>

#include "app/DocumentPane.h"
#include "app/FileDialogs.h"
#include "app/FileNames.h"
#include "app/Hints.h"
#include "app/TovmarDoc.h"
#include "appearance/MorphParamDialog.h"
#include "base/MessageSink.h"
#include "mesh/ApplyMorphs.h"
#include "mesh/MeshLoad.h"
#include "mesh/SceneStore.h"
#include "panel/BitmapFrame.h"
#include "panel/ControlIds.h"
#include "panel/HPJumpFrame.h"
#include "panel/StaticFrame.h"
#include "panel/UiFont.h"
#include "render/GLView.h"
#include "resources/LightPosBitmap.h"
#include "resources/LinkPictures.h"

namespace tovmar {

namespace {

// A rectangle of the form in dialog units.
struct DialogRect {
  int x, y, w, h;
};

const char kMeshFilter[] = "LLM メッシュ(*.llm)|*.llm|全て(*.*)|*.*||";
const char kUnreadableMesh[] = "指定ファイルが読み込めませんでした。";

// One step of the arrow buttons, in world units.
constexpr float kPanStep = 0.1f;

}  // namespace

CTovmarView::CTovmarView(wxWindow* parent, CTovmarDoc* doc)
    : wxScrolledWindow(parent, wxID_ANY, wxDefaultPosition, wxSize(86, 100),
                       wxHSCROLL | wxVSCROLL | wxTAB_TRAVERSAL),
      m_doc(doc) {
  SetFont(wxFont(wxFontInfo(9).FaceName(UiGothicFaceName())));
  CreateControls();
  const wxSize form = FormSizeInPixels();
  SetVirtualSize(form);
  SetScrollRate(5, 5);
  new DocumentPane(doc, *this);
}

wxSize CTovmarView::FormSizeInPixels() const {
  return ConvertDialogToPixels(wxSize(kFormWidth, kFormHeight));
}

void CTovmarView::CreateControls() {
  const auto rect = [this](DialogRect r) {
    return std::make_pair(ConvertDialogToPixels(wxPoint(r.x, r.y)),
                          ConvertDialogToPixels(wxSize(r.w, r.h)));
  };
  // Captions are UTF-8 literals, converted explicitly so that no locale can garble them.
  const auto button = [&](int id, const char* caption, DialogRect r, long style = 0) {
    const auto [pos, size] = rect(r);
    return new wxButton(this, id, wxString::FromUTF8(caption), pos, size, style);
  };
  const auto label = [&](int id, const char* caption, DialogRect r) {
    const auto [pos, size] = rect(r);
    return new StaticFrame(this, id, wxString::FromUTF8(caption), pos, size);
  };

  // Created in the form's tab order; positions come from the form's rectangles.
  {
    const auto [pos, size] = rect({6, 54, 42, 10});
    new wxCheckBox(this, IDC_ALWAYS_ON_TOP, wxString::FromUTF8("常に手前"), pos, size);
  }
  button(IDC_LOAD_MESH, "読み込み", {0, 105, 48, 12});
  button(IDC_LOAD_TEXTURE, "読み込み", {0, 239, 48, 12});
  button(IDC_REFRESH_TEXTURE, "更新", {0, 251, 48, 12});
  m_labelDisplay = label(IDC_LABEL_DISPLAY, "表示", {0, 282, 48, 15});
  button(IDC_MOVE_UP, "↑", {0, 297, 48, 12});
  button(IDC_MOVE_LEFT, "←", {0, 309, 24, 12});
  button(IDC_MOVE_RIGHT, "→", {24, 309, 24, 12});
  button(IDC_MOVE_DOWN, "↓", {0, 321, 48, 12});
  m_labelMesh = label(IDC_LABEL_MESH, "LLM メッシュ", {0, 89, 48, 15});
  {
    const auto [pos, size] = rect({0, 0, 48, 24});
    m_link1 = new HPJumpFrame(this, IDC_URL1, "URL1", pos, size);
  }
  {
    const auto [pos, size] = rect({0, 24, 48, 24});
    m_link2 = new HPJumpFrame(this, IDC_URL2, "URL2", pos, size);
  }
  m_labelTexture = label(IDC_LABEL_TEXTURE, "テクスチャ", {0, 170, 48, 15});
  {
    const auto [pos, size] = rect({0, 185, 48, 54});
    m_thumbnail = new BitmapFrame(this, IDC_THUMBNAIL, "Texture", pos, size);
  }
  // The light pad shows its picture instead of its caption and is no tab stop.
  // The caption stays the control's name.
  wxButton* pad = button(IDC_LIGHT_POS, "Light Pos", {0, 333, 48, 54}, wxBU_NOTEXT);
  pad->DisableFocusFromKeyboard();
  pad->SetName("Light Pos");
  button(IDC_MORPHING, "モーフィング", {0, 117, 48, 12});
  button(IDC_LOAD_AVATAR, "Avatar設定読込", {0, 129, 48, 12});
  {
    // Part of the form, but never shown or enabled: the texture coordinates are not morphed.
    const auto [pos, size] = rect({0, 263, 48, 12});
    auto* texFit =
        new wxToggleButton(this, IDC_TEX_FIT, wxString::FromUTF8("TEX フィット"), pos, size);
    texFit->Hide();
    texFit->Disable();
  }

  Bind(wxEVT_BUTTON, &CTovmarView::OnLoadMesh, this, IDC_LOAD_MESH);
  Bind(wxEVT_CHECKBOX, &CTovmarView::OnAlwaysOnTop, this, IDC_ALWAYS_ON_TOP);
  Bind(wxEVT_BUTTON, &CTovmarView::OnPanButton, this, IDC_MOVE_UP, IDC_MOVE_DOWN);
  Bind(wxEVT_BUTTON, &CTovmarView::OnLightPos, this, IDC_LIGHT_POS);
  Bind(wxEVT_BUTTON, &CTovmarView::OnOpenMorphDialog, this, IDC_MORPHING);
  Bind(wxEVT_BUTTON, &CTovmarView::OnLoadTexture, this, IDC_LOAD_TEXTURE);
  Bind(wxEVT_BUTTON, &CTovmarView::OnRefreshTexture, this, IDC_REFRESH_TEXTURE);
  Bind(wxEVT_TOGGLEBUTTON, &CTovmarView::OnTexFit, this, IDC_TEX_FIT);
  Bind(wxEVT_BUTTON, &CTovmarView::OnLoadAvatarSettings, this, IDC_LOAD_AVATAR);
}

void CTovmarView::OnInitialUpdate() {
  OnUpdate(nullptr, 0, nullptr);
  FitFrameToForm();
  m_link1->SetLink(kHomePageUrl, MakeHomePagePicture().data(), kLinkPictureWidth,
                   kLinkPictureHeight);
  m_link2->SetLink(kGuideUrl, MakeGuidePicture().data(), kLinkPictureWidth, kLinkPictureHeight);
  m_bmpLightPos = MakeLightPosBitmap();
  if (auto* lightPos = dynamic_cast<wxButton*>(FindWindow(IDC_LIGHT_POS))) {
    lightPos->SetBitmap(m_bmpLightPos);
  }
}

void CTovmarView::FitFrameToForm() {
  auto* frame = dynamic_cast<wxFrame*>(wxGetTopLevelParent(this));
  if (frame == nullptr) return;
  frame->Layout();
  frame->SendSizeEvent();
  // Shrink the frame, never enlarge it, by as much as the panel exceeds the form; the panel's
  // column keeps its width, so the width comes out of the 3D view.
  const wxSize client = GetClientSize();
  const wxSize form = FormSizeInPixels();
  const int dw = std::max(0, client.x - form.x);
  const int dh = std::max(0, client.y - form.y);
  if (dw > 0 || dh > 0) frame->SetSize(frame->GetSize() - wxSize(dw, dh));
}

void CTovmarView::OnUpdate(wxView* sender, int hint, wxObject* object) {
  if (sender != nullptr || object != nullptr) return;
  if (hint == HINT_MORPHS_CHANGED) {
    ApplyMorphs(m_doc->m_mesh, SceneStore::Instance(), m_bTexFit != 0);
  } else if (hint == HINT_MORPH_DIALOG_CLOSED) {
    m_pMorphDlg = nullptr;
  }
}

void CTovmarView::OnLoadMesh(wxCommandEvent&) {
  FileDialogRequest request;
  request.parent = this;
  request.filter = wxString::FromUTF8(kMeshFilter);
  request.defaultExtension = "llm";
  request.initialFolder = m_doc->GetMeshFolder();
  request.mustExist = true;
  const auto answer = CurrentFileDialogs().AskOpenPath(request);
  if (!answer) return;
  if (answer->path.empty()) {
    m_thumbnail->Clear();
    m_thumbnail->Refresh(false);
    return;
  }
  LoadMeshFile(answer->path, FolderOf(*answer));
}

void CTovmarView::LoadMeshFile(const wxString& path, const wxString& folder) {
  LlmMesh& mesh = m_doc->m_mesh;
  m_doc->SetMeshFolder(folder);
  // A file that went away, cannot be read or ends early replaces nothing: the mesh on screen
  // keeps its shape, its weights and its texture.
  if (!ReadCompleteMeshFile(CorePath(path), mesh)) {
    ShowMessage(kUnreadableMesh);
    return;
  }
  BuildMeshObjects(mesh, SceneStore::Instance(), CorePath(path));
  if (m_pMorphDlg != nullptr) m_pMorphDlg->Rebuild(&mesh);
  m_thumbnail->Clear();
  m_thumbnail->Refresh(false);
}

bool CTovmarView::RequireMesh() const {
  if (SceneStore::Instance().GetMesh(0) != nullptr) return true;
  ShowMessage("先にLLMメッシュを読み込んで下さい。");
  return false;
}

void CTovmarView::OnAlwaysOnTop(wxCommandEvent&) {
  auto* frame = dynamic_cast<wxFrame*>(wxGetTopLevelParent(this));
  auto* check = dynamic_cast<wxCheckBox*>(FindWindow(IDC_ALWAYS_ON_TOP));
  if (frame == nullptr || check == nullptr) return;
  const long style = frame->GetWindowStyleFlag();
  frame->SetWindowStyleFlag(check->GetValue() ? (style | wxSTAY_ON_TOP) : (style & ~wxSTAY_ON_TOP));
}

void CTovmarView::RefreshView3D(bool erase) const {
  if (wxWindow* view = m_doc->GetPaneView(1)) view->Refresh(erase);
}

void CTovmarView::OnPanButton(wxCommandEvent& event) {
  auto* view = dynamic_cast<GLView*>(m_doc->GetPaneView(1));
  if (view == nullptr) return;
  switch (event.GetId()) {
    case IDC_MOVE_UP:
      view->PanVertical(kPanStep);
      break;
    case IDC_MOVE_DOWN:
      view->PanVertical(-kPanStep);
      break;
    case IDC_MOVE_LEFT:
      view->PanHorizontal(-kPanStep);
      break;
    case IDC_MOVE_RIGHT:
      view->PanHorizontal(kPanStep);
      break;
    default:
      return;
  }
  RefreshView3D(true);
}

void CTovmarView::OnLightPos(wxCommandEvent& event) {
  auto* view = dynamic_cast<GLView*>(m_doc->GetPaneView(1));
  auto* pad = dynamic_cast<wxWindow*>(event.GetEventObject());
  if (view == nullptr || pad == nullptr) return;
  const wxSize size = pad->GetClientSize();
  const wxPoint cursor = pad->ScreenToClient(wxGetMousePosition());
  view->Camera().light = LightFromPad(view->Camera().light, cursor.x, cursor.y, size.x, size.y);
  RefreshView3D(true);
}

}  // namespace tovmar
