// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelsing {

/// A QR code (ISO/IEC 18004) of a text, as libqrencode draws it: a square of dark and light
/// modules. Whoever shows it leaves a light quiet zone of kQuietZone modules around it.
class QrCode {
public:
    /// The modules of light margin that a reader needs on every side.
    static constexpr int kQuietZone = 4;

    /// The code of `text`, its bytes as they are (byte mode) with error correction level M (15 %
    /// of the code may be lost), in the smallest version that holds it; nullopt for an empty
    /// text and one that no version holds (over 2331 bytes). Readers guess the character set of
    /// bytes beyond ASCII, so a text for every reader, such as an address, is ASCII.
    static std::optional<QrCode> encode(std::string_view text);

    /// The modules on a side, without the quiet zone (21 to 177).
    int size() const { return m_size; }

    /// Whether the module in column x and row y (0 to size() - 1, from the top left) is dark.
    bool dark(int x, int y) const { return m_dark[static_cast<std::size_t>(y * m_size + x)]; }

private:
    QrCode(int size, std::vector<bool> dark);

    int m_size;
    std::vector<bool> m_dark;
};

/// The code as an SVG picture to put into an HTML page as it is: dark modules on a light square
/// that includes the quiet zone, one unit a module; `label` is its accessible name, escaped
/// here. A page draws it sharpest with `shape-rendering: crispEdges`.
std::string qrCodeSvg(const QrCode& code, std::string_view label);

} // namespace kelsing
