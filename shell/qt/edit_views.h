// Views of the controls the user types into or picks from: one-line edits (plain, masked,
// date, number and data-aware edits), memos, combo boxes and list boxes.
//
// The widgets show the model's text, items and selection; they never change them themselves.
// A click moves the model's focus; a click on a list item is the model's selection (Ctrl+click
// adds or removes an item, Shift+click takes a range, in a multi-select list); a combo box
// opens its list on a click or Alt+Down and passes the chosen item to the model.
#pragma once

#include "shell/qt/control_view.h"
#include "shell/qt/list_box_model.h"

class QListView;

namespace shell {

class EditView : public ControlView {
  Q_OBJECT
 public:
  using ControlView::ControlView;

 protected:
  QWidget* createWidget(QWidget* parentArea) override;
  void apply(ui::Property property) override;
  QPalette::ColorRole colorRole() const override { return QPalette::Base; }
};

class MemoView : public ControlView {
  Q_OBJECT
 public:
  using ControlView::ControlView;

 protected:
  QWidget* createWidget(QWidget* parentArea) override;
  void apply(ui::Property property) override;
  QPalette::ColorRole colorRole() const override { return QPalette::Base; }
};

class ComboBoxView : public ControlView {
  Q_OBJECT
 public:
  using ControlView::ControlView;
  bool handleKeyLocally(const KeyStroke& stroke) override;

 protected:
  QWidget* createWidget(QWidget* parentArea) override;
  void apply(ui::Property property) override;
  QPalette::ColorRole colorRole() const override { return QPalette::Base; }
  bool mouseInput(QMouseEvent& event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void openList();
  bool applying_ = false;
};

// A list view over the list box's items (ListBoxModel), so a list of a hundred thousand
// clients costs what the rows on screen cost. Filling a list item by item costs the same for
// every item, however long the list grows.
class ListBoxView : public ControlView {
  Q_OBJECT
 public:
  using ControlView::ControlView;
  void release() override;

 protected:
  QWidget* createWidget(QWidget* parentArea) override;
  void apply(ui::Property property) override;
  QPalette::ColorRole colorRole() const override { return QPalette::Base; }
  bool mouseInput(QMouseEvent& event) override;

 private:
  QListView* listView() const;
  void showSelection();
  // The current item, scrolled into view when it moved.
  void showCurrent();

  ListBoxModel* model_ = nullptr;
};

}  // namespace shell
