// Prints what UiGallery's "colours" mode prints, from the native build.
#include <cstdio>

#include "../wine/ContrastTable.h"

int main() {
  for (int i = 0; i <= 30; ++i) std::printf("syscolor %d %06X\n", i, SysColor(i));
  PrintContrastTable();
  return 0;
}
