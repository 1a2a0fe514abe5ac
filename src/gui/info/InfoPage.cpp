// Builds the "Info" tab: the report memo on the left, the copper list memo filling the rest.
#include "InfoTab.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QHBoxLayout>
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

QPlainTextEdit* CreateMemo(QWidget* parent, const char* name) {
    auto* memo = new QPlainTextEdit(parent);
    memo->setObjectName(name);
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    return memo;
}

InfoTab::InfoTab(QWidget* page) : QObject(page) {
    setObjectName("InfoTab");
    Info = CreateMemo(page, "MemoInfo");
    Info->setFixedWidth(InfoMemoWidth);
    Copperlist = CreateMemo(page, "MemoCopperlist");
    Copperlist->setFont(CopperlistFont());

    auto* layout = new QHBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Info);
    layout->addWidget(Copperlist, 1);
}

void InfoTab::ClearInfo() { Info->clear(); }

void InfoTab::SetInfoLines(const std::vector<std::string>& lines) {
    QStringList text;
    for (const std::string& line : lines)
        text << QString::fromStdString(line);
    Info->setPlainText(text.join('\n'));
}

} // namespace tavrik
