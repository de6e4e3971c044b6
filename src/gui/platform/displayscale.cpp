// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/displayscale.h"

#include <algorithm>

#include <QByteArray>
#include <QList>
#include <QtGlobal>

namespace kelsing {

namespace {

// A factor that the toolkit would take and that lies below 1.
bool isBelowOne(const QByteArray& text, double& factor) {
    bool ok = false;
    factor = text.trimmed().toDouble(&ok);
    return ok && factor > 0 && factor < 1;
}

} // namespace

double DisplayScale::takeFactorBelowOne() {
    double taken = 1.0;
    double factor = 1.0;
    if (isBelowOne(qgetenv("QT_SCALE_FACTOR"), factor)) {
        taken = factor;
        qunsetenv("QT_SCALE_FACTOR");
    }
    // Each screen's factor ("1.5;0.8" or "HDMI-1=0.8;..."): those below 1 become 1, and the
    // smallest of them goes to the content, which on one screen gives it exactly its size.
    const QByteArray screens = qgetenv("QT_SCREEN_SCALE_FACTORS");
    if (!screens.isEmpty()) {
        double smallest = 1.0;
        QList<QByteArray> entries = screens.split(';');
        for (QByteArray& entry : entries) {
            const qsizetype equals = entry.indexOf('=');
            if (isBelowOne(entry.mid(equals + 1), factor)) {
                smallest = std::min(smallest, factor);
                entry = entry.left(equals + 1) + "1";
            }
        }
        if (smallest < 1) {
            taken *= smallest;
            qputenv("QT_SCREEN_SCALE_FACTORS", entries.join(';'));
        }
    }
    return taken;
}

} // namespace kelsing
