#include "ui/main_window.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>
#include <QValidator>
#include <QValueAxis>
#include <algorithm>

#include "link/qt/qt_serial_port.h"
#include "link/sim_port.h"
#include "operations/box_operations.h"
#include "operations/image_grids.h"
#include "operations/main_controls.h"
#include "operations/port_choice.h"
#include "operations/project_commands.h"
#include "operations/start_up.h"
#include "ui/core_text.h"
#include "ui/error_guard.h"
#include "ui/help_window.h"

namespace vyk::ui {

// One of the two grids of the image: cells painted from the state, edited only when the cell
// editor closes. Row 0 and column 0 are the grid's own headers.
class ImageTableModel : public QAbstractTableModel {
 public:
  enum class Kind { Table, Bytes };
  ImageTableModel(Kind kind, MainWindow& form) : kind_(kind), form_(form) {}

  int rowCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : kind_ == Kind::Table ? kTableGridRows : kEepromGridRows;
  }
  int columnCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : kind_ == Kind::Table ? kTableGridColumns : kEepromGridColumns;
  }

  QVariant data(const QModelIndex& index, int role) const override {
    const int row = index.row();
    const int column = index.column();
    const AppState& st = form_.State();
    try {
      if (role == Qt::DisplayRole) {
        return FromCore(kind_ == Kind::Table ? TableGridCellText(st, column, row)
                                             : EepromGridCellText(st, column, row));
      }
      if (role == Qt::EditRole) {
        // The table's editor starts with the text last typed into the cell; the byte grid's
        // with the byte.
        if (kind_ == Kind::Table) return typed_.value(row * 2 + column);
        return FromCore(EepromGridGetEditText(st, column, row));
      }
    } catch (const std::exception&) {
      return QString("?");
    }
    if (role == Qt::BackgroundRole && (row == 0 || column == 0))
      return QApplication::palette().button();
    if (role == Qt::TextAlignmentRole) return int(Qt::AlignLeft | Qt::AlignTop);
    return {};
  }

  Qt::ItemFlags flags(const QModelIndex& index) const override {
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.row() > 0 && index.column() > 0) f |= Qt::ItemIsEditable;
    return f;
  }

  bool setData(const QModelIndex& index, const QVariant& value, int role) override {
    if (role != Qt::EditRole) return false;
    const QString text = value.toString();
    form_.Run([&] {
      if (kind_ == Kind::Table) {
        typed_[index.row() * 2 + index.column()] = text;
        TableGridSetEditText(form_.GetSession(), index.column(), index.row(), ToCore(text));
      } else {
        EepromGridSetEditText(form_.GetSession(), index.column(), index.row(), ToCore(text));
      }
    });
    Refresh();
    return true;
  }

  void Refresh() { emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1)); }

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

QTableView* MakeGrid(QWidget* parent, ImageTableModel* model, int columnWidth, int rowHeight,
                     const char* name) {
  auto* grid = new QTableView(parent);
  grid->setObjectName(name);
  grid->setModel(model);
  grid->horizontalHeader()->hide();
  grid->verticalHeader()->hide();
  grid->horizontalHeader()->setMinimumSectionSize(8);
  grid->verticalHeader()->setMinimumSectionSize(8);
  grid->horizontalHeader()->setDefaultSectionSize(columnWidth);
  grid->verticalHeader()->setDefaultSectionSize(rowHeight);
  grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                        QAbstractItemView::AnyKeyPressed);
  grid->setSelectionMode(QAbstractItemView::SingleSelection);
  QFont font = grid->font();
  font.setPointSize(7);
  grid->setFont(font);
  return grid;
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

MainWindow::MainWindow(const StartOptions& options, QWidget* parent)
    : QMainWindow(parent),
      options_(options),
      dialogs_(this),
      session_{state_, options.dialogs != nullptr ? *options.dialogs : dialogs_, *this, nullptr} {
  setWindowTitle("Vyk Interface");
  setProperty(kHelpContextProperty, kHelpMainWindow);
  resize(kDesignWidth, kDesignHeight);
  auto* central = new QWidget(this);
  setCentralWidget(central);
  BuildMenus();
  BuildPanel(central);
  BuildBody(central);
  BuildKeys();

  // The port is chosen at the first activation; until then writes go nowhere.
  session_.connectBox = [this](Session& s, uint8_t group) {
    box_.AnswerAsGroup(group);
    return ConnectBox(s, box_.Link(), group);
  };
  session_.listPorts = PresentSerialDevices;
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
  Link().terminalEcho = nullptr;
}

void MainWindow::BuildMenus() {
  QMenu* file = menuBar()->addMenu("&File");
  fileNew_ =
      file->addAction("&New", QKeySequence::New, [this] { Run([&] { FileNewClick(session_); }); });
  fileOpen_ = file->addAction("&Open", QKeySequence::Open,
                              [this] { Run([&] { FileOpenClick(session_); }); });
  fileSave_ = file->addAction("&Save", QKeySequence::Save,
                              [this] { Run([&] { FileSaveClick(session_); }); });
  fileSaveAs_ = file->addAction("Save &As", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
                                [this] { Run([&] { FileSaveAsClick(session_); }); });
  fileClose_ = file->addAction("&Close", [this] { Run([&] { FileCloseClick(session_); }); });
  file->addSeparator();
  file->addAction("E&xit", QKeySequence(Qt::CTRL | Qt::Key_Q), [this] { close(); });

  QMenu* edit = menuBar()->addMenu("&Edit");
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
  boxUpdate_ = box->addAction("&Update EEPROM ...",
                              [this] { Run([&] { BoxUpdateClick(session_, Link()); }); });
  boxRetrieve_ = box->addAction("&Retrieve EEPROM ...",
                                [this] { Run([&] { BoxRetrieveClick(session_, Link()); }); });
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

void MainWindow::BuildPanel(QWidget* central) {
  panel_ = new QWidget(central);
  panel_->setObjectName("TopPanel");
  panel_->setGeometry(0, 0, kDesignWidth, kPanelHeight);

  groupLabel_ = new QLabel(panel_);
  groupLabel_->setObjectName("GroupLabel");
  QFont big = groupLabel_->font();
  big.setBold(true);
  big.setPointSize(big.pointSize() + 6);
  groupLabel_->setFont(big);
  groupLabel_->setGeometry(8, 4, 80, 30);

  helpBtn_ = new QPushButton("How Do I ...", panel_);
  helpBtn_->setObjectName("HelpBtn");
  helpBtn_->setProperty(kHelpContextProperty, kHelpHowDoI);
  helpBtn_->setGeometry(8, 44, 80, 25);
  connect(helpBtn_, &QPushButton::clicked, this, [this] {
    if (windows_.helpContents) windows_.helpContents();
  });

  auto radioGroup = [&](const char* name, const char* title, int x, QRadioButton** buttons) {
    auto* box = new QGroupBox(title, panel_);
    box->setObjectName(name);
    box->setProperty(kHelpContextProperty, kHelpInputOutput);
    box->setGeometry(x, 2, 98, 70);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(6, 2, 2, 2);
    layout->setSpacing(0);
    const char* items[] = {"Voltage", "Frequency"};
    for (int i = 0; i < 2; ++i) {
      buttons[i] = new QRadioButton(items[i], box);
      layout->addWidget(buttons[i]);
    }
    return box;
  };
  inputRGrp_ = radioGroup("InputRGrp", "Input", 96, inputButtons_);
  outputRGrp_ = radioGroup("OutputRGrp", "Output", 196, outputButtons_);
  for (int i = 0; i < 2; ++i) {
    connect(inputButtons_[i], &QRadioButton::clicked, this,
            [this, i] { Run([&] { SetInputRGrp(session_, i); }); });
    connect(outputButtons_[i], &QRadioButton::clicked, this,
            [this, i] { Run([&] { SetOutputRGrp(session_, i); }); });
  }

  auto* adjusts = new QLabel("Adjusts", panel_);
  adjusts->setGeometry(298, 30, 44, 16);
  for (int k = 0; k < 4; ++k) {
    const int x = 344 + k * 44;
    auto* label = new QLabel(QString("Pot %1").arg(k + 1), panel_);
    label->setGeometry(x, 8, 40, 16);
    potEdits_[k] = new QLineEdit("0", panel_);
    potEdits_[k]->setObjectName(QString("Pot%1Edit").arg(k + 1));
    potEdits_[k]->setProperty(kHelpContextProperty, kHelpPots);
    potEdits_[k]->setGeometry(x, 28, 28, 20);
    potUp_[k] = new QToolButton(panel_);
    potUp_[k]->setObjectName(QString("Pot%1SpinUp").arg(k + 1));
    potUp_[k]->setArrowType(Qt::UpArrow);
    potUp_[k]->setProperty(kHelpContextProperty, kHelpPots);
    potUp_[k]->setGeometry(x + 28, 28, 12, 10);
    potDown_[k] = new QToolButton(panel_);
    potDown_[k]->setObjectName(QString("Pot%1SpinDown").arg(k + 1));
    potDown_[k]->setArrowType(Qt::DownArrow);
    potDown_[k]->setProperty(kHelpContextProperty, kHelpPots);
    potDown_[k]->setGeometry(x + 28, 38, 12, 10);
    connect(potUp_[k], &QToolButton::clicked, this,
            [this, k] { Run([&] { AdjustPot(session_, k + 1, +1); }); });
    connect(potDown_[k], &QToolButton::clicked, this,
            [this, k] { Run([&] { AdjustPot(session_, k + 1, -1); }); });
  }

  auto* limitLabel = new QLabel("Limit", panel_);
  limitLabel->setGeometry(298, 56, 30, 18);
  limitEdit_ = new QLineEdit(panel_);
  limitEdit_->setObjectName("LimitEdit");
  limitEdit_->setProperty(kHelpContextProperty, kHelpLimit);
  limitEdit_->setGeometry(330, 54, 50, 20);
  limitEdit_->installEventFilter(new LimitKeyFilter(limitEdit_));
  connect(limitEdit_, &QLineEdit::textEdited, this,
          [this](const QString& text) { Run([&] { SetLimitText(session_, ToCore(text)); }); });
  invertCBox_ = new QCheckBox("Invert Limit Output", panel_);
  invertCBox_->setObjectName("InvertCBox");
  invertCBox_->setGeometry(384, 54, 130, 20);
  connect(invertCBox_, &QCheckBox::clicked, this,
          [this](bool on) { Run([&] { SetInvertLimit(session_, on); }); });
  showHexCBox_ = new QCheckBox("Hex", panel_);
  showHexCBox_->setObjectName("ShowHexCBox");
  showHexCBox_->setGeometry(514, 54, 42, 20);
  connect(showHexCBox_, &QCheckBox::clicked, this,
          [this](bool on) { Run([&] { ShowHexCBoxClick(session_, on); }); });

  abortBtn_ = new QPushButton("Monitor", panel_);
  abortBtn_->setObjectName("AbortBtn");
  abortBtn_->setGeometry(kDesignWidth - 80, 4, 72, 25);
  connect(abortBtn_, &QPushButton::clicked, this,
          [this] { Run([&] { AbortBtnClick(session_, Link()); }); });
  sioLabel_ = new QLabel(panel_);
  sioLabel_->setObjectName("SIOLabel");
  sioLabel_->setGeometry(kDesignWidth - 80, 32, 78, 14);
  dataInLabel_ = new QLabel(panel_);
  dataInLabel_->setObjectName("DataInLabel");
  dataInLabel_->setGeometry(kDesignWidth - 80, 48, 80, 14);
  dataOutLabel_ = new QLabel(panel_);
  dataOutLabel_->setObjectName("DataOutLabel");
  dataOutLabel_->setGeometry(kDesignWidth - 80, 63, 80, 14);
  for (QLabel* label : {dataInLabel_, dataOutLabel_}) {
    QFont small = label->font();
    small.setPointSize(7);
    label->setFont(small);
  }
  learnLabel_ = new QLabel(panel_);
  learnLabel_->setObjectName("LearnLabel");
  learnLabel_->setGeometry(kDesignWidth - 80, 63, 78, 14);
  learnLabel_->hide();
}

void MainWindow::BuildBody(QWidget* central) {
  tableModel_ = new ImageTableModel(ImageTableModel::Kind::Table, *this);
  tableModel_->setParent(this);
  tableGrid_ = MakeGrid(central, tableModel_, 44, 14, "TableGrid");
  tableGrid_->setGeometry(0, kPanelHeight, 2 * 44 + 20, kDesignHeight - kPanelHeight - 60);

  vInLabel_ = new QLabel(central);
  vInLabel_->setObjectName("VInLabel");
  vInLabel_->setGeometry(2 * 44 + 36, kPanelHeight + 2, 400, 16);
  vOutLabel_ = new QLabel(central);
  vOutLabel_->setObjectName("VOutLabel");
  vOutLabel_->setGeometry(2 * 44 + 36, kPanelHeight + 18, 400, 16);

  eepromModel_ = new ImageTableModel(ImageTableModel::Kind::Bytes, *this);
  eepromModel_->setParent(this);
  eepromGrid_ = MakeGrid(central, eepromModel_, 20, 16, "EEPROMGrid");
  eepromGrid_->setTabKeyNavigation(true);
  eepromGrid_->hide();

  chart_ = new QChart();
  chart_->legend()->hide();
  chart_->setMargins(QMargins(2, 2, 2, 2));
  series1_ = new QLineSeries();
  series1_->setName("V Out");
  series1_->setColor(Qt::blue);
  series2_ = new QLineSeries();
  series2_->setName("Adjusted");
  series2_->setColor(Qt::red);
  chart_->addSeries(series1_);
  chart_->addSeries(series2_);
  axisX_ = new QValueAxis();
  axisY_ = new QValueAxis();
  axisX_->setTitleText("V In");
  axisY_->setTitleText("V Out");
  chart_->addAxis(axisX_, Qt::AlignBottom);
  chart_->addAxis(axisY_, Qt::AlignLeft);
  for (QLineSeries* s : {series1_, series2_}) {
    s->attachAxis(axisX_);
    s->attachAxis(axisY_);
  }
  chartView_ = new QChartView(chart_, central);
  chartView_->setObjectName("Chart1");
  chartView_->setProperty(kHelpContextProperty, kHelpChart);
  chartView_->setRenderHint(QPainter::Antialiasing);
  FormResize();
}

void MainWindow::BuildKeys() {
  // Keys that no text box claims for itself (Ctrl+U and Ctrl+E edit text on Linux).
  editMatch_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
  editMeter_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M));
  boxUpdate_->setShortcut(QKeySequence(Qt::Key_F6));
  boxRetrieve_->setShortcut(QKeySequence(Qt::Key_F7));
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
  tableGrid_->installEventFilter(new EnterMovesDown(tableGrid_));
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

  Link().onStatus = [this](const std::string& text) { sioLabel_->setText(FromCore(text)); };
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
    settingsFile_.Save({state_.portNumber, state_.baudRate, state_.portName, state_.portChosen});
  });
  state_.matchTable.reset();
  Link().Close();
  if (windows_.closed) windows_.closed();
  return true;
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  FormResize();
}

void MainWindow::FormResize() {
  if (tableGrid_ == nullptr || chartView_ == nullptr) return;
  const QRect outer = frameGeometry();
  const int h = outer.height() - kPanelHeight - 60;
  if (h > 0) {
    tableGrid_->resize(tableGrid_->width(), h);
    eepromGrid_->resize(eepromGrid_->width(), h - 40);
    chartView_->resize(chartView_->width(), h - 40);
  }
  const int top = vOutLabel_->y() + vOutLabel_->height() + 8;
  const int left = tableGrid_->width() + 16;
  eepromGrid_->move(left, top);
  chartView_->move(left, top);
  const int w = outer.width() - tableGrid_->width() - 32;
  if (w > 0) {
    eepromGrid_->resize(w, eepromGrid_->height());
    chartView_->resize(w, chartView_->height());
  }
  panel_->resize(centralWidget()->width(), kPanelHeight);
  for (QWidget* widget : {static_cast<QWidget*>(abortBtn_), static_cast<QWidget*>(sioLabel_),
                          static_cast<QWidget*>(learnLabel_), static_cast<QWidget*>(dataInLabel_),
                          static_cast<QWidget*>(dataOutLabel_)})
    widget->move(panel_->width() - 80, widget->y());
}

void MainWindow::ApplyLook(const WindowLook& look) {
  look_ = look;
  setWindowTitle(FromCore(look.caption));
  fileNew_->setEnabled(look.fileNew);
  fileOpen_->setEnabled(look.fileOpen);
  for (QAction* a : {editMeter_, boxOptions_, boxTerminal_, helpAbout_})
    a->setEnabled(look.otherCommands);
  const Controls& c = state_.controls;
  inputRGrp_->setEnabled(c.inputRGrpEnabled && look.modeControls);
  outputRGrp_->setEnabled(c.outputRGrpEnabled && look.modeControls);
  invertCBox_->setEnabled(look.modeControls);
  if (noticeLabel_ == nullptr) {
    noticeLabel_ = new QLabel(this);
    noticeLabel_->setObjectName("NoticeLabel");
    statusBar()->addWidget(noticeLabel_, 1);
  }
  noticeLabel_->setText(FromCore(look.notice));
  statusBar()->setVisible(!look.notice.empty());
  fileSave_->setEnabled(look.fileSave);
  fileSaveAs_->setEnabled(look.fileSaveAs);
  fileClose_->setEnabled(look.fileClose);
  editProject_->setEnabled(look.editProject);
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
  auto points = [](const std::vector<ChartPoint>& from) {
    QList<QPointF> list;
    for (const ChartPoint& p : from)
      list.append(QPointF(p.x, p.y));
    return list;
  };
  series1_->replace(points(c.series1));
  series2_->replace(points(c.series2));
  series1_->setName(FromCore(c.series1Title));
  axisX_->setTitleText(FromCore(c.bottomTitle));
  axisY_->setTitleText(FromCore(c.leftTitle));
  double maxX = 0;
  double maxY = 0;
  for (const auto* series : {&c.series1, &c.series2}) {
    for (const ChartPoint& p : *series) {
      maxX = std::max(maxX, static_cast<double>(p.x));
      maxY = std::max(maxY, static_cast<double>(p.y));
    }
  }
  axisX_->setRange(0, maxX > 0 ? maxX : 1);
  axisY_->setRange(0, maxY > 0 ? maxY * 1.05 : 1);
}

}  // namespace vyk::ui
