#pragma once
// Helpers of the dialog tests: controls found by name, the tab sequence,
// and a form painted on the raster.

#include <string>

#include "ui/Form.h"
#include "ui/RasterCanvas.h"

TControl& Find(TForm& form, const std::string& name);
// Names of the windowed controls, depth first, each parent's children in
// their tab order.
std::string TabSequence(const TWinControl& parent);
TRasterCanvas PaintForm(TForm& form);
