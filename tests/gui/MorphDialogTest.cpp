// The morph parameter dialog in the running application: its layout, its pages, sliders moved
// by real mouse and key input, the weights it keeps or puts back, and how it closes.
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <wx/slider.h>
#include <wx/stattext.h>
#include <wx/tooltip.h>
#include <wx/uiaction.h>

#include <gtest/gtest.h>

#include "app/DocumentPane.h"
#include "app/Hints.h"
#include "app/PaneWindow.h"
#include "appearance/SliderScale.h"
#include "appearance/window/MorphParamDialog.h"
#include "panel/ControlIds.h"
#include "tests/gui/AppAccess.h"
#include "tests/gui/PanelCommands.h"
#include "tests/support/ScriptedFileDialogs.h"
#include "tests/support/WxTestUtil.h"
#include "tools/LlmWriter.h"

namespace tovmar {
namespace {

const SliderScale kScale(2.0f, -2.0f);

// The hints the document broadcasts, as one more pane of it receives them.
class HintRecorder : public PaneWindow {
 public:
  HintRecorder() : m_pane(std::make_unique<DocumentPane>(&Doc(), *this)) {}
  void OnInitialUpdate() override {}
  void OnUpdate(wxView*, int hint, wxObject*) override { hints.push_back(hint); }

  std::vector<int> hints;

 private:
  std::unique_ptr<DocumentPane> m_pane;
};

MorphParamDialog* Dialog() {
  return Panel().m_pMorphDlg;
}

wxStaticText* Label(int row) {
  return dynamic_cast<wxStaticText*>(Dialog()->FindWindow(kMorphLabelIds[row]));
}

wxSlider* Slider(int row) {
  return dynamic_cast<wxSlider*>(Dialog()->FindWindow(kMorphSliderIds[row]));
}

wxStaticText* Number(int row) {
  return dynamic_cast<wxStaticText*>(Dialog()->FindWindow(kMorphWeightIds[row]));
}

float& Weight(std::size_t target) {
  return Doc().m_mesh.morphTargets.at(target).weight;
}

// Clicks one of the dialog's buttons.
void PressInDialog(int id) {
  wxWindow* button = Dialog()->FindWindow(id);
  ASSERT_NE(button, nullptr);
  wxCommandEvent event(wxEVT_BUTTON, id);
  event.SetEventObject(button);
  button->GetEventHandler()->ProcessEvent(event);
}

// A movement of row `row`'s slider that ends at `position`, as the slider reports it.
void EndMovementAt(int row, int position) {
  wxSlider* slider = Slider(row);
  slider->SetValue(position);
  wxScrollEvent event(wxEVT_SCROLL_CHANGED, slider->GetId(), slider->GetValue(), wxHORIZONTAL);
  event.SetEventObject(slider);
  slider->GetEventHandler()->ProcessEvent(event);
}

// Presses the mouse on the thumb of `slider`, in its middle, and drags it to the right, holding
// the button.
void PressAndDragThumb(wxUIActionSimulator& mouse, wxSlider* slider) {
  const wxRect track = slider->GetScreenRect();
  const wxPoint middle = track.GetPosition() + track.GetSize() / 2;
  mouse.MouseMove(middle);
  PumpEvents(50);
  mouse.MouseDown();
  for (int step = 1; step <= 8; ++step) {
    mouse.MouseMove(middle + wxPoint(step * track.width / 32, 0));
    PumpEvents(30);
  }
  PumpEvents(100);
}

// Lets the closed dialog's window go; true once the panel has forgotten it.
bool WaitUntilClosed() {
  for (int i = 0; i < 40 && Dialog() != nullptr; ++i) PumpEvents(25);
  return Dialog() == nullptr;
}

std::vector<wxString> LabelTexts() {
  std::vector<wxString> texts;
  for (int r = 0; r < MorphParamDialog::kRows; ++r) texts.push_back(Label(r)->GetLabelText());
  return texts;
}

// The name of target `i` (from 1) of the many-target mesh.
wxString TargetName(int i) {
  char name[16];
  std::snprintf(name, sizeof name, "Target %03d", i);
  return name;
}

std::vector<std::string> ManyNames(int count) {
  std::vector<std::string> names;
  for (int i = 1; i <= count; ++i) names.push_back(TargetName(i).utf8_string());
  return names;
}

// Gives row `row`'s slider the keyboard focus.
void FocusSlider(int row) {
  Dialog()->Raise();
  Slider(row)->SetFocus();
  PumpEvents(100);
  ASSERT_EQ(wxWindow::FindFocus(), Slider(row));
}

class MorphDialogTest : public testing::Test {
 protected:
  void TearDown() override {
    // No dialog is left open for the next test.
    if (Dialog() != nullptr) PressInDialog(wxID_OK);
    EXPECT_TRUE(WaitUntilClosed());
  }

  void LoadMesh(const wxString& path) {
    m_dialogs.Choose(path);
    Press(IDC_LOAD_MESH);
  }

  void LoadTargets(const std::vector<std::string>& names) {
    LoadMesh(WriteTargetsMesh(m_folder, "targets.llm", names));
  }

  // Opens the dialog with the panel's button and lets it show.
  void OpenDialog() {
    Press(IDC_MORPHING);
    ASSERT_NE(Dialog(), nullptr);
    PumpEvents(150);
  }

  TestFolder m_folder{"tovmar-morph-dialog"};
  ScriptedFileDialogs m_dialogs;
};

TEST_F(MorphDialogTest, OpensBesideTheMainWindowAsLaidOutWithEveryRowEmptyBeforeAMesh) {
  RemoveAllMeshes();
  Doc().m_mesh = LlmMesh();
  OpenDialog();
  MorphParamDialog* dialog = Dialog();
  EXPECT_EQ(dialog->GetId(), IDD_MORPH_PARAM);
  EXPECT_EQ(dialog->GetTitle(), wxString::FromUTF8("モーフィング パラメータ"));
  EXPECT_EQ(dialog->GetParent(), &Panel());
  // 292 x 167 dialog units of its 8-point face (6 pixels per 4 across, 13 per 8 down): the
  // rows' 262 and a column of numbers.
  EXPECT_EQ(dialog->GetClientSize(), wxSize(438, 271));
  const wxRect main = Frame().GetScreenRect();
  EXPECT_GT(dialog->GetScreenPosition().x, main.GetRight());
  EXPECT_EQ(dialog->GetScreenPosition().y, main.y);

  const int sliderTops[] = {6, 24, 42, 60, 78, 96, 114, 132};
  for (int r = 0; r < MorphParamDialog::kRows; ++r) {
    SCOPED_TRACE(r);
    ASSERT_NE(Label(r), nullptr);
    ASSERT_NE(Slider(r), nullptr);
    EXPECT_EQ(Label(r)->GetLabelText(), "NONE");
    EXPECT_FALSE(Label(r)->IsEnabled());
    EXPECT_FALSE(Slider(r)->IsEnabled());
    // A slider spans its row's rectangle; it may be taller, centred on it.
    const wxRect track(99, sliderTops[r] * 13 / 8, 288, 19);
    const wxRect slider = Slider(r)->GetRect();
    EXPECT_EQ(slider.x, track.x);
    EXPECT_EQ(slider.width, track.width);
    EXPECT_GE(slider.height, track.height);
    EXPECT_NEAR(slider.y + slider.height / 2, track.y + track.height / 2, 1);
  }

  const std::pair<int, const char*> buttons[] = {{IDC_PREV_PAGE, "< 前のページ"},
                                                 {IDC_NEXT_PAGE, "次のページ >"},
                                                 {wxID_OK, "OK"},
                                                 {wxID_CANCEL, "キャンセル"}};
  for (const auto& [id, caption] : buttons) {
    ASSERT_NE(dialog->FindWindow(id), nullptr);
    EXPECT_EQ(dialog->FindWindow(id)->GetLabel(), wxString::FromUTF8(caption));
  }
  EXPECT_EQ(dialog->FindWindow(wxID_OK)->GetRect(), wxRect(225, 243, 75, 22));
  EXPECT_EQ(dialog->GetDefaultItem(), dialog->FindWindow(wxID_OK));
}

TEST_F(MorphDialogTest, PagesStopAtTheHundredthTargetAndCancelLeavesTheRestAlone) {
  LoadTargets(ManyNames(120));
  OpenDialog();
  EXPECT_EQ(Label(7)->GetLabelText(), TargetName(8));
  EXPECT_EQ(Slider(7)->GetMax(), 400);
  EXPECT_EQ(Slider(7)->GetValue(), 200);
  EXPECT_EQ(Slider(7)->GetLineSize(), 3);
  EXPECT_EQ(Slider(7)->GetPageSize(), 7);

  // Page 12 holds targets 97 to 100, and the pages stop there.
  for (int page = 1; page <= 14; ++page) PressInDialog(IDC_NEXT_PAGE);
  const std::vector<wxString> last = {TargetName(97),  TargetName(98), TargetName(99),
                                      TargetName(100), "NONE",         "NONE",
                                      "NONE",          "NONE"};
  EXPECT_EQ(LabelTexts(), last);
  EXPECT_TRUE(Slider(3)->IsEnabled());
  EXPECT_FALSE(Slider(4)->IsEnabled());

  // A previous page on page 0 fills it again, with the current weights.
  for (int page = 12; page >= 0; --page) PressInDialog(IDC_PREV_PAGE);
  Weight(0) = 1.0f;
  PressInDialog(IDC_PREV_PAGE);
  EXPECT_EQ(Label(0)->GetLabelText(), TargetName(1));
  EXPECT_EQ(Slider(0)->GetValue(), 300);

  Weight(99) = 0.5f;
  Weight(100) = 1.5f;
  PressInDialog(wxID_CANCEL);
  EXPECT_EQ(Weight(0), 0.0f);
  EXPECT_EQ(Weight(99), 0.0f);
  EXPECT_EQ(Weight(100), 1.5f);
}

TEST_F(MorphDialogTest, DraggedThumbChangesTheWeightOnceWhenReleased) {
  LoadMesh(WriteBallMesh(m_folder, "ball.llm", 0.15f));
  OpenDialog();
  const wxImage before = ShownScene();
  HintRecorder recorder;

  wxSlider* slider = Slider(0);
  wxUIActionSimulator mouse;
  PressAndDragThumb(mouse, slider);
  const int held = slider->GetValue();
  EXPECT_GT(held, 220);
  EXPECT_EQ(Weight(0), 0.0f);
  EXPECT_TRUE(recorder.hints.empty());
  // The tooltip tells what the release will set, beside the weight as it is.
  ASSERT_NE(slider->GetToolTip(), nullptr);
  EXPECT_EQ(slider->GetToolTip()->GetTip(),
            wxString::FromCDouble(kScale.WeightAt(held), 2) + " (0.00)");

  mouse.MouseUp();
  PumpEvents(200);
  EXPECT_EQ(recorder.hints, std::vector<int>{HINT_MORPHS_CHANGED});
  EXPECT_EQ(Weight(0), kScale.WeightAt(slider->GetValue()));
  EXPECT_GT(Weight(0), 0.0f);

  // The belly shows on screen.
  const wxImage after = ShownScene();
  ASSERT_EQ(before.GetSize(), after.GetSize());
  int changed = 0;
  for (int y = 0; y < after.GetHeight(); y += 2) {
    for (int x = 0; x < after.GetWidth(); x += 2) {
      if (before.GetRed(x, y) != after.GetRed(x, y)) ++changed;
    }
  }
  EXPECT_GT(changed, 100);
}

TEST_F(MorphDialogTest, EveryKeyStepEndsAMovement) {
  LoadMesh(WriteBallMesh(m_folder, "ball.llm", 0.15f));
  OpenDialog();
  HintRecorder recorder;
  FocusSlider(0);
  wxUIActionSimulator keys;
  keys.Char(WXK_RIGHT);
  PumpEvents(100);
  EXPECT_EQ(Weight(0), kScale.WeightAt(203));
  EXPECT_EQ(recorder.hints.size(), 1u);
  keys.Char(WXK_END);
  PumpEvents(100);
  EXPECT_EQ(Weight(0), 2.0f);
  EXPECT_EQ(recorder.hints, std::vector<int>(2, HINT_MORPHS_CHANGED));
}

TEST_F(MorphDialogTest, WeightsBeyondTheScaleShowAtItsEndsUntilAMovementEnds) {
  LoadMesh(WriteBallMesh(m_folder, "ball.llm", 0.15f));
  OpenDialog();
  // An appearance file set 3.0: the thumb stops at the end, the weight is left alone...
  Weight(0) = 3.0f;
  PressInDialog(IDC_PREV_PAGE);
  EXPECT_EQ(Slider(0)->GetValue(), 400);
  EXPECT_EQ(Weight(0), 3.0f);
  // ...until a movement ends there.
  EndMovementAt(0, Slider(0)->GetValue());
  EXPECT_EQ(Weight(0), 2.0f);

  // Position 1 sets -1.99, which shows at 0 when the page is filled again.
  EndMovementAt(0, 1);
  EXPECT_EQ(Weight(0), -1.99f);
  PressInDialog(IDC_PREV_PAGE);
  EXPECT_EQ(Slider(0)->GetValue(), 0);
}

TEST_F(MorphDialogTest, OkKeepsTheWeightsAndEveryWayToCancelPutsBackTheOnesFound) {
  LoadMesh(WriteBallMesh(m_folder, "ball.llm", 0.15f));
  HintRecorder recorder;
  OpenDialog();
  EndMovementAt(0, 250);
  PressInDialog(wxID_OK);
  EXPECT_TRUE(WaitUntilClosed());
  EXPECT_EQ(Weight(0), 0.5f);
  EXPECT_EQ(recorder.hints, (std::vector<int>{HINT_MORPHS_CHANGED, HINT_MORPH_DIALOG_CLOSED}));

  // Cancel undoes the slider and what an appearance file set while the dialog was open.
  recorder.hints.clear();
  OpenDialog();
  EndMovementAt(0, 400);
  Weight(0) = 1.25f;
  PressInDialog(wxID_CANCEL);
  EXPECT_EQ(Weight(0), 0.5f);
  EXPECT_TRUE(WaitUntilClosed());
  EXPECT_EQ(recorder.hints,
            (std::vector<int>{HINT_MORPHS_CHANGED, HINT_MORPHS_CHANGED, HINT_MORPH_DIALOG_CLOSED}));

  // So do Escape and the caption's close button.
  OpenDialog();
  EndMovementAt(0, 100);
  FocusSlider(0);
  wxUIActionSimulator().Char(WXK_ESCAPE);
  EXPECT_TRUE(WaitUntilClosed());
  EXPECT_EQ(Weight(0), 0.5f);
  OpenDialog();
  EndMovementAt(0, 100);
  Dialog()->Close();
  EXPECT_TRUE(WaitUntilClosed());
  EXPECT_EQ(Weight(0), 0.5f);
}

TEST_F(MorphDialogTest, OpeningAgainGivesAFreshDialogAndKeepsTheWeights) {
  LoadTargets(ManyNames(20));
  OpenDialog();
  PressInDialog(IDC_NEXT_PAGE);
  EndMovementAt(0, 300);
  ASSERT_EQ(Weight(8), 1.0f);

  HintRecorder recorder;
  Press(IDC_MORPHING);
  EXPECT_EQ(recorder.hints, std::vector<int>{HINT_MORPH_DIALOG_CLOSED});
  EXPECT_EQ(Weight(8), 1.0f);
  ASSERT_NE(Dialog(), nullptr);
  EXPECT_EQ(Label(0)->GetLabelText(), TargetName(1));
  // The panel still holds the new dialog once the old one is gone for good.
  PumpEvents(200);
  ASSERT_NE(Dialog(), nullptr);
  EXPECT_TRUE(Dialog()->IsShown());

  // Its saved weights are the ones found at the second opening.
  PressInDialog(IDC_NEXT_PAGE);
  EndMovementAt(0, 100);
  PressInDialog(wxID_CANCEL);
  EXPECT_EQ(Weight(8), 1.0f);
}

TEST_F(MorphDialogTest, MeshLoadedWhileOpenRebuildsTheDialog) {
  LoadTargets(ManyNames(20));
  OpenDialog();
  PressInDialog(IDC_NEXT_PAGE);
  PressInDialog(IDC_NEXT_PAGE);

  LoadMesh(WriteBallMesh(m_folder, "ball.llm", 0.15f));
  std::vector<wxString> rows(MorphParamDialog::kRows, "NONE");
  rows[0] = "Big_Belly";
  EXPECT_EQ(LabelTexts(), rows);
  // The weights saved at the load are the ones Cancel puts back.
  EndMovementAt(0, 300);
  EXPECT_EQ(Weight(0), 1.0f);
  PressInDialog(wxID_CANCEL);
  EXPECT_EQ(Weight(0), 0.0f);
}

TEST_F(MorphDialogTest, SlidersSetTheFirstTargetNamedAsTheirLabel) {
  LoadTargets({"Same", "Same", "Salt & Pepper"});
  OpenDialog();
  EndMovementAt(1, 250);
  EXPECT_EQ(Weight(0), 0.5f);
  EXPECT_EQ(Weight(1), 0.0f);
  EXPECT_EQ(Label(2)->GetLabelText(), "Salt & Pepper");
  EndMovementAt(2, 150);
  EXPECT_EQ(Weight(2), -0.5f);
}

TEST_F(MorphDialogTest, NumbersFollowTheThumbThePageAndWeightsSetElsewhere) {
  LoadTargets({"Big_Belly", "Same", "Same", "A", "B", "C", "D", "E", "Ninth"});
  Weight(8) = 0.13f;
  OpenDialog();
  // Beside each slider, level with it, inside the dialog.
  ASSERT_NE(Number(7), nullptr);
  EXPECT_EQ(Number(7)->GetLabelText(), "0.00");
  EXPECT_GT(Number(7)->GetRect().x, Slider(7)->GetRect().GetRight());
  EXPECT_LE(Number(7)->GetRect().GetRight(), Dialog()->GetClientSize().x);
  EXPECT_NEAR(Number(7)->GetRect().GetTop(), Slider(7)->GetRect().GetTop(), 10);

  // While the thumb is dragged the number shows what the release will set; then the weight.
  wxUIActionSimulator mouse;
  PressAndDragThumb(mouse, Slider(0));
  const int held = Slider(0)->GetValue();
  EXPECT_EQ(Number(0)->GetLabelText(), wxString::FromCDouble(kScale.WeightAt(held), 2));
  EXPECT_EQ(Weight(0), 0.0f);
  mouse.MouseUp();
  PumpEvents(200);
  EXPECT_EQ(Number(0)->GetLabelText(), wxString::FromCDouble(Weight(0), 2));
  EXPECT_NE(Number(0)->GetLabelText(), "0.00");

  // A row shows the weight its slider sets: with two of a name, the first one's, on both rows.
  EndMovementAt(2, 250);
  EXPECT_EQ(Number(1)->GetLabelText(), "0.50");
  EXPECT_EQ(Number(2)->GetLabelText(), "0.50");

  // The next page: the ninth target's weight, and nothing on the "NONE" rows.
  PressInDialog(IDC_NEXT_PAGE);
  EXPECT_EQ(Number(0)->GetLabelText(), "0.13");
  EXPECT_EQ(Number(1)->GetLabelText(), "");

  // An appearance file changes the number at once; the slider stays until the page is filled.
  const wxString xml = m_folder.File("ninth.xml");
  std::ofstream(xml.utf8_string()) << "<linden_genepool><archetype>"
                                      "<param id=\"1\" name=\"ninth\" value=\"-1.5\"/>"
                                      "</archetype></linden_genepool>";
  Panel().LoadAppearance(xml);
  EXPECT_EQ(Number(0)->GetLabelText(), "-1.50");
  EXPECT_EQ(Slider(0)->GetValue(), 213);
}

TEST_F(MorphDialogTest, LongNamesShowWholeInASmallerFaceWithTheirTooltip) {
  const wxString longName = "Express_Embarrassed_Emote";
  LoadTargets({"Big_Belly", longName.utf8_string()});
  OpenDialog();
  const int dialogPoints = Dialog()->GetFont().GetPointSize();
  EXPECT_EQ(Label(0)->GetFont().GetPointSize(), dialogPoints);

  // Every line within the label, together the whole name.
  wxStaticText* label = Label(1);
  EXPECT_LT(label->GetFont().GetPointSize(), dialogPoints);
  EXPECT_EQ(label->GetToolTipText(), longName);
  wxString joined;
  const wxArrayString lines = wxSplit(label->GetLabelText(), '\n', '\0');
  for (const wxString& line : lines) {
    EXPECT_LE(label->GetTextExtent(line).x, label->GetClientSize().x) << line;
    joined += line;
  }
  EXPECT_EQ(joined, longName);
  EXPECT_LE(static_cast<int>(lines.size()) * label->GetTextExtent("Ag").y,
            label->GetClientSize().y);
  // Nothing is drawn at the label's left and right edges, where a cut name would touch them.
  PumpEvents(100);
  const wxImage shown = GrabWindow(label);
  ASSERT_TRUE(shown.IsOk());
  int edgeInk = 0;
  for (const int x : {0, shown.GetWidth() - 1}) {
    for (int y = 0; y < shown.GetHeight(); ++y) edgeInk += shown.GetRed(x, y) != shown.GetRed(0, 0);
  }
  EXPECT_EQ(edgeInk, 0);

  // The row still sets its target.
  EndMovementAt(1, 250);
  EXPECT_EQ(Weight(1), 0.5f);
}

}  // namespace
}  // namespace tovmar
