#pragma once
// The panel above the grids: the project's group, the input and output kinds, the pots, the
// limit, and the Box's main button with the line's state and the last reading. Each control
// runs its operation; the panel shows the controls' values and the window's look.
#include <QWidget>
#include <functional>
#include <vector>

#include "link/box_link.h"
#include "operations/project/session.h"
#include "operations/project/window_look.h"
#include "ui/main_window/handler_runner.h"

class QCheckBox;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace vyk::ui {

class TopPanel : public QWidget {
 public:
  // `link` is the Box link in use at the time of a click; `howDoI` opens the help.
  TopPanel(QWidget* parent, Session& session, HandlerRunner run, std::function<BoxLink&()> link,
           std::function<void()> howDoI);

  // The controls' values; the kinds change only while the look's mode controls allow.
  void ShowControls(const Controls& c, bool modeControls);
  // What may be used now, the main button and the line's state.
  void ShowLook(const WindowLook& look, const Controls& c);
  // The line's state as the link reports it between looks.
  void ShowLinkStatus(const QString& text);
  // Stops the handlers that run on focus changes: the window's state goes before the panel,
  // and hiding the window takes the focus from the limit box.
  void Detach();

  // The controls in reading order: from left to right, each block top to bottom.
  std::vector<QWidget*> TabOrder() const;
  QPushButton* MainButton() const { return abortBtn_; }
  QPushButton* LiveButton() const { return liveBtn_; }
  // The Live/Stop button's press.
  std::function<void()> liveClicked;
  QCheckBox* HexBox() const { return showHexCBox_; }

 private:
  void AddNameColumn(QHBoxLayout* row, std::function<void()> howDoI);
  QGroupBox* AddKindGroup(QHBoxLayout* row, const char* name, const char* title,
                          QRadioButton** buttons);
  void AddPotsAndLimit(QHBoxLayout* row);
  void AddBoxColumn(QHBoxLayout* row);

  Session& session_;
  HandlerRunner run_;
  std::function<BoxLink&()> link_;

  QLabel* groupLabel_ = nullptr;
  QPushButton* helpBtn_ = nullptr;
  QGroupBox* inputRGrp_ = nullptr;
  QGroupBox* outputRGrp_ = nullptr;
  QRadioButton* inputButtons_[2] = {};
  QRadioButton* outputButtons_[2] = {};
  QLineEdit* potEdits_[4] = {};
  QToolButton* potUp_[4] = {};
  QToolButton* potDown_[4] = {};
  QLineEdit* limitEdit_ = nullptr;
  QCheckBox* invertCBox_ = nullptr;
  QCheckBox* showHexCBox_ = nullptr;
  QPushButton* abortBtn_ = nullptr;
  QPushButton* liveBtn_ = nullptr;
  QLabel* sioLabel_ = nullptr;
  QLabel* dataInLabel_ = nullptr;
  QLabel* dataOutLabel_ = nullptr;
  QLabel* learnLabel_ = nullptr;
};

}  // namespace vyk::ui
