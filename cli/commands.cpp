#include "commands.h"

#include "arguments.h"
#include "calendar/observances.h"
#include "export/icalendar.h"
#include "rotation/rotationengine.h"
#include "sheet/sheetfills.h"
#include "sheet/textsheet.h"

#include <ctime>
#include <optional>

namespace kelsing::cli {

namespace {

[[noreturn]] void badArgument(std::string_view what, std::string_view argument) {
    throw UsageError{std::string(what) + " '" + std::string(argument) + "'"};
}

// Walks a command's arguments, handing options their values.
class ArgumentReader {
public:
    explicit ArgumentReader(const Arguments& args)
        : m_args(args) {}

    bool next() { return ++m_index < m_args.size(); }
    std::string_view current() const { return m_args[m_index]; }

    std::string_view value() {
        const std::string_view option = current();
        if (!next()) {
            badArgument("missing value for option", option);
        }
        return current();
    }

    CrewChoice crew() {
        const std::string_view text = value();
        auto crew = parseCrew(text);
        if (!crew) {
            badArgument("unknown crew", text);
        }
        return std::move(*crew);
    }

    DaySerial date() {
        const std::string_view text = value();
        const auto date = parseIsoDate(text);
        if (!date) {
            badArgument("invalid date (expected YYYY-MM-DD, years 0100..9999)", text);
        }
        return *date;
    }

private:
    const Arguments& m_args;
    std::size_t m_index = static_cast<std::size_t>(-1);
};

DaySerial localToday() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return toDaySerial(std::chrono::year{local.tm_year + 1900} /
                       std::chrono::month{static_cast<unsigned>(local.tm_mon + 1)} /
                       std::chrono::day{static_cast<unsigned>(local.tm_mday)});
}

std::string utcStamp() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char buffer[32];
    std::strftime(buffer, sizeof buffer, "%Y%m%dT%H%M%SZ", &utc);
    return buffer;
}

// The crew box text on one line: "Corvath 403".
std::string crewName(const CrewChoice& crew) {
    std::string name = crew.boxText;
    for (char& c : name) {
        c = c == '\n' ? ' ' : c;
    }
    return name;
}

CommandOutput runShift(const Arguments& args, const Terminal&) {
    std::optional<ScheduleSelection> selection;
    std::optional<Int16> code;
    std::optional<Int16> sub;
    std::vector<std::pair<DaySerial, std::string_view>> dates;
    ArgumentReader reader(args);
    while (reader.next()) {
        const std::string_view arg = reader.current();
        if (arg == "--crew") {
            selection = reader.crew().code.decode();
        } else if (arg == "--code" || arg == "--sub") {
            const std::string_view text = reader.value();
            const auto number = parseInt16(text);
            if (!number) {
                badArgument("not a 16-bit integer", text);
            }
            (arg == "--code" ? code : sub) = number;
        } else if (arg.starts_with("-")) {
            badArgument("unknown option", arg);
        } else if (const auto date = parseIsoDate(arg)) {
            dates.emplace_back(*date, arg);
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
    CommandOutput out;
    for (const auto& [date, text] : dates) {
        out.text += text;
        out.text += '\t';
        out.text += labelText(ASS(static_cast<float>(date), selection->code, selection->subCode));
        out.text += '\n';
    }
    return out;
}

CommandOutput runHolidays(const Arguments& args, const Terminal&) {
    if (args.size() != 1) {
        throw UsageError{args.empty() ? "missing YEAR" : "too many arguments"};
    }
    const auto year = parseYear(args[0]);
    if (!year) {
        badArgument("invalid year (expected 100..9999)", args[0]);
    }
    const YearObservances observances(*year);
    const auto first = toDaySerial(std::chrono::year{*year} / 1 / 1);
    const auto last = toDaySerial(std::chrono::year{*year} / 12 / 31);
    CommandOutput out;
    for (DaySerial date = first; date <= last; ++date) {
        const std::string_view caption = observances.captionFor(date);
        if (!caption.empty()) {
            out.text += isoDate(date) + '\t' + std::string(caption) + '\n';
        }
    }
    return out;
}

CommandOutput runCrews(const Arguments& args, const Terminal&) {
    if (!args.empty()) {
        badArgument("unexpected argument", args[0]);
    }
    CommandOutput out;
    for (const CatalogueChoice& entry : CrewCatalogue::allChoices()) {
        out.text += entry.choice.code.text() + '\t';
        out.text += CrewCatalogue::employer(entry.slot).name;
        out.text += '\t';
        out.text += entry.groupCaption;
        out.text += '\t';
        out.text += entry.entry.caption;
        out.text += '\n';
    }
    return out;
}

CommandOutput runMonth(const Arguments& args, const Terminal& terminal) {
    std::optional<MonthYear> month;
    std::optional<CrewChoice> single;
    std::optional<CrewChoice> left;
    std::optional<CrewChoice> right;
    bool plain = false;
    ArgumentReader reader(args);
    while (reader.next()) {
        const std::string_view arg = reader.current();
        if (arg == "--crew") {
            single = reader.crew();
        } else if (arg == "--left") {
            left = reader.crew();
        } else if (arg == "--right") {
            right = reader.crew();
        } else if (arg == "--plain") {
            plain = true;
        } else if (arg.starts_with("-")) {
            badArgument("unknown option", arg);
        } else if (month) {
            badArgument("unexpected argument", arg);
        } else if (!(month = parseYearMonth(arg))) {
            badArgument("invalid month (expected YYYY-MM, years 0100..9999)", arg);
        }
    }
    if (!month) {
        throw UsageError{"missing YYYY-MM"};
    }
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
    SheetModel sheet;
    sheet.title = *month;
    const DaySerial today = localToday();
    FormLoadCalendar(sheet, today);
    if (single) {
        Label5Update(sheet, single->code, today);
    }
    if (left) {
        LeftUpdate(sheet, left->code, today);
    }
    if (right) {
        RightUpdate(sheet, right->code, today);
    }
    const TextSheetOptions options{sideBySide, terminal.colour && !plain};
    return {plain ? renderMonthLines(sheet, options) : renderMonthSheet(sheet, options), {}};
}

CommandOutput runIcs(const Arguments& args, const Terminal&) {
    std::optional<CrewChoice> crew;
    std::optional<DaySerial> from;
    std::optional<DaySerial> to;
    ShiftCalendarOptions options;
    CommandOutput out;
    ArgumentReader reader(args);
    while (reader.next()) {
        const std::string_view arg = reader.current();
        if (arg == "--crew") {
            crew = reader.crew();
        } else if (arg == "--from") {
            from = reader.date();
        } else if (arg == "--to") {
            to = reader.date();
        } else if (arg == "--include-off") {
            options.includeOff = true;
        } else if (arg == "--merge") {
            options.mergeRuns = true;
        } else if (arg == "-o" || arg == "--output") {
            out.file = reader.value();
        } else {
            badArgument(arg.starts_with("-") ? "unknown option" : "unexpected argument", arg);
        }
    }
    if (!crew || !from || !to) {
        throw UsageError{"missing --crew, --from or --to"};
    }
    if (*to < *from) {
        throw UsageError{"--to is before --from"};
    }
    options.stamp = utcStamp();
    out.text = shiftCalendar(crew->code, crewName(*crew), *from, *to, options);
    return out;
}

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

constexpr std::string_view kMonthUsage =
    "Usage: kelsing-shifts month YYYY-MM [--crew CREW | --left CREW --right CREW] [--plain]\n"
    "\n"
    "Draws the month as the window shows it, in 80 columns: each day's number, its holiday or\n"
    "clock change, and the crew's shift (or the left and right crews' shifts side by side).\n"
    "Colours like the window's on a terminal, unless NO_COLOR is set.\n"
    "--plain prints one line per day instead: DATE<TAB>Weekday<TAB>Caption<TAB>Shift (or\n"
    "Left<TAB>Right).\n";

constexpr std::string_view kIcsUsage =
    "Usage: kelsing-shifts ics --crew CREW --from YYYY-MM-DD --to YYYY-MM-DD\n"
    "                          [--include-off] [--merge] [-o FILE]\n"
    "\n"
    "Writes an iCalendar (RFC 5545) file of the crew's shifts for phone and desktop calendars:\n"
    "one all-day event per working day, the holiday or clock change in its description. Event\n"
    "UIDs come from the crew code and the date, so importing a newer export updates the events.\n"
    "--include-off  also write the \"Off\" days\n"
    "--merge        one event for each run of days with the same shift (each day is its own\n"
    "               event by default, so that every day keeps its own caption and identity)\n"
    "-o FILE        write to FILE instead of standard output\n";

} // namespace

const std::vector<Command>& commands() {
    static const std::vector<Command> all = {
        {"shift", "the shift a crew works on given dates", kShiftUsage, runShift},
        {"holidays", "the holidays and clock changes of a year", kHolidaysUsage, runHolidays},
        {"crews", "every crew that can be chosen, with its crew code", kCrewsUsage, runCrews},
        {"month", "a month as the window shows it", kMonthUsage, runMonth},
        {"ics", "a crew's shifts as an iCalendar file", kIcsUsage, runIcs},
    };
    return all;
}

} // namespace kelsing::cli
