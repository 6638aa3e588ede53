// The panel's morph command (1017): the morph parameter dialog beside the main window.
#include "app/TovmarDoc.h"
#include "appearance/window/MorphParamDialog.h"
#include "panel/TovmarView.h"

namespace tovmar {

void CTovmarView::OnOpenMorphDialog(wxCommandEvent&) {
  // An open dialog goes without restoring its weights. It is deleted at once rather than at the
  // next idle time, so that its closing notice, which forgets the panel's dialog, comes before
  // the new dialog is remembered.
  delete m_pMorphDlg;
  auto* dialog = new MorphParamDialog;
  CTovmarDoc* doc = m_doc;
  if (!dialog->Open(this,
                    [doc](int hint) { doc->UpdateAllViewsWithHint(nullptr, hint, nullptr); })) {
    delete dialog;
    return;
  }
  dialog->Rebuild(&m_doc->m_mesh);
  m_pMorphDlg = dialog;
}

}  // namespace tovmar
