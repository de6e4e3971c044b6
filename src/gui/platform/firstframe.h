// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

class QWidget;

namespace kelsing {

/// Runs `then` once, when the screen first asks `window`, a top-level widget, for its picture:
/// after the window has been mapped and before its first paint.
void atFirstExposure(QWidget* window, std::function<void()> then);

/// Runs `then` once, after `window` has painted its first complete frame and it is on the
/// screen; nothing runs if the window goes before.
void afterFirstFrame(QWidget* window, std::function<void()> then);

/// When the environment variable KELSING_REPORT_FIRST_FRAME is set, writes the line
/// "first frame" to standard output after the first frame of `window`, so that a process
/// outside can time the start-up; otherwise does nothing.
void reportFirstFrameIfAsked(QWidget* window);

} // namespace kelsing
