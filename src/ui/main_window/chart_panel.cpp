#include "ui/main_window/chart_panel.h"

#include <QChart>
#include <QGraphicsItem>
#include <QLegend>
#include <QLineSeries>
#include <QPainter>
#include <QValueAxis>
#include <vector>

#include "ui/help/help_context.h"
#include "ui/widgets/chart_look.h"
#include "ui/widgets/core_text.h"

namespace vyk::ui {

namespace {

constexpr double kTrailMs = 3000;

}  // namespace

// The operating point and its trail, an item of its own over the chart: moving it repaints the
// few pixels around it, where a series of the chart would repaint all of the chart.
class ChartPanel::PointsItem : public QGraphicsItem {
 public:
  struct Dot {
    QPointF at;  // in the chart's pixels
    double size;
    QColor colour;
  };

  explicit PointsItem(QChart* chart) : QGraphicsItem(chart), chart_(chart) { setZValue(100); }

  void Show(std::vector<Dot> dots) {
    QRectF bounds;
    for (const Dot& d : dots)
      bounds |= QRectF(d.at.x() - d.size, d.at.y() - d.size, 2 * d.size, 2 * d.size);
    prepareGeometryChange();
    bounds_ = bounds & chart_->plotArea();
    dots_ = std::move(dots);
    update();
  }

  QRectF boundingRect() const override { return bounds_; }

  void paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) override {
    painter->setClipRect(chart_->plotArea());
    painter->setPen(Qt::NoPen);
    for (const Dot& d : dots_) {
      painter->setBrush(d.colour);
      painter->drawEllipse(d.at, d.size / 2, d.size / 2);
    }
  }

 private:
  QChart* chart_;
  QRectF bounds_;
  std::vector<Dot> dots_;  // the oldest first, the operating point last
};

ChartPanel::ChartPanel(QWidget* parent)
    : QChartView(new QChart(), parent),
      series1_(new QLineSeries()),
      series2_(new QLineSeries()),
      axisX_(new QValueAxis()),
      axisY_(new QValueAxis()),
      points_(new PointsItem(chart())) {
  QChart* c = chart();
  c->legend()->setAlignment(Qt::AlignTop);
  c->setMargins(QMargins(2, 2, 2, 2));
  series1_->setName("V Out");
  series2_->setName("Adjusted");
  c->addSeries(series1_);
  axisX_->setTitleText("V In");
  axisY_->setTitleText("V Out");
  c->addAxis(axisX_, Qt::AlignBottom);
  c->addAxis(axisY_, Qt::AlignLeft);
  series1_->attachAxis(axisX_);
  series1_->attachAxis(axisY_);
  new ChartPaletteFollower(this, c, [this] {
    series1_->setColor(TableCurveColour(*this));
    series2_->setColor(SecondCurveColour(*this));
    DrawOperatingPoints();
  });
  setObjectName("Chart1");
  setProperty(kHelpContextProperty, kHelpChart);
  setRenderHint(QPainter::Antialiasing);
  // How many ticks fit depends on the chart's size.
  connect(c, &QChart::geometryChanged, this, [this] { ScaleAxes(); });
  connect(c, &QChart::plotAreaChanged, this, [this] { DrawOperatingPoints(); });
  setMinimumSize(200, 120);
}

ChartPanel::~ChartPanel() {
  // Out of the chart, the adjusted curve is the panel's own.
  if (!chart()->series().contains(series2_)) delete series2_;
}

void ChartPanel::Show(const Chart& chart) {
  // The live view shows its readings many times a second, mostly with the same curves.
  if (chart == shown_ && !chart.series1.empty()) return;
  // Points of other units would sit in the wrong place.
  if (chart.bottomTitle != shown_.bottomTitle || chart.leftTitle != shown_.leftTitle)
    ClearOperatingPoints();
  shown_ = chart;
  series1_->replace(CurvePoints(chart.series1));
  series2_->replace(CurvePoints(chart.series2));
  series1_->setName(FromCore(chart.series1Title));
  axisX_->setTitleText(FromCore(chart.bottomTitle));
  axisY_->setTitleText(FromCore(chart.leftTitle));
  // The legend names only the curves on show, so the adjusted curve is in the chart only
  // while there is a reading: a legend marker hidden and shown again keeps an empty place, and
  // its square lands on the other one's.
  QChart* c = this->chart();
  const bool adjusted = c->series().contains(series2_);
  if (adjusted && chart.series2.empty()) {
    c->removeSeries(series2_);
  } else if (!adjusted && !chart.series2.empty()) {
    c->addSeries(series2_);
    series2_->attachAxis(axisX_);
    series2_->attachAxis(axisY_);
    series2_->setColor(SecondCurveColour(*this));  // the chart gave it its theme's
  }
  ScaleAxes();
}

void ChartPanel::ShowOperatingPoint(const ChartPoint& point, double ms) {
  passed_.push_back({ms, point});
  while (passed_.front().ms < ms - kTrailMs)
    passed_.pop_front();
  DrawOperatingPoints();
}

void ChartPanel::ClearOperatingPoints() {
  passed_.clear();
  DrawOperatingPoints();
}

std::optional<ChartPoint> ChartPanel::OperatingPoint() const {
  if (passed_.empty()) return std::nullopt;
  return passed_.back().point;
}

void ChartPanel::DrawOperatingPoints() {
  std::vector<PointsItem::Dot> dots;
  if (!passed_.empty()) {
    // Older readings smaller and fainter, a step a second.
    const double newest = passed_.back().ms;
    const QColor colour = SecondCurveColour(*this);
    for (size_t i = 0; i < passed_.size(); ++i) {
      const QPointF at = chart()->mapToPosition(QPointF(passed_[i].point.x, passed_[i].point.y));
      if (i + 1 == passed_.size()) {
        dots.push_back({at, 12, colour});
        continue;
      }
      const int age = std::min(2, static_cast<int>((newest - passed_[i].ms) * 3 / kTrailMs));
      QColor faded = colour;
      faded.setAlpha(150 - 50 * age);
      dots.push_back({at, 9.0 - 2 * age, faded});
    }
  }
  points_->Show(std::move(dots));
}

void ChartPanel::ScaleAxes() {
  ScaleAxesToCurves(*chart(), axisX_, axisY_, {&shown_.series1, &shown_.series2});
  DrawOperatingPoints();  // the points stay where they are on the new scales
}

}  // namespace vyk::ui
