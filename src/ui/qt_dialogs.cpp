#include "ui/qt_dialogs.h"

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
  auto bar = filter.find('|');
  if (bar == std::string::npos) return Text(filter + " (" + filter + ")");
  return Text(filter.substr(0, bar));
}

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

std::optional<std::string> QtDialogs::OpenFileName(const FileDialogRequest& request) {
  QFileDialog dialog(Parent(), QString(), Text(request.folder), QtFilter(request.filter));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  if (!request.defaultExtension.empty()) dialog.setDefaultSuffix(Text(request.defaultExtension));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().first().toStdString();
}

std::optional<std::string> QtDialogs::SaveFileName(const FileDialogRequest& request) {
  QFileDialog dialog(Parent(), QString(), Text(request.folder), QtFilter(request.filter));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  if (!request.confirmOverwrite) dialog.setOption(QFileDialog::DontConfirmOverwrite);
  if (!request.defaultExtension.empty()) dialog.setDefaultSuffix(Text(request.defaultExtension));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().first().toStdString();
}

bool QtDialogs::AskProjectSetup(ProjectSetup& setup) {
  return projectSetup ? projectSetup(setup) : false;
}

bool QtDialogs::AskPortSetup(int& index, std::string& portName) {
  return portSetup ? portSetup(index, portName) : false;
}

}  // namespace vyk::ui
