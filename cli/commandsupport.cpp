// SPDX-License-Identifier: GPL-3.0-or-later
#include "commandsupport.h"

#include "arguments.h"
#include "base/quoting.h"
#include "errors.h"
#include "output.h"
#include "sheet/offtogether.h"

#include <algorithm>
#include <ctime>

namespace kelsing::cli {

void badArgument(std::string_view what, std::string_view argument) {
    throw UsageError{std::string(what) + ' ' + quotedArgument(argument)};
}

Int16 yearOperand(const ParsedArguments& args) {
    const auto& operands = args.operands();
    if (operands.empty()) {
        throw UsageError{"missing YEAR"};
    }
    if (operands.size() > 1) {
        badArgument("unexpected argument", operands[1]);
    }
    const auto year = parseYear(operands[0]);
    if (!year) {
        badArgument("invalid year (expected 100..9999)", operands[0]);
    }
    return *year;
}

TextSheetOptions sheetOptions(const ParsedArguments& args, const ColourSettings& colours,
                              const Output& out, const ViewCrews& crews) {
    TextSheetOptions options = sheetColours(args, colours, out);
    options.colour = options.colour && !args.has("--plain");
    options.sideBySide = crews.sideBySide;
    return options;
}

std::optional<std::string_view> outputPath(const ParsedArguments& args) {
    const auto path = args.value(kOutput.name);
    if (path && path->empty()) {
        throw UsageError{"empty file name for option '--output'"};
    }
    return path;
}

CrewChoice crewOption(const ParsedArguments& args, std::string_view name) {
    const std::string_view text = *args.value(name);
    auto crew = parseCrew(text);
    if (!crew) {
        badArgument("unknown crew", text);
    }
    return std::move(*crew);
}

std::optional<CrewChoice> optionalCrew(const ParsedArguments& args, std::string_view name) {
    return args.has(name) ? std::optional(crewOption(args, name)) : std::nullopt;
}

DaySerial isoDateOption(std::string_view text) {
    const auto date = parseIsoDate(text);
    if (!date) {
        badArgument("invalid date (expected YYYY-MM-DD, years 0100..9999)", text);
    }
    return *date;
}

void noOperands(const ParsedArguments& args) {
    if (!args.operands().empty()) {
        badArgument("unexpected argument", args.operands().front());
    }
}

DaySerial localToday() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return toDaySerial(std::chrono::year{local.tm_year + 1900} /
                       std::chrono::month{static_cast<unsigned>(local.tm_mon + 1)} /
                       std::chrono::day{static_cast<unsigned>(local.tm_mday)});
}

std::string crewName(const CrewChoice& crew) {
    std::string name = crew.boxText;
    std::replace(name.begin(), name.end(), '\n', ' ');
    return name;
}

std::optional<ViewCrews> viewCrewOptions(const ParsedArguments& args) {
    const std::optional<CrewChoice> single = optionalCrew(args, "--crew");
    const std::optional<CrewChoice> left = optionalCrew(args, "--left");
    const std::optional<CrewChoice> right = optionalCrew(args, "--right");
    const bool sideBySide = left || right;
    if (single && sideBySide) {
        throw UsageError{"give either --crew or --left/--right, not both"};
    }
    // As in the window's chooser, the all-crews entries have no side-by-side layout.
    for (const auto& side : {left, right}) {
        if (side && side->allCrews) {
            badArgument("an all-crews entry cannot be shown side by side", crewName(*side));
        }
    }
    if (!single && !sideBySide) {
        return std::nullopt;
    }
    ViewCrews crews;
    crews.sideBySide = sideBySide;
    crews.single = single ? single->code : CrewCode();
    crews.left = left ? left->code : CrewCode();
    crews.right = right ? right->code : CrewCode();
    return crews;
}

SheetModel shownMonthSheet(MonthYear month, const ViewCrews& crews, DaySerial today,
                           const OwnDays* ownDays) {
    SheetModel sheet = monthSheet(month, crews, today, ownDays);
    markDaysOffTogether(sheet, crews.sideBySide);
    return sheet;
}

bool twoCrews(const ViewCrews& crews) {
    return crews.sideBySide && crews.left.value() != 0 && crews.right.value() != 0;
}

OffTogetherSummary offTogetherSummary(const ViewCrews& crews, DaySerial first, DaySerial last,
                                      DaySerial today, std::string span) {
    DaysOffTogether days(crews);
    OffTogetherSummary summary;
    for (DaySerial date = first; date <= last; ++date) {
        summary.days += days.on(date) ? 1 : 0;
    }
    summary.span = std::move(span);
    summary.from = sharedWeekendsFrom(first, last, today);
    summary.weekends = days.sharedWeekends(summary.from);
    return summary;
}

std::string crewNameOf(CrewCode code) {
    const auto choice = CrewCatalogue::findByCode(code.text());
    return choice ? crewName(*choice) : code.text();
}

TextSheetOptions sheetColours(const ParsedArguments& args, const ColourSettings& colours,
                              const Output& out) {
    const std::string_view when = args.value("--color").value_or("auto");
    if (when != "auto" && when != "always" && when != "never") {
        badArgument("invalid --color (expected auto, always or never)", when);
    }
    TextSheetOptions options;
    options.colour = when == "always" || (when == "auto" && out.isTerminal() && !colours.noColour &&
                                          !colours.dumbTerminal);
    options.basicColours = !colours.trueColour;
    return options;
}

} // namespace kelsing::cli
