// The single-instance guard: a lock file "TavrikInstantiated" in the user's runtime folder, held by the
// first instance of that user.
#pragma once

#include "app/Dialogs.h"

#include <QLockFile>
#include <QString>

namespace tavrik {

inline constexpr const char* InstanceLockName = "TavrikInstantiated";

// The user's own runtime folder ($XDG_RUNTIME_DIR, else a private one Qt makes under the temp folder), so
// that another user's running Tavrik does not count.
QString InstanceLockFolder();

class SingleInstance {
  public:
    // Tries to take the lock in folder (InstanceLockFolder in the program). A second instance is told
    // "Tavrik is already running!" and goes on all the same, without owning the lock.
    SingleInstance(const QString& folder, Dialogs& dialogs);
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // Only the owner releases the lock, when it is destroyed.
    bool OwnsLock() const { return Owned; }

  private:
    QLockFile Lock;
    bool Owned = false;
};

} // namespace tavrik
