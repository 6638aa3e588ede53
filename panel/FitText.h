// Fitting a text whole into a small box: the largest face size at which it fits, broken over as
// many lines as the box's height allows.
#pragma once

#include <wx/font.h>
#include <wx/gdicmn.h>
#include <wx/string.h>

class wxWindow;

namespace tovmar {

struct FittedText {
  wxFont font;
  // The text with a line feed where a line ends.
  wxString lines;
};

// `text` in `font` or smaller, down to `minPoints`, measured as `window` draws. Lines end after a
// '_', ' ' or '-' where one falls inside the line, else between characters, and are never wider
// than `box`. When even the smallest size needs more lines than the box is high, that size is
// taken and the last lines fall below the box.
FittedText FitText(const wxWindow& window, const wxString& text, const wxFont& font,
                   const wxSize& box, int minPoints);

}  // namespace tovmar
