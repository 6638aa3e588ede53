// The addresses the panel's two picture links open: the project's home page and the user's guide.
#pragma once

#include <wx/string.h>

class wxConfigBase;

namespace tovmar {

struct LinkAddresses {
  wxString homePage;
  wxString guide;
};

// Profile keys that, when set, replace the built-in addresses.
inline constexpr char kHomePageKey[] = "/Links/HomePage";
inline constexpr char kGuideKey[] = "/Links/Guide";

// The addresses for a program in `programFolder`. The guide is the one installed with the
// program (HTML where it was rendered, Markdown otherwise), or the source tree's when the
// program runs from its build tree. The home page is the address the build was configured with,
// or else the README installed beside the guide. Addresses set in `profile` (may be none) win.
LinkAddresses FindLinkAddresses(const wxString& programFolder, const wxConfigBase* profile);

// The addresses for this program and its profile.
LinkAddresses FindLinkAddresses();

}  // namespace tovmar
