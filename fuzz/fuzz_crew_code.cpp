// SPDX-License-Identifier: GPL-3.0-or-later
// Decoding crew code texts, with either decimal separator, into schedule codes and crew box
// texts: never a crash or undefined behaviour, only a number, an overflow error or nothing.

#include "base/errors.h"
#include "crews/crewcaptiontable.h"
#include "crews/crewcode.h"
#include "require.h"
#include "rotation/rotationengine.h"

#include <cmath>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kelsing;
    using fuzz::require;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const std::string_view separator : {".", ","}) {
        const auto code = CrewCode::parse(text, separator);
        if (!code) {
            continue;
        }
        require(std::isfinite(code->value()));
        (void)CrewCaptionText(*code);
        try {
            const ScheduleSelection selection = code->decode();
            (void)ASS(40000.0f, selection.code, selection.subCode);
            // Whatever number a text holds, its written form reads back.
            require(CrewCode::parse(code->text(separator), separator).has_value());
        } catch (const ArithmeticError&) {
            // A number beyond 16 bits: the reader of the code fails, as the window would.
        }
    }
    return 0;
}
