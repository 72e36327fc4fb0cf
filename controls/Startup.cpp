#include "controls/Startup.h"

#include "controls/ZorvexHelpBox2.h"
#include "controls/ZorvexPanel.h"
#include "controls/ZorvexUtils.h"

#ifndef _WIN32
void RegisterControlsBitmaps();  // generated from controls/res
#endif

void StartControls() {
#ifndef _WIN32
  RegisterControlsBitmaps();
#endif
  InitZorvexUtils();
  InitZorvexPanel();
  InitZorvexHelpBox2();
}

void StopControls() {
  DoneZorvexHelpBox2();
  DoneZorvexPanel();
}
