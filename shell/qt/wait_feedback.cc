#include "shell/qt/wait_feedback.h"

#include <QApplication>
#include <QCursor>
#include <QStatusBar>

#include "host/showavi.h"
#include "host/ui/application.h"
#include "shell/qt/qt_text.h"

namespace shell {

WaitFeedback::WaitFeedback(QStatusBar* statusBar) : statusBar_(statusBar) {
  ui::addChangeObserver(this);
  apply();
}

WaitFeedback::~WaitFeedback() {
  ui::removeChangeObserver(this);
  if (cursorShown_)
    QApplication::restoreOverrideCursor();
}

void WaitFeedback::propertyChanged(ui::Component& component, ui::Property property) {
  const bool screen = &component == &ui::application().screen() && property == ui::Property::Cursor;
  if (screen || &component == &Showavi::indicator())
    apply();
}

void WaitFeedback::apply() {
  const Showavi::WaitState& wait = Showavi::state();
  const bool busy = wait.active || ui::application().screen().cursor() == ui::Cursor::HourGlass;
  if (busy && !cursorShown_)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  if (!busy && cursorShown_)
    QApplication::restoreOverrideCursor();
  cursorShown_ = busy;
  if (statusBar_ == nullptr)
    return;
  const QString text = wait.active ? toQString(Showavi::shownText(wait)) : QString();
  if (statusBar_->currentMessage() != text) {
    statusBar_->showMessage(text);
    statusBar_->repaint();
  }
}

}  // namespace shell
