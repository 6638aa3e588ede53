// The main window as a user first meets it: caption, size, panes and the panel's controls.
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/splitter.h>
#include <wx/statusbr.h>
#include <wx/tglbtn.h>

#include <gtest/gtest.h>

#include "app/CommandIds.h"
#include "panel/BitmapFrame.h"
#include "panel/ControlIds.h"
#include "panel/HPJumpFrame.h"
#include "panel/StaticFrame.h"
#include "tests/gui/AppAccess.h"
#include "tests/support/WxTestUtil.h"

namespace tovmar {
namespace {

TEST(MainWindowTest, StartsAsATallUntitledWindowWithOnlyAStatusBar) {
  PumpEvents(100);
  EXPECT_EQ(Frame().GetTitle(), wxString::FromUTF8("無題 - Tovmar"));
  EXPECT_EQ(Frame().GetMenuBar(), nullptr);
  EXPECT_EQ(Frame().GetToolBar(), nullptr);
  ASSERT_NE(Frame().GetStatusBar(), nullptr);
  EXPECT_EQ(Frame().GetStatusBar()->GetFieldsCount(), 3);
  // Fitted to the panel's form: never larger than 500 x 700.
  const wxSize size = Frame().GetSize();
  EXPECT_LE(size.x, CMainFrame::kInitialWidth);
  EXPECT_LE(size.y, CMainFrame::kInitialHeight);
  EXPECT_GT(size.x, 100);
  // The panel's column keeps its 86 pixels; the 3D view takes the rest.
  auto* splitter = dynamic_cast<wxSplitterWindow*>(Frame().FindWindow(kSplitterId));
  ASSERT_NE(splitter, nullptr);
  EXPECT_EQ(splitter->GetWindow1(), &Panel());
  EXPECT_EQ(splitter->GetWindow2(), &View3D());
  EXPECT_EQ(splitter->GetSashPosition(), CMainFrame::kPanelWidth);
  EXPECT_EQ(Doc().GetPaneView(0), &Panel());
  EXPECT_EQ(Doc().GetPaneView(1), &View3D());
  EXPECT_EQ(Doc().GetPaneView(2), nullptr);
}

TEST(MainWindowTest, PanelHoldsEveryControlInTabOrder) {
  struct Expected {
    int id;
    const char* caption;
  };
  // The form's tab order, with each control's caption.
  const Expected order[] = {
      {IDC_ALWAYS_ON_TOP, "常に手前"},
      {IDC_LOAD_MESH, "読み込み"},
      {IDC_LOAD_TEXTURE, "読み込み"},
      {IDC_REFRESH_TEXTURE, "更新"},
      {IDC_LABEL_DISPLAY, "表示"},
      {IDC_MOVE_UP, "↑"},
      {IDC_MOVE_LEFT, "←"},
      {IDC_MOVE_RIGHT, "→"},
      {IDC_MOVE_DOWN, "↓"},
      {IDC_LABEL_MESH, "LLM メッシュ"},
      {IDC_URL1, "URL1"},
      {IDC_URL2, "URL2"},
      {IDC_LABEL_TEXTURE, "テクスチャ"},
      {IDC_THUMBNAIL, "Texture"},
      {IDC_LIGHT_POS, "Light Pos"},
      {IDC_MORPHING, "モーフィング"},
      {IDC_LOAD_AVATAR, "Avatar設定読込"},
      {IDC_TEX_FIT, "TEX フィット"},
  };
  const wxWindowList& children = Panel().GetChildren();
  ASSERT_EQ(children.size(), std::size(order));
  size_t i = 0;
  for (const wxWindow* child : children) {
    EXPECT_EQ(child->GetId(), order[i].id) << "position " << i;
    // The light pad shows its picture only; its caption is kept as its name.
    const wxString caption = order[i].id == IDC_LIGHT_POS ? child->GetName() : child->GetLabel();
    EXPECT_EQ(caption, wxString::FromUTF8(order[i].caption)) << "id " << order[i].id;
    ++i;
  }

  EXPECT_NE(dynamic_cast<HPJumpFrame*>(Panel().FindWindow(IDC_URL1)), nullptr);
  EXPECT_NE(dynamic_cast<StaticFrame*>(Panel().FindWindow(IDC_LABEL_MESH)), nullptr);
  EXPECT_NE(dynamic_cast<BitmapFrame*>(Panel().FindWindow(IDC_THUMBNAIL)), nullptr);
  auto* check = dynamic_cast<wxCheckBox*>(Panel().FindWindow(IDC_ALWAYS_ON_TOP));
  ASSERT_NE(check, nullptr);
  EXPECT_FALSE(check->GetValue());
  // TEX fit is part of the form but can never be reached.
  auto* texFit = dynamic_cast<wxToggleButton*>(Panel().FindWindow(IDC_TEX_FIT));
  ASSERT_NE(texFit, nullptr);
  EXPECT_FALSE(texFit->IsShown());
  EXPECT_FALSE(texFit->IsEnabled());
  EXPECT_EQ(Panel().m_bTexFit, 0);
  // Positions follow the form's dialog units: 7 pixels per 4 across, 12 per 8 down.
  EXPECT_EQ(Panel().FindWindow(IDC_LOAD_MESH)->GetPosition(), wxPoint(0, 157));
  EXPECT_EQ(Panel().FindWindow(IDC_MOVE_RIGHT)->GetRect(), wxRect(42, 463, 42, 18));
  // The light pad shows its picture.
  auto* pad = dynamic_cast<wxButton*>(Panel().FindWindow(IDC_LIGHT_POS));
  ASSERT_NE(pad, nullptr);
  EXPECT_TRUE(pad->GetBitmap().IsOk());
  EXPECT_EQ(pad->GetBitmap().GetWidth(), 81);
}

TEST(MainWindowTest, AlwaysOnTopFollowsTheCheckBox) {
  auto* check = dynamic_cast<wxCheckBox*>(Panel().FindWindow(IDC_ALWAYS_ON_TOP));
  ASSERT_NE(check, nullptr);
  const wxRect before = Frame().GetRect();
  const auto click = [&](bool value) {
    check->SetValue(value);
    wxCommandEvent event(wxEVT_CHECKBOX, IDC_ALWAYS_ON_TOP);
    event.SetEventObject(check);
    event.SetInt(value ? 1 : 0);
    check->GetEventHandler()->ProcessEvent(event);
    PumpEvents(50);
  };
  click(true);
  EXPECT_TRUE(Frame().HasFlag(wxSTAY_ON_TOP));
  click(false);
  EXPECT_FALSE(Frame().HasFlag(wxSTAY_ON_TOP));
  EXPECT_TRUE(Frame().IsShown());
  EXPECT_EQ(Frame().GetRect().GetSize(), before.GetSize());
}

}  // namespace
}  // namespace tovmar
