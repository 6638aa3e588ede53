#include "app/WxMessageSink.h"

#include <wx/app.h>
#include <wx/msgdlg.h>

namespace tovmar {

void WxMessageSink::Show(const std::string& text) {
  wxWindow* owner = wxTheApp != nullptr ? wxTheApp->GetTopWindow() : nullptr;
  wxMessageBox(wxString::FromUTF8(text), "Tovmar", wxOK, owner);
}

}  // namespace tovmar
