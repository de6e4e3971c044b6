// SPDX-License-Identifier: GPL-3.0-or-later
// kelsing-shifts year: a year at a glance, three months across as cal -y draws them, with the
// days two crews are off together; or the year's days as `month --plain` writes them.

#include "arguments.h"
#include "commandsupport.h"
#include "errors.h"
#include "output.h"
#include "owndaysupport.h"
#include "rememberedcrews.h"
#include "sheet/textyear.h"
#include "sheet/yearsheet.h"

namespace kelsing::cli {

namespace {

std::string plainYear(Int16 year, const ViewCrews& crews, DaySerial today,
                      const TextSheetOptions& options) {
    // The user's own days, as `month --plain` writes them, so the year is its twelve months.
    const auto ownDays = ownDaysFor(crews, toDaySerial(std::chrono::year{year} / 1 / 1),
                                    toDaySerial(std::chrono::year{year} / 12 / 31));
    std::string text;
    for (Int16 month = 1; month <= 12; ++month) {
        text += renderMonthLines(
            shownMonthSheet({month, year}, crews, today, ownDays ? &*ownDays : nullptr), options);
    }
    return text;
}

std::string drawnYear(Int16 year, const ViewCrews& crews, DaySerial today,
                      const TextSheetOptions& options) {
    const YearSheet sheet = yearSheet(year, crews);
    const std::array<std::string, 2> names = {
        crewNameOf(crews.sideBySide ? crews.left : crews.single), crewNameOf(crews.right)};
    std::string text = renderYear(sheet, names, today, options);
    if (twoCrews(crews)) {
        const DaySerial first = toDaySerial(std::chrono::year{year} / 1 / 1);
        const DaySerial last = toDaySerial(std::chrono::year{year} / 12 / 31);
        text +=
            renderOffTogether(offTogetherSummary(crews, first, last, today, std::to_string(year)));
    }
    return text;
}

void runYear(const ParsedArguments& args, const ColourSettings& colours) {
    const Int16 year = yearOperand(args);
    // Without crews, the plain calendar of the year.
    const ViewCrews crews = givenOrRememberedCrews(args).value_or(ViewCrews{});
    const bool plain = args.has("--plain");
    Output out(outputPath(args));
    const TextSheetOptions options = sheetOptions(args, colours, out, crews);
    const DaySerial today = localToday();
    out.write(plain ? plainYear(year, crews, today, options)
                    : drawnYear(year, crews, today, options));
    out.commit();
}

constexpr OptionSpec kYearOptions[] = {{"--crew", '\0', true},  {"--left", '\0', true},
                                       {"--right", '\0', true}, {"--plain", '\0', false},
                                       {"--color", '\0', true}, kOutput};

constexpr std::string_view kYearUsage =
    "Usage: kelsing-shifts year YEAR [--crew CREW | --left CREW --right CREW] [--plain]\n"
    "                           [--color WHEN]\n"
    "\n"
    "Draws YEAR (100..9999) at a glance, three months across in 80 columns: each day's number\n"
    "in the colour of its shift, '+' on holidays and clock changes, which are listed under\n"
    "their month, and a legend. Two crews side by side: numbers coloured where both have the\n"
    "same shift, '*' on the days both are off, counted at the end with the next three\n"
    "weekends both are off. Without crews, the remembered view and crews. With --plain, your\n"
    "own days ('kelsing-shifts days') on your crew, as 'month --plain' writes them.\n"
    "\n"
    "  --crew CREW          the crew of the single view\n"
    "  --left CREW, --right CREW\n"
    "                       two crews side by side (no all-crews entries)\n"
    "  --plain              one line per day instead, as 'month --plain' writes them\n"
    "  --color WHEN         the window's colours: auto (the default), always or never, as for\n"
    "                       'month'\n";

} // namespace

Command yearCommand() {
    return {"year", "a year at a glance, and the days two crews are off together", kYearUsage,
            kYearOptions, runYear};
}

} // namespace kelsing::cli
