#include "ui/widgets/qt_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace vyk::ui {

namespace {

QMessageBox::StandardButtons Buttons(QuestionButtons buttons) {
  return buttons == QuestionButtons::YesNo
             ? QMessageBox::Yes | QMessageBox::No
             : QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
}

Answer FromButton(int button) {
  switch (button) {
    case QMessageBox::Yes:
      return Answer::Yes;
    case QMessageBox::No:
      return Answer::No;
    case QMessageBox::Ok:
      return Answer::Ok;
    default:
      return Answer::Cancel;
  }
}

QString Text(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace

QWidget* QtDialogs::Parent() const {
  QWidget* modal = QApplication::activeModalWidget();
  return modal != nullptr ? modal : parent_;
}

QString QtFilter(const std::string& filter) {
  const QStringList parts = Text(filter).split('|');
  if (parts.size() == 1) return parts[0] + " (" + parts[0] + ")";
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
    filters << (parts[i].contains('(') ? parts[i] : parts[i] + " (" + parts[i + 1] + ")");
  return filters.join(";;");
}

namespace {

// Runs the dialog; a name with wildcards, such as the "*.VYK" it starts with, lists the files
// it matches instead of being taken as a file name.
std::optional<std::string> ChooseFile(QFileDialog& dialog, const FileDialogRequest& request) {
  if (!request.defaultExtension.empty()) dialog.setDefaultSuffix(Text(request.defaultExtension));
  if (!request.initialName.empty()) dialog.selectFile(Text(request.initialName));
  while (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
    const QString chosen = dialog.selectedFiles().first();
    const QString name = QFileInfo(chosen).fileName();
    if (!name.contains('*') && !name.contains('?')) return chosen.toStdString();
    dialog.setDirectory(QFileInfo(chosen).absolutePath());
    dialog.setNameFilter(name);
    dialog.selectFile(name);
  }
  return std::nullopt;
}

}  // namespace

void QtDialogs::Error(const std::string& text) {
  QMessageBox::critical(Parent(), QStringLiteral("Error"), Text(text));
}

void QtDialogs::Information(const std::string& text) {
  QMessageBox::information(Parent(), QStringLiteral("Information"), Text(text));
}

Answer QtDialogs::Question(const std::string& text, QuestionButtons buttons) {
  return FromButton(
      QMessageBox::question(Parent(), QStringLiteral("Confirm"), Text(text), Buttons(buttons)));
}

Answer QtDialogs::Warning(const std::string& text, QuestionButtons buttons) {
  return FromButton(
      QMessageBox::warning(Parent(), QStringLiteral("Warning"), Text(text), Buttons(buttons)));
}

void QtDialogs::RecordWarning(const std::string& text) {
  QMessageBox::warning(Parent(), QStringLiteral("Warning"), Text(text), QMessageBox::Ok);
}

std::optional<std::string> QtDialogs::OpenFileName(const FileDialogRequest& request) {
  QFileDialog dialog(Parent(), QString(), Text(request.folder), QtFilter(request.filter));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  return ChooseFile(dialog, request);
}

std::optional<std::string> QtDialogs::SaveFileName(const FileDialogRequest& request) {
  QFileDialog dialog(Parent(), QString(), Text(request.folder), QtFilter(request.filter));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  if (!request.confirmOverwrite) dialog.setOption(QFileDialog::DontConfirmOverwrite);
  return ChooseFile(dialog, request);
}

bool QtDialogs::AskProjectSetup(ProjectSetup& setup) {
  return projectSetup ? projectSetup(setup, {}) : false;
}

bool QtDialogs::AskProjectEdit(ProjectSetup& setup,
                               const std::vector<std::pair<std::string, std::string>>& provenance) {
  return projectSetup ? projectSetup(setup, provenance) : false;
}

bool QtDialogs::AskPortSetup(const std::vector<std::string>& items, int& selected,
                             UpdateSafety& safety) {
  return portSetup ? portSetup(items, selected, safety) : false;
}

bool QtDialogs::PreviewUpdate(const UpdatePreview& preview, bool& dontShowAgain) {
  return previewUpdate ? previewUpdate(preview, dontShowAgain) : true;
}

}  // namespace vyk::ui
