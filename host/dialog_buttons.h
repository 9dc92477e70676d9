// The confirm-or-cancel ending of the host's dialogs that ask the operator something (signing
// in, saving a report): two buttons side by side in the lower right and the keys that stand for
// them.
#pragma once

#include <functional>

#include "host/ui/buttons.h"
#include "host/ui/form.h"

namespace host {

struct DialogButton {
  const char* name;
  const char* caption;
};

struct DialogButtons {
  ui::SpeedButton* confirm;
  ui::SpeedButton* cancel;
};

// Adds `confirm` at (left, top) and `cancel` beside it, both 75 x 25. The confirm button and
// Enter run `onConfirm`; the cancel button and Escape close the dialog with Cancel (keys without
// modifiers; the dialog previews its keys). A closed dialog is freed.
DialogButtons addDialogButtons(ui::Form& dialog, DialogButton confirm, DialogButton cancel,
                               int left, int top, std::function<void()> onConfirm);

}  // namespace host
