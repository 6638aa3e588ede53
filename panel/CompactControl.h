// A native control of the panel drawn within the rectangle the form gives it. The desktop theme's
// padding and minimum heights are made for larger controls: on GTK they would push a caption out
// of an 18-pixel button and make a 15-pixel check box complain that it is too small.
#pragma once

#include <utility>

namespace tovmar {

// Pixels between a button's edge and its caption: a one-pixel frame and two of padding.
inline constexpr int kButtonCaptionInset = 3;
// Pixels a check box gives its box and the gap after it, before its caption.
inline constexpr int kCheckBoxIndicatorRoom = 20;

template <class Control>
class CompactControl : public Control {
 public:
  template <class... Args>
  explicit CompactControl(Args&&... args) : Control(std::forward<Args>(args)...) {
#ifdef __WXGTK3__
    this->GTKApplyCssStyle(
        "button { padding: 0 2px; min-height: 0; min-width: 0; }"
        "checkbutton { padding: 0; min-height: 0; }");
#endif
  }
};

}  // namespace tovmar
