#include "panel/ViewPrompts.h"

#include <utility>

#include <wx/arrstr.h>
#include <wx/choicdlg.h>
#include <wx/textdlg.h>

namespace tovmar {

namespace {

class ViewDialogs : public ViewPrompts {
 public:
  std::optional<wxString> AskShapeName(wxWindow* parent, const wxString& proposed) override {
    wxTextEntryDialog dialog(parent, wxString::FromUTF8("保存する形状の名前:"),
                             wxString::FromUTF8("形状を保存"), proposed);
    if (dialog.ShowModal() != wxID_OK) return std::nullopt;
    return dialog.GetValue().Strip(wxString::both);
  }

  std::optional<std::size_t> AskArchetype(wxWindow* parent,
                                          const std::vector<wxString>& names) override {
    const wxArrayString choices(names.size(), names.data());
    wxSingleChoiceDialog dialog(
        parent,
        wxString::FromUTF8(
            "このファイルには形状 (アーキタイプ) が複数あります。\n読み込む形状を選んでください。"),
        wxString::FromUTF8("アーキタイプを選ぶ"), choices);
    dialog.SetSelection(0);
    if (dialog.ShowModal() != wxID_OK || dialog.GetSelection() < 0) return std::nullopt;
    return static_cast<std::size_t>(dialog.GetSelection());
  }
};

ViewDialogs g_dialogs;
ViewPrompts* g_prompts = nullptr;

}  // namespace

ViewPrompts& CurrentViewPrompts() {
  return g_prompts != nullptr ? *g_prompts : g_dialogs;
}

ViewPrompts* InstallViewPrompts(ViewPrompts* prompts) {
  return std::exchange(g_prompts, prompts);
}

}  // namespace tovmar
