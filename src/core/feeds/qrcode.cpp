// SPDX-License-Identifier: GPL-3.0-or-later
#include "feeds/qrcode.h"

#include "feeds/htmltext.h"

#include <memory>

#include <qrencode.h>

namespace kelsing {

QrCode::QrCode(int size, std::vector<bool> dark)
    : m_size(size)
    , m_dark(std::move(dark)) {
}

std::optional<QrCode> QrCode::encode(std::string_view text) {
    // Byte mode takes any bytes, NUL included, as they are: the reader gives back the same text.
    const std::unique_ptr<QRcode, decltype(&QRcode_free)> code(
        QRcode_encodeData(static_cast<int>(text.size()),
                          reinterpret_cast<const unsigned char*>(text.data()), 0, QR_ECLEVEL_M),
        &QRcode_free);
    if (!code) {
        return std::nullopt;
    }
    const int size = code->width;
    std::vector<bool> dark(static_cast<std::size_t>(size) * static_cast<std::size_t>(size));
    for (std::size_t i = 0; i < dark.size(); ++i) {
        // The lowest bit of each module is its colour; the others say what part it belongs to.
        dark[i] = (code->data[i] & 1) != 0;
    }
    return QrCode(size, std::move(dark));
}

std::string qrCodeSvg(const QrCode& code, std::string_view label) {
    const int side = code.size() + 2 * QrCode::kQuietZone;
    const std::string sideText = std::to_string(side);
    std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 " + sideText + ' ' +
                      sideText + "\" role=\"img\" aria-label=\"" + htmlEscaped(label) +
                      "\"><rect width=\"" + sideText + "\" height=\"" + sideText +
                      "\" fill=\"#fff\"/><path stroke=\"#000\" d=\"";
    // Each row's runs of dark modules as lines one module wide along the middle of the row,
    // which cover the same squares as rectangles would in half the text; each run starts
    // relative to the end of the one before.
    for (int y = 0; y < code.size(); ++y) {
        int end = -1; // where the row's last run ended
        for (int x = 0; x < code.size();) {
            if (!code.dark(x, y)) {
                ++x;
                continue;
            }
            int run = 1;
            while (x + run < code.size() && code.dark(x + run, y)) {
                ++run;
            }
            svg += end < 0 ? 'M' + std::to_string(x + QrCode::kQuietZone) + ' ' +
                                 std::to_string(y + QrCode::kQuietZone) + ".5"
                           : 'm' + std::to_string(x - end) + " 0";
            svg += 'h' + std::to_string(run);
            end = x + run;
            x = end;
        }
    }
    svg += "\"/></svg>";
    return svg;
}

} // namespace kelsing
