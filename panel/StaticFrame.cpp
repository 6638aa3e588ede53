#include "panel/StaticFrame.h"

#include <wx/dcbuffer.h>

#include "panel/UiFont.h"

namespace tovmar {

namespace {

const wxColour kFillColour(160, 200, 255);

// The label font: its size in tenths of a point is 6 x the client height, so at 96 dots per
// inch its characters are 0.8 x the client height tall.
wxFont LabelFont(int clientHeight) {
  return wxFont(wxFontInfo(6.0 * clientHeight / 10.0).FaceName(UiGothicFaceName()));
}

}  // namespace

StaticFrame::StaticFrame(wxWindow* parent, wxWindowID id, const wxString& label, const wxPoint& pos,
                         const wxSize& size)
    : wxControl(parent, id, pos, size, wxBORDER_NONE) {
  wxControl::SetLabel(label);
  // Every paint covers the whole client area, so the background is never erased first and a
  // repaint does not flicker.
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  Bind(wxEVT_PAINT, &StaticFrame::OnPaint, this);
}

void StaticFrame::SetLabel(const wxString& label) {
  wxControl::SetLabel(label);
  Refresh();
}

void StaticFrame::OnPaint(wxPaintEvent&) {
  wxAutoBufferedPaintDC dc(this);
  const wxSize client = GetClientSize();
  if (client.x < 1 || client.y < 1) return;

  dc.SetBackground(wxBrush(kFillColour));
  dc.Clear();

  // One line, centred both ways; text wider than the box is cut evenly at both sides.
  const wxString text = GetLabelText();
  dc.SetFont(LabelFont(client.y));
  dc.SetTextForeground(*wxBLACK);
  dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
  const wxSize extent = dc.GetTextExtent(text);
  dc.DrawText(text, (client.x - extent.x) / 2, (client.y - extent.y) / 2);
}

}  // namespace tovmar
