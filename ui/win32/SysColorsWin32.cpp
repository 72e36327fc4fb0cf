#include "ui/Graphics.h"
#include "ui/win32/WinApi.h"

TColor SysColor(int index) { return static_cast<TColor>(GetSysColor(index)) & 0xFFFFFF; }
