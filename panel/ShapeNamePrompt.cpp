#include "panel/ShapeNamePrompt.h"

#include <utility>

#include <wx/textdlg.h>

namespace tovmar {

namespace {

class ShapeNameDialog : public ShapeNamePrompt {
 public:
  std::optional<wxString> AskShapeName(wxWindow* parent, const wxString& proposed) override {
    wxTextEntryDialog dialog(parent, wxString::FromUTF8("保存する形状の名前:"),
                             wxString::FromUTF8("形状を保存"), proposed);
    if (dialog.ShowModal() != wxID_OK) return std::nullopt;
    return dialog.GetValue().Strip(wxString::both);
  }
};

ShapeNameDialog g_dialog;
ShapeNamePrompt* g_prompt = nullptr;

}  // namespace

ShapeNamePrompt& CurrentShapeNamePrompt() {
  return g_prompt != nullptr ? *g_prompt : g_dialog;
}

ShapeNamePrompt* InstallShapeNamePrompt(ShapeNamePrompt* prompt) {
  return std::exchange(g_prompt, prompt);
}

}  // namespace tovmar
