// Reading the replacement memo: "old, old2-old3 = new ; comment" lines, each readable item one rule.
#include "map/ReplacementRules.h"

#include "app/IntegerText.h"
#include "app/TextHelpers.h"

#include <optional>
#include <string>

namespace tavrik {

namespace {

// The line without its comment, or nothing when the whole line is a comment.
std::optional<std::string> StripComment(std::string_view rawLine) {
    std::string line = Trim(rawLine);
    if (line.starts_with(';')) return std::nullopt;
    if (const size_t at = line.find(';'); at != std::string::npos) line = Trim(line.substr(0, at));
    return line;
}

// "First-Last" or "First"; an empty Last means First.
void AddItemRule(std::string_view item, int32_t newValue, ReplacementRules& rules) {
    std::string rest = Trim(item);
    const std::string firstText = Trim(SplitAt(rest, "-"));
    std::string lastText = Trim(rest);
    if (firstText.empty()) return;
    if (lastText.empty()) lastText = firstText;
    const std::optional<int32_t> first = ParseIntegerText(firstText);
    const std::optional<int32_t> last = ParseIntegerText(lastText);
    if (first && last) rules.push_back({*first, *last, newValue});
}

void AddLineRules(std::string_view rawLine, ReplacementRules& rules) {
    std::optional<std::string> line = StripComment(rawLine);
    if (!line) return;
    const std::string oldValues = Trim(SplitAt(*line, "="));
    // Only the first word after "=" counts, so a space straight after it leaves no new value.
    const std::string newText = Trim(SplitAt(*line, " "));
    if (oldValues.empty() || newText.empty()) return;
    const std::optional<int32_t> newValue = ParseIntegerText(newText);
    if (!newValue) return;
    std::string items = oldValues;
    while (!items.empty())
        AddItemRule(SplitAt(items, ","), *newValue, rules);
}

} // namespace

ReplacementRules BuildReplacementRules(std::string_view memoText) {
    ReplacementRules rules;
    size_t start = 0;
    while (start <= memoText.size()) {
        size_t end = memoText.find('\n', start);
        if (end == std::string_view::npos) end = memoText.size();
        AddLineRules(memoText.substr(start, end - start), rules);
        start = end + 1;
    }
    return rules;
}

int32_t ApplyReplacementRules(const ReplacementRules& rules, int32_t value) {
    for (const ReplacementRule& rule : rules)
        if (rule.First <= value && value <= rule.Last) value = rule.NewValue;
    return value;
}

} // namespace tavrik
