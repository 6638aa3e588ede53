#include "panel/FitText.h"

#include <algorithm>

#include <wx/window.h>

namespace tovmar {

namespace {

int TextWidth(const wxWindow& window, const wxString& text, const wxFont& font) {
  int width = 0;
  int height = 0;
  window.GetTextExtent(text, &width, &height, nullptr, nullptr, &font);
  return width;
}

// `text` broken greedily into lines no wider than `width`; each line holds one character at
// least.
wxArrayString BreakLines(const wxWindow& window, const wxString& text, const wxFont& font,
                         int width) {
  wxArrayString lines;
  wxString rest = text;
  while (TextWidth(window, rest, font) > width) {
    // The longest start of the rest that fits, then back to its last separator.
    std::size_t fits = 1;
    while (fits < rest.length() && TextWidth(window, rest.Left(fits + 1), font) <= width) ++fits;
    const std::size_t separator = rest.Left(fits).find_last_of("_ -");
    const std::size_t end = separator != wxString::npos ? separator + 1 : fits;
    lines.Add(rest.Left(end));
    rest = rest.Mid(end);
  }
  lines.Add(rest);
  return lines;
}

}  // namespace

FittedText FitText(const wxWindow& window, const wxString& text, const wxFont& font,
                   const wxSize& box, int minPoints) {
  FittedText fitted{font, {}};
  for (int points = font.GetPointSize();; --points) {
    fitted.font.SetPointSize(points);
    const wxArrayString lines = BreakLines(window, text, fitted.font, box.x);
    fitted.lines = wxJoin(lines, '\n', '\0');
    int lineHeight = 0;
    int width = 0;
    window.GetTextExtent("Ag", &width, &lineHeight, nullptr, nullptr, &fitted.font);
    if (points <= minPoints || static_cast<int>(lines.size()) * lineHeight <= box.y) break;
  }
  return fitted;
}

}  // namespace tovmar
