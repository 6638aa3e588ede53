#include "app/DocumentPane.h"

namespace tovmar {

DocumentPane::DocumentPane(wxDocument* doc, PaneWindow& window) : m_window(window) {
  SetDocument(doc);
}

}  // namespace tovmar
