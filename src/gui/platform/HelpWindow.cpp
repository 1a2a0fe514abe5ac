// The help window: pages read from the program's resources and shown as Markdown; headings become
// anchors so that links and help contexts can point at a paragraph.
#include "platform/HelpWindow.h"

#include <QFile>
#include <QHBoxLayout>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QSplitter>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QToolButton>
#include <QVBoxLayout>

namespace tavrik {

namespace {

// Gives every heading of a page its anchor, as the repository's Markdown view names them.
void NameHeadings(QTextDocument& document) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() == 0 || block.text().isEmpty()) continue;
        QTextCharFormat anchor;
        anchor.setAnchor(true);
        anchor.setAnchorNames({QString::fromStdString(HeadingAnchor(block.text().toStdString()))});
        QTextCursor cursor(block);
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(anchor);
    }
}

// Screenshots of the whole window are shown at this width at most, so that they fit beside the text.
constexpr int LargestPictureWidth = 640;

// A browser whose pages are Markdown and whose headings are anchors by the time it scrolls to one.
class MarkdownBrowser : public QTextBrowser {
  public:
    using QTextBrowser::QTextBrowser;

    QVariant loadResource(int type, const QUrl& name) override {
        const QVariant resource = QTextBrowser::loadResource(type, name);
        if (type != QTextDocument::ImageResource) return resource;
        const QImage picture = QImage::fromData(resource.toByteArray());
        if (picture.width() <= LargestPictureWidth) return resource;
        return picture.scaledToWidth(LargestPictureWidth, Qt::SmoothTransformation);
    }

  protected:
    void doSetSource(const QUrl& name, QTextDocument::ResourceType type) override {
        if (type == QTextDocument::UnknownResource && name.path().endsWith(".md"))
            type = QTextDocument::MarkdownResource;
        QTextBrowser::doSetSource(name, type);
        NameHeadings(*document());
        if (name.hasFragment()) scrollToAnchor(name.fragment());
    }
};

QString ReadResourceText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

QString PageOf(const QUrl& url) { return url.fileName(); }

} // namespace

HelpWindow::HelpWindow(const QString& pageRoot, QWidget* parent) : QWidget(parent, Qt::Window), Root(pageRoot) {
    setObjectName("HelpWindow");
    setWindowTitle("Tavrik Help");
    // The program ends when its main window closes, even while the help is open.
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(980, 680);
    BuildControls();
    ReadPages();
    FillContents();
}

void HelpWindow::BuildControls() {
    BackButton = new QToolButton(this);
    BackButton->setObjectName("HelpBack");
    BackButton->setText("Back");
    ForwardButton = new QToolButton(this);
    ForwardButton->setObjectName("HelpForward");
    ForwardButton->setText("Forward");
    SearchField = new QLineEdit(this);
    SearchField->setObjectName("HelpSearch");
    SearchField->setPlaceholderText("Search the help");
    SearchField->setClearButtonEnabled(true);
    Contents = new QListWidget(this);
    Contents->setObjectName("HelpContents");
    View = new MarkdownBrowser(this);
    View->setObjectName("HelpBrowser");
    View->setOpenExternalLinks(true);

    auto* bar = new QHBoxLayout;
    bar->addWidget(BackButton);
    bar->addWidget(ForwardButton);
    bar->addWidget(SearchField, 1);
    auto* splitter = new QSplitter(this);
    splitter->addWidget(Contents);
    splitter->addWidget(View);
    splitter->setSizes({270, 710});
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(splitter, 1);

    BackButton->setEnabled(false);
    ForwardButton->setEnabled(false);
    connect(BackButton, &QToolButton::clicked, View, &QTextBrowser::backward);
    connect(ForwardButton, &QToolButton::clicked, View, &QTextBrowser::forward);
    connect(View, &QTextBrowser::backwardAvailable, BackButton, &QToolButton::setEnabled);
    connect(View, &QTextBrowser::forwardAvailable, ForwardButton, &QToolButton::setEnabled);
    connect(View, &QTextBrowser::sourceChanged, this, [this] { MarkCurrentPage(); });
    connect(Contents, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { OpenContentsItem(Contents->row(item)); });
    connect(SearchField, &QLineEdit::textChanged, this, &HelpWindow::SearchPages);
    connect(SearchField, &QLineEdit::returnPressed, this, [this] {
        for (int row = 0; row < Contents->count(); ++row)
            if (!Contents->item(row)->isHidden()) return OpenContentsItem(row);
    });
}

// The contents page and the pages its lists link to, in their order; the texts are kept for the search.
void HelpWindow::ReadPages() {
    const QString contents = ReadResourceText(Root + HelpContentsPage);
    if (contents.isEmpty()) return;
    PageNames = {HelpContentsPage};
    static const QRegularExpression link(R"(^- \[[^\]]*\]\(([\w-]+\.md)\))", QRegularExpression::MultilineOption);
    for (auto match = link.globalMatch(contents); match.hasNext();) {
        const QString page = match.next().captured(1);
        if (!PageNames.contains(page) && QFile::exists(Root + page)) PageNames.append(page);
    }
    for (const QString& page : PageNames)
        PageTexts.insert(page, ReadResourceText(Root + page));
}

QString HelpWindow::PageTitle(const QString& page) const {
    const QString text = PageTexts.value(page);
    const QString firstLine = text.left(text.indexOf('\n'));
    return firstLine.startsWith("# ") ? firstLine.mid(2).trimmed() : page;
}

void HelpWindow::FillContents() {
    for (const QString& page : PageNames) {
        auto* item = new QListWidgetItem(PageTitle(page), Contents);
        item->setData(Qt::UserRole, page);
    }
}

void HelpWindow::OpenContentsItem(int row) {
    const QString page = Contents->item(row)->data(Qt::UserRole).toString();
    ShowTopic({page.toStdString(), ""});
    // With a search under way, the first place of its first word is shown and marked.
    const QStringList words = SearchField->text().split(' ', Qt::SkipEmptyParts);
    if (!words.isEmpty()) View->find(words.first());
}

// Shows only the pages that hold every word of the search (in any case); all of them when it is empty.
void HelpWindow::SearchPages(const QString& text) {
    const QStringList words = text.split(' ', Qt::SkipEmptyParts);
    for (int row = 0; row < Contents->count(); ++row) {
        const QString& pageText = PageTexts[Contents->item(row)->data(Qt::UserRole).toString()];
        const bool holdsAll = std::all_of(words.begin(), words.end(), [&](const QString& word) {
            return pageText.contains(word, Qt::CaseInsensitive);
        });
        Contents->item(row)->setHidden(!holdsAll);
    }
}

void HelpWindow::MarkCurrentPage() {
    const QString page = PageOf(View->source());
    for (int row = 0; row < Contents->count(); ++row)
        if (Contents->item(row)->data(Qt::UserRole).toString() == page) Contents->setCurrentRow(row);
}

bool HelpWindow::Available() const {
#if QT_CONFIG(textmarkdownreader)
    return true;
#else
    return false;
#endif
}

bool HelpWindow::ShowTopic(const HelpTopic& topic) {
    const QString page = QString::fromStdString(topic.Page);
    if (page.isEmpty() || !QFile::exists(Root + page)) return false;
    QUrl url("qrc" + Root + page);
    if (!topic.Anchor.empty()) url.setFragment(QString::fromStdString(topic.Anchor));
    View->setSource(url);
    show();
    raise();
    activateWindow();
    return true;
}

} // namespace tavrik
