// SPDX-License-Identifier: GPL-3.0-or-later
// kelsing-shifts remember: from a terminal what the window's "Start with this crew" does.

#include "commandsupport.h"
#include "errors.h"
#include "output.h"
#include "rememberedcrews.h"
#include "stores/wholefile.h"

namespace kelsing::cli {

namespace {

// "crew<TAB>83.2<TAB>Corvath 403"; nothing for a side without a crew.
std::string crewLine(std::string_view key, CrewCode code) {
    const auto choice = CrewCatalogue::findByCode(code.text());
    if (code.value() == 0 || !choice) {
        return {};
    }
    return std::string(key) + '\t' + code.text() + '\t' + crewName(*choice) + '\n';
}

void showRemembered(const ParsedArguments& args) {
    Output out(outputPath(args));
    if (const auto& start = userSettings().start) {
        if (start->view == StartView::Single) {
            out.write(crewLine("crew", start->single));
        } else {
            out.write(crewLine("left", start->left));
            out.write(crewLine("right", start->right));
        }
    }
    out.commit();
}

// The settings with the start the options ask for, or without one for --forget.
Settings changedSettings(const ParsedArguments& args) {
    Settings settings = userSettings();
    settings.start.reset();
    if (args.has("--forget")) {
        return settings;
    }
    const ViewCrews crews = *viewCrewOptions(args);
    RememberedStart start;
    start.view = crews.sideBySide ? StartView::SideBySide : StartView::Single;
    start.single = crews.single;
    start.left = crews.left;
    start.right = crews.right;
    settings.start = start;
    return settings;
}

void runRemember(const ParsedArguments& args, const ColourSettings&) {
    noOperands(args);
    const bool forget = args.has("--forget");
    const bool crews = args.has("--crew") || args.has("--left") || args.has("--right");
    if (forget && crews) {
        throw UsageError{"give either --forget or crews, not both"};
    }
    if (!forget && !crews) {
        showRemembered(args);
        return;
    }
    if (args.has(kOutput.name)) {
        throw UsageError{"--output goes only with showing what is remembered"};
    }
    const Settings settings = changedSettings(args);
    const auto file = settingsFile();
    if (!file) {
        throw InputOutputError{"no folder for the settings: neither XDG_CONFIG_HOME nor HOME names "
                               "an absolute folder"};
    }
    try {
        writeSettings(*file, settings);
    } catch (const StoreError& error) {
        throw InputOutputError{error.what()};
    }
}

constexpr OptionSpec kRememberOptions[] = {{"--crew", '\0', true},
                                           {"--left", '\0', true},
                                           {"--right", '\0', true},
                                           {"--forget", '\0', false},
                                           kOutput};

constexpr std::string_view kRememberUsage =
    "Usage: kelsing-shifts remember [--crew CREW | --left CREW --right CREW | --forget]\n"
    "\n"
    "Remembers the crew that the window starts with, and that shift, month, ics and today take\n"
    "when they are given none: the window's \"Start with this crew\". Two crews side by side\n"
    "also make the window start side by side. Without options, prints what is remembered:\n"
    "crew<TAB>CODE<TAB>Name, or a left and a right line; nothing when nothing is.\n"
    "The settings file is $XDG_CONFIG_HOME/kelsing-schedule/settings.ini\n"
    "(~/.config/kelsing-schedule/settings.ini by default).\n"
    "\n"
    "  --crew CREW          remember one crew, shown in the single view\n"
    "  --left CREW, --right CREW\n"
    "                       remember two crews side by side (no all-crews entries)\n"
    "  --forget             forget what is remembered\n";

} // namespace

Command rememberCommand() {
    return {"remember", "the crew the window and the tool start with", kRememberUsage,
            kRememberOptions, runRemember};
}

} // namespace kelsing::cli
