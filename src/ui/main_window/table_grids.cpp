#include "ui/main_window/table_grids.h"

#include <QAbstractButton>
#include <QAction>
#include <QClipboard>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionHeader>
#include <algorithm>

#include "operations/logs/log_view.h"
#include "operations/table/image_grids.h"
#include "ui/help/help_context.h"
#include "ui/widgets/core_text.h"
#include "ui/widgets/text_fit.h"

namespace vyk::ui {

int ImageTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : (kind_ == ImageGrid::Table ? kTableGridRows : kEepromGridRows) - 1;
}

int ImageTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid()
             ? 0
             : (kind_ == ImageGrid::Table ? kTableGridColumns : kEepromGridColumns) - 1;
}

QString ImageTableModel::CellText(int column, int row) const {
  const AppState& st = session_.state;
  try {
    return FromCore(kind_ == ImageGrid::Table ? TableGridCellText(st, column, row)
                                              : EepromGridCellText(st, column, row));
  } catch (const std::exception&) {
    return QString("?");
  }
}

QVariant ImageTableModel::data(const QModelIndex& index, int role) const {
  const int row = index.row() + 1;
  const int column = index.column() + 1;
  if (role == Qt::DisplayRole) return CellText(column, row);
  if (role == Qt::EditRole) {
    // The table's editor starts with the text last typed into the cell; the byte grid's
    // with the byte.
    if (kind_ == ImageGrid::Table) return typed_.value(row * kTableGridColumns + column);
    try {
      return FromCore(EepromGridGetEditText(session_.state, column, row));
    } catch (const std::exception&) {
      return QString("?");
    }
  }
  if (hits_ != nullptr && kind_ == ImageGrid::Table &&
      session_.state.projectState != ProjectState::NoProject) {
    const int entry = index.row();
    if (role == Qt::ToolTipRole)
      return FromCore(HitShareText(entry, hits_->Share(entry), hits_->seconds[entry]));
    if (role == Qt::BackgroundRole) {
      const double level = HitColourLevel(hits_->Share(entry), LargestShare(*hits_));
      if (level <= 0) return {};
      // From the grid's own base towards orange: a dark palette gets a deeper orange, under
      // which its light text stays readable.
      const auto* view = static_cast<const QWidget*>(QObject::parent());
      const QColor base = view->palette().color(QPalette::Base);
      const QColor hot = base.lightness() < 128 ? QColor(176, 84, 0) : QColor(255, 150, 40);
      const auto mix = [level](int from, int to) { return int(from + (to - from) * level); };
      return QColor(mix(base.red(), hot.red()), mix(base.green(), hot.green()),
                    mix(base.blue(), hot.blue()));
    }
  }
  // In line with the row header's text.
  if (role == Qt::TextAlignmentRole) return int(Qt::AlignLeft | Qt::AlignVCenter);
  return {};
}

QVariant ImageTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return QAbstractTableModel::headerData(section, orientation, role);
  return orientation == Qt::Horizontal ? CellText(section + 1, 0) : CellText(0, section + 1);
}

Qt::ItemFlags ImageTableModel::flags(const QModelIndex&) const {
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

bool ImageTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole) return false;
  const QString text = value.toString();
  const int row = index.row() + 1;
  const int column = index.column() + 1;
  run_([&] {
    if (kind_ == ImageGrid::Table) {
      typed_[row * kTableGridColumns + column] = text;
      TableGridSetEditText(session_, column, row, ToCore(text));
    } else {
      EepromGridSetEditText(session_, column, row, ToCore(text));
    }
  });
  Refresh();
  return true;
}

void ImageTableModel::Refresh() {
  emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
  emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
  emit headerDataChanged(Qt::Vertical, 0, rowCount() - 1);
}

void ImageTableModel::ShowHits(const HitMap* hits) {
  hits_ = hits;
  Refresh();
}

namespace {

// Qt leaves the corner of a grid's two headers blank; the grids show their corner cell there.
class CornerCaption : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Paint) return QObject::eventFilter(watched, event);
    auto* corner = static_cast<QAbstractButton*>(watched);
    QStyleOptionHeader option;
    option.initFrom(corner);
    option.rect = corner->rect();
    option.position = QStyleOptionHeader::OnlyOneSection;
    option.text = corner->text();
    option.textAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    QPainter painter(corner);
    corner->style()->drawControl(QStyle::CE_Header, &option, &painter, corner);
    return true;
  }
};

// Enter in the table grid moves to the row below, after the cell being edited (if any) is
// stored: the editor stores it on a queued call, so the move is queued behind it.
class EnterMovesDown : public QObject {
 public:
  explicit EnterMovesDown(QTableView* grid) : QObject(grid), grid_(grid) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        QMetaObject::invokeMethod(
            grid_,
            [grid = grid_] {
              const QModelIndex at = grid->currentIndex();
              if (at.isValid() && at.row() + 1 < grid->model()->rowCount())
                grid->setCurrentIndex(at.sibling(at.row() + 1, at.column()));
            },
            Qt::QueuedConnection);
        return true;
      }
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QTableView* grid_;
};

// Sizes a grid's columns, row header and rows for the widest texts its cells and headers
// show; the row header also holds the corner text.
void FitGrid(QTableView* grid, int columnWidth, int rowHeight, const QStringList& cells,
             const QStringList& columnHeaders, const QStringList& rowHeaders) {
  QHeaderView* columns = grid->horizontalHeader();
  QHeaderView* rows = grid->verticalHeader();
  const int width =
      std::max({columnWidth, CellWidth(*grid, cells), SectionWidth(*columns, columnHeaders)});
  columns->setMinimumSectionSize(width);
  columns->setDefaultSectionSize(width);
  rows->setMinimumWidth(SectionWidth(*rows, rowHeaders));
  const int height = RowHeight(*grid, rowHeight);
  rows->setMinimumSectionSize(height);
  rows->setDefaultSectionSize(height);
}

}  // namespace

ImageGridView::ImageGridView(QWidget* parent, ImageGrid kind, Session& session, HandlerRunner run)
    : QTableView(parent),
      kind_(kind),
      session_(session),
      run_(std::move(run)),
      model_(new ImageTableModel(kind, session, run_)) {
  model_->setParent(this);
  setModel(model_);
  for (QHeaderView* header : {horizontalHeader(), verticalHeader()}) {
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setSectionsClickable(false);
  }
  if (auto* corner = findChild<QAbstractButton*>(QString(), Qt::FindDirectChildrenOnly)) {
    corner->installEventFilter(new CornerCaption(corner));
    auto caption = [corner, model = model_] { corner->setText(model->CellText(0, 0)); };
    QObject::connect(model_, &QAbstractItemModel::headerDataChanged, corner, caption);
    caption();
  }
  setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                  QAbstractItemView::AnyKeyPressed);
  // A block of cells, as spreadsheets select them.
  setSelectionMode(QAbstractItemView::ContiguousSelection);

  auto* copy = new QAction("&Copy", this);
  copy->setShortcut(QKeySequence::Copy);
  connect(copy, &QAction::triggered, this, [this] { CopyCells(); });
  auto* paste = new QAction("&Paste", this);
  paste->setShortcut(QKeySequence::Paste);
  connect(paste, &QAction::triggered, this, [this] { PasteCells(); });
  for (QAction* a : {copy, paste}) {
    a->setShortcutContext(Qt::WidgetShortcut);  // a cell's editor keeps its own
    addAction(a);
  }
  setContextMenuPolicy(Qt::ActionsContextMenu);
}

std::optional<CellRange> ImageGridView::SelectedCells() const {
  QModelIndexList cells = selectionModel()->selectedIndexes();
  if (cells.isEmpty() && currentIndex().isValid()) cells.append(currentIndex());
  if (cells.isEmpty()) return std::nullopt;
  CellRange range{cells[0].row() + 1, cells[0].column() + 1, cells[0].row() + 1,
                  cells[0].column() + 1};
  for (const QModelIndex& cell : cells) {
    range.top = std::min(range.top, cell.row() + 1);
    range.bottom = std::max(range.bottom, cell.row() + 1);
    range.left = std::min(range.left, cell.column() + 1);
    range.right = std::max(range.right, cell.column() + 1);
  }
  return range;
}

void ImageGridView::CopyCells() {
  const auto range = SelectedCells();
  if (!range) return;
  run_([&] {
    QGuiApplication::clipboard()->setText(FromCore(vyk::CopyCells(session_.state, kind_, *range)));
  });
}

void ImageGridView::PasteCells() {
  const auto range = SelectedCells();
  if (!range) return;
  const std::string text = ToCore(QGuiApplication::clipboard()->text());
  run_([&] {
    if (kind_ == ImageGrid::Table) {
      TableGridPaste(session_, range->top, text);
    } else {
      EepromGridPaste(session_, range->left, range->top, text);
    }
  });
}

ImageGridView* MakeTableGrid(QWidget* parent, Session& session, const HandlerRunner& run) {
  auto* grid = new ImageGridView(parent, ImageGrid::Table, session, run);
  grid->setObjectName("TableGrid");
  grid->setProperty(kHelpContextProperty, kHelpTableGrid);
  grid->setTabKeyNavigation(false);  // Tab goes on to the next control
  FitGrid(grid, 44, 14, {" 13500 ", " 4.995 ", "****", "3000", "?"}, {"V Out", "F Out"},
          {" 6.000 ", " 13500 ", "V in", "F in"});
  grid->setFixedWidth(GridWidth(*grid));
  grid->installEventFilter(new EnterMovesDown(grid));
  return grid;
}

ImageGridView* MakeByteGrid(QWidget* parent, Session& session, const HandlerRunner& run) {
  auto* grid = new ImageGridView(parent, ImageGrid::Bytes, session, run);
  grid->setObjectName("EEPROMGrid");
  // Hexadecimal reads best in columns of equal digits.
  QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  fixed.setPointSizeF(grid->font().pointSizeF());
  grid->setFont(fixed);
  QStringList bytes, columns, rows;
  for (int i = 0; i < 256; ++i)
    bytes.append(QString(" %1 ").arg(i, 2, 16, QChar('0')).toUpper());
  for (int i = 0; i < 16; ++i) {
    columns.append(QString(" %1 ").arg(i, 1, 16).toUpper());
    rows.append(QString(" %1 ").arg(i * 16, 2, 16, QChar('0')).toUpper());
  }
  FitGrid(grid, 20, 16, bytes, columns, rows);
  grid->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
  grid->setTabKeyNavigation(true);
  grid->setProperty(kHelpContextProperty, kHelpHexGrid);
  grid->hide();
  return grid;
}

}  // namespace vyk::ui
