#include "app/AddressPrompt.h"

#include <utility>

#include <wx/button.h>
#include <wx/combobox.h>
#include <wx/dialog.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

namespace tovmar {

namespace {

class AddressDialog : public AddressPrompt {
 public:
  std::optional<wxString> AskAddress(wxWindow* parent, const wxArrayString& recent) override {
    const auto text = [](const char* caption) { return wxString::FromUTF8(caption); };
    wxDialog dialog(parent, wxID_ANY, text("URL から Avatar 設定を読込"));
    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(new wxStaticText(&dialog, wxID_ANY,
                                 text("Avatar 設定ファイルの URL (http:// または https://):")),
                wxSizerFlags().Border(wxLEFT | wxRIGHT | wxTOP));
    auto* address =
        new wxComboBox(&dialog, wxID_ANY, recent.empty() ? wxString() : recent[0],
                       wxDefaultPosition, wxSize(dialog.FromDIP(420), -1), recent, wxCB_DROPDOWN);
    column->Add(address, wxSizerFlags().Expand().Border());
    auto* buttons = new wxStdDialogButtonSizer;
    auto* ok = new wxButton(&dialog, wxID_OK, text("読込"));
    ok->SetDefault();
    buttons->AddButton(ok);
    buttons->AddButton(new wxButton(&dialog, wxID_CANCEL, text("キャンセル")));
    buttons->Realize();
    column->Add(buttons, wxSizerFlags().Expand().Border(wxLEFT | wxRIGHT | wxBOTTOM));
    dialog.SetSizerAndFit(column);
    dialog.CentreOnParent();
    address->SetFocus();
    address->SelectAll();
    if (dialog.ShowModal() != wxID_OK) return std::nullopt;
    return address->GetValue().Strip(wxString::both);
  }
};

AddressDialog g_dialog;
AddressPrompt* g_prompt = nullptr;

}  // namespace

AddressPrompt& CurrentAddressPrompt() {
  return g_prompt != nullptr ? *g_prompt : g_dialog;
}

AddressPrompt* InstallAddressPrompt(AddressPrompt* prompt) {
  return std::exchange(g_prompt, prompt);
}

}  // namespace tovmar
