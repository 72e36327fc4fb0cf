// Compiled into every program and library that links the controls (not
// into their static library, where nothing would keep it): the start-up
// runs when the module loads, before any control exists.
// Loading runs under the host's floating-point settings and outside any
// entry point: the start-up computes under the guard and lets nothing out.
#include "controls/Startup.h"
#include "runtime/FloatEnv.h"

namespace {
struct TControlsUnit {
  TControlsUnit() {
    const TFloatEnvGuard guard;
    try {
      StartControls();
    } catch (...) {
    }
  }
  ~TControlsUnit() { StopControls(); }
  TControlsUnit(const TControlsUnit&) = delete;
  TControlsUnit& operator=(const TControlsUnit&) = delete;
} ControlsUnit;
}  // namespace
