#include "panel/AvatarPartsWindow.h"

#include <wx/listbox.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

namespace tovmar {

wxString AvatarPartCaption(AvatarPartKind kind) {
  const char* japanese = "";
  switch (kind) {
    case AvatarPartKind::kHead:
      japanese = "頭";
      break;
    case AvatarPartKind::kUpperBody:
      japanese = "上半身";
      break;
    case AvatarPartKind::kLowerBody:
      japanese = "下半身";
      break;
    case AvatarPartKind::kEyes:
      japanese = "目";
      break;
    case AvatarPartKind::kEyelashes:
      japanese = "まつげ";
      break;
    case AvatarPartKind::kHair:
      japanese = "髪";
      break;
    case AvatarPartKind::kSkirt:
      japanese = "スカート";
      break;
  }
  return wxString::FromUTF8(japanese) + " (" +
         wxString::FromUTF8(AvatarPartName(kind).data(), AvatarPartName(kind).size()) + ")";
}

AvatarPartsWindow::AvatarPartsWindow(wxWindow* parent, std::function<void(std::size_t)> onSelect)
    : wxFrame(parent, wxID_ANY, wxString::FromUTF8("パーツ"), wxDefaultPosition, wxDefaultSize,
              wxCAPTION | wxCLOSE_BOX | wxRESIZE_BORDER | wxFRAME_TOOL_WINDOW |
                  wxFRAME_FLOAT_ON_PARENT),
      m_onSelect(std::move(onSelect)) {
  auto* panel = new wxPanel(this);
  m_list = new wxListBox(panel, wxID_ANY);
  m_selected = new wxStaticText(panel, wxID_ANY, wxString());
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(m_list, 1, wxEXPAND | wxALL, 4);
  sizer->Add(m_selected, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 4);
  panel->SetSizer(sizer);
  m_list->Bind(wxEVT_LISTBOX, [this](wxCommandEvent&) {
    if (m_list->GetSelection() == wxNOT_FOUND) return;
    ShowSelected();
    m_onSelect(Selected());
  });
  // Closing only hides the list: the avatar stays open and the list comes back with the next one.
  Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent& event) {
    if (event.CanVeto()) {
      event.Veto();
      Hide();
    } else {
      event.Skip();
    }
  });
  SetClientSize(FromDIP(wxSize(200, 200)));
}

void AvatarPartsWindow::ShowParts(const std::vector<AvatarPartKind>& kinds, std::size_t selected) {
  m_kinds = kinds;
  m_list->Clear();
  for (const AvatarPartKind kind : kinds) m_list->Append(AvatarPartCaption(kind));
  if (selected < kinds.size()) m_list->SetSelection(static_cast<int>(selected));
  ShowSelected();
  if (wxWindow* owner = GetParent()) {
    const wxRect frame = owner->GetScreenRect();
    Move(frame.GetRight() + 1, frame.GetTop());
  }
  Show();
}

std::size_t AvatarPartsWindow::Selected() const {
  const int selection = m_list->GetSelection();
  return selection == wxNOT_FOUND ? 0 : static_cast<std::size_t>(selection);
}

void AvatarPartsWindow::Select(std::size_t index) {
  if (index >= m_kinds.size()) return;
  m_list->SetSelection(static_cast<int>(index));
  ShowSelected();
  m_onSelect(index);
}

wxString AvatarPartsWindow::SelectedText() const {
  return m_selected->GetLabel();
}

void AvatarPartsWindow::ShowSelected() {
  const std::size_t index = Selected();
  m_selected->SetLabel(index < m_kinds.size()
                           ? wxString::FromUTF8("選択: ") + AvatarPartCaption(m_kinds[index])
                           : wxString());
}

}  // namespace tovmar
