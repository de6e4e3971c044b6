#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kelsing::cli {

/// Bad input: a one-line message that names the bad argument (exit status 2).
struct UsageError {
    std::string message;
};

/// What a command writes to standard output, worked out in full before anything is written.
struct CommandOutput {
    std::string text;
    std::string file; // written to this file instead of standard output when not empty
};

/// Where a command's output goes, which decides whether it may use colours.
struct Terminal {
    bool colour = false;
};

using Arguments = std::vector<std::string_view>;

/// One command of the tool.
struct Command {
    std::string_view name;
    std::string_view summary;
    std::string_view usage;
    CommandOutput (*run)(const Arguments& args, const Terminal& terminal);
};

/// Every command, in the order of the help text.
const std::vector<Command>& commands();

} // namespace kelsing::cli
