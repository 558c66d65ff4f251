#pragma once
// Round axis ranges for the line charts.
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace vyk::ui {

// An axis from 0 to a round number past `dataMax`, with ticks at steps of 1, 2 or 5 times a
// power of ten and at most `maxSteps` of them, labelled with the decimals the step needs.
inline void ScaleAxis(QValueAxis* axis, double dataMax, int maxSteps) {
  if (!(dataMax > 0) || !std::isfinite(dataMax)) dataMax = 1;
  const double rough = dataMax / maxSteps;
  const double power = std::pow(10.0, std::floor(std::log10(rough)));
  double step = 10 * power;
  for (double m : {1.0, 2.0, 5.0}) {
    if (m * power >= rough * (1 - 1e-9)) {
      step = m * power;
      break;
    }
  }
  const double top = std::ceil(dataMax / step - 1e-9) * step;
  const int decimals = std::max(0, static_cast<int>(-std::floor(std::log10(step) + 1e-9)));
  axis->setTickType(QValueAxis::TicksDynamic);
  axis->setTickAnchor(0);
  axis->setTickInterval(step);
  axis->setMinorTickCount(0);
  axis->setRange(0, top);
  axis->setLabelFormat(QStringLiteral("%.%1f").arg(decimals));
}

}  // namespace vyk::ui
