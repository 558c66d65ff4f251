#include "ui/compare_window.h"

#include <QChart>
#include <QChartView>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLegend>
#include <QLineSeries>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>

#include "ui/help/help_context.h"
#include "ui/widgets/chart_look.h"

namespace vyk::ui {

namespace {

// The comparison's texts are UTF-8 already (FromCore would read them as Windows-1252).
QString FromUtf8(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace

CompareWindow::CompareWindow(const Comparison& comparison, QWidget* parent)
    : QDialog(parent), comparison_(comparison) {
  setObjectName("CompareWindow");
  setWindowTitle(FromUtf8("Compare: " + comparison.a.title + " and " + comparison.b.title));
  setProperty(kHelpContextProperty, kHelpCompare);
  setAttribute(Qt::WA_DeleteOnClose);

  auto* summary = new QLabel(FromUtf8(comparison.Summary()), this);
  summary->setObjectName("SummaryLabel");
  summary->setWordWrap(true);

  chart_ = new QChart();
  chart_->legend()->setAlignment(Qt::AlignTop);
  chart_->setMargins(QMargins(2, 2, 2, 2));
  seriesA_ = new QLineSeries();
  seriesB_ = new QLineSeries();
  seriesA_->setName(FromUtf8(comparison.a.title));
  seriesB_->setName(FromUtf8(comparison.b.title));
  seriesA_->replace(CurvePoints(comparison.curveA));
  seriesB_->replace(CurvePoints(comparison.curveB));
  chart_->addSeries(seriesA_);
  chart_->addSeries(seriesB_);
  axisX_ = new QValueAxis();
  axisY_ = new QValueAxis();
  axisX_->setTitleText(FromUtf8(comparison.xTitle));
  axisY_->setTitleText(FromUtf8(comparison.yTitle));
  chart_->addAxis(axisX_, Qt::AlignBottom);
  chart_->addAxis(axisY_, Qt::AlignLeft);
  for (QLineSeries* s : {seriesA_, seriesB_}) {
    s->attachAxis(axisX_);
    s->attachAxis(axisY_);
  }
  new ChartPaletteFollower(this, chart_, [this] {
    seriesA_->setColor(TableCurveColour(*this));
    // The second curve is dashed: where the two lie on each other, both still show.
    QPen pen = seriesB_->pen();
    pen.setColor(SecondCurveColour(*this));
    pen.setStyle(Qt::DashLine);
    pen.setWidthF(2);
    seriesB_->setPen(pen);
  });
  auto* chartView = new QChartView(chart_, this);
  chartView->setObjectName("CompareChart");
  chartView->setRenderHint(QPainter::Antialiasing);
  chartView->setMinimumSize(360, 240);
  connect(chart_, &QChart::geometryChanged, this, [this] { ScaleAxes(); });

  auto* grid = new QTableWidget(static_cast<int>(comparison.differences.size()), 3, this);
  grid->setObjectName("DifferenceGrid");
  grid->setHorizontalHeaderLabels(
      {"What", FromUtf8(comparison.a.title), FromUtf8(comparison.b.title)});
  grid->verticalHeader()->hide();
  grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid->setSelectionBehavior(QAbstractItemView::SelectRows);
  for (int row = 0; row < grid->rowCount(); ++row) {
    const ImageDifference& d = comparison.differences[row];
    int column = 0;
    for (const std::string* text : {&d.label, &d.a, &d.b})
      grid->setItem(row, column++, new QTableWidgetItem(FromUtf8(*text)));
  }
  grid->resizeColumnsToContents();
  grid->resizeRowsToContents();
  grid->horizontalHeader()->setStretchLastSection(true);
  grid->setMinimumWidth(std::min(640, grid->horizontalHeader()->length() +
                                          grid->verticalScrollBar()->sizeHint().width() +
                                          2 * grid->frameWidth()));
  grid->setVisible(!comparison.differences.empty());

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close | QDialogButtonBox::Help, this);
  buttons->button(QDialogButtonBox::Close)->setObjectName("CloseBtn");
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(buttons, &QDialogButtonBox::helpRequested, this, [this] { RequestHelp(this); });

  auto* split = new QSplitter(Qt::Horizontal, this);
  split->addWidget(chartView);
  split->addWidget(grid);
  split->setStretchFactor(0, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(summary);
  layout->addWidget(split, 1);
  layout->addWidget(buttons);
  resize(sizeHint().expandedTo(QSize(900, 480)));
  ScaleAxes();
}

void CompareWindow::ScaleAxes() {
  ScaleAxesToCurves(*chart_, axisX_, axisY_, {&comparison_.curveA, &comparison_.curveB});
}

}  // namespace vyk::ui
