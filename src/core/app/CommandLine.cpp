// Command-line option checks and values.
#include "app/CommandLine.h"

#include "app/Address.h"
#include "app/IntegerText.h"
#include "app/TextHelpers.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <optional>

namespace tavrik {

namespace {

std::optional<std::pair<int32_t, int32_t>> ParseSize(const std::string& text) {
    std::string rest = text;
    const std::optional<int32_t> width = ParseIntegerText(Trim(SplitAt(rest, "x")));
    const std::optional<int32_t> height = ParseIntegerText(Trim(rest));
    if (!width || !height) return std::nullopt;
    return std::pair{*width, *height};
}

// A check that is not named in the help (the option's type name says what it takes).
CLI::Validator Check(std::function<std::string(const std::string&)> problem) {
    return CLI::Validator([problem](std::string& text) { return problem(text); }, "");
}

std::string NotText(const std::string& wanted, const std::string& text) { return "takes " + wanted + ", not '" + text + "'"; }

} // namespace

void FailUsage(const std::string& message) { throw UsageError{message}; }

CLI::Validator IntegerTextCheck(int32_t min, int32_t max) {
    std::string wanted = "a number from " + std::to_string(min) + " to " + std::to_string(max);
    if (max == LargestInteger) wanted = "a number of at least " + std::to_string(min);
    if (min == AnyInteger && max == LargestInteger) wanted = "a number such as 12 or $1f";
    return Check([=](const std::string& text) {
        const std::optional<int32_t> value = ParseIntegerText(Trim(text));
        return value && *value >= min && *value <= max ? std::string() : NotText(wanted, text);
    });
}

CLI::Validator SizeTextCheck(int32_t max) {
    const std::string wanted = max == LargestInteger ? "a size WxH of two positive numbers"
                                                     : "a size WxH of two numbers from 1 to " + std::to_string(max);
    return Check([=](const std::string& text) {
        const auto size = ParseSize(text);
        const bool valid = size && size->first >= 1 && size->second >= 1 && size->first <= max && size->second <= max;
        return valid ? std::string() : NotText(wanted, text);
    });
}

CLI::Validator AddressTextCheck() {
    return Check([](const std::string& text) {
        std::string rest = Trim(text);
        const bool chipRelative = !rest.empty() && rest.front() == '+';
        if (chipRelative) rest.erase(0, 1);
        const bool valid = rest.empty() ? chipRelative : AddressNumber(rest).has_value();
        return valid ? std::string() : NotText("an address such as $1F00, 8000 or +$100", text);
    });
}

CLI::Validator OneOfCheck(const std::vector<std::string>& words) {
    std::string list;
    for (const std::string& word : words)
        list += (list.empty() ? "" : "|") + word;
    return Check([=](const std::string& text) {
        return std::find(words.begin(), words.end(), text) != words.end() ? std::string() : NotText("one of " + list, text);
    });
}

CLI::Validator TextCheck(std::function<bool(const std::string&)> valid, const std::string& wanted) {
    return Check([=](const std::string& text) { return valid(text) ? std::string() : NotText(wanted, text); });
}

int32_t IntegerTextValue(const std::string& text) { return ParseIntegerText(Trim(text)).value_or(0); }

std::pair<int32_t, int32_t> SizeTextValue(const std::string& text) { return ParseSize(text).value_or(std::pair{1, 1}); }

int32_t WordIndex(const std::vector<std::string>& words, const std::string& word) {
    return static_cast<int32_t>(std::find(words.begin(), words.end(), word) - words.begin());
}

void UseProgramOptionRules(CLI::App& app) {
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    app.get_formatter()->column_width(32);
}

} // namespace tavrik
