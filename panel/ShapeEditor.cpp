#include "panel/ShapeEditor.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>

#include <wx/accel.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/display.h>
#include <wx/panel.h>
#include <wx/scrolwin.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/slider.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/utils.h>

#include "mesh/LlmMesh.h"
#include "panel/TovmarView.h"

namespace tovmar {

namespace {

// The lines of the list one notch of the wheel scrolls.
constexpr int kWheelLines = 3;

wxString Text(const char* utf8) {
  return wxString::FromUTF8(utf8);
}

// The slider position that shows `weight`, kept to a range a slider can hold.
int PositionFor(float weight) {
  if (std::isnan(weight)) return 0;
  const double position = std::round(static_cast<double>(weight) * ShapeEditor::kStepsPerWeight);
  return static_cast<int>(std::clamp(position, -1e6, 1e6));
}

// The weight slider position `position` sets: the float nearest to a whole hundredth, as typing
// that number gives.
float WeightAt(int position) {
  return static_cast<float>(position) / static_cast<float>(ShapeEditor::kStepsPerWeight);
}

// `weight` with two decimals, or with as many as it needs to read back exactly.
wxString WeightText(float weight) {
  if (weight == 0.0f) return "0.00";
  if (!std::isfinite(weight)) return wxString::FromCDouble(weight);
  const wxString two = wxString::FromCDouble(weight, 2);
  double back = 0.0;
  if (two.ToCDouble(&back) && static_cast<float>(back) == weight) return two;
  char buffer[32];
  const auto written = std::to_chars(buffer, buffer + sizeof buffer, weight);
  return wxString(buffer, static_cast<std::size_t>(written.ptr - buffer));
}

// The weight typed in `text` ("." or "," as the decimal point), or nothing when it is no number or
// beyond the weights a number may set.
std::optional<float> ReadTypedWeight(wxString text) {
  text.Trim(true).Trim(false);
  text.Replace(",", ".");
  double value = 0.0;
  if (text.empty() || !text.ToCDouble(&value) || !std::isfinite(value) ||
      std::abs(value) > ShapeEditor::kMaxTypedWeight) {
    return std::nullopt;
  }
  return static_cast<float>(value);
}

bool SameBits(float a, float b) {
  return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
}

// The weight `row`'s target holds in `meshes`; 0 once the target is gone.
float WeightIn(const std::vector<LlmMesh*>& meshes, const ShapeEditor::Row& row) {
  if (row.part >= meshes.size() || row.target >= meshes[row.part]->morphTargets.size()) {
    return 0.0f;
  }
  return meshes[row.part]->morphTargets[row.target].weight;
}

}  // namespace

ShapeEditor::ShapeEditor(wxWindow* parent, CTovmarView& panel)
    : wxFrame(parent, wxID_ANY, Text("形状エディタ"), wxDefaultPosition, wxDefaultSize,
              wxDEFAULT_FRAME_STYLE | wxFRAME_FLOAT_ON_PARENT),
      m_panel(panel) {
  CreateControls();
  Rebuild();
  // Undo and redo act on the weights whichever window has the keys.
  wxAcceleratorEntry keys[] = {
      {wxACCEL_CTRL, 'Z', wxID_UNDO},
      {wxACCEL_CTRL, 'Y', wxID_REDO},
      {wxACCEL_CTRL | wxACCEL_SHIFT, 'Z', wxID_REDO},
  };
  SetAcceleratorTable(wxAcceleratorTable(std::size(keys), keys));
  Bind(
      wxEVT_MENU, [this](wxCommandEvent&) { m_panel.UndoWeights(); }, wxID_UNDO);
  Bind(
      wxEVT_MENU, [this](wxCommandEvent&) { m_panel.RedoWeights(); }, wxID_REDO);
  Bind(wxEVT_CLOSE_WINDOW, &ShapeEditor::OnClose, this);
}

void ShapeEditor::CreateControls() {
  auto* root = new wxPanel(this);
  auto* column = new wxBoxSizer(wxVERTICAL);

  auto* find = new wxBoxSizer(wxHORIZONTAL);
  find->Add(new wxStaticText(root, wxID_ANY, Text("検索:")),
            wxSizerFlags().CentreVertical().Border(wxRIGHT));
  m_search = new wxTextCtrl(root, wxID_ANY);
  m_search->SetHint(Text("名前の一部"));
  find->Add(m_search, wxSizerFlags(1).CentreVertical());
  column->Add(find, wxSizerFlags().Expand().Border(wxLEFT | wxRIGHT | wxTOP));

  auto* tools = new wxBoxSizer(wxHORIZONTAL);
  m_changedOnly = new wxCheckBox(root, wxID_ANY, Text("変更したものだけ"));
  tools->Add(m_changedOnly, wxSizerFlags(1).CentreVertical());
  m_resetAll = new wxButton(root, wxID_ANY, Text("すべて 0 に戻す"));
  tools->Add(m_resetAll, wxSizerFlags().CentreVertical());
  column->Add(tools, wxSizerFlags().Expand().Border(wxALL));

  m_list = new wxScrolledWindow(root, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                                wxVSCROLL | wxBORDER_THEME);
  m_list->SetScrollRate(0, FromDIP(10));
  m_listSizer = new wxBoxSizer(wxVERTICAL);
  m_list->SetSizer(m_listSizer);
  column->Add(m_list, wxSizerFlags(1).Expand());
  root->SetSizer(column);
  auto* whole = new wxBoxSizer(wxVERTICAL);
  whole->Add(root, wxSizerFlags(1).Expand());
  SetSizer(whole);

  m_search->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { ApplyFilter(); });
  m_changedOnly->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { ApplyFilter(); });
  m_resetAll->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { m_panel.ResetShapeWeights(); });
}

void ShapeEditor::Rebuild() {
  m_list->Freeze();
  // The rows are forgotten before their windows go, so that no late event reaches them.
  m_rows.clear();
  m_headers.clear();
  m_listSizer->Clear(true);
  m_list->DestroyChildren();

  const std::vector<LlmMesh*> meshes = m_panel.ShapeMeshes();
  const std::vector<wxString> captions = m_panel.ShapeCaptions();
  for (std::size_t p = 0; p < meshes.size(); ++p) {
    const std::size_t partHeader = m_headers.size();
    auto* caption = new wxStaticText(m_list, wxID_ANY, wxEmptyString);
    caption->SetLabelText(p < captions.size() ? captions[p] : wxString());
    caption->SetFont(caption->GetFont().Bold().Larger());
    m_listSizer->Add(caption, wxSizerFlags().Border(wxLEFT | wxTOP));
    m_headers.push_back({caption, {}});
    const std::vector<MorphTarget>& targets = meshes[p]->morphTargets;
    std::vector<std::string> names;
    std::vector<MorphGroup> groups;
    for (const MorphTarget& target : targets) {
      names.push_back(target.DisplayName());
      groups.push_back(GroupOfMorph(names.back()));
    }
    for (const MorphGroup group : kMorphGroups) {
      std::optional<std::size_t> groupHeader;
      for (std::size_t t = 0; t < targets.size(); ++t) {
        if (groups[t] != group) continue;
        if (!groupHeader) {
          groupHeader = m_headers.size();
          Header& header = m_headers.emplace_back();
          header.label = new wxStaticText(m_list, wxID_ANY, Text(MorphGroupCaption(group)));
          header.label->SetFont(header.label->GetFont().Bold());
          m_listSizer->Add(header.label, wxSizerFlags().Border(wxLEFT, FromDIP(12)));
        }
        m_headers[*groupHeader].rows.push_back(m_rows.size());
        AddRow(p, t, names[t], group);
      }
    }
    for (std::size_t r = 0; r < m_rows.size(); ++r) {
      if (m_rows[r].part == p) m_headers[partHeader].rows.push_back(r);
    }
  }
  m_empty = new wxStaticText(m_list, wxID_ANY, wxEmptyString);
  m_listSizer->Add(m_empty, wxSizerFlags().Border());

  // Every name shows whole, in one column as wide as the longest.
  int nameWidth = 0;
  for (const Row& row : m_rows) {
    nameWidth = std::max(nameWidth, row.label->GetTextExtent(row.label->GetLabelText()).x);
  }
  for (Row& row : m_rows) {
    row.label->SetMinSize(wxSize(nameWidth + FromDIP(4), row.label->GetBestSize().y));
  }
  for (std::size_t r = 0; r < m_rows.size(); ++r) ShowRow(r, WeightIn(meshes, m_rows[r]), true);
  const int width =
      m_listSizer->GetMinSize().x + wxSystemSettings::GetMetric(wxSYS_VSCROLL_X, this);
  m_list->SetMinSize(wxSize(width, FromDIP(200)));
  ApplyFilter();
  m_list->Thaw();
  Layout();
}

void ShapeEditor::AddRow(std::size_t part, std::size_t target, const std::string& name,
                         MorphGroup group) {
  const std::size_t r = m_rows.size();
  Row& row = m_rows.emplace_back();
  row.part = part;
  row.target = target;
  row.name = name;
  row.group = group;
  // The label shows the name as it is, underscores and ampersands included, in the window's own
  // face and at its own height, so that nothing below the line is cut off.
  row.label = new wxStaticText(m_list, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                               wxST_NO_AUTORESIZE);
  row.label->SetLabelText(wxString::FromUTF8(name));
  row.label->SetToolTip(wxString::FromUTF8(name));
  row.slider = new wxSlider(m_list, wxID_ANY, 0, -kSliderLimit, kSliderLimit, wxDefaultPosition,
                            wxSize(FromDIP(200), -1), wxSL_HORIZONTAL);
  row.number = new wxTextCtrl(m_list, wxID_ANY, wxEmptyString, wxDefaultPosition,
                              wxSize(FromDIP(80), -1), wxTE_PROCESS_ENTER | wxTE_RIGHT);
  row.sizer = new wxBoxSizer(wxHORIZONTAL);
  row.sizer->Add(row.label, wxSizerFlags().CentreVertical().Border(wxLEFT, FromDIP(24)));
  row.sizer->Add(row.slider, wxSizerFlags(1).CentreVertical());
  row.sizer->Add(row.number, wxSizerFlags().CentreVertical().Border(wxRIGHT));
  m_listSizer->Add(row.sizer, wxSizerFlags().Expand());

  // The model follows the thumb while it moves; the whole movement is one step once it ends.
  for (const wxEventTypeTag<wxScrollEvent>& moving :
       {wxEVT_SCROLL_THUMBTRACK, wxEVT_SCROLL_LINEUP, wxEVT_SCROLL_LINEDOWN, wxEVT_SCROLL_PAGEUP,
        wxEVT_SCROLL_PAGEDOWN, wxEVT_SCROLL_TOP, wxEVT_SCROLL_BOTTOM}) {
    row.slider->Bind(moving, [this, r](wxScrollEvent& event) {
      event.Skip();
      OnSliderMoving(r);
    });
  }
  row.slider->Bind(wxEVT_SCROLL_CHANGED, [this, r](wxScrollEvent& event) {
    event.Skip();
    OnSliderReleased(r);
  });
  // The wheel scrolls the list, also over a slider: passing over one never changes its weight.
  row.slider->Bind(wxEVT_MOUSEWHEEL, [this](wxMouseEvent& event) {
    int x = 0;
    int y = 0;
    m_list->GetViewStart(&x, &y);
    const int delta = event.GetWheelDelta() > 0 ? event.GetWheelDelta() : 120;
    m_list->Scroll(-1, y - kWheelLines * event.GetWheelRotation() / delta);
  });
  row.slider->Bind(wxEVT_LEFT_DCLICK,
                   [this, r](wxMouseEvent&) { SetRowWeight(r, 0.0f, true, false); });
  row.number->Bind(wxEVT_TEXT_ENTER, [this, r](wxCommandEvent&) { OnNumberEntered(r); });
  row.number->Bind(wxEVT_KEY_DOWN, [this, r](wxKeyEvent& event) { OnNumberKey(r, event); });
  // Leaving the field without Enter keeps the weight.
  row.number->Bind(wxEVT_KILL_FOCUS, [this, r](wxFocusEvent& event) {
    event.Skip();
    if (r < m_rows.size()) m_rows[r].number->ChangeValue(WeightText(m_rows[r].shown));
  });
}

void ShapeEditor::ShowBesideMainWindow() {
  if (!m_placed) {
    m_placed = true;
    SetSize(GetBestSize().x, FromDIP(640));
    // To the right of the main window, kept on its display.
    if (const wxWindow* main = GetParent()) {
      const wxRect rect = main->GetScreenRect();
      const int display = wxDisplay::GetFromWindow(main);
      const wxRect area =
          wxDisplay(display == wxNOT_FOUND ? 0u : static_cast<unsigned>(display)).GetClientArea();
      const wxSize size = GetSize();
      Move(std::max(area.x, std::min(rect.GetRight() + 1, area.GetRight() + 1 - size.x)),
           std::max(area.y, std::min(rect.y, area.GetBottom() + 1 - size.y)));
    }
  }
  Show();
  Raise();
}

void ShapeEditor::ShowWeights() {
  const std::vector<LlmMesh*> meshes = m_panel.ShapeMeshes();
  for (std::size_t r = 0; r < m_rows.size(); ++r) {
    const float weight = WeightIn(meshes, m_rows[r]);
    if (!SameBits(weight, m_rows[r].shown)) ShowRow(r, weight, true);
  }
  ApplyFilter();
}

std::vector<std::string> ShapeEditor::ShownNames() const {
  std::vector<std::string> names;
  for (const Row& row : m_rows) {
    if (row.label->IsShown()) names.push_back(row.name);
  }
  return names;
}

void ShapeEditor::ShowRow(std::size_t r, float weight, bool moveSlider) {
  Row& row = m_rows[r];
  row.shown = weight;
  row.number->ChangeValue(WeightText(weight));
  if (!moveSlider) return;
  // The range widens to show a weight beyond it.
  const int position = PositionFor(weight);
  row.slider->SetRange(std::min(-kSliderLimit, position), std::max(kSliderLimit, position));
  row.slider->SetValue(position);
}

void ShapeEditor::ApplyFilter() {
  const std::string query = m_search->GetValue().utf8_string();
  const bool changedOnly = m_changedOnly->GetValue();
  m_list->Freeze();
  bool any = false;
  std::vector<bool> visible(m_rows.size());
  for (std::size_t r = 0; r < m_rows.size(); ++r) {
    const Row& row = m_rows[r];
    visible[r] = MorphNameMatches(row.name, query) && (!changedOnly || row.shown != 0.0f);
    m_listSizer->Show(row.sizer, visible[r]);
    any = any || visible[r];
  }
  for (const Header& header : m_headers) {
    const bool shown = std::any_of(header.rows.begin(), header.rows.end(),
                                   [&visible](std::size_t r) { return visible[r]; });
    header.label->Show(shown);
  }
  m_empty->SetLabelText(m_rows.empty() ? Text("メッシュが読み込まれていません。")
                                       : Text("該当するモーフはありません。"));
  m_empty->Show(!any);
  m_list->FitInside();
  m_list->Layout();
  m_list->Thaw();
}

void ShapeEditor::SetRowWeight(std::size_t r, float weight, bool commit, bool fromSlider) {
  if (r >= m_rows.size()) return;
  // What changed elsewhere since the last step (an open morph dialog's changes) is a step of its
  // own, before this change or the movement it begins.
  if (!m_changing) m_panel.CommitWeights();
  m_changing = !commit;
  const Row& row = m_rows[r];
  m_panel.SetShapeWeight(row.part, row.target, weight);
  if (commit) m_panel.CommitWeights();
  // Rows of the same name in other parts follow; the slider being moved stays under the mouse.
  const std::vector<LlmMesh*> meshes = m_panel.ShapeMeshes();
  for (std::size_t i = 0; i < m_rows.size(); ++i) {
    const float now = WeightIn(meshes, m_rows[i]);
    if (!SameBits(now, m_rows[i].shown)) ShowRow(i, now, i != r || !fromSlider);
  }
}

void ShapeEditor::OnSliderMoving(std::size_t r) {
  if (r < m_rows.size()) SetRowWeight(r, WeightAt(m_rows[r].slider->GetValue()), false, true);
}

void ShapeEditor::OnSliderReleased(std::size_t r) {
  if (r < m_rows.size()) SetRowWeight(r, WeightAt(m_rows[r].slider->GetValue()), true, true);
}

void ShapeEditor::OnNumberEntered(std::size_t r) {
  if (r >= m_rows.size()) return;
  Row& row = m_rows[r];
  const std::optional<float> typed = ReadTypedWeight(row.number->GetValue());
  if (!typed) {
    // No number, or one beyond any shape: the field shows the weight again.
    wxBell();
    row.number->ChangeValue(WeightText(row.shown));
    row.number->SelectAll();
    return;
  }
  SetRowWeight(r, *typed, true, false);
  // A value equal to the one shown may have been typed in another form.
  row.number->ChangeValue(WeightText(m_rows[r].shown));
}

void ShapeEditor::OnNumberKey(std::size_t r, wxKeyEvent& event) {
  if (event.GetKeyCode() != WXK_ESCAPE || r >= m_rows.size()) {
    event.Skip();
    return;
  }
  m_rows[r].number->ChangeValue(WeightText(m_rows[r].shown));
  m_rows[r].number->SelectAll();
}

void ShapeEditor::OnClose(wxCloseEvent& event) {
  // Closing hides the window, rows and place kept for the next time; it goes with the main window.
  if (event.CanVeto()) {
    event.Veto();
    Hide();
    return;
  }
  event.Skip();
}

}  // namespace tovmar
