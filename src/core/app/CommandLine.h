// Reading command-line words: positional arguments and "--name value" options, with usage errors naming
// the option. Both programs take options: tavrik-cli for its commands, tavrik for its start-up rip.
#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace tavrik {

// Thrown for a bad command line; the program prints the message and its usage text.
struct UsageError {
    std::string Message;
};

using CommandArguments = std::vector<std::string>;

class OptionReader {
  public:
    // valueOptions take the next word as their value; flagOptions stand alone.
    OptionReader(const CommandArguments& arguments, std::set<std::string> valueOptions,
                 std::set<std::string> flagOptions = {});

    // The positional argument at index, or a usage error naming what is missing.
    const std::string& Positional(size_t index, const std::string& what) const;
    size_t PositionalCount() const { return Positionals.size(); }
    // Fails with a usage error when more positionals were given than the command takes.
    void ExpectPositionals(size_t count) const;

    // The last value given for the option.
    std::optional<std::string> Value(const std::string& option) const;
    // Every value given for a repeatable option, in order.
    std::vector<std::string> Values(const std::string& option) const;
    bool Flag(const std::string& option) const { return Flags.count(option) != 0; }
    // An integer-text value (decimal or "$" hex) within [min, max], or a usage error naming the option.
    std::optional<int32_t> Integer(const std::string& option, int32_t min, int32_t max) const;
    // A "WxH" value of two positive integers, or a usage error naming the option.
    std::optional<std::pair<int32_t, int32_t>> Size(const std::string& option) const;
    // An address-field text ("$1F00", "8000", "+$100"), or a usage error: the field itself never fails, but a
    // typing error on the command line should not quietly read from 0.
    std::optional<std::string> Address(const std::string& option) const;
    // One of the given words, as its index, or a usage error listing them.
    std::optional<int32_t> Choice(const std::string& option, const std::vector<std::string>& words) const;

  private:
    std::vector<std::string> Positionals;
    std::vector<std::pair<std::string, std::string>> Given;
    std::set<std::string> Flags;
};

[[noreturn]] void FailUsage(const std::string& message);

} // namespace tavrik
