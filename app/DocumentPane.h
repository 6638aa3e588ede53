// The document/view link of one pane: a wxView that passes the document's updates to its window,
// and through which the document finds the window of each column of the main frame.
#pragma once

#include <wx/docview.h>

namespace tovmar {

class PaneWindow;

class DocumentPane : public wxView {
 public:
  // A pane that is no column of the main frame (one that only listens to the updates).
  static constexpr int kNoColumn = -1;

  DocumentPane(wxDocument* doc, PaneWindow& window, int column = kNoColumn);

  PaneWindow& Window() const { return m_window; }
  int Column() const { return m_column; }

  void OnDraw(wxDC*) override {}
  // Views close with the main window; they never close frames of their own.
  bool OnClose(bool) override { return true; }

 private:
  PaneWindow& m_window;
  int m_column;
};

}  // namespace tovmar
