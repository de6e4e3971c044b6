// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "feeds/qrcode.h"
#include "platform/twips.h"

#include <optional>

#include <QWidget>

namespace kelsing {

/// Shows a QR code sharp at every scale: each module a square of whole device pixels, on a light
/// square that leaves the quiet zone around it, however the window and the screen scale it.
class QrCodeView final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(QrCodeView)

public:
    /// A view of `code` (empty when there is none), sized for the window's `twips` mapping.
    QrCodeView(std::optional<QrCode> code, const Twips& twips, QWidget* parent = nullptr);

    /// The side of a module in device pixels at the view's present size: whole, at least one.
    int moduleDevicePixels() const;

    /// The modules on a side, the quiet zone included.
    int sideModules() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<QrCode> m_code;
};

} // namespace kelsing
