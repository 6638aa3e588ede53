// Running GoogleTest suites inside a started wxWidgets application whose main loop never runs:
// the tests show real windows and pump their events themselves.
#pragma once

#include <functional>

class wxApp;

namespace tovmar {

// Parses GoogleTest's arguments, starts the application that `makeApp` creates (with only the
// program name as its command line), runs every test, closes the main window and shuts the
// toolkit down. Listing the tests needs no display. Returns the tests' exit code.
int RunWindowTests(int argc, char** argv, const std::function<wxApp*()>& makeApp);

}  // namespace tovmar
