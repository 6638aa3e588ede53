// The About box, dialog 100.
#pragma once

class wxWindow;

namespace tovmar {

void ShowAboutDialog(wxWindow* parent);

}  // namespace tovmar
