#pragma once
// The user guide: HTML pages compiled into the program, shown with their contents page and a
// search over the keyword index and the pages' text. Controls carry a help context number
// (ui/help_context.h); F1 and the Help buttons open the page of the nearest one.
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <vector>

#include "ui/help/help_context.h"

class QLineEdit;
class QTextBrowser;
class QTreeWidget;

namespace vyk::ui {

class HelpWindow : public QWidget {
 public:
  explicit HelpWindow(QWidget* parent = nullptr);

  void ShowContents();
  // The search with an empty key, the cursor in the search box.
  void ShowTopicSearch();
  // The page of a help context; the contents for a number no page belongs to.
  void ShowContext(int helpContext);

  // The page (a file name under :/help) a help context opens.
  static QString PageForContext(int helpContext);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  // The page's links take their colour when it is laid out: a new palette lays it out again.
  void changeEvent(QEvent* event) override;

 private:
  struct Keyword {
    QString keyword;
    QString page;
    QString title;
  };
  struct Page {
    QString page;
    QString title;
    QString text;  // as shown, without markup
  };

  void LoadKeywords();
  void LoadPages();
  void ListMatches(const QString& key);
  // Opens a page; the words of `highlight` are marked wherever the page shows them.
  void OpenPage(const QString& page, const QString& highlight = {});
  void Highlight(const QString& key);
  void Present();
  void FollowModalWindow();

  std::vector<Keyword> keywords_;
  std::vector<Page> pages_;
  QLineEdit* searchEdit_;
  QTreeWidget* topicList_;
  QTextBrowser* browser_;
  // The modal window the help was opened over; the help stays usable above it.
  QPointer<QWidget> modalOwner_;
};

// F1 anywhere in the program, and RequestHelp, open the help window at the topic of the
// focused widget (its own help context or its nearest parent's), or at the contents.
void InstallHelpKey(HelpWindow& help);

}  // namespace vyk::ui
