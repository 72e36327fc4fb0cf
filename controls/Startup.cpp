#include "controls/Startup.h"

#include "controls/Display.h"
#include "controls/ZorvexHelpBox2.h"
#include "controls/ZorvexPanel.h"
#include "controls/ZorvexUtils.h"
#include "runtime/FloatEnv.h"

// The colour count lives with the start-up that finds it. Every control
// reads it (ModernLook), so every module that holds a control holds this
// unit, and with it the start-up object below.
int ScreenColors = 16777216;

namespace {
// The controls' start-up runs when the module is loaded, and their state
// goes when it unloads. Loading runs under the host's floating-point
// settings and outside any entry point: the start-up computes under the
// guard and lets nothing out.
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

void StartControls() {
  PrepareControlsResources();
  InitZorvexUtils();
  InitZorvexPanel();
  InitZorvexHelpBox2();
}

void StopControls() {
  DoneZorvexHelpBox2();
  DoneZorvexPanel();
}
