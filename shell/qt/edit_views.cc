#include "shell/qt/edit_views.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QListView>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <algorithm>
#include <vector>

#include "host/db/db_edit.h"
#include "host/ui/application.h"
#include "host/ui/combo_box.h"
#include "host/ui/edit.h"
#include "host/ui/list_box.h"
#include "host/ui/typed_edits.h"
#include "shell/qt/color_names.h"
#include "shell/qt/qt_text.h"

namespace shell {

namespace {

// Numbers stand to the right: number edits, and data-aware edits of numeric fields.
Qt::Alignment alignmentOf(const ui::Edit& edit) {
  bool number = dynamic_cast<const ui::NumberEdit*>(&edit) != nullptr;
  if (const auto* bound = dynamic_cast<const db::DBEdit*>(&edit)) {
    const db::Field* field = bound->field();
    number = field != nullptr && field->type() == packet::FieldType::Double;
  }
  return (number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
}

// A date edit draws a valid date in its own colour; otherwise the text takes the usual one.
void showTextColor(QLineEdit& edit, const std::string& colorName) {
  const std::optional<ui::Color> color = colorNamed(colorName);
  const QColor wanted =
      color ? toQColor(*color) : QApplication::palette(&edit).color(QPalette::Text);
  QPalette palette = edit.palette();
  if (palette.color(QPalette::Text) == wanted)
    return;
  palette.setColor(QPalette::Text, wanted);
  edit.setPalette(palette);
}

}  // namespace

QWidget* EditView::createWidget(QWidget* parentArea) {
  return new QLineEdit(parentArea);
}

void EditView::apply(ui::Property property) {
  auto* edit = static_cast<QLineEdit*>(widget());
  const auto& model = this->model<ui::Edit>();
  switch (property) {
    case ui::Property::Text:
    case ui::Property::Selection:
      // A data-aware edit's field (and so its alignment) may change with any load.
      if (edit->alignment() != alignmentOf(model))
        edit->setAlignment(alignmentOf(model));
      if (edit->text() != toQString(model.text()))
        edit->setText(toQString(model.text()));
      if (const auto* date = dynamic_cast<const ui::DateEdit*>(&model))
        showTextColor(*edit, date->textColor());
      // The model types at the end of its text, or over all of it when it is selected.
      if (model.allSelected())
        edit->selectAll();
      else
        edit->end(false);
      break;
    case ui::Property::ReadOnly:
      edit->setReadOnly(model.readOnly());
      break;
    case ui::Property::Other:
      edit->setEchoMode(model.passwordChar() != 0 ? QLineEdit::Password : QLineEdit::Normal);
      break;
    case ui::Property::Color:
      // A new background palette would drop the colour of a valid date.
      ControlView::apply(property);
      if (const auto* date = dynamic_cast<const ui::DateEdit*>(&model))
        showTextColor(*edit, date->textColor());
      break;
    default:
      ControlView::apply(property);
      break;
  }
}

QWidget* MemoView::createWidget(QWidget* parentArea) {
  auto* memo = new QPlainTextEdit(parentArea);
  watchMouse(memo->viewport());
  return memo;
}

void MemoView::apply(ui::Property property) {
  auto* memo = static_cast<QPlainTextEdit*>(widget());
  const auto& model = this->model<ui::Memo>();
  switch (property) {
    case ui::Property::Text:
    case ui::Property::Selection: {
      const QString text = multiLineText(model.text());
      if (memo->toPlainText() != text)
        memo->setPlainText(text);
      if (model.allSelected())
        memo->selectAll();
      else
        memo->moveCursor(QTextCursor::End);
      break;
    }
    case ui::Property::ReadOnly:
      memo->setReadOnly(model.readOnly());
      break;
    case ui::Property::Other:
      memo->setVerticalScrollBarPolicy(model.verticalScrollBar() ? Qt::ScrollBarAlwaysOn
                                                                 : Qt::ScrollBarAlwaysOff);
      break;
    default:
      ControlView::apply(property);
      break;
  }
}

QWidget* ComboBoxView::createWidget(QWidget* parentArea) {
  auto* combo = new QComboBox(parentArea);
  connect(combo, &QComboBox::activated, this, [this](int index) {
    if (control() == nullptr || applying_)
      return;
    auto& box = model<ui::ComboBox>();
    if (index >= 0 && index < static_cast<int>(box.items().size()))
      deliverUserEvent([&box, index] { box.userChoose(index); });
    update(ui::Property::ItemIndex);
  });
  return combo;
}

void ComboBoxView::apply(ui::Property property) {
  auto* combo = static_cast<QComboBox*>(widget());
  const auto& model = this->model<ui::ComboBox>();
  applying_ = true;
  switch (property) {
    case ui::Property::Items: {
      QStringList items;
      for (const std::string& item : model.items())
        items << toQString(item);
      combo->clear();
      combo->addItems(items);
      combo->setCurrentIndex(model.itemIndex());
      break;
    }
    case ui::Property::ItemIndex:
      combo->setCurrentIndex(model.itemIndex());
      break;
    default:
      ControlView::apply(property);
      break;
  }
  applying_ = false;
}

void ComboBoxView::openList() {
  auto* combo = static_cast<QComboBox*>(widget());
  if (combo->count() > 0)
    combo->showPopup();
}

bool ComboBoxView::handleKeyLocally(const KeyStroke& stroke) {
  const bool altDown = stroke.key == ui::keys::Down && stroke.shift.alt && !stroke.shift.ctrl;
  const bool f4 = stroke.key == ui::keys::F1 + 3 && stroke.shift.none();
  if (stroke.delivery != KeyStroke::Delivery::KeyDown || !(altDown || f4))
    return false;
  openList();
  return true;
}

bool ComboBoxView::mouseInput(QMouseEvent& event) {
  if (event.type() == QEvent::MouseButtonPress && event.button() == Qt::LeftButton) {
    bool focused = false;
    if (deliverUserEvent([this, &focused] { focused = takeFocus(); }) && focused)
      openList();
  }
  return true;
}

bool ComboBoxView::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Wheel)
    return true;  // the wheel would change the item without the model
  return ControlView::eventFilter(watched, event);
}

QWidget* ListBoxView::createWidget(QWidget* parentArea) {
  auto* list = new QListView(parentArea);
  model_ = new ListBoxModel(model<ui::ListBox>(), list);
  list->setModel(model_);
  list->setUniformItemSizes(true);
  list->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list->setSelectionMode(model<ui::ListBox>().multiSelect() ? QAbstractItemView::MultiSelection
                                                            : QAbstractItemView::SingleSelection);
  watchMouse(list->viewport());
  return list;
}

void ListBoxView::release() {
  if (model_ != nullptr)
    model_->detach();
  ControlView::release();
}

void ListBoxView::apply(ui::Property property) {
  switch (property) {
    case ui::Property::Items: {
      // A reset drops Qt's selection; the model's is shown again only when there was one (a
      // list filled item by item has none, so each item costs the same whatever the length).
      const bool hadSelection = listView()->selectionModel()->hasSelection();
      model_->itemsChanged();
      if (hadSelection)
        showSelection();
      showCurrent();
      break;
    }
    case ui::Property::Selection:
    case ui::Property::ItemIndex:
      showSelection();
      showCurrent();
      break;
    default:
      ControlView::apply(property);
      break;
  }
}

QListView* ListBoxView::listView() const {
  return static_cast<QListView*>(widget());
}

void ListBoxView::showSelection() {
  const auto& box = model<ui::ListBox>();
  QListView* list = listView();
  list->setSelectionMode(box.multiSelect() ? QAbstractItemView::MultiSelection
                                           : QAbstractItemView::SingleSelection);
  // The selection as runs of adjacent items: one range for a list selected whole.
  QItemSelection selection;
  const int rows = std::min(model_->rowCount(), box.count());
  for (int first = 0; first < rows; ++first) {
    if (!box.selected(first))
      continue;
    int last = first;
    while (last + 1 < rows && box.selected(last + 1))
      ++last;
    selection.select(model_->index(first), model_->index(last));
    first = last;
  }
  list->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

void ListBoxView::showCurrent() {
  const int current = model<ui::ListBox>().itemIndex();
  QItemSelectionModel* selection = listView()->selectionModel();
  if (current < 0 || current >= model_->rowCount()) {
    selection->clearCurrentIndex();
    return;
  }
  const QModelIndex index = model_->index(current);
  if (selection->currentIndex() == index)
    return;
  selection->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
  listView()->scrollTo(index);
}

bool ListBoxView::mouseInput(QMouseEvent& event) {
  if (event.button() != Qt::LeftButton)
    return true;
  QListView* list = listView();
  auto& box = model<ui::ListBox>();
  if (event.type() == QEvent::MouseButtonDblClick) {
    deliverUserEvent([&box] { ui::application().doubleClick(box); });
    return true;
  }
  if (event.type() != QEvent::MouseButtonPress)
    return true;
  const int row = list->indexAt(event.position().toPoint()).row();
  const Qt::KeyboardModifiers modifiers = event.modifiers();
  deliverUserEvent([this, &box, row, modifiers] {
    if (!takeFocus() || row < 0 || row >= box.count())
      return;
    std::vector<int> chosen{row};
    if (box.multiSelect() && modifiers.testFlag(Qt::ControlModifier)) {
      chosen = box.selectedIndexes();
      const auto at = std::find(chosen.begin(), chosen.end(), row);
      if (at != chosen.end())
        chosen.erase(at);
      else
        chosen.push_back(row);
    } else if (box.multiSelect() && modifiers.testFlag(Qt::ShiftModifier) && box.itemIndex() >= 0) {
      chosen.clear();
      const int step = row >= box.itemIndex() ? 1 : -1;
      for (int i = box.itemIndex(); i != row + step; i += step)
        chosen.push_back(i);
    }
    box.userSelect(chosen);
  });
  return true;
}

}  // namespace shell
