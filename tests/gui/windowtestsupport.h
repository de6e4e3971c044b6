#pragma once

#include "calendar/dayserial.h"
#include "mainwindow/form1.h"

#include <memory>

#include <QList>
#include <QPoint>
#include <QString>

namespace kelsing {

class Form2;
class frmAbout;

namespace WindowTests {

/// A day of the calendar.
DaySerial dayOf(int year, unsigned month, unsigned day);

/// A main window under test, with the date that its today service answers.
struct Window {
    std::shared_ptr<DaySerial> today;
    std::unique_ptr<Form1> form;
};

/// Opens a main window on `today` with `services` (today, site and shell replaced), shown,
/// exposed and active, at `size` when one is given.
Window openWindow(DaySerial today, Form1Services services = {}, QSize size = {});

/// The child control of `parent` with an object name; a failed test when there is none.
QWidget* control(QWidget& parent, const QString& name);

/// A real click at a position of a window: the stacking order decides which control it hits.
void clickAt(QWidget& window, QPoint position, Qt::MouseButton button = Qt::LeftButton);

/// A real click at the centre of a named control of a window.
void clickControl(QWidget& window, const QString& name, Qt::MouseButton button = Qt::LeftButton);

/// The windows of a kind that are showing.
QList<Form2*> openChoosers();
QList<frmAbout*> openAboutWindows();

/// Clicks the chooser's entries named by "Employer/Crew" or "Employer/Group/Member".
bool walkChooser(Form2& chooser, const QString& path);

} // namespace WindowTests

} // namespace kelsing
