// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands.h"

#include "arguments.h"
#include "base/quoting.h"
#include "calendar/datehelpers.h"
#include "calendar/observances.h"
#include "commandsupport.h"
#include "errors.h"
#include "export/calendarname.h"
#include "export/shiftcalendarwriter.h"
#include "feedscommand.h"
#include "inputlines.h"
#include "output.h"
#include "owndaysupport.h"
#include "rememberedcrews.h"
#include "rotation/rotationengine.h"
#include "sheet/monthsheet.h"
#include "sheet/textsheet.h"

#include <optional>
#include <vector>

namespace kelsing::cli {

namespace {

// The rotations whose labels a shift line gives: the crew of --crew, the rotation of --code and
// --sub, or the remembered crew (both crews of a remembered side-by-side view).
std::vector<ScheduleSelection> shiftSelections(const ParsedArguments& args) {
    const bool byCrew = args.has("--crew");
    const bool byCode = args.has("--code") || args.has("--sub");
    if (byCrew && byCode) {
        throw UsageError{"give either --crew or --code and --sub, not both"};
    }
    if (byCrew) {
        return {crewOption(args, "--crew").code.decode()};
    }
    if (!byCode) {
        if (const auto& start = userSettings().start) {
            if (start->view == StartView::SideBySide) {
                return {start->left.decode(), start->right.decode()};
            }
            return {start->single.decode()};
        }
    }
    if (!args.has("--code") || !args.has("--sub")) {
        throw UsageError{"missing --crew, or --code and --sub" +
                         std::string(byCode ? "" : kHowToRemember)};
    }
    std::optional<Int16> numbers[2];
    for (int i = 0; i < 2; ++i) {
        const std::string_view text = *args.value(i == 0 ? "--code" : "--sub");
        if (!(numbers[i] = parseInt16(text))) {
            badArgument("not a 16-bit integer", text);
        }
    }
    return {{*numbers[0], *numbers[1]}};
}

void writeShift(Output& out, const std::vector<ScheduleSelection>& selections,
                std::string_view text, DaySerial day) {
    // The labels first: a rotation that cannot be worked out leaves no part of a line behind.
    std::string labels;
    for (const ScheduleSelection& selection : selections) {
        labels += '\t';
        labels += labelText(ASS(static_cast<float>(day), selection.code, selection.subCode));
    }
    out.write(text);
    out.write(labels);
    out.write("\n");
}

void runShift(const ParsedArguments& args, const ColourSettings&) {
    const std::vector<ScheduleSelection> selections = shiftSelections(args);
    // The dates of the command line are all checked before the first line is written.
    for (const std::string_view operand : args.operands()) {
        if (operand != "-") {
            isoDateOption(operand);
        }
    }
    Output out(outputPath(args));
    std::vector<std::string_view> operands = args.operands();
    if (operands.empty()) {
        operands.push_back("-");
    }
    bool any = false;
    InputLines input;
    std::string line;
    for (const std::string_view operand : operands) {
        if (operand != "-") {
            writeShift(out, selections, operand, isoDateOption(operand));
            any = true;
            continue;
        }
        while (input.next(line)) {
            writeShift(out, selections, line, isoDateOption(line));
            any = true;
            if (input.isTerminal()) {
                out.flush();
            }
        }
    }
    if (!any) {
        throw UsageError{"missing DATE (none on the command line or on standard input)"};
    }
    out.commit();
}

void runHolidays(const ParsedArguments& args, const ColourSettings&) {
    const Int16 year = yearOperand(args);
    Output out(outputPath(args));
    const YearObservances observances(year);
    const auto first = toDaySerial(std::chrono::year{year} / 1 / 1);
    const auto last = toDaySerial(std::chrono::year{year} / 12 / 31);
    for (DaySerial day = first; day <= last; ++day) {
        const std::string_view caption = observances.captionFor(day);
        if (!caption.empty()) {
            out.write(isoDate(day) + '\t' + std::string(caption) + '\n');
        }
    }
    out.commit();
}

void runCrews(const ParsedArguments& args, const ColourSettings&) {
    noOperands(args);
    Output out(outputPath(args));
    for (const CatalogueChoice& entry : CrewCatalogue::allChoices()) {
        out.write(entry.choice.code.text() + '\t');
        out.write(CrewCatalogue::employer(entry.slot).name);
        out.write("\t");
        out.write(entry.groupCaption);
        out.write("\t");
        out.write(entry.entry.caption);
        out.write("\n");
    }
    out.commit();
}

// The user's own days of a month, where they apply to the view's crews.
std::optional<OwnDays> ownDaysOfMonth(MonthYear month, const ViewCrews& crews) {
    const auto first =
        std::chrono::year{month.year} / std::chrono::month{static_cast<unsigned>(month.month)} / 1;
    return ownDaysFor(crews, toDaySerial(first),
                      toDaySerial(first.year() / first.month() / std::chrono::last));
}

void runMonth(const ParsedArguments& args, const ColourSettings& colours) {
    const auto& operands = args.operands();
    if (operands.empty()) {
        throw UsageError{"missing YYYY-MM"};
    }
    if (operands.size() > 1) {
        badArgument("unexpected argument", operands[1]);
    }
    const auto month = parseYearMonth(operands[0]);
    if (!month) {
        badArgument("invalid month (expected YYYY-MM, years 0100..9999)", operands[0]);
    }
    // Without crews, the plain calendar, as the window shows it before a crew is chosen.
    const ViewCrews crews = givenOrRememberedCrews(args).value_or(ViewCrews{});
    const bool plain = args.has("--plain");
    Output out(outputPath(args));
    const TextSheetOptions options = sheetOptions(args, colours, out, crews);
    const auto ownDays = ownDaysOfMonth(*month, crews);
    const DaySerial today = localToday();
    const SheetModel sheet = shownMonthSheet(*month, crews, today, ownDays ? &*ownDays : nullptr);
    out.write(plain ? renderMonthLines(sheet, options) : renderMonthSheet(sheet, options));
    if (!plain && twoCrews(crews)) {
        const DaySerial first = DateFromParts(month->year, month->month, 1);
        const DaySerial last = DateFromParts(month->year, add16(month->month, 1), 0);
        out.write(renderOffTogether(offTogetherSummary(crews, first, last, today,
                                                       std::string(englishMonthName(month->month)) +
                                                           ' ' + std::to_string(month->year))));
    }
    out.commit();
}

// The crew of --crew, else the remembered single crew; one calendar has one crew.
CrewCode icsCrew(const ParsedArguments& args) {
    if (args.has("--crew")) {
        return crewOption(args, "--crew").code;
    }
    const auto& start = userSettings().start;
    if (!start) {
        throw UsageError{"missing --crew" + std::string(kHowToRemember)};
    }
    if (start->view == StartView::SideBySide) {
        throw UsageError{"missing --crew (two crews are remembered side by side)"};
    }
    return start->single;
}

void runIcs(const ParsedArguments& args, const ColourSettings&) {
    noOperands(args);
    if (!args.has("--from") || !args.has("--to")) {
        throw UsageError{"missing --from or --to"};
    }
    const CrewCode crew = icsCrew(args);
    const DaySerial from = isoDateOption(*args.value("--from"));
    const DaySerial to = isoDateOption(*args.value("--to"));
    if (to < from) {
        throw UsageError{"--to is before --from"};
    }
    ShiftCalendarOptions options;
    options.includeOff = args.has("--include-off");
    options.mergeRuns = args.has("--merge");
    options.stamp = calendarStamp(std::time(nullptr));
    std::optional<OwnDays> ownDays;
    if (args.has("--with-own-days")) {
        try {
            ownDays = readOwnDays().read(from, to);
        } catch (const OwnDayStoreError& error) {
            throw InputOutputError{error.what()};
        }
        options.ownDays = &*ownDays;
    }
    Output out(outputPath(args));
    ShiftCalendarWriter writer(crew, crewCalendarName(crew), from, to, options);
    std::string piece;
    while (writer.next(piece)) {
        out.write(piece);
        piece.clear();
    }
    out.commit();
}

constexpr OptionSpec kShiftOptions[] = {
    {"--crew", '\0', true}, {"--code", '\0', true}, {"--sub", '\0', true}, kOutput};
constexpr OptionSpec kPlainOptions[] = {kOutput};
constexpr OptionSpec kMonthOptions[] = {{"--crew", '\0', true},  {"--left", '\0', true},
                                        {"--right", '\0', true}, {"--plain", '\0', false},
                                        {"--color", '\0', true}, kOutput};
constexpr OptionSpec kIcsOptions[] = {{"--crew", '\0', true},
                                      {"--from", '\0', true},
                                      {"--to", '\0', true},
                                      {"--include-off", '\0', false},
                                      {"--merge", '\0', false},
                                      {"--with-own-days", '\0', false},
                                      kOutput};

constexpr std::string_view kShiftUsage =
    "Usage: kelsing-shifts shift [--crew CREW] [DATE...]\n"
    "       kelsing-shifts shift --code N --sub M [DATE...]\n"
    "\n"
    "Prints DATE<TAB>LABEL for each DATE (YYYY-MM-DD, years 0100..9999), in the order given;\n"
    "LABEL is empty when the rotation has no shift that day. Without a DATE, the dates are\n"
    "read from standard input, one per line, and so they are where a DATE is '-'.\n"
    "CREW is a crew code as 'kelsing-shifts crews' lists it (14, 80.2) or a path of captions:\n"
    "'Brenmoor/All Crews', 'Corvath/401-404/403'. N and M are 16-bit schedule codes.\n"
    "\n"
    "  --crew CREW          the crew; the remembered crew by default, and with two crews\n"
    "                       remembered side by side, DATE<TAB>LEFT<TAB>RIGHT\n"
    "  --code N, --sub M    the rotation by schedule code and sub-code instead\n";

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

constexpr std::string_view kMonthUsage =
    "Usage: kelsing-shifts month YYYY-MM [--crew CREW | --left CREW --right CREW] [--plain]\n"
    "                            [--color WHEN]\n"
    "\n"
    "Draws the month as the window shows it, in 80 columns: each day's number, its holiday or\n"
    "clock change, and the crew's shift (or the left and right crews' shifts side by side).\n"
    "Without crews, the remembered view and crews ('kelsing-shifts remember'). Your own days\n"
    "('kelsing-shifts days') show above the shift on your crew: the remembered one, when one\n"
    "is; a '*' after the word says the entry has a note.\n"
    "Two crews side by side: a '*' marks the days both are off, counted below the sheet with\n"
    "the next three weekends both are off.\n"
    "\n"
    "  --crew CREW          the crew of the single view\n"
    "  --left CREW, --right CREW\n"
    "                       two crews side by side (no all-crews entries)\n"
    "  --plain              one line per day instead: DATE<TAB>Weekday<TAB>Caption<TAB>Shift\n"
    "                       (or Left<TAB>Right<TAB>'together' on days both are off), never in\n"
    "                       colour; a day with an own entry adds <TAB>KIND<TAB>SHIFT<TAB>NOTE\n"
    "  --color WHEN         the window's colours: auto (the default: on a terminal, unless\n"
    "                       NO_COLOR is set or TERM is dumb), always or never; 24-bit when\n"
    "                       COLORTERM is truecolor or 24bit, else the 16 standard colours\n";

constexpr std::string_view kIcsUsage =
    "Usage: kelsing-shifts ics [--crew CREW] --from YYYY-MM-DD --to YYYY-MM-DD\n"
    "                          [--include-off] [--merge] [--with-own-days] [-o FILE]\n"
    "\n"
    "Writes an iCalendar (RFC 5545) file of the crew's shifts for phone and desktop calendars:\n"
    "one all-day event per working day, the holiday or clock change in its description. Event\n"
    "UIDs come from the crew code and the date, so importing a newer export updates the events.\n"
    "The calendar is named after the crew: 'Corvath 403 shifts'. Without --crew, the\n"
    "remembered crew ('kelsing-shifts remember').\n"
    "\n"
    "  --include-off        also write the \"Off\" days\n"
    "  --merge              one event for each run of days with the same shift (each day is\n"
    "                       its own event by default, so that every day keeps its own caption\n"
    "                       and identity)\n"
    "  --with-own-days      your own days ('kelsing-shifts days'): a swapped shift replaces\n"
    "                       the rotation's event, an extra shift adds one, leave and sick\n"
    "                       days are events of their own, notes go into the descriptions\n";

} // namespace

const std::vector<Command>& commands() {
    static const std::vector<Command> all = {
        {"shift", "the shift a crew works on given dates", kShiftUsage, kShiftOptions, runShift},
        {"holidays", "the holidays and clock changes of a year", kHolidaysUsage, kPlainOptions,
         runHolidays},
        {"crews", "every crew that can be chosen, with its crew code", kCrewsUsage, kPlainOptions,
         runCrews},
        {"month", "a month as the window shows it", kMonthUsage, kMonthOptions, runMonth},
        yearCommand(),
        {"ics", "a crew's shifts as an iCalendar file", kIcsUsage, kIcsOptions, runIcs},
        todayCommand(),
        rememberCommand(),
        daysCommand(),
        // Subscription feeds for a web server (feedscommand.cpp).
        feedsCommand(),
    };
    return all;
}

} // namespace kelsing::cli
