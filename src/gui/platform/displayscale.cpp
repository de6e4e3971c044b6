// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/displayscale.h"

#include <algorithm>

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <QtGlobal>

namespace kelsing {

namespace {

// A factor as the toolkit reads it; 0 for one it would ignore.
double factorOf(const QByteArray& text) {
    bool ok = false;
    const double factor = text.trimmed().toDouble(&ok);
    return ok && factor > 0 ? factor : 0;
}

QByteArray written(double factor) {
    return QByteArray::number(factor, 'g', 6);
}

// Holds a factor within the range and notes the variable when it was outside.
double held(double factor, double highest, const char* variable, QStringList& outside) {
    const double kept = std::clamp(factor, DisplayScale::kSmallest, highest);
    if (kept != factor && !outside.contains(QLatin1String(variable))) {
        outside << QLatin1String(variable);
    }
    return kept;
}

} // namespace

double DisplayScale::takeFactorBelowOne() {
    QStringList outside;
    double taken = 1.0;
    // The toolkit multiplies the two factors: its own part of the whole (at least 1) bounds
    // each screen's.
    double toolkit = 1.0;
    if (const double asked = factorOf(qgetenv("QT_SCALE_FACTOR")); asked > 0) {
        const double factor = held(asked, kLargest, "QT_SCALE_FACTOR", outside);
        if (factor < 1) {
            taken = factor;
            qunsetenv("QT_SCALE_FACTOR");
        } else {
            toolkit = factor;
            if (factor != asked) {
                qputenv("QT_SCALE_FACTOR", written(factor));
            }
        }
    }
    // Each screen's factor ("1.5;0.8" or "HDMI-1=0.8;..."): those below 1 become 1, and the
    // smallest of them goes to the content, which on one screen gives it exactly its size.
    const QByteArray screens = qgetenv("QT_SCREEN_SCALE_FACTORS");
    if (!screens.isEmpty()) {
        double smallest = 1.0;
        bool changed = false;
        QList<QByteArray> entries = screens.split(';');
        for (QByteArray& entry : entries) {
            const qsizetype equals = entry.indexOf('=');
            const double asked = factorOf(entry.mid(equals + 1));
            if (asked <= 0) {
                continue;
            }
            const double factor =
                held(asked, kLargest / toolkit, "QT_SCREEN_SCALE_FACTORS", outside);
            smallest = std::min(smallest, factor);
            if (factor < 1 || factor != asked) {
                entry = entry.left(equals + 1) + written(std::max(factor, 1.0));
                changed = true;
            }
        }
        if (changed) {
            qputenv("QT_SCREEN_SCALE_FACTORS", entries.join(';'));
        }
        taken *= smallest;
    }
    taken = held(taken, 1.0, "QT_SCALE_FACTOR and QT_SCREEN_SCALE_FACTORS together", outside);
    if (!outside.isEmpty()) {
        qWarning("The scale factor of %s is held between %g and %g.",
                 qPrintable(outside.join(QLatin1String(", "))), kSmallest, kLargest);
    }
    return taken;
}

} // namespace kelsing
