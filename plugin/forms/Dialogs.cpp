#include "plugin/forms/Dialogs.h"

#include <string>

#include "plugin/EntryGuard.h"
#include "plugin/PlugIn.h"
#include "plugin/PlugInUtils.h"
#include "plugin/forms/About.h"
#include "plugin/forms/Edit2ED.h"
#include "plugin/forms/Edit3ED.h"
#include "plugin/forms/FormsPlatform.h"

TShowModal ShowFormModal = [](TForm& form) { return form.ShowModal(); };

namespace {

std::unique_ptr<TActionEditForm> NewEditForm(std::int32_t action) {
  switch (action) {
    case 1: return std::make_unique<TEditForm2ED>();
    case 2: return std::make_unique<TEditForm3ED>();
    default: return nullptr;
  }
}

// The edits' texts into the parameters, in order; false when a block could
// not be had (the parameters written before it stay written).
bool WriteBack(const TActionEditForm& form, char** params) {
  const auto& edits = form.Edits();
  for (size_t i = 0; i < edits.size(); ++i)
    if (!SetHostString(params[i], edits[i]->Text())) return false;
  return true;
}

}  // namespace

std::unique_ptr<TActionEditForm> CreateEditForm(std::int32_t action, char** params) {
  std::unique_ptr<TActionEditForm> form = NewEditForm(action);
  if (!form) return nullptr;
  form->SetOwnerWindow(ActiveHostWindow());
  for (size_t i = 0; i < form->Edits().size(); ++i)
    form->Edits()[i]->SetText(params ? HostStringText(params[i]) : std::string_view());
  return form;
}

bool EditActionDialog(std::int32_t action, char** params) noexcept {
  return Guarded(false, [&] {
    if (!params) return false;
    const std::unique_ptr<TActionEditForm> form = CreateEditForm(action, params);
    if (!form || ShowFormModal(*form) != mrOk) return false;
    return WriteBack(*form, params);
  });
}

void AboutDialog() noexcept {
  Guarded([] {
    TAboutBoxForm form;
    form.SetOwnerWindow(ActiveHostWindow());
    ShowFormModal(form);
  });
}
