// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calendar/dayserial.h"
#include "commands.h"
#include "crews/crewcatalogue.h"
#include "optionparser.h"
#include "sheet/monthsheet.h"
#include "sheet/textsheet.h"
#include "sheet/textyear.h"

#include <optional>
#include <string>
#include <string_view>

namespace kelsing::cli {

class Output;

/// -o FILE, --output FILE: where a command writes.
inline constexpr OptionSpec kOutput{"--output", 'o', true};

/// Throws UsageError: `what` and the quoted argument.
[[noreturn]] void badArgument(std::string_view what, std::string_view argument);

/// The output that -o names, checked before anything is written; nullopt for standard output.
std::optional<std::string_view> outputPath(const ParsedArguments& args);

/// The text options of a sheet: colours as --color and the output allow, none with --plain,
/// side by side as the crews are.
TextSheetOptions sheetOptions(const ParsedArguments& args, const ColourSettings& colours,
                              const Output& out, const ViewCrews& crews);

/// The one YEAR operand of a command; a missing, extra or invalid one is bad input.
Int16 yearOperand(const ParsedArguments& args);

/// The crew of an option that was given; bad input when it names none.
CrewChoice crewOption(const ParsedArguments& args, std::string_view name);

/// The crew of an option, if it was given.
std::optional<CrewChoice> optionalCrew(const ParsedArguments& args, std::string_view name);

/// A date YYYY-MM-DD; bad input otherwise.
DaySerial isoDateOption(std::string_view text);

/// Bad input when the command was given an operand.
void noOperands(const ParsedArguments& args);

/// Today's date in the local time zone.
DaySerial localToday();

/// The crew box text on one line: "Corvath 403".
std::string crewName(const CrewChoice& crew);

/// The crews of a view from --crew, or --left and --right, if any of them was given; bad input
/// for both kinds at once and for an all-crews entry side by side.
std::optional<ViewCrews> viewCrewOptions(const ParsedArguments& args);

/// The sheet of a month as the tool shows it: the window's, with the days on which two crews
/// side by side are both off marked.
SheetModel shownMonthSheet(MonthYear month, const ViewCrews& crews, DaySerial today,
                           const OwnDays* ownDays = nullptr);

/// Whether a view shows two crews side by side, both chosen.
bool twoCrews(const ViewCrews& crews);

/// The days two crews are off together from `first` to `last`, and the next shared weekends.
OffTogetherSummary offTogetherSummary(const ViewCrews& crews, DaySerial first, DaySerial last,
                                      DaySerial today, std::string span);

/// A crew's name on one line ("Corvath 403"), or its code where the chooser hands out none.
std::string crewNameOf(CrewCode code);

/// Whether and how a sheet is coloured, by --color and the environment, as `month` decides.
TextSheetOptions sheetColours(const ParsedArguments& args, const ColourSettings& colours,
                              const Output& out);

} // namespace kelsing::cli
