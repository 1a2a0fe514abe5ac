// Taking the instance lock; a lock left by a crashed instance is stale and is taken over.
#include "platform/SingleInstance.h"

#include <QDir>
#include <QStandardPaths>

namespace tavrik {

QString InstanceLockFolder() { return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation); }

SingleInstance::SingleInstance(const QString& folder, Dialogs& dialogs)
    : Lock(QDir(folder).filePath(QString::fromLatin1(InstanceLockName))) {
    // Only a lock whose process is gone is stale; a long-running first instance keeps its lock.
    Lock.setStaleLockTime(0);
    Owned = Lock.tryLock(0);
    if (!Owned) dialogs.Information("Tavrik is already running!");
}

} // namespace tavrik
