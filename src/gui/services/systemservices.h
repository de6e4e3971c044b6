// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "mainwindow/lateservices.h"

namespace kelsing {

/// The late services of this system: the version check over its network, its printers.
LateServices& systemServices();

} // namespace kelsing
