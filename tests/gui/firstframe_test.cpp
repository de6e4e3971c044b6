// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/firstframe.h"

#include <QStringList>
#include <QTest>
#include <QWidget>

using namespace kelsing;

namespace {

// A window that writes its paints into the same log as the tasks.
class LoggingWindow final : public QWidget {
public:
    explicit LoggingWindow(QStringList& log)
        : m_log(log) {
        resize(120, 80);
    }

protected:
    void paintEvent(QPaintEvent*) override { m_log << QStringLiteral("paint"); }

private:
    QStringList& m_log;
};

} // namespace

class FirstFrameTest final : public QObject {
    Q_OBJECT

private slots:
    void tasksRunOnceAroundTheFirstPaint();
    void nothingRunsForAWindowGoneBeforeItShows();
};

void FirstFrameTest::tasksRunOnceAroundTheFirstPaint() {
    QStringList log;
    LoggingWindow window(log);
    afterFirstFrame(&window, [&log] { log << QStringLiteral("after frame"); });
    atFirstExposure(&window, [&log] { log << QStringLiteral("exposed"); });
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTRY_VERIFY(log.contains(QStringLiteral("after frame")));
    QCOMPARE(log.mid(0, 3), QStringList({"exposed", "paint", "after frame"}));

    // Later paints and showings run neither again.
    window.hide();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.repaint();
    QTest::qWait(50);
    QCOMPARE(log.count(QStringLiteral("exposed")), 1);
    QCOMPARE(log.count(QStringLiteral("after frame")), 1);
}

void FirstFrameTest::nothingRunsForAWindowGoneBeforeItShows() {
    QStringList log;
    {
        LoggingWindow window(log);
        afterFirstFrame(&window, [&log] { log << QStringLiteral("after frame"); });
        atFirstExposure(&window, [&log] { log << QStringLiteral("exposed"); });
    }
    QTest::qWait(50);
    QVERIFY(log.isEmpty());
}

QTEST_MAIN(FirstFrameTest)
#include "firstframe_test.moc"
