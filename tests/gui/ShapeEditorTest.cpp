// The shape editor in the running application: its list of a hundred targets, finding them, typed
// values and resets, the model following a dragged slider, one undo history with the morph dialog
// and appearance files, and a saved shape giving back a shaped avatar.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/slider.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

#include <gtest/gtest.h>

#include "app/CommandIds.h"
#include "app/FileNames.h"
#include "appearance/window/MorphParamDialog.h"
#include "mesh/SceneStore.h"
#include "panel/AvatarPartsWindow.h"
#include "panel/ControlIds.h"
#include "panel/ShapeEditor.h"
#include "panel/ViewContextMenu.h"
#include "tests/gui/AppAccess.h"
#include "tests/gui/PanelCommands.h"
#include "tests/support/RecordingMessageSink.h"
#include "tests/support/RunProcess.h"
#include "tests/support/ScriptedFileDialogs.h"
#include "tests/support/ScriptedViewPrompts.h"
#include "tests/support/WxTestUtil.h"
#include "tools/LlmWriter.h"

namespace tovmar {
namespace {

namespace fs = std::filesystem;

ShapeEditor& Editor() {
  return *Panel().ShapeEditorWindow();
}

const ShapeEditor::Row& RowNamed(const std::string& name) {
  for (const ShapeEditor::Row& row : Editor().Rows()) {
    if (row.name == name) return row;
  }
  ADD_FAILURE() << "no row " << name;
  return Editor().Rows().front();
}

float WeightOf(const std::string& name) {
  return Doc().m_mesh.FindMorphTarget(name)->weight;
}

// Types `text` into the number field of row `name` and ends with Enter or Escape.
void Type(const std::string& name, const char* text, bool enter) {
  wxTextCtrl* number = RowNamed(name).number;
  number->ChangeValue(text);
  if (enter) {
    wxCommandEvent event(wxEVT_TEXT_ENTER, number->GetId());
    event.SetEventObject(number);
    number->GetEventHandler()->ProcessEvent(event);
  } else {
    wxKeyEvent event(wxEVT_KEY_DOWN);
    event.m_keyCode = WXK_ESCAPE;
    event.SetEventObject(number);
    number->GetEventHandler()->ProcessEvent(event);
  }
}

// The slider of row `name` at `position`, reported as `type` (a movement or its end).
void MoveSlider(const std::string& name, int position, wxEventType type) {
  wxSlider* slider = RowNamed(name).slider;
  slider->SetValue(position);
  wxScrollEvent event(type, slider->GetId(), slider->GetValue(), wxHORIZONTAL);
  event.SetEventObject(slider);
  slider->GetEventHandler()->ProcessEvent(event);
}

// How many pixels of two pictures of the view differ.
int CountDifferentPixels(const wxImage& a, const wxImage& b) {
  if (a.GetSize() != b.GetSize()) return a.GetWidth() * a.GetHeight();
  const unsigned char* data = b.GetData();
  return DifferingPixels(
      a, std::vector<std::uint8_t>(data, data + 3 * b.GetWidth() * b.GetHeight()), 0);
}

// Sends the main window the command of `id`, as its keys do.
void MainWindowCommand(int id) {
  wxCommandEvent event(wxEVT_MENU, id);
  Frame().GetEventHandler()->ProcessEvent(event);
}

class ShapeEditorTest : public testing::Test {
 protected:
  ~ShapeEditorTest() override {
    if (Panel().ShapeEditorWindow() != nullptr) {
      Editor().SearchField()->ChangeValue(wxString());
      Editor().ChangedOnlyBox()->SetValue(false);
      Editor().Hide();
    }
    if (Panel().m_pMorphDlg != nullptr) Panel().m_pMorphDlg->Destroy();
    if (Panel().PartsWindow() != nullptr) Panel().PartsWindow()->Hide();
    RemoveAllMeshes();
    PumpEvents(50);
  }

  // Loads a mesh of a hundred targets: some named for parts of the body, the rest numbered.
  void LoadHundredTargets() {
    std::vector<std::string> names = {"Target 001", "Arced_Eyebrows", "Big_Ears",
                                      "Lips_Thin",  "Nose & Mouth",   "Fat_Legs"};
    for (int i = 2; names.size() < 100; ++i) {
      char name[32];
      std::snprintf(name, sizeof name, "Target %03d", i);
      names.push_back(name);
    }
    m_dialogs.Choose(WriteTargetsMesh(m_folder, "targets.llm", names));
    Press(IDC_LOAD_MESH);
    ASSERT_EQ(Doc().m_mesh.morphTargets.size(), 100u);
  }

  void OpenEditor() {
    Panel().RunViewMenuCommand(ID_VIEW_SHAPE_EDITOR);
    ASSERT_NE(Panel().ShapeEditorWindow(), nullptr);
    PumpEvents(100);
    ASSERT_TRUE(Editor().IsShown());
  }

  TestFolder m_folder{"tovmar-shape-editor"};
  ScriptedFileDialogs m_dialogs;
  ScriptedViewPrompts m_shapeNames;
  RecordingMessageSink m_messages;
};

TEST_F(ShapeEditorTest, ListsEveryTargetByGroupWithWholeNamesAndFiltersAsYouType) {
  LoadHundredTargets();
  OpenEditor();
  const std::vector<ShapeEditor::Row>& rows = Editor().Rows();
  ASSERT_EQ(rows.size(), 100u);
  // Grouped in the editor's order: eyes and brows first, the numbered targets last.
  EXPECT_EQ(rows[0].name, "Arced_Eyebrows");
  EXPECT_EQ(rows[1].name, "Nose & Mouth");
  EXPECT_EQ(rows[2].name, "Lips_Thin");
  EXPECT_EQ(rows[3].name, "Big_Ears");
  EXPECT_EQ(rows[4].name, "Fat_Legs");
  EXPECT_EQ(rows[5].name, "Target 001");
  for (const ShapeEditor::Row& row : rows) {
    // Underscores and ampersands show as they are, and the label holds the whole name.
    EXPECT_EQ(row.label->GetLabelText().utf8_string(), row.name);
    EXPECT_GE(row.label->GetSize().x, row.label->GetTextExtent(row.label->GetLabelText()).x);
  }

  const struct {
    const char* query;
    bool changedOnly;
    std::vector<std::string> shown;
  } cases[] = {
      {"ear", false, {"Big_Ears"}},
      {"ARCED_e", false, {"Arced_Eyebrows"}},
      {" & m", false, {"Nose & Mouth"}},
      {"target 09",
       false,
       {"Target 090", "Target 091", "Target 092", "Target 093", "Target 094", "Target 095"}},
      {"", true, {"Lips_Thin", "Target 050"}},
      {"lips", true, {"Lips_Thin"}},
      {"nothing", false, {}},
  };
  Type("Lips_Thin", "-0.5", true);
  Type("Target 050", "1", true);
  for (const auto& c : cases) {
    // The search field filters as the text changes, as typing does.
    Editor().SearchField()->SetValue(wxString::FromUTF8(c.query));
    Editor().ChangedOnlyBox()->SetValue(c.changedOnly);
    wxCommandEvent toggled(wxEVT_CHECKBOX, Editor().ChangedOnlyBox()->GetId());
    Editor().ChangedOnlyBox()->GetEventHandler()->ProcessEvent(toggled);
    EXPECT_EQ(Editor().ShownNames(), c.shown) << c.query;
  }
}

TEST_F(ShapeEditorTest, TypedValuesEscapeDoubleClickAndResetAllSetExactWeights) {
  LoadHundredTargets();
  OpenEditor();
  Type("Big_Ears", "0.13", true);
  EXPECT_EQ(WeightOf("Big_Ears"), 0.13f);
  EXPECT_EQ(RowNamed("Big_Ears").slider->GetValue(), 13);
  // Escape puts back the weight; text that is no number or beyond any shape changes nothing.
  for (const char* text : {"abc", "", "1e9", "nan"}) {
    Type("Big_Ears", text, true);
    EXPECT_EQ(WeightOf("Big_Ears"), 0.13f) << text;
    EXPECT_EQ(RowNamed("Big_Ears").number->GetValue(), "0.13") << text;
  }
  Type("Big_Ears", "1.5", false);
  EXPECT_EQ(RowNamed("Big_Ears").number->GetValue(), "0.13");
  // A weight beyond the dialog's scale widens the slider, which shows it; a comma is a point.
  Type("Fat_Legs", "3,5", true);
  EXPECT_EQ(WeightOf("Fat_Legs"), 3.5f);
  EXPECT_EQ(RowNamed("Fat_Legs").slider->GetMax(), 350);
  EXPECT_EQ(RowNamed("Fat_Legs").slider->GetValue(), 350);
  EXPECT_EQ(RowNamed("Fat_Legs").slider->GetMin(), -ShapeEditor::kSliderLimit);

  wxMouseEvent doubleClick(wxEVT_LEFT_DCLICK);
  RowNamed("Big_Ears").slider->GetEventHandler()->ProcessEvent(doubleClick);
  EXPECT_EQ(WeightOf("Big_Ears"), 0.0f);
  EXPECT_EQ(RowNamed("Big_Ears").slider->GetValue(), 0);

  Type("Lips_Thin", "-2", true);
  wxCommandEvent press(wxEVT_BUTTON, Editor().ResetAllButton()->GetId());
  Editor().ResetAllButton()->GetEventHandler()->ProcessEvent(press);
  for (const MorphTarget& target : Doc().m_mesh.morphTargets) EXPECT_EQ(target.weight, 0.0f);
  EXPECT_EQ(RowNamed("Fat_Legs").number->GetValue(), "0.00");
  // The reset is one step.
  ASSERT_TRUE(Panel().UndoWeights());
  EXPECT_EQ(WeightOf("Fat_Legs"), 3.5f);
  EXPECT_EQ(WeightOf("Lips_Thin"), -2.0f);
  EXPECT_EQ(RowNamed("Lips_Thin").number->GetValue(), "-2.00");
}

TEST_F(ShapeEditorTest, TheModelFollowsADraggedSliderAndTheWholeDragIsOneStep) {
  m_dialogs.Choose(WriteBallMesh(m_folder, "ball.llm", 0.15f));
  Press(IDC_LOAD_MESH);
  OpenEditor();
  const wxImage before = ShownScene();
  for (int position = 20; position <= 200; position += 60) {
    MoveSlider("Big_Belly", position, wxEVT_SCROLL_THUMBTRACK);
  }
  // While the thumb is still held, the view already shows the pushed-out ball.
  const wxImage dragging = ShownScene();
  EXPECT_EQ(WeightOf("Big_Belly"), 2.0f);
  EXPECT_EQ(RowNamed("Big_Belly").number->GetValue(), "2.00");
  EXPECT_GT(CountDifferentPixels(before, dragging), 100);

  MoveSlider("Big_Belly", 200, wxEVT_SCROLL_CHANGED);
  // One undo goes back over the whole drag, to the picture before it; redo brings it again.
  MainWindowCommand(ID_EDIT_UNDO);
  EXPECT_EQ(WeightOf("Big_Belly"), 0.0f);
  EXPECT_EQ(RowNamed("Big_Belly").slider->GetValue(), 0);
  EXPECT_EQ(CountDifferentPixels(before, ShownScene()), 0);
  EXPECT_FALSE(Panel().UndoWeights());
  MainWindowCommand(ID_EDIT_REDO);
  EXPECT_EQ(WeightOf("Big_Belly"), 2.0f);
  EXPECT_EQ(CountDifferentPixels(dragging, ShownScene()), 0);
}

TEST_F(ShapeEditorTest, TheEditorTheMorphDialogAndAppearanceFilesShareWeightsAndHistory) {
  LoadHundredTargets();
  OpenEditor();
  Type("Target 001", "0.5", true);

  // The dialog shows the editor's weight; its changes show in the editor and are one step at OK.
  Press(IDC_MORPHING);
  MorphParamDialog* dialog = Panel().m_pMorphDlg;
  ASSERT_NE(dialog, nullptr);
  auto* number = dynamic_cast<wxStaticText*>(dialog->FindWindow(kMorphWeightIds[0]));
  EXPECT_EQ(number->GetLabelText(), "0.50");
  for (const int row : {0, 1}) {
    auto* slider = dynamic_cast<wxSlider*>(dialog->FindWindow(kMorphSliderIds[row]));
    slider->SetValue(300);
    wxScrollEvent end(wxEVT_SCROLL_CHANGED, slider->GetId(), 300, wxHORIZONTAL);
    end.SetEventObject(slider);
    slider->GetEventHandler()->ProcessEvent(end);
  }
  EXPECT_EQ(RowNamed("Target 001").number->GetValue(), "1.00");
  EXPECT_EQ(RowNamed("Arced_Eyebrows").number->GetValue(), "1.00");
  wxCommandEvent ok(wxEVT_BUTTON, wxID_OK);
  dialog->FindWindow(wxID_OK)->GetEventHandler()->ProcessEvent(ok);
  for (int i = 0; i < 40 && Panel().m_pMorphDlg != nullptr; ++i) PumpEvents(25);
  ASSERT_EQ(Panel().m_pMorphDlg, nullptr);

  // An appearance file is a step of its own and shows in the editor at once.
  const wxString xml = m_folder.File("shape.xml");
  ASSERT_TRUE(WriteFileBytes(CorePath(xml),
                             "<linden_genepool><archetype>"
                             "<param id=\"1\" name=\"big_ears\" value=\"-1\"/>"
                             "</archetype></linden_genepool>"));
  Panel().LoadAppearance(xml);
  EXPECT_EQ(RowNamed("Big_Ears").number->GetValue(), "-1.00");

  const struct {
    int command;
    float target001, eyebrows, ears;
  } steps[] = {
      {ID_EDIT_UNDO, 1.0f, 1.0f, 0.0f},  // the file
      {ID_EDIT_UNDO, 0.5f, 0.0f, 0.0f},  // the dialog's OK
      {ID_EDIT_UNDO, 0.0f, 0.0f, 0.0f},  // the typed value
      {ID_EDIT_REDO, 0.5f, 0.0f, 0.0f},  {ID_EDIT_REDO, 1.0f, 1.0f, 0.0f},
      {ID_EDIT_REDO, 1.0f, 1.0f, -1.0f},
  };
  for (const auto& step : steps) {
    MainWindowCommand(step.command);
    EXPECT_EQ(WeightOf("Target 001"), step.target001);
    EXPECT_EQ(WeightOf("Arced_Eyebrows"), step.eyebrows);
    EXPECT_EQ(WeightOf("Big_Ears"), step.ears);
    EXPECT_EQ(RowNamed("Target 001").number->GetValue(), wxString::FromCDouble(step.target001, 2));
  }
  // The editor's own keys reach the same history.
  Editor().Raise();
  Editor().SearchField()->SetFocus();
  PumpEvents(100);
  wxUIActionSimulator keys;
  keys.Char('z', wxMOD_CONTROL);
  PumpEvents(100);
  EXPECT_EQ(WeightOf("Big_Ears"), 0.0f);
  keys.Char('y', wxMOD_CONTROL);
  PumpEvents(100);
  EXPECT_EQ(WeightOf("Big_Ears"), -1.0f);
}

TEST_F(ShapeEditorTest, ASavedShapeGivesBackAShapedAvatarWhateverItShowedBefore) {
  const fs::path real = TOVMAR_REALDATA_DIR;
  const fs::path character = m_folder.Path() / "character";
  fs::create_directories(character);
  for (const char* name :
       {"avatar_skeleton.xml", "avatar_lower_body.llm", "avatar_eye.llm", "avatar_eyelashes.llm"}) {
    if (!fs::exists(real / name)) GTEST_SKIP() << "the real character files are absent";
    fs::copy_file(real / name, character / name);
  }
  ASSERT_TRUE(Panel().OpenAvatarFolder(wxString::FromUTF8(character.string())));
  OpenEditor();
  const std::vector<ShapeEditor::Row>& rows = Editor().Rows();
  ASSERT_GT(rows.size(), 10u);
  // A few weights set in the editor, each with a row of its own.
  for (std::size_t r = 0; r < rows.size(); r += rows.size() / 5) {
    MoveSlider(rows[r].name, 40 + static_cast<int>(r), wxEVT_SCROLL_CHANGED);
  }
  const auto weights = [] {
    std::vector<std::vector<float>> all;
    for (const LlmMesh* mesh : Panel().ShapeMeshes()) {
      std::vector<float>& own = all.emplace_back();
      for (const MorphTarget& target : mesh->morphTargets) own.push_back(target.weight);
    }
    return all;
  };
  const auto shaped = weights();
  const wxImage shapedPicture = ShownScene();

  m_shapeNames.answers = {wxString::FromUTF8("私の形")};
  m_dialogs.Choose(m_folder.File("saved.xml"));
  Panel().RunViewMenuCommand(ID_VIEW_SAVE_SHAPE);
  EXPECT_EQ(m_shapeNames.proposed, std::vector<wxString>{"saved"});
  const std::string saved = test::ReadFileText(m_folder.File("saved.xml").utf8_string());
  EXPECT_NE(saved.find("<archetype name=\"\xE7\xA7\x81\xE3\x81\xAE\xE5\xBD\xA2\">"),
            std::string::npos);

  // Other weights, also on targets the shape holds at 0; loading the file gives the shape back.
  for (const ShapeEditor::Row& row : rows) {
    if (row.target % 3 == 0) MoveSlider(row.name, -70, wxEVT_SCROLL_CHANGED);
  }
  ASSERT_NE(weights(), shaped);
  EXPECT_GT(CountDifferentPixels(shapedPicture, ShownScene()), 100);
  Panel().LoadAppearance(m_folder.File("saved.xml"));
  EXPECT_EQ(weights(), shaped);
  EXPECT_EQ(CountDifferentPixels(shapedPicture, ShownScene()), 0);
  EXPECT_TRUE(m_messages.messages.empty());

  // A cancelled name saves nothing.
  m_shapeNames.answers = {std::nullopt};
  m_dialogs.Choose(m_folder.File("not.xml"));
  Panel().RunViewMenuCommand(ID_VIEW_SAVE_SHAPE);
  EXPECT_FALSE(fs::exists(m_folder.Path() / "not.xml"));
}

}  // namespace
}  // namespace tovmar
