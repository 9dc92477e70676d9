// Showavi: the wait indicator shown over a form while a remote call or a long operation runs.
//
// Kinds: 0 at start-up (no text), 1 while saving or processing, 6 while loading. While it is
// active the screen cursor is the hourglass. Its state is observable: renderers and the script
// driver follow the component indicator(), whose change notification fires on every show and
// hide. When the form it is shown over is destroyed, the state forgets that form.
//
// A long operation may add its count to the indicator (see host/wait_progress.h): the state
// then carries how much of the total is done, the indicator's shown text ends with the count
// ("Incluindo clientes... 12.345 de 100.000") and each new count is a change of the
// indicator's Property::Text, not a new showing.
#pragma once

#include <functional>
#include <string>

#include "host/ui/component.h"
#include "host/ui/form.h"

namespace Showavi {

struct WaitState {
  bool active = false;
  int kind = 0;
  std::string text;
  const ui::Form* over = nullptr;
  int done = 0;
  int total = 0;              // 0: no count
  bool shownByCount = false;  // the count showed the indicator, and hides it at its end
};

// The indicator's text with the count of the operation, when there is one.
std::string shownText(const WaitState& state);

// Shows the indicator (replacing one already shown). Throws std::invalid_argument for a kind
// other than 0, 1 or 6.
void ActiveShowAvi(const ui::Form* over, int kind, const std::string& text = {});
// Hides the indicator and restores the default cursor; nothing happens when none is shown.
void DeactiveShowAvi();
const WaitState& state();

// Shows the indicator while `work` runs and hides it however `work` ends (an error passes on
// after the indicator has gone).
void ShowWhile(const ui::Form* over, int kind, const std::string& text,
               const std::function<void()>& work);

// The count of a long operation: shows the indicator (kind 1, over `over`, with `text`) when
// none is shown, without a showing notification, and sets the count. EndCount() drops the
// count, and hides the indicator when the count had shown it.
void ShowCount(const ui::Form* over, const std::string& text, int done, int total);
void EndCount();

// A ui::Component named "WaitIndicator" whose changed(ui::Property::Other) fires on every
// ActiveShowAvi and DeactiveShowAvi.
ui::Component& indicator();

}  // namespace Showavi
