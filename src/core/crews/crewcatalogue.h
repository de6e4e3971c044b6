// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/int16.h"
#include "crews/crewcode.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kelsing {

/// How an employer's crew list is organised.
enum class EmployerKind {
    Flat,    // each entry is a crew
    Grouped, // each entry is a crew group whose members are the crews
    None,    // no crews (a greyed-out employer)
};

/// One crew-list or member-list entry.
struct CrewEntry {
    std::string_view caption;
    bool allCrews = false; // gives every crew of a rotation on one line
};

/// A crew group of a grouped employer; the members' positions are their schedule sub-codes.
struct CrewGroup {
    std::string_view caption;
    Int16 scheduleCode;
    std::span<const CrewEntry> members;
};

/// One employer slot of the catalogue.
struct Employer {
    std::string_view listCaption; // caption in the chooser's employer list
    bool selectable;
    EmployerKind kind;
    std::string_view name;             // starts the crew box text
    std::span<const CrewEntry> crews;  // flat employers only
    std::span<const CrewGroup> groups; // grouped employers only
};

/// One chosen crew: its code and crew box text.
struct CrewChoice {
    CrewCode code;
    std::string boxText;
    bool allCrews = false; // an all-crews entry, which has no side-by-side layout
};

/// A crew that can be chosen, with where it sits in the catalogue.
struct CatalogueChoice {
    CrewChoice choice;
    int slot;
    std::string_view groupCaption; // empty for flat employers
    CrewEntry entry;
};

/// The built-in employers, their crews and crew codes.
namespace CrewCatalogue {

inline constexpr int kEmployerCount = 11;

/// Every employer slot, slot 0 first.
std::span<const Employer> employers();

/// The employer of a slot (0..10).
const Employer& employer(int slot);

/// The number of entries of an employer's crew list (crews or crew groups).
int crewListSize(const Employer& employer);

/// Crew code of crew `position` of a flat employer: (slot + 1) x 10 + position.
CrewCode flatCrewCode(int slot, int position);

/// Crew code of a group member: (slot + 1) x 10 + group position + member position / 10.
CrewCode memberCrewCode(int slot, int groupPosition, int memberPosition);

/// The employer's name, a line feed and the chosen entry's caption.
std::string crewBoxText(int slot, std::string_view caption);

/// The choice named by a path of exact captions: "Employer/Entry" for a flat employer or
/// "Employer/Group/Member" for a grouped one; nullopt for anything the chooser does not hand out.
std::optional<CrewChoice> findByPath(std::string_view path);

/// The choice whose crew code is written exactly `text` ("14", "80", "84.9"; never "80.0" or
/// " 14"); nullopt for a code the chooser does not hand out.
std::optional<CrewChoice> findByCode(std::string_view text);

/// Every crew that can be chosen, in catalogue order (employers by slot, then crew or group
/// position, then member position).
std::vector<CatalogueChoice> allChoices();

} // namespace CrewCatalogue

} // namespace kelsing
