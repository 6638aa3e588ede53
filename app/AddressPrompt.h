// Asking for a web address, as one small seam: the application shows a dialog with the recent
// addresses to choose from, tests script the answers and record what was offered.
#pragma once

#include <optional>

#include <wx/arrstr.h>
#include <wx/string.h>

class wxWindow;

namespace tovmar {

class AddressPrompt {
 public:
  virtual ~AddressPrompt() = default;
  // The address the user entered (white space around it removed), or nothing when they
  // cancelled. `recent` are offered, newest first; the newest is the dialog's starting text.
  virtual std::optional<wxString> AskAddress(wxWindow* parent, const wxArrayString& recent) = 0;
};

// The installed prompt (a dialog unless a test installed another).
AddressPrompt& CurrentAddressPrompt();
// Installs `prompt` (nullptr: the dialog) and returns the previous one.
AddressPrompt* InstallAddressPrompt(AddressPrompt* prompt);

}  // namespace tovmar
