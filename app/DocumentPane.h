// The document/view link of one pane: a wxView that passes the document's updates to its window.
#pragma once

#include <wx/docview.h>

namespace tovmar {

class PaneWindow;

class DocumentPane : public wxView {
 public:
  DocumentPane(wxDocument* doc, PaneWindow& window);

  PaneWindow& Window() const { return m_window; }

  void OnDraw(wxDC*) override {}
  // Views close with the main window; they never close frames of their own.
  bool OnClose(bool) override { return true; }

 private:
  PaneWindow& m_window;
};

}  // namespace tovmar
