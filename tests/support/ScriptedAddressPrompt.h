// An address prompt whose answers a test scripts in advance; every list of recent addresses
// offered is recorded. Installed for the life of the object.
#pragma once

#include <deque>
#include <optional>
#include <vector>

#include "app/AddressPrompt.h"
#include "base/ScopedInstall.h"

namespace tovmar {

class ScriptedAddressPrompt : public AddressPrompt {
 public:
  std::optional<wxString> AskAddress(wxWindow*, const wxArrayString& recent) override {
    offered.push_back(recent);
    if (answers.empty()) return std::nullopt;
    const wxString answer = answers.front();
    answers.pop_front();
    return answer;
  }

  std::deque<wxString> answers;
  std::vector<wxArrayString> offered;

 private:
  ScopedInstall<AddressPrompt, &InstallAddressPrompt> m_installed{this};
};

}  // namespace tovmar
