// Reports errors escaping a GUI handler in the error dialog.
#include "platform/HandlerGuard.h"

#include "app/Error.h"
#include "app/Limits.h"

#include <exception>

namespace tavrik {

void RunHandler(Dialogs& dialogs, const std::function<void()>& handler) {
    try {
        handler();
    } catch (const tavrik::Error& error) {
        dialogs.Error(error.what());
    } catch (const std::bad_alloc&) {
        // The places that allocate much say how much; anything else is at least not a bare type name.
        dialogs.Error(std::string(NotEnoughMemoryMessage));
    } catch (const std::exception& error) {
        dialogs.Error(error.what());
    }
}

int RunEventLoop(const std::function<int()>& loop, std::ostream& errors) {
    try {
        return loop();
    } catch (const std::exception& error) {
        errors << "tavrik: " << error.what() << "\n";
    } catch (...) {
        errors << "tavrik: an unknown error ended the program\n";
    }
    return 1;
}

} // namespace tavrik
