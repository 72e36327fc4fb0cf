#include "plugin/forms/FormsPlatform.h"

void RegisterPlugInBitmaps();  // generated from plugin/res

// The native build: no windows, no shell.
void* ActiveHostWindow() { return nullptr; }
void ShellExecuteOpen(void*, const std::string&, const std::string&, int) {}

void PrepareFormResources() {
  static const bool registered = (RegisterPlugInBitmaps(), true);
  (void)registered;
}
