#pragma once
// Sizes that hold given texts whole in a widget's own font and style. The windows are laid out
// by Qt's layouts; these give the controls whose text changes while the window is open (grid
// cells, readings, button captions) room for the widest text they will show, so nothing is cut
// off and nothing moves when a text changes.
#include <QStringList>

class QAbstractButton;
class QHeaderView;
class QLabel;
class QLineEdit;
class QTableView;

namespace vyk::ui {

// The width of a grid cell that shows each text whole.
int CellWidth(const QTableView& view, const QStringList& texts);
// The width of a header section that shows each text whole, also in the bold of a highlighted
// section.
int SectionWidth(const QHeaderView& header, const QStringList& texts);
// A grid row high enough for one line of the grid's font and of its row header, and at least
// `rowHeight`.
int RowHeight(const QTableView& view, int rowHeight);
// The width of a whole grid: its frame, row header, columns and vertical scroll bar.
int GridWidth(const QTableView& view);
// The width of a line edit that shows each text whole.
int EditWidth(const QLineEdit& edit, const QStringList& texts);

// Keeps the widget at least as wide as the widest of the texts it shows in turn.
void ReserveWidth(QLabel& label, const QStringList& texts);
void ReserveWidth(QAbstractButton& button, const QStringList& captions);

}  // namespace vyk::ui
