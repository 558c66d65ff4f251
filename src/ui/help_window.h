#pragma once
// The user guide: HTML pages compiled into the program, shown with their contents page and a
// keyword index. Controls carry a help context number in their "helpContext" property; F1
// opens the page of the focused control's nearest context.
#include <QString>
#include <QWidget>
#include <vector>

class QLineEdit;
class QTextBrowser;
class QTreeWidget;

namespace vyk::ui {

inline constexpr char kHelpContextProperty[] = "helpContext";
inline constexpr int kHelpMainWindow = 1000;
inline constexpr int kHelpHowDoI = 1001;
inline constexpr int kHelpInputOutput = 1010;
inline constexpr int kHelpPots = 1020;
inline constexpr int kHelpLimit = 1030;
inline constexpr int kHelpChart = 1300;

class HelpWindow : public QWidget {
 public:
  explicit HelpWindow(QWidget* parent = nullptr);

  void ShowContents();
  // The keyword index with an empty key, the cursor in the search box.
  void ShowTopicSearch();
  // The page of a help context; the contents for a number no page belongs to.
  void ShowContext(int helpContext);

  // The page (a file name under :/help) a help context opens.
  static QString PageForContext(int helpContext);

 private:
  struct Keyword {
    QString keyword;
    QString page;
    QString title;
  };

  void LoadKeywords();
  void ListMatches(const QString& key);
  void OpenPage(const QString& page);
  void Present();

  std::vector<Keyword> keywords_;
  QLineEdit* searchEdit_;
  QTreeWidget* topicList_;
  QTextBrowser* browser_;
};

// F1 anywhere in the program opens the help window at the topic of the focused widget (its own
// help context or its nearest parent's), or at the contents.
void InstallHelpKey(HelpWindow& help);

}  // namespace vyk::ui
