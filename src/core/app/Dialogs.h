// The one interface through which the program asks and tells the user; the GUI shows real dialogs,
// tests script the answers, and the command line prints.
#pragma once

#include <optional>
#include <string>

namespace tavrik {

struct FileDialogRequest {
    std::string Title;
    // Filter in the form "Description (*.ext)|*.ext|All Files (*.*)|*.*".
    std::string Filter;
    std::string InitialName;
    std::string DefaultExtension;
};

class Dialogs {
  public:
    virtual ~Dialogs() = default;
    virtual void Information(const std::string& text) = 0;
    // An error with an OK button, or with a Cancel button where the behaviour asks for one.
    virtual void Error(const std::string& text, bool cancelButton = false) = 0;
    // Yes and No; true for Yes.
    virtual bool Confirm(const std::string& text) = 0;
    // Information with Yes and No buttons; true for Yes.
    virtual bool InformationYesNo(const std::string& text) { return Confirm(text); }
    virtual std::optional<std::string> OpenFile(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> SaveFile(const FileDialogRequest& request) = 0;
    // A save dialog with a check box under the file list (such as "Unique tiles"): it starts as option holds
    // and leaves its state there when the user accepts. Without a place for one, the plain save dialog.
    virtual std::optional<std::string> SaveFileWithOption(const FileDialogRequest& request,
                                                          const std::string& optionCaption, bool& option) {
        (void)optionCaption;
        (void)option;
        return SaveFile(request);
    }
    virtual std::optional<std::string> InputBox(const std::string& title, const std::string& prompt,
                                                const std::string& initial) = 0;
};

} // namespace tavrik
