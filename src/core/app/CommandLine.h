// Command-line options as the program's fields take them: CLI11 checks for integer texts ("$1F" or "31"),
// sizes ("16x16"), addresses and word lists, and the values of texts that passed them. Both programs take
// options: tavrik-cli for its commands, tavrik for its start-up rip.
#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace CLI {
class App;
class Validator;
} // namespace CLI

namespace tavrik {

// Thrown for a bad command line found after the options were read (a missing output, options that do not
// go together); the program prints the message and exits with status 2 as for any usage error.
struct UsageError {
    std::string Message;
};

[[noreturn]] void FailUsage(const std::string& message);

inline constexpr int32_t AnyInteger = std::numeric_limits<int32_t>::min();
inline constexpr int32_t LargestInteger = std::numeric_limits<int32_t>::max();

// Each check's message says what the option takes and what it was given; CLI11 puts the option's name first.
CLI::Validator IntegerTextCheck(int32_t min = AnyInteger, int32_t max = LargestInteger);
// "WxH" of two numbers from 1 to max.
CLI::Validator SizeTextCheck(int32_t max = LargestInteger);
// An address-field text ("$1F00", "8000", "+$100"): the field itself never fails, but a typing error on the
// command line should not quietly read from 0.
CLI::Validator AddressTextCheck();
CLI::Validator OneOfCheck(const std::vector<std::string>& words);
// Any other check: texts for which valid is false fail with "takes WANTED, not 'TEXT'".
CLI::Validator TextCheck(std::function<bool(const std::string&)> valid, const std::string& wanted);

// The values of texts that passed the checks above.
int32_t IntegerTextValue(const std::string& text);
std::pair<int32_t, int32_t> SizeTextValue(const std::string& text);
int32_t WordIndex(const std::vector<std::string>& words, const std::string& word);

// The program's options as one command's: the last of an option given twice counts, and "--help" lists them.
void UseProgramOptionRules(CLI::App& app);

} // namespace tavrik
