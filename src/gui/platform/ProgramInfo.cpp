// The program title from the build's version numbers, and the thread priority.
#include "platform/ProgramInfo.h"

#include <cerrno>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace tavrik {

std::string ProgramTitle() {
    std::string title = "Tavrik";
#if defined(TAVRIK_VERSION_MAJOR) && defined(TAVRIK_VERSION_MINOR) && defined(TAVRIK_VERSION_RELEASE) &&               \
    defined(TAVRIK_VERSION_BUILD)
    title += " v" + std::to_string(TAVRIK_VERSION_MAJOR) + "." + std::to_string(TAVRIK_VERSION_MINOR) + "." +
             std::to_string(TAVRIK_VERSION_RELEASE) + " (Build " + std::to_string(TAVRIK_VERSION_BUILD) + ")";
#endif
    return title;
}

void LowerThreadPriority() {
    // On Linux the nice value belongs to the thread; two steps below normal, as the lowest normal level.
    const auto thread = static_cast<id_t>(syscall(SYS_gettid));
    errno = 0;
    const int current = getpriority(PRIO_PROCESS, thread);
    if (errno == 0) setpriority(PRIO_PROCESS, thread, current + 2);
}

} // namespace tavrik
