#pragma once
// Writes 24-bit PNG files with stored (uncompressed) deflate blocks: no
// library needed, and every viewer reads them.

#include <cstdint>
#include <string>
#include <vector>

#include "ui/Graphics.h"

bool WritePng(const std::string& path, int width, int height, const std::vector<TColor>& pixels);
