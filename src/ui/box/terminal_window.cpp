#include "ui/box/terminal_window.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>

#include "ui/help/help_context.h"
#include "ui/widgets/core_text.h"

namespace vyk::ui {

namespace {

QLabel* Led(const char* name, QWidget* parent) {
  auto* led = new QLabel(parent);
  led->setObjectName(QString::fromLatin1(name));
  led->setFixedSize(12, 12);
  led->setStyleSheet(
      QStringLiteral("background-color: #20c020; border: 1px solid #105010; border-radius: 6px;"));
  return led;
}

}  // namespace

TerminalWindow::TerminalWindow(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), memo1_(new QPlainTextEdit(this)) {
  setWindowTitle(QStringLiteral("Terminal"));
  setProperty(kHelpContextProperty, kHelpTerminal);

  memo1_->setObjectName(QStringLiteral("Memo1"));
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setStyleHint(QFont::TypeWriter);
  memo1_->setFont(font);
  QPalette colours = memo1_->palette();
  colours.setColor(QPalette::Base, Qt::black);
  colours.setColor(QPalette::Text, QColor(192, 192, 192));
  memo1_->setPalette(colours);
  memo1_->setLineWrapMode(QPlainTextEdit::NoWrap);
  // The view shows what the Box sends, never what is typed: keys are taken by eventFilter.
  memo1_->setReadOnly(true);
  memo1_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  memo1_->setUndoRedoEnabled(false);
  memo1_->installEventFilter(this);
  // Room for every line and column of the screen, so it never needs scrolling.
  QFontMetrics metrics(font);
  const int margins =
      2 * (static_cast<int>(memo1_->document()->documentMargin()) + memo1_->frameWidth() + 2);
  memo1_->setMinimumSize(
      metrics.horizontalAdvance(QLatin1Char('M')) * (TerminalScreen::kMaxColumn + 1) + margins,
      metrics.lineSpacing() * TerminalScreen::kInitialLines + margins);

  auto* button1 = new QPushButton(QStringLiteral("Button1"), this);
  button1->setObjectName(QStringLiteral("Button1"));
  connect(button1, &QPushButton::clicked, this, [this] {
    if (onButton1) onButton1();
  });

  // Line indicators, for show: nothing drives them.
  auto* leds = new QHBoxLayout;
  const char* names[] = {"Txd", "Rxd", "Bin", "Dsr"};
  const char* ledNames[] = {"iLedRectangle1", "iLedRectangle2", "iLedRectangle3", "DsrLed"};
  for (int i = 0; i < 4; ++i) {
    leds->addWidget(Led(ledNames[i], this));
    leds->addWidget(new QLabel(QString::fromLatin1(names[i]), this));
    leds->addSpacing(12);
  }
  leds->addStretch();
  leds->addWidget(button1);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(memo1_);
  layout->addLayout(leds);

  RefreshView();
}

void TerminalWindow::Echo(uint8_t byte) {
  screen_.Echo(byte);
  // A hidden window catches up when it is shown.
  if (isVisible()) RefreshView();
}

void TerminalWindow::RefreshView() {
  const std::vector<std::string>& lines = screen_.Lines();
  if (shown_.size() != lines.size()) {
    QStringList texts;
    for (const std::string& line : lines)
      texts << FromCore(line);
    memo1_->setPlainText(texts.join(QLatin1Char('\n')));
    shown_ = lines;
    return;
  }
  QTextDocument* document = memo1_->document();
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i] == shown_[i]) continue;
    QTextCursor cursor(document->findBlockByNumber(static_cast<int>(i)));
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    cursor.insertText(FromCore(lines[i]));
    shown_[i] = lines[i];
  }
}

void TerminalWindow::showEvent(QShowEvent* event) {
  if (!activated_) {
    // Whatever arrived before the first showing is wiped.
    screen_.FirstActivate();
    activated_ = true;
    RefreshView();
    memo1_->moveCursor(QTextCursor::Start);
  } else {
    RefreshView();
  }
  QWidget::showEvent(event);
}

bool TerminalWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == memo1_ && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    // Keys without a character (arrows, page keys) still scroll and select.
    if (key->text().isEmpty()) return false;
    for (char c : ToCore(key->text()))
      if (onKey) onKey(static_cast<uint8_t>(c));
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace vyk::ui
