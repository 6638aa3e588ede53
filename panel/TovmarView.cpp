#include "panel/TovmarView.h"

#include <utility>

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/frame.h>
#include <wx/tglbtn.h>

#include "app/FileDialogs.h"
#include "app/FileNames.h"
#include "app/Hints.h"
#include "app/TovmarDoc.h"
#include "appearance/window/MorphParamDialog.h"
#include "base/MessageSink.h"
#include "mesh/MeshLoad.h"
#include "mesh/SceneStore.h"
#include "panel/BitmapFrame.h"
#include "panel/CompactControl.h"
#include "panel/ControlIds.h"
#include "panel/DialogUnits.h"
#include "panel/HPJumpFrame.h"
#include "panel/LinkAddresses.h"
#include "panel/MeshReadMessage.h"
#include "panel/StaticFrame.h"
#include "panel/UiFont.h"
#include "render/window/GLView.h"
#include "resources/LightPosBitmap.h"
#include "resources/LinkPictures.h"

namespace tovmar {

namespace {

const char kMeshFilter[] = "LLM メッシュ(*.llm)|*.llm|全て(*.*)|*.*||";

// One step of the arrow buttons, in world units.
constexpr float kPanStep = 0.1f;

// The widest captions of the form's controls: the font is chosen so that they fit.
constexpr DialogRect kAvatarButton{0, 129, 48, 12};
constexpr DialogRect kAlwaysOnTopCheck{6, 54, 42, 10};

}  // namespace

CTovmarView::CTovmarView(wxWindow* parent, CTovmarDoc* doc, SceneStore& scene)
    : wxScrolledWindow(parent, wxID_ANY, wxDefaultPosition, wxSize(86, 100),
                       wxHSCROLL | wxVSCROLL | wxTAB_TRAVERSAL),
      m_doc(doc),
      m_scene(scene) {
  const int buttonRoom = FormRect(kAvatarButton).width - 2 * kButtonCaptionInset;
  const int checkRoom = FormRect(kAlwaysOnTopCheck).width - kCheckBoxIndicatorRoom;
  SetFont(PanelFont(*this, {{"Avatar設定読込", buttonRoom}, {"常に手前", checkRoom}}));
  CreateControls();
  SetVirtualSize(FormSizeInPixels());
  SetScrollRate(5, 5);
}

wxSize CTovmarView::FormSizeInPixels() const {
  return DialogToPixels(this, kPanelUnits, wxSize(kFormWidth, kFormHeight));
}

wxRect CTovmarView::FormRect(const DialogRect& rect) const {
  return DialogToPixels(this, kPanelUnits, rect);
}

template <class Control, class... Args>
Control* CTovmarView::Add(const DialogRect& rect, Args&&... args) {
  const wxRect pixels = FormRect(rect);
  auto* control =
      new Control(this, std::forward<Args>(args)..., pixels.GetPosition(), pixels.GetSize());
  m_formRects.emplace_back(control, pixels);
  return control;
}

void CTovmarView::CreateControls() {
  // Captions are UTF-8 literals, converted explicitly so that no locale can garble them.
  const auto text = [](const char* caption) { return wxString::FromUTF8(caption); };
  const auto button = [&](int id, const char* caption, DialogRect r) {
    return Add<CompactControl<wxButton>>(r, id, text(caption));
  };
  const auto label = [&](int id, const char* caption, DialogRect r) {
    return Add<StaticFrame>(r, id, text(caption));
  };

  // Created in the form's tab order, each at the form's rectangle.
  Add<CompactControl<wxCheckBox>>(kAlwaysOnTopCheck, IDC_ALWAYS_ON_TOP, text("常に手前"));
  button(IDC_LOAD_MESH, "読み込み", {0, 105, 48, 12});
  button(IDC_LOAD_TEXTURE, "読み込み", {0, 239, 48, 12});
  button(IDC_REFRESH_TEXTURE, "更新", {0, 251, 48, 12});
  m_labelDisplay = label(IDC_LABEL_DISPLAY, "表示", {0, 282, 48, 15});
  button(IDC_MOVE_UP, "↑", {0, 297, 48, 12});
  button(IDC_MOVE_LEFT, "←", {0, 309, 24, 12});
  button(IDC_MOVE_RIGHT, "→", {24, 309, 24, 12});
  button(IDC_MOVE_DOWN, "↓", {0, 321, 48, 12});
  m_labelMesh = label(IDC_LABEL_MESH, "LLM メッシュ", {0, 89, 48, 15});
  m_link1 = Add<HPJumpFrame>({0, 0, 48, 24}, IDC_URL1, "URL1");
  m_link2 = Add<HPJumpFrame>({0, 24, 48, 24}, IDC_URL2, "URL2");
  m_labelTexture = label(IDC_LABEL_TEXTURE, "テクスチャ", {0, 170, 48, 15});
  m_thumbnail = Add<BitmapFrame>({0, 185, 48, 54}, IDC_THUMBNAIL, "Texture");
  // The light pad shows its picture instead of its caption and is no tab stop.
  // The caption stays the control's name.
  const wxRect padRect = FormRect({0, 333, 48, 54});
  auto* pad = new CompactControl<wxButton>(this, IDC_LIGHT_POS, text("Light Pos"),
                                           padRect.GetPosition(), padRect.GetSize(), wxBU_NOTEXT);
  m_formRects.emplace_back(pad, padRect);
  pad->DisableFocusFromKeyboard();
  pad->SetName("Light Pos");
  button(IDC_MORPHING, "モーフィング", {0, 117, 48, 12});
  button(IDC_LOAD_AVATAR, "Avatar設定読込", kAvatarButton);
  // Part of the form, but never shown or enabled: the texture coordinates are not morphed.
  auto* texFit =
      Add<CompactControl<wxToggleButton>>({0, 263, 48, 12}, IDC_TEX_FIT, text("TEX フィット"));
  texFit->Hide();
  texFit->Disable();

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

// Scrolling moves the controls themselves. The toolkit's own way would shift the whole client
// area and every control in it, and GTK refuses to move a hidden one (the TEX fit control) with
// a critical warning.
void CTovmarView::ScrollWindow(int dx, int dy, const wxRect*) {
  for (const auto& [control, rect] : m_formRects) {
    control->Move(control->GetPosition() + wxPoint(dx, dy));
  }
}

// A panel that grows beyond the form loses its scroll bars and goes back to the top; the
// controls follow, so that none stays where an earlier scroll put it.
void CTovmarView::AdjustScrollbars() {
  wxScrolledWindow::AdjustScrollbars();
  for (const auto& [control, rect] : m_formRects) {
    const wxPoint shown = CalcScrolledPosition(rect.GetPosition());
    if (control->GetPosition() != shown) control->Move(shown);
  }
}

void CTovmarView::OnInitialUpdate() {
  OnUpdate(nullptr, 0, nullptr);
  FitFrameToForm();
  const LinkAddresses addresses = FindLinkAddresses();
  m_link1->SetLink(addresses.homePage, MakeHomePagePicture().data(), kLinkPictureWidth,
                   kLinkPictureHeight);
  m_link2->SetLink(addresses.guide, MakeGuidePicture().data(), kLinkPictureWidth,
                   kLinkPictureHeight);
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
  // The frame's client area is set, not its outer size: the window manager's decorations do not
  // come out of the panel's height.
  const wxSize client = GetClientSize();
  const wxSize form = FormSizeInPixels();
  const int dw = std::max(0, client.x - form.x);
  const int dh = std::max(0, client.y - form.y);
  if (dw > 0 || dh > 0) frame->SetClientSize(frame->GetClientSize() - wxSize(dw, dh));
}

void CTovmarView::OnUpdate(wxView* sender, int hint, wxObject* object) {
  if (sender != nullptr || object != nullptr) return;
  if (hint == HINT_MORPHS_CHANGED && m_avatar) {
    SpreadDocumentWeights();
  } else if (hint == HINT_MORPHS_CHANGED) {
    m_morphs.Apply(m_doc->m_mesh, m_scene, m_bTexFit != 0);
  } else if (hint == HINT_MORPH_DIALOG_CLOSED) {
    m_pMorphDlg = nullptr;
    // What the dialog changed is one step of the history.
    CommitWeights();
  }
  if (hint == HINT_MORPHS_CHANGED) ShowWeightsEverywhere();
}

void CTovmarView::OnLoadMesh(wxCommandEvent&) {
  const auto answer = AskExistingFile(this, wxString::FromUTF8(kMeshFilter), "llm",
                                      m_doc->GetMeshFolder(), "LLM メッシュを開く");
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
  MeshReadRefusal why;
  if (!ReadCompleteMeshFile(CorePath(path), mesh, &why)) {
    ShowMessage(MeshReadMessage(CorePath(path), why));
    return;
  }
  BuildMeshObjects(mesh, m_scene, CorePath(path));
  CloseAvatar();
  m_doc->m_appearanceIds.clear();
  FollowTextureFile();
  if (m_pMorphDlg != nullptr) m_pMorphDlg->Rebuild(&mesh);
  ShapesReplaced();
  m_thumbnail->Clear();
  m_thumbnail->Refresh(false);
  ShowLoadedMesh(path);
}

bool CTovmarView::RequireMesh() const {
  if (m_scene.GetMesh(0) != nullptr) return true;
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

GLView* CTovmarView::View3D() const {
  return dynamic_cast<GLView*>(m_doc->GetPaneView(1));
}

void CTovmarView::RefreshView3D(bool erase) const {
  if (wxWindow* view = m_doc->GetPaneView(1)) view->Refresh(erase);
}

void CTovmarView::OnPanButton(wxCommandEvent& event) {
  GLView* view = View3D();
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
  GLView* view = View3D();
  auto* pad = dynamic_cast<wxWindow*>(event.GetEventObject());
  if (view == nullptr || pad == nullptr) return;
  const wxSize size = pad->GetClientSize();
  const wxPoint cursor = pad->ScreenToClient(wxGetMousePosition());
  view->Camera().light = LightFromPad(view->Camera().light, cursor.x, cursor.y, size.x, size.y);
  RefreshView3D(true);
}

}  // namespace tovmar
