#pragma once
// Two quantities over the last seconds, each on its own scale (the first on the left, the
// second on the right), the newest at the right edge. Drawn by hand, the frame (grid, labels,
// legend) kept as a picture: a chart library works out the outline of every line again for
// each new point, which cost the live view more than all else it does.
#include <QPixmap>
#include <QString>
#include <QWidget>
#include <array>
#include <deque>

#include "ui/widgets/chart_look.h"

namespace vyk::ui {

class StripChart : public QWidget {
 public:
  StripChart(double windowSeconds, QWidget* parent);

  // Empty, with the quantities' names ("V In", "V Out").
  void Begin(const QString& firstTitle, const QString& secondTitle);
  // A point `seconds` from the start; shown at the next Draw.
  void Add(double seconds, double first, double second);
  void Draw();

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  struct Sample {
    double seconds;
    std::array<double, 2> value;
  };
  // The picture under the lines; made again when the size, the scales or the look change.
  struct Frame {
    QPixmap picture;
    QRect plot;
    std::array<RoundScale, 2> scale;
  };
  std::array<RoundScale, 2> ScalesFor(int plotHeight) const;
  void MakeFrame(const std::array<RoundScale, 2>& scale);

  double window_;
  std::deque<Sample> samples_;
  std::array<QString, 2> titles_;
  std::array<double, 2> max_{};  // the scales grow to what was seen, they never jump back
  Frame frame_;
};

}  // namespace vyk::ui
