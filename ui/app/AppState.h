#pragma once
// The program-wide state: the export options and the record of the last
// Process. main() owns the one instance and hands it by reference to the
// windows that read or write it (the main window and the configure-output
// window), instead of keeping it in global variables. Each GUI test makes its
// own AppState, so no test sees what another one left behind.

#include "core/page/ExportSettings.h"
#include "core/ctest/TestGen.h"

namespace brenvik {

struct AppState {
  ExportSettings settings;  // initial values: test version, no options, "C-Test", ...
  TestWorkspace workspace;  // empty until the first Process
};

}  // namespace brenvik
