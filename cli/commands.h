// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "optionparser.h"

#include <span>
#include <string_view>
#include <vector>

namespace kelsing::cli {

/// What the environment says about colours.
struct ColourSettings {
    bool noColour = false;     // NO_COLOR is set and not empty
    bool dumbTerminal = false; // TERM=dumb
    bool trueColour = false;   // COLORTERM says truecolor or 24bit
};

/// One command of the tool. `run` checks every argument before it writes anything, then streams
/// its output; it throws UsageError for bad input and InputOutputError for a failed read or
/// write.
struct Command {
    std::string_view name;
    std::string_view summary;
    std::string_view usage;
    std::span<const OptionSpec> options;
    void (*run)(const ParsedArguments& args, const ColourSettings& colours);
};

/// Every command, in the order of the help text.
const std::vector<Command>& commands();

/// The commands kept in files of their own: the shifts of today and the next days, and the
/// crews remembered for the window and the tool.
Command todayCommand();
Command rememberCommand();

/// The user's own days: leave, sick days, swapped and extra shifts, notes.
Command daysCommand();
/// A year at a glance, in a file of its own.
Command yearCommand();

} // namespace kelsing::cli
