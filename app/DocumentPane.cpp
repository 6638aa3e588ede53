#include "app/DocumentPane.h"

namespace tovmar {

DocumentPane::DocumentPane(wxDocument* doc, PaneWindow& window, int column)
    : m_window(window), m_column(column) {
  SetDocument(doc);
}

}  // namespace tovmar
