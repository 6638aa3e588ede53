// The shape editor "形状エディタ": one scrolling list of every morph target of every shown mesh,
// grouped by part and by what the names say, each with its whole name, a slider that shapes the
// model while it moves, and its weight as a number to type. A search field and "変更したものだけ"
// narrow the list; the history of the panel undoes and redoes its changes.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include <wx/frame.h>

#include "appearance/MorphGroups.h"

class wxButton;
class wxCheckBox;
class wxScrolledWindow;
class wxScrollEvent;
class wxSizer;
class wxSlider;
class wxStaticText;
class wxTextCtrl;

namespace tovmar {

class CTovmarView;

class ShapeEditor : public wxFrame {
 public:
  // The weight every slider reaches at least, either way: the morph dialog's range.
  static constexpr int kSliderLimit = 200;
  // Slider positions per unit of weight.
  static constexpr int kStepsPerWeight = 100;
  // The largest weight, either way, a typed number may set.
  static constexpr double kMaxTypedWeight = 100.0;

  struct Row {
    std::size_t part = 0;
    std::size_t target = 0;
    // The target's name (UTF-8) and its group.
    std::string name;
    MorphGroup group = MorphGroup::kOther;
    wxStaticText* label = nullptr;
    wxSlider* slider = nullptr;
    wxTextCtrl* number = nullptr;
    wxSizer* sizer = nullptr;
    // The weight the row shows.
    float shown = 0.0f;
  };

  // A child of the main window `parent` acting on the meshes and history of `panel`; hidden until
  // shown.
  ShapeEditor(wxWindow* parent, CTovmarView& panel);

  // Shows the window to the right of the main window (where it was, once moved) and raises it.
  void ShowBesideMainWindow();
  // Lists the panel's meshes again, after other meshes replaced them.
  void Rebuild();
  // Shows the current weights in every row, after something else set them, and filters again.
  void ShowWeights();

  const std::vector<Row>& Rows() const { return m_rows; }
  wxTextCtrl* SearchField() const { return m_search; }
  wxCheckBox* ChangedOnlyBox() const { return m_changedOnly; }
  wxButton* ResetAllButton() const { return m_resetAll; }
  // The names of the rows the filter shows, in list order.
  std::vector<std::string> ShownNames() const;

 private:
  // The headers above a part's rows and above each group's, with the rows they stand for.
  struct Header {
    wxStaticText* label = nullptr;
    std::vector<std::size_t> rows;
  };

  void CreateControls();
  void AddRow(std::size_t part, std::size_t target, const std::string& name, MorphGroup group);
  // Shows `weight` in row `r`: its number, and its slider unless the user is moving it.
  void ShowRow(std::size_t r, float weight, bool moveSlider);
  void ApplyFilter();
  // Sets row `r`'s weight and shows the new shape; with `commit`, as one step of the history.
  // `fromSlider`: the row's slider set it and stays where the user holds it.
  void SetRowWeight(std::size_t r, float weight, bool commit, bool fromSlider);

  void OnSliderMoving(std::size_t r);
  void OnSliderReleased(std::size_t r);
  void OnNumberEntered(std::size_t r);
  void OnNumberKey(std::size_t r, wxKeyEvent& event);
  void OnClose(wxCloseEvent& event);

  CTovmarView& m_panel;
  wxTextCtrl* m_search = nullptr;
  wxCheckBox* m_changedOnly = nullptr;
  wxButton* m_resetAll = nullptr;
  wxScrolledWindow* m_list = nullptr;
  wxSizer* m_listSizer = nullptr;
  wxStaticText* m_empty = nullptr;
  std::vector<Row> m_rows;
  std::vector<Header> m_headers;
  bool m_placed = false;
  // A slider movement is under way: its weights become a step when it ends.
  bool m_changing = false;
};

}  // namespace tovmar
