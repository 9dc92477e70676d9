// ControlView: the Qt side of one model control.
//
// The renderer makes one view per control (see view_factory.h); the view makes the control's
// widget inside its parent's widget, shows the control's state and keeps it in step as the
// renderer passes on each property change. Geometry comes from the model's bounds; when a
// container is rendered larger or smaller than the model laid it out (a maximised window, the
// tab strip of a page control), its aligned children follow the difference as the model's own
// alignment would.
//
// Widgets never act on input themselves: every widget takes no focus of its own, and the view
// turns its mouse events into model events through the renderer (Renderer::deliver); key events
// are routed by the renderer to the model's focused control. What the widget shows is always
// what the model says after the event.
//
// A view outlives its control briefly: when the control is destroyed the renderer calls
// release(), after which control() is null and the view and its widget go at the next turn of
// the event loop.
#pragma once

#include <QObject>
#include <QPalette>
#include <QPointer>
#include <QRect>
#include <QWidget>
#include <functional>

#include "host/ui/component.h"
#include "host/ui/control.h"
#include "shell/qt/key_translation.h"

class QMouseEvent;

namespace shell {

class Renderer;

class ControlView : public QObject {
  Q_OBJECT

 public:
  ControlView(Renderer& renderer, ui::Control& control);
  ~ControlView() override;

  // Makes the widget under `parent` (null for a form), attaches it and shows the model's state.
  void build(ControlView* parent);

  ui::Control* control() const { return control_; }
  ControlView* parentView() const { return parent_; }
  QWidget* widget() const { return widget_; }
  // The widget that holds the keyboard focus while the control has it.
  virtual QWidget* focusWidget() const { return widget_; }
  // The widget the children's widgets are placed in.
  virtual QWidget* childArea() const { return widget_; }

  // A property of the control changed: shows the new state.
  void update(ui::Property property);
  // Shows every property again.
  void refresh();
  // Places the widget by the control's bounds, as its parent is rendered.
  virtual void place();
  void placeChildren();
  // How much larger the child area is rendered than the model lays children out in.
  QSize sizeDelta() const;

  // A child view's widget joins this one (a page control makes a tab of a tab sheet), or
  // leaves it.
  virtual void attachChild(ControlView& child);
  virtual void detachChild(ControlView& /*child*/) {}

  // The control is gone: forget it, hide the widget and let both go.
  virtual void release();

  // A key this view acts on itself before the model sees it (opening a drop-down list);
  // returns true when it did.
  virtual bool handleKeyLocally(const KeyStroke& /*stroke*/) { return false; }

 protected:
  virtual QWidget* createWidget(QWidget* parentArea) = 0;
  // Shows one property; views extend it for their own properties.
  virtual void apply(ui::Property property);
  // The size the model lays the children out in.
  virtual QSize modelSize() const;
  // The palette role the control's colour paints.
  virtual QPalette::ColorRole colorRole() const { return QPalette::Window; }
  // The rendered geometry for the model's (already adjusted) bounds.
  virtual QRect adjustGeometry(const QRect& bounds) const { return bounds; }
  // The tooltip the control shows.
  virtual QString toolTip() const;

  // Mouse input of the watched widgets; the default turns a press into a click and a double
  // click into a double click. Returns true when the event is consumed.
  virtual bool mouseInput(QMouseEvent& event);
  // Routes the mouse events of `object` (a viewport, a tab bar) through mouseInput().
  void watchMouse(QObject* object);
  // Keeps a Qt child widget from acting on its own: no focus, no context menu, no drops.
  static void tame(QWidget* widget);
  bool eventFilter(QObject* watched, QEvent* event) override;

  Renderer& renderer() const { return renderer_; }
  template <class T>
  T& model() const {
    return static_cast<T&>(*control_);
  }
  // Inside a delivered event: moves the model's focus to this control when it is not there
  // already; returns whether the control holds the focus now.
  bool takeFocus();
  // Delivers `action` as a user event on this control (its form is brought forward first).
  // Returns false when the control went away meanwhile or the event ended in an error.
  bool deliverUserEvent(const std::function<void()>& action);

 private:
  Renderer& renderer_;
  ui::Control* control_;
  ControlView* parent_ = nullptr;
  QPointer<QWidget> widget_;
};

}  // namespace shell
