// Compiled into every program and library that links the controls (not
// into their static library, where nothing would keep it): the start-up
// runs when the module loads, before any control exists.
#include "controls/Startup.h"

namespace {
struct TControlsUnit {
  TControlsUnit() { StartControls(); }
  ~TControlsUnit() { StopControls(); }
  TControlsUnit(const TControlsUnit&) = delete;
  TControlsUnit& operator=(const TControlsUnit&) = delete;
} ControlsUnit;
}  // namespace
