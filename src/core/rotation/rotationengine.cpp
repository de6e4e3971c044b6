// SPDX-License-Identifier: GPL-3.0-or-later
#include "rotation/rotationengine.h"

#include "rotation/scheduletable.h"

#include <cmath>

namespace kelsing {

namespace {

double roundHalfToEven(double value) {
    const double rounded = std::round(value);
    if (std::fabs(value - std::trunc(value)) == 0.5) {
        return 2.0 * std::round(value / 2.0);
    }
    return rounded;
}

double requireFinite(double value) {
    if (!std::isfinite(value)) {
        throw FloatingPointError("rotation position is not a finite number");
    }
    return value;
}

} // namespace

std::optional<std::string_view> ASS(float Dte, Int16 Sch, Int16 Schb) {
    const std::optional<RotationSelection> selection = SelectRotation(Sch, Schb);
    if (!selection) {
        return std::nullopt;
    }
    const auto& labels = selection->rotation->labels;
    const auto cycle = static_cast<double>(labels.size());
    const double x = requireFinite(
        (static_cast<double>(Dte) - selection->rotation->baseDay - selection->crewOffset) / cycle);
    // Floor, not truncation, so that dates before the base day still count forwards in the cycle.
    const double fraction = x - std::floor(x);
    double position = requireFinite(roundHalfToEven(fraction * cycle));
    if (position > cycle - 1) {
        position -= cycle;
    }
    return labels[static_cast<std::size_t>(position)];
}

} // namespace kelsing
