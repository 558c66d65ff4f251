#pragma once
// The two grids of the image below the panel: the transfer table and the raw bytes. Each
// paints its cells from the state and stores what is typed into a cell when its editor closes.
#include <QAbstractTableModel>
#include <QHash>
#include <QTableView>
#include <optional>

#include "logs/hit_map.h"
#include "operations/project/session.h"
#include "operations/table/grid_clipboard.h"
#include "ui/main_window/handler_runner.h"

namespace vyk::ui {

// The cells of one grid. The grid's row 0 and column 0 are the view's headers, so they stay in
// sight when the grid scrolls: model row r is grid row r + 1, model column c is grid column
// c + 1.
class ImageTableModel : public QAbstractTableModel {
 public:
  ImageTableModel(ImageGrid kind, Session& session, HandlerRunner run)
      : kind_(kind), session_(session), run_(std::move(run)) {}

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  // The text of a cell of the grid, headers included.
  QString CellText(int column, int row) const;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex&) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  void Refresh();
  // The hit map of the open log, which colours the table's rows; nothing: no colours.
  void ShowHits(const HitMap* hits);

 private:
  ImageGrid kind_;
  const HitMap* hits_ = nullptr;
  Session& session_;
  HandlerRunner run_;
  QHash<int, QString> typed_;  // the table's texts as last typed, by grid cell
};

// A grid of the image with its own keys and context menu: Ctrl+C copies its selected cells to
// the clipboard, Ctrl+V pastes the clipboard's values from the selection's first cell.
class ImageGridView : public QTableView {
 public:
  ImageGridView(QWidget* parent, ImageGrid kind, Session& session, HandlerRunner run);

  // Paints every cell and header from the state again.
  void Refresh() { model_->Refresh(); }
  void ShowHits(const HitMap* hits) { model_->ShowHits(hits); }
  // The grid rows and columns (headers included) of the selected cells, or of the current cell
  // when nothing is selected; nothing when it has neither.
  std::optional<CellRange> SelectedCells() const;

 private:
  void CopyCells();
  void PasteCells();

  ImageGrid kind_;
  Session& session_;
  HandlerRunner run_;
  ImageTableModel* model_;
};

// The transfer table, sized for its widest texts; Enter moves to the row below.
ImageGridView* MakeTableGrid(QWidget* parent, Session& session, const HandlerRunner& run);
// The bytes in hexadecimal, sixteen to a row.
ImageGridView* MakeByteGrid(QWidget* parent, Session& session, const HandlerRunner& run);

}  // namespace vyk::ui
