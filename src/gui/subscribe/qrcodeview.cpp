// SPDX-License-Identifier: GPL-3.0-or-later
#include "subscribe/qrcodeview.h"

#include <algorithm>
#include <cmath>

#include <QPainter>

namespace kelsing {

namespace {

// A module's side at the designed scale: 4 pixels, big enough for a phone's camera at arm's
// length.
constexpr int kModuleTwips = 60;

} // namespace

QrCodeView::QrCodeView(std::optional<QrCode> code, const Twips& twips, QWidget* parent)
    : QWidget(parent)
    , m_code(std::move(code)) {
    const int side = sideModules() * std::max(1, twips.px(kModuleTwips));
    setFixedSize(side, side);
}

int QrCodeView::sideModules() const {
    return m_code ? m_code->size() + 2 * QrCode::kQuietZone : 0;
}

int QrCodeView::moduleDevicePixels() const {
    if (!m_code) {
        return 0;
    }
    const int deviceSide =
        static_cast<int>(std::floor(std::min(width(), height()) * devicePixelRatioF()));
    return std::max(1, deviceSide / sideModules());
}

void QrCodeView::paintEvent(QPaintEvent*) {
    if (!m_code) {
        return;
    }
    QPainter painter(this);
    // Drawn in device pixels: every module edge falls between two of them, so none is smeared
    // into grey, whatever the window's factor and the screen's ratio.
    const qreal ratio = devicePixelRatioF();
    painter.scale(1.0 / ratio, 1.0 / ratio);
    painter.setRenderHint(QPainter::Antialiasing, false);
    const int module = moduleDevicePixels();
    const int side = module * sideModules();
    const QPoint origin((static_cast<int>(std::floor(width() * ratio)) - side) / 2,
                        (static_cast<int>(std::floor(height() * ratio)) - side) / 2);
    // The light square holds the quiet zone, light even on a dark theme.
    painter.fillRect(QRect(origin, QSize(side, side)), Qt::white);
    const QPoint first = origin + QPoint(QrCode::kQuietZone, QrCode::kQuietZone) * module;
    for (int y = 0; y < m_code->size(); ++y) {
        for (int x = 0; x < m_code->size(); ++x) {
            if (m_code->dark(x, y)) {
                painter.fillRect(QRect(first + QPoint(x, y) * module, QSize(module, module)),
                                 Qt::black);
            }
        }
    }
}

} // namespace kelsing
