#include "base/errors.h"
#include "base/version.h"
#include "commands.h"

#include <cstdlib>
#include <exception>
#include <fstream>
#include <iostream>
#include <unistd.h>

using namespace kelsing;

namespace {

constexpr int kBadInput = 2;
constexpr int kFailure = 1;

std::string usage() {
    std::string text = "Usage: kelsing-shifts COMMAND [ARGS]\n"
                       "\n"
                       "Shift schedules of the Kelsing area plant crews.\n"
                       "\n"
                       "Commands:\n";
    for (const cli::Command& command : cli::commands()) {
        text += "  " + std::string(command.name);
        text.append(10 - command.name.size(), ' ');
        text += std::string(command.summary) + '\n';
    }
    return text + "\nRun 'kelsing-shifts COMMAND --help' for a command's arguments.\n";
}

bool isHelp(std::string_view arg) {
    return arg == "--help" || arg == "-h";
}

// Colours only for a terminal, and never when the user asked for none.
cli::Terminal terminal() {
    const char* noColour = std::getenv("NO_COLOR");
    return {isatty(STDOUT_FILENO) == 1 && (noColour == nullptr || *noColour == '\0')};
}

int write(const cli::CommandOutput& output) {
    if (output.file.empty()) {
        std::cout << output.text << std::flush;
        return std::cout ? 0 : kFailure;
    }
    std::ofstream file(output.file, std::ios::binary | std::ios::trunc);
    file << output.text;
    file.close();
    if (!file) {
        std::cerr << "kelsing-shifts: cannot write '" << output.file << "'\n";
        return kFailure;
    }
    return 0;
}

int run(const cli::Arguments& argv) {
    if (argv.empty()) {
        std::cerr << usage();
        return kBadInput;
    }
    if (isHelp(argv[0])) {
        std::cout << usage();
        return 0;
    }
    if (argv[0] == "--version") {
        std::cout << "kelsing-shifts " << kVersionText << '\n';
        return 0;
    }
    for (const cli::Command& command : cli::commands()) {
        if (command.name != argv[0]) {
            continue;
        }
        const cli::Arguments args(argv.begin() + 1, argv.end());
        for (const std::string_view arg : args) {
            if (isHelp(arg)) {
                std::cout << command.usage;
                return 0;
            }
        }
        // Everything is worked out before anything is written, so a failure never leaves a
        // partial line behind.
        return write(command.run(args, terminal()));
    }
    throw cli::UsageError{"unknown command '" + std::string(argv[0]) + "'"};
}

} // namespace

int main(int argc, char** argv) {
    const cli::Arguments args(argv + 1, argv + argc);
    try {
        return run(args);
    } catch (const cli::UsageError& error) {
        std::cerr << "kelsing-shifts: " << error.message << '\n';
        return kBadInput;
    } catch (const ArithmeticError& error) {
        std::cerr << "kelsing-shifts: the rotation cannot be worked out: " << error.what() << '\n';
        return kFailure;
    } catch (const std::exception& error) {
        std::cerr << "kelsing-shifts: " << error.what() << '\n';
        return kFailure;
    }
}
