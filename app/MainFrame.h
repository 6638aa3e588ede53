// The main window: a plain resizable frame whose client area is a 1 x 2 splitter with the
// control panel on the left and the 3D view on the right.
#pragma once

#include <wx/docview.h>

class wxSplitterWindow;

namespace tovmar {

class CTovmarDoc;
class CTovmarView;
class GLView;
class SceneStore;

class CMainFrame : public wxDocParentFrame {
 public:
  static constexpr int kInitialWidth = 500;
  static constexpr int kInitialHeight = 700;
  static constexpr int kPanelWidth = 86;

  // The panes show `scene` and act on it.
  CMainFrame(wxDocManager* manager, CTovmarDoc* doc, SceneStore& scene);

  CTovmarView* Panel() const { return m_panel; }
  GLView* View3D() const { return m_view; }

  // The caption: the document's title, " - ", then "Tovmar".
  void UpdateCaption();

  // The document commands. None reads or clears the mesh, the folders or the panes' state;
  // each runs both panes' initial update again (New, Open) or writes an empty file (Save).
  void NewDocument();
  bool OpenDocument(const wxString& path);
  void SaveDocument();

  // A file dropped on the window, or given as the program's argument: a mesh loads as the
  // panel's mesh command loads it, a picture as the texture, an ".xml" file as avatar settings,
  // anything else opens as the document.
  void OpenDroppedFile(const wxString& path);

  // The caption of a window with no document and no mesh.
  static constexpr const char* kUntitled = "無題";

 private:
  void OnNewDocument(wxCommandEvent& event);
  void OnOpenDocument(wxCommandEvent& event);
  void OnSaveDocument(wxCommandEvent& event);
  void OnSwitchPane(wxCommandEvent& event);
  void OnDropFiles(wxDropFilesEvent& event);
  void OnCharHook(wxKeyEvent& event);
  void OnAbout(wxCommandEvent& event);
  void OnCloseWindow(wxCloseEvent& event);
  void InstallAccelerators();

  CTovmarDoc* m_doc;
  wxSplitterWindow* m_wndSplitter;
  CTovmarView* m_panel;
  GLView* m_view;
};

}  // namespace tovmar
