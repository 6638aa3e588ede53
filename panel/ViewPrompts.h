// The view's small questions as one seam: the application shows small dialogs, tests script the
// answers and record what was offered.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include <wx/string.h>

class wxWindow;

namespace tovmar {

class ViewPrompts {
 public:
  virtual ~ViewPrompts() = default;
  // The name a saved shape carries (white space around it removed), or nothing when the user
  // cancelled. `proposed` is the dialog's starting text.
  virtual std::optional<wxString> AskShapeName(wxWindow* parent, const wxString& proposed) = 0;
  // Which of the archetypes `names` of an appearance file to apply (the first preselected), or
  // nothing when the user cancelled.
  virtual std::optional<std::size_t> AskArchetype(wxWindow* parent,
                                                  const std::vector<wxString>& names) = 0;
};

// The installed prompts (dialogs unless a test installed others).
ViewPrompts& CurrentViewPrompts();
// Installs `prompts` (nullptr: the dialogs) and returns the previous ones.
ViewPrompts* InstallViewPrompts(ViewPrompts* prompts);

}  // namespace tovmar
