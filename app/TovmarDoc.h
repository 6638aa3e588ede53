// The one document: the loaded mesh record and the folders the open dialogs last used. It has
// no stored form: opening reads nothing but takes only a regular file (never waiting on a pipe),
// saving makes an empty file where there is none and never empties a file that holds something.
#pragma once

#include <wx/docview.h>

#include "appearance/ShapeParams.h"
#include "mesh/LlmMesh.h"

namespace tovmar {

class CTovmarDoc : public wxDocument {
 public:
  CTovmarDoc() = default;

  wxString GetMeshFolder() const { return m_strMeshFolder; }
  void SetMeshFolder(const wxString& folder) { m_strMeshFolder = folder; }
  wxString GetTextureFolder() const { return m_strTextureFolder; }
  void SetTextureFolder(const wxString& folder) { m_strTextureFolder = folder; }

  // The window of the pane at column 0 (the panel) or 1 (the 3D view) of the main frame, as the
  // frame attached them to the document; nullptr for any other column.
  wxWindow* GetPaneView(int column) const;

  // Sends (sender, hint, object) to every pane of the document.
  void UpdateAllViewsWithHint(wxView* sender, int hint, wxObject* object);

  // Runs the initial update of both panes again, as after New and Open.
  void InitialUpdateAllPanes();

  // The document is never modified, so nothing ever asks to save changes.
  bool IsModified() const override { return false; }
  bool OnCreate(const wxString& path, long flags) override;

  LlmMesh m_mesh;
  // The parameter ids of the appearance files read onto this mesh, which a saved shape keeps.
  AppearanceIds m_appearanceIds;

 protected:
  bool DoOpenDocument(const wxString& file) override;
  bool DoSaveDocument(const wxString& file) override;

 private:
  wxString m_strMeshFolder;
  wxString m_strTextureFolder;

  wxDECLARE_DYNAMIC_CLASS(CTovmarDoc);
};

}  // namespace tovmar
