#include "host/dialog_buttons.h"

#include <utility>

#include "host/ui/keys.h"

namespace host {

DialogButtons addDialogButtons(ui::Form& dialog, DialogButton confirm, DialogButton cancel,
                               int left, int top, std::function<void()> onConfirm) {
  constexpr int kWidth = 75;
  constexpr int kHeight = 25;
  constexpr int kGap = 6;
  DialogButtons buttons{dialog.add<ui::SpeedButton>(confirm.name),
                        dialog.add<ui::SpeedButton>(cancel.name)};
  buttons.confirm->setCaption(confirm.caption);
  buttons.confirm->setBounds(left, top, kWidth, kHeight);
  buttons.cancel->setCaption(cancel.caption);
  buttons.cancel->setBounds(left + kWidth + kGap, top, kWidth, kHeight);

  buttons.confirm->onClick = [onConfirm](ui::Control&) { onConfirm(); };
  buttons.cancel->onClick = [&dialog](ui::Control&) { dialog.setModalResult(ui::mrCancel); };
  dialog.setKeyPreview(true);
  dialog.onKeyDown = [&dialog, onConfirm = std::move(onConfirm)](ui::Control&, ui::Key& key,
                                                                 ui::ShiftState shift) {
    if (key == ui::keys::Escape && shift.none()) {
      key = 0;
      dialog.setModalResult(ui::mrCancel);
    } else if (key == ui::keys::Enter && shift.none()) {
      key = 0;
      onConfirm();
    }
  };
  dialog.onClose = [](ui::Form&, ui::CloseAction& action) { action = ui::CloseAction::Free; };
  return buttons;
}

}  // namespace host
