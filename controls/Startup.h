#pragma once
// The controls' start-up: the bitmap resources (natively), the colour count
// and face colours, the caption-band colour and the help box glyph, computed
// in that order when the library loads and released when it unloads.

void StartControls();
void StopControls();
