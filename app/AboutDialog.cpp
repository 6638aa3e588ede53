#include "app/AboutDialog.h"

#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

namespace tovmar {

void ShowAboutDialog(wxWindow* parent) {
  wxDialog dialog(parent, 100, wxString::FromUTF8("Tovmar のバージョン情報"));
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(new wxStaticText(&dialog, wxID_ANY, "Tovmar Version " TOVMAR_VERSION), 0, wxALL, 10);
  sizer->Add(new wxStaticText(&dialog, wxID_ANY, "Avatar mesh viewer for wxWidgets + OpenGL"), 0,
             wxLEFT | wxRIGHT, 10);
  sizer->Add(new wxButton(&dialog, wxID_OK, "OK"), 0, wxALL | wxALIGN_RIGHT, 10);
  dialog.SetSizerAndFit(sizer);
  dialog.ShowModal();
}

}  // namespace tovmar
