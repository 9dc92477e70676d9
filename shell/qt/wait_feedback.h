// WaitFeedback: the busy cursor and the status-bar text while the model is busy.
//
// The model reports the screen cursor (ui::Screen, "Screen") and the host's wait indicator
// (Showavi::indicator(), "WaitIndicator", with the indicator's text in Showavi::state()). While
// either asks for it the application shows Qt's wait cursor, and while the indicator is active
// its text stands in the status bar, with the count of a long operation when there is one. The
// status bar is repainted at once, because a remote call that raised the indicator blocks the event
// loop until it ends.
#pragma once

#include <QPointer>

#include "host/ui/component.h"

class QStatusBar;

namespace shell {

class WaitFeedback : public ui::ChangeObserver {
 public:
  // `statusBar` may be null (no text is shown then).
  explicit WaitFeedback(QStatusBar* statusBar);
  ~WaitFeedback() override;

  bool busy() const { return cursorShown_; }

  void propertyChanged(ui::Component& component, ui::Property property) override;

 private:
  void apply();

  QPointer<QStatusBar> statusBar_;
  bool cursorShown_ = false;
};

}  // namespace shell
