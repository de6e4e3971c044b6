// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kelsing {

/// The size of a picture on the printed page.
struct PictureSize {
    long width = 0;
    long height = 0;
    friend constexpr bool operator==(PictureSize, PictureSize) = default;
};

/// The printed size of a window picture of `windowWidth` x `windowHeight`: as wide as the page,
/// `pageWidth`, and as high as the window's proportions give, rounded (nothing for no area).
PictureSize PrintedPictureSize(long windowWidth, long windowHeight, long pageWidth);

} // namespace kelsing
