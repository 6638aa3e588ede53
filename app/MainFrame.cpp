#include "app/MainFrame.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include <wx/accel.h>
#include <wx/filename.h>
#include <wx/log.h>
#include <wx/splitter.h>

#include "app/AboutDialog.h"
#include "app/CommandIds.h"
#include "app/DocumentPane.h"
#include "app/FileDialogs.h"
#include "app/FileNames.h"
#include "app/OpenedFileKind.h"
#include "app/Profile.h"
#include "app/RecentFiles.h"
#include "app/TovmarDoc.h"
#include "base/FileBytes.h"
#include "base/MessageSink.h"
#include "panel/StatusTexts.h"
#include "panel/TovmarView.h"
#include "panel/ViewContextMenu.h"
#include "render/window/GLView.h"
#include "resources/WindowIcon.h"

namespace tovmar {

namespace {
const char kDocumentFilter[] = "Tovmar Files (*.tovm)|*.tovm||";
const char kOpenDocumentTitle[] = "ドキュメントを開く";
const char kSaveDocumentTitle[] = "ドキュメントを保存";

std::string UnsavedDocumentMessage(const wxString& path) {
  return "ドキュメントを保存できませんでした。\n"
         "書き込めないフォルダかファイルか、通常のファイルではありません。\n" +
         path.utf8_string();
}

std::string NotADocumentMessage(const wxString& path) {
  return "ドキュメントを開けませんでした。\nフォルダ、名前付きパイプ、デバイスは開けません。\n" +
         path.utf8_string();
}
}  // namespace

CMainFrame::CMainFrame(wxDocManager* manager, CTovmarDoc* doc, SceneStore& scene)
    : wxDocParentFrame(manager, nullptr, wxID_ANY, "Tovmar", wxDefaultPosition,
                       wxSize(kInitialWidth, kInitialHeight),
                       wxDEFAULT_FRAME_STYLE | wxCLIP_CHILDREN),
      m_doc(doc) {
  SetIcons(MakeWindowIcons());
  // A static 1 x 2 splitter: the panel keeps its column width when the frame changes size.
  m_wndSplitter = new wxSplitterWindow(this, kSplitterId, wxDefaultPosition, wxDefaultSize,
                                       wxSP_3D | wxSP_LIVE_UPDATE | wxBORDER_SIMPLE);
  m_wndSplitter->SetSashGravity(0.0);
  m_wndSplitter->SetMinimumPaneSize(1);
  m_panel = new CTovmarView(m_wndSplitter, doc, scene);
  m_view = new GLView(m_wndSplitter, scene);
  // The document reaches the panes, and tells them of its changes, through these views.
  new DocumentPane(doc, *m_panel, 0);
  new DocumentPane(doc, *m_view, 1);
  m_wndSplitter->SplitVertically(m_panel, m_view, FromDIP(kPanelWidth));
  // The 3D view's context menu acts on the panel's commands.
  m_view->Bind(wxEVT_CONTEXT_MENU,
               [this](wxContextMenuEvent& event) { m_panel->ShowViewMenu(event.GetPosition()); });

  // Under the splitter: the mesh, its texture and the appearance last applied (the panel sets
  // them, and shares the width among the fields that say something).
  CreateStatusBar(kStatusFieldCount);

  InstallAccelerators();
  Bind(wxEVT_MENU, &CMainFrame::OnNewDocument, this, ID_FILE_NEW);
  Bind(wxEVT_MENU, &CMainFrame::OnOpenDocument, this, ID_FILE_OPEN);
  Bind(wxEVT_MENU, &CMainFrame::OnSaveDocument, this, ID_FILE_SAVE);
  Bind(wxEVT_MENU, &CMainFrame::OnSwitchPane, this, ID_NEXT_PANE);
  Bind(wxEVT_MENU, &CMainFrame::OnSwitchPane, this, ID_PREV_PANE);
  Bind(wxEVT_MENU, &CMainFrame::OnAbout, this, ID_APP_ABOUT);
  Bind(
      wxEVT_MENU, [this](wxCommandEvent&) { m_panel->UndoWeights(); }, ID_EDIT_UNDO);
  Bind(
      wxEVT_MENU, [this](wxCommandEvent&) { m_panel->RedoWeights(); }, ID_EDIT_REDO);
  Bind(
      wxEVT_MENU, [this](wxCommandEvent&) { m_panel->RunViewMenuCommand(ID_VIEW_SHAPE_EDITOR); },
      ID_VIEW_SHAPE_EDITOR);
  Bind(wxEVT_DROP_FILES, &CMainFrame::OnDropFiles, this);
  Bind(wxEVT_CHAR_HOOK, &CMainFrame::OnCharHook, this);
  Bind(wxEVT_CLOSE_WINDOW, &CMainFrame::OnCloseWindow, this);
}

void CMainFrame::InstallAccelerators() {
  // Undo and redo act on the morph weights; cut, copy and paste have keys but no handler; help has
  // nothing to show.
  wxAcceleratorEntry entries[] = {
      {wxACCEL_CTRL, 'N', ID_FILE_NEW},           {wxACCEL_CTRL, 'O', ID_FILE_OPEN},
      {wxACCEL_CTRL, 'S', ID_FILE_SAVE},          {wxACCEL_CTRL, 'Z', ID_EDIT_UNDO},
      {wxACCEL_ALT, WXK_BACK, ID_EDIT_UNDO},      {wxACCEL_CTRL, 'X', ID_EDIT_CUT},
      {wxACCEL_SHIFT, WXK_DELETE, ID_EDIT_CUT},   {wxACCEL_CTRL, 'C', ID_EDIT_COPY},
      {wxACCEL_CTRL, WXK_INSERT, ID_EDIT_COPY},   {wxACCEL_CTRL, 'V', ID_EDIT_PASTE},
      {wxACCEL_SHIFT, WXK_INSERT, ID_EDIT_PASTE}, {wxACCEL_NORMAL, WXK_F6, ID_NEXT_PANE},
      {wxACCEL_SHIFT, WXK_F6, ID_PREV_PANE},      {wxACCEL_SHIFT, WXK_F1, ID_CONTEXT_HELP},
      {wxACCEL_NORMAL, WXK_F1, ID_HELP},
  };
  // Redo and the shape editor.
  const wxAcceleratorEntry shapeEntries[] = {
      {wxACCEL_CTRL, 'Y', ID_EDIT_REDO},
      {wxACCEL_CTRL | wxACCEL_SHIFT, 'Z', ID_EDIT_REDO},
      {wxACCEL_CTRL, 'E', ID_VIEW_SHAPE_EDITOR},
  };
  std::vector<wxAcceleratorEntry> all(std::begin(entries), std::end(entries));
  all.insert(all.end(), std::begin(shapeEntries), std::end(shapeEntries));
  SetAcceleratorTable(wxAcceleratorTable(static_cast<int>(all.size()), all.data()));
}

void CMainFrame::UpdateCaption() {
  SetTitle(m_doc->GetTitle() + " - Tovmar");
}

void CMainFrame::NewDocument() {
  m_doc->SetFilename(wxEmptyString, false);
  m_doc->SetTitle(wxString::FromUTF8(kUntitled));
  m_doc->SetDocumentSaved(false);
  UpdateCaption();
  m_doc->InitialUpdateAllPanes();
}

bool CMainFrame::OpenDocument(const wxString& path) {
  // Only a regular file is a document: a folder, a pipe or a device is refused before anything
  // opens it, so that no open waits for a pipe's writer.
  std::error_code error;
  const std::filesystem::file_status status =
      std::filesystem::status(PathFromUtf8(CorePath(path)), error);
  if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
    ShowMessage(NotADocumentMessage(path));
    return false;
  }
  // The document reads nothing, but the file must be there and readable; the toolkit's own
  // English report of why not is replaced by one message of the program's.
  bool opened = false;
  {
    wxLogNull quiet;
    opened = m_doc->OnOpenDocument(path);
  }
  if (!opened) {
    ShowMessage("ドキュメントを開けませんでした。\n" + path.utf8_string());
    return false;
  }
  m_doc->SetTitle(wxFileName(path).GetFullName());
  RecentFiles::Add(path);
  UpdateCaption();
  m_doc->InitialUpdateAllPanes();
  return true;
}

void CMainFrame::SaveDocument() {
  wxString path = m_doc->GetFilename();
  if (path.empty() || !m_doc->GetDocumentSaved()) {
    const auto answer = AskNewFile(this, kDocumentFilter, "tovm", wxString(),
                                   wxFileName(m_doc->GetTitle()).GetName(), kSaveDocumentTitle);
    if (!answer) return;
    path = answer->path;
  }
  // The toolkit's own English report is kept back for one message of the program's.
  bool saved = false;
  {
    wxLogNull quiet;
    saved = m_doc->OnSaveDocument(path);
  }
  if (!saved) {
    ShowMessage(UnsavedDocumentMessage(path));
    return;
  }
  m_doc->SetTitle(wxFileName(path).GetFullName());
  RecentFiles::Add(path);
  UpdateCaption();
}

void CMainFrame::OnNewDocument(wxCommandEvent&) {
  NewDocument();
}

void CMainFrame::OnOpenDocument(wxCommandEvent&) {
  if (const auto answer =
          AskExistingFile(this, kDocumentFilter, "tovm", wxString(), kOpenDocumentTitle)) {
    OpenDocument(answer->path);
  }
}

void CMainFrame::OnSaveDocument(wxCommandEvent&) {
  SaveDocument();
}

void CMainFrame::OnSwitchPane(wxCommandEvent&) {
  // With two panes, the next and the previous pane are both the other one.
  wxWindow* focus = wxWindow::FindFocus();
  const bool inPanel = focus != nullptr && (focus == m_panel || m_panel->IsDescendant(focus));
  if (inPanel) {
    m_view->SetFocus();
  } else {
    m_panel->SetFocus();
  }
}

void CMainFrame::OnDropFiles(wxDropFilesEvent& event) {
  if (event.GetNumberOfFiles() > 0) OpenDroppedFile(event.GetFiles()[0]);
}

void CMainFrame::OpenDroppedFile(const wxString& name) {
  // A name given on the command line may be relative to the working folder; the texture's watch
  // and the remembered folders need it whole.
  std::error_code error;
  std::filesystem::path whole = std::filesystem::absolute(PathFromUtf8(CorePath(name)), error);
  if (error) whole = PathFromUtf8(CorePath(name));
  whole = whole.lexically_normal();
  const wxString path = WxPath(PathToUtf8(whole));
  const wxString folder = WxPath(PathToUtf8(whole.parent_path() / ""));
  switch (KindOfOpenedFile(path)) {
    case OpenedFileKind::kMesh:
      m_panel->LoadMeshFile(path, folder);
      break;
    case OpenedFileKind::kTexture:
      if (m_panel->RequireMesh()) m_panel->LoadTextureFile(path, folder);
      break;
    case OpenedFileKind::kAppearance:
      if (m_panel->RequireMesh()) m_panel->LoadAppearance(path);
      break;
    case OpenedFileKind::kDocument:
      OpenDocument(path);
      break;
  }
}

void CMainFrame::OnCharHook(wxKeyEvent& event) {
  // F and Home frame the model wherever the focus is in the window, not only in the 3D view.
  const int key = event.GetKeyCode();
  const bool frameKey = key == 'F' || key == WXK_HOME || key == WXK_NUMPAD_HOME;
  if (frameKey && event.GetModifiers() == wxMOD_NONE) {
    m_view->FrameModel();
    return;
  }
  event.Skip();
}

void CMainFrame::OnAbout(wxCommandEvent&) {
  ShowAboutDialog(this);
}

void CMainFrame::OnCloseWindow(wxCloseEvent& event) {
  // The document is never modified: the window closes without asking.
  if (!RecentFiles::Save()) ShowMessage(UnwritableProfileMessage(ProfilePath()));
  event.Skip();
}

}  // namespace tovmar
