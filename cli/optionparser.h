// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kelsing::cli {

using Arguments = std::vector<std::string_view>;

/// One option of a command: "--name" with an optional one-letter form "-x".
struct OptionSpec {
    std::string_view name; // with its two dashes
    char shortName = '\0';
    bool takesValue = false;
};

/// A command's arguments read the GNU way: options and operands in any order, "--name value"
/// and "--name=value", "-x value" and "-xvalue", one-letter flags grouped ("-hV"), "--" ending the
/// options and a lone "-" as an operand. -h/--help and -V/--version belong to every command. An
/// option that takes a value takes the next argument whatever it looks like. A value option given
/// twice is bad input, so that a command line never means something else than it seems to; a
/// flag given twice is the flag.
class ParsedArguments {
public:
    /// Reads `args` against `options`; a fault is kept for check(), so that a help or version
    /// request anywhere is still answered.
    ParsedArguments(std::span<const OptionSpec> options, const Arguments& args);

    bool helpAsked() const { return m_help; }
    bool versionAsked() const { return m_version; }

    /// Throws UsageError for the first fault: an unknown option, a missing value, a value given
    /// to a flag, a value option given twice.
    void check() const;

    /// Whether the option was given.
    bool has(std::string_view name) const;

    /// The value of a value option, if it was given.
    std::optional<std::string_view> value(std::string_view name) const;

    /// The operands in the order given.
    const std::vector<std::string_view>& operands() const { return m_operands; }

private:
    struct Given {
        std::string_view name;
        std::string_view value;
    };

    void readLong(std::string_view arg, const Arguments& args, std::size_t& index);
    void readShort(std::string_view arg, const Arguments& args, std::size_t& index);
    void give(const OptionSpec& option, std::string_view value);
    void fault(std::string message);

    std::span<const OptionSpec> m_options;
    std::vector<Given> m_given;
    std::vector<std::string_view> m_operands;
    std::optional<std::string> m_fault;
    bool m_help = false;
    bool m_version = false;
};

} // namespace kelsing::cli
