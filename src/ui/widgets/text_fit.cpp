#include "ui/widgets/text_fit.h"

#include <QAbstractButton>
#include <QFontMetricsF>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QStyleOptionHeader>
#include <QTableView>
#include <algorithm>
#include <cmath>

namespace vyk::ui {

namespace {

// Text is laid out in fractions of a pixel: a width rounded down would elide it.
int Widest(const QFont& font, const QStringList& texts) {
  const QFontMetricsF fm(font);
  qreal widest = 0;
  for (const QString& text : texts)
    widest = std::max(widest, fm.horizontalAdvance(text));
  return static_cast<int>(std::ceil(widest));
}

QFont Bold(QFont font) {
  font.setBold(true);
  return font;
}

template <typename W>
void ReserveWidthOf(W& widget, const QStringList& texts) {
  const QString shown = widget.text();
  int widest = 0;
  for (const QString& text : texts) {
    widget.setText(text);
    widest = std::max(widest, widget.sizeHint().width());
  }
  widget.setText(shown);
  widget.setMinimumWidth(widest);
}

}  // namespace

int CellWidth(const QTableView& view, const QStringList& texts) {
  // The item delegate keeps this margin on either side of a cell's text; the grid line takes
  // a pixel of the cell.
  const int margin = view.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &view) + 1;
  return Widest(view.font(), texts) + 2 * margin + (view.showGrid() ? 1 : 0);
}

int SectionWidth(const QHeaderView& header, const QStringList& texts) {
  QStyleOptionHeader option;
  option.initFrom(&header);
  option.fontMetrics = QFontMetrics(Bold(header.font()));
  int widest = 0;
  for (const QString& text : texts) {
    option.text = text;
    const QSize size =
        header.style()->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), &header);
    widest = std::max(widest, size.width());
  }
  return widest + 1;  // the style measures in whole pixels
}

int RowHeight(const QTableView& view, int rowHeight) {
  const int cell = QFontMetrics(view.font()).height() + 4;
  const int header = QFontMetrics(Bold(view.verticalHeader()->font())).height() + 2;
  return std::max({rowHeight, cell, header});
}

int GridWidth(const QTableView& view) {
  int width = 2 * view.frameWidth();
  const QHeaderView* rows = view.verticalHeader();
  if (!rows->isHidden()) width += std::max(rows->minimumWidth(), rows->sizeHint().width());
  for (int column = 0; column < view.model()->columnCount(); ++column)
    if (!view.isColumnHidden(column)) width += view.columnWidth(column);
  if (view.verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff)
    width += view.verticalScrollBar()->sizeHint().width();
  return width;
}

int EditWidth(const QLineEdit& edit, const QStringList& texts) {
  QStyleOptionFrame option;
  option.initFrom(&edit);
  option.lineWidth =
      edit.hasFrame() ? edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &edit) : 0;
  // A line edit keeps 2 pixels on either side of its text, inside its text margins.
  const QMargins margins = edit.textMargins();
  const QSize text(Widest(edit.font(), texts) + 4 + margins.left() + margins.right(),
                   QFontMetrics(edit.font()).height() + 2);
  return edit.style()->sizeFromContents(QStyle::CT_LineEdit, &option, text, &edit).width();
}

void ReserveWidth(QLabel& label, const QStringList& texts) {
  ReserveWidthOf(label, texts);
}

void ReserveWidth(QAbstractButton& button, const QStringList& captions) {
  ReserveWidthOf(button, captions);
}

}  // namespace vyk::ui
