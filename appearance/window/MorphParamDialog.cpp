#include "appearance/window/MorphParamDialog.h"

#include <algorithm>
#include <utility>

#include <wx/button.h>
#include <wx/display.h>
#include <wx/settings.h>
#include <wx/slider.h>
#include <wx/stattext.h>

#include "app/Hints.h"
#include "appearance/SliderScale.h"
#include "mesh/LlmMesh.h"
#include "panel/DialogUnits.h"
#include "panel/FitText.h"

namespace tovmar {

namespace {

// Wider than the form the rows were laid out on by the column of numbers at its right.
constexpr int kClientWidth = 292;
constexpr int kClientHeight = 167;
constexpr std::array<DialogRect, MorphParamDialog::kRows> kLabelRects = {{
    {6, 6, 60, 12},
    {6, 25, 60, 12},
    {6, 42, 60, 12},
    {6, 60, 60, 12},
    {6, 78, 60, 12},
    {6, 97, 60, 12},
    {6, 114, 60, 12},
    {6, 132, 60, 12},
}};
constexpr std::array<DialogRect, MorphParamDialog::kRows> kSliderRects = {{
    {66, 6, 192, 12},
    {66, 24, 192, 12},
    {66, 42, 192, 12},
    {66, 60, 192, 12},
    {66, 78, 192, 12},
    {66, 96, 192, 12},
    {66, 114, 192, 12},
    {66, 132, 192, 12},
}};

// Beside each slider, level with it.
constexpr int kWeightX = 260;
constexpr int kWeightWidth = 26;
// The smallest face a long name shrinks to.
constexpr int kMinNamePoints = 5;

// The row of the slider with id `id`, or -1.
int RowOfSlider(int id) {
  const auto found = std::find(kMorphSliderIds.begin(), kMorphSliderIds.end(), id);
  return found == kMorphSliderIds.end() ? -1 : static_cast<int>(found - kMorphSliderIds.begin());
}

// The number of targets the dialog offers, saves and restores.
int CoveredCount(const LlmMesh* mesh) {
  if (mesh == nullptr) return 0;
  return static_cast<int>(
      std::min(mesh->morphTargets.size(), std::size_t{MorphParamDialog::kMaxTargets}));
}

}  // namespace

MorphParamDialog::~MorphParamDialog() {
  // When the panel goes with the main window, no view is left to tell.
  const wxWindow* parent = GetParent();
  if (m_sendHint && parent != nullptr && !parent->IsBeingDeleted()) {
    SendHint(HINT_MORPH_DIALOG_CLOSED);
  }
}

bool MorphParamDialog::Open(wxWindow* parent, HintSender sendHint) {
  m_sendHint = std::move(sendHint);
  if (!Create(parent, IDD_MORPH_PARAM, wxString::FromUTF8("モーフィング パラメータ"),
              wxDefaultPosition, wxDefaultSize, wxDEFAULT_DIALOG_STYLE)) {
    return false;
  }
  // The system's dialog face at 8 points; the dialog units are those of the face the dialog was
  // designed with.
  wxFont font = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
  font.SetPointSize(8);
  SetFont(font);
  CreateControls();
  SetClientSize(DialogToPixels(this, kMorphDialogUnits, wxSize(kClientWidth, kClientHeight)));
  PlaceBesideMainWindow();
  // The dialog closes with the main window, leaving the weights as they are.
  if (wxWindow* mainWindow = wxGetTopLevelParent(parent)) {
    mainWindow->Bind(wxEVT_CLOSE_WINDOW, &MorphParamDialog::OnMainWindowClose, this);
  }
  Show();
  return true;
}

void MorphParamDialog::CreateControls() {
  const auto pos = [this](const DialogRect& r) {
    return DialogToPixels(this, kMorphDialogUnits, wxPoint(r.x, r.y));
  };
  const auto size = [this](const DialogRect& r) {
    return DialogToPixels(this, kMorphDialogUnits, wxSize(r.w, r.h));
  };

  for (int r = 0; r < kRows; ++r) {
    const DialogRect& labelRect = kLabelRects[r];
    const DialogRect& sliderRect = kSliderRects[r];
    Row& row = m_rows[r];
    row.label = new wxStaticText(this, kMorphLabelIds[r], wxString::FromUTF8("スタティック"),
                                 pos(labelRect), size(labelRect),
                                 wxALIGN_CENTRE_HORIZONTAL | wxST_NO_AUTORESIZE);
    const wxRect track(pos(sliderRect), size(sliderRect));
    row.slider = new wxSlider(this, kMorphSliderIds[r], 0, 0, 100, track.GetPosition(),
                              wxSize(track.width, -1), wxSL_HORIZONTAL);
    // A native slider that needs more height than the row gives (GTK's does) keeps its own
    // height, centred on the row; narrower, it would draw nothing.
    const int height = std::max(track.height, row.slider->GetSize().y);
    row.slider->SetSize(track.x, track.y + (track.height - height) / 2, track.width, height);
    const DialogRect weightRect{kWeightX, sliderRect.y, kWeightWidth, sliderRect.h};
    row.weight = new wxStaticText(this, kMorphWeightIds[r], wxEmptyString, pos(weightRect),
                                  size(weightRect), wxALIGN_RIGHT | wxST_NO_AUTORESIZE);
    // Only a movement that has ended sets a weight; every change updates the tooltip and the
    // number.
    Bind(wxEVT_SCROLL_CHANGED, &MorphParamDialog::OnSliderScroll, this, row.slider->GetId());
    for (const wxEventTypeTag<wxScrollEvent>& moving :
         {wxEVT_SCROLL_TOP, wxEVT_SCROLL_BOTTOM, wxEVT_SCROLL_LINEUP, wxEVT_SCROLL_LINEDOWN,
          wxEVT_SCROLL_PAGEUP, wxEVT_SCROLL_PAGEDOWN, wxEVT_SCROLL_THUMBTRACK,
          wxEVT_SCROLL_THUMBRELEASE}) {
      Bind(moving, &MorphParamDialog::OnSliderMoved, this, row.slider->GetId());
    }
    Bind(wxEVT_SLIDER, &MorphParamDialog::OnSliderMoved, this, row.slider->GetId());
    row.slider->Bind(wxEVT_ENTER_WINDOW, &MorphParamDialog::OnSliderEnter, this);
  }

  const auto button = [&](int id, const char* caption, DialogRect r) {
    return new wxButton(this, id, wxString::FromUTF8(caption), pos(r), size(r));
  };
  button(IDC_PREV_PAGE, "< 前のページ", {6, 150, 60, 14});
  button(IDC_NEXT_PAGE, "次のページ >", {72, 150, 60, 14});
  button(wxID_OK, "OK", {150, 150, 50, 14})->SetDefault();
  button(wxID_CANCEL, "キャンセル", {204, 150, 50, 14});

  Bind(wxEVT_BUTTON, &MorphParamDialog::OnPrevPage, this, IDC_PREV_PAGE);
  Bind(wxEVT_BUTTON, &MorphParamDialog::OnNextPage, this, IDC_NEXT_PAGE);
  Bind(wxEVT_BUTTON, &MorphParamDialog::OnOK, this, wxID_OK);
  // Escape and the caption's close button end here too, through the dialog's cancel button.
  Bind(wxEVT_BUTTON, &MorphParamDialog::OnCancel, this, wxID_CANCEL);
}

void MorphParamDialog::PlaceBesideMainWindow() {
  const wxWindow* mainWindow = wxGetTopLevelParent(GetParent());
  if (mainWindow == nullptr) return;
  // To the right of the main window, top edges level, kept on the main window's display.
  const wxRect main = mainWindow->GetScreenRect();
  const int display = wxDisplay::GetFromWindow(mainWindow);
  const wxRect area =
      wxDisplay(display == wxNOT_FOUND ? 0u : static_cast<unsigned>(display)).GetClientArea();
  const wxSize size = GetSize();
  const int x = std::max(area.x, std::min(main.GetRight() + 1, area.GetRight() + 1 - size.x));
  const int y = std::max(area.y, std::min(main.y, area.GetBottom() + 1 - size.y));
  Move(x, y);
}

void MorphParamDialog::Rebuild(LlmMesh* mesh) {
  m_page = 0;
  m_pMesh = mesh;
  if (mesh == nullptr) return;
  const int n = CoveredCount(mesh);
  for (int i = 0; i < n; ++i) {
    m_savedWeights[i] = mesh->morphTargets[i].weight;
  }
  FillPage(mesh);
}

void MorphParamDialog::FillPage(LlmMesh* mesh) {
  const int n = CoveredCount(mesh);
  for (int r = 0; r < kRows; ++r) {
    Row& row = m_rows[r];
    const int i = kRows * m_page + r;
    if (i < n) {
      const MorphTarget& target = mesh->morphTargets[i];
      const SliderScale scale(target.maxWeight, target.minWeight);
      row.label->Enable();
      ShowName(r, wxString::FromUTF8(target.DisplayName()));
      row.slider->Enable();
      // The slider keeps a position beyond its range inside it.
      row.slider->SetRange(0, scale.RangeMax());
      row.slider->SetValue(scale.PositionFor(target.weight));
      row.slider->SetLineSize(scale.LineSize());
      row.slider->SetPageSize(scale.PageSize());
    } else {
      // The slider keeps its position.
      row.label->Disable();
      ShowName(r, {});
      row.slider->Disable();
    }
    UpdateToolTip(r);
    ShowWeight(r, false);
  }
}

void MorphParamDialog::ShowWeights() {
  for (int r = 0; r < kRows; ++r) {
    UpdateToolTip(r);
    ShowWeight(r, false);
  }
}

void MorphParamDialog::ShowName(int r, const wxString& text) {
  // A long name shows whole in a smaller face, over two lines where it must, and in full in the
  // tooltip; a centred line cut at the label's edges would lose both its ends.
  Row& row = m_rows[r];
  row.name = text;
  const FittedText fitted = FitText(*row.label, text.empty() ? wxString("NONE") : text, GetFont(),
                                    row.label->GetClientSize(), kMinNamePoints);
  row.label->SetFont(fitted.font);
  row.label->SetLabelText(fitted.lines);
  if (text.empty()) {
    row.label->UnsetToolTip();
  } else {
    row.label->SetToolTip(text);
  }
}

MorphTarget* MorphParamDialog::RowTarget(int r) const {
  const Row& row = m_rows[r];
  if (m_pMesh == nullptr || !row.slider->IsEnabled()) return nullptr;
  return m_pMesh->FindMorphTarget(row.name.utf8_string());
}

void MorphParamDialog::UpdateToolTip(int r) {
  // The weight the slider's position would set, then the target's current weight.
  wxSlider* slider = m_rows[r].slider;
  const MorphTarget* target = RowTarget(r);
  if (target == nullptr) {
    slider->UnsetToolTip();
    return;
  }
  const float wouldSet =
      SliderScale(target->maxWeight, target->minWeight).WeightAt(slider->GetValue());
  slider->SetToolTip(wxString::FromCDouble(wouldSet, 2) + " (" +
                     wxString::FromCDouble(target->weight, 2) + ")");
}

void MorphParamDialog::ShowWeight(int r, bool moving) {
  const MorphTarget* target = RowTarget(r);
  if (target == nullptr) {
    m_rows[r].weight->SetLabelText(wxEmptyString);
    return;
  }
  const float weight =
      moving
          ? SliderScale(target->maxWeight, target->minWeight).WeightAt(m_rows[r].slider->GetValue())
          : target->weight;
  m_rows[r].weight->SetLabelText(wxString::FromCDouble(weight, 2));
}

void MorphParamDialog::SendHint(int hint) {
  if (m_sendHint) m_sendHint(hint);
}

void MorphParamDialog::OnPrevPage(wxCommandEvent&) {
  m_page = std::max(0, m_page - 1);
  FillPage(m_pMesh);
}

void MorphParamDialog::OnNextPage(wxCommandEvent&) {
  // Never past the last page that shows a target.
  if (m_pMesh != nullptr && kRows * (m_page + 1) < CoveredCount(m_pMesh)) ++m_page;
  FillPage(m_pMesh);
}

void MorphParamDialog::OnOK(wxCommandEvent&) {
  Destroy();
}

void MorphParamDialog::OnCancel(wxCommandEvent&) {
  if (m_pMesh != nullptr) {
    const int n = CoveredCount(m_pMesh);
    for (int i = 0; i < n; ++i) {
      m_pMesh->morphTargets[i].weight = m_savedWeights[i];
    }
    SendHint(HINT_MORPHS_CHANGED);
  }
  Destroy();
}

void MorphParamDialog::OnSliderScroll(wxScrollEvent& event) {
  event.Skip();
  const int r = RowOfSlider(event.GetId());
  if (r < 0 || m_pMesh == nullptr) return;
  MorphTarget* target = RowTarget(r);
  if (target == nullptr) return;
  const int position = m_rows[r].slider->GetValue();
  target->weight = SliderScale(target->maxWeight, target->minWeight).WeightAt(position);
  SendHint(HINT_MORPHS_CHANGED);
  // Another row may show the same target.
  ShowWeights();
}

void MorphParamDialog::OnSliderMoved(wxCommandEvent& event) {
  event.Skip();
  if (const int r = RowOfSlider(event.GetId()); r >= 0) {
    UpdateToolTip(r);
    ShowWeight(r, true);
  }
}

void MorphParamDialog::OnSliderEnter(wxMouseEvent& event) {
  // The weight may have changed underneath, through an appearance file.
  event.Skip();
  if (const int r = RowOfSlider(event.GetId()); r >= 0) UpdateToolTip(r);
}

void MorphParamDialog::OnMainWindowClose(wxCloseEvent& event) {
  // The main window's closing deletes the document before idle time, when this window would
  // be deleted: the closing notice goes now, and the dialog lets go of the panel and the mesh.
  event.Skip();
  SendHint(HINT_MORPH_DIALOG_CLOSED);
  m_sendHint = nullptr;
  m_pMesh = nullptr;
  Destroy();
}

}  // namespace tovmar
