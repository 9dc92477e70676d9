// ListBoxModel: a list box's items as a Qt list model.
//
// Rows are the list box's items in order, their display text the item's text; the model holds
// no copy of them. It keeps the count Qt last saw until it is told the items changed, so a view
// may be brought in step once after many changes (a list filled item by item) rather than once
// per change.
#pragma once

#include <QAbstractListModel>

#include "host/ui/list_box.h"

namespace shell {

class ListBoxModel : public QAbstractListModel {
  Q_OBJECT

 public:
  ListBoxModel(const ui::ListBox& box, QObject* parent);

  // Shows no rows from now on: the list box is gone.
  void detach();
  // The items changed: the model resets when their count did, and otherwise tells the view
  // every text may have changed.
  void itemsChanged();

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;

 private:
  const ui::ListBox* box_;
  int rows_ = 0;
};

}  // namespace shell
