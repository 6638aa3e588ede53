// A picture link: a control that shows a picture at its own size at the top-left corner and
// opens a web address when clicked. Its caption is never drawn; the pointer turns into a hand
// over it, and its tooltip names the address.
#pragma once

#include <cstdint>
#include <memory>

#include <wx/control.h>

namespace tovmar {

class HPJumpFrame : public wxControl {
 public:
  HPJumpFrame(wxWindow* parent, wxWindowID id, const wxString& label, const wxPoint& pos,
              const wxSize& size);

  // Takes the address (also the tooltip) and a copy of width x height pixels (blue, green, red,
  // 0, top row first).
  // Refused (false, nothing changed) without pixels or with a side outside 1 to 10000; refused
  // (false, no picture, address kept) when the memory for a new size cannot be had.
  bool SetLink(const wxString& url, const std::uint8_t* pixels, std::int32_t width,
               std::int32_t height);

  // Not reached by the Tab key; a click still opens the address.
  bool AcceptsFocusFromKeyboard() const override { return false; }

 private:
  void OnPaint(wxPaintEvent& event);
  void OnLeftDown(wxMouseEvent& event);
  void OnLeftUp(wxMouseEvent& event);
  void OnCaptureLost(wxMouseCaptureLostEvent& event);

  std::unique_ptr<std::uint8_t[]> m_pPixels;
  std::int32_t m_width = 0;
  std::int32_t m_height = 0;
  wxString m_strUrl;
};

}  // namespace tovmar
