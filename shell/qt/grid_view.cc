#include "shell/qt/grid_view.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionHeader>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTimer>
#include <exception>

#include "host/db/data_set.h"
#include "host/db/db_grid.h"
#include "host/ui/application.h"
#include "shell/qt/color_names.h"
#include "shell/qt/grid_model.h"
#include "shell/qt/painter_canvas.h"
#include "shell/qt/qt_text.h"
#include "shell/qt/renderer.h"

namespace shell {

namespace {

constexpr int kRowHeight = 18;
constexpr int kIndicatorWidth = 12;
constexpr int kPickMarkWidth = 14;

bool isCurrentCell(const db::DBGrid& grid, int row, int column) {
  const db::DataSet* set = grid.dataSet();
  return set != nullptr && row == set->currentViewRow() && column == grid.selectedIndex();
}

bool showsSelection(const db::DBGrid& grid) {
  return grid.focused() || grid.hasOption(db::GridOption::AlwaysShowSelection);
}

ui::Color cellBackground(const db::DBGrid& grid) {
  return colorNamed(grid.color()).value_or(grid.backgroundColor());
}

QRect pickMarkOf(const QRect& cell) {
  return QRect(cell.right() - kPickMarkWidth + 1, cell.top(), kPickMarkWidth, cell.height());
}

// Paints each cell through the grid's own drawing.
class CellDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    const auto* model = qobject_cast<const GridTableModel*>(index.model());
    const db::DBGrid* grid = model != nullptr ? model->grid() : nullptr;
    if (grid == nullptr)
      return;
    const int row = index.row();
    const int column = index.column();
    db::DrawState state;
    state.focused = grid->focused();
    state.selected = isCurrentCell(*grid, row, column) && showsSelection(*grid);
    const QColor text = state.selected ? Qt::white : Qt::black;
    painter->save();
    PainterCanvas canvas(*painter, state.selected ? ui::colors::Highlight : cellBackground(*grid),
                         text);
    try {
      grid->drawCell(canvas, fromQRect(option.rect), row, column, state);
    } catch (const std::exception& e) {
      qWarning("grid %s: drawing cell %d,%d: %s", grid->name().c_str(), row, column, e.what());
    }
    painter->restore();
    decorate(*painter, option.rect, *grid, row, column);
  }

 private:
  static void decorate(QPainter& painter, const QRect& cell, const db::DBGrid& grid, int row,
                       int column) {
    painter.save();
    painter.setPen(toQColor(ui::colors::Silver));
    if (grid.hasOption(db::GridOption::ColLines))
      painter.drawLine(cell.topRight(), cell.bottomRight());
    if (grid.hasOption(db::GridOption::RowLines))
      painter.drawLine(cell.bottomLeft(), cell.bottomRight());
    if (isCurrentCell(grid, row, column) && grid.focused()) {
      const db::Column* selected = grid.selectedColumn();
      if (grid.editorMode()) {
        painter.setPen(Qt::black);
        painter.drawRect(cell.adjusted(0, 0, -1, -1));
      }
      if (selected != nullptr && !selected->pickList().empty()) {
        const QRect mark = pickMarkOf(cell);
        painter.fillRect(mark, QColor(0xE0, 0xE0, 0xE0));
        painter.setPen(Qt::black);
        painter.setBrush(Qt::black);
        const QPoint c = mark.center();
        painter.drawPolygon(QPolygon({QPoint(c.x() - 3, c.y() - 1), QPoint(c.x() + 3, c.y() - 1),
                                      QPoint(c.x(), c.y() + 2)}));
      }
    }
    painter.restore();
  }
};

}  // namespace

QString TitleHeader::shownTitle(int logicalIndex) const {
  const QString title =
      model() != nullptr ? model()->headerData(logicalIndex, orientation()).toString() : QString();
  const int margin = style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this);
  return fontMetrics().elidedText(title, Qt::ElideRight, sectionSize(logicalIndex) - 2 * margin);
}

void TitleHeader::initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const {
  QHeaderView::initStyleOptionForIndex(option, logicalIndex);
  option->text = shownTitle(logicalIndex);
}

QTableView* GridView::table() const {
  return static_cast<QTableView*>(widget());
}

QWidget* GridView::createWidget(QWidget* parentArea) {
  auto& grid = model<db::DBGrid>();
  auto* view = new QTableView(parentArea);
  model_ = new GridTableModel(grid, view);
  view->setModel(model_);
  view->setHorizontalHeader(new TitleHeader(Qt::Horizontal, view));
  view->setItemDelegate(new CellDelegate(view));
  view->setSelectionMode(QAbstractItemView::NoSelection);
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view->setShowGrid(false);
  view->setWordWrap(false);
  QHeaderView* rows = view->verticalHeader();
  rows->setMinimumSectionSize(1);
  rows->setDefaultSectionSize(kRowHeight);
  rows->setSectionResizeMode(QHeaderView::Fixed);
  rows->setFixedWidth(kIndicatorWidth);
  QHeaderView* titles = view->horizontalHeader();
  titles->setSectionsClickable(true);
  titles->setHighlightSections(false);
  titles->setMinimumSectionSize(1);
  tame(rows);
  tame(titles);
  watchMouse(view->viewport());
  connect(titles, &QHeaderView::sectionClicked, this, [this](int section) {
    if (control() == nullptr)
      return;
    auto& g = model<db::DBGrid>();
    if (section >= 0 && section < g.columnCount())
      deliverUserEvent([&g, section] { g.userClickTitle(section); });
  });
  connect(titles, &QHeaderView::sectionResized, this, [this](int section, int, int size) {
    if (control() == nullptr || applyingWidths_)
      return;
    auto& g = model<db::DBGrid>();
    if (!g.hasOption(db::GridOption::ColumnResize) || section >= g.columnCount())
      return;
    deliverUserEvent([&g, section, size] { g.column(section).setWidth(size); });
  });
  return view;
}

void GridView::release() {
  if (model_ != nullptr)
    model_->detach();
  ControlView::release();
}

void GridView::apply(ui::Property property) {
  switch (property) {
    case ui::Property::Columns:
      model_->columnsChanged();
      applyColumns();
      showCurrent();
      break;
    case ui::Property::Data:
    case ui::Property::Selection:
      model_->dataChangedInGrid();
      showCurrentLater();
      break;
    case ui::Property::Options:
      applyOptions();
      table()->viewport()->update();
      break;
    case ui::Property::Focus:
      table()->viewport()->update();
      break;
    case ui::Property::Color:
      ControlView::apply(property);
      table()->viewport()->update();
      break;
    default:
      ControlView::apply(property);
      break;
  }
}

int GridView::defaultWidth(const db::Column& column) const {
  // As wide as the content it is laid out for, in the grid's font, or as its title when that is
  // wider; the cell's text stands 2 pixels from each side.
  const QFontMetrics cells(table()->font());
  const QHeaderView* titles = table()->horizontalHeader();
  const QFontMetrics title(titles->font());
  const int margin = titles->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, titles);
  const int content = column.contentCharacters() * cells.horizontalAdvance(QLatin1Char('0')) + 4;
  return std::max(content, title.horizontalAdvance(toQString(column.title())) + 2 * margin + 2);
}

void GridView::applyColumns() {
  const auto& grid = model<db::DBGrid>();
  applyingWidths_ = true;
  for (int i = 0; i < grid.columnCount() && i < model_->columnCount(); ++i) {
    const int width = grid.column(i).width();
    table()->horizontalHeader()->resizeSection(i, width > 0 ? width : defaultWidth(grid.column(i)));
  }
  applyingWidths_ = false;
  applyOptions();
}

void GridView::applyOptions() {
  const auto& grid = model<db::DBGrid>();
  table()->horizontalHeader()->setVisible(grid.hasOption(db::GridOption::Titles));
  table()->horizontalHeader()->setSectionResizeMode(
      grid.hasOption(db::GridOption::ColumnResize) ? QHeaderView::Interactive : QHeaderView::Fixed);
  table()->verticalHeader()->setVisible(grid.hasOption(db::GridOption::Indicator));
}

void GridView::showCurrentLater() {
  // A batch writes many fields of many rows before the window next paints. Placing the current
  // cell lays out every row added since the last placing, so doing it at each write made a batch
  // of n rows cost n layouts of up to n rows; placed once when control returns to the event
  // loop, it costs one.
  if (showCurrentPending_)
    return;
  showCurrentPending_ = true;
  QTimer::singleShot(0, this, [this] {
    showCurrentPending_ = false;
    if (control() != nullptr)
      showCurrent();
  });
}

void GridView::showCurrent() {
  const auto& grid = model<db::DBGrid>();
  const db::DataSet* set = grid.dataSet();
  const int row = set != nullptr ? set->currentViewRow() : -1;
  if (row < 0 || row >= model_->rowCount() || grid.selectedIndex() >= model_->columnCount())
    return;
  const QModelIndex current = model_->index(row, grid.selectedIndex());
  table()->selectionModel()->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
  table()->scrollTo(current);
}

QRect GridView::pickMark() const {
  const auto& grid = model<db::DBGrid>();
  const db::Column* column = grid.selectedColumn();
  const db::DataSet* set = grid.dataSet();
  if (column == nullptr || column->pickList().empty() || set == nullptr)
    return QRect();
  const QModelIndex cell = model_->index(set->currentViewRow(), grid.selectedIndex());
  return cell.isValid() ? pickMarkOf(table()->visualRect(cell)) : QRect();
}

void GridView::openPickList() {
  if (control() == nullptr)
    return;
  auto& grid = model<db::DBGrid>();
  const db::Column* column = grid.selectedColumn();
  const db::DataSet* set = grid.dataSet();
  if (column == nullptr || column->pickList().empty() || set == nullptr)
    return;
  const QModelIndex cell = model_->index(set->currentViewRow(), grid.selectedIndex());
  const std::vector<std::string> items = column->pickList();
  int current = -1;
  const std::string shown = grid.editorText();
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i] == shown)
      current = static_cast<int>(i);
  }
  const int chosen =
      renderer().choosePickItem(table()->viewport(), table()->visualRect(cell), items, current);
  if (chosen < 0 || control() == nullptr)
    return;
  deliverUserEvent([&grid, chosen] { grid.choosePickItem(chosen); });
}

bool GridView::handleKeyLocally(const KeyStroke& stroke) {
  const bool altDown = stroke.delivery == KeyStroke::Delivery::KeyDown &&
                       stroke.key == ui::keys::Down && stroke.shift.alt && !stroke.shift.ctrl;
  if (!altDown || pickMark().isEmpty())
    return false;
  openPickList();
  return true;
}

bool GridView::mouseInput(QMouseEvent& event) {
  if (event.button() != Qt::LeftButton)
    return true;
  auto& grid = model<db::DBGrid>();
  if (event.type() == QEvent::MouseButtonDblClick) {
    deliverUserEvent([&grid] { ui::application().doubleClick(grid); });
    return true;
  }
  if (event.type() != QEvent::MouseButtonPress)
    return true;
  const QPoint at = event.position().toPoint();
  const bool onMark = pickMark().contains(at);
  const QModelIndex index = table()->indexAt(at);
  const bool delivered = deliverUserEvent([this, &grid, index] {
    if (!takeFocus() || !index.isValid())
      return;
    db::DataSet* set = grid.dataSet();
    if (set == nullptr)
      return;
    if (index.row() != set->currentViewRow())
      grid.userSelectRow(index.row());
    if (index.row() == set->currentViewRow() && index.column() < grid.columnCount())
      grid.userClickCell(index.column());
  });
  if (delivered && onMark && pickMark().contains(at))
    openPickList();
  return true;
}

}  // namespace shell
