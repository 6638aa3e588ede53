#include "panel/StaticFrame.h"

#include <algorithm>
#include <cmath>

#include <wx/dcbuffer.h>

#include "panel/UiFont.h"

namespace tovmar {

namespace {

const wxColour kFillColour(160, 200, 255);

constexpr double kPointStep = 0.5;
constexpr double kSmallestPoints = 1.0;

// The label font, selected into `dc`: at most 6 tenths of a point per pixel of the client height,
// which makes its characters 0.8 x that height at 96 dots per inch, and smaller where the caption
// would otherwise not fit inside the box with a margin of a tenth of its height on each side.
void SelectLabelFont(wxDC& dc, const wxString& text, wxSize client) {
  const int margin = std::max(1, client.y / 10);
  const int room = client.x - 2 * margin;
  const auto fits = [&](double points) {
    dc.SetFont(wxFont(wxFontInfo(points).FaceName(UiGothicFaceName())));
    const wxSize extent = dc.GetTextExtent(text);
    return extent.x <= room && extent.y <= client.y;
  };
  double points = 6.0 * client.y / 10.0;
  if (fits(points)) return;
  // Text width grows with the size: start from the size that scales the caption to the room,
  // and step down from there to what the rounding of the glyphs needs.
  const wxSize extent = dc.GetTextExtent(text);
  if (extent.x > 0 && room > 0) points = std::min(points, points * room / extent.x);
  points = std::max(kSmallestPoints, std::floor(points / kPointStep) * kPointStep);
  while (!fits(points) && points > kSmallestPoints) points -= kPointStep;
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

  // One line, centred both ways.
  const wxString text = GetLabelText();
  SelectLabelFont(dc, text, client);
  dc.SetTextForeground(*wxBLACK);
  dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
  const wxSize extent = dc.GetTextExtent(text);
  dc.DrawText(text, (client.x - extent.x) / 2, (client.y - extent.y) / 2);
}

}  // namespace tovmar
