// The texture thumbnail: a control that paints an image stretched over its whole client area,
// or white while it has none. Pressing it does nothing.
#pragma once

#include <cstdint>
#include <memory>

#include <wx/control.h>

namespace tovmar {

class BitmapFrame : public wxControl {
 public:
  BitmapFrame(wxWindow* parent, wxWindowID id, const wxString& label, const wxPoint& pos,
              const wxSize& size);

  // Shows width x height pixels given as red, green, blue and an ignored fourth byte, in the
  // texture's row order (bottom row first, so the picture shows upright). A size of 0, a
  // refused size or no pixels empties the thumbnail. The caller refreshes the control.
  void SetImage(std::int32_t width, std::int32_t height, const std::uint8_t* pixels);

  // Frees both buffers; the next paint shows white.
  void Clear();

  // Makes both buffers for width x height pixels, all 0. Refused (false, nothing changed) when
  // a side is outside 1 to 65535; refused (false, empty) when the memory cannot be had.
  bool Allocate(std::int32_t width, std::int32_t height);

  // Sets every source pixel to `value` (stored as its bytes, lowest first) and copies the
  // source buffer whole into the display buffer.
  void Fill(std::uint32_t value);

 private:
  void OnPaint(wxPaintEvent& event);

  std::unique_ptr<std::uint8_t[]> m_pSource;
  std::unique_ptr<std::uint8_t[]> m_pDisplay;
  std::int32_t m_width = 0;
  std::int32_t m_height = 0;
};

}  // namespace tovmar
