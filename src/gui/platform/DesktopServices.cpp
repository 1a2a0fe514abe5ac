// The desktop's services through QDesktopServices and QProcess.
#include "platform/DesktopServices.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace tavrik {

bool QtDesktopServices::OpenDocument(const std::string& pathOrUrl) {
    const QString text = QString::fromStdString(pathOrUrl);
    const QUrl url = QFileInfo::exists(text) ? QUrl::fromLocalFile(text) : QUrl(text);
    return QDesktopServices::openUrl(url);
}

bool QtDesktopServices::StartProgram(const std::string& path) {
    return QProcess::startDetached(QString::fromStdString(path), {});
}

} // namespace tavrik
