// Dialogs for the command line: messages go to standard error, questions are answered "yes"
// (the command line writes where it is told), and no file dialog is ever shown.
#pragma once

#include "app/Dialogs.h"

#include <iostream>

namespace tavrik::cli {

class ConsoleDialogs : public Dialogs {
public:
    void Information(const std::string& text) override { std::cerr << "tavrik-cli: " << text << "\n"; }
    void Error(const std::string& text, bool) override { std::cerr << "tavrik-cli: " << text << "\n"; }
    bool Confirm(const std::string&) override { return true; }
    std::optional<std::string> OpenFile(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> SaveFile(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> InputBox(const std::string&, const std::string&, const std::string&) override {
        return std::nullopt;
    }
};

} // namespace tavrik::cli
