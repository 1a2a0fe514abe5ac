// Message boxes, file dialogs and the input box of the desktop program.
#include "platform/QtDialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QInputDialog>
#include <QMessageBox>
#include <QStringList>

namespace tavrik {

namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

QString QtPatterns(const QString& patterns) {
    QStringList qtPatterns;
    for (const QString& pattern : patterns.split(';', Qt::SkipEmptyParts)) {
        const QString trimmed = pattern.trimmed();
        qtPatterns << (trimmed == "*.*" ? QString("*") : trimmed);
    }
    return qtPatterns.join(' ');
}

// The description without the pattern list in brackets it carries at its end.
QString BareDescription(const QString& description) {
    const qsizetype open = description.lastIndexOf('(');
    if (open > 0 && description.trimmed().endsWith(')')) return description.left(open).trimmed();
    return description.trimmed();
}

QString MessageTitle() {
    return QApplication::applicationName().isEmpty() ? QString("Tavrik") : QApplication::applicationName();
}

// The request's check box below the file list; the desktop's own dialog has no room for one, so Qt's is used.
QCheckBox* AddOption(QFileDialog& dialog, const std::string& caption, bool checked) {
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    auto* option = new QCheckBox(Text(caption), &dialog);
    option->setChecked(checked);
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) grid->addWidget(option, grid->rowCount(), 0, 1, -1);
    return option;
}

} // namespace

QString QtFileFilter(const std::string& filter) {
    const QStringList parts = Text(filter).split('|');
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        entries << BareDescription(parts[i]) + " (" + QtPatterns(parts[i + 1]) + ")";
    if (parts.size() % 2 == 1 && !parts.back().isEmpty()) entries << parts.back();
    return entries.join(";;");
}

QWidget* QtDialogs::DialogParent() const { return Parent ? Parent.data() : QApplication::activeWindow(); }

void QtDialogs::Information(const std::string& text) {
    QMessageBox::information(DialogParent(), MessageTitle(), Text(text), QMessageBox::Ok);
}

void QtDialogs::Error(const std::string& text, bool cancelButton) {
    QMessageBox::critical(DialogParent(), MessageTitle(), Text(text),
                          cancelButton ? QMessageBox::Cancel : QMessageBox::Ok);
}

bool QtDialogs::Confirm(const std::string& text) {
    return QMessageBox::question(DialogParent(), MessageTitle(), Text(text), QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

bool QtDialogs::InformationYesNo(const std::string& text) {
    return QMessageBox::information(DialogParent(), MessageTitle(), Text(text), QMessageBox::Yes | QMessageBox::No,
                                    QMessageBox::No) == QMessageBox::Yes;
}

std::optional<std::string> QtDialogs::FileDialog(const FileDialogRequest& request, bool save,
                                                 const std::string* optionCaption, bool* optionState) {
    QFileDialog dialog(DialogParent(), Text(request.Title));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // The program asks its own overwrite question where one is wanted.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (!request.Filter.empty()) dialog.setNameFilter(QtFileFilter(request.Filter));
    QString extension = Text(request.DefaultExtension);
    if (extension.startsWith('.')) extension.remove(0, 1);
    if (!extension.isEmpty()) dialog.setDefaultSuffix(extension);
    const std::string folder = Folders.StartFolder(request);
    if (!folder.empty()) dialog.setDirectory(Text(folder));
    if (!request.InitialName.empty()) dialog.selectFile(Text(request.InitialName));
    QCheckBox* option = optionCaption ? AddOption(dialog, *optionCaption, *optionState) : nullptr;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    if (option) *optionState = option->isChecked();
    std::string chosen = dialog.selectedFiles().front().toStdString();
    Folders.Remember(request, chosen);
    return chosen;
}

std::optional<std::string> QtDialogs::OpenFile(const FileDialogRequest& request) { return FileDialog(request, false); }

std::optional<std::string> QtDialogs::SaveFile(const FileDialogRequest& request) { return FileDialog(request, true); }

std::optional<std::string> QtDialogs::SaveFileWithOption(const FileDialogRequest& request,
                                                         const std::string& optionCaption, bool& option) {
    return FileDialog(request, true, &optionCaption, &option);
}

std::optional<std::string> QtDialogs::InputBox(const std::string& title, const std::string& prompt,
                                               const std::string& initial) {
    bool accepted = false;
    const QString answer =
        QInputDialog::getText(DialogParent(), Text(title), Text(prompt), QLineEdit::Normal, Text(initial), &accepted);
    if (!accepted) return std::nullopt;
    return answer.toStdString();
}

} // namespace tavrik
