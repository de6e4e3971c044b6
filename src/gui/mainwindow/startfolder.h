// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace kelsing {

/// The folder in which the program offers to save a file: the user's documents folder when it
/// exists, else the home folder. Worked out afresh at every call, so nothing of an earlier save
/// or an earlier run is remembered.
QString startFolder();

} // namespace kelsing
