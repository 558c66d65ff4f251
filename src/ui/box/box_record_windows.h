#pragma once
// The windows of the Box's safety net: the preview of an Update, Box > Backups and
// Box > History. Each shows what the operations give it; none holds state the logic reads.
#include <QDialog>
#include <string>
#include <vector>

#include "model/records/box_backups.h"
#include "model/records/box_history.h"
#include "operations/project/dialogs.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace vyk::ui {

// What an Update will change, with OK, Cancel and "Don't show again".
class UpdatePreviewDialog : public QDialog {
 public:
  explicit UpdatePreviewDialog(QWidget* parent);
  // True on OK; `dontShowAgain` as the user left the box.
  bool Run(const UpdatePreview& preview, bool& dontShowAgain);
  // Fills the dialog without showing it.
  void Fill(const UpdatePreview& preview);

 private:
  QLabel* textLabel_;
  QTableWidget* changesGrid_;
  QLabel* warningsLabel_;  // the check of the table, when it found something
  QCheckBox* dontShowCBox_;
};

// Box > Backups: newest first, with the project each was replaced by.
class BackupsWindow : public QDialog {
 public:
  enum class Choice { None, Open, WriteToBox };
  explicit BackupsWindow(QWidget* parent);
  // Shows the list; returns what the user chose and, for a choice, the backup's path.
  Choice Run(const std::vector<BackupInfo>& backups, std::string& path);
  void Fill(const std::vector<BackupInfo>& backups);

 private:
  void Finish(Choice choice);

  QTableWidget* backupsGrid_;
  QPushButton* openBtn_;
  QPushButton* writeBtn_;
  QLabel* emptyLabel_;
  std::vector<BackupInfo> backups_;
  Choice choice_ = Choice::None;
};

// Box > History: every Update and Retrieve, newest first.
class HistoryWindow : public QDialog {
 public:
  explicit HistoryWindow(QWidget* parent);
  void Run(const std::vector<HistoryEntry>& entries, const QString& logPath);
  void Fill(const std::vector<HistoryEntry>& entries, const QString& logPath);

 private:
  QLabel* pathLabel_;
  QTableWidget* historyGrid_;
};

}  // namespace vyk::ui
