// Command-line option reading.
#include "app/CommandLine.h"

#include "app/IntegerText.h"
#include "app/TextHelpers.h"

namespace tavrik {

void FailUsage(const std::string& message) { throw UsageError{message}; }

OptionReader::OptionReader(const CommandArguments& arguments, std::set<std::string> valueOptions,
                           std::set<std::string> flagOptions) {
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& word = arguments[i];
        if (valueOptions.count(word)) {
            if (i + 1 >= arguments.size()) FailUsage("option " + word + " needs a value");
            Given.emplace_back(word, arguments[++i]);
        } else if (flagOptions.count(word)) {
            Flags.insert(word);
        } else if (word.size() > 1 && word.starts_with("-")) {
            FailUsage("unknown option " + word);
        } else {
            Positionals.push_back(word);
        }
    }
}

const std::string& OptionReader::Positional(size_t index, const std::string& what) const {
    if (index >= Positionals.size()) FailUsage("missing " + what);
    return Positionals[index];
}

void OptionReader::ExpectPositionals(size_t count) const {
    if (Positionals.size() > count) FailUsage("unexpected argument '" + Positionals[count] + "'");
}

std::optional<std::string> OptionReader::Value(const std::string& option) const {
    std::optional<std::string> found;
    for (const auto& [name, value] : Given)
        if (name == option) found = value;
    return found;
}

std::vector<std::string> OptionReader::Values(const std::string& option) const {
    std::vector<std::string> found;
    for (const auto& [name, value] : Given)
        if (name == option) found.push_back(value);
    return found;
}

std::optional<std::string> OptionReader::Address(const std::string& option) const {
    const std::optional<std::string> text = Value(option);
    if (!text) return std::nullopt;
    std::string rest = Trim(*text);
    const bool chipRelative = !rest.empty() && rest.front() == '+';
    if (chipRelative) rest.erase(0, 1);
    const bool valid = rest.empty() ? chipRelative : ParseIntegerText(rest) || ParseIntegerText("$" + rest);
    if (!valid) FailUsage("option " + option + " takes an address such as $1F00, 8000 or +$100, not '" + *text + "'");
    return text;
}

std::optional<int32_t> OptionReader::Integer(const std::string& option, int32_t min, int32_t max) const {
    const std::optional<std::string> text = Value(option);
    if (!text) return std::nullopt;
    const std::optional<int32_t> value = ParseIntegerText(Trim(*text));
    if (!value || *value < min || *value > max)
        FailUsage("option " + option + " takes a number from " + std::to_string(min) + " to " + std::to_string(max) +
                  ", not '" + *text + "'");
    return value;
}

std::optional<std::pair<int32_t, int32_t>> OptionReader::Size(const std::string& option) const {
    const std::optional<std::string> text = Value(option);
    if (!text) return std::nullopt;
    std::string rest = *text;
    const std::string head = SplitAt(rest, "x");
    const std::optional<int32_t> width = ParseIntegerText(Trim(head));
    const std::optional<int32_t> height = ParseIntegerText(Trim(rest));
    if (!width || !height || *width < 1 || *height < 1)
        FailUsage("option " + option + " takes a size WxH of two positive numbers, not '" + *text + "'");
    return std::pair{*width, *height};
}

std::optional<int32_t> OptionReader::Choice(const std::string& option, const std::vector<std::string>& words) const {
    const std::optional<std::string> text = Value(option);
    if (!text) return std::nullopt;
    for (size_t i = 0; i < words.size(); ++i)
        if (words[i] == *text) return static_cast<int32_t>(i);
    std::string list;
    for (const std::string& word : words)
        list += (list.empty() ? "" : "|") + word;
    FailUsage("option " + option + " takes one of " + list + ", not '" + *text + "'");
}

} // namespace tavrik
