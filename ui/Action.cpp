#include "ui/Action.h"

#include "ui/ImageList.h"

bool TAction::Execute() {
  if (!Enabled || !OnExecute) return false;
  OnExecute(*this);
  return true;
}

bool TAction::HasImage() const {
  return FActionList && FActionList->Images && ImageIndex >= 0 && ImageIndex < FActionList->Images->Count();
}
