// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/errors.h"
#include "base/quoting.h"
#include "base/version.h"
#include "commands.h"
#include "errors.h"

#include <cstdlib>
#include <cstring>
#include <exception>
#include <iostream>

using namespace kelsing;

namespace {

constexpr int kBadInput = 2;
constexpr int kFailure = 1;

constexpr std::string_view kCommonOptions =
    "\n"
    "  -o, --output FILE    write to FILE, which is replaced only once it is complete;\n"
    "                       '-' is standard output, the default\n"
    "  -h, --help           show this help\n"
    "  -V, --version        show the version\n";

std::string usage() {
    std::string text = "Usage: kelsing-shifts COMMAND [OPTION...] [ARGUMENT...]\n"
                       "       kelsing-shifts --help | --version\n"
                       "\n"
                       "Shift schedules of the Kelsing area plant crews.\n"
                       "\n"
                       "Commands:\n";
    for (const cli::Command& command : cli::commands()) {
        text += "  " + std::string(command.name);
        text.append(10 - command.name.size(), ' ');
        text += std::string(command.summary) + '\n';
    }
    text += "\n"
            "Every command takes these options:\n";
    text += kCommonOptions.substr(1);
    text += "\n"
            "Options and arguments come in any order. A value follows its option as the next\n"
            "argument or after '=' (--crew 83.2, --crew=83.2); '--' ends the options. An option\n"
            "with a value may be given once: a second --crew is bad input, not the last wins.\n"
            "\n"
            "Exit status: 0 done; 1 a rotation that cannot be worked out, or a failed read or\n"
            "write; 2 bad input, with a one-line message that names the argument.\n"
            "\n"
            "Run 'kelsing-shifts COMMAND --help' for a command's arguments, 'man kelsing-shifts'\n"
            "for the output formats.\n";
    return text;
}

void print(std::string_view text) {
    std::cout << text << std::flush;
    if (!std::cout) {
        throw cli::InputOutputError{std::string("cannot write standard output: ") +
                                    std::strerror(errno)};
    }
}

bool isSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

cli::ColourSettings colourSettings() {
    const auto is = [](const char* name, std::string_view value) {
        const char* set = std::getenv(name);
        return set != nullptr && value == set;
    };
    return {isSet("NO_COLOR"), is("TERM", "dumb"),
            is("COLORTERM", "truecolor") || is("COLORTERM", "24bit")};
}

int run(const cli::Arguments& argv) {
    // Before the command only --help, --version and "--" are options.
    std::size_t first = 0;
    for (; first < argv.size() && argv[first].starts_with('-') && argv[first] != "-"; ++first) {
        const std::string_view arg = argv[first];
        if (arg == "--help" || arg == "-h") {
            print(usage());
            return 0;
        }
        if (arg == "--version" || arg == "-V") {
            print("kelsing-shifts " + std::string(kVersionText) + '\n');
            return 0;
        }
        if (arg == "--") {
            ++first;
            break;
        }
        throw cli::UsageError{"unknown option " + quotedArgument(arg)};
    }
    if (first == argv.size()) {
        std::cerr << usage();
        return kBadInput;
    }
    for (const cli::Command& command : cli::commands()) {
        if (command.name != argv[first]) {
            continue;
        }
        const cli::ParsedArguments args(command.options,
                                        cli::Arguments(argv.begin() + first + 1, argv.end()));
        if (args.helpAsked()) {
            print(std::string(command.usage) + std::string(kCommonOptions));
            return 0;
        }
        if (args.versionAsked()) {
            print("kelsing-shifts " + std::string(kVersionText) + '\n');
            return 0;
        }
        args.check();
        command.run(args, colourSettings());
        return 0;
    }
    throw cli::UsageError{"unknown command " + quotedArgument(argv[first])};
}

} // namespace

int main(int argc, char** argv) {
    const cli::Arguments args(argv + 1, argv + argc);
    try {
        return run(args);
    } catch (const cli::UsageError& error) {
        std::cerr << "kelsing-shifts: " << error.message << '\n';
        return kBadInput;
    } catch (const cli::InputOutputError& error) {
        std::cerr << "kelsing-shifts: " << error.message << '\n';
        return kFailure;
    } catch (const ArithmeticError& error) {
        std::cerr << "kelsing-shifts: the rotation cannot be worked out: " << error.what() << '\n';
        return kFailure;
    } catch (const std::exception& error) {
        std::cerr << "kelsing-shifts: " << error.what() << '\n';
        return kFailure;
    }
}
