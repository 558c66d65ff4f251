#include "ui/match_window.h"

#include <QAbstractTableModel>
#include <QComboBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScreen>
#include <QShowEvent>
#include <QTableView>
#include <iterator>

#include "ui/core_text.h"
#include "ui/error_guard.h"
#include "ui/help_context.h"

namespace vyk::ui {

// The 256 rows of the match table. Texts are made as the view paints a cell, so the rows that
// are scrolled out of sight cost nothing.
class MatchGridModel : public QAbstractTableModel {
 public:
  MatchGridModel(const AppState& state, const MatchDialog& dialog, QObject* parent)
      : QAbstractTableModel(parent), state_(state), dialog_(dialog) {}

  int rowCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : kMatchSlots;
  }
  int columnCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : 3;
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (role != Qt::DisplayRole || !index.isValid()) return {};
    return FromCore(MatchGridCellText(state_, dialog_, index.column(), index.row() + 1));
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section > 2)
      return {};
    return FromCore(dialog_.headers[section]);
  }
  // Cells can be typed into, but nothing reads what is typed.
  Qt::ItemFlags flags(const QModelIndex& index) const override {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable
                           : Qt::NoItemFlags;
  }
  bool setData(const QModelIndex&, const QVariant&, int) override { return false; }

  void Repaint() {
    emit dataChanged(index(0, 0), index(kMatchSlots - 1, 2), {Qt::DisplayRole});
    emit headerDataChanged(Qt::Horizontal, 0, 2);
  }

 private:
  const AppState& state_;
  const MatchDialog& dialog_;
};

namespace {

template <typename W>
W* Named(W* widget, const char* name) {
  widget->setObjectName(QLatin1String(name));
  return widget;
}

QLabel* Label(QWidget* parent, const char* name, const QString& text, QPoint at) {
  auto* label = Named(new QLabel(text, parent), name);
  label->move(at);
  label->adjustSize();
  return label;
}

QPushButton* Button(QWidget* parent, const char* name, const char* caption, QRect geometry) {
  auto* button = Named(new QPushButton(QString::fromLatin1(caption), parent), name);
  button->setGeometry(geometry);
  button->setAutoDefault(false);
  return button;
}

QComboBox* List(QWidget* parent, const char* name, QRect geometry) {
  auto* combo = Named(new QComboBox(parent), name);
  combo->setEditable(false);  // a drop-down list: no typing
  combo->setGeometry(geometry);
  return combo;
}

// The lists hold file names as the file system spells them: UTF-8, not file texts.
void FillList(QComboBox* combo, const std::vector<std::string>& items) {
  combo->clear();
  for (const std::string& item : items)
    combo->addItem(QString::fromStdString(item));
}

}  // namespace

MatchWindow::MatchWindow(Session& session, QWidget* parent) : QDialog(parent), session_(session) {
  setObjectName(QStringLiteral("MatchDialog"));
  setProperty(kHelpContextProperty, kHelpMatch);
  setWindowTitle(QStringLiteral("Meter Match Dialog"));
  setFixedSize(282, 361);
  // The positions are laid out for an 8-point dialog font.
  QFont small = font();
  small.setPointSize(8);
  setFont(small);

  useLabel_ = Label(this, "MeterUseLabel", QStringLiteral("Meter to Use:"), {8, 16});
  matchLabel_ = Label(this, "MeterMatchLabel", QStringLiteral("Meter to Match:"), {8, 48});
  flowUnits_ = Label(this, "FlowUnits", FromCore(model_.flowUnits), {8, 80});
  meterUseCombo_ = List(this, "MeterUseCombo", {96, 16, 177, 21});
  meterMatchCombo_ = List(this, "MeterMatchCombo", {96, 48, 177, 21});

  matchGrid_ = Named(new QTableView(this), "MatchGrid");
  matchGrid_->setGeometry(8, 96, 169, 257);
  gridModel_ = new MatchGridModel(session_.state, model_, this);
  matchGrid_->setModel(gridModel_);
  matchGrid_->verticalHeader()->hide();
  matchGrid_->verticalHeader()->setMinimumSectionSize(14);
  matchGrid_->verticalHeader()->setDefaultSectionSize(14);
  matchGrid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  matchGrid_->horizontalHeader()->setDefaultSectionSize(47);
  matchGrid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  matchGrid_->horizontalHeader()->setSectionsClickable(false);
  matchGrid_->setSelectionMode(QAbstractItemView::ContiguousSelection);
  matchGrid_->setTabKeyNavigation(false);  // Tab goes on to the Match button
  matchGrid_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                              QAbstractItemView::AnyKeyPressed);

  matchBtn_ = Button(this, "MatchBtn", "Match", {192, 80, 75, 25});
  copyE2PBtn_ = Button(this, "CopyE2PBtn", "Copy E2P", {192, 120, 75, 25});
  closeBtn_ = Button(this, "CloseBtn", "Close", {192, 160, 75, 25});

  QWidget* order[] = {meterUseCombo_, meterMatchCombo_, matchGrid_,
                      matchBtn_,      copyE2PBtn_,      closeBtn_};
  for (size_t i = 1; i < std::size(order); ++i)
    setTabOrder(order[i - 1], order[i]);

  connect(meterUseCombo_, &QComboBox::currentIndexChanged, this,
          [this](int index) { ComboChanged(1, index); });
  connect(meterMatchCombo_, &QComboBox::currentIndexChanged, this,
          [this](int index) { ComboChanged(2, index); });
  connect(matchBtn_, &QPushButton::clicked, this, [this] {
    Guarded(session_.dialogs, [this] { MatchBtnClick(session_, model_); });
    Sync();
  });
  connect(copyE2PBtn_, &QPushButton::clicked, this, [this] {
    Guarded(session_.dialogs, [this] { CopyE2PBtnClick(session_, model_); });
    Sync();
    // Also after a failure part-way: whatever reached the image is shown.
    if (onImageChanged) Guarded(session_.dialogs, onImageChanged);
  });
  connect(closeBtn_, &QPushButton::clicked, this, &QDialog::reject);

  Sync();
}

MatchWindow::~MatchWindow() {
  // The grid reads model_, which goes before QDialog's destructor hides and frees the children.
  delete matchGrid_;
  delete gridModel_;
}

void MatchWindow::EditMatchClick() {
  Guarded(session_.dialogs, [this] { FillMeterLists(session_, model_); });
  {
    QScopedValueRollback<bool> guard(syncing_, true);
    FillList(meterUseCombo_, model_.useList);
    FillList(meterMatchCombo_, model_.matchList);
  }
  Sync();
  exec();
}

void MatchWindow::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;
  // Centred on the screen, not on the window that opened it.
  if (QScreen* screen =
          parentWidget() != nullptr ? parentWidget()->screen() : QGuiApplication::primaryScreen()) {
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
  Guarded(session_.dialogs, [this] { MatchFormActivate(session_, model_); });
  Sync();
}

void MatchWindow::ComboChanged(int which, int index) {
  if (syncing_) return;
  (which == 1 ? model_.useIndex : model_.matchIndex) = index;
  MeterComboChange(model_);
  Sync();
}

void MatchWindow::Sync() {
  QScopedValueRollback<bool> guard(syncing_, true);
  if (meterUseCombo_->currentIndex() != model_.useIndex)
    meterUseCombo_->setCurrentIndex(model_.useIndex);
  if (meterMatchCombo_->currentIndex() != model_.matchIndex)
    meterMatchCombo_->setCurrentIndex(model_.matchIndex);
  flowUnits_->setText(FromCore(model_.flowUnits));
  flowUnits_->adjustSize();
  matchBtn_->setEnabled(model_.matchEnabled);
  copyE2PBtn_->setEnabled(model_.copyEnabled);
  gridModel_->Repaint();
}

}  // namespace vyk::ui
