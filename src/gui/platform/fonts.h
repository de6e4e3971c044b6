// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/fontchoice.h"
#include "platform/twips.h"

#include <QFont>

namespace kelsing {

/// Fonts of the windows by the names and point sizes they were designed with.
namespace Fonts {

// The window's default label font.
inline constexpr FontChoice kDefault{"MS Sans Serif", 8.25};
inline constexpr FontChoice kButton{"MS Sans Serif", 9.75};
// The side-by-side view's half lines, drawn bold; the layout leaves their font to the program.
inline constexpr FontChoice kHalfLine{"Small Fonts", 8};

/// The nearest font the platform offers for a designed font, sized through the twips mapping.
QFont platformFont(const FontChoice& choice, const Twips& twips, bool bold = false);

} // namespace Fonts

} // namespace kelsing
