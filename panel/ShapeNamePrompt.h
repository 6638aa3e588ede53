// Asking for the name a saved shape carries, as one small seam: the application shows a small
// dialog, tests script the answers and record the names proposed.
#pragma once

#include <optional>

#include <wx/string.h>

class wxWindow;

namespace tovmar {

class ShapeNamePrompt {
 public:
  virtual ~ShapeNamePrompt() = default;
  // The name the user gave (white space around it removed), or nothing when they cancelled.
  // `proposed` is the dialog's starting text.
  virtual std::optional<wxString> AskShapeName(wxWindow* parent, const wxString& proposed) = 0;
};

// The installed prompt (a dialog unless a test installed another).
ShapeNamePrompt& CurrentShapeNamePrompt();
// Installs `prompt` (nullptr: the dialog) and returns the previous one.
ShapeNamePrompt* InstallShapeNamePrompt(ShapeNamePrompt* prompt);

}  // namespace tovmar
