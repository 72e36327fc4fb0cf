#include "FormsTestUtil.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

TControl& Find(TForm& form, const std::string& name) {
  auto* control = dynamic_cast<TControl*>(form.FindComponent(name));
  if (!control) throw std::runtime_error("no control " + name);
  return *control;
}

std::string TabSequence(const TWinControl& parent) {
  std::vector<TWinControl*> children;
  for (int i = 0; i < parent.ControlCount(); ++i)
    if (auto* windowed = dynamic_cast<TWinControl*>(parent.Controls(i))) children.push_back(windowed);
  std::ranges::stable_sort(children, {}, &TWinControl::TabOrder);
  std::string names;
  for (TWinControl* child : children) {
    names += child->Name() + " ";
    names += TabSequence(*child);
  }
  return names;
}

TRasterCanvas PaintForm(TForm& form) {
  TRasterCanvas canvas(form.Width(), form.Height(), Rgb(1, 2, 3));
  form.PaintTo(canvas);
  return canvas;
}
