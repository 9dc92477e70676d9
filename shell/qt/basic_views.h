// Views of the controls that hold or show things: panels, scroll boxes, group boxes, labels
// (and data-aware texts), images, speed buttons, radio buttons, and a plain container for
// control kinds the renderer has no widget for.
#pragma once

#include "shell/qt/control_view.h"

namespace shell {

// Panel: a frame with the model's outer and inner bevels and border, its caption centred.
class PanelView : public ControlView {
  Q_OBJECT
 public:
  using ControlView::ControlView;
  void release() override;

 protected:
  QWidget* createWidget(QWidget* parentArea) override;
  void apply(ui::Property property) override;
};

class ScrollBoxView : public ControlView {
  Q_OBJECT
 public:
  using ControlView::ControlView;

 protected:
  QWidget* createWidget(QWidget* parentArea) override;
};

class GroupBoxView : public ControlView {
  Q_OBJECT
 public:
  using ControlView::ControlView;

 protected:
  QWidget* createWidget(QWidget* parentArea) override;
  void apply(ui::Property property) override;
};

// Label and DBText: the caption with its accelerator underlined (a label that shows data,
// without accelerators, shows its caption as it is), aligned as the model says; an auto-sized
// label is as wide as its text needs.
class LabelView : public ControlView {
  Q_OBJECT
 public:
  using ControlView::ControlView;

 protected:
  QWidget* createWidget(QWidget* parentArea) override;
  void apply(ui::Property property) override;
  QRect adjustGeometry(const QRect& bounds) const override;

 private:
  // A label that is not auto-sized shows its caption whole: where the form's font is too wide
  // for its bounds (a screen code in a dialog's narrow side panel), a smaller size of the same
  // font is taken, down to 6 points.
  void fitCaption();
};

// Image: the forms use only its picture by name; nothing shows.
class ImageView : public ControlView {
  Q_OBJECT
 public:
  using ControlView::ControlView;

 protected:
  QWidget* createWidget(QWidget* parentArea) override;
  void apply(ui::Property property) override;
};

// Speed button: a tool button (flat when the model's is) with its glyph (or, without one, the
// glyph its hint names), else its caption; its hint is always its tooltip. A click is the
// model's click: it never moves the focus.
class SpeedButtonView : public ControlView {
  Q_OBJECT
 public:
  using ControlView::ControlView;

 protected:
  QWidget* createWidget(QWidget* parentArea) override;
  void apply(ui::Property property) override;
  QString toolTip() const override;
  bool mouseInput(QMouseEvent& event) override;
};

// Radio button: checked as the model says; a click is the model's click (which checks it).
class RadioButtonView : public ControlView {
  Q_OBJECT
 public:
  using ControlView::ControlView;

 protected:
  QWidget* createWidget(QWidget* parentArea) override;
  void apply(ui::Property property) override;
  bool mouseInput(QMouseEvent& event) override;
};

// Any other control: a plain container at its bounds.
class GenericView : public ControlView {
  Q_OBJECT
 public:
  using ControlView::ControlView;

 protected:
  QWidget* createWidget(QWidget* parentArea) override;
};

}  // namespace shell
