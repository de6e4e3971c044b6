// SPDX-License-Identifier: GPL-3.0-or-later
#include "owndaysupport.h"

#include "errors.h"
#include "owndays/owndaysscope.h"
#include "rememberedcrews.h"

namespace kelsing::cli {

namespace {

template <typename Open>
OwnDayStore opened(Open&& open) {
    try {
        return open(ownDaysFile());
    } catch (const OwnDayStoreError& error) {
        throw InputOutputError{error.what()};
    }
}

} // namespace

std::filesystem::path ownDaysFile() {
    auto file = ownDaysFilePath(currentXdgEnvironment());
    if (!file) {
        throw InputOutputError{
            "no folder for own days: neither XDG_DATA_HOME nor HOME names an absolute folder"};
    }
    return std::move(*file);
}

OwnDayStore readOwnDays() {
    return opened(&OwnDayStore::openForReading);
}

OwnDayStore writeOwnDays() {
    return opened(&OwnDayStore::openForWriting);
}

std::optional<OwnDays> ownDaysFor(const ViewCrews& crews, DaySerial from, DaySerial to) {
    if (crews.sideBySide || !ownDaysApplyTo(crews.single, userSettings().start) ||
        !ownDaysFilePath(currentXdgEnvironment())) {
        return std::nullopt;
    }
    const OwnDayStore store = readOwnDays();
    if (!store.hasFile()) {
        return std::nullopt;
    }
    try {
        return store.read(from, to);
    } catch (const OwnDayStoreError& error) {
        throw InputOutputError{error.what()};
    }
}

} // namespace kelsing::cli
