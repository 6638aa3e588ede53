#include "app/TovmarDoc.h"

#include <wx/app.h>
#include <wx/ffile.h>
#include <wx/splitter.h>

#include "app/DocumentPane.h"
#include "app/MainFrame.h"
#include "app/PaneWindow.h"

namespace tovmar {

wxIMPLEMENT_DYNAMIC_CLASS(CTovmarDoc, wxDocument);

bool CTovmarDoc::OnCreate(const wxString&, long) {
  // The main frame attaches the two panes itself; the template makes no view.
  return true;
}

wxWindow* CTovmarDoc::GetPaneView(int column) const {
  if (column != 0 && column != 1) return nullptr;
  wxWindow* frame = wxTheApp != nullptr ? wxTheApp->GetTopWindow() : nullptr;
  if (frame == nullptr) return nullptr;
  auto* splitter = dynamic_cast<wxSplitterWindow*>(frame->FindWindow(kSplitterId));
  if (splitter == nullptr) return nullptr;
  return column == 0 ? splitter->GetWindow1() : splitter->GetWindow2();
}

void CTovmarDoc::UpdateAllViewsWithHint(wxView* sender, int hint, wxObject* object) {
  for (wxView* view : GetViewsVector()) {
    if (auto* pane = dynamic_cast<DocumentPane*>(view))
      pane->Window().OnUpdate(sender, hint, object);
  }
}

void CTovmarDoc::InitialUpdateAllPanes() {
  for (wxView* view : GetViewsVector()) {
    if (auto* pane = dynamic_cast<DocumentPane*>(view)) pane->Window().OnInitialUpdate();
  }
}

bool CTovmarDoc::DoOpenDocument(const wxString& file) {
  // Nothing is read, but the file must exist and be readable, as for any document.
  wxFFile f(file, "rb");
  return f.IsOpened();
}

bool CTovmarDoc::DoSaveDocument(const wxString& file) {
  wxFFile f(file, "wb");
  return f.IsOpened() && f.Close();
}

}  // namespace tovmar
