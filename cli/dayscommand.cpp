// SPDX-License-Identifier: GPL-3.0-or-later
// kelsing-shifts days: the user's own days (leave, sick days, swapped and extra shifts, notes),
// kept in the store the window keeps them in, listed, counted, backed up and read back.

#include "arguments.h"
#include "base/quoting.h"
#include "commandsupport.h"
#include "errors.h"
#include "output.h"
#include "owndays/owndaysfile.h"
#include "owndays/ownsummary.h"
#include "owndaysupport.h"
#include "rememberedcrews.h"
#include "stores/wholefile.h"

#include <algorithm>
#include <array>
#include <iostream>
#include <iterator>

namespace kelsing::cli {

namespace {

// A backup larger than this is not read: every date of the calendar with a long note fits.
constexpr std::size_t kImportSizeLimit = std::size_t{1} << 30;

// Bad input unless only `allowed` of the command's options were given.
void onlyOptions(const ParsedArguments& args, std::string_view action,
                 std::initializer_list<std::string_view> allowed) {
    for (const std::string_view name : {"--note", "--from", "--to", "--crew", "--output"}) {
        if (args.has(name) && std::find(allowed.begin(), allowed.end(), name) == allowed.end()) {
            throw UsageError{"'days " + std::string(action) + "' does not take " +
                             std::string(name)};
        }
    }
}

// The operands after the action, exactly `least` to `most` of them.
std::vector<std::string_view> operandsOf(const ParsedArguments& args, std::size_t least,
                                         std::size_t most, std::string_view missing) {
    std::vector<std::string_view> operands(args.operands().begin() + 1, args.operands().end());
    if (operands.size() < least) {
        throw UsageError{"missing " + std::string(missing)};
    }
    if (operands.size() > most) {
        badArgument("unexpected argument", operands[most]);
    }
    return operands;
}

void storeFailure(const OwnDayStoreError& error) {
    throw InputOutputError{error.what()};
}

OwnDays storedDays(DaySerial from, DaySerial to) {
    try {
        return readOwnDays().read(from, to);
    } catch (const OwnDayStoreError& error) {
        storeFailure(error);
    }
    return {};
}

// The entry that `days set` asks for, checked before the store is opened; the day's note is
// kept unless --note says otherwise.
struct SetRequest {
    OwnDay entry;
    bool noteGiven = false;
};

SetRequest setRequest(const ParsedArguments& args) {
    const auto operands = operandsOf(args, 2, 3, "DATE and KIND");
    SetRequest request;
    request.entry.date = isoDateOption(operands[0]);
    const auto kind = parseKind(operands[1]);
    if (!kind) {
        badArgument("unknown kind (expected leave, sick, swap, extra or note)", operands[1]);
    }
    request.entry.kind = *kind;
    if (operands.size() == 3) {
        if (!kindHasShift(*kind)) {
            badArgument("a " + std::string(operands[1]) + " takes no shift:", operands[2]);
        }
        if (!isTableShift(operands[2])) {
            badArgument("unknown shift (expected Days, Nights, Afternoons, Training, "
                        "'Days (8)', 'Days (12)' or Off)",
                        operands[2]);
        }
        request.entry.shift = operands[2];
    }
    if (kindHasShift(*kind) && request.entry.shift.empty()) {
        throw UsageError{"missing SHIFT: a " + std::string(operands[1]) + " names the shift"};
    }
    if (request.entry.kind == OwnDayKind::Extra && request.entry.shift == "Off") {
        badArgument("an extra shift cannot be", "Off");
    }
    if (const auto note = args.value("--note")) {
        if (const auto problem = noteProblem(*note)) {
            badArgument("invalid --note (" + *problem + "):", *note);
        }
        request.entry.note = *note;
        request.noteGiven = true;
    }
    return request;
}

void runSet(const ParsedArguments& args) {
    onlyOptions(args, "set", {"--note"});
    const SetRequest request = setRequest(args);
    // A note alone without its text is bad input, found before any store is made for it.
    if (request.entry.kind == OwnDayKind::Note && !request.noteGiven) {
        const OwnDays now = storedDays(request.entry.date, request.entry.date);
        if (now.empty() || now.all().front().note.empty()) {
            throw UsageError{"missing --note: a note needs its text"};
        }
    }
    OwnDayStore store = writeOwnDays();
    try {
        store.update(request.entry.date, [&request](const std::optional<OwnDay>& now) {
            OwnDay entry = request.entry;
            if (!request.noteGiven && now) {
                entry.note = now->note;
            }
            return std::optional(entry);
        });
    } catch (const std::invalid_argument&) {
        throw UsageError{"missing --note: a note needs its text"};
    } catch (const OwnDayStoreError& error) {
        storeFailure(error);
    }
}

void runClear(const ParsedArguments& args) {
    onlyOptions(args, "clear", {});
    const DaySerial date = isoDateOption(operandsOf(args, 1, 1, "DATE")[0]);
    // Nothing kept means nothing to clear, and no store is made for it.
    OwnDayStore store = readOwnDays();
    if (!store.hasFile()) {
        return;
    }
    store = writeOwnDays();
    try {
        store.clear(date);
    } catch (const OwnDayStoreError& error) {
        storeFailure(error);
    }
}

const DaySerial kFirstDay = toDaySerial(std::chrono::year{kFirstYear} / 1 / 1);
const DaySerial kLastDay = toDaySerial(std::chrono::year{kLastYear} / 12 / 31);

void runList(const ParsedArguments& args) {
    onlyOptions(args, "list", {"--from", "--to", "--output"});
    operandsOf(args, 0, 0, "");
    const DaySerial from = args.has("--from") ? isoDateOption(*args.value("--from")) : kFirstDay;
    const DaySerial to = args.has("--to") ? isoDateOption(*args.value("--to")) : kLastDay;
    if (to < from) {
        throw UsageError{"--to is before --from"};
    }
    const OwnDays entries = storedDays(from, to);
    Output out(outputPath(args));
    for (const OwnDay& entry : entries.all()) {
        out.write(ownDayLine(entry));
    }
    out.commit();
}

// The crew of --crew, else the remembered single crew; one that has shifts of its own.
CrewChoice summaryCrew(const ParsedArguments& args) {
    std::optional<CrewChoice> crew = optionalCrew(args, "--crew");
    if (!crew) {
        const auto& start = userSettings().start;
        if (!start || start->view != StartView::Single) {
            throw UsageError{"missing --crew" + std::string(start ? " (two crews are remembered "
                                                                    "side by side)"
                                                                  : kHowToRemember)};
        }
        crew = CrewCatalogue::findByCode(start->single.text());
    }
    if (!crew || crew->allCrews) {
        badArgument("an all-crews entry has no shifts of its own to count:",
                    crew ? crewName(*crew) : std::string());
    }
    return *crew;
}

void runSummary(const ParsedArguments& args) {
    onlyOptions(args, "summary", {"--crew", "--output"});
    const std::string_view period = operandsOf(args, 1, 1, "YEAR or YEAR-MM")[0];
    DaySerial from = 0;
    DaySerial to = 0;
    if (const auto month = parseYearMonth(period)) {
        from = toDaySerial(std::chrono::year{month->year} /
                           std::chrono::month{static_cast<unsigned>(month->month)} / 1);
        to = toDaySerial(std::chrono::year{month->year} /
                         std::chrono::month{static_cast<unsigned>(month->month)} /
                         std::chrono::last);
    } else if (const auto year = parseYear(period)) {
        from = toDaySerial(std::chrono::year{*year} / 1 / 1);
        to = toDaySerial(std::chrono::year{*year} / 12 / 31);
    } else {
        badArgument("invalid period (expected YEAR or YEAR-MM, years 0100..9999)", period);
    }
    const CrewChoice crew = summaryCrew(args);
    Output out(outputPath(args));
    const OwnDaySummary summary = summariseOwnDays(crew.code, from, to, storedDays(from, to));
    for (const auto& [what, count] : summaryFigures(summary)) {
        out.write(what + '\t' + std::to_string(count) + '\n');
    }
    out.commit();
}

void runExport(const ParsedArguments& args) {
    onlyOptions(args, "export", {"--output"});
    operandsOf(args, 0, 0, "");
    const OwnDays entries = storedDays(kFirstDay, kLastDay);
    Output out(outputPath(args));
    out.write(ownDaysFileText(entries));
    out.commit();
}

// The whole text of FILE, or of standard input for "-".
std::string importText(std::string_view name) {
    if (name != "-") {
        FileReading reading = readWholeFile(std::filesystem::path(name), kImportSizeLimit);
        if (reading.status == FileReading::Status::Read) {
            return std::move(reading.text);
        }
        throw InputOutputError{reading.status == FileReading::Status::Absent
                                   ? std::string(name) + ": no such file"
                                   : reading.error};
    }
    std::string text;
    char buffer[1 << 16];
    while (std::cin.read(buffer, sizeof buffer) || std::cin.gcount() > 0) {
        text.append(buffer, static_cast<std::size_t>(std::cin.gcount()));
        if (text.size() > kImportSizeLimit) {
            throw InputOutputError{"standard input: larger than a backup of own days can be"};
        }
    }
    if (std::cin.bad()) {
        throw InputOutputError{"cannot read standard input"};
    }
    return text;
}

void runImport(const ParsedArguments& args) {
    onlyOptions(args, "import", {});
    const std::string_view name = operandsOf(args, 1, 1, "FILE")[0];
    const OwnDaysFileReading reading = parseOwnDaysFile(importText(name));
    if (!reading.problems.empty()) {
        const std::string shown = name == "-" ? "standard input" : quotedArgument(name);
        for (const std::string& problem : reading.problems) {
            std::cerr << "kelsing-shifts: " << shown << ": " << problem << '\n';
        }
        throw UsageError{shown + ": nothing was imported (" +
                         std::to_string(reading.problems.size()) +
                         (reading.problems.size() == 1 ? " problem)" : " problems)")};
    }
    OwnDayStore store = writeOwnDays();
    try {
        store.setAll(reading.entries);
    } catch (const OwnDayStoreError& error) {
        storeFailure(error);
    }
}

struct Action {
    std::string_view name;
    void (*run)(const ParsedArguments& args);
};

constexpr std::array<Action, 6> kActions = {{
    {"set", runSet},
    {"clear", runClear},
    {"list", runList},
    {"summary", runSummary},
    {"export", runExport},
    {"import", runImport},
}};

void runDays(const ParsedArguments& args, const ColourSettings&) {
    if (args.operands().empty()) {
        throw UsageError{"missing ACTION (set, clear, list, summary, export or import)"};
    }
    for (const Action& action : kActions) {
        if (action.name == args.operands().front()) {
            action.run(args);
            return;
        }
    }
    badArgument("unknown action (expected set, clear, list, summary, export or import)",
                args.operands().front());
}

constexpr OptionSpec kDaysOptions[] = {{"--note", '\0', true},
                                       {"--from", '\0', true},
                                       {"--to", '\0', true},
                                       {"--crew", '\0', true},
                                       kOutput};

constexpr std::string_view kDaysUsage =
    "Usage: kelsing-shifts days set DATE KIND [SHIFT] [--note TEXT]\n"
    "       kelsing-shifts days clear DATE\n"
    "       kelsing-shifts days list [--from DATE] [--to DATE]\n"
    "       kelsing-shifts days summary YEAR|YEAR-MM [--crew CREW]\n"
    "       kelsing-shifts days export [-o FILE]\n"
    "       kelsing-shifts days import FILE\n"
    "\n"
    "Keeps your own days beside the rotation, at most one entry a day: leave, sick days, a\n"
    "shift swapped for the rotation's, an extra shift, and notes. The window keeps the same\n"
    "ones (right-click a day). They show in 'month' and 'today' on your crew (the remembered\n"
    "one, when one is) and in 'ics --with-own-days'. KIND is leave, sick, swap, extra or note;\n"
    "a swap or an extra names the SHIFT worked: Days, Nights, Afternoons, Training,\n"
    "'Days (8)', 'Days (12)' or Off (not for an extra). DATE is YYYY-MM-DD.\n"
    "\n"
    "  set DATE KIND [SHIFT] the day's entry, in place of the one it had; its note stays\n"
    "  --note TEXT          the entry's note, up to 200 characters without control\n"
    "                       characters ('' removes it); KIND note is a note alone\n"
    "  clear DATE           removes the day's entry\n"
    "  list                 DATE<TAB>KIND<TAB>SHIFT<TAB>NOTE for each entry, in date order\n"
    "  --from DATE, --to DATE\n"
    "                       only the entries of these days\n"
    "  summary YEAR|YEAR-MM the shifts worked by shift after leave, sick days, swaps and\n"
    "                       extras, then the leave and sick days, swaps and extra shifts,\n"
    "                       as WHAT<TAB>COUNT lines\n"
    "  --crew CREW          the crew whose rotation is counted; the remembered one by default\n"
    "  export               every entry as a file that 'days import' reads back: a backup\n"
    "  import FILE          puts the file's entries in place of those of their days, all or\n"
    "                       none: a file with bad lines names each and imports nothing; '-'\n"
    "                       reads standard input\n"
    "\n"
    "The store is $XDG_DATA_HOME/kelsing-schedule/days.sqlite\n"
    "(~/.local/share/kelsing-schedule/days.sqlite by default), made at the first entry.\n";

} // namespace

Command daysCommand() {
    return {"days", "your own days: leave, sick days, swaps, extra shifts, notes", kDaysUsage,
            kDaysOptions, runDays};
}

} // namespace kelsing::cli
