// The parts list of an open avatar: a small tool window "パーツ" beside the main window that lists
// the avatar's parts by their Japanese names and says which one the texture buttons act on.
#pragma once

#include <functional>
#include <vector>

#include <wx/frame.h>

#include "avatar/Avatar.h"

class wxListBox;
class wxStaticText;

namespace tovmar {

// The Japanese name of a part with its own name: "頭 (head)", "目 (eyes)", ...
wxString AvatarPartCaption(AvatarPartKind kind);

class AvatarPartsWindow : public wxFrame {
 public:
  // `onSelect` runs with the index of the part the user chose.
  AvatarPartsWindow(wxWindow* parent, std::function<void(std::size_t)> onSelect);

  // Lists `kinds` with the part at `selected` chosen, and moves beside the main window.
  void ShowParts(const std::vector<AvatarPartKind>& kinds, std::size_t selected);
  // The part chosen, and choosing one as the user does.
  std::size_t Selected() const;
  void Select(std::size_t index);
  // The line that names the chosen part.
  wxString SelectedText() const;

 private:
  void ShowSelected();

  std::function<void(std::size_t)> m_onSelect;
  std::vector<AvatarPartKind> m_kinds;
  wxListBox* m_list = nullptr;
  wxStaticText* m_selected = nullptr;
};

}  // namespace tovmar
