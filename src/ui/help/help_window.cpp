#include "ui/help/help_window.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QHash>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QShortcut>
#include <QSplitter>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QWindow>
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
  // As the page shows it: "Box &gt; Options" is "Box > Options".
  return match.hasMatch()
             ? QTextDocumentFragment::fromHtml(match.captured(1)).toPlainText().simplified()
             : page;
}

// A keyword matches a key that begins the keyword or one of its words.
bool Matches(const QString& keyword, const QString& key) {
  if (key.isEmpty()) return true;
  return keyword.startsWith(key, Qt::CaseInsensitive) ||
         keyword.contains(QLatin1Char(' ') + key, Qt::CaseInsensitive);
}

QStringList Words(const QString& key) {
  return key.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
}

// A word of the key is found where a word of the page begins with it, in any case: "port"
// finds "Ports" and "--port", not "import".
QRegularExpression WordPattern(const QString& word) {
  return QRegularExpression(
      QStringLiteral("(?<!\\w)") + QRegularExpression::escape(word),
      QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
}

qsizetype FirstAt(const QString& text, const QString& word) {
  return WordPattern(word).match(text).capturedStart();
}

// A page's text matches when it holds every word of the key.
bool TextHolds(const QString& text, const QStringList& words) {
  if (words.isEmpty()) return false;
  return std::all_of(words.begin(), words.end(),
                     [&](const QString& word) { return FirstAt(text, word) >= 0; });
}

// The whole word (or path) of the page in which `word` first occurs, as the page writes it.
QString FoundWord(const QString& text, const QString& word) {
  const qsizetype at = FirstAt(text, word);
  if (at < 0) return word;
  auto inWord = [&](qsizetype i) {
    const QChar c = text[i];
    return c.isLetterOrNumber() || c == QLatin1Char('/') || c == QLatin1Char('_') ||
           c == QLatin1Char('-') ||
           (c == QLatin1Char('.') && i + 1 < text.size() && text[i + 1].isLetterOrNumber());
  };
  qsizetype from = at;
  qsizetype to = at + word.size();
  while (from > 0 && inWord(from - 1))
    --from;
  while (to < text.size() && inWord(to))
    ++to;
  return text.mid(from, to - from);
}

// A few words around the first place the page says `word`, to tell the hits apart.
QString Excerpt(const QString& text, const QString& word) {
  constexpr int kAround = 24;
  const int at = static_cast<int>(FirstAt(text, word));
  if (at < 0) return {};
  const int from = std::max(0, at - kAround);
  const int to =
      std::min(static_cast<int>(text.size()), at + static_cast<int>(word.size()) + kAround);
  QString excerpt = text.mid(from, to - from).simplified();
  if (from > 0) excerpt.prepend(QStringLiteral("..."));
  if (to < text.size()) excerpt.append(QStringLiteral("..."));
  return excerpt;
}

QEvent::Type HelpRequestType() {
  static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
  return type;
}

class HelpKeyFilter : public QObject {
 public:
  explicit HelpKeyFilter(HelpWindow& help) : QObject(&help), help_(help) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    // A key press reaches the window object first and the focused widget next; only the
    // widget tells which control the user is in.
    if (!watched->isWidgetType()) return false;
    const bool f1 =
        event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1;
    if (!f1 && event->type() != HelpRequestType()) return false;
    help_.ShowContext(HelpContextOf(static_cast<QWidget*>(watched)));
    return true;
  }

 private:
  HelpWindow& help_;
};

}  // namespace

int HelpContextOf(const QWidget* widget) {
  for (; widget != nullptr; widget = widget->parentWidget()) {
    QVariant context = widget->property(kHelpContextProperty);
    bool ok = false;
    int number = context.toInt(&ok);
    if (context.isValid() && ok) return number;
    // A dialog without a page of its own is not the window that opened it.
    if (widget->isWindow()) break;
  }
  return 0;
}

void RequestHelp(QWidget* from) {
  QEvent request(HelpRequestType());
  QCoreApplication::sendEvent(from, &request);
}

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
    case kHelpTableGrid:
      return QStringLiteral("table_grid.html");
    case kHelpTableWork:
      return QStringLiteral("table_work.html");
    case kHelpHexGrid:
      return QStringLiteral("hex_grid.html");
    case kHelpChart:
      return QStringLiteral("chart.html");
    case kHelpLive:
      return QStringLiteral("live_data.html");
    case kHelpCorrect:
      return QStringLiteral("correct_from_log.html");
    case kHelpCompare:
      return QStringLiteral("compare_report.html");
    case kHelpBoxRecord:
      return QStringLiteral("backups_history.html");
    case kHelpPortSetup:
      return QStringLiteral("port_options.html");
    case kHelpTerminal:
      return QStringLiteral("terminal.html");
    case kHelpProjectSetup:
      return QStringLiteral("projects.html");
    case kHelpProvenance:
      return QStringLiteral("provenance.html");
    case kHelpMeterEditor:
      return QStringLiteral("meters.html");
    case kHelpMeterTools:
      return QStringLiteral("meter_tools.html");
    case kHelpMatch:
      return QStringLiteral("meter_match.html");
    default:
      return kContents;
  }
}

void HelpWindow::changeEvent(QEvent* event) {
  if (event->type() == QEvent::PaletteChange && !browser_->source().isEmpty()) browser_->reload();
  QWidget::changeEvent(event);
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
  searchEdit_->setPlaceholderText(QStringLiteral("Type a word"));
  searchEdit_->setClearButtonEnabled(true);

  topicList_->setObjectName(QStringLiteral("TopicList"));
  topicList_->setHeaderLabels({QStringLiteral("Found"), QStringLiteral("Topic")});
  topicList_->setRootIsDecorated(false);
  topicList_->setUniformRowHeights(true);
  // Whole titles: a long one scrolls rather than ending in "...".
  topicList_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  topicList_->header()->setStretchLastSection(false);

  browser_->setObjectName(QStringLiteral("HelpBrowser"));
  browser_->setSearchPaths({QStringLiteral(":/help")});

  auto* search = new QWidget(this);
  auto* searchLayout = new QVBoxLayout(search);
  searchLayout->setContentsMargins(0, 0, 0, 0);
  auto* searchLabel = new QLabel(QStringLiteral("&Search the index and the pages:"), search);
  searchLabel->setBuddy(searchEdit_);
  searchLayout->addWidget(searchLabel);
  searchLayout->addWidget(searchEdit_);
  searchLayout->addWidget(topicList_);

  auto* splitter = new QSplitter(this);
  splitter->addWidget(search);
  splitter->addWidget(browser_);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({400, 500});

  auto* bar = new QHBoxLayout;
  bar->addWidget(contents);
  bar->addWidget(back);
  bar->addWidget(forward);
  bar->addStretch();
  auto* closeBtn = new QPushButton(QStringLiteral("Close"), this);
  closeBtn->setObjectName(QStringLiteral("CloseBtn"));
  closeBtn->setAutoDefault(false);
  bar->addWidget(closeBtn);
  connect(closeBtn, &QPushButton::clicked, this, &QWidget::close);
  for (const QKeySequence& key : {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)})
    connect(new QShortcut(key, this), &QShortcut::activated, this, &QWidget::close);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(bar);
  layout->addWidget(splitter, 1);

  connect(contents, &QToolButton::clicked, this, [this] { OpenPage(kContents); });
  connect(back, &QToolButton::clicked, browser_, &QTextBrowser::backward);
  connect(forward, &QToolButton::clicked, browser_, &QTextBrowser::forward);
  connect(browser_, &QTextBrowser::backwardAvailable, back, &QToolButton::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward, &QToolButton::setEnabled);
  connect(browser_, &QTextBrowser::sourceChanged, this, [this] {
    browser_->setExtraSelections({});  // the marks belong to the page they were made on
    QString title = browser_->documentTitle();
    setWindowTitle(title.isEmpty() ? QStringLiteral("Vyk Edit Help")
                                   : QStringLiteral("Vyk Edit Help - ") + title);
  });
  connect(searchEdit_, &QLineEdit::textChanged, this, &HelpWindow::ListMatches);
  auto open = [this](QTreeWidgetItem* item) {
    if (item != nullptr) OpenPage(item->data(1, Qt::UserRole).toString(), searchEdit_->text());
  };
  connect(searchEdit_, &QLineEdit::returnPressed, this, [this, open] {
    if (topicList_->topLevelItemCount() > 0) open(topicList_->topLevelItem(0));
  });
  connect(topicList_, &QTreeWidget::itemActivated, this, open);
  connect(topicList_, &QTreeWidget::itemClicked, this, open);

  LoadKeywords();
  LoadPages();
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

void HelpWindow::LoadPages() {
  QTextDocument document;
  const QStringList files = QDir(QStringLiteral(":/help")).entryList({QStringLiteral("*.html")});
  for (const QString& page : files) {
    document.setHtml(ReadResource(page));
    pages_.push_back({page, PageTitle(page), document.toPlainText()});
  }
}

// The index keywords the key begins, then the pages whose text holds its words.
void HelpWindow::ListMatches(const QString& key) {
  const QString wanted = key.trimmed();
  topicList_->clear();
  QStringList listed;
  for (const Keyword& k : keywords_) {
    if (!Matches(k.keyword, wanted)) continue;
    auto* item = new QTreeWidgetItem(topicList_, {k.keyword, k.title});
    item->setData(1, Qt::UserRole, k.page);
    listed << k.page;
  }
  const QStringList words = Words(wanted);
  for (const Page& p : pages_) {
    if (listed.contains(p.page) || !TextHolds(p.text, words)) continue;
    auto* item = new QTreeWidgetItem(topicList_, {FoundWord(p.text, words.first()), p.title});
    item->setData(1, Qt::UserRole, p.page);
    item->setToolTip(0, Excerpt(p.text, words.first()));
    item->setToolTip(1, item->toolTip(0));
  }
}

void HelpWindow::OpenPage(const QString& page, const QString& highlight) {
  browser_->setSource(QUrl(kRoot + page));
  Highlight(highlight);
}

void HelpWindow::Highlight(const QString& key) {
  QList<QTextEdit::ExtraSelection> marks;
  QTextDocument* document = browser_->document();
  for (const QString& word : Words(key)) {
    const QRegularExpression pattern = WordPattern(word);
    for (QTextCursor hit = document->find(pattern); !hit.isNull();
         hit = document->find(pattern, hit)) {
      QTextEdit::ExtraSelection mark;
      mark.cursor = hit;
      // Fixed colours: the mark must read the same in a light and a dark palette.
      mark.format.setBackground(QColor(255, 220, 0));
      mark.format.setForeground(Qt::black);
      marks.append(mark);
    }
  }
  browser_->setExtraSelections(marks);
  if (marks.isEmpty()) return;
  auto first = std::min_element(marks.begin(), marks.end(), [](const auto& a, const auto& b) {
    return a.cursor.selectionStart() < b.cursor.selectionStart();
  });
  QTextCursor at(document);
  at.setPosition(first->cursor.selectionStart());
  browser_->setTextCursor(at);
  // The first mark a third of the way down, with the text that leads to it above.
  QScrollBar* scroll = browser_->verticalScrollBar();
  scroll->setValue(scroll->value() + browser_->cursorRect().top() -
                   browser_->viewport()->height() / 3);
}

// A modal dialog blocks every other window; the help opened from it becomes its transient
// window, which the dialog does not block, and goes back to its own once the dialog closes.
void HelpWindow::FollowModalWindow() {
  QWidget* modal = QApplication::activeModalWidget();
  if (modal == this) modal = nullptr;
  if (modal == modalOwner_) return;
  if (modalOwner_ != nullptr) modalOwner_->removeEventFilter(this);
  modalOwner_ = modal;
  if (modal != nullptr) modal->installEventFilter(this);
  winId();  // the native window, whose transient parent is set
  windowHandle()->setTransientParent(modal != nullptr ? modal->windowHandle() : nullptr);
}

bool HelpWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == modalOwner_ && event->type() == QEvent::Hide) {
    modalOwner_->removeEventFilter(this);
    modalOwner_ = nullptr;
    if (windowHandle() != nullptr) windowHandle()->setTransientParent(nullptr);
  }
  return QWidget::eventFilter(watched, event);
}

void HelpWindow::Present() {
  FollowModalWindow();
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
