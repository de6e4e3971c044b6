// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kelsing {

/// The scale that the user asks of the toolkit through its environment.
namespace DisplayScale {

/// The smallest and the largest factor that a window is laid out at: beyond them the controls
/// and fonts have no pixels left, or the picture no memory.
inline constexpr double kSmallest = 0.25;
inline constexpr double kLargest = 8.0;

/// Takes the part of the toolkit's scale factors below 1 (QT_SCALE_FACTOR and the entries of
/// QT_SCREEN_SCALE_FACTORS) out of the environment and returns it, 1 when there is none, for the
/// windows to lay out their content at instead. Call it before the application object exists,
/// which reads them: the toolkit paints no finer than one device pixel per pixel, so at a device
/// pixel ratio below 1 every window would be drawn too large for itself and clipped. Factors
/// outside kSmallest to kLargest, on their own or multiplied, are held at the nearest end, with
/// one warning that says so.
double takeFactorBelowOne();

} // namespace DisplayScale

} // namespace kelsing
