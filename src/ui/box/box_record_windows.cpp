#include "ui/box/box_record_windows.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include "link/sim_port.h"
#include "operations/box/box_record.h"
#include "operations/project/window_look.h"
#include "ui/help/help_context.h"
#include "ui/widgets/core_text.h"
#include "ui/widgets/dialog_buttons.h"

namespace vyk::ui {

namespace {

// A read-only grid of whole rows whose columns fit their texts.
QTableWidget* MakeList(QWidget* parent, const char* name, const QStringList& headers) {
  auto* grid = new QTableWidget(0, static_cast<int>(headers.size()), parent);
  grid->setObjectName(name);
  grid->setHorizontalHeaderLabels(headers);
  grid->verticalHeader()->hide();
  grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid->setSelectionMode(QAbstractItemView::SingleSelection);
  grid->setWordWrap(false);
  // Each column as wide as its widest text: a narrow window scrolls rather than cutting one.
  grid->horizontalHeader()->setStretchLastSection(false);
  return grid;
}

void FillRows(QTableWidget* grid, const std::vector<QStringList>& rows) {
  grid->clearContents();
  grid->setRowCount(static_cast<int>(rows.size()));
  for (int r = 0; r < grid->rowCount(); ++r)
    for (int c = 0; c < grid->columnCount() && c < rows[r].size(); ++c)
      grid->setItem(r, c, new QTableWidgetItem(rows[r][c]));
  grid->resizeColumnsToContents();
  grid->resizeRowsToContents();
}

// A row about the simulated Box reads apart from those about hardware at a glance.
void MarkSimulated(QTableWidget* grid, int row, int boxColumn) {
  for (int c = 0; c < grid->columnCount(); ++c) {
    QTableWidgetItem* item = grid->item(row, c);
    if (item == nullptr) continue;
    QFont font = item->font();
    font.setItalic(true);
    item->setFont(font);
    item->setForeground(grid->palette().color(QPalette::PlaceholderText));
  }
  if (QTableWidgetItem* box = grid->item(row, boxColumn))
    box->setText(box->text() + FromCore(kSimulatedMark));
}

// Wide enough for every column, up to most of the screen the grid is on.
void FitWidth(QTableWidget* grid) {
  int width = 2 * grid->frameWidth() + grid->verticalScrollBar()->sizeHint().width();
  for (int c = 0; c < grid->columnCount(); ++c)
    width += grid->columnWidth(c);
  const QScreen* screen = grid->screen();
  const int most = screen != nullptr ? screen->availableGeometry().width() * 4 / 5 : 800;
  grid->setMinimumWidth(std::min(width, most));
}

QString Path(const std::string& path) {
  return QString::fromStdString(path);
}

}  // namespace

UpdatePreviewDialog::UpdatePreviewDialog(QWidget* parent)
    : QDialog(parent),
      textLabel_(new QLabel(this)),
      changesGrid_(MakeList(this, "ChangesGrid",
                            {QStringLiteral("What"), QStringLiteral("In the Box now"),
                             QStringLiteral("After the Update")})),
      warningsLabel_(new QLabel(this)),
      dontShowCBox_(new QCheckBox(QStringLiteral("Don't show again"), this)) {
  setWindowTitle(QStringLiteral("Update EEPROM"));
  setProperty(kHelpContextProperty, kHelpBoxRecord);
  textLabel_->setObjectName(QStringLiteral("PreviewLabel"));
  textLabel_->setWordWrap(true);
  dontShowCBox_->setObjectName(QStringLiteral("DontShowCBox"));
  dontShowCBox_->setToolTip(QStringLiteral("Box > Options shows the preview again"));
  changesGrid_->setSelectionMode(QAbstractItemView::NoSelection);
  changesGrid_->setFocusPolicy(Qt::NoFocus);  // a list to read; the keys go to the buttons
  warningsLabel_->setObjectName(QStringLiteral("TableWarningsLabel"));
  warningsLabel_->setWordWrap(true);
  warningsLabel_->setTextFormat(Qt::RichText);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(textLabel_);
  layout->addWidget(changesGrid_, 1);
  layout->addWidget(warningsLabel_);
  auto* bottom = OkCancelHelpButtons(this);
  bottom->insertWidget(0, dontShowCBox_);
  layout->addLayout(bottom);
}

bool UpdatePreviewDialog::Run(const UpdatePreview& preview, bool& dontShowAgain) {
  Fill(preview);
  const bool ok = exec() == QDialog::Accepted;
  dontShowAgain = dontShowCBox_->isChecked();
  return ok;
}

void UpdatePreviewDialog::Fill(const UpdatePreview& preview) {
  QString box = QString::fromStdString(preview.box).trimmed();
  QFont font = textLabel_->font();
  font.setItalic(IsSimulatorPort(preview.port));
  textLabel_->setFont(font);
  textLabel_->setText(
      QStringLiteral("Update EEPROM will change %1 %2 of the Box%3 on %4 to those of %5:")
          .arg(preview.changes.size())
          .arg(preview.changes.size() == 1 ? QStringLiteral("value") : QStringLiteral("values"))
          .arg(box.isEmpty() ? QString() : QStringLiteral(" (") + box + QStringLiteral(")"))
          .arg(Path(preview.port), Path(preview.project)));
  std::vector<QStringList> rows;
  for (const ImageDifference& d : preview.changes)
    rows.push_back({FromCore(d.label), FromCore(d.a), FromCore(d.b)});
  FillRows(changesGrid_, rows);
  FitWidth(changesGrid_);
  changesGrid_->setMinimumHeight(
      std::min(400, changesGrid_->horizontalHeader()->height() +
                        changesGrid_->rowHeight(0) * static_cast<int>(rows.size() + 1)));
  // Said, never a reason to refuse: the tuner may mean it.
  QString warnings;
  for (const std::string& w : preview.warnings)
    warnings += QStringLiteral("<li>") + FromCore(w).toHtmlEscaped() + QStringLiteral("</li>");
  warningsLabel_->setText(warnings.isEmpty()
                              ? QString()
                              : QStringLiteral("<b>Check the table before you go on:</b><ul "
                                               "style=\"margin-left: 12px; -qt-list-indent: 0\">") +
                                    warnings + QStringLiteral("</ul>"));
  warningsLabel_->setVisible(!warnings.isEmpty());
  dontShowCBox_->setChecked(false);
  adjustSize();
}

BackupsWindow::BackupsWindow(QWidget* parent)
    : QDialog(parent),
      backupsGrid_(MakeList(this, "BackupsGrid",
                            {QStringLiteral("Taken"), QStringLiteral("Box"),
                             QStringLiteral("Replaced by"), QStringLiteral("File")})),
      openBtn_(new QPushButton(QStringLiteral("&Open as New Project"), this)),
      writeBtn_(new QPushButton(QStringLiteral("&Write to Box ..."), this)),
      emptyLabel_(new QLabel(this)) {
  setWindowTitle(QStringLiteral("Backups"));
  setProperty(kHelpContextProperty, kHelpBoxRecord);
  openBtn_->setObjectName(QStringLiteral("OpenBtn"));
  writeBtn_->setObjectName(QStringLiteral("WriteBtn"));
  emptyLabel_->setObjectName(QStringLiteral("EmptyLabel"));
  auto* close = new QPushButton(QStringLiteral("Close"), this);
  close->setObjectName(QStringLiteral("CloseBtn"));
  auto* help = new QPushButton(QStringLiteral("Help"), this);
  connect(help, &QPushButton::clicked, this, [help] { RequestHelp(help); });
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
  connect(openBtn_, &QPushButton::clicked, this, [this] { Finish(Choice::Open); });
  connect(writeBtn_, &QPushButton::clicked, this, [this] { Finish(Choice::WriteToBox); });
  connect(backupsGrid_, &QTableWidget::itemSelectionChanged, this, [this] {
    const bool chosen = !backupsGrid_->selectedItems().isEmpty();
    openBtn_->setEnabled(chosen);
    writeBtn_->setEnabled(chosen);
  });
  connect(backupsGrid_, &QTableWidget::cellDoubleClicked, this, [this] { Finish(Choice::Open); });
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(openBtn_);
  buttons->addWidget(writeBtn_);
  buttons->addStretch();
  buttons->addWidget(close);
  buttons->addWidget(help);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(emptyLabel_);
  layout->addWidget(backupsGrid_, 1);
  layout->addLayout(buttons);
}

void BackupsWindow::Finish(Choice choice) {
  if (backupsGrid_->currentRow() < 0) return;
  choice_ = choice;
  accept();
}

BackupsWindow::Choice BackupsWindow::Run(const std::vector<BackupInfo>& backups,
                                         std::string& path) {
  Fill(backups);
  if (exec() != QDialog::Accepted || choice_ == Choice::None) return Choice::None;
  path = backups_.at(static_cast<size_t>(backupsGrid_->currentRow())).path;
  return choice_;
}

void BackupsWindow::Fill(const std::vector<BackupInfo>& backups) {
  backups_ = backups;
  choice_ = Choice::None;
  std::vector<QStringList> rows;
  for (const BackupInfo& b : backups)
    rows.push_back(
        {QString::fromStdString(b.time), QString::fromStdString(b.letter + " " + b.version),
         b.project.empty() ? QStringLiteral("(not known)") : Path(b.project), Path(b.fileName)});
  FillRows(backupsGrid_, rows);
  for (size_t r = 0; r < backups.size(); ++r)
    if (backups[r].simulated) MarkSimulated(backupsGrid_, static_cast<int>(r), 1);
  backupsGrid_->resizeColumnsToContents();
  FitWidth(backupsGrid_);
  backupsGrid_->setMinimumHeight(200);
  emptyLabel_->setText(backups.empty()
                           ? QStringLiteral("No backups yet: Update EEPROM keeps one of what the "
                                            "Box held before each write.")
                           : QStringLiteral("What the Box held before each Update, newest first:"));
  if (!backups.empty()) backupsGrid_->selectRow(0);
  openBtn_->setEnabled(!backups.empty());
  writeBtn_->setEnabled(!backups.empty());
  adjustSize();
}

HistoryWindow::HistoryWindow(QWidget* parent)
    : QDialog(parent),
      pathLabel_(new QLabel(this)),
      historyGrid_(MakeList(
          this, "HistoryGrid",
          {QStringLiteral("Time"), QStringLiteral("Operation"), QStringLiteral("Port"),
           QStringLiteral("Box"), QStringLiteral("Project"), QStringLiteral("Checksum"),
           QStringLiteral("Outcome"), QStringLiteral("Stopped at"), QStringLiteral("Message")})) {
  setWindowTitle(QStringLiteral("History"));
  setProperty(kHelpContextProperty, kHelpBoxRecord);
  pathLabel_->setObjectName(QStringLiteral("PathLabel"));
  pathLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* close = new QPushButton(QStringLiteral("Close"), this);
  close->setObjectName(QStringLiteral("CloseBtn"));
  close->setDefault(true);
  auto* help = new QPushButton(QStringLiteral("Help"), this);
  connect(help, &QPushButton::clicked, this, [help] { RequestHelp(help); });
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(close);
  buttons->addWidget(help);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(historyGrid_, 1);
  layout->addWidget(pathLabel_);
  layout->addLayout(buttons);
}

void HistoryWindow::Run(const std::vector<HistoryEntry>& entries, const QString& logPath) {
  Fill(entries, logPath);
  exec();
}

void HistoryWindow::Fill(const std::vector<HistoryEntry>& entries, const QString& logPath) {
  std::vector<QStringList> rows;
  for (const HistoryEntry& e : entries) {
    QString time = QString::fromStdString(e.time);
    time.replace(QLatin1Char('T'), QLatin1Char(' '));
    rows.push_back({time.left(19), QString::fromStdString(e.operation), Path(e.port),
                    QString::fromStdString(e.letter + " " + e.version).trimmed(), Path(e.project),
                    QString::fromStdString(e.checksum), QString::fromStdString(e.outcome),
                    QString::fromStdString(e.stoppedAt), Path(e.message)});
  }
  FillRows(historyGrid_, rows);
  for (size_t r = 0; r < entries.size(); ++r)
    if (IsSimulatorPort(entries[r].port)) MarkSimulated(historyGrid_, static_cast<int>(r), 3);
  historyGrid_->resizeColumnsToContents();
  FitWidth(historyGrid_);
  historyGrid_->setMinimumHeight(240);
  if (!rows.empty()) historyGrid_->scrollToTop();
  pathLabel_->setText(entries.empty() ? QStringLiteral("No Update or Retrieve yet. The history "
                                                       "is kept in ") +
                                            logPath
                                      : QStringLiteral("Kept in ") + logPath);
  if (entries.size() >= kHistoryWindowEntries)
    pathLabel_->setText(pathLabel_->text() +
                        QStringLiteral("; the newest %1 are shown").arg(kHistoryWindowEntries));
  adjustSize();
}

}  // namespace vyk::ui
