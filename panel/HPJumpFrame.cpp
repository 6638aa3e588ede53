#include "panel/HPJumpFrame.h"

#include <cstddef>
#include <cstring>
#include <new>

#include <wx/cursor.h>
#include <wx/dcbuffer.h>

#include "base/UrlPasswords.h"
#include "panel/DisplayPixels.h"
#include "panel/UrlOpener.h"

namespace tovmar {

namespace {

constexpr std::int32_t kMaxSide = 10000;

}  // namespace

HPJumpFrame::HPJumpFrame(wxWindow* parent, wxWindowID id, const wxString& label, const wxPoint& pos,
                         const wxSize& size)
    : wxControl(parent, id, pos, size, wxBORDER_NONE) {
  SetLabel(label);
  // Every paint covers the whole client area, so the background is never erased first and a
  // repaint does not flicker.
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  SetCursor(wxCursor(wxCURSOR_HAND));
  Bind(wxEVT_PAINT, &HPJumpFrame::OnPaint, this);
  Bind(wxEVT_LEFT_DOWN, &HPJumpFrame::OnLeftDown, this);
  Bind(wxEVT_LEFT_UP, &HPJumpFrame::OnLeftUp, this);
  Bind(wxEVT_MOUSE_CAPTURE_LOST, &HPJumpFrame::OnCaptureLost, this);
}

bool HPJumpFrame::SetLink(const wxString& url, const std::uint8_t* pixels, std::int32_t width,
                          std::int32_t height) {
  if (pixels == nullptr || width < 1 || width > kMaxSide || height < 1 || height > kMaxSide) {
    return false;
  }
  // A picture of the held size reuses the buffer.
  const std::size_t bytes = std::size_t(width) * std::size_t(height) * 4;
  if (!m_pPixels || width != m_width || height != m_height) {
    m_pPixels.reset();  // the old picture goes before the new one is made
    m_pPixels.reset(new (std::nothrow) std::uint8_t[bytes]);
    if (!m_pPixels) {
      m_width = 0;
      m_height = 0;
      return false;
    }
  }
  m_width = width;
  m_height = height;
  std::memcpy(m_pPixels.get(), pixels, bytes);
  m_strUrl = url;
  // The address named on the picture shows a password written into it as "***".
  SetToolTip(wxString::FromUTF8(MaskUrlPasswords(url.utf8_string())));
  return true;
}

void HPJumpFrame::OnPaint(wxPaintEvent&) {
  wxAutoBufferedPaintDC dc(this);
  const wxSize client = GetClientSize();
  if (client.x < 1 || client.y < 1) return;

  // Without a picture the control is black; with one, the area beyond the picture's right and
  // bottom edges is black as well, so a control larger than its picture shows a black margin.
  if (m_pPixels) {
    dc.DrawBitmap(PlaceDisplayPixels(m_pPixels.get(), m_width, m_height, client.x, client.y), 0, 0);
  } else {
    dc.SetBackground(*wxBLACK_BRUSH);
    dc.Clear();
  }
}

// A click is a press and a release both inside the control, as with a push button; the press
// captures the mouse so that a release outside is seen and dropped. The second press of a double
// click arrives as a double-click event, which is not handled: a double click opens the address
// once.
void HPJumpFrame::OnLeftDown(wxMouseEvent&) {
  if (!HasCapture()) CaptureMouse();
}

void HPJumpFrame::OnLeftUp(wxMouseEvent& event) {
  if (!HasCapture()) return;
  ReleaseMouse();
  if (GetClientRect().Contains(event.GetPosition())) OpenUrl(m_strUrl.utf8_string());
}

void HPJumpFrame::OnCaptureLost(wxMouseCaptureLostEvent&) {}

}  // namespace tovmar
