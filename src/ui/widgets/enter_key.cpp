#include "ui/widgets/enter_key.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QToolButton>

namespace vyk::ui {

namespace {

class EnterKeyFilter : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
    if (key->isAutoRepeat() || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
      return false;
    auto* button = qobject_cast<QAbstractButton*>(watched);
    if (button == nullptr || button != QApplication::focusWidget()) return false;
    if (qobject_cast<QPushButton*>(button) == nullptr &&
        qobject_cast<QToolButton*>(button) == nullptr)
      return false;  // a check box or a radio button leaves Enter to its dialog
    if (button->isEnabled()) button->click();
    return true;
  }
};

}  // namespace

void InstallEnterKey() {
  const QString name = QStringLiteral("EnterKeyFilter");
  QCoreApplication* app = QCoreApplication::instance();
  if (app->findChild<QObject*>(name, Qt::FindDirectChildrenOnly) != nullptr) return;
  auto* filter = new EnterKeyFilter(app);
  filter->setObjectName(name);
  app->installEventFilter(filter);
}

}  // namespace vyk::ui
