// SPDX-License-Identifier: GPL-3.0-or-later
#include "owndays/ownsummary.h"

#include "rotation/rotationengine.h"

#include <algorithm>
#include <numeric>

namespace kelsing {

namespace {

void countWorked(OwnDaySummary& summary, std::string_view shift) {
    const auto found = std::find(kTableShifts.begin(), kTableShifts.end(), shift);
    if (found != kTableShifts.end() && isWorkedShift(shift)) {
        ++summary.worked[static_cast<std::size_t>(found - kTableShifts.begin())];
    }
}

// "1 sick day", "2 sick days".
std::string counted(int count, std::string_view one, std::string_view many) {
    return std::to_string(count) + ' ' + std::string(count == 1 ? one : many);
}

} // namespace

int OwnDaySummary::workedTotal() const {
    return std::accumulate(worked.begin(), worked.end(), 0);
}

OwnDaySummary summariseOwnDays(CrewCode crew, DaySerial from, DaySerial to,
                               const OwnDays& entries) {
    const ScheduleSelection selection = crew.decode();
    OwnDaySummary summary;
    for (DaySerial date = from; date <= to; ++date) {
        const std::string_view rotation =
            labelText(ASS(static_cast<float>(date), selection.code, selection.subCode));
        const OwnDay* entry = entries.find(date);
        const OwnDayKind kind = entry != nullptr ? entry->kind : OwnDayKind::Note;
        switch (kind) {
        case OwnDayKind::Leave:
            ++summary.leaveDays;
            break;
        case OwnDayKind::Sick:
            ++summary.sickDays;
            break;
        case OwnDayKind::Swap:
            ++summary.swaps;
            countWorked(summary, entry->shift);
            break;
        case OwnDayKind::Extra:
            ++summary.extras;
            countWorked(summary, rotation);
            countWorked(summary, entry->shift);
            break;
        case OwnDayKind::Note:
            countWorked(summary, rotation);
            break;
        }
    }
    return summary;
}

std::vector<std::pair<std::string, int>> summaryFigures(const OwnDaySummary& summary) {
    std::vector<std::pair<std::string, int>> figures;
    for (std::size_t i = 0; i < kTableShifts.size(); ++i) {
        if (summary.worked[i] > 0) {
            figures.emplace_back(kTableShifts[i], summary.worked[i]);
        }
    }
    figures.emplace_back("Shifts worked", summary.workedTotal());
    figures.emplace_back("Leave days", summary.leaveDays);
    figures.emplace_back("Sick days", summary.sickDays);
    figures.emplace_back("Swapped shifts", summary.swaps);
    figures.emplace_back("Extra shifts", summary.extras);
    return figures;
}

std::string summarySentence(const OwnDaySummary& summary) {
    std::string byShift;
    for (std::size_t i = 0; i < kTableShifts.size(); ++i) {
        if (summary.worked[i] > 0) {
            byShift += (byShift.empty() ? "" : ", ") + std::string(kTableShifts[i]) + ' ' +
                       std::to_string(summary.worked[i]);
        }
    }
    std::string text = counted(summary.workedTotal(), "shift worked", "shifts worked");
    if (!byShift.empty()) {
        text += " (" + byShift + ')';
    }
    return text + "; " + counted(summary.leaveDays, "leave day", "leave days") + ", " +
           counted(summary.sickDays, "sick day", "sick days") + ", " +
           counted(summary.swaps, "swapped shift", "swapped shifts") + ", " +
           counted(summary.extras, "extra shift", "extra shifts") + '.';
}

} // namespace kelsing
