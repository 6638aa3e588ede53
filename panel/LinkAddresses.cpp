#include "panel/LinkAddresses.h"

#include <wx/config.h>
#include <wx/filename.h>
#include <wx/stdpaths.h>

#include "panel/DocumentFolders.h"

namespace tovmar {

namespace {

// The folder holding the README and docs/: the installed one, or else the source tree's.
wxFileName DocumentRoot(const wxString& programFolder) {
  wxFileName installed = wxFileName::DirName(programFolder + wxFILE_SEP_PATH +
                                             wxString::FromUTF8(kDocFolderFromProgram));
  installed.Normalize(wxPATH_NORM_DOTS | wxPATH_NORM_ABSOLUTE);
  if (wxFileName(installed.GetPath(), "README.md").FileExists()) return installed;
  return wxFileName::DirName(wxString::FromUTF8(kSourceFolder));
}

wxString FileAddress(const wxFileName& file) {
  return wxFileName::FileNameToURL(file);
}

wxString ProfileValue(const wxConfigBase* profile, const char* key) {
  wxString value;
  if (profile != nullptr) profile->Read(key, &value);
  value.Trim().Trim(false);
  return value;
}

}  // namespace

LinkAddresses FindLinkAddresses(const wxString& programFolder, const wxConfigBase* profile) {
  const wxFileName root = DocumentRoot(programFolder);
  const wxString docs = root.GetPathWithSep() + "docs";
  const wxFileName html(docs, "guide.html");
  LinkAddresses addresses;
  addresses.guide = FileAddress(html.FileExists() ? html : wxFileName(docs, "guide.md"));
  addresses.homePage = *kConfiguredHomePage != '\0'
                           ? wxString::FromUTF8(kConfiguredHomePage)
                           : FileAddress(wxFileName(root.GetPath(), "README.md"));

  if (const wxString homePage = ProfileValue(profile, kHomePageKey); !homePage.empty()) {
    addresses.homePage = homePage;
  }
  if (const wxString guide = ProfileValue(profile, kGuideKey); !guide.empty()) {
    addresses.guide = guide;
  }
  return addresses;
}

LinkAddresses FindLinkAddresses() {
  const wxFileName program(wxStandardPaths::Get().GetExecutablePath());
  return FindLinkAddresses(program.GetPath(), wxConfigBase::Get(false));
}

}  // namespace tovmar
