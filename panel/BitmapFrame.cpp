#include "panel/BitmapFrame.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>

#include <wx/dcbuffer.h>

#include "panel/DisplayPixels.h"

namespace tovmar {

namespace {

constexpr std::int32_t kMaxSide = 65535;
constexpr std::uint32_t kWhite = 0x00FFFFFF;

}  // namespace

BitmapFrame::BitmapFrame(wxWindow* parent, wxWindowID id, const wxString& label, const wxPoint& pos,
                         const wxSize& size)
    : wxControl(parent, id, pos, size, wxBORDER_NONE) {
  SetLabel(label);
  // Every paint covers the whole client area, so the background is never erased first and a
  // repaint does not flicker.
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  Bind(wxEVT_PAINT, &BitmapFrame::OnPaint, this);
}

void BitmapFrame::SetImage(std::int32_t width, std::int32_t height, const std::uint8_t* pixels) {
  if (pixels == nullptr || !Allocate(width, height)) {
    Clear();
    return;
  }
  const std::size_t rowBytes = std::size_t(width) * 4;
  std::memcpy(m_pSource.get(), pixels, rowBytes * height);

  // Upright for the display: source row r becomes display row height - 1 - r, and each pixel's
  // red, green, blue, fourth byte become blue, green, red, 0.
  for (std::int32_t r = 0; r < height; ++r) {
    const std::uint8_t* source = m_pSource.get() + rowBytes * r;
    std::uint8_t* display = m_pDisplay.get() + rowBytes * (height - 1 - r);
    for (std::int32_t x = 0; x < width; ++x, source += 4, display += 4) {
      display[0] = source[2];
      display[1] = source[1];
      display[2] = source[0];
      display[3] = 0;
    }
  }
}

void BitmapFrame::Clear() {
  m_pSource.reset();
  m_pDisplay.reset();
  m_width = 0;
  m_height = 0;
}

bool BitmapFrame::Allocate(std::int32_t width, std::int32_t height) {
  if (width < 1 || width > kMaxSide || height < 1 || height > kMaxSide) return false;
  Clear();

  const std::uint64_t bytes = std::uint64_t(width) * std::uint64_t(height) * 4;
  if (bytes > static_cast<std::uint64_t>(PTRDIFF_MAX)) return false;
  m_pSource.reset(new (std::nothrow) std::uint8_t[bytes]);
  m_pDisplay.reset(new (std::nothrow) std::uint8_t[bytes]);
  if (!m_pSource || !m_pDisplay) {
    Clear();
    return false;
  }
  m_width = width;
  m_height = height;
  Fill(0);
  return true;
}

void BitmapFrame::Fill(std::uint32_t value) {
  if (!m_pSource) return;
  const std::uint8_t bytes[4] = {std::uint8_t(value), std::uint8_t(value >> 8),
                                 std::uint8_t(value >> 16), std::uint8_t(value >> 24)};
  const std::size_t count = std::size_t(m_width) * std::size_t(m_height);
  for (std::size_t i = 0; i < count; ++i) std::memcpy(m_pSource.get() + i * 4, bytes, 4);
  std::memcpy(m_pDisplay.get(), m_pSource.get(), count * 4);
}

void BitmapFrame::OnPaint(wxPaintEvent&) {
  wxAutoBufferedPaintDC dc(this);
  const wxSize client = GetClientSize();
  if (client.x < 1 || client.y < 1) return;

  // An empty thumbnail becomes a white picture of the client size, shown in this same paint.
  if (!m_pDisplay && Allocate(client.x, client.y)) Fill(kWhite);
  if (m_pDisplay) {
    // Stretched over the screen's own pixels, which on a scaled display are more than the client
    // area's logical ones, so a large texture keeps its detail there.
    const wxSize surface = ToPhys(client);
    wxBitmap picture =
        StretchDisplayPixels(m_pDisplay.get(), m_width, m_height, surface.x, surface.y);
    picture.SetScaleFactor(GetContentScaleFactor());
    dc.DrawBitmap(picture, 0, 0);
  } else {
    dc.SetBackground(*wxWHITE_BRUSH);
    dc.Clear();
  }
}

}  // namespace tovmar
