#include "ui/meters/match_window.h"

#include <QAbstractTableModel>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QLegend>
#include <QLineSeries>
#include <QPainter>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScreen>
#include <QShowEvent>
#include <QTableView>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <iterator>

#include "ui/help/help_context.h"
#include "ui/widgets/chart_look.h"
#include "ui/widgets/core_text.h"
#include "ui/widgets/error_guard.h"
#include "ui/widgets/text_fit.h"

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

QPushButton* Button(QWidget* parent, const char* name, const char* caption) {
  auto* button = Named(new QPushButton(QString::fromLatin1(caption), parent), name);
  button->setMinimumSize(75, 25);
  button->setAutoDefault(false);
  return button;
}

QComboBox* List(QWidget* parent, const char* name) {
  auto* combo = Named(new QComboBox(parent), name);
  combo->setEditable(false);  // a drop-down list: no typing
  combo->setMinimumWidth(177);
  return combo;
}

QLineSeries* Series(QChart* chart, const char* name, const char* legend) {
  auto* series = new QLineSeries;
  series->setObjectName(QLatin1String(name));
  series->setName(QString::fromLatin1(legend));
  chart->addSeries(series);
  return series;
}

QValueAxis* Axis(QChart* chart, Qt::Alignment side) {
  auto* axis = new QValueAxis;
  chart->addAxis(axis, side);
  return axis;
}

QChartView* ChartView(QWidget* parent, const char* name, QChart* chart) {
  chart->legend()->setAlignment(Qt::AlignTop);
  chart->setMargins(QMargins(2, 2, 2, 2));
  auto* view = Named(new QChartView(chart, parent), name);
  view->setRenderHint(QPainter::Antialiasing);
  view->setMinimumSize(360, 220);
  view->setFocusPolicy(Qt::NoFocus);  // nothing in it to work with: Tab passes it by
  return view;
}

double MaxY(const std::vector<ChartPoint>& points) {
  double max = 0;
  for (const ChartPoint& p : points)
    max = std::max(max, static_cast<double>(p.y));
  return max;
}

double MaxX(const std::vector<ChartPoint>& points) {
  double max = 0;
  for (const ChartPoint& p : points)
    max = std::max(max, static_cast<double>(p.x));
  return max;
}

QString SignalUnit(bool frequency) {
  return frequency ? QStringLiteral("Hz") : QStringLiteral("V");
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

  useLabel_ = Named(new QLabel(QStringLiteral("Meter to Use:"), this), "MeterUseLabel");
  matchLabel_ = Named(new QLabel(QStringLiteral("Meter to Match:"), this), "MeterMatchLabel");
  flowUnits_ = Named(new QLabel(FromCore(model_.flowUnits), this), "FlowUnits");
  ReserveWidth(*flowUnits_, {"Units", "Kg / Hour", "Lbs / Hour"});
  meterUseCombo_ = List(this, "MeterUseCombo");
  meterMatchCombo_ = List(this, "MeterMatchCombo");

  matchGrid_ = Named(new QTableView(this), "MatchGrid");
  gridModel_ = new MatchGridModel(session_.state, model_, this);
  matchGrid_->setModel(gridModel_);
  matchGrid_->verticalHeader()->hide();
  const int rowHeight = RowHeight(*matchGrid_, 14);
  matchGrid_->verticalHeader()->setMinimumSectionSize(rowHeight);
  matchGrid_->verticalHeader()->setDefaultSectionSize(rowHeight);
  matchGrid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  matchGrid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  matchGrid_->horizontalHeader()->setSectionsClickable(false);
  matchGrid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  matchGrid_->setSelectionMode(QAbstractItemView::ContiguousSelection);
  matchGrid_->setTabKeyNavigation(false);  // Tab goes on to the Match button
  matchGrid_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                              QAbstractItemView::AnyKeyPressed);
  matchGrid_->setMinimumHeight(257);

  matchBtn_ = Button(this, "MatchBtn", "Match");
  copyE2PBtn_ = Button(this, "CopyE2PBtn", "Copy E2P");
  closeBtn_ = Button(this, "CloseBtn", "Close");

  auto* meters = new QChart;
  useSeries_ = Series(meters, "UseSeries", "Meter to Use");
  matchSeries_ = Series(meters, "MatchSeries", "Meter to Match");
  flowAxis_ = Axis(meters, Qt::AlignBottom);
  useAxis_ = Axis(meters, Qt::AlignLeft);
  matchAxis_ = Axis(meters, Qt::AlignRight);
  useSeries_->attachAxis(flowAxis_);
  useSeries_->attachAxis(useAxis_);
  matchSeries_->attachAxis(flowAxis_);
  matchSeries_->attachAxis(matchAxis_);
  meterChart_ = ChartView(this, "MeterChart", meters);
  auto* transfer = new QChart;
  transferSeries_ = Series(transfer, "TransferSeries", "Transfer curve");
  inAxis_ = Axis(transfer, Qt::AlignBottom);
  outAxis_ = Axis(transfer, Qt::AlignLeft);
  transferSeries_->attachAxis(inAxis_);
  transferSeries_->attachAxis(outAxis_);
  transferChart_ = ChartView(this, "TransferChart", transfer);
  // The meter to use in the colour of the table's curve, as the transfer curve and the main
  // window's table; the meter to match in the second curve's.
  new ChartPaletteFollower(this, meters, [this] {
    useSeries_->setColor(TableCurveColour(*this));
    matchSeries_->setColor(SecondCurveColour(*this));
  });
  new ChartPaletteFollower(this, transfer,
                           [this] { transferSeries_->setColor(TableCurveColour(*this)); });
  // How many ticks fit depends on the charts' sizes.
  connect(meters, &QChart::geometryChanged, this, [this] { ScaleCharts(); });
  connect(transfer, &QChart::geometryChanged, this, [this] { ScaleCharts(); });

  warnings_ = Named(new QLabel(this), "MatchWarnings");
  warnings_->setWordWrap(true);
  warnings_->setTextFormat(Qt::PlainText);
  warnings_->hide();

  // The two lists under each other; below them the table at the left and the buttons beside
  // it, from the height of the units label down.
  auto* lists = new QGridLayout;
  lists->addWidget(useLabel_, 0, 0);
  lists->addWidget(meterUseCombo_, 0, 1);
  lists->addWidget(matchLabel_, 1, 0);
  lists->addWidget(meterMatchCombo_, 1, 1);
  lists->setColumnStretch(1, 1);
  lists->setVerticalSpacing(10);
  auto* table = new QVBoxLayout;
  table->addWidget(flowUnits_);
  table->addWidget(matchGrid_, 1);
  auto* buttons = new QVBoxLayout;
  buttons->setSpacing(14);
  buttons->addWidget(matchBtn_);
  buttons->addWidget(copyE2PBtn_);
  buttons->addWidget(closeBtn_);
  buttons->addStretch(1);
  auto* charts = new QVBoxLayout;
  charts->addWidget(meterChart_, 1);
  charts->addWidget(transferChart_, 1);
  auto* below = new QHBoxLayout;
  below->addLayout(table);
  below->addSpacing(8);
  below->addLayout(buttons);
  below->addSpacing(8);
  below->addLayout(charts, 1);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(8, 12, 8, 8);
  layout->setSpacing(10);
  layout->addLayout(lists);
  layout->addLayout(below, 1);
  layout->addWidget(warnings_);

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
  resize(sizeHint().expandedTo(QSize(282, 361)));
}

MatchWindow::~MatchWindow() {
  // The grid reads model_, which goes before QDialog's destructor hides and frees the children.
  delete matchGrid_;
  delete gridModel_;
}

void MatchWindow::EditMatchClick() {
  bool listed = false;
  Guarded(session_.dialogs, [&] { listed = FillMeterLists(session_, model_); });
  if (!listed) return;
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
  model_.preview = PreviewMatch(session_.state, model_);
  Sync();
}

void MatchWindow::Sync() {
  QScopedValueRollback<bool> guard(syncing_, true);
  if (meterUseCombo_->currentIndex() != model_.useIndex)
    meterUseCombo_->setCurrentIndex(model_.useIndex);
  if (meterMatchCombo_->currentIndex() != model_.matchIndex)
    meterMatchCombo_->setCurrentIndex(model_.matchIndex);
  flowUnits_->setText(FromCore(model_.flowUnits));
  matchBtn_->setEnabled(model_.matchEnabled);
  copyE2PBtn_->setEnabled(model_.copyEnabled);
  gridModel_->Repaint();
  FitColumns();
  SyncCharts();
  const MatchPreview& p = model_.preview;
  QStringList lines;
  // Messages, as the message boxes show them: UTF-8, with a file's odd bytes escaped.
  if (!p.problem.empty()) lines.append(QString::fromStdString(p.problem));
  for (const MatchWarning& w : p.warnings)
    lines.append(QStringLiteral("Warning: ") + QString::fromStdString(w.text));
  warnings_->setText(lines.join('\n'));
  warnings_->setVisible(!lines.isEmpty());
  // Warnings take lines under the charts: the dialog grows rather than squeezing them.
  layout()->activate();
  const int needed =
      std::max(layout()->totalMinimumSize().height(),
               layout()->hasHeightForWidth() ? layout()->totalHeightForWidth(width()) : 0);
  if (needed > height()) resize(width(), needed);
}

void MatchWindow::SyncCharts() {
  const MatchPreview& p = model_.preview;
  useSeries_->replace(CurvePoints(p.useCurve));
  matchSeries_->replace(CurvePoints(p.matchCurve));
  transferSeries_->replace(CurvePoints(p.transfer));
  const bool oneKind = p.useIsFrequency == p.matchIsFrequency;
  flowAxis_->setTitleText(p.metric ? QStringLiteral("Flow, kg/hr") : QStringLiteral("Flow, lb/hr"));
  // Signals of one kind share the left axis; else the meter to match has its own at the right.
  useAxis_->setTitleText((oneKind ? QStringLiteral("Signal, ") : QStringLiteral("Use, ")) +
                         SignalUnit(p.useIsFrequency));
  matchAxis_->setTitleText(QStringLiteral("Match, ") + SignalUnit(p.matchIsFrequency));
  matchAxis_->setVisible(!oneKind);
  inAxis_->setTitleText(p.useIsFrequency ? QStringLiteral("F In") : QStringLiteral("V In"));
  outAxis_->setTitleText(p.matchIsFrequency ? QStringLiteral("F Out") : QStringLiteral("V Out"));
  ScaleCharts();
}

void MatchWindow::ScaleCharts() {
  const MatchPreview& p = model_.preview;
  // A label such as "14000" needs room on the bottom axis, a line of text on the left one;
  // the legend, the labels and the titles take a few lines and a label's width from a chart.
  const QFontMetrics metrics(flowAxis_->labelsFont());
  const double label = metrics.horizontalAdvance(QStringLiteral("00000"));
  const double line = metrics.height();
  auto across = [&](const QChartView* view, int sideAxes) {
    const double room = view->chart()->size().width() - sideAxes * (label + 2 * line);
    return std::clamp(static_cast<int>(room / (1.5 * label)), 2, 10);
  };
  auto upward = [&](const QChartView* view) {
    return std::clamp(static_cast<int>((view->chart()->size().height() - 6 * line) / (1.8 * line)),
                      2, 10);
  };
  const bool oneKind = p.useIsFrequency == p.matchIsFrequency;
  ScaleAxis(flowAxis_, std::max(MaxX(p.useCurve), MaxX(p.matchCurve)),
            across(meterChart_, oneKind ? 1 : 2));
  const double useMax = MaxY(p.useCurve);
  const double matchMax = MaxY(p.matchCurve);
  ScaleAxis(useAxis_, oneKind ? std::max(useMax, matchMax) : useMax, upward(meterChart_));
  ScaleAxis(matchAxis_, oneKind ? std::max(useMax, matchMax) : matchMax, upward(meterChart_));
  ScaleAxis(inAxis_, MaxX(p.transfer), across(transferChart_, 1));
  ScaleAxis(outAxis_, MaxY(p.transfer), upward(transferChart_));
}

void MatchWindow::FitColumns() {
  // Each column as wide as its widest text, the header's included, so no flow or signal is
  // cut short; never narrower than the widest a Match of ordinary meters shows.
  QHeaderView* header = matchGrid_->horizontalHeader();
  for (int column = 0; column < 3; ++column) {
    QStringList texts{"9999.99", "13500", "4.995"};
    for (int row = 0; row < kMatchSlots; ++row)
      texts.append(gridModel_->index(row, column).data().toString());
    const QString title =
        gridModel_->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    header->resizeSection(
        column, std::max({47, CellWidth(*matchGrid_, texts), SectionWidth(*header, {title})}));
  }
  matchGrid_->setFixedWidth(GridWidth(*matchGrid_));
}

}  // namespace vyk::ui
