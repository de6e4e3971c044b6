// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "commands.h"

namespace kelsing::cli {

/// The command `feeds`: a folder of every crew's subscription feed and a page that lists them.
Command feedsCommand();

} // namespace kelsing::cli
