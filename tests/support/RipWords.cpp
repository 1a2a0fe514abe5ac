// Rip options read with the programs' own declarations.
#include "support/RipWords.h"

#include <CLI/CLI.hpp>

#include <stdexcept>

namespace tavrik::test {

RipRequest RipRequestFromWords(const std::vector<std::string>& words) {
    CLI::App app;
    RipOptionTexts texts;
    AddRipOptions(app, texts);
    std::vector<std::string> backwards(words.rbegin(), words.rend());
    try {
        app.parse(backwards);
    } catch (const CLI::ParseError& error) {
        throw std::invalid_argument(error.what());
    }
    return ReadRipRequest(texts);
}

} // namespace tavrik::test
