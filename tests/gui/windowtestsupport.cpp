// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowtestsupport.h"

#include "about/frmabout.h"
#include "crews/form2.h"
#include "platform/coretext.h"
#include "platform/label.h"
#include "services/versioncheck.h"

#include <QApplication>
#include <QKeySequence>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace kelsing::WindowTests {

namespace {

bool showsTheSame(const DayCell& a, const DayCell& e) {
    return a.dayNumber == e.dayNumber && a.dayNumberColour == e.dayNumberColour &&
           a.caption == e.caption && a.shift == e.shift &&
           (a.shift.empty() || (a.shiftColour == e.shiftColour && a.shiftFont == e.shiftFont)) &&
           a.leftShift == e.leftShift &&
           (a.leftShift.empty() || a.leftShiftColour == e.leftShiftColour) &&
           a.rightShift == e.rightShift &&
           (a.rightShift.empty() || a.rightShiftColour == e.rightShiftColour);
}

} // namespace

Window openWindow(DaySerial today, Form1Services services, const Showing& showing) {
    Window w;
    w.today = std::make_shared<DaySerial>(today);
    services.today = [t = w.today] { return *t; };
    if (!showing.ownSiteHost) {
        // Nothing listens there, so the version check ends quietly without leaving the machine.
        services.siteHost = QUrl(QStringLiteral("http://127.0.0.1:9"));
    }
    if (!services.openUrl) {
        services.openUrl = [opened = w.opened](const QUrl& url) {
            opened->append(url);
            return true;
        };
    }
    w.form = std::make_unique<Form1>(services);
    if (showing.at) {
        w.form->move(*showing.at);
    }
    if (showing.size.isValid()) {
        w.form->resize(showing.size);
    }
    w.form->show();
    switch (showing.wait) {
    case Wait::Active:
        w.form->activateWindow();
        if (!QTest::qWaitForWindowActive(w.form.get())) {
            qFatal("the main window is not active");
        }
        break;
    case Wait::Exposed:
        if (!QTest::qWaitForWindowExposed(w.form.get())) {
            qFatal("the main window is not shown");
        }
        break;
    case Wait::Nothing:
        break;
    }
    return w;
}

Label* label(QWidget& parent, const QString& name) {
    return static_cast<Label*>(control(parent, name));
}

QString textOf(QWidget& parent, const QString& name) {
    QWidget* widget = control(parent, name);
    if (auto* button = qobject_cast<QPushButton*>(widget)) {
        return button->text();
    }
    if (auto* caption = qobject_cast<Label*>(widget)) {
        return caption->text();
    }
    qFatal("control %s shows no text", qPrintable(name));
}

QString boxText(Form1& form, const QString& name) {
    return label(form, name)->text();
}

QString title(Form1& form) {
    return boxText(form, QStringLiteral("Label3"));
}

void click(QWidget& parent, const QString& name) {
    QTest::mouseClick(control(parent, name), Qt::LeftButton);
}

void clickAt(QWidget& window, QPoint position, Qt::MouseButton button) {
    QTest::mouseClick(window.windowHandle(), button, {}, position);
}

void clickControl(QWidget& window, const QString& name, Qt::MouseButton button) {
    const QWidget* target = control(window, name);
    clickAt(window, target->mapTo(&window, target->rect().center()), button);
}

void pressKey(QWidget& window, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(window.windowHandle(), key, modifiers);
}

void pressKeys(QWidget& window, const QString& keys) {
    for (const QString& name : keys.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QKeySequence sequence = QKeySequence::fromString(name, QKeySequence::PortableText);
        if (sequence.isEmpty() || sequence[0].key() == Qt::Key_unknown) {
            qFatal("no key %s", qPrintable(name));
        }
        const QKeyCombination combination = sequence[0];
        // The open popup, if any, takes the keys; its window may have just opened.
        QWidget* target = QApplication::activePopupWidget();
        pressKey(target ? *target : window, combination.key(), combination.keyboardModifiers());
    }
}

QString focusedControl() {
    const QWidget* focused = QApplication::focusWidget();
    return focused ? focused->objectName() : QString();
}

QList<Form2*> openChoosers() {
    QList<Form2*> choosers;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* chooser = qobject_cast<Form2*>(window); chooser && chooser->isVisible()) {
            choosers << chooser;
        }
    }
    return choosers;
}

QList<frmAbout*> openAboutWindows() {
    QList<frmAbout*> windows = aboutWindows();
    windows.removeIf([](const frmAbout* about) { return !about->isVisible(); });
    return windows;
}

QList<frmAbout*> aboutWindows() {
    QList<frmAbout*> windows;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* about = qobject_cast<frmAbout*>(window)) {
            windows << about;
        }
    }
    return windows;
}

void deleteChoosersAndAboutWindows() {
    for (Form2* chooser : openChoosers()) {
        delete chooser;
    }
    for (frmAbout* about : openAboutWindows()) {
        delete about;
    }
}

Label* entryShowing(Form2& chooser, const char* column, const QString& caption) {
    const int count = QLatin1String(column) == QLatin1String("Label1") ? Form2::kEmployerEntries
                                                                       : Form2::kListEntries;
    for (int i = 0; i < count; ++i) {
        Label* entry = label(chooser, QStringLiteral("%1_%2").arg(QLatin1String(column)).arg(i));
        if (!entry->isHidden() && entry->text() == caption) {
            return entry;
        }
    }
    return nullptr;
}

bool walkChooser(Form2& chooser, const QString& path) {
    const char* columns[] = {"Label1", "Label2", "Label4"};
    const QStringList captions = path.split(QLatin1Char('/'));
    for (int i = 0; i < captions.size() && i < 3; ++i) {
        Label* entry = entryShowing(chooser, columns[i], captions[i]);
        if (!entry) {
            qWarning("no entry %s", qPrintable(captions[i]));
            return false;
        }
        clickControl(chooser, entry->objectName());
    }
    return true;
}

QString sheetDifference(const SheetModel& actual, const SheetModel& expected) {
    if (actual.title != expected.title) {
        return QStringLiteral("the title month differs");
    }
    for (std::size_t c = 0; c < actual.cells.size(); ++c) {
        const DayCell& a = actual.cells[c];
        const DayCell& e = expected.cells[c];
        if (!showsTheSame(a, e)) {
            return QStringLiteral("cell %1: day '%2' caption '%3' shifts '%4' '%5' '%6', expected "
                                  "day '%7' caption '%8' shifts '%9' '%10' '%11'")
                .arg(c)
                .arg(fromCore(a.dayNumber), fromCore(a.caption), fromCore(a.shift),
                     fromCore(a.leftShift), fromCore(a.rightShift), fromCore(e.dayNumber),
                     fromCore(e.caption), fromCore(e.shift), fromCore(e.leftShift))
                .arg(fromCore(e.rightShift));
        }
    }
    return {};
}

Label& notice(Form1& form) {
    return *label(form, QStringLiteral("Label2_38"));
}

QTimer& timer1(Form1& form) {
    return *control<QTimer>(form, QStringLiteral("Timer1"));
}

VersionCheck& check(Form1& form) {
    auto* versionCheck = form.findChild<VersionCheck*>();
    if (!versionCheck) {
        qFatal("no version check");
    }
    return *versionCheck;
}

} // namespace kelsing::WindowTests
