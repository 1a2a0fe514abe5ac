// Builds the "Info" tab: the report memo on the left, the copper list memo filling the rest.
#include "info/InfoPage.h"

#include "widgets/Memo.h"
#include "widgets/QtText.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QStringList>

namespace tavrik {

namespace {

constexpr int InfoMemoWidth = 273;

// "Courier New" where it is installed (or aliased to a metric twin), else the system's fixed font.
QFont CopperlistFont() {
    QFont font("Courier New");
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    if (!QFontInfo(font).fixedPitch()) font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    return font;
}

} // namespace

InfoPage::InfoPage(QWidget* parent) : QWidget(parent) {
    setObjectName("TabSheetInfo");
    Info = CreateMemo(this, "MemoInfo");
    Info->setFixedWidth(InfoMemoWidth);
    Copperlist = CreateMemo(this, "MemoCopperlist");
    Copperlist->setFont(CopperlistFont());

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Info);
    layout->addWidget(Copperlist, 1);
}

// The report and the copper list listing both describe the file loaded last.
void InfoPage::ClearInfo() {
    Info->clear();
    Copperlist->clear();
}

void InfoPage::SetInfoLines(const std::vector<std::string>& lines) {
    QStringList text;
    for (const std::string& line : lines)
        text << QText(line);
    Info->setPlainText(text.join('\n'));
}

void InfoPage::AddInfoLine(const QString& line) { Info->appendPlainText(line); }

void InfoPage::ShowCopperList(const QString& listing) { Copperlist->setPlainText(listing); }

} // namespace tavrik
