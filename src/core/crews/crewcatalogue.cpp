// SPDX-License-Identifier: GPL-3.0-or-later
#include "crews/crewcatalogue.h"

#include <array>

namespace kelsing {

namespace {

constexpr CrewEntry kBrenmoorCrews[] = {
    {"A Crew"}, {"B Crew"}, {"C Crew"}, {"D Crew"}, {"All Crews", true}};
constexpr CrewEntry kZantorCrews[] = {{"A Crew"}, {"B Crew"}, {"C Crew"}, {"D Crew"}, {"E Crew"}};
constexpr CrewEntry kTobrinsCrews[] = {
    {"A Crew"},  {"B Crew"},  {"C Crew"},  {"D Crew"},  {"All Crews", true},
    {"AX Crew"}, {"BX Crew"}, {"CX Crew"}, {"DX Crew"}, {"All X Crews", true}};

constexpr CrewEntry kHalvexAA[] = {{"AA"}, {"BB"}, {"CC"}, {"DD"}, {"All", true}};
constexpr CrewEntry kHalvexE[] = {{"E-5"}, {"E-6"}, {"E-7"}, {"E-8"}, {"E-9"}, {"E-A"}};
constexpr CrewEntry kHalvexI2[] = {{"I-2"}, {"J-2"}, {"K-2"}, {"L-2"}, {"All Crews", true}};
constexpr CrewEntry kHalvexM[] = {{"M-1"}, {"M-2"}};
constexpr CrewEntry kHalvexP[] = {{"P-6"}, {"P-7"}, {"P-8"}, {"P-9"}};
constexpr CrewEntry kHalvexS[] = {{"S-A"}, {"S-B"}};
constexpr CrewEntry kHalvexT[] = {{"T-1"}, {"T-2"}};
constexpr CrewGroup kHalvexGroups[] = {
    {"AA-DD", 70, kHalvexAA},  {"E (5-A)", 71, kHalvexE}, {"I2-L2", 72, kHalvexI2},
    {"M (1-2)", 73, kHalvexM}, {"P (6-9)", 74, kHalvexP}, {"S (A-B)", 75, kHalvexS},
    {"T (1-2)", 76, kHalvexT},
};

constexpr CrewEntry kCorvath1[] = {{"1"}, {"2"}, {"3"}, {"4"}, {"1-4 All", true}};
constexpr CrewEntry kCorvath30[] = {{"30"}, {"31"}};
constexpr CrewEntry kCorvath150[] = {{"150"}, {"151"}};
constexpr CrewEntry kCorvath401[] = {{"401"}, {"402"}, {"403"}, {"404"}, {"All Crews", true}};
constexpr CrewEntry kCorvath501[] = {{"501"}, {"502"}, {"503"}, {"504"}, {"All 501-504", true},
                                     {"506"}, {"507"}, {"508"}, {"509"}, {"All 506-509", true}};
constexpr CrewGroup kCorvathGroups[] = {
    {"1-4", 80, kCorvath1},       {"30-31", 81, kCorvath30},    {"150-151", 82, kCorvath150},
    {"401-404", 83, kCorvath401}, {"501-509", 84, kCorvath501},
};

constexpr Employer kEmployers[CrewCatalogue::kEmployerCount] = {
    {"Brenmoor", true, EmployerKind::Flat, "Brenmoor", kBrenmoorCrews, {}},
    {"Tarsk", false, EmployerKind::None, "Tarsk", {}, {}},
    {"Quillon", false, EmployerKind::None, "Quillon", {}, {}},
    {"Velmora", false, EmployerKind::None, "Velmora", {}, {}},
    {"Zantor", true, EmployerKind::Flat, "Zantor", kZantorCrews, {}},
    {"Meridane", false, EmployerKind::None, "Meridane", {}, {}},
    {"Halvex", true, EmployerKind::Grouped, "Halvex", {}, kHalvexGroups},
    {"Corvath", true, EmployerKind::Grouped, "Corvath", {}, kCorvathGroups},
    {"Tobrin's", true, EmployerKind::Flat, "Tobrin's", kTobrinsCrews, {}},
    {"", false, EmployerKind::None, "Not Used", {}, {}},
    {"", false, EmployerKind::None, "Not Used", {}, {}},
};

// The captions of a path, split at every '/'; a trailing '/' gives a last, empty caption, so
// "Brenmoor/A Crew/" is not taken for "Brenmoor/A Crew".
std::vector<std::string_view> splitPath(std::string_view path) {
    std::vector<std::string_view> segments;
    for (;;) {
        const auto slash = path.find('/');
        segments.push_back(path.substr(0, slash));
        if (slash == std::string_view::npos) {
            return segments;
        }
        path.remove_prefix(slash + 1);
    }
}

template <typename Entry>
std::optional<int> positionOf(std::span<const Entry> entries, std::string_view caption,
                              std::string_view Entry::*captionOf = &Entry::caption) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].*captionOf == caption) {
            return static_cast<int>(i);
        }
    }
    return std::nullopt;
}

} // namespace

std::span<const Employer> CrewCatalogue::employers() {
    return kEmployers;
}

const Employer& CrewCatalogue::employer(int slot) {
    return kEmployers[slot];
}

int CrewCatalogue::crewListSize(const Employer& employer) {
    return static_cast<int>(employer.kind == EmployerKind::Grouped ? employer.groups.size()
                                                                   : employer.crews.size());
}

CrewCode CrewCatalogue::flatCrewCode(int slot, int position) {
    return CrewCode((slot + 1) * 10.0 + position);
}

CrewCode CrewCatalogue::memberCrewCode(int slot, int groupPosition, int memberPosition) {
    return CrewCode((slot + 1) * 10.0 + groupPosition + memberPosition / 10.0);
}

std::string CrewCatalogue::crewBoxText(int slot, std::string_view caption) {
    std::string text(kEmployers[slot].name);
    text += '\n';
    text += caption;
    return text;
}

std::optional<CrewChoice> CrewCatalogue::findByPath(std::string_view path) {
    const std::vector<std::string_view> captions = splitPath(path);
    const auto slot =
        positionOf(std::span<const Employer>(kEmployers), captions[0], &Employer::listCaption);
    if (!slot || !kEmployers[*slot].selectable) {
        return std::nullopt;
    }
    const Employer& e = kEmployers[*slot];
    if (e.kind == EmployerKind::Flat) {
        const auto position =
            captions.size() == 2 ? positionOf(e.crews, captions[1]) : std::nullopt;
        if (!position) {
            return std::nullopt;
        }
        return CrewChoice{flatCrewCode(*slot, *position), crewBoxText(*slot, captions[1]),
                          e.crews[static_cast<std::size_t>(*position)].allCrews};
    }
    if (captions.size() != 3) {
        return std::nullopt;
    }
    const auto group = positionOf(e.groups, captions[1]);
    const auto memberPosition =
        group ? positionOf(e.groups[*group].members, captions[2]) : std::nullopt;
    if (!memberPosition) {
        return std::nullopt;
    }
    return CrewChoice{memberCrewCode(*slot, *group, *memberPosition),
                      crewBoxText(*slot, captions[2]),
                      e.groups[static_cast<std::size_t>(*group)]
                          .members[static_cast<std::size_t>(*memberPosition)]
                          .allCrews};
}

std::optional<CrewChoice> CrewCatalogue::findByCode(std::string_view text) {
    for (CatalogueChoice& entry : allChoices()) {
        if (entry.choice.code.text() == text) {
            return std::move(entry.choice);
        }
    }
    return std::nullopt;
}

std::vector<CatalogueChoice> CrewCatalogue::allChoices() {
    std::vector<CatalogueChoice> choices;
    for (int slot = 0; slot < kEmployerCount; ++slot) {
        const Employer& e = kEmployers[slot];
        for (int p = 0; p < static_cast<int>(e.crews.size()); ++p) {
            const CrewEntry& entry = e.crews[static_cast<std::size_t>(p)];
            choices.push_back(
                {{flatCrewCode(slot, p), crewBoxText(slot, entry.caption), entry.allCrews},
                 slot,
                 {},
                 entry});
        }
        for (int g = 0; g < static_cast<int>(e.groups.size()); ++g) {
            const CrewGroup& group = e.groups[static_cast<std::size_t>(g)];
            for (int m = 0; m < static_cast<int>(group.members.size()); ++m) {
                const CrewEntry& member = group.members[static_cast<std::size_t>(m)];
                choices.push_back({{memberCrewCode(slot, g, m), crewBoxText(slot, member.caption),
                                    member.allCrews},
                                   slot,
                                   group.caption,
                                   member});
            }
        }
    }
    return choices;
}

} // namespace kelsing
