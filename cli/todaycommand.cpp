// SPDX-License-Identifier: GPL-3.0-or-later
// kelsing-shifts today: the shifts of today and the next days on one line, for a person, a panel
// or a prompt, worked out from the same month sheets as `month`.

#include "arguments.h"
#include "commandsupport.h"
#include "errors.h"
#include "output.h"
#include "owndaysupport.h"
#include "rememberedcrews.h"

namespace kelsing::cli {

namespace {

constexpr int kDefaultDays = 2;
constexpr int kMostDays = 366;
constexpr std::string_view kBetweenDays = " \u00b7 ";

int dayCount(const ParsedArguments& args) {
    const std::string_view text = args.value("--days").value_or("2");
    const auto days = parseInt16(text);
    if (!days || *days < 1 || *days > kMostDays) {
        badArgument("invalid --days (expected 1..366)", text);
    }
    return args.has("--days") ? *days : kDefaultDays;
}

// The cell of a sheet that shows day `day` of its month.
const DayCell& cellOf(const SheetModel& sheet, unsigned day, int& index) {
    const std::string number = std::to_string(day);
    for (index = 0; index < SheetModel::kCellCount; ++index) {
        if (sheet.cells[static_cast<std::size_t>(index)].dayNumber == number) {
            break;
        }
    }
    return sheet.cells.at(static_cast<std::size_t>(index));
}

// The user's own entry of a day: " [Leave]", " [Swap Nights: covering for Ann]".
std::string ownText(const OwnMark& own, const TextSheetOptions& options) {
    if (own.word.empty()) {
        return {};
    }
    std::string text = " [" + colouredText(own.word, own.colour, false, options);
    if (!own.shift.empty()) {
        text += ' ' + colouredText(own.shift, own.entryColour, false, options);
    }
    if (!own.note.empty() && own.word != "Note") {
        text += ':';
    }
    return text + (own.note.empty() ? "" : ' ' + own.note) + ']';
}

// "Today Wed 9 Dec: Off (Xmas Day)", coloured as the month sheet colours the cell.
std::string dayText(const DayCell& cell, int index, DaySerial date, DaySerial today,
                    const ViewCrews& crews, const TextSheetOptions& options) {
    const auto ymd = toYearMonthDay(date);
    std::string text = date == today ? "Today " : date == today + 1 ? "Tomorrow " : "";
    text += kWeekdayHeads[static_cast<std::size_t>(index % SheetModel::kColumnCount)].substr(0, 3);
    text += ' ' +
            colouredText(cell.dayNumber, cell.dayNumberColour,
                         cell.dayNumberColour != Colours::kBlack, options) +
            ' ' +
            std::string(englishMonthName(static_cast<int>(unsigned(ymd.month()))).substr(0, 3)) +
            ": ";
    if (!crews.sideBySide) {
        text += colouredText(cell.shift, cell.shiftColour, false, options);
    } else {
        // Only the sides with a crew: one crew side by side reads as that crew alone.
        std::string between;
        if (crews.left.value() != 0) {
            text += colouredText(cell.leftShift, cell.leftShiftColour, false, options);
            between = " | ";
        }
        if (crews.right.value() != 0) {
            text += between + colouredText(cell.rightShift, cell.rightShiftColour, false, options);
        }
    }
    text += ownText(cell.own, options);
    if (!cell.caption.empty()) {
        text += " (" + cell.caption + ')';
    }
    return text;
}

void runToday(const ParsedArguments& args, const ColourSettings& colours) {
    noOperands(args);
    const std::optional<ViewCrews> crews = givenOrRememberedCrews(args);
    if (!crews) {
        throw UsageError{"missing --crew" + std::string(kHowToRemember)};
    }
    const int days = dayCount(args);
    const DaySerial today = localToday();
    const DaySerial first = args.has("--from") ? isoDateOption(*args.value("--from")) : today;
    if (!isSupportedSerial(first + days - 1)) {
        badArgument("the days go past 9999-12-31: --days", args.value("--days").value_or("2"));
    }
    const bool plain = args.has("--plain");
    Output out(outputPath(args));
    TextSheetOptions options = sheetColours(args, colours, out);
    options.colour = options.colour && !plain;
    options.sideBySide = crews->sideBySide;
    const auto ownDays = ownDaysFor(*crews, first, first + days - 1);
    std::string text;
    SheetModel sheet;
    for (DaySerial date = first; date < first + days; ++date) {
        const auto ymd = toYearMonthDay(date);
        const MonthYear month{static_cast<Int16>(unsigned(ymd.month())),
                              static_cast<Int16>(int(ymd.year()))};
        if (sheet.title != month) {
            sheet = shownMonthSheet(month, *crews, today, ownDays ? &*ownDays : nullptr);
        }
        int index = 0;
        const DayCell& cell = cellOf(sheet, unsigned(ymd.day()), index);
        if (plain) {
            text += renderDayLine(sheet, index, options);
        } else {
            text += (date == first ? "" : std::string(kBetweenDays)) +
                    dayText(cell, index, date, today, *crews, options);
        }
    }
    out.write(plain ? text : text + '\n');
    out.commit();
}

constexpr OptionSpec kTodayOptions[] = {{"--crew", '\0', true},  {"--left", '\0', true},
                                        {"--right", '\0', true}, {"--days", '\0', true},
                                        {"--from", '\0', true},  {"--plain", '\0', false},
                                        {"--color", '\0', true}, kOutput};

constexpr std::string_view kTodayUsage =
    "Usage: kelsing-shifts today [--crew CREW | --left CREW --right CREW] [--days N]\n"
    "                            [--from YYYY-MM-DD] [--plain] [--color WHEN]\n"
    "\n"
    "Prints today's and tomorrow's shift on one line, for a panel or a prompt:\n"
    "  Today Wed 9 Dec: Off \u00b7 Tomorrow Thu 10 Dec: Days\n"
    "with each day's holiday or clock change in brackets. Without crews, the remembered view\n"
    "and crews ('kelsing-shifts remember'); two crews side by side read 'Days | Off'. Your own\n"
    "days ('kelsing-shifts days') show on your crew in square brackets: 'Days [Leave]'.\n"
    "\n"
    "  --crew CREW          the crew\n"
    "  --left CREW, --right CREW\n"
    "                       two crews side by side (no all-crews entries)\n"
    "  --days N             N days (1..366), 2 by default\n"
    "  --from YYYY-MM-DD    the first day, instead of today\n"
    "  --plain              one line per day instead, as 'month --plain' writes it:\n"
    "                       DATE<TAB>Weekday<TAB>Caption<TAB>Shift (or Left<TAB>Right)\n"
    "  --color WHEN         the window's colours: auto (the default), always or never, as for\n"
    "                       'month'\n";

} // namespace

Command todayCommand() {
    return {"today", "the shifts of today and the next days on one line", kTodayUsage,
            kTodayOptions, runToday};
}

} // namespace kelsing::cli
