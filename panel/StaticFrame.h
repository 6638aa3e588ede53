// A section label: a light-blue box with the control's own label drawn black, centred on one
// line, in a font as tall as most of the box, or smaller where the caption would not fit in it.
#pragma once

#include <wx/control.h>

namespace tovmar {

class StaticFrame : public wxControl {
 public:
  StaticFrame(wxWindow* parent, wxWindowID id, const wxString& label, const wxPoint& pos,
              const wxSize& size);

  // A new label shows at once.
  void SetLabel(const wxString& label) override;

  // A label takes no focus, neither by click nor by the Tab key.
  bool AcceptsFocus() const override { return false; }

 private:
  void OnPaint(wxPaintEvent& event);
};

}  // namespace tovmar
