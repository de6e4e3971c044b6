// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string_view>

namespace kelsing {

/// How to subscribe to a feed on one kind of device, in one short line.
struct SubscribeStep {
    std::string_view device; // "Android", "iPhone", "Desktop"
    std::string_view how;
};

/// How to subscribe to a crew's feed from its address or its QR code on Android, an iPhone and
/// a desktop calendar: the same lines on the feeds' page and in the window.
const std::array<SubscribeStep, 3>& subscribeSteps();

} // namespace kelsing
