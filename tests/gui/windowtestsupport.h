// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calendar/dayserial.h"
#include "mainwindow/form1.h"
#include "sheet/sheetmodel.h"
#include "testsupport.h"

#include <memory>
#include <optional>

#include <QList>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QUrl>
#include <QWidget>

class QTimer;

namespace kelsing {

class Form2;
class Label;
class VersionCheck;
class frmAbout;

namespace WindowTests {

using test::dateOf;

/// A main window under test, with the date that its today service answers and the addresses it
/// was asked to open (when the test gave no openUrl service of its own).
struct Window {
    std::shared_ptr<DaySerial> today;
    std::shared_ptr<QList<QUrl>> opened = std::make_shared<QList<QUrl>>();
    std::unique_ptr<Form1> form;
};

/// What openWindow waits for once it has shown a window.
enum class Wait { Active, Exposed, Nothing };

/// How openWindow shows a window: the defaults suit most tests.
struct Showing {
    /// The window's size; an invalid one leaves the designed size.
    QSize size{};
    /// Where the window stands; none leaves it where the platform first puts it.
    std::optional<QPoint> at = QPoint(40, 30);
    Wait wait = Wait::Active;
    /// Whether the version check asks the services' own site host (a test's loopback server, or
    /// the built-in host) rather than a closed port.
    bool ownSiteHost = false;
};

/// Opens a main window on `today` with `services` (today replaced, openUrl recording into
/// `opened` when none is given, the site host a closed port unless kept) as `showing` says.
Window openWindow(DaySerial today, Form1Services services = {}, const Showing& showing = {});

/// The child control of `parent` of a kind with an object name; a failed test when there is none.
template <typename T = QWidget>
T* control(QWidget& parent, const QString& name) {
    auto* widget = parent.findChild<T*>(name);
    if (!widget) {
        qFatal("no control %s", qPrintable(name));
    }
    return widget;
}

/// The label of `parent` with an object name; a failed test when there is none.
Label* label(QWidget& parent, const QString& name);

/// The caption of a named button or label of `parent`.
QString textOf(QWidget& parent, const QString& name);

/// The text of a named label of a main window, such as a crew box.
QString boxText(Form1& form, const QString& name);

/// The month title that a main window shows.
QString title(Form1& form);

/// A click sent to a named control itself, whatever stands over it in the window.
void click(QWidget& parent, const QString& name);

/// A real click at a position of a window: the stacking order decides which control it hits.
void clickAt(QWidget& window, QPoint position, Qt::MouseButton button = Qt::LeftButton);

/// A real click at the centre of a named control of a window.
void clickControl(QWidget& window, const QString& name, Qt::MouseButton button = Qt::LeftButton);

/// A key pressed and released as the keyboard sends it to `window`: shortcuts first, then the
/// control with the focus, or the open popup's.
void pressKey(QWidget& window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

/// The keys named in `keys` ("Down Down Return", "Shift+Tab"), pressed in turn.
void pressKeys(QWidget& window, const QString& keys);

/// The object name of the control with the keyboard focus; empty when none has it.
QString focusedControl();

/// The windows of a kind that are showing.
QList<Form2*> openChoosers();
QList<frmAbout*> openAboutWindows();

/// The about windows that exist, shown or hidden.
QList<frmAbout*> aboutWindows();

/// Deletes the choosers and about windows that are showing, so that none outlives its test.
void deleteChoosersAndAboutWindows();

/// The entry of a chooser column ("Label1", "Label2" or "Label4") that shows a caption, if any.
Label* entryShowing(Form2& chooser, const char* column, const QString& caption);

/// Clicks the chooser's entries named by "Employer/Crew" or "Employer/Group/Member".
bool walkChooser(Form2& chooser, const QString& path);

/// Where a sheet shows a user something else than the expected one, in words; empty when both
/// show the same (the colour of an empty line is not seen).
QString sheetDifference(const SheetModel& actual, const SheetModel& expected);

/// The update notice of a main window.
Label& notice(Form1& form);

/// The timer that shortens the update notice of a main window.
QTimer& timer1(Form1& form);

/// The version check of a main window.
VersionCheck& check(Form1& form);

} // namespace WindowTests

} // namespace kelsing
