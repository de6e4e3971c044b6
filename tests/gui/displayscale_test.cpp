// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/displayscale.h"
#include "windowtestsupport.h"

#include <algorithm>

#include <QApplication>
#include <QRegularExpression>
#include <QTest>

using namespace kelsing;
using namespace kelsing::WindowTests;

namespace {

// The range of factors that the manual page promises the window is laid out at.
constexpr double kSmallestLayout = 0.25;
constexpr double kLargestLayout = 8.0;

// The factors that the run's environment asks of the toolkit, and what the window was given.
double g_asked = 1.0;
double g_taken = 1.0;
bool g_outOfRange = false;
QStringList g_messages;

double factorOf(const char* variable) {
    const double factor = qEnvironmentVariable(variable, QStringLiteral("1")).toDouble();
    g_outOfRange = g_outOfRange || factor < kSmallestLayout || factor > kLargestLayout;
    return factor;
}

// What the program says before the test's own message handler takes over.
void keepMessage(QtMsgType, const QMessageLogContext&, const QString& message) {
    g_messages << message;
}

QRect devicePixels(const QRect& rect, qreal ratio) {
    return {(QPointF(rect.topLeft()) * ratio).toPoint(), (QSizeF(rect.size()) * ratio).toSize()};
}

// Whether the window's picture shows a control, inside its border, as the control paints itself:
// a window painted at another ratio than its geometry shows something else there.
bool showsInPlace(Form1& form, const QString& name) {
    QWidget* widget = control(form, name);
    const QRect inside = QRect(QPoint(0, 0), widget->size()).adjusted(3, 3, -3, -3);
    const qreal ratio = form.devicePixelRatioF();
    const QImage window = form.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage own = widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
    return window.copy(devicePixels(inside.translated(widget->mapTo(&form, QPoint(0, 0))),
                                    ratio)) == own.copy(devicePixels(inside, ratio));
}

} // namespace

class DisplayScaleTest final : public QObject {
    Q_OBJECT

private slots:
    void contentTakesTheFactorBelowOne();
};

void DisplayScaleTest::contentTakesTheFactorBelowOne() {
    // A factor that leaves the window no pixels, or too many, fails its painter.
    QTest::failOnWarning(QRegularExpression(QStringLiteral("QPainter")));
    QCOMPARE(g_taken, g_asked);
    QVERIFY(qApp->devicePixelRatio() >= 1.0);
    QVERIFY(qApp->devicePixelRatio() <= kLargestLayout);
    // A factor out of range is said once, before the window opens.
    QCOMPARE(g_messages.filter(QStringLiteral("held between")).size(), g_outOfRange ? 1 : 0);
    Form1Services services;
    services.smallestScale = g_taken;
    auto w = openWindow(dateOf(2007, 3, 15), services, {.wait = Wait::Exposed});
    Form1& form = *w.form;
    QCOMPARE(form.size(), Twips(g_taken).size(6975, 6000));
    // From a device pixel ratio of 3 the text of a control grabbed alone falls on other subpixels
    // than in the window, so the two pictures are compared up to a ratio of 2.
    const qreal ratio = form.devicePixelRatioF();
    for (const double times : {1.0, 2.0}) {
        form.resize(Twips(g_taken * times).size(6975, 6000));
        QCOMPARE(form.twips().scale(), g_taken * times);
        QCOMPARE(form.grab().size(), (QSizeF(form.size()) * ratio).toSize());
        for (const char* name : {"Command1", "Command4", "Label5"}) {
            QVERIFY2(ratio > 2 || showsInPlace(form, QString::fromLatin1(name)), name);
        }
    }
}

int main(int argc, char* argv[]) {
    // As the program's main does, before the application object reads the factors.
    const double asked = factorOf("QT_SCALE_FACTOR") * factorOf("QT_SCREEN_SCALE_FACTORS");
    g_asked = std::clamp(asked, kSmallestLayout, 1.0);
    qInstallMessageHandler(keepMessage);
    g_taken = DisplayScale::takeFactorBelowOne();
    QApplication app(argc, argv);
    DisplayScaleTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "displayscale_test.moc"
