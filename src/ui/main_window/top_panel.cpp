#include "ui/main_window/top_panel.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <QValidator>
#include <algorithm>

#include "operations/box/box_operations.h"
#include "operations/project/main_controls.h"
#include "ui/help/help_context.h"
#include "ui/widgets/core_text.h"
#include "ui/widgets/text_fit.h"

namespace vyk::ui {
namespace {

constexpr int kPanelHeight = 81;

// The limit box lets only digits, ".", Backspace and Delete through.
class LimitKeyFilter : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::ShortcutOverride) {
      // Each key typed here is already stored in the project: Undo and Redo are the
      // project's, not the box's own.
      auto* key = static_cast<QKeyEvent*>(event);
      if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo) ||
          key->keyCombination() == QKeyCombination(Qt::CTRL, Qt::Key_Y)) {
        event->ignore();
        return true;
      }
    }
    if (event->type() == QEvent::KeyPress) {
      auto* key = static_cast<QKeyEvent*>(event);
      // A paste of nothing typing would let in changes nothing: it must not clear the
      // selection either. What a paste brings is filtered on its way in (LimitPasteFilter).
      if (key->matches(QKeySequence::Paste) &&
          LimitPasteText(ToCore(QGuiApplication::clipboard()->text())).empty())
        return true;
      const QString text = key->text();
      // Ctrl+V and the like are commands, whatever text they carry.
      const bool command =
          (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) !=
          Qt::NoModifier;
      if (!command && text.size() == 1 && text[0].unicode() >= 32 && text[0].unicode() != 127 &&
          !LimitKeyAccepted(static_cast<char>(text[0].unicode() < 128 ? text[0].unicode() : 0)))
        return true;
    }
    return QObject::eventFilter(watched, event);
  }
};

// A paste (or a drop) into the limit box keeps what typing the same characters would: the
// characters the key filter lets through; with none of them, nothing changes.
class LimitPasteFilter : public QValidator {
 public:
  explicit LimitPasteFilter(QLineEdit* edit) : QValidator(edit), before_(edit->text()) {}

  State validate(QString& text, int& pos) const override {
    // What replaced the selection: the text between the parts that stayed as they were.
    qsizetype head = 0;
    while (head < text.size() && head < before_.size() && text[head] == before_[head])
      ++head;
    qsizetype tail = 0;
    while (tail < text.size() - head && tail < before_.size() - head &&
           text[text.size() - 1 - tail] == before_[before_.size() - 1 - tail])
      ++tail;
    const QString inserted = text.mid(head, text.size() - head - tail);
    const QString kept = FromCore(LimitPasteText(ToCore(inserted)));
    if (kept.isEmpty() && !inserted.isEmpty()) return Invalid;  // the box takes it back
    if (kept != inserted) {
      text = text.left(head) + kept + text.right(tail);
      pos = static_cast<int>(head + kept.size());
    }
    before_ = text;
    return Acceptable;
  }

 private:
  // The text the box held after the last change; the program sets the box's text with its
  // signals blocked, so only the validator sees every change.
  mutable QString before_;
};

// The pot boxes only show the pots; their arrow keys press the spin arrows.
class PotKeyFilter : public QObject {
 public:
  PotKeyFilter(QObject* parent, QToolButton* up, QToolButton* down)
      : QObject(parent), up_(up), down_(down) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Up || key == Qt::Key_Down) {
        (key == Qt::Key_Up ? up_ : down_)->click();
        return true;
      }
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QToolButton* up_;
  QToolButton* down_;
};

}  // namespace

TopPanel::TopPanel(QWidget* parent, Session& session, HandlerRunner run,
                   std::function<BoxLink&()> link, std::function<void()> howDoI)
    : QWidget(parent), session_(session), run_(std::move(run)), link_(std::move(link)) {
  setObjectName("TopPanel");
  setMinimumHeight(kPanelHeight);
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(8, 2, 8, 4);
  row->setSpacing(8);

  AddNameColumn(row, std::move(howDoI));
  inputRGrp_ = AddKindGroup(row, "InputRGrp", "Input", inputButtons_);
  outputRGrp_ = AddKindGroup(row, "OutputRGrp", "Output", outputButtons_);
  for (int i = 0; i < 2; ++i) {
    connect(inputButtons_[i], &QRadioButton::clicked, this,
            [this, i] { run_([&] { SetInputRGrp(session_, i); }); });
    connect(outputButtons_[i], &QRadioButton::clicked, this,
            [this, i] { run_([&] { SetOutputRGrp(session_, i); }); });
  }
  AddPotsAndLimit(row);
  row->addStretch(1);
  AddBoxColumn(row);
}

void TopPanel::AddNameColumn(QHBoxLayout* row, std::function<void()> howDoI) {
  groupLabel_ = new QLabel(this);
  groupLabel_->setObjectName("GroupLabel");
  QFont big = groupLabel_->font();
  big.setBold(true);
  big.setPointSize(big.pointSize() + 6);
  groupLabel_->setFont(big);
  ReserveWidth(*groupLabel_, {"Ford", "GM", "Import"});

  helpBtn_ = new QPushButton("How Do I ...", this);
  helpBtn_->setObjectName("HelpBtn");
  helpBtn_->setProperty(kHelpContextProperty, kHelpHowDoI);
  helpBtn_->setMinimumWidth(80);
  connect(helpBtn_, &QPushButton::clicked, this, std::move(howDoI));
  auto* nameColumn = new QVBoxLayout;
  nameColumn->addWidget(groupLabel_);
  nameColumn->addWidget(helpBtn_);
  row->addLayout(nameColumn);
}

QGroupBox* TopPanel::AddKindGroup(QHBoxLayout* row, const char* name, const char* title,
                                  QRadioButton** buttons) {
  auto* box = new QGroupBox(title, this);
  box->setObjectName(name);
  box->setProperty(kHelpContextProperty, kHelpInputOutput);
  box->setMinimumSize(98, 70);
  auto* layout = new QVBoxLayout(box);
  layout->setContentsMargins(6, 2, 2, 2);
  layout->setSpacing(0);
  const char* items[] = {"Voltage", "Frequency"};
  for (int i = 0; i < 2; ++i) {
    buttons[i] = new QRadioButton(items[i], box);
    layout->addWidget(buttons[i]);
  }
  row->addWidget(box);
  return box;
}

// The pots in a row under their names, and the limit row under them.
void TopPanel::AddPotsAndLimit(QHBoxLayout* row) {
  auto* controls = new QGridLayout;
  controls->setHorizontalSpacing(4);
  controls->setVerticalSpacing(2);
  controls->addWidget(new QLabel("Adjusts", this), 1, 0);
  for (int k = 0; k < 4; ++k) {
    auto* label = new QLabel(QString("Pot %1").arg(k + 1), this);
    controls->addWidget(label, 0, k + 1);
    potEdits_[k] = new QLineEdit("0", this);
    potEdits_[k]->setObjectName(QString("Pot%1Edit").arg(k + 1));
    potEdits_[k]->setProperty(kHelpContextProperty, kHelpPots);
    potEdits_[k]->setFixedWidth(std::max(28, EditWidth(*potEdits_[k], {"-128"})));
    const int arrowHeight = std::max(10, potEdits_[k]->sizeHint().height() / 2);
    potUp_[k] = new QToolButton(this);
    potUp_[k]->setObjectName(QString("Pot%1SpinUp").arg(k + 1));
    potUp_[k]->setArrowType(Qt::UpArrow);
    potUp_[k]->setProperty(kHelpContextProperty, kHelpPots);
    potDown_[k] = new QToolButton(this);
    potDown_[k]->setObjectName(QString("Pot%1SpinDown").arg(k + 1));
    potDown_[k]->setArrowType(Qt::DownArrow);
    potDown_[k]->setProperty(kHelpContextProperty, kHelpPots);
    auto* arrows = new QVBoxLayout;
    arrows->setSpacing(0);
    for (QToolButton* arrow : {potUp_[k], potDown_[k]}) {
      // The arrows step the pot with the mouse; as in a spin box, they are no Tab stops.
      arrow->setFocusPolicy(Qt::NoFocus);
      arrow->setFixedSize(std::max(12, arrowHeight), arrowHeight);
      arrows->addWidget(arrow);
    }
    auto* pot = new QHBoxLayout;
    pot->setSpacing(0);
    pot->addWidget(potEdits_[k]);
    pot->addLayout(arrows);
    pot->addStretch(1);
    controls->addLayout(pot, 1, k + 1);
    connect(potUp_[k], &QToolButton::clicked, this,
            [this, k] { run_([&] { AdjustPot(session_, k + 1, +1); }); });
    connect(potDown_[k], &QToolButton::clicked, this,
            [this, k] { run_([&] { AdjustPot(session_, k + 1, -1); }); });
    potEdits_[k]->setReadOnly(true);
    potEdits_[k]->installEventFilter(new PotKeyFilter(potEdits_[k], potUp_[k], potDown_[k]));
  }

  controls->addWidget(new QLabel("Limit", this), 2, 0);
  limitEdit_ = new QLineEdit(this);
  limitEdit_->setObjectName("LimitEdit");
  limitEdit_->setProperty(kHelpContextProperty, kHelpLimit);
  limitEdit_->setFixedWidth(std::max(50, EditWidth(*limitEdit_, {"13500", "4.995"})));
  limitEdit_->installEventFilter(new LimitKeyFilter(limitEdit_));
  limitEdit_->setValidator(new LimitPasteFilter(limitEdit_));
  connect(limitEdit_, &QLineEdit::textEdited, this,
          [this](const QString& text) { run_([&] { SetLimitText(session_, ToCore(text)); }); });
  // Leaving the box ends its change, and it shows the limit as stored.
  connect(limitEdit_, &QLineEdit::editingFinished, this,
          [this] { run_([&] { EndLimitEdit(session_); }); });
  invertCBox_ = new QCheckBox("Invert Limit Output", this);
  invertCBox_->setObjectName("InvertCBox");
  connect(invertCBox_, &QCheckBox::clicked, this,
          [this](bool on) { run_([&] { SetInvertLimit(session_, on); }); });
  showHexCBox_ = new QCheckBox("Hex", this);
  showHexCBox_->setObjectName("ShowHexCBox");
  connect(showHexCBox_, &QCheckBox::clicked, this,
          [this](bool on) { run_([&] { ShowHexCBoxClick(session_, on); }); });
  auto* limitRow = new QHBoxLayout;
  limitRow->setSpacing(8);
  limitRow->addWidget(limitEdit_);
  limitRow->addWidget(invertCBox_);
  limitRow->addWidget(showHexCBox_);
  limitRow->addStretch(1);
  // The limit row is wider than the pots: it takes a column of its own beyond them.
  controls->addLayout(limitRow, 2, 1, 1, 5);
  controls->setColumnStretch(5, 1);
  row->addLayout(controls);
}

// The Box: the main button, the line's state and the last reading.
void TopPanel::AddBoxColumn(QHBoxLayout* row) {
  abortBtn_ = new QPushButton("Monitor", this);
  abortBtn_->setObjectName("AbortBtn");
  ReserveWidth(*abortBtn_, {"Monitor", "Connect", "Abort"});
  abortBtn_->setMinimumWidth(std::max(72, abortBtn_->minimumWidth()));
  connect(abortBtn_, &QPushButton::clicked, this,
          [this] { run_([&] { AbortBtnClick(session_, link_()); }); });
  sioLabel_ = new QLabel(this);
  sioLabel_->setObjectName("SIOLabel");
  ReserveWidth(*sioLabel_, {"(not connected)", "Partial 00..FF", "C4F7F", "Idle (simulated)"});
  dataInLabel_ = new QLabel(this);
  dataInLabel_->setObjectName("DataInLabel");
  dataOutLabel_ = new QLabel(this);
  dataOutLabel_->setObjectName("DataOutLabel");
  for (QLabel* label : {dataInLabel_, dataOutLabel_})
    ReserveWidth(*label, {"F Out =  13500 ", "V Out =  4.995 ", "F in =  13500 "});
  learnLabel_ = new QLabel(this);
  learnLabel_->setObjectName("LearnLabel");
  learnLabel_->hide();
  // The labels keep their place while the button hides without a project.
  QSizePolicy keep = abortBtn_->sizePolicy();
  keep.setRetainSizeWhenHidden(true);
  abortBtn_->setSizePolicy(keep);
  liveBtn_ = new QPushButton("Live", this);
  liveBtn_->setObjectName("LiveBtn");
  liveBtn_->setProperty(kHelpContextProperty, kHelpLive);
  ReserveWidth(*liveBtn_, {"Live", "Stop"});
  connect(liveBtn_, &QPushButton::clicked, this, [this] {
    if (liveClicked) liveClicked();
  });
  liveBtn_->setSizePolicy(keep);
  auto* buttons = new QHBoxLayout;
  buttons->setSpacing(4);
  buttons->addWidget(abortBtn_);
  buttons->addWidget(liveBtn_);
  auto* boxColumn = new QVBoxLayout;
  boxColumn->setSpacing(0);
  boxColumn->addLayout(buttons);
  boxColumn->addSpacing(2);
  for (QLabel* label : {sioLabel_, dataInLabel_, dataOutLabel_, learnLabel_})
    boxColumn->addWidget(label);
  boxColumn->addStretch(1);
  row->addLayout(boxColumn);
}

void TopPanel::ShowControls(const Controls& c, bool modeControls) {
  const QSignalBlocker blocks[] = {QSignalBlocker(limitEdit_), QSignalBlocker(invertCBox_),
                                   QSignalBlocker(showHexCBox_)};
  for (int i = 0; i < 2; ++i) {
    QSignalBlocker a(inputButtons_[i]);
    QSignalBlocker b(outputButtons_[i]);
    inputButtons_[i]->setChecked(c.inputRGrp == i);
    outputButtons_[i]->setChecked(c.outputRGrp == i);
  }
  inputRGrp_->setEnabled(c.inputRGrpEnabled && modeControls);
  outputRGrp_->setEnabled(c.outputRGrpEnabled && modeControls);
  if (limitEdit_->text() != FromCore(c.limitText)) limitEdit_->setText(FromCore(c.limitText));
  invertCBox_->setChecked(c.invertLimit);
  showHexCBox_->setChecked(c.showHex);
  // An edit given its own text again would still redraw: the live view shows the controls
  // several times a second.
  for (int k = 0; k < 4; ++k)
    if (potEdits_[k]->text() != FromCore(c.potTexts[k]))
      potEdits_[k]->setText(FromCore(c.potTexts[k]));
  groupLabel_->setText(FromCore(c.groupLabel));
  dataInLabel_->setText(FromCore(c.dataInLabel));
  dataOutLabel_->setText(FromCore(c.dataOutLabel));
  learnLabel_->setText(FromCore(c.learnLabel));
}

void TopPanel::ShowLook(const WindowLook& look, const Controls& c) {
  inputRGrp_->setEnabled(c.inputRGrpEnabled && look.modeControls);
  outputRGrp_->setEnabled(c.outputRGrpEnabled && look.modeControls);
  invertCBox_->setEnabled(look.modeControls);
  for (int k = 0; k < 4; ++k) {
    potEdits_[k]->setEnabled(look.potArrows);
    potUp_[k]->setEnabled(look.potArrows);
    potDown_[k]->setEnabled(look.potArrows);
  }
  limitEdit_->setEnabled(look.projectControls);
  showHexCBox_->setEnabled(look.projectControls);
  abortBtn_->setEnabled(look.abortBtnEnabled);
  abortBtn_->setVisible(look.abortBtnVisible);
  abortBtn_->setText(FromCore(look.abortBtnCaption));
  liveBtn_->setEnabled(look.live);
  liveBtn_->setVisible(look.abortBtnVisible);
  liveBtn_->setText(FromCore(look.liveCaption));
  sioLabel_->setText(FromCore(look.sioLabel));
  // The simulated Box's state reads apart from a real one's at a glance.
  QFont sioFont = sioLabel_->font();
  sioFont.setItalic(look.simulatedBox);
  sioLabel_->setFont(sioFont);
  sioLabel_->setForegroundRole(look.simulatedBox ? QPalette::Link : QPalette::WindowText);
  groupLabel_->setText(FromCore(c.groupLabel));
}

void TopPanel::ShowLinkStatus(const QString& text) {
  sioLabel_->setText(text);
}

void TopPanel::Detach() {
  limitEdit_->disconnect(this);
}

std::vector<QWidget*> TopPanel::TabOrder() const {
  return {helpBtn_,     inputButtons_[0], inputButtons_[1], outputButtons_[0], outputButtons_[1],
          potEdits_[0], potEdits_[1],     potEdits_[2],     potEdits_[3],      limitEdit_,
          invertCBox_,  showHexCBox_,     abortBtn_,        liveBtn_};
}

}  // namespace vyk::ui
