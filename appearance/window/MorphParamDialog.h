// The morph parameter dialog: eight rows of a label, a slider and the weight as a number over the
// loaded mesh's morph targets, paged eight at a time. A slider movement that has ended sets its
// target's weight and has the views update; OK keeps the weights, Cancel puts back the ones the
// dialog found. Modeless: it deletes itself once its window is gone.
#pragma once

#include <array>
#include <functional>

#include <wx/dialog.h>

class wxScrollEvent;
class wxSlider;
class wxStaticText;

namespace tovmar {

class LlmMesh;
struct MorphTarget;

// The dialog's own id and the ids of its controls.
constexpr int IDD_MORPH_PARAM = 131;
constexpr std::array<int, 8> kMorphLabelIds = {1020, 1021, 1023, 1025, 1027, 1029, 1031, 1033};
constexpr std::array<int, 8> kMorphSliderIds = {1018, 1022, 1024, 1026, 1028, 1030, 1032, 1034};
// The number beside each slider.
constexpr std::array<int, 8> kMorphWeightIds = {1037, 1038, 1039, 1040, 1041, 1042, 1043, 1044};
constexpr int IDC_PREV_PAGE = 1035;
constexpr int IDC_NEXT_PAGE = 1036;

class MorphParamDialog : public wxDialog {
 public:
  static constexpr int kRows = 8;
  // The size of the saved-weights table: targets after the hundredth are never shown.
  static constexpr int kMaxTargets = 100;

  MorphParamDialog() = default;
  // Where the dialog's updates go: a hint of app/Hints.h for every view of the document.
  using HintSender = std::function<void(int hint)>;

  // Tells the views that the dialog has gone, unless they were told when the main window
  // closed or are being destroyed themselves.
  ~MorphParamDialog() override;

  // Creates the window as a child of `parent` (the panel), beside the main window, and shows
  // it; the dialog's hints go to `sendHint`. Returns whether the window could be created.
  bool Open(wxWindow* parent, HintSender sendHint);

  // Takes `mesh` (or none), goes to page 0, saves the weights of its covered targets and shows
  // the page. Without a mesh the rows keep what they show.
  void Rebuild(LlmMesh* mesh);

  // Shows the current weights beside the sliders (the sliders stay where they are), after
  // something other than the dialog has set weights.
  void ShowWeights();

 private:
  struct Row {
    wxStaticText* label = nullptr;
    wxSlider* slider = nullptr;
    wxStaticText* weight = nullptr;
    // The target name the label shows, perhaps over several lines; empty on a "NONE" row.
    wxString name;
  };

  void CreateControls();
  void PlaceBesideMainWindow();
  void FillPage(LlmMesh* mesh);
  // Shows `text` whole in row `r`'s label, in a smaller face and over lines where needed.
  void ShowName(int r, const wxString& text);
  // The target that row `r`'s slider sets: the first one named as its label shows.
  MorphTarget* RowTarget(int r) const;
  void UpdateToolTip(int r);
  // Row `r`'s number: the weight its target has, or with `moving` the one its slider's position
  // would set.
  void ShowWeight(int r, bool moving);
  void SendHint(int hint);

  void OnPrevPage(wxCommandEvent& event);
  void OnNextPage(wxCommandEvent& event);
  void OnOK(wxCommandEvent& event);
  void OnCancel(wxCommandEvent& event);
  void OnSliderScroll(wxScrollEvent& event);
  void OnSliderMoved(wxCommandEvent& event);
  void OnSliderEnter(wxMouseEvent& event);
  void OnMainWindowClose(wxCloseEvent& event);

  // Empty before Open and once the main window closes: no hint goes out then.
  HintSender m_sendHint;
  LlmMesh* m_pMesh = nullptr;
  int m_page = 0;
  std::array<float, kMaxTargets> m_savedWeights{};
  std::array<Row, kRows> m_rows{};
};

}  // namespace tovmar
