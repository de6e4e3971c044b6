// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "crews/crewcode.h"
#include "platform/twips.h"

#include <QPoint>
#include <QString>

class QWidget;

namespace kelsing {

/// The crew box that a chooser opening serves.
enum class ChooserTarget { Single, Left, Right };

/// What the crew chooser reads and writes on the main window.
class ChooserHost {
public:
    virtual ~ChooserHost() = default;

    /// Where the main window's content area stands on the screen, in pixels: the designed client
    /// area, which a window out of its designed proportions keeps in its middle.
    virtual QPoint contentPosition() const = 0;

    /// How far the main window's outer corner lies left of and above its client area, in device
    /// pixels: its frame and title bar, which keep their size in device pixels at every factor.
    virtual QPoint frameSize() const { return {}; }

    /// The top of the crew boxes, in pixels of the content area.
    virtual int crewBoxTop() const = 0;

    /// The window the chooser opens over and belongs to (no taskbar entry of its own, placed
    /// against it on every platform); none for a host without a window.
    virtual QWidget* chooserParent() { return nullptr; }

    /// The main window's twips mapping, which the chooser shares.
    virtual const Twips& twips() const = 0;

    /// Whether the side-by-side view is showing (the switch reads "X").
    virtual bool sideBySideShowing() const = 0;

    /// Sets the crew code and the crew box text of one target.
    virtual void setCrew(ChooserTarget target, CrewCode code, const QString& boxText) = 0;

    /// Repaints the sheet for one target: the single fill, or the left or right fill.
    virtual void fillFor(ChooserTarget target) = 0;
};

} // namespace kelsing
