#include "app/WxMessageSink.h"

#include <wx/app.h>
#include <wx/msgdlg.h>

#include "base/UrlPasswords.h"

namespace tovmar {

namespace {

wxWindow* Owner() {
  return wxTheApp != nullptr ? wxTheApp->GetTopWindow() : nullptr;
}

wxString Shown(const std::string& text) {
  return wxString::FromUTF8(MaskUrlPasswords(text));
}

}  // namespace

void WxMessageSink::Show(const std::string& text) {
  wxMessageBox(Shown(text), "Tovmar", wxOK, Owner());
}

bool WxMessageSink::AskYesNo(const std::string& question) {
  // No is the default answer: Enter alone changes nothing.
  wxMessageDialog dialog(Owner(), Shown(question), "Tovmar",
                         wxYES_NO | wxNO_DEFAULT | wxICON_QUESTION);
  dialog.SetYesNoLabels(wxString::FromUTF8("はい"), wxString::FromUTF8("いいえ"));
  return dialog.ShowModal() == wxID_YES;
}

}  // namespace tovmar
