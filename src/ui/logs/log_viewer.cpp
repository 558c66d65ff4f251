#include "ui/logs/log_viewer.h"

#include <QChart>
#include <QChartView>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMouseEvent>
#include <QSlider>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cstdio>

#include "ui/help/help_context.h"
#include "ui/widgets/chart_look.h"
#include "ui/widgets/core_text.h"

namespace vyk::ui {

namespace {

// A click on the chart puts the cursor at the time clicked.
class ClickableChart : public QChartView {
 public:
  ClickableChart(QChart* chart, QWidget* parent, std::function<void(double)> clicked)
      : QChartView(chart, parent), clicked_(std::move(clicked)) {}

 protected:
  void mousePressEvent(QMouseEvent* event) override {
    const QPointF at = chart()->mapToValue(chart()->mapFromScene(mapToScene(event->pos())));
    if (chart()->plotArea().contains(chart()->mapFromScene(mapToScene(event->pos()))))
      clicked_(at.x());
    QChartView::mousePressEvent(event);
  }

 private:
  std::function<void(double)> clicked_;
};

QString Number(const char* format, double value) {
  char text[48];
  std::snprintf(text, sizeof text, format, value);
  return QString::fromLatin1(text);
}

QTableWidgetItem* Cell(const QString& text) {
  auto* item = new QTableWidgetItem(text);
  item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  return item;
}

}  // namespace

LogViewer::LogViewer(QWidget* parent)
    : QWidget(parent, Qt::Window),
      input_(new QLineSeries()),
      output_(new QLineSeries()),
      cursorLine_(new QLineSeries()),
      time_(new QValueAxis()),
      inputAxis_(new QValueAxis()),
      outputAxis_(new QValueAxis()),
      slider_(new QSlider(Qt::Horizontal, this)),
      cursorLabel_(new QLabel(this)),
      hitTable_(new QTableWidget(this)) {
  setObjectName("LogViewer");
  setProperty(kHelpContextProperty, kHelpLive);
  auto* chart = new QChart();
  view_ = new ClickableChart(chart, this, [this](double seconds) {
    if (!trace_.seconds.empty()) SetCursor(ReadingAt(seconds));
  });
  view_->setObjectName("LogChart");
  view_->setRenderHint(QPainter::Antialiasing);
  view_->setMinimumSize(420, 240);
  chart->legend()->setAlignment(Qt::AlignTop);
  chart->setMargins(QMargins(2, 2, 2, 2));
  for (QLineSeries* s : {input_, output_, cursorLine_})
    chart->addSeries(s);
  time_->setTitleText("s");
  chart->addAxis(time_, Qt::AlignBottom);
  chart->addAxis(inputAxis_, Qt::AlignLeft);
  chart->addAxis(outputAxis_, Qt::AlignRight);
  for (QLineSeries* s : {input_, cursorLine_}) {
    s->attachAxis(time_);
    s->attachAxis(inputAxis_);
  }
  output_->attachAxis(time_);
  output_->attachAxis(outputAxis_);
  for (QLegendMarker* marker : chart->legend()->markers(cursorLine_))
    marker->setVisible(false);
  new ChartPaletteFollower(view_, chart, [this] {
    input_->setColor(TableCurveColour(*this));
    output_->setColor(SecondCurveColour(*this));
    cursorLine_->setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DashLine));
  });
  // The plot's width decides how finely a long log is drawn.
  connect(chart, &QChart::plotAreaChanged, this, [this] { DrawSeries(); });

  slider_->setObjectName("LogCursor");
  slider_->setToolTip("The time cursor: drag it, use the arrow keys or click the chart");
  connect(slider_, &QSlider::valueChanged, this, [this](int reading) { CursorMoved(reading); });
  cursorLabel_->setObjectName("LogCursorLabel");
  cursorLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);

  hitTable_->setObjectName("HitTable");
  hitTable_->setColumnCount(4);
  hitTable_->verticalHeader()->hide();
  hitTable_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  hitTable_->setSelectionBehavior(QAbstractItemView::SelectRows);
  hitTable_->setToolTip("The time the log spent at each table entry");
  hitTable_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  hitTable_->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
  hitTable_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  // A row picks the first reading at that entry.
  connect(hitTable_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
    const int entry = hitTable_->item(row, 0)->text().toInt();
    const auto at = std::find(trace_.entry.begin(), trace_.entry.end(), entry);
    if (at != trace_.entry.end()) SetCursor(static_cast<int>(at - trace_.entry.begin()));
  });

  auto* left = new QVBoxLayout;
  left->addWidget(view_, 1);
  left->addWidget(slider_);
  left->addWidget(cursorLabel_);
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left, 1);
  layout->addWidget(hitTable_);
  resize(960, 480);
}

void LogViewer::Show(const QString& fileName, const LogTrace& trace, const HitMap& hits,
                     bool keepCursor) {
  const int reading = keepCursor ? slider_->value() : 0;
  trace_ = trace;
  setWindowTitle("Log - " + fileName);
  const QString in = FromCore(trace.inputTitle), out = FromCore(trace.outputTitle);
  input_->setName(in);
  output_->setName(out);
  inputAxis_->setTitleText(in);
  outputAxis_->setTitleText(out);
  const auto top = [](const std::vector<double>& v) {
    return v.empty() ? 0.0 : *std::max_element(v.begin(), v.end());
  };
  ScaleAxis(time_, trace.seconds.empty() ? 0 : trace.seconds.back(), 8);
  ScaleAxis(inputAxis_, top(trace.input), 5);
  ScaleAxis(outputAxis_, top(trace.output), 5);
  drawnColumns_ = -1;
  DrawSeries();

  const std::vector<HitRow> rows = HitRows(hits, trace);
  hitTable_->setRowCount(static_cast<int>(rows.size()));
  hitTable_->setHorizontalHeaderLabels({"Entry", in, "s", "%"});
  const char* inputFormat = trace.inputHertz ? "%.1f" : "%.3f";
  for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
    const HitRow& r = rows[i];
    hitTable_->setItem(i, 0, Cell(QString::number(r.entry)));
    hitTable_->setItem(i, 1, Cell(Number(inputFormat, r.input)));
    hitTable_->setItem(i, 2, Cell(Number("%.1f", r.seconds)));
    hitTable_->setItem(i, 3, Cell(Number("%.1f", r.share * 100)));
    for (int c = 0; c < 4; ++c)
      hitTable_->item(i, c)->setToolTip(FromCore(HitShareText(r.entry, r.share, r.seconds)));
  }

  const int last = std::max(0, static_cast<int>(trace.seconds.size()) - 1);
  slider_->setEnabled(!trace.seconds.empty());
  const QSignalBlocker quiet(slider_);
  slider_->setRange(0, last);
  // Page Up and Page Down move by about five seconds.
  const double perSecond =
      trace.seconds.size() > 1 && trace.seconds.back() > 0 ? last / trace.seconds.back() : 1;
  slider_->setPageStep(std::max(1, static_cast<int>(5 * perSecond)));
  slider_->setValue(std::min(reading, last));
  CursorMoved(slider_->value());
  slider_->setFocus();
}

int LogViewer::Cursor() const {
  return slider_->value();
}

void LogViewer::SetCursor(int reading) {
  slider_->setValue(reading);
}

void LogViewer::CursorMoved(int reading) {
  if (trace_.seconds.empty()) {
    cursorLine_->clear();
    cursorLabel_->setText("The log holds no readings");
    return;
  }
  const double t = trace_.seconds[reading];
  cursorLine_->replace({QPointF(t, inputAxis_->min()), QPointF(t, inputAxis_->max())});
  cursorLabel_->setText(FromCore(LogCursorText(trace_, reading)));
  if (cursorMoved) cursorMoved(reading);
}

int LogViewer::ReadingAt(double seconds) const {
  const auto& s = trace_.seconds;
  auto at = std::lower_bound(s.begin(), s.end(), seconds);
  if (at == s.end()) return static_cast<int>(s.size()) - 1;
  if (at != s.begin() && seconds - *(at - 1) < *at - seconds) --at;
  return static_cast<int>(at - s.begin());
}

void LogViewer::DrawSeries() {
  const int columns = std::max(100, static_cast<int>(view_->chart()->plotArea().width()));
  if (columns == drawnColumns_) return;
  drawnColumns_ = columns;
  for (auto [series, values] : {std::pair{input_, &trace_.input}, {output_, &trace_.output}}) {
    QList<QPointF> points;
    for (const auto& [x, y] : MinMaxColumns(trace_.seconds, *values, columns))
      points.append(QPointF(x, y));
    series->replace(points);  // all at once: one redraw, not one a point
  }
}

void LogViewer::keyPressEvent(QKeyEvent* event) {
  // The arrow keys move the cursor wherever the focus is, unless a control takes them.
  switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
      slider_->setFocus();
      QCoreApplication::sendEvent(slider_, event);
      return;
    default:
      QWidget::keyPressEvent(event);
  }
}

void LogViewer::closeEvent(QCloseEvent* event) {
  QWidget::closeEvent(event);
  if (closed) closed();
}

}  // namespace vyk::ui
