// SPDX-License-Identifier: GPL-3.0-or-later
#include "stores/settingsfile.h"

#include "base/textlines.h"
#include "crews/crewcatalogue.h"
#include "stores/wholefile.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <vector>

namespace kelsing {

namespace {

constexpr std::string_view kIgnored = "; the file is ignored and no crew is remembered";
constexpr std::string_view kStartSection = "start";
constexpr std::string_view kSingleView = "single";
constexpr std::string_view kSideBySideView = "side-by-side";

// Why a text is not a settings file; thrown inside the reader and turned into its problem.
struct Fault {
    std::string what;
};

[[noreturn]] void fault(std::string what) {
    throw Fault{std::move(what)};
}

[[noreturn]] void lineFault(int line, std::string_view what) {
    fault("line " + std::to_string(line) + ": " + std::string(what));
}

// Valid UTF-8 without control characters other than TAB and the line ends.
bool isText(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            if ((byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r') || byte == 0x7f) {
                return false;
            }
            ++i;
            continue;
        }
        const std::size_t length = byte >= 0xf0 ? 4 : byte >= 0xe0 ? 3 : byte >= 0xc2 ? 2 : 0;
        if (length == 0 || byte > 0xf4 || i + length > text.size()) {
            return false;
        }
        char32_t code = byte & (0x7f >> length);
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xc0) != 0x80) {
                return false;
            }
            code = code << 6 | (next & 0x3f);
        }
        // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8.
        const char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < smallest[length] || (code >= 0xd800 && code <= 0xdfff) || code > 0x10ffff) {
            return false;
        }
        i += length;
    }
    return true;
}

std::string_view trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// A key as a message names it: plain short ASCII only, so a message stays one clean line.
std::string quotedKey(std::string_view key) {
    const bool plain = key.size() <= 32 && std::all_of(key.begin(), key.end(), [](char c) {
                           return c > ' ' && c < 0x7f && c != '\'';
                       });
    return plain ? " '" + std::string(key) + "'" : std::string();
}

// One setting of the file, where it stands.
struct Entry {
    std::string_view section; // empty before the first section
    std::string_view key;
    std::string_view value;
    int line = 0;
};

// The settings as written, one entry per key line; the first line that is no setting at all.
struct Entries {
    std::vector<Entry> entries;
    std::optional<int> badLine;
    std::optional<int> badSection;
    bool hasStart = false;
};

Entries entriesOf(std::string_view text) {
    Entries read;
    std::string_view section;
    int number = 0;
    while (!text.empty()) {
        ++number;
        std::string_view line = takeLine(text);
        line = trimmed(line);
        if (line.empty() || line.front() == '#' || line.front() == ';') {
            continue;
        }
        const std::size_t equals = line.find('=');
        if (line.front() == '[' && line.back() == ']') {
            section = trimmed(line.substr(1, line.size() - 2));
            if (section != kStartSection || read.hasStart) {
                read.badSection = read.badSection.value_or(number);
            }
            read.hasStart = read.hasStart || section == kStartSection;
        } else if (equals == std::string_view::npos || trimmed(line.substr(0, equals)).empty()) {
            read.badLine = read.badLine.value_or(number);
        } else {
            read.entries.push_back({section, trimmed(line.substr(0, equals)),
                                    trimmed(line.substr(equals + 1)), number});
        }
    }
    return read;
}

const Entry* entryOf(const std::vector<Entry>& entries, std::string_view section,
                     std::string_view key) {
    for (const Entry& entry : entries) {
        if (entry.section == section && entry.key == key) {
            return &entry;
        }
    }
    return nullptr;
}

// The format line says first whether this program can read the rest at all.
void checkFormat(const Entries& read) {
    const Entry* format = entryOf(read.entries, {}, "format");
    if (format == nullptr) {
        fault("no format line");
    }
    int version = 0;
    const std::string_view value = format->value;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), version);
    if (value.empty() || error != std::errc{} || end != value.data() + value.size() ||
        version < 1) {
        lineFault(format->line, "the format is not a version number");
    }
    if (version > kSettingsFormat) {
        fault("written by a newer version of the program (format " + std::string(value) + ')');
    }
}

void checkKeys(const Entries& read) {
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 5> kKnown = {{
        {"", "format"},
        {kStartSection, "view"},
        {kStartSection, "crew"},
        {kStartSection, "left"},
        {kStartSection, "right"},
    }};
    for (std::size_t i = 0; i < read.entries.size(); ++i) {
        const Entry& entry = read.entries[i];
        if (std::find(kKnown.begin(), kKnown.end(), std::pair(entry.section, entry.key)) ==
            kKnown.end()) {
            lineFault(entry.line, "unknown key" + quotedKey(entry.key));
        }
        if (entryOf(read.entries, entry.section, entry.key) != &entry) {
            lineFault(entry.line, "the key" + quotedKey(entry.key) + " is given twice");
        }
    }
}

// The crew of a key: a code exactly as the chooser hands it out; 0 is no crew on a side.
CrewCode crewOf(const Entry* entry, bool side, std::string_view missing) {
    if (entry == nullptr) {
        fault(std::string(missing));
    }
    if (side && entry->value == "0") {
        return CrewCode();
    }
    const auto choice = CrewCatalogue::findByCode(entry->value);
    if (!choice) {
        lineFault(entry->line, "no crew has this code");
    }
    if (side && choice->allCrews) {
        lineFault(entry->line, "an all-crews entry cannot be shown side by side");
    }
    return choice->code;
}

RememberedStart startOf(const std::vector<Entry>& entries) {
    const Entry* view = entryOf(entries, kStartSection, "view");
    if (view == nullptr) {
        fault("the [start] section has no view");
    }
    const auto misplaced = [&](std::string_view key) {
        if (const Entry* entry = entryOf(entries, kStartSection, key)) {
            lineFault(entry->line, "the key" + quotedKey(key) + " does not belong to this view");
        }
    };
    RememberedStart start;
    if (view->value == kSingleView) {
        misplaced("left");
        misplaced("right");
        start.single = crewOf(entryOf(entries, kStartSection, "crew"), false, "no crew is named");
        return start;
    }
    if (view->value != kSideBySideView) {
        lineFault(view->line, "unknown view");
    }
    misplaced("crew");
    start.view = StartView::SideBySide;
    start.left = crewOf(entryOf(entries, kStartSection, "left"), true, "no left crew is named");
    start.right = crewOf(entryOf(entries, kStartSection, "right"), true, "no right crew is named");
    if (start.left.value() == 0 && start.right.value() == 0) {
        fault("neither side has a crew");
    }
    return start;
}

Settings settingsOf(std::string_view text) {
    if (text.empty()) {
        fault("empty");
    }
    if (!isText(text)) {
        fault("not a text file");
    }
    if (!text.ends_with('\n')) {
        fault("cut short: the last line has no line end");
    }
    const Entries read = entriesOf(text);
    checkFormat(read);
    if (read.badLine) {
        lineFault(*read.badLine, "not a setting");
    }
    if (read.badSection) {
        lineFault(*read.badSection, "unknown section");
    }
    checkKeys(read);
    Settings settings;
    if (read.hasStart) {
        settings.start = startOf(read.entries);
    }
    return settings;
}

// A crew's name for the comment above its code: "Corvath 403".
std::string crewComment(std::string_view side, CrewCode code) {
    std::string name = "no crew";
    if (const auto choice = CrewCatalogue::findByCode(code.text())) {
        name = choice->boxText;
        std::replace(name.begin(), name.end(), '\n', ' ');
    }
    return "# " + std::string(side) + name + '\n';
}

} // namespace

SettingsReading parseSettings(std::string_view text) {
    try {
        return {settingsOf(text), {}};
    } catch (const Fault& problem) {
        return {{}, problem.what + std::string(kIgnored)};
    }
}

std::string settingsText(const Settings& settings) {
    std::string text =
        "# Settings of Kelsing Shift Workers Schedule, kept for kelsing-schedule and\n"
        "# kelsing-shifts; the format is described in kelsing-schedule(1), FILES.\n"
        "format = " +
        std::to_string(kSettingsFormat) + '\n';
    if (!settings.start) {
        return text;
    }
    const RememberedStart& start = *settings.start;
    text += "\n[start]\n";
    if (start.view == StartView::Single) {
        text += "view = " + std::string(kSingleView) + '\n';
        text += crewComment("", start.single) + "crew = " + start.single.text() + '\n';
        return text;
    }
    text += "view = " + std::string(kSideBySideView) + '\n';
    text += crewComment("left: ", start.left) + "left = " + start.left.text() + '\n';
    text += crewComment("right: ", start.right) + "right = " + start.right.text() + '\n';
    return text;
}

SettingsReading readSettings(const std::filesystem::path& file) {
    FileReading reading = readWholeFile(file, kSettingsSizeLimit);
    if (reading.status == FileReading::Status::Absent) {
        return {};
    }
    if (reading.status == FileReading::Status::Failed) {
        return {{}, reading.error + std::string(kIgnored)};
    }
    SettingsReading settings = parseSettings(reading.text);
    if (!settings.problem.empty()) {
        settings.problem = file.string() + ": " + settings.problem;
    }
    return settings;
}

void writeSettings(const std::filesystem::path& file, const Settings& settings) {
    std::error_code error;
    if (settings == Settings{} && !std::filesystem::is_symlink(file, error)) {
        removeFile(file);
        return;
    }
    writeWholeFile(file, settingsText(settings));
}

} // namespace kelsing
