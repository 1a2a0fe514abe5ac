// Dialogs that answer from a script and record every question, so no test blocks on a modal dialog.
#pragma once

#include "app/Dialogs.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace tavrik::test {

class ScriptedDialogs : public Dialogs {
  public:
    struct Shown {
        std::string Kind;   // "information", "error", "confirm", "open", "save", "input"
        std::string Text;   // the message, or the dialog's title
        std::string Detail; // the filter of a file dialog, the prompt of an input box
    };

    // Answers, used in order; a question without a scripted answer gets No / Cancel.
    std::deque<bool> ConfirmAnswers;
    std::deque<std::optional<std::string>> FileAnswers;
    std::deque<std::optional<std::string>> InputAnswers;
    // States the check box of a file dialog that has one is left in, used in order (unanswered: unchanged).
    std::deque<bool> OptionAnswers;

    std::vector<Shown> History;

    void Information(const std::string& text) override { History.push_back({"information", text, ""}); }
    void Error(const std::string& text, bool) override { History.push_back({"error", text, ""}); }
    bool Confirm(const std::string& text) override {
        History.push_back({"confirm", text, ""});
        return Pop(ConfirmAnswers, false);
    }
    std::optional<std::string> OpenFile(const FileDialogRequest& request) override {
        History.push_back({"open", request.Title, request.Filter});
        return Pop(FileAnswers, std::optional<std::string>{});
    }
    std::optional<std::string> SaveFile(const FileDialogRequest& request) override {
        History.push_back({"save", request.Title, request.Filter});
        return Pop(FileAnswers, std::optional<std::string>{});
    }
    std::optional<std::string> SaveFileWithOption(const FileDialogRequest& request, const std::string& optionCaption,
                                                  bool& option) override {
        History.push_back({"save", request.Title, request.Filter + "|" + optionCaption});
        std::optional<std::string> answer = Pop(FileAnswers, std::optional<std::string>{});
        if (answer) option = Pop(OptionAnswers, option);
        return answer;
    }
    std::optional<std::string> InputBox(const std::string& title, const std::string& prompt,
                                        const std::string& initial) override {
        History.push_back({"input", title, prompt + "|" + initial});
        return Pop(InputAnswers, std::optional<std::string>{});
    }

    // Texts of the messages of one kind, in order.
    std::vector<std::string> Texts(const std::string& kind) const {
        std::vector<std::string> texts;
        for (const Shown& shown : History)
            if (shown.Kind == kind) texts.push_back(shown.Text);
        return texts;
    }

  private:
    template <typename T> static T Pop(std::deque<T>& answers, T fallback) {
        if (answers.empty()) return fallback;
        T answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

} // namespace tavrik::test
