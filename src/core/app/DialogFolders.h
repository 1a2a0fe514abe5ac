// The folder each kind of file was last opened from or saved to, so that the next file dialog for that kind
// starts there instead of in the current folder.
#pragma once

#include "app/Dialogs.h"

#include <map>
#include <string>

namespace tavrik {

class DialogFolders {
public:
    // The folder a dialog for request starts in: "" when the initial name brings its own folder or nothing
    // of this kind was chosen yet.
    std::string StartFolder(const FileDialogRequest& request) const;
    // Notes the folder of the file chosen in a dialog for request.
    void Remember(const FileDialogRequest& request, const std::string& chosen);

private:
    // By the dialog's filter, which names the kind of file.
    std::map<std::string, std::string> Folders;
};

} // namespace tavrik
