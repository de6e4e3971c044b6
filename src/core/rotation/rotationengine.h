// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/int16.h"

#include <optional>
#include <string_view>

namespace kelsing {

/// The shift label that rotation (Sch, Schb) gives on day serial Dte, or nullopt (shown as empty
/// text) when the table holds no such rotation; throws OverflowError when the crew offset leaves
/// 16 bits and FloatingPointError for a date that is not finite.
std::optional<std::string_view> ASS(float Dte, Int16 Sch, Int16 Schb);

/// The label text that a sheet shows for ASS's result: empty for no label.
inline std::string_view labelText(std::optional<std::string_view> label) {
    return label.value_or(std::string_view{});
}

} // namespace kelsing
