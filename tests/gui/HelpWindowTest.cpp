// The help: every help context and tab reaches a paragraph that is there, F1 brings the focused control's
// paragraph into view, links between pages hold, and the contents, search, history and change log work.
#include "FormFixture.h"
#include "GuiTestRegistry.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QToolButton>

#include <filesystem>
#include <fstream>

namespace tavrik::test {

namespace {

QTextBlock AnchorBlock(const QTextDocument& document, const QString& anchor) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment)
            if (fragment.fragment().charFormat().anchorNames().contains(anchor)) return block;
    return {};
}

// The page shown, and whether the anchor's heading is near the top of the view (or the page is scrolled
// as far as it goes), as it is when the help opens at a paragraph.
QString ShownPage(const HelpWindow& help) { return help.Browser()->source().fileName(); }

bool AnchorInView(const HelpWindow& help, const QString& anchor) {
    const QTextBrowser* browser = help.Browser();
    const QTextBlock block = AnchorBlock(*browser->document(), anchor);
    if (!block.isValid()) return false;
    const double top = browser->document()->documentLayout()->blockBoundingRect(block).top();
    const QScrollBar* scroll = browser->verticalScrollBar();
    const double viewTop = scroll->value();
    const double viewHeight = browser->viewport()->height();
    const bool nearTop = top >= viewTop && top < viewTop + viewHeight / 3;
    const bool scrolledToEnd = scroll->value() == scroll->maximum() && top >= viewTop && top < viewTop + viewHeight;
    return nearTop || scrolledToEnd;
}

void ExpectTopicShown(const HelpWindow& help, const HelpTopic& topic) {
    QVERIFY(help.isVisible());
    QCOMPARE(ShownPage(help).toStdString(), topic.Page);
    if (!topic.Anchor.empty()) QVERIFY2(AnchorInView(help, QString::fromStdString(topic.Anchor)), topic.Anchor.c_str());
}

void PressF1On(TForm1& form, QWidget* control) {
    control->setEnabled(true);
    control->setFocus();
    QTest::keyClick(&form, Qt::Key_F1);
}

QStringList ResourcePages() { return QDir(":/help").entryList({"*.md"}, QDir::Files); }

std::string SourceChangeLog() {
    std::ifstream file(std::filesystem::path(TAVRIK_EXAMPLES_DIR).parent_path() / "CHANGELOG.md");
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

} // namespace

class HelpWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void EveryHelpContextOfTheWindowLeadsToAParagraphThatIsThere() {
        FormFixture fixture;
        TForm1& form = fixture.Create();
        form.show();
        QSet<int> contexts;
        for (const QWidget* control : form.findChildren<QWidget*>())
            if (const int context = control->property("helpContext").toInt(); context != 0) contexts.insert(context);
        QVERIFY(contexts.size() >= 9);
        for (const int context : contexts) {
            const HelpTopic topic = TopicOfHelpContext(context);
            QVERIFY2(topic.Page != HelpContentsPage, qPrintable(QString::number(context)));
            QVERIFY(fixture.Help->ShowTopic(topic));
            ExpectTopicShown(*fixture.Help, topic);
        }
    }

    void F1OnEveryTabWithoutAFocusedControlOpensThatTabsOwnPage() {
        FormFixture fixture;
        TForm1& form = fixture.Create();
        form.show();
        QTabWidget* tabs = form.PageControl();
        QSet<QString> pages;
        for (int tab = 0; tab < tabs->count(); ++tab) {
            tabs->setTabVisible(tab, true);
            tabs->setCurrentIndex(tab);
            tabs->tabBar()->setFocus();
            QTest::keyClick(&form, Qt::Key_F1);
            QVERIFY(fixture.Help->isVisible());
            pages.insert(ShownPage(*fixture.Help));
            QVERIFY(fixture.Help->Pages().contains(ShownPage(*fixture.Help)));
        }
        QCOMPARE(pages.size(), tabs->count());
        QVERIFY(!pages.contains(HelpContentsPage));
        QVERIFY(fixture.Dialogs.History.empty());
    }

    void F1OnAControlBringsItsParagraphIntoView() {
        FormFixture fixture;
        TForm1& form = fixture.Create();
        form.show();
        PressF1On(form, fixture.Find<QComboBox>("ComboBoxGfxMode"));
        ExpectTopicShown(*fixture.Help, {"tile-ripper.md", "modes"});

        form.PageControl()->setCurrentIndex(1);
        PressF1On(form, fixture.Find<QLineEdit>("EditMapMask"));
        ExpectTopicShown(*fixture.Help, {"map-ripper.md", "mask"});
        // The game rules lie near the end of the page: the view must have moved to them.
        PressF1On(form, fixture.Find<QComboBox>("ComboBoxMapCustomGame"));
        ExpectTopicShown(*fixture.Help, {"map-ripper.md", "game-rules"});
        QVERIFY(fixture.Help->Browser()->verticalScrollBar()->value() > 0);
        // A control without a context of its own: the page of its tab, from the top.
        PressF1On(form, fixture.Find<QLineEdit>("EditMapTrimTiles"));
        ExpectTopicShown(*fixture.Help, {"map-ripper.md", ""});
        QCOMPARE(fixture.Help->Browser()->verticalScrollBar()->value(), 0);
        QVERIFY(fixture.Dialogs.History.empty());
    }

    void EveryLinkBetweenPagesReachesAPageAndAnchorThatAreThere() {
        HelpWindow help;
        const QStringList pages = ResourcePages();
        for (const QString& page : pages) {
            if (page != ChangeLogPage)
                QVERIFY2(help.Pages().contains(page), qPrintable(page + " is not in the contents"));
            QVERIFY(help.ShowTopic({page.toStdString(), ""}));
            QFile file(":/help/" + page);
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QString text = QString::fromUtf8(file.readAll());
            static const QRegularExpression link(R"(\]\(([\w-]+\.md)?(?:#([\w-]+))?\))");
            for (auto match = link.globalMatch(text); match.hasNext();) {
                const auto found = match.next();
                const QString target = found.captured(1).isEmpty() ? page : found.captured(1);
                QVERIFY2(pages.contains(target), qPrintable(page + " links to " + target));
                if (found.captured(2).isEmpty()) continue;
                QVERIFY(help.ShowTopic({target.toStdString(), found.captured(2).toStdString()}));
                QVERIFY2(AnchorBlock(*help.Browser()->document(), found.captured(2)).isValid(),
                         qPrintable(page + " links to " + found.captured(0)));
                help.ShowTopic({page.toStdString(), ""});
            }
        }
    }

    void ContentsSearchBackAndForward() {
        FormFixture fixture;
        fixture.Create();
        fixture.Find<QAction>("mnuHelpContents")->trigger();
        HelpWindow& help = *fixture.Help;
        QCOMPARE(ShownPage(help), QString(HelpContentsPage));
        auto* contents = help.findChild<QListWidget*>("HelpContents");
        QCOMPARE(contents->count(), help.Pages().size());

        const QString second = help.Pages().at(1);
        QTest::mouseClick(contents->viewport(), Qt::LeftButton, {},
                          contents->visualItemRect(contents->item(1)).center());
        QCOMPARE(ShownPage(help), second);
        auto* back = help.findChild<QToolButton*>("HelpBack");
        auto* forward = help.findChild<QToolButton*>("HelpForward");
        QVERIFY(back->isEnabled());
        back->click();
        QCOMPARE(ShownPage(help), QString(HelpContentsPage));
        QVERIFY(forward->isEnabled());
        forward->click();
        QCOMPARE(ShownPage(help), second);

        // A search keeps the pages that hold all its words, in any case, and Enter opens the first.
        auto* search = help.findChild<QLineEdit*>("HelpSearch");
        QTest::keyClicks(search, "JACKPOT matches");
        int shown = 0;
        for (int row = 0; row < contents->count(); ++row) {
            if (contents->item(row)->isHidden()) continue;
            ++shown;
            QVERIFY(help.ShowTopic({help.Pages().at(row).toStdString(), ""}));
            QVERIFY(help.Browser()->toPlainText().contains("jackpot", Qt::CaseInsensitive));
        }
        QVERIFY(shown >= 1 && shown < contents->count());
        QTest::keyClick(search, Qt::Key_Return);
        QVERIFY(help.Browser()->textCursor().selectedText().compare("JACKPOT", Qt::CaseInsensitive) == 0);
        search->clear();
        for (int row = 0; row < contents->count(); ++row)
            QVERIFY(!contents->item(row)->isHidden());
    }

    void ChangeLogOpensInTheHelpWindow() {
        FormFixture fixture;
        fixture.Create();
        fixture.Find<QAction>("mnuChangeLog")->trigger();
        QCOMPARE(ShownPage(*fixture.Help), QString(ChangeLogPage));
        // The change log shown is the repository's: its newest version heading is there.
        const std::string source = SourceChangeLog();
        const size_t heading = source.find("\n## ");
        QVERIFY(heading != std::string::npos);
        const QString newest =
            QString::fromStdString(source.substr(heading + 4, source.find('\n', heading + 4) - heading - 4));
        QVERIFY2(fixture.Help->Browser()->toPlainText().contains(newest), qPrintable(newest));
        QVERIFY(fixture.Dialogs.History.empty());
    }

    void PagesThatCannotBeLoadedAreReported() {
        FormFixture fixture;
        fixture.HelpRoot = ":/no-help/";
        TForm1& form = fixture.Create();
        QTest::keyClick(&form, Qt::Key_F1);
        fixture.Find<QAction>("mnuHelpContents")->trigger();
        fixture.Find<QAction>("mnuChangeLog")->trigger();
        QCOMPARE(fixture.Dialogs.Texts("error"),
                 std::vector<std::string>({"Help file Tavrik.chm could not be found!",
                                           "Help file Tavrik.chm could not be found!", "CHANGELOG.md was not found!"}));
        QVERIFY(!fixture.Help->isVisible());
    }
};

static const GuiTestRegistration<HelpWindowTest> helpWindowRegistration;

} // namespace tavrik::test

#include "HelpWindowTest.moc"
