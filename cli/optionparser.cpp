// SPDX-License-Identifier: GPL-3.0-or-later
#include "optionparser.h"

#include "base/quoting.h"
#include "errors.h"

#include <algorithm>

namespace kelsing::cli {

namespace {

constexpr OptionSpec kHelp{"--help", 'h', false};
constexpr OptionSpec kVersion{"--version", 'V', false};

} // namespace

ParsedArguments::ParsedArguments(std::span<const OptionSpec> options, const Arguments& args)
    : m_options(options) {
    bool optionsEnded = false;
    for (std::size_t index = 0; index < args.size(); ++index) {
        const std::string_view arg = args[index];
        if (optionsEnded || arg == "-" || !arg.starts_with('-')) {
            m_operands.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg.starts_with("--")) {
            readLong(arg, args, index);
        } else {
            readShort(arg, args, index);
        }
    }
}

void ParsedArguments::readLong(std::string_view arg, const Arguments& args, std::size_t& index) {
    const std::size_t equals = arg.find('=');
    const std::string_view name = arg.substr(0, equals);
    const auto isNamed = [&](const OptionSpec& option) { return option.name == name; };
    const auto known = std::find_if(m_options.begin(), m_options.end(), isNamed);
    const OptionSpec* option = known != m_options.end() ? &*known
                               : isNamed(kHelp)         ? &kHelp
                               : isNamed(kVersion)      ? &kVersion
                                                        : nullptr;
    if (option == nullptr) {
        fault("unknown option " + quotedArgument(arg));
    } else if (equals != std::string_view::npos) {
        if (option->takesValue) {
            give(*option, arg.substr(equals + 1));
        } else {
            fault("option " + quotedArgument(name) + " takes no value");
        }
    } else if (!option->takesValue) {
        give(*option, {});
    } else if (index + 1 < args.size()) {
        give(*option, args[++index]);
    } else {
        fault("missing value for option " + quotedArgument(name));
    }
}

void ParsedArguments::readShort(std::string_view arg, const Arguments& args, std::size_t& index) {
    for (std::size_t i = 1; i < arg.size(); ++i) {
        const char letter = arg[i];
        const auto isLetter = [&](const OptionSpec& option) { return option.shortName == letter; };
        const auto known = std::find_if(m_options.begin(), m_options.end(), isLetter);
        const OptionSpec* option = known != m_options.end() ? &*known
                                   : isLetter(kHelp)        ? &kHelp
                                   : isLetter(kVersion)     ? &kVersion
                                                            : nullptr;
        if (option == nullptr) {
            fault("unknown option " + quotedArgument(arg));
            return;
        }
        if (!option->takesValue) {
            give(*option, {});
            continue;
        }
        if (i + 1 < arg.size()) {
            give(*option, arg.substr(i + 1));
        } else if (index + 1 < args.size()) {
            give(*option, args[++index]);
        } else {
            fault("missing value for option " + quotedArgument(std::string{'-', letter}));
        }
        return;
    }
}

void ParsedArguments::give(const OptionSpec& option, std::string_view value) {
    if (option.name == kHelp.name) {
        m_help = true;
        return;
    }
    if (option.name == kVersion.name) {
        m_version = true;
        return;
    }
    if (option.takesValue && has(option.name)) {
        fault("option " + quotedArgument(option.name) + " given more than once");
    }
    m_given.push_back({option.name, value});
}

void ParsedArguments::fault(std::string message) {
    if (!m_fault) {
        m_fault = std::move(message);
    }
}

void ParsedArguments::check() const {
    if (m_fault) {
        throw UsageError{*m_fault};
    }
}

bool ParsedArguments::has(std::string_view name) const {
    return std::any_of(m_given.begin(), m_given.end(),
                       [&](const Given& given) { return given.name == name; });
}

std::optional<std::string_view> ParsedArguments::value(std::string_view name) const {
    for (const Given& given : m_given) {
        if (given.name == name) {
            return given.value;
        }
    }
    return std::nullopt;
}

} // namespace kelsing::cli
