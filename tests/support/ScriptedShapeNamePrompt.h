// A shape name prompt whose answers a test scripts in advance (nothing: cancelled); with no
// answer left it takes the name proposed. Every name proposed is recorded. Installed for the life
// of the object.
#pragma once

#include <deque>
#include <optional>
#include <vector>

#include "base/ScopedInstall.h"
#include "panel/ShapeNamePrompt.h"

namespace tovmar {

class ScriptedShapeNamePrompt : public ShapeNamePrompt {
 public:
  std::optional<wxString> AskShapeName(wxWindow*, const wxString& name) override {
    proposed.push_back(name);
    if (answers.empty()) return name;
    const std::optional<wxString> answer = answers.front();
    answers.pop_front();
    return answer;
  }

  std::deque<std::optional<wxString>> answers;
  std::vector<wxString> proposed;

 private:
  ScopedInstall<ShapeNamePrompt, &InstallShapeNamePrompt> m_installed{this};
};

}  // namespace tovmar
