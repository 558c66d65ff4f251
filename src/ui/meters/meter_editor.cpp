#include "ui/meters/meter_editor.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QButtonGroup>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QFontMetricsF>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <functional>
#include <utility>

#include "ui/help/help_context.h"
#include "ui/meters/meter_tool_dialog.h"
#include "ui/widgets/chart_look.h"
#include "ui/widgets/core_text.h"
#include "ui/widgets/error_guard.h"
#include "ui/widgets/text_fit.h"

namespace vyk::ui {

// The point grid's cell texts as Qt sees them. Model row r is grid row r + 1: the grid's header
// row is the view's header. The row count follows the grid only in Sync(), so the view always
// hears of a change before it asks for the new rows.
class PointGridModel : public QAbstractTableModel {
 public:
  PointGridModel(const PointGrid& grid, QObject* parent)
      : QAbstractTableModel(parent), grid_(grid), rows_(grid.RowCount() - 1) {}

  int rowCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : rows_;
  }
  int columnCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : 2;
  }

  QVariant data(const QModelIndex& index, int role) const override {
    if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
    if (!index.isValid() || index.row() + 1 >= grid_.RowCount()) return {};
    return FromCore(grid_.Cell(index.row() + 1, index.column()));
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < 2)
      return FromCore(grid_.Cell(0, section));
    return {};
  }
  Qt::ItemFlags flags(const QModelIndex& index) const override {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable
                           : Qt::NoItemFlags;
  }
  // Typed text reaches the grid as it is typed; nothing is stored when an editor closes.
  bool setData(const QModelIndex&, const QVariant&, int) override { return false; }

  void Sync() {
    const int rows = grid_.RowCount() - 1;
    if (rows > rows_) {
      beginInsertRows({}, rows_, rows - 1);
      rows_ = rows;
      endInsertRows();
    } else if (rows < rows_) {
      beginRemoveRows({}, rows, rows_ - 1);
      rows_ = rows;
      endRemoveRows();
    }
    emit dataChanged(index(0, 0), index(rows_ - 1, 1));
    emit headerDataChanged(Qt::Horizontal, 0, 1);
  }

 private:
  const PointGrid& grid_;
  int rows_;
};

// Every move of the current cell asks first; a refused move leaves the cell where it is.
class CellGate : public QItemSelectionModel {
 public:
  using QItemSelectionModel::QItemSelectionModel;
  std::function<bool(const QModelIndex&)> allow;

  void setCurrentIndex(const QModelIndex& index,
                       QItemSelectionModel::SelectionFlags command) override {
    if (allow && !allow(index)) return;
    QItemSelectionModel::setCurrentIndex(index, command);
  }
};

// The cell editor: a line edit that lets through only what the grid accepts and hands Enter and
// Tab to the window, so Qt's own commit-and-move (which would bypass the gate) never runs.
class CellEditorDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  std::function<void(const QPersistentModelIndex&, const QString&)> textEdited;
  std::function<void()> enterKey;
  std::function<void(bool back)> tabKey;
  std::function<void(int rows, int columns)> arrowKey;

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                        const QModelIndex& index) const override {
    auto* editor = new QLineEdit(parent);
    editor->setObjectName(QStringLiteral("StringGridEditor"));
    editor->setFrame(false);
    QPersistentModelIndex cell(index);
    QObject::connect(editor, &QLineEdit::textEdited, editor, [this, cell](const QString& text) {
      if (textEdited) textEdited(cell, text);
    });
    return editor;
  }
  // Only a real change is written, so the caret stays put while the user types.
  void setEditorData(QWidget* editor, const QModelIndex& index) const override {
    auto* line = static_cast<QLineEdit*>(editor);
    const QString text = index.data(Qt::EditRole).toString();
    if (line->text() != text) line->setText(text);
  }
  void setModelData(QWidget*, QAbstractItemModel*, const QModelIndex&) const override {}

 protected:
  bool eventFilter(QObject* object, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return QStyledItemDelegate::eventFilter(object, event);
    auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
      case Qt::Key_Return:
      case Qt::Key_Enter:
        if (enterKey) enterKey();
        return true;
      case Qt::Key_Tab:
      case Qt::Key_Backtab:
        if (tabKey) tabKey(key->key() == Qt::Key_Backtab || key->modifiers() & Qt::ShiftModifier);
        return true;
      case Qt::Key_Escape:
        return false;  // on to the window: Esc is Help
      default:
        break;
    }
    // The editor is always open: plain arrows move between cells, as in a spreadsheet.
    if (key->modifiers() == Qt::NoModifier || key->modifiers() == Qt::KeypadModifier) {
      const int rows = key->key() == Qt::Key_Down ? 1 : key->key() == Qt::Key_Up ? -1 : 0;
      const int columns = key->key() == Qt::Key_Right ? 1 : key->key() == Qt::Key_Left ? -1 : 0;
      if (rows != 0 || columns != 0) {
        if (arrowKey) arrowKey(rows, columns);
        return true;
      }
    }
    for (QChar c : key->text()) {
      if (c.unicode() > 0x7f || !PointGrid::KeyAccepted(static_cast<char>(c.unicode())))
        return true;  // dropped
    }
    return false;
  }
};

// The grid view: Enter validates instead of pressing the default button, Esc goes on to the
// window, and the focus is handed to the cell editor.
class PointGridView : public QTableView {
 public:
  using QTableView::QTableView;
  std::function<void()> enterKey;
  std::function<void()> focusIn;

  void keyboardSearch(const QString&) override {}  // typing never jumps to another cell

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    switch (event->key()) {
      case Qt::Key_Return:
      case Qt::Key_Enter:
        if (enterKey) enterKey();
        return;
      case Qt::Key_Escape:
        event->ignore();
        return;
      default:
        QTableView::keyPressEvent(event);
    }
  }
  void focusInEvent(QFocusEvent* event) override {
    QTableView::focusInEvent(event);
    if (focusIn) focusIn();
  }
};

namespace {

template <typename W>
W* Named(W* widget, const char* name) {
  widget->setObjectName(QLatin1String(name));
  return widget;
}

QPushButton* Button(QWidget* parent, const char* name, const char* caption, int width = 65) {
  auto* button = Named(new QPushButton(QString::fromLatin1(caption), parent), name);
  button->setMinimumSize(width, 25);
  return button;
}

std::vector<std::string> MemoLines(const QString& text) {
  std::vector<std::string> lines;
  for (const QString& line : text.split(QLatin1Char('\n')))
    lines.push_back(ToCore(line));
  return lines;
}

QString MemoText(const std::vector<std::string>& lines) {
  QStringList text;
  for (const std::string& line : lines)
    text.append(FromCore(line));
  return text.join(QLatin1Char('\n'));
}

}  // namespace

MeterEditor::MeterEditor(Dialogs& dialogs, const AppState& state, QWidget* parent)
    : QDialog(parent), dialogs_(dialogs), state_(state), form_(dialogs, state) {
  setObjectName(QStringLiteral("MassAirEditorDialog"));
  setProperty(kHelpContextProperty, kHelpMeterEditor);

  newButton_ = Button(this, "NewButton", "New");
  openButton_ = Button(this, "OpenButton", "Open");
  saveButton_ = Button(this, "SaveButton", "Save");
  saveAsButton_ = Button(this, "SaveAsButton", "Copy");
  importButton_ = Button(this, "ImportButton", "Convert");
  saveAsButton_->setToolTip(QStringLiteral("Save the meter under a new name"));
  importButton_->setToolTip(QStringLiteral("Import a meter from a text file"));
  toolsButton_ = Button(this, "ToolsButton", "&Tools");
  toolsButton_->setToolTip(QStringLiteral("Make a new meter from this one"));
  auto* tools = new QMenu(toolsButton_);
  tools->setObjectName(QStringLiteral("ToolsMenu"));
  const std::pair<const char*, MeterTool> toolItems[] = {{"&Scale ...", MeterTool::Scale},
                                                         {"&Rehouse ...", MeterTool::Rehouse},
                                                         {"&Blend With ...", MeterTool::Blend}};
  for (const auto& [caption, tool] : toolItems) {
    QAction* action = tools->addAction(QString::fromLatin1(caption));
    connect(action, &QAction::triggered, this, [this, tool = tool] { RunTool(tool); });
  }
  toolsButton_->setMenu(tools);

  partNumberLabel_ = Named(new QLabel(QStringLiteral("Part Number:"), this), "PartNumberLabel");
  partNumberEdit_ = Named(new QLineEdit(this), "PartNumberEdit");
  partNumberEdit_->setMaxLength(kPartNumberEditLength);

  descriptionLabel_ = Named(new QLabel(QStringLiteral("Description:"), this), "DescriptionLabel");
  descriptionMemo_ = Named(new QPlainTextEdit(this), "DescriptionMemo");
  descriptionMemo_->setTabChangesFocus(true);
  // Two lines, as a meter has two description lines.
  descriptionMemo_->setFixedHeight(
      std::max(33, 2 * descriptionMemo_->fontMetrics().lineSpacing() +
                       2 * static_cast<int>(descriptionMemo_->document()->documentMargin()) +
                       2 * descriptionMemo_->frameWidth() + 2));

  unitsRGrp_ = Named(new QGroupBox(QStringLiteral("Units"), this), "UnitsRGrp");
  unitsRGrp_->setMinimumSize(93, 65);
  englishButton_ = Named(new QRadioButton(QStringLiteral("English "), unitsRGrp_), "UnitsEnglish");
  metricButton_ = Named(new QRadioButton(QStringLiteral("Metric"), unitsRGrp_), "UnitsMetric");
  auto* units = new QVBoxLayout(unitsRGrp_);
  units->addWidget(englishButton_);
  units->addWidget(metricButton_);
  unitsButtons_ = new QButtonGroup(this);
  unitsButtons_->addButton(englishButton_, 0);
  unitsButtons_->addButton(metricButton_, 1);

  frequencyCheckBox_ = Named(new QCheckBox(QStringLiteral("Frequency"), this), "FrequencyCheckBox");

  dataTableGroupBox_ = Named(new QGroupBox(this), "DataTableGroupBox");
  stringGrid_ = Named(new PointGridView(dataTableGroupBox_), "StringGrid");
  gridModel_ = new PointGridModel(form_.Grid(), this);
  stringGrid_->setModel(gridModel_);
  QItemSelectionModel* plain = stringGrid_->selectionModel();
  auto* gate = new CellGate(gridModel_, stringGrid_);
  stringGrid_->setSelectionModel(gate);
  delete plain;
  auto* delegate = new CellEditorDelegate(stringGrid_);
  stringGrid_->setItemDelegate(delegate);
  stringGrid_->setSelectionMode(QAbstractItemView::NoSelection);
  stringGrid_->setEditTriggers(QAbstractItemView::NoEditTriggers);  // the editor is always open
  stringGrid_->setTabKeyNavigation(true);
  stringGrid_->verticalHeader()->hide();
  stringGrid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  stringGrid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  stringGrid_->horizontalHeader()->setSectionsClickable(false);
  stringGrid_->horizontalHeader()->setHighlightSections(false);
  stringGrid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  stringGrid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  // Room for the widest signal and flow the grid takes, in the cell and in its editor.
  const int columnWidth =
      std::max({50, CellWidth(*stringGrid_, {"9999.99", "13500", "6.00"}),
                SectionWidth(*stringGrid_->horizontalHeader(), {"Volts", "Freq", "Flow"})});
  stringGrid_->horizontalHeader()->setDefaultSectionSize(columnWidth);
  const int rowHeight = RowHeight(*stringGrid_, 18);
  stringGrid_->verticalHeader()->setMinimumSectionSize(rowHeight);
  stringGrid_->verticalHeader()->setDefaultSectionSize(rowHeight);
  stringGrid_->setFixedWidth(GridWidth(*stringGrid_));
  stringGrid_->setMinimumHeight(177);
  auto* table = new QVBoxLayout(dataTableGroupBox_);
  table->addWidget(stringGrid_);

  auto* chart = new QChart;
  chart->setTitle(QStringLiteral("Meter Response"));
  chart->legend()->hide();
  chart->setMargins(QMargins(2, 2, 2, 2));
  series1_ = new QLineSeries;
  series1_->setObjectName(QStringLiteral("Series1"));
  series1_->setPointsVisible(false);
  chart->addSeries(series1_);
  flowAxis_ = new QValueAxis;
  signalAxis_ = new QValueAxis;
  chart->addAxis(flowAxis_, Qt::AlignBottom);
  chart->addAxis(signalAxis_, Qt::AlignLeft);
  series1_->attachAxis(flowAxis_);
  series1_->attachAxis(signalAxis_);
  new ChartPaletteFollower(this, chart,
                           [this] { series1_->setPen(QPen(SecondCurveColour(*this))); });
  meterChart_ = Named(new QChartView(chart, this), "MeterChart");
  meterChart_->setMinimumSize(332, 153);
  meterChart_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  // How many ticks fit depends on the chart's size.
  connect(chart, &QChart::geometryChanged, this, [this] { ScaleAxes(); });

  closeButton_ = Button(this, "CloseButton", "Close", 75);
  closeButton_->setDefault(true);
  helpButton_ = Button(this, "HelpButton", "Help", 75);

  // The file buttons over the part number and description at the left, the units and the
  // signal kind at the right; below them the points beside their chart, and the Close and
  // Help buttons under the chart.
  auto* files = new QHBoxLayout;
  for (QPushButton* button :
       {newButton_, openButton_, saveButton_, saveAsButton_, importButton_, toolsButton_})
    files->addWidget(button);
  files->addStretch(1);
  auto* meter = new QGridLayout;
  meter->addWidget(partNumberLabel_, 0, 0);
  meter->addWidget(partNumberEdit_, 0, 1);
  meter->addWidget(descriptionLabel_, 1, 0, Qt::AlignTop);
  meter->addWidget(descriptionMemo_, 1, 1);
  meter->setColumnMinimumWidth(1, 296);
  auto* left = new QVBoxLayout;
  left->addLayout(files);
  left->addSpacing(8);
  left->addLayout(meter);
  auto* right = new QVBoxLayout;
  right->addWidget(unitsRGrp_);
  right->addWidget(frequencyCheckBox_);
  right->addStretch(1);
  auto* top = new QHBoxLayout;
  top->addLayout(left, 1);
  top->addSpacing(12);
  top->addLayout(right);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(closeButton_);
  buttons->addWidget(helpButton_);
  auto* response = new QVBoxLayout;
  response->addWidget(meterChart_, 1);
  response->addLayout(buttons);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(dataTableGroupBox_);
  bottom->addLayout(response, 1);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(10, 8, 8, 8);
  layout->addLayout(top);
  layout->addLayout(bottom, 1);
  resize(sizeHint().expandedTo(QSize(505, 331)));

  QWidget* order[] = {newButton_,    openButton_,        saveButton_,     saveAsButton_,
                      importButton_, toolsButton_,       partNumberEdit_, englishButton_,
                      metricButton_, frequencyCheckBox_, stringGrid_,     meterChart_,
                      closeButton_,  helpButton_,        descriptionMemo_};
  for (size_t i = 1; i < std::size(order); ++i)
    setTabOrder(order[i - 1], order[i]);

  connect(newButton_, &QPushButton::clicked, this, [this] { Run([this] { form_.New(); }); });
  connect(openButton_, &QPushButton::clicked, this, [this] { Run([this] { form_.Open(); }); });
  connect(saveButton_, &QPushButton::clicked, this, [this] { Run([this] { form_.Save(); }); });
  connect(saveAsButton_, &QPushButton::clicked, this, [this] { Run([this] { form_.Copy(); }); });
  connect(importButton_, &QPushButton::clicked, this, [this] { Run([this] { form_.Convert(); }); });
  connect(helpButton_, &QPushButton::clicked, this, [this] { RequestHelp(helpButton_); });
  connect(closeButton_, &QPushButton::clicked, this, [this] {
    bool close = false;
    Run([&] { close = form_.Close(); });
    if (close) accept();
  });

  connect(partNumberEdit_, &QLineEdit::textChanged, this, [this](const QString& text) {
    if (!syncing_) Run([&] { form_.SetPartNumber(ToCore(text)); });
  });
  // The memo has no handler: its lines are only stored, and mark nothing modified.
  connect(descriptionMemo_, &QPlainTextEdit::textChanged, this, [this] {
    if (!syncing_) form_.SetDescriptionLines(MemoLines(descriptionMemo_->toPlainText()));
  });
  connect(unitsButtons_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
    if (!syncing_ && checked) Run([&] { form_.SetMetric(id == 1); });
  });
  connect(frequencyCheckBox_, &QCheckBox::toggled, this, [this](bool checked) {
    if (!syncing_) Run([&] { form_.SetFrequency(checked); });
  });

  delegate->textEdited = [this](const QPersistentModelIndex& cell, const QString& text) {
    EditText(cell, text);
  };
  delegate->enterKey = [this] { Run([this] { form_.Grid().EnterKey(); }); };
  delegate->tabKey = [this](bool back) { TabKey(back); };
  delegate->arrowKey = [this](int rows, int columns) {
    const PointGrid& grid = form_.Grid();
    const int row = grid.CurrentRow() + rows;
    const int col = grid.CurrentCol() + columns;
    if (row >= 1 && row < grid.RowCount() && col >= kSignalColumn && col <= kFlowColumn)
      MoveTo(row, col);
  };
  stringGrid_->enterKey = delegate->enterKey;
  stringGrid_->focusIn = [this] {
    if (syncing_) return;
    if (QWidget* editor = stringGrid_->indexWidget(editorCell_)) editor->setFocus();
  };
  gate->allow = [this](const QModelIndex& index) {
    if (syncing_ || !index.isValid()) return true;
    MoveTo(index.row() + 1, index.column());
    return false;  // MoveTo has put the current cell where the grid says
  };
  focusWatch_ = connect(qApp, &QApplication::focusChanged, this,
                        [this](QWidget* old, QWidget* now) { GridFocusChanged(old, now); });

  SyncAll();
}

MeterEditor::~MeterEditor() {
  // The widgets going away move the focus; this window is no longer there to hear of it.
  disconnect(focusWatch_);
  // The grid reads the form, which goes before QDialog's destructor hides and frees the children.
  delete stringGrid_;
  delete gridModel_;
}

template <typename F>
void MeterEditor::Run(F&& handler) {
  Guarded(dialogs_, std::forward<F>(handler));
  SyncAll();
  ApplyFocus(form_.TakeFocus());
}

void MeterEditor::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) Run([this] { form_.FormActivate(); });
}

void MeterEditor::keyPressEvent(QKeyEvent* event) {
  // Help is the cancel button: Esc presses it rather than closing the window.
  if (event->key() == Qt::Key_Escape) {
    helpButton_->click();
    return;
  }
  QDialog::keyPressEvent(event);
}

void MeterEditor::RunTool(MeterTool tool) {
  Run([&] {
    std::optional<uint8_t> group;
    if (state_.projectState != ProjectState::NoProject) group = state_.header.Group();
    MeterToolForm tools(tool, form_.ShownMeter(), dialogs_, state_, group);
    if (tool == MeterTool::Blend && !tools.ChooseSecond()) return;
    MeterToolDialog dialog(tools, dialogs_, this);
    if (dialog.exec() != QDialog::Accepted || !dialog.SavedPath()) return;
    // Unsaved changes kept on screen: the new meter is on disk all the same.
    if (!form_.ShowSaved(*dialog.SavedPath()))
      dialogs_.Information("Saved as " + *dialog.SavedPath());
  });
}

void MeterEditor::ApplyFocus(FormFocus focus) {
  if (focus == FormFocus::Description) descriptionMemo_->setFocus();
  if (focus == FormFocus::PartNumber) partNumberEdit_->setFocus();
}

void MeterEditor::SyncAll() {
  QScopedValueRollback<bool> guard(syncing_, true);
  // The caption carries a path, which is the file system's text rather than a file's bytes.
  setWindowTitle(QString::fromStdString(form_.Caption()));
  const QString partNumber = FromCore(form_.PartNumber());
  if (partNumberEdit_->text() != partNumber) partNumberEdit_->setText(partNumber);
  const QString memo = MemoText(form_.DescriptionLines());
  if (descriptionMemo_->toPlainText() != memo) {
    descriptionMemo_->setPlainText(memo);
    descriptionMemo_->moveCursor(QTextCursor::Start);
  }
  (form_.Metric() ? metricButton_ : englishButton_)->setChecked(true);
  frequencyCheckBox_->setChecked(form_.Frequency());
  dataTableGroupBox_->setTitle(FromCore(form_.Grid().GroupCaption()));
  SyncGrid();
  SyncChart();
}

bool MeterEditor::GridHasFocus() const {
  QWidget* focus = QApplication::focusWidget();
  return focus != nullptr && (focus == stringGrid_ || stringGrid_->isAncestorOf(focus));
}

void MeterEditor::SyncGrid() {
  QScopedValueRollback<bool> guard(syncing_, true);
  const PointGrid& grid = form_.Grid();
  const int row = grid.CurrentRow() - 1;
  const int col = grid.CurrentCol();
  const bool focused = GridHasFocus();
  // An editor about to go gives the focus to its grid first; otherwise Qt would pass it on to
  // the next control, which would count as leaving the grid.
  const bool editorStays = editorCell_.isValid() && editorCell_.row() == row &&
                           editorCell_.column() == col && row < grid.RowCount() - 1;
  if (focused && !editorStays) stringGrid_->setFocus();

  gridModel_->Sync();
  const QModelIndex current = gridModel_->index(row, col);
  if (editorCell_.isValid() && editorCell_ != current)
    stringGrid_->closePersistentEditor(editorCell_);
  if (stringGrid_->selectionModel()->currentIndex() != current)
    stringGrid_->selectionModel()->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
  if (!stringGrid_->isPersistentEditorOpen(current)) stringGrid_->openPersistentEditor(current);
  editorCell_ = current;
  stringGrid_->scrollTo(current);
  if (focused) {
    if (QWidget* editor = stringGrid_->indexWidget(current)) editor->setFocus();
  }
}

void MeterEditor::SyncChart() {
  const PointGrid& grid = form_.Grid();
  flowAxis_->setTitleText(FromCore(grid.Cell(0, kFlowColumn)) + (form_.Metric()
                                                                     ? QStringLiteral(" (kg/hr)")
                                                                     : QStringLiteral(" (lb/hr)")));
  signalAxis_->setTitleText(FromCore(grid.Cell(0, kSignalColumn)));
  const std::vector<GraphPoint>& graph = grid.Graph();
  if (graph == plotted_) return;
  plotted_ = graph;
  QList<QPointF> points;
  for (const GraphPoint& p : graph)
    points.append(QPointF(p.x, p.y));
  series1_->replace(points);
  ScaleAxes();
}

void MeterEditor::ScaleAxes() {
  std::vector<ChartPoint> curve;
  for (const GraphPoint& p : plotted_)
    curve.push_back({p.x, p.y});
  ScaleAxesToCurves(*meterChart_->chart(), flowAxis_, signalAxis_, {&curve});
}

void MeterEditor::EditText(const QPersistentModelIndex& cell, const QString& text) {
  if (syncing_ || !cell.isValid()) return;
  Run([&] { form_.Grid().SetEditText(cell.row() + 1, cell.column(), ToCore(text)); });
}

void MeterEditor::MoveTo(int row, int col) {
  const PointGrid& grid = form_.Grid();
  if (row == grid.CurrentRow() && col == grid.CurrentCol()) return;
  Run([&] { form_.Grid().SelectCell(row, col); });
}

void MeterEditor::TabKey(bool back) {
  // Cell by cell along the rows, wrapping round at either end.
  const PointGrid& grid = form_.Grid();
  const int last = grid.RowCount() - 1;
  int row = grid.CurrentRow();
  int col = grid.CurrentCol();
  if (!back) {
    if (col == kSignalColumn) {
      col = kFlowColumn;
    } else {
      col = kSignalColumn;
      row = row == last ? 1 : row + 1;
    }
  } else if (col == kFlowColumn) {
    col = kSignalColumn;
  } else {
    col = kFlowColumn;
    row = row == 1 ? last : row - 1;
  }
  MoveTo(row, col);
}

void MeterEditor::GridFocusChanged(QWidget* old, QWidget* now) {
  // Leaving the grid for another control of this window; a message box or another window taking
  // the focus is not leaving it.
  if (syncing_ || !isVisible() || old == nullptr || now == nullptr) return;
  auto inGrid = [this](QWidget* w) { return w == stringGrid_ || stringGrid_->isAncestorOf(w); };
  if (!inGrid(old) || inGrid(now) || now->window() != this) return;
  Run([this] { form_.Grid().Exit(); });
}

}  // namespace vyk::ui
