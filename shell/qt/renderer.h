// Renderer: mirrors the toolkit model in Qt widgets and passes user input into the model.
//
// It watches every property change of the model (a ui::ChangeObserver): each form becomes a
// window (an MDI sub-window of the host's MDI area when its style says so, else a top-level
// window) and each control a widget, built when the form is first shown or at the next turn of
// the event loop after it appears, and kept in step afterwards. User input reaches the model
// only through deliver(), which runs it as one user event of the model's dispatcher and then
// brings Qt in step (controls created meanwhile, the focus, the active window). Key events are
// taken application-wide from every rendered form and go to the model's focused control.
//
// The host creates one renderer after the QApplication and keeps it for the life of the
// window; tests make their own. Everything runs on the GUI thread.
#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "host/ui/component.h"
#include "host/ui/form.h"
#include "shell/qt/key_translation.h"

class QMdiArea;
class QWidget;

namespace shell {

class ControlView;
class FormView;

class Renderer : public QObject, public ui::ChangeObserver {
  Q_OBJECT

 public:
  struct Hosting {
    QMdiArea* mdiArea = nullptr;    // where MDI child forms live; null: they are top-level
    QWidget* mainWindow = nullptr;  // parent of dialogs; its keys go to the active form
  };

  // Asks the user for an item of a grid column's pick list; returns its index or -1.
  using PickChooser = std::function<int(QWidget* anchor, const QRect& cell,
                                        const std::vector<std::string>& items, int current)>;

  Renderer();
  explicit Renderer(Hosting hosting);
  ~Renderer() override;

  const Hosting& hosting() const { return hosting_; }

  // Builds what is not rendered yet and puts the Qt focus where the model has it.
  void sync();
  // Moves Qt's focus and active window to the model's active form and control.
  void syncFocus();

  ControlView* viewOf(const ui::Control& control) const;
  // The control's widget (a form's client area), or null when not rendered.
  QWidget* widgetOf(const ui::Control& control) const;
  // The window a form is shown in (its MDI sub-window or its top-level widget).
  QWidget* windowOf(const ui::Form& form) const;

  // Runs one user event through the model's dispatcher, then brings Qt in step. Returns what
  // the dispatcher returns (false when the event ended in an error or abort).
  bool deliver(const std::function<void()>& action);

  void setPickChooser(PickChooser chooser) { pickChooser_ = std::move(chooser); }
  int choosePickItem(QWidget* anchor, const QRect& cell, const std::vector<std::string>& items,
                     int current) const;

  // Form windows register the widgets whose key events belong to the form.
  void addFormWidget(QWidget* widget, ui::Form& form);
  void removeFormWidget(QWidget* widget);

  void propertyChanged(ui::Component& component, ui::Property property) override;
  void componentDestroyed(ui::Component& component) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void scheduleSync();
  void buildForm(ui::Form& form);
  // Lets the views of a form and its controls go and builds them again (its window changes
  // kind).
  void rebuildForm(ui::Form& form);
  void buildTree(ui::Control& control, ControlView* parent);
  FormView* formViewOf(const ui::Form& form) const;
  // The form whose window holds `widget` (the active form for the host's own window), or null
  // when the widget is no form's (a menu, a message box, a drop-down list).
  ui::Form* formOfWidget(QObject* widget) const;
  void routeKey(ui::Form& form, const KeyStroke& stroke);

  Hosting hosting_;
  std::unordered_map<const ui::Component*, ControlView*> views_;
  QHash<QWidget*, ui::Form*> formWidgets_;
  PickChooser pickChooser_;
  bool syncPending_ = false;
};

}  // namespace shell
