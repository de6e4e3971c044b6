#include "arguments.h"
#include "base/version.h"
#include "calendar/observances.h"
#include "rotation/rotationengine.h"

#include <cstdio>
#include <exception>
#include <functional>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

using namespace kelsing;

namespace {

constexpr int kBadInput = 2;
constexpr int kEngineError = 1;

constexpr std::string_view kUsage =
    "Usage: kelsing-shifts COMMAND [ARGS]\n"
    "\n"
    "Shift schedules of the Kelsing area plant crews, one record per line, fields separated by\n"
    "a TAB.\n"
    "\n"
    "Commands:\n"
    "  shift     the shift a crew works on given dates\n"
    "  holidays  the holidays and clock changes of a year\n"
    "  crews     every crew that can be chosen, with its crew code\n"
    "\n"
    "Run 'kelsing-shifts COMMAND --help' for a command's arguments.\n";

constexpr std::string_view kShiftUsage =
    "Usage: kelsing-shifts shift --crew CREW DATE...\n"
    "       kelsing-shifts shift --code N --sub M DATE...\n"
    "\n"
    "Prints DATE<TAB>LABEL for each DATE (YYYY-MM-DD, years 0100..9999), in the order given;\n"
    "LABEL is empty when the rotation has no shift that day.\n"
    "CREW is a crew code as 'kelsing-shifts crews' lists it (14, 80.2) or a path of captions:\n"
    "'Brenmoor/All Crews', 'Corvath/401-404/403'. N and M are 16-bit schedule codes.\n";

constexpr std::string_view kHolidaysUsage =
    "Usage: kelsing-shifts holidays YEAR\n"
    "\n"
    "Prints YYYY-MM-DD<TAB>Caption for each day of YEAR (100..9999) with a holiday or a\n"
    "clock change, in date order.\n";

constexpr std::string_view kCrewsUsage =
    "Usage: kelsing-shifts crews\n"
    "\n"
    "Prints CODE<TAB>Employer<TAB>Group<TAB>Caption for every crew that can be chosen, in\n"
    "catalogue order; Group is empty for employers without crew groups.\n";

// Bad input: a one-line message naming the argument.
struct UsageError {
    std::string message;
};

[[noreturn]] void badArgument(std::string_view what, std::string_view argument) {
    throw UsageError{std::string(what) + " '" + std::string(argument) + "'"};
}

bool isHelp(std::string_view arg) {
    return arg == "--help" || arg == "-h";
}

std::string runShift(const std::vector<std::string_view>& args) {
    std::optional<ScheduleSelection> selection;
    std::optional<Int16> code;
    std::optional<Int16> sub;
    std::vector<DaySerial> dates;
    std::vector<std::string_view> dateTexts;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        const auto value = [&]() -> std::string_view {
            if (i + 1 >= args.size()) {
                badArgument("missing value for option", arg);
            }
            return args[++i];
        };
        if (arg == "--crew") {
            const std::string_view text = value();
            const auto crew = cli::parseCrew(text);
            if (!crew) {
                badArgument("unknown crew", text);
            }
            selection = crew->code.decode();
        } else if (arg == "--code" || arg == "--sub") {
            const std::string_view text = value();
            const auto number = cli::parseInt16(text);
            if (!number) {
                badArgument("not a 16-bit integer", text);
            }
            (arg == "--code" ? code : sub) = number;
        } else if (arg.starts_with("-")) {
            badArgument("unknown option", arg);
        } else if (const auto date = cli::parseIsoDate(arg)) {
            dates.push_back(*date);
            dateTexts.push_back(arg);
        } else {
            badArgument("invalid date (expected YYYY-MM-DD, years 0100..9999)", arg);
        }
    }
    if (selection && (code || sub)) {
        throw UsageError{"give either --crew or --code and --sub, not both"};
    }
    if (!selection) {
        if (!code || !sub) {
            throw UsageError{"missing --crew, or --code and --sub"};
        }
        selection = ScheduleSelection{*code, *sub};
    }
    if (dates.empty()) {
        throw UsageError{"missing DATE"};
    }
    std::string out;
    for (std::size_t i = 0; i < dates.size(); ++i) {
        out += dateTexts[i];
        out += '\t';
        out += labelText(ASS(static_cast<float>(dates[i]), selection->code, selection->subCode));
        out += '\n';
    }
    return out;
}

std::string runHolidays(const std::vector<std::string_view>& args) {
    if (args.size() != 1) {
        throw UsageError{args.empty() ? "missing YEAR" : "too many arguments"};
    }
    const auto year = cli::parseYear(args[0]);
    if (!year) {
        badArgument("invalid year (expected 100..9999)", args[0]);
    }
    const YearObservances observances(*year);
    const auto first = toDaySerial(std::chrono::year{*year} / 1 / 1);
    const auto last = toDaySerial(std::chrono::year{*year} / 12 / 31);
    std::string out;
    for (DaySerial date = first; date <= last; ++date) {
        const std::string_view caption = observances.captionFor(date);
        if (!caption.empty()) {
            out += cli::isoDate(date);
            out += '\t';
            out += caption;
            out += '\n';
        }
    }
    return out;
}

std::string runCrews(const std::vector<std::string_view>& args) {
    if (!args.empty()) {
        badArgument("unexpected argument", args[0]);
    }
    std::string out;
    for (const CatalogueChoice& entry : CrewCatalogue::allChoices()) {
        out += entry.choice.code.text();
        out += '\t';
        out += CrewCatalogue::employer(entry.slot).name;
        out += '\t';
        out += entry.groupCaption;
        out += '\t';
        out += entry.entry.caption;
        out += '\n';
    }
    return out;
}

struct Command {
    std::string_view name;
    std::string_view usage;
    std::function<std::string(const std::vector<std::string_view>&)> run;
};

int run(const std::vector<std::string_view>& argv) {
    const Command commands[] = {
        {"shift", kShiftUsage, runShift},
        {"holidays", kHolidaysUsage, runHolidays},
        {"crews", kCrewsUsage, runCrews},
    };
    if (argv.empty()) {
        std::cerr << kUsage;
        return kBadInput;
    }
    if (isHelp(argv[0])) {
        std::cout << kUsage;
        return 0;
    }
    if (argv[0] == "--version") {
        std::cout << "kelsing-shifts " << kVersionText << '\n';
        return 0;
    }
    for (const Command& command : commands) {
        if (command.name != argv[0]) {
            continue;
        }
        const std::vector<std::string_view> args(argv.begin() + 1, argv.end());
        for (const std::string_view arg : args) {
            if (isHelp(arg)) {
                std::cout << command.usage;
                return 0;
            }
        }
        // Everything is worked out before anything is written, so a failure never leaves a
        // partial line behind.
        const std::string out = command.run(args);
        std::cout << out << std::flush;
        return std::cout ? 0 : kEngineError;
    }
    badArgument("unknown command", argv[0]);
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    try {
        return run(args);
    } catch (const UsageError& error) {
        std::cerr << "kelsing-shifts: " << error.message << '\n';
        return kBadInput;
    } catch (const ArithmeticError& error) {
        std::cerr << "kelsing-shifts: the rotation cannot be worked out: " << error.what() << '\n';
        return kEngineError;
    } catch (const std::exception& error) {
        std::cerr << "kelsing-shifts: " << error.what() << '\n';
        return kEngineError;
    }
}
