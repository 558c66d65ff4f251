#include "ui/main_window/main_window.h"

#include <QAbstractButton>
#include <QAbstractTableModel>
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLegend>
#include <QLineEdit>
#include <QLineSeries>
#include <QMenuBar>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyleOptionHeader>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>
#include <QValidator>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "link/qt/qt_serial_port.h"
#include "link/sim_port.h"
#include "operations/box/box_operations.h"
#include "operations/box/port_choice.h"
#include "operations/compare/project_report.h"
#include "operations/project/main_controls.h"
#include "operations/project/project_commands.h"
#include "operations/project/start_up.h"
#include "operations/project/undo_history.h"
#include "operations/table/grid_clipboard.h"
#include "operations/table/image_grids.h"
#include "report/pdf_report.h"
#include "storage/data_folder.h"
#include "ui/compare_window.h"
#include "ui/help/help_window.h"
#include "ui/range_edit_dialog.h"
#include "ui/widgets/chart_look.h"
#include "ui/widgets/core_text.h"
#include "ui/widgets/error_guard.h"
#include "ui/widgets/text_fit.h"

namespace vyk::ui {

// One of the two grids of the image: cells painted from the state, edited only when the cell
// editor closes. The grid's row 0 and column 0 are the view's headers, so they stay in sight
// when the grid scrolls: model row r is grid row r + 1, model column c is grid column c + 1.
class ImageTableModel : public QAbstractTableModel {
 public:
  enum class Kind { Table, Bytes };
  ImageTableModel(Kind kind, MainWindow& form) : kind_(kind), form_(form) {}

  int rowCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : (kind_ == Kind::Table ? kTableGridRows : kEepromGridRows) - 1;
  }
  int columnCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0
                            : (kind_ == Kind::Table ? kTableGridColumns : kEepromGridColumns) - 1;
  }

  // The text of a cell of the grid, headers included.
  QString CellText(int column, int row) const {
    const AppState& st = form_.State();
    try {
      return FromCore(kind_ == Kind::Table ? TableGridCellText(st, column, row)
                                           : EepromGridCellText(st, column, row));
    } catch (const std::exception&) {
      return QString("?");
    }
  }

  QVariant data(const QModelIndex& index, int role) const override {
    const int row = index.row() + 1;
    const int column = index.column() + 1;
    if (role == Qt::DisplayRole) return CellText(column, row);
    if (role == Qt::EditRole) {
      // The table's editor starts with the text last typed into the cell; the byte grid's
      // with the byte.
      if (kind_ == Kind::Table) return typed_.value(row * kTableGridColumns + column);
      try {
        return FromCore(EepromGridGetEditText(form_.State(), column, row));
      } catch (const std::exception&) {
        return QString("?");
      }
    }
    // In line with the row header's text.
    if (role == Qt::TextAlignmentRole) return int(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
  }

  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (role != Qt::DisplayRole) return QAbstractTableModel::headerData(section, orientation, role);
    return orientation == Qt::Horizontal ? CellText(section + 1, 0) : CellText(0, section + 1);
  }

  Qt::ItemFlags flags(const QModelIndex&) const override {
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
  }

  bool setData(const QModelIndex& index, const QVariant& value, int role) override {
    if (role != Qt::EditRole) return false;
    const QString text = value.toString();
    const int row = index.row() + 1;
    const int column = index.column() + 1;
    form_.Run([&] {
      if (kind_ == Kind::Table) {
        typed_[row * kTableGridColumns + column] = text;
        TableGridSetEditText(form_.GetSession(), column, row, ToCore(text));
      } else {
        EepromGridSetEditText(form_.GetSession(), column, row, ToCore(text));
      }
    });
    Refresh();
    return true;
  }

  void Refresh() {
    emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
    emit headerDataChanged(Qt::Vertical, 0, rowCount() - 1);
  }

 private:
  Kind kind_;
  MainWindow& form_;
  QHash<int, QString> typed_;
};

namespace {

constexpr int kPanelHeight = 81;
constexpr int kDesignWidth = 636;
constexpr int kDesignHeight = 436;

// The limit box lets only digits, ".", Backspace and Delete through.
class LimitKeyFilter : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::ShortcutOverride) {
      // Each key typed here is already stored in the project: Undo and Redo are the
      // project's, not the box's own.
      auto* key = static_cast<QKeyEvent*>(event);
      if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo) ||
          key->keyCombination() == QKeyCombination(Qt::CTRL, Qt::Key_Y)) {
        event->ignore();
        return true;
      }
    }
    if (event->type() == QEvent::KeyPress) {
      auto* key = static_cast<QKeyEvent*>(event);
      // A paste of nothing typing would let in changes nothing: it must not clear the
      // selection either. What a paste brings is filtered on its way in (LimitPasteFilter).
      if (key->matches(QKeySequence::Paste) &&
          LimitPasteText(ToCore(QGuiApplication::clipboard()->text())).empty())
        return true;
      const QString text = key->text();
      // Ctrl+V and the like are commands, whatever text they carry.
      const bool command =
          (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) !=
          Qt::NoModifier;
      if (!command && text.size() == 1 && text[0].unicode() >= 32 && text[0].unicode() != 127 &&
          !LimitKeyAccepted(static_cast<char>(text[0].unicode() < 128 ? text[0].unicode() : 0)))
        return true;
    }
    return QObject::eventFilter(watched, event);
  }
};

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

// A paste (or a drop) into the limit box keeps what typing the same characters would: the
// characters the key filter lets through; with none of them, nothing changes.
class LimitPasteFilter : public QValidator {
 public:
  explicit LimitPasteFilter(QLineEdit* edit) : QValidator(edit), before_(edit->text()) {}

  State validate(QString& text, int& pos) const override {
    // What replaced the selection: the text between the parts that stayed as they were.
    qsizetype head = 0;
    while (head < text.size() && head < before_.size() && text[head] == before_[head])
      ++head;
    qsizetype tail = 0;
    while (tail < text.size() - head && tail < before_.size() - head &&
           text[text.size() - 1 - tail] == before_[before_.size() - 1 - tail])
      ++tail;
    const QString inserted = text.mid(head, text.size() - head - tail);
    const QString kept = FromCore(LimitPasteText(ToCore(inserted)));
    if (kept.isEmpty() && !inserted.isEmpty()) return Invalid;  // the box takes it back
    if (kept != inserted) {
      text = text.left(head) + kept + text.right(tail);
      pos = static_cast<int>(head + kept.size());
    }
    before_ = text;
    return Acceptable;
  }

 private:
  // The text the box held after the last change; the program sets the box's text with its
  // signals blocked, so only the validator sees every change.
  mutable QString before_;
};

// The pot boxes only show the pots; their arrow keys press the spin arrows.
class PotKeyFilter : public QObject {
 public:
  PotKeyFilter(QObject* parent, QToolButton* up, QToolButton* down)
      : QObject(parent), up_(up), down_(down) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Up || key == Qt::Key_Down) {
        (key == Qt::Key_Up ? up_ : down_)->click();
        return true;
      }
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QToolButton* up_;
  QToolButton* down_;
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

QTableView* MakeGrid(QWidget* parent, ImageTableModel* model, const char* name) {
  auto* grid = new QTableView(parent);
  grid->setObjectName(name);
  grid->setModel(model);
  for (QHeaderView* header : {grid->horizontalHeader(), grid->verticalHeader()}) {
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setSectionsClickable(false);
  }
  if (auto* corner = grid->findChild<QAbstractButton*>(QString(), Qt::FindDirectChildrenOnly)) {
    corner->installEventFilter(new CornerCaption(corner));
    auto caption = [corner, model] { corner->setText(model->CellText(0, 0)); };
    QObject::connect(model, &QAbstractItemModel::headerDataChanged, corner, caption);
    caption();
  }
  grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                        QAbstractItemView::AnyKeyPressed);
  // A block of cells, as spreadsheets select them.
  grid->setSelectionMode(QAbstractItemView::ContiguousSelection);
  return grid;
}

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

void MainWindow::Run(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& e) {
    session_.dialogs.Error(e.what());
  }
  // Every exchange runs inside a handler, so the one that ran it closes the window here.
  if (closeAfterExchange_ && !state_.exchangeRunning) {
    closeAfterExchange_ = false;
    close();
  }
}

bool MainWindow::OpenAtStart(const std::string& project) {
  if (!project.empty() && isVisible()) Run([&] { OpenProjectFile(session_, project); });
  return isVisible();
}

MainWindow::MainWindow(const StartOptions& options, QWidget* parent)
    : QMainWindow(parent),
      options_(options),
      dialogs_(this),
      session_{state_, options.dialogs != nullptr ? *options.dialogs : dialogs_, *this, nullptr} {
  setWindowTitle("Vyk Interface");
  setProperty(kHelpContextProperty, kHelpMainWindow);
  auto* central = new QWidget(this);
  setCentralWidget(central);
  BuildMenus();
  BuildPanel(central);
  BuildBody(central);
  // The window starts large enough for the whole byte grid, which shares the chart's place.
  eepromGrid_->show();
  chartView_->hide();
  const QSize withBytes = sizeHint();
  eepromGrid_->hide();
  chartView_->show();
  resize(sizeHint().expandedTo(withBytes).expandedTo(QSize(kDesignWidth, kDesignHeight)));
  // Any smaller and the panel's labels would be cut: the window manager is told so.
  setMinimumSize(minimumSizeHint());
  // Tab follows the reading order: the panel from left to right, each block top to bottom,
  // then the table and the chart or byte grid beside it.
  QWidget* order[] = {helpBtn_,          inputButtons_[0], inputButtons_[1], outputButtons_[0],
                      outputButtons_[1], potEdits_[0],     potEdits_[1],     potEdits_[2],
                      potEdits_[3],      limitEdit_,       invertCBox_,      showHexCBox_,
                      abortBtn_,         tableGrid_,       chartView_,       eepromGrid_};
  for (size_t i = 1; i < std::size(order); ++i)
    setTabOrder(order[i - 1], order[i]);
  BuildKeys();

  // The port is chosen at the first activation; until then writes go nowhere.
  session_.connectBox = [this](Session& s, uint8_t group) {
    box_.AnswerAsGroup(group);
    return ConnectBox(s, box_.Link(), group);
  };
  session_.listPorts = PresentSerialDevices;
  session_.dataFolder = DataFolder(options_.dataDir);
  session_.openPort = [this](const std::string& device) {
    SimBoxConfig simulator;
    simulator.baud = options_.simulatorBaud;
    box_.Open(device, simulator);
  };

  std::string appFolder = options_.appFolder;
  if (appFolder.empty()) {
    // The program's own folder when it may write there (a build tree, a portable copy),
    // else the user's data folder.
    QString folder = QCoreApplication::applicationDirPath();
    if (!QFileInfo(folder).isWritable())
      folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    appFolder = QDir::toNativeSeparators(folder).toStdString();
  }
  if (appFolder.back() != kPathSeparator) appFolder += kPathSeparator;
  Run([&] { FormCreate(session_, appFolder); });
  move(QGuiApplication::primaryScreen()->availableGeometry().center() - rect().center());
}

MainWindow::~MainWindow() {
  // The link's callbacks point into this window.
  Link().onStatus = nullptr;
  Link().onLineLost = nullptr;
  Link().terminalEcho = nullptr;
  // The grids' headers read the state, which goes before QMainWindow's destructor hides and
  // frees the children.
  delete tableGrid_;
  delete eepromGrid_;
  // Hiding the window takes the focus from the limit box, whose handler needs a whole window.
  limitEdit_->disconnect(this);
  // Out of the chart, the adjusted curve is the window's own.
  if (!chart_->series().contains(series2_)) delete series2_;
}

void MainWindow::BuildMenus() {
  QMenu* file = menuBar()->addMenu("&File");
  fileNew_ =
      file->addAction("&New", QKeySequence::New, [this] { Run([&] { FileNewClick(session_); }); });
  fileOpen_ = file->addAction("&Open", QKeySequence::Open,
                              [this] { Run([&] { FileOpenClick(session_); }); });
  fileRecent_ = file->addMenu("Open &Recent");
  connect(fileRecent_, &QMenu::aboutToShow, this, [this] {
    fileRecent_->clear();
    for (const std::string& path : state_.recentProjects) {
      const QString name = QDir::toNativeSeparators(FromCore(path));
      fileRecent_->addAction(QString(name).replace('&', "&&"),
                             [this, path] { Run([&] { OpenRecentClick(session_, path); }); });
    }
  });
  fileSave_ = file->addAction("&Save", QKeySequence::Save,
                              [this] { Run([&] { FileSaveClick(session_); }); });
  fileSaveAs_ = file->addAction("Save &As", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
                                [this] { Run([&] { FileSaveAsClick(session_); }); });
  fileClose_ = file->addAction("&Close", [this] { Run([&] { FileCloseClick(session_); }); });
  file->addSeparator();
  fileCompare_ = file->addMenu("Co&mpare With");
  fileCompareFile_ = fileCompare_->addAction("&Project File ...", [this] {
    Run([&] { ShowComparison(CompareWithFileClick(session_)); });
  });
  fileCompareBox_ = fileCompare_->addAction("The &Box ...", [this] {
    RunTransfer([&](const auto& progress) {
      ShowComparison(CompareWithBoxClick(session_, Link(), progress("Reading")));
    });
  });
  fileExportReport_ = file->addAction("Export &Report ...", [this] {
    Run([&] { ExportReportClick(session_, report::ReportPdf); });
  });
  file->addSeparator();
  file->addAction("E&xit", QKeySequence(Qt::CTRL | Qt::Key_Q), [this] { close(); });

  QMenu* edit = menuBar()->addMenu("&Edit");
  editUndo_ = edit->addAction("&Undo", [this] { Run([&] { Undo(session_); }); });
  editRedo_ = edit->addAction("&Redo", [this] { Run([&] { Redo(session_); }); });
  editRange_ = edit->addAction("Ran&ge Edit ...", [this] { Run([&] { EditRangeClick(); }); });
  edit->addSeparator();
  editProject_ =
      edit->addAction("Project ...", [this] { Run([&] { EditProjectClick(session_); }); });
  editMatch_ = edit->addAction("&Match ...", [this] {
    Run([&] {
      if (windows_.editMatch) windows_.editMatch();
    });
  });
  editLearn_ = edit->addAction("&Learn ...", [this] { Run([&] { RefreshWindow(session_); }); });
  editLearn_->setVisible(false);
  edit->addSeparator();
  editMeter_ = edit->addAction("M&eter ...", [this] {
    Run([&] {
      if (windows_.editMeter) windows_.editMeter();
      RefreshWindow(session_);
    });
  });

  QMenu* box = menuBar()->addMenu("&Box");
  boxOptions_ = box->addAction("&Options ...", [this] { Run([&] { BoxOptionsClick(session_); }); });
  box->addSeparator();
  boxUpdate_ = box->addAction("&Update EEPROM ...", [this] {
    RunTransfer([&](const auto& progress) {
      BoxUpdateClick(session_, Link(), progress("Writing"), nullptr, progress("Reading"));
    });
  });
  boxRetrieve_ = box->addAction("&Retrieve EEPROM ...", [this] {
    RunTransfer(
        [&](const auto& progress) { BoxRetrieveClick(session_, Link(), progress("Reading")); });
  });
  boxBackups_ = box->addAction("&Backups ...", [this] {
    if (windows_.showBackups) windows_.showBackups();
  });
  boxHistory_ = box->addAction("&History ...", [this] {
    if (windows_.showHistory) windows_.showHistory();
  });
  box->addSeparator();
  boxTerminal_ = box->addAction("&Terminal ...", [this] {
    if (windows_.showTerminal) windows_.showTerminal();
  });

  QMenu* help = menuBar()->addMenu("&Help");
  help->addAction("&Contents ...", [this] {
    if (windows_.helpContents) windows_.helpContents();
  });
  help->addAction("Topic Search ...", [this] {
    if (windows_.helpTopicSearch) windows_.helpTopicSearch();
  });
  help->addSeparator();
  helpAbout_ = help->addAction("&About ...", [this] {
    if (windows_.showAbout) windows_.showAbout();
  });
}

void MainWindow::ShowComparison(const std::optional<Comparison>& comparison) {
  if (!comparison) return;
  auto* window = new CompareWindow(*comparison, this);
  window->show();
}

void MainWindow::BuildPanel(QWidget* central) {
  panel_ = new QWidget(central);
  panel_->setObjectName("TopPanel");
  panel_->setMinimumHeight(kPanelHeight);
  auto* panelLayout = new QHBoxLayout(panel_);
  panelLayout->setContentsMargins(8, 2, 8, 4);
  panelLayout->setSpacing(8);

  groupLabel_ = new QLabel(panel_);
  groupLabel_->setObjectName("GroupLabel");
  QFont big = groupLabel_->font();
  big.setBold(true);
  big.setPointSize(big.pointSize() + 6);
  groupLabel_->setFont(big);
  ReserveWidth(*groupLabel_, {"Ford", "GM", "Import"});

  helpBtn_ = new QPushButton("How Do I ...", panel_);
  helpBtn_->setObjectName("HelpBtn");
  helpBtn_->setProperty(kHelpContextProperty, kHelpHowDoI);
  helpBtn_->setMinimumWidth(80);
  connect(helpBtn_, &QPushButton::clicked, this, [this] {
    if (windows_.helpContents) windows_.helpContents();
  });
  auto* nameColumn = new QVBoxLayout;
  nameColumn->addWidget(groupLabel_);
  nameColumn->addWidget(helpBtn_);
  panelLayout->addLayout(nameColumn);

  auto radioGroup = [&](const char* name, const char* title, QRadioButton** buttons) {
    auto* box = new QGroupBox(title, panel_);
    box->setObjectName(name);
    box->setProperty(kHelpContextProperty, kHelpInputOutput);
    box->setMinimumSize(98, 70);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(6, 2, 2, 2);
    layout->setSpacing(0);
    const char* items[] = {"Voltage", "Frequency"};
    for (int i = 0; i < 2; ++i) {
      buttons[i] = new QRadioButton(items[i], box);
      layout->addWidget(buttons[i]);
    }
    panelLayout->addWidget(box);
    return box;
  };
  inputRGrp_ = radioGroup("InputRGrp", "Input", inputButtons_);
  outputRGrp_ = radioGroup("OutputRGrp", "Output", outputButtons_);
  for (int i = 0; i < 2; ++i) {
    connect(inputButtons_[i], &QRadioButton::clicked, this,
            [this, i] { Run([&] { SetInputRGrp(session_, i); }); });
    connect(outputButtons_[i], &QRadioButton::clicked, this,
            [this, i] { Run([&] { SetOutputRGrp(session_, i); }); });
  }

  // The pots in a row under their names, and the limit row under them.
  auto* controls = new QGridLayout;
  controls->setHorizontalSpacing(4);
  controls->setVerticalSpacing(2);
  controls->addWidget(new QLabel("Adjusts", panel_), 1, 0);
  for (int k = 0; k < 4; ++k) {
    auto* label = new QLabel(QString("Pot %1").arg(k + 1), panel_);
    controls->addWidget(label, 0, k + 1);
    potEdits_[k] = new QLineEdit("0", panel_);
    potEdits_[k]->setObjectName(QString("Pot%1Edit").arg(k + 1));
    potEdits_[k]->setProperty(kHelpContextProperty, kHelpPots);
    potEdits_[k]->setFixedWidth(std::max(28, EditWidth(*potEdits_[k], {"-128"})));
    const int arrowHeight = std::max(10, potEdits_[k]->sizeHint().height() / 2);
    potUp_[k] = new QToolButton(panel_);
    potUp_[k]->setObjectName(QString("Pot%1SpinUp").arg(k + 1));
    potUp_[k]->setArrowType(Qt::UpArrow);
    potUp_[k]->setProperty(kHelpContextProperty, kHelpPots);
    potDown_[k] = new QToolButton(panel_);
    potDown_[k]->setObjectName(QString("Pot%1SpinDown").arg(k + 1));
    potDown_[k]->setArrowType(Qt::DownArrow);
    potDown_[k]->setProperty(kHelpContextProperty, kHelpPots);
    auto* arrows = new QVBoxLayout;
    arrows->setSpacing(0);
    for (QToolButton* arrow : {potUp_[k], potDown_[k]}) {
      // The arrows step the pot with the mouse; as in a spin box, they are no Tab stops.
      arrow->setFocusPolicy(Qt::NoFocus);
      arrow->setFixedSize(std::max(12, arrowHeight), arrowHeight);
      arrows->addWidget(arrow);
    }
    auto* pot = new QHBoxLayout;
    pot->setSpacing(0);
    pot->addWidget(potEdits_[k]);
    pot->addLayout(arrows);
    pot->addStretch(1);
    controls->addLayout(pot, 1, k + 1);
    connect(potUp_[k], &QToolButton::clicked, this,
            [this, k] { Run([&] { AdjustPot(session_, k + 1, +1); }); });
    connect(potDown_[k], &QToolButton::clicked, this,
            [this, k] { Run([&] { AdjustPot(session_, k + 1, -1); }); });
  }

  controls->addWidget(new QLabel("Limit", panel_), 2, 0);
  limitEdit_ = new QLineEdit(panel_);
  limitEdit_->setObjectName("LimitEdit");
  limitEdit_->setProperty(kHelpContextProperty, kHelpLimit);
  limitEdit_->setFixedWidth(std::max(50, EditWidth(*limitEdit_, {"13500", "4.995"})));
  limitEdit_->installEventFilter(new LimitKeyFilter(limitEdit_));
  connect(limitEdit_, &QLineEdit::textEdited, this,
          [this](const QString& text) { Run([&] { SetLimitText(session_, ToCore(text)); }); });
  invertCBox_ = new QCheckBox("Invert Limit Output", panel_);
  invertCBox_->setObjectName("InvertCBox");
  connect(invertCBox_, &QCheckBox::clicked, this,
          [this](bool on) { Run([&] { SetInvertLimit(session_, on); }); });
  showHexCBox_ = new QCheckBox("Hex", panel_);
  showHexCBox_->setObjectName("ShowHexCBox");
  connect(showHexCBox_, &QCheckBox::clicked, this,
          [this](bool on) { Run([&] { ShowHexCBoxClick(session_, on); }); });
  auto* limitRow = new QHBoxLayout;
  limitRow->setSpacing(8);
  limitRow->addWidget(limitEdit_);
  limitRow->addWidget(invertCBox_);
  limitRow->addWidget(showHexCBox_);
  limitRow->addStretch(1);
  // The limit row is wider than the pots: it takes a column of its own beyond them.
  controls->addLayout(limitRow, 2, 1, 1, 5);
  controls->setColumnStretch(5, 1);
  panelLayout->addLayout(controls);
  panelLayout->addStretch(1);

  // The Box: the main button, the line's state and the last reading.
  abortBtn_ = new QPushButton("Monitor", panel_);
  abortBtn_->setObjectName("AbortBtn");
  ReserveWidth(*abortBtn_, {"Monitor", "Connect", "Abort"});
  abortBtn_->setMinimumWidth(std::max(72, abortBtn_->minimumWidth()));
  connect(abortBtn_, &QPushButton::clicked, this,
          [this] { Run([&] { AbortBtnClick(session_, Link()); }); });
  sioLabel_ = new QLabel(panel_);
  sioLabel_->setObjectName("SIOLabel");
  ReserveWidth(*sioLabel_, {"(not connected)", "Partial 00..FF", "C4F7F", "Idle (simulated)"});
  dataInLabel_ = new QLabel(panel_);
  dataInLabel_->setObjectName("DataInLabel");
  dataOutLabel_ = new QLabel(panel_);
  dataOutLabel_->setObjectName("DataOutLabel");
  for (QLabel* label : {dataInLabel_, dataOutLabel_})
    ReserveWidth(*label, {"F Out =  13500 ", "V Out =  4.995 ", "F in =  13500 "});
  learnLabel_ = new QLabel(panel_);
  learnLabel_->setObjectName("LearnLabel");
  learnLabel_->hide();
  // The labels keep their place while the button hides without a project.
  QSizePolicy keep = abortBtn_->sizePolicy();
  keep.setRetainSizeWhenHidden(true);
  abortBtn_->setSizePolicy(keep);
  auto* boxColumn = new QVBoxLayout;
  boxColumn->setSpacing(0);
  boxColumn->addWidget(abortBtn_);
  boxColumn->addSpacing(2);
  for (QLabel* label : {sioLabel_, dataInLabel_, dataOutLabel_, learnLabel_})
    boxColumn->addWidget(label);
  boxColumn->addStretch(1);
  panelLayout->addLayout(boxColumn);
}

void MainWindow::BuildBody(QWidget* central) {
  tableModel_ = new ImageTableModel(ImageTableModel::Kind::Table, *this);
  tableModel_->setParent(this);
  tableGrid_ = MakeGrid(central, tableModel_, "TableGrid");
  tableGrid_->setProperty(kHelpContextProperty, kHelpTableGrid);
  tableGrid_->setTabKeyNavigation(false);  // Tab goes on to the next control
  FitGrid(tableGrid_, 44, 14, {" 13500 ", " 4.995 ", "****", "3000", "?"}, {"V Out", "F Out"},
          {" 6.000 ", " 13500 ", "V in", "F in"});
  tableGrid_->setFixedWidth(GridWidth(*tableGrid_));

  vInLabel_ = new QLabel(central);
  vInLabel_->setObjectName("VInLabel");
  vOutLabel_ = new QLabel(central);
  vOutLabel_->setObjectName("VOutLabel");

  eepromModel_ = new ImageTableModel(ImageTableModel::Kind::Bytes, *this);
  eepromModel_->setParent(this);
  eepromGrid_ = MakeGrid(central, eepromModel_, "EEPROMGrid");
  // Hexadecimal reads best in columns of equal digits.
  QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  fixed.setPointSizeF(eepromGrid_->font().pointSizeF());
  eepromGrid_->setFont(fixed);
  QStringList bytes, columns, rows;
  for (int i = 0; i < 256; ++i)
    bytes.append(QString(" %1 ").arg(i, 2, 16, QChar('0')).toUpper());
  for (int i = 0; i < 16; ++i) {
    columns.append(QString(" %1 ").arg(i, 1, 16).toUpper());
    rows.append(QString(" %1 ").arg(i * 16, 2, 16, QChar('0')).toUpper());
  }
  FitGrid(eepromGrid_, 20, 16, bytes, columns, rows);
  eepromGrid_->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
  eepromGrid_->setTabKeyNavigation(true);
  eepromGrid_->setProperty(kHelpContextProperty, kHelpHexGrid);
  eepromGrid_->hide();

  chart_ = new QChart();
  chart_->legend()->setAlignment(Qt::AlignTop);
  chart_->setMargins(QMargins(2, 2, 2, 2));
  series1_ = new QLineSeries();
  series1_->setName("V Out");
  series2_ = new QLineSeries();
  series2_->setName("Adjusted");
  chart_->addSeries(series1_);
  axisX_ = new QValueAxis();
  axisY_ = new QValueAxis();
  axisX_->setTitleText("V In");
  axisY_->setTitleText("V Out");
  chart_->addAxis(axisX_, Qt::AlignBottom);
  chart_->addAxis(axisY_, Qt::AlignLeft);
  series1_->attachAxis(axisX_);
  series1_->attachAxis(axisY_);
  new ChartPaletteFollower(this, chart_, [this] {
    series1_->setColor(TableCurveColour(*this));
    series2_->setColor(SecondCurveColour(*this));
  });
  chartView_ = new QChartView(chart_, central);
  chartView_->setObjectName("Chart1");
  chartView_->setProperty(kHelpContextProperty, kHelpChart);
  chartView_->setRenderHint(QPainter::Antialiasing);
  // How many ticks fit depends on the chart's size.
  connect(chart_, &QChart::geometryChanged, this, [this] { ScaleAxes(); });
  chartView_->setMinimumSize(200, 120);

  // The table at the left; the meter labels and, under them in one place, the chart or the
  // byte grid.
  auto* meters = new QVBoxLayout;
  meters->setSpacing(0);
  meters->addWidget(vInLabel_);
  meters->addWidget(vOutLabel_);
  meters->addSpacing(8);
  meters->addWidget(chartView_, 1);
  meters->addWidget(eepromGrid_, 1);
  auto* body = new QHBoxLayout;
  body->setContentsMargins(4, 0, 8, 8);
  body->setSpacing(12);
  body->addWidget(tableGrid_);
  body->addLayout(meters, 1);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(panel_);
  layout->addLayout(body, 1);
}

void MainWindow::BuildKeys() {
  // Keys that no text box claims for itself (Ctrl+U and Ctrl+E edit text on Linux).
  editMatch_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
  editMeter_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M));
  boxUpdate_->setShortcut(QKeySequence(Qt::Key_F6));
  boxRetrieve_->setShortcut(QKeySequence(Qt::Key_F7));
  editUndo_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  editRedo_->setShortcuts(
      {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
  editRange_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
  ShowUndoEntries();
  // The button and the box are not in a menu: their keys are window actions, named in the
  // tooltips.
  auto press = [this](QAbstractButton* button, const QKeySequence& key, const QString& tip) {
    auto* action = new QAction(this);
    action->setShortcut(key);
    connect(action, &QAction::triggered, button, &QAbstractButton::click);
    addAction(action);
    button->setToolTip(tip + " (" + key.toString(QKeySequence::NativeText) + ")");
  };
  press(abortBtn_, QKeySequence(Qt::Key_F5), "Connect, Monitor or Abort");
  press(showHexCBox_, QKeySequence(Qt::CTRL | Qt::Key_H), "The image's bytes instead of the chart");

  for (int k = 0; k < 4; ++k) {
    potEdits_[k]->setReadOnly(true);
    potEdits_[k]->installEventFilter(new PotKeyFilter(potEdits_[k], potUp_[k], potDown_[k]));
  }
  limitEdit_->setValidator(new LimitPasteFilter(limitEdit_));
  // Leaving the box ends its change, and it shows the limit as stored.
  connect(limitEdit_, &QLineEdit::editingFinished, this,
          [this] { Run([&] { EndLimitEdit(session_); }); });
  tableGrid_->installEventFilter(new EnterMovesDown(tableGrid_));

  // The grids' own keys and context menus: copy and paste, and the table's range edits.
  for (QTableView* grid : {tableGrid_, eepromGrid_}) {
    auto* copy = new QAction("&Copy", grid);
    copy->setShortcut(QKeySequence::Copy);
    connect(copy, &QAction::triggered, this, [this, grid] { CopyCells(grid); });
    auto* paste = new QAction("&Paste", grid);
    paste->setShortcut(QKeySequence::Paste);
    connect(paste, &QAction::triggered, this, [this, grid] { PasteCells(grid); });
    for (QAction* a : {copy, paste}) {
      a->setShortcutContext(Qt::WidgetShortcut);  // a cell's editor keeps its own
      grid->addAction(a);
    }
    grid->setContextMenuPolicy(Qt::ActionsContextMenu);
  }
  auto* separator = new QAction(tableGrid_);
  separator->setSeparator(true);
  tableGrid_->addAction(separator);
  tableGrid_->addAction(editRange_);
}

void MainWindow::ShowUndoEntries() {
  const UndoMenuLook look = UndoMenu(session_);
  editUndo_->setText(FromCore("&" + look.undoText));
  editUndo_->setEnabled(look.undo);
  editRedo_->setText(FromCore("&" + look.redoText));
  editRedo_->setEnabled(look.redo);
}

void MainWindow::HistoryChanged() {
  ShowUndoEntries();
}

void MainWindow::StatusMessage(const std::string& text) {
  statusBar()->showMessage(FromCore(text));
  ShowStatusBar();
}

void MainWindow::RunTransfer(
    const std::function<void(const std::function<TransferProgress(const char*)>& progress)>&
        handler) {
  statusBar()->clearMessage();
  const auto progress = [this](const char* what) -> TransferProgress {
    return [this, what](int done) { ShowProgress(QString::fromLatin1(what), done); };
  };
  Run([&] { handler(progress); });
  ShowProgress({}, -1);
}

void MainWindow::ShowProgress(const QString& what, int done) {
  if (progressBar_ == nullptr) return;
  progressBar_->setVisible(done >= 0);
  if (done >= 0) {
    progressBar_->setFormat(what + QStringLiteral(" %v of %m"));
    progressBar_->setValue(done);
  }
  ShowStatusBar();
}

void MainWindow::ShowStatusBar() {
  // A finished operation's message shows until the next notice or transfer replaces it.
  const bool transfer = progressBar_ != nullptr && !progressBar_->isHidden();
  statusBar()->setVisible(!look_.notice.empty() || look_.simulatedBox || transfer ||
                          !statusBar()->currentMessage().isEmpty());
}

namespace {

// The grid rows and columns (headers included) of a grid's selected cells, or of its current
// cell when nothing is selected; nothing when it has neither.
std::optional<CellRange> SelectedCells(const QTableView& grid) {
  QModelIndexList cells = grid.selectionModel()->selectedIndexes();
  if (cells.isEmpty() && grid.currentIndex().isValid()) cells.append(grid.currentIndex());
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

}  // namespace

void MainWindow::CopyCells(QTableView* grid) {
  const auto range = SelectedCells(*grid);
  if (!range) return;
  Run([&] {
    const ImageGrid which = grid == tableGrid_ ? ImageGrid::Table : ImageGrid::Bytes;
    QGuiApplication::clipboard()->setText(FromCore(vyk::CopyCells(state_, which, *range)));
  });
}

void MainWindow::PasteCells(QTableView* grid) {
  const auto range = SelectedCells(*grid);
  if (!range) return;
  const std::string text = ToCore(QGuiApplication::clipboard()->text());
  Run([&] {
    if (grid == tableGrid_) {
      TableGridPaste(session_, range->top, text);
    } else {
      EepromGridPaste(session_, range->left, range->top, text);
    }
  });
}

void MainWindow::EditRangeClick() {
  const auto range = SelectedCells(*tableGrid_);
  if (!range) {
    session_.dialogs.Error("Select the rows of the table to edit first");
    return;
  }
  RangeEditDialog dialog(this, session_);
  dialog.Run(range->top - 1, range->bottom - 1);
}

QWidget* MainWindow::Control(const char* name) const {
  return findChild<QWidget*>(name);
}

void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!activated_) FormActivate();
}

void MainWindow::FormActivate() {
  if (activated_) return;
  activated_ = true;
  StoredSettings settings = settingsFile_.Load();
  state_.portNumber = settings.comPort;
  state_.baudRate = settings.baudRate;
  state_.portName = settings.portName;
  state_.portChosen = settings.namesPort;
  state_.backupBeforeUpdate = settings.backupBeforeUpdate;
  state_.previewBeforeUpdate = settings.previewBeforeUpdate;
  state_.recentProjects = settings.recentProjects;
  restoreGeometry(QByteArray::fromBase64(QByteArray::fromStdString(settings.windowGeometry)));

  Link().onStatus = [this](const std::string& text) { sioLabel_->setText(FromCore(text)); };
  // A line lost between exchanges shows at once; an exchange shows it when it ends.
  Link().onLineLost = [this] {
    if (!state_.exchangeRunning) Run([&] { RefreshWindow(session_); });
  };
  // Without a port the program runs on; every exchange will time out.
  Run([&] { OpenStartPort(session_, options_.port); });
  Run([&] { RefreshWindow(session_); });
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (state_.exchangeRunning) {
    // The exchange's waits are below on the stack: abort it, and close once it has ended.
    state_.abortRequest = true;
    closeAfterExchange_ = true;
    event->ignore();
    return;
  }
  if (FormClose()) {
    event->accept();
  } else {
    event->ignore();
  }
}

bool MainWindow::FormClose() {
  bool mayClose = false;
  Run([&] { mayClose = QuerySaveChanges(session_); });
  if (!mayClose) return false;
  // A settings file that cannot be written is reported; the window still closes.
  Run([&] {
    settingsFile_.Save({state_.portNumber, state_.baudRate, state_.portName, state_.portChosen,
                        state_.backupBeforeUpdate, state_.previewBeforeUpdate,
                        saveGeometry().toBase64().toStdString(), state_.recentProjects});
  });
  state_.matchTable.reset();
  Link().Close();
  if (windows_.closed) windows_.closed();
  return true;
}

void MainWindow::ApplyLook(const WindowLook& look) {
  const std::string previousNotice = look_.notice;
  look_ = look;
  setWindowTitle(FromCore(look.caption));
  fileNew_->setEnabled(look.fileNew);
  fileOpen_->setEnabled(look.fileOpen);
  fileRecent_->setEnabled(look.fileOpen && !state_.recentProjects.empty());
  for (QAction* a : {editMeter_, boxOptions_, boxTerminal_, boxBackups_, boxHistory_, helpAbout_})
    a->setEnabled(look.otherCommands);
  const Controls& c = state_.controls;
  inputRGrp_->setEnabled(c.inputRGrpEnabled && look.modeControls);
  outputRGrp_->setEnabled(c.outputRGrpEnabled && look.modeControls);
  invertCBox_->setEnabled(look.modeControls);
  if (noticeLabel_ == nullptr) {
    noticeLabel_ = new QLabel(this);
    noticeLabel_->setObjectName("NoticeLabel");
    noticeLabel_->setWordWrap(true);  // a long notice takes a second line, never cut
    statusBar()->addWidget(noticeLabel_, 1);
    progressBar_ = new QProgressBar(this);
    progressBar_->setObjectName("ProgressBar");
    progressBar_->setRange(0, kBoxBytes);
    // Wide enough for its longest text inside the bar.
    progressBar_->setMinimumWidth(
        progressBar_->fontMetrics().horizontalAdvance("Writing 80 of 80") +
        progressBar_->fontMetrics().averageCharWidth() * 8);
    progressBar_->hide();
    statusBar()->addPermanentWidget(progressBar_);
    simulatedLabel_ = new QLabel("Simulated Box", this);
    simulatedLabel_->setObjectName("SimulatedBoxLabel");
    simulatedLabel_->setForegroundRole(QPalette::Link);
    simulatedLabel_->setToolTip(
        "The Box on this port is simulated: no hardware is written. Box > Options chooses the "
        "port of a real Box.");
    statusBar()->addPermanentWidget(simulatedLabel_);
  }
  // A notice of the state replaces the message of the last operation.
  if (!look.notice.empty() && look.notice != previousNotice) statusBar()->clearMessage();
  noticeLabel_->setText(FromCore(look.notice));
  noticeLabel_->setVisible(!look.notice.empty());
  simulatedLabel_->setVisible(look.simulatedBox);
  // The status bar's texts change what the window needs: never smaller than all of it.
  setMinimumSize(minimumSizeHint());
  ShowStatusBar();
  fileSave_->setEnabled(look.fileSave);
  fileSaveAs_->setEnabled(look.fileSaveAs);
  fileClose_->setEnabled(look.fileClose);
  // Comparing and the report change nothing: they need a project, and the Box its Retrieve.
  fileCompareFile_->setEnabled(look.fileClose);
  fileCompareBox_->setEnabled(look.boxRetrieve);
  fileCompare_->setEnabled(look.fileClose || look.boxRetrieve);
  fileExportReport_->setEnabled(look.fileClose);
  editProject_->setEnabled(look.editProject);
  editRange_->setEnabled(look.projectControls);
  ShowUndoEntries();
  editMatch_->setEnabled(look.editMatch);
  editLearn_->setEnabled(look.editLearn);
  boxUpdate_->setEnabled(look.boxUpdate);
  boxRetrieve_->setEnabled(look.boxRetrieve);
  for (int k = 0; k < 4; ++k) {
    potEdits_[k]->setEnabled(look.projectControls);
    potUp_[k]->setEnabled(look.projectControls);
    potDown_[k]->setEnabled(look.projectControls);
  }
  for (QWidget* w : {static_cast<QWidget*>(limitEdit_), static_cast<QWidget*>(showHexCBox_),
                     static_cast<QWidget*>(tableGrid_), static_cast<QWidget*>(eepromGrid_),
                     static_cast<QWidget*>(chartView_)})
    w->setEnabled(look.projectControls);
  abortBtn_->setEnabled(look.abortBtnEnabled);
  abortBtn_->setVisible(look.abortBtnVisible);
  abortBtn_->setText(FromCore(look.abortBtnCaption));
  sioLabel_->setText(FromCore(look.sioLabel));
  // The simulated Box's state reads apart from a real one's at a glance.
  QFont sioFont = sioLabel_->font();
  sioFont.setItalic(look.simulatedBox);
  sioLabel_->setFont(sioFont);
  sioLabel_->setForegroundRole(look.simulatedBox ? QPalette::Link : QPalette::WindowText);
  vInLabel_->setText(FromCore(look.vInLabel));
  vOutLabel_->setText(FromCore(look.vOutLabel));
  groupLabel_->setText(FromCore(state_.controls.groupLabel));
}

void MainWindow::RepaintTableGrid() {
  tableModel_->Refresh();
}

void MainWindow::RepaintEepromGrid() {
  eepromModel_->Refresh();
}

void MainWindow::ControlsChanged() {
  const Controls& c = state_.controls;
  const QSignalBlocker blocks[] = {QSignalBlocker(limitEdit_), QSignalBlocker(invertCBox_),
                                   QSignalBlocker(showHexCBox_)};
  for (int i = 0; i < 2; ++i) {
    QSignalBlocker a(inputButtons_[i]);
    QSignalBlocker b(outputButtons_[i]);
    inputButtons_[i]->setChecked(c.inputRGrp == i);
    outputButtons_[i]->setChecked(c.outputRGrp == i);
  }
  inputRGrp_->setEnabled(c.inputRGrpEnabled && look_.modeControls);
  outputRGrp_->setEnabled(c.outputRGrpEnabled && look_.modeControls);
  if (limitEdit_->text() != FromCore(c.limitText)) limitEdit_->setText(FromCore(c.limitText));
  invertCBox_->setChecked(c.invertLimit);
  showHexCBox_->setChecked(c.showHex);
  eepromGrid_->setVisible(c.showHex);
  chartView_->setVisible(!c.showHex);
  for (int k = 0; k < 4; ++k)
    potEdits_[k]->setText(FromCore(c.potTexts[k]));
  groupLabel_->setText(FromCore(c.groupLabel));
  dataInLabel_->setText(FromCore(c.dataInLabel));
  dataOutLabel_->setText(FromCore(c.dataOutLabel));
  learnLabel_->setText(FromCore(c.learnLabel));
}

void MainWindow::ChartChanged() {
  const Chart& c = state_.chart;
  series1_->replace(CurvePoints(c.series1));
  series2_->replace(CurvePoints(c.series2));
  series1_->setName(FromCore(c.series1Title));
  axisX_->setTitleText(FromCore(c.bottomTitle));
  axisY_->setTitleText(FromCore(c.leftTitle));
  // The legend names only the curves on show, so the adjusted curve is in the chart only
  // while there is a reading: a legend marker hidden and shown again keeps an empty place, and
  // its square lands on the other one's.
  const bool adjusted = chart_->series().contains(series2_);
  if (adjusted && c.series2.empty()) {
    chart_->removeSeries(series2_);
  } else if (!adjusted && !c.series2.empty()) {
    chart_->addSeries(series2_);
    series2_->attachAxis(axisX_);
    series2_->attachAxis(axisY_);
    series2_->setColor(SecondCurveColour(*this));  // the chart gave it its theme's
  }
  ScaleAxes();
}

void MainWindow::ScaleAxes() {
  ScaleAxesToCurves(*chart_, axisX_, axisY_, {&state_.chart.series1, &state_.chart.series2});
}

}  // namespace vyk::ui
