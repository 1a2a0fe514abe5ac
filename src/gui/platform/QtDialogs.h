// The program's dialogs shown with Qt: message boxes, file dialogs and the input box.
#pragma once

#include "app/DialogFolders.h"
#include "app/Dialogs.h"

#include <QPointer>
#include <QString>
#include <QWidget>

namespace tavrik {

// Turns a filter of the form "Desc (*.a;*.b)|*.a;*.b|All Files (*.*)|*.*" into Qt's
// "Desc (*.a *.b);;All Files (*)". "*.*" becomes "*" so that files without an extension are listed.
QString QtFileFilter(const std::string& filter);

class QtDialogs : public Dialogs {
  public:
    // The dialogs open over this window (the main window once it exists).
    void SetParent(QWidget* parent) { Parent = parent; }

    void Information(const std::string& text) override;
    void Error(const std::string& text, bool cancelButton = false) override;
    bool Confirm(const std::string& text) override;
    bool InformationYesNo(const std::string& text) override;
    std::optional<std::string> OpenFile(const FileDialogRequest& request) override;
    std::optional<std::string> SaveFile(const FileDialogRequest& request) override;
    std::optional<std::string> SaveFileWithOption(const FileDialogRequest& request, const std::string& optionCaption,
                                                  bool& option) override;
    std::optional<std::string> InputBox(const std::string& title, const std::string& prompt,
                                        const std::string& initial) override;

  private:
    QWidget* DialogParent() const;
    // With an option caption, the dialog carries that check box, starting from and leaving its state in optionState.
    std::optional<std::string> FileDialog(const FileDialogRequest& request, bool save,
                                          const std::string* optionCaption = nullptr, bool* optionState = nullptr);

    QPointer<QWidget> Parent;
    DialogFolders Folders;
};

} // namespace tavrik
