// SPDX-License-Identifier: GPL-3.0-or-later
#include "owndays/owndaysscope.h"

#include "crews/crewcatalogue.h"

namespace kelsing {

bool ownDaysApplyTo(CrewCode crew, const std::optional<RememberedStart>& remembered) {
    const auto choice = CrewCatalogue::findByCode(crew.text());
    if (crew.value() <= 0 || !choice || choice->allCrews) {
        return false;
    }
    if (remembered && remembered->view == StartView::Single && remembered->single.value() > 0) {
        return remembered->single == choice->code;
    }
    return true;
}

} // namespace kelsing
