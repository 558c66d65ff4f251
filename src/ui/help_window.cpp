#include "ui/help_window.h"

#include <QApplication>
#include <QFile>
#include <QHBoxLayout>
#include <QHash>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSplitter>
#include <QTextBrowser>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

// The pages are compiled into the window library; a static library's resources register only
// when asked for by name.
static void RegisterHelpPages() {
  static const bool registered = [] {
    Q_INIT_RESOURCE(help);
    return true;
  }();
  (void)registered;
}

namespace vyk::ui {

namespace {

const QString kRoot = QStringLiteral("qrc:/help/");
const QString kContents = QStringLiteral("index.html");

QString ReadResource(const QString& page) {
  QFile file(QStringLiteral(":/help/") + page);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll());
}

QString PageTitle(const QString& page) {
  static const QRegularExpression title(
      QStringLiteral("<title>(.*?)</title>"),
      QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
  QRegularExpressionMatch match = title.match(ReadResource(page));
  return match.hasMatch() ? match.captured(1).simplified() : page;
}

// A keyword matches a key that begins the keyword or one of its words.
bool Matches(const QString& keyword, const QString& key) {
  if (key.isEmpty()) return true;
  return keyword.startsWith(key, Qt::CaseInsensitive) ||
         keyword.contains(QLatin1Char(' ') + key, Qt::CaseInsensitive);
}

// The nearest help context of a widget or its parents; 0 for none.
int HelpContextOf(const QWidget* widget) {
  for (; widget != nullptr; widget = widget->parentWidget()) {
    QVariant context = widget->property(kHelpContextProperty);
    bool ok = false;
    int number = context.toInt(&ok);
    if (context.isValid() && ok) return number;
  }
  return 0;
}

class HelpKeyFilter : public QObject {
 public:
  explicit HelpKeyFilter(HelpWindow& help) : QObject(&help), help_(help) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    // A key press reaches the window object first and the focused widget next; only the
    // widget tells which control the user is in.
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
    if (static_cast<QKeyEvent*>(event)->key() != Qt::Key_F1) return false;
    auto* widget = static_cast<QWidget*>(watched);
    // Under a modal dialog the help window could not be used until the dialog closes.
    if (QApplication::activeModalWidget() != nullptr) return false;
    help_.ShowContext(HelpContextOf(widget));
    return true;
  }

 private:
  HelpWindow& help_;
};

}  // namespace

QString HelpWindow::PageForContext(int helpContext) {
  switch (helpContext) {
    case kHelpMainWindow:
      return QStringLiteral("main_window.html");
    case kHelpHowDoI:
      return QStringLiteral("how_do_i.html");
    case kHelpInputOutput:
      return QStringLiteral("input_output.html");
    case kHelpPots:
      return QStringLiteral("pots.html");
    case kHelpLimit:
      return QStringLiteral("limit.html");
    case kHelpChart:
      return QStringLiteral("chart.html");
    default:
      return kContents;
  }
}

HelpWindow::HelpWindow(QWidget* parent)
    : QWidget(parent, Qt::Window),
      searchEdit_(new QLineEdit(this)),
      topicList_(new QTreeWidget(this)),
      browser_(new QTextBrowser(this)) {
  RegisterHelpPages();
  setWindowTitle(QStringLiteral("Vyk Edit Help"));
  resize(900, 600);

  auto* contents = new QToolButton(this);
  contents->setText(QStringLiteral("Contents"));
  contents->setObjectName(QStringLiteral("ContentsBtn"));
  auto* back = new QToolButton(this);
  back->setText(QStringLiteral("Back"));
  back->setEnabled(false);
  auto* forward = new QToolButton(this);
  forward->setText(QStringLiteral("Forward"));
  forward->setEnabled(false);

  searchEdit_->setObjectName(QStringLiteral("SearchEdit"));
  searchEdit_->setPlaceholderText(QStringLiteral("Type a keyword"));
  searchEdit_->setClearButtonEnabled(true);

  topicList_->setObjectName(QStringLiteral("TopicList"));
  topicList_->setHeaderLabels({QStringLiteral("Keyword"), QStringLiteral("Topic")});
  topicList_->setRootIsDecorated(false);
  topicList_->setUniformRowHeights(true);
  topicList_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);

  browser_->setObjectName(QStringLiteral("HelpBrowser"));
  browser_->setSearchPaths({QStringLiteral(":/help")});

  auto* search = new QWidget(this);
  auto* searchLayout = new QVBoxLayout(search);
  searchLayout->setContentsMargins(0, 0, 0, 0);
  auto* searchLabel = new QLabel(QStringLiteral("&Search the index:"), search);
  searchLabel->setBuddy(searchEdit_);
  searchLayout->addWidget(searchLabel);
  searchLayout->addWidget(searchEdit_);
  searchLayout->addWidget(topicList_);

  auto* splitter = new QSplitter(this);
  splitter->addWidget(search);
  splitter->addWidget(browser_);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({340, 520});

  auto* bar = new QHBoxLayout;
  bar->addWidget(contents);
  bar->addWidget(back);
  bar->addWidget(forward);
  bar->addStretch();

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(bar);
  layout->addWidget(splitter, 1);

  connect(contents, &QToolButton::clicked, this, [this] { OpenPage(kContents); });
  connect(back, &QToolButton::clicked, browser_, &QTextBrowser::backward);
  connect(forward, &QToolButton::clicked, browser_, &QTextBrowser::forward);
  connect(browser_, &QTextBrowser::backwardAvailable, back, &QToolButton::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward, &QToolButton::setEnabled);
  connect(browser_, &QTextBrowser::sourceChanged, this, [this] {
    QString title = browser_->documentTitle();
    setWindowTitle(title.isEmpty() ? QStringLiteral("Vyk Edit Help")
                                   : QStringLiteral("Vyk Edit Help - ") + title);
  });
  connect(searchEdit_, &QLineEdit::textChanged, this, &HelpWindow::ListMatches);
  connect(searchEdit_, &QLineEdit::returnPressed, this, [this] {
    if (topicList_->topLevelItemCount() > 0)
      OpenPage(topicList_->topLevelItem(0)->data(1, Qt::UserRole).toString());
  });
  auto open = [this](QTreeWidgetItem* item) {
    if (item != nullptr) OpenPage(item->data(1, Qt::UserRole).toString());
  };
  connect(topicList_, &QTreeWidget::itemActivated, this, open);
  connect(topicList_, &QTreeWidget::itemClicked, this, open);

  LoadKeywords();
  ListMatches(QString());
  OpenPage(kContents);
}

void HelpWindow::LoadKeywords() {
  // One "keyword|page" a line; "#" starts a comment.
  const QStringList lines = ReadResource(QStringLiteral("keywords.txt")).split(QLatin1Char('\n'));
  QHash<QString, QString> titles;
  for (const QString& raw : lines) {
    QString line = raw.trimmed();
    if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
    QStringList parts = line.split(QLatin1Char('|'));
    if (parts.size() != 2) continue;
    QString page = parts[1].trimmed();
    if (!titles.contains(page)) titles.insert(page, PageTitle(page));
    keywords_.push_back({parts[0].trimmed(), page, titles.value(page)});
  }
  std::stable_sort(keywords_.begin(), keywords_.end(), [](const Keyword& a, const Keyword& b) {
    return QString::compare(a.keyword, b.keyword, Qt::CaseInsensitive) < 0;
  });
}

void HelpWindow::ListMatches(const QString& key) {
  QString wanted = key.trimmed();
  topicList_->clear();
  for (const Keyword& k : keywords_) {
    if (!Matches(k.keyword, wanted)) continue;
    auto* item = new QTreeWidgetItem(topicList_, {k.keyword, k.title});
    item->setData(1, Qt::UserRole, k.page);
  }
}

void HelpWindow::OpenPage(const QString& page) {
  browser_->setSource(QUrl(kRoot + page));
}

void HelpWindow::Present() {
  if (isMinimized()) showNormal();
  show();
  raise();
  activateWindow();
}

void HelpWindow::ShowContents() {
  OpenPage(kContents);
  Present();
}

void HelpWindow::ShowTopicSearch() {
  searchEdit_->clear();
  ListMatches(QString());
  Present();
  searchEdit_->setFocus();
}

void HelpWindow::ShowContext(int helpContext) {
  OpenPage(PageForContext(helpContext));
  Present();
}

void InstallHelpKey(HelpWindow& help) {
  qApp->installEventFilter(new HelpKeyFilter(help));
}

}  // namespace vyk::ui
