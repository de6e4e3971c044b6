// SPDX-License-Identifier: GPL-3.0-or-later
#include "printing/printedpicturesize.h"

#include <cmath>

namespace kelsing {

PictureSize PrintedPictureSize(long windowWidth, long windowHeight, long pageWidth) {
    if (windowWidth <= 0 || windowHeight <= 0 || pageWidth <= 0) {
        return {};
    }
    const double height = static_cast<double>(pageWidth) / static_cast<double>(windowWidth) *
                          static_cast<double>(windowHeight);
    return {pageWidth, std::lround(height)};
}

} // namespace kelsing
