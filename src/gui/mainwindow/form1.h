// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "crews/chooserhost.h"
#include "crews/crewcode.h"
#include "mainwindow/form1services.h"
#include "mainwindow/owndaysmemory.h"
#include "mainwindow/startmemory.h"
#include "platform/shell.h"
#include "platform/twips.h"
#include "sheet/monthnavigation.h"
#include "sheet/monthsheet.h"
#include "sheet/sheetmodel.h"

#include <memory>

#include <QPixmap>
#include <QPointer>
#include <QUrl>
#include <QWidget>

class QMenu;
class QPainter;

namespace kelsing {

class Form1Ui;
class Form2;
class Label;
class UpdateChecker;
class frmAbout;

/// The main window: the month sheet with its title and step buttons, the crew boxes, the view
/// switch, the update notice and the info and printer images. It owns all lasting state.
class Form1 final : public QWidget, public ChooserHost {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Form1)

public:
    /// Builds the window with its design-time contents and runs Form_Load; the caller shows it.
    explicit Form1(Form1Services services = {}, QWidget* parent = nullptr);
    ~Form1() override;

    /// The start-up routine: lays out the plain calendar of the title's month (today's month
    /// before the first run), every shift line empty.
    void Form_Load();

    /// Step buttons "<<", "<", ">", ">>" and the month title.
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Label3_Click();

    /// Fills of the single view and of the two sides.
    void Label5Update();
    void LeftUpdate();
    void RightUpdate();

    /// The view switch between one crew and two crews side by side.
    void Command5_Click();

    /// A click on an element of the day-number array; element 38 is the update notice.
    void Label2_Click(int index);

    /// Clicks on the single, left and right crew boxes open the chooser for that box.
    void Label5_Click();
    void Label8_Click();
    void Label9_Click();

    /// The context menu of a crew box: "Export shifts to calendar file..." and "Subscribe on
    /// your phone...", enabled while the box shows a chosen crew; "Start with this crew",
    /// checked while the view's crews are the ones the window starts with. The caller owns the
    /// menu.
    QMenu* crewBoxMenu(ChooserTarget target);

    /// Remembers the crews of a crew box's view as the ones the window starts with, or forgets
    /// them; a file that cannot be written is told to the user and nothing changes. Whether it
    /// is done.
    bool rememberStart(ChooserTarget target, bool on);

    /// Asks for a span and a file, then writes the shifts of a crew box's crew there as an
    /// iCalendar file; nothing happens for a box without a crew.
    void exportShifts(ChooserTarget target);

    /// The context menu of day cell `cell` of the single view, which keeps the user's own days:
    /// "Leave", "Sick", "Swap" and "Extra" with the shifts they may name, "Note...", "Clear" and
    /// the month's summary; nullptr where own days do not apply (no day in the cell, the
    /// side-by-side view, no crew of one's own, or a window that keeps none). The caller owns
    /// the menu.
    QMenu* dayMenu(int cell);

    /// The day menu as the keyboard opens it (the context-menu key, Shift+F10): one submenu
    /// for each day of the shown month, named as a screen reader names the day, today's
    /// chosen; nullptr where own days do not apply. The caller owns the menu.
    QMenu* keyboardDayMenu();

    /// Prints the shown year of a crew box's view on one landscape page: the single crew's, or
    /// both side-by-side crews' with their days off together; nothing happens without a crew.
    void printYear(ChooserTarget target);

    /// Marks, or stops marking, the days on which both side-by-side crews are off; unmarked at
    /// start.
    void setMarkDaysOffTogether(bool on);
    bool marksDaysOffTogether() const { return m_markOffTogether; }

    /// Shortens the update notice once, 30 s after a newer version was announced.
    void Timer1_Timer();

    /// The info image opens the about window; the printer image prints the sheet.
    void Image1_Click();
    void Image2_Click();

    const SheetModel& sheet() const { return m_sheet; }
    CrewCode singleCrew() const { return m_singleCrew; }
    CrewCode leftCrew() const { return m_leftCrew; }
    CrewCode rightCrew() const { return m_rightCrew; }
    QString crewBoxText(ChooserTarget target) const;

    // The chooser's view of the window.
    QPoint contentPosition() const override;
    QPoint frameSize() const override;
    int crewBoxTop() const override;
    QWidget* chooserParent() override;
    const Twips& twips() const override { return m_twips; }
    bool sideBySideShowing() const override;
    void setCrew(ChooserTarget target, CrewCode code, const QString& boxText) override;
    void fillFor(ChooserTarget target) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    struct CrewTarget;
    static const CrewTarget& crewTarget(ChooserTarget target);

    void connectControls();
    void buildShortcuts();
    void startLate();
    void layoutControls();
    void applyPictures();
    void step(MonthStep direction);
    void runRepaint(const RepaintPlan& plan);
    void showSheet();
    void Form_Unload();
    void PrintSheet();
    void paintPrintedPage(QPainter& painter, int pageWidth);
    void startVersionCheck();
    void showNewerVersion(const QString& title);
    Label* crewBox(ChooserTarget target) const;
    CrewCode& crewCode(ChooserTarget target);
    CrewCode crewCode(ChooserTarget target) const;
    void openChooser(ChooserTarget target);
    bool hasCrewToExport(ChooserTarget target) const;
    ViewCrews viewCrews(ChooserTarget target) const;
    void addYearEntries(QMenu* menu, ChooserTarget target);
    void showCrewBoxMenu(ChooserTarget target, QPoint position);
    RememberedStart startShown(ChooserTarget target) const;
    void startWithRememberedCrews();
    void showRememberedCrew(ChooserTarget target, CrewCode code);

    // The user's own days (form1owndays.cpp).
    void startOwnDays();
    void openOwnDays();
    bool ownDaysShown() const;
    bool ownDaysApplyToSingle() const;
    void fillOwnDays();
    DaySerial dateOfCell(int cell) const;
    void changeOwnDay(DaySerial date, const OwnDayStore::EntryChange& change);
    void setOwnKind(DaySerial date, OwnDayKind kind, const std::string& shift);
    void askOwnNote(DaySerial date);
    void addShiftMenu(QMenu* menu, DaySerial date, OwnDayKind kind, std::string_view rotation);
    QMenu* dayEntriesMenu(int cell, QWidget* parent);
    bool openKeyboardDayMenu();
    void addOwnDaysSummary(QMenu* menu);
    void showOwnDaysSummary();
    void showDayMenu(int cell, QPoint position);
    const OwnDays* ownDaysToExport(ChooserTarget target);

    Form1Services m_services;
    Twips m_twips;
    SheetModel m_sheet;
    // The crews the window starts with, when the user has asked for that.
    StartMemory m_startMemory;
    // What is remembered as the last read or written, which decides where own days show.
    std::optional<RememberedStart> m_rememberedStart;
    // The user's own days, kept only once the user enters one.
    OwnDaysMemory m_ownDays;
    // Whether own days apply to a single crew under a remembered start, kept for the last pair
    // asked: the catalogue lookup would otherwise be most of the cost they add to a step.
    struct OwnDaysScope {
        CrewCode crew;
        std::optional<RememberedStart> remembered;
        bool applies = false;
    };
    mutable std::optional<OwnDaysScope> m_ownDaysScope;
    // The crew codes of the single view and of the two sides; 0 while none is chosen.
    CrewCode m_singleCrew;
    CrewCode m_leftCrew;
    CrewCode m_rightCrew;
    // Whether the side-by-side view marks the days both crews are off; the user turns it on.
    bool m_markOffTogether = false;

    // The controls, built and laid out with their design-time contents.
    const std::unique_ptr<Form1Ui> m_ui;
    // The open crew chooser, if any; it deletes itself when it closes.
    QPointer<Form2> m_chooser;
    // The open about window, if any; it deletes itself when it closes.
    QPointer<frmAbout> m_about;
    // The open crew box menu, if any; it deletes itself when it closes.
    QPointer<QMenu> m_crewBoxMenu;
    Shell m_shell;
    // The author's web site and the version page on the same host.
    QUrl m_site;
    QUrl m_versionPage;
    UpdateChecker* m_versionCheck = nullptr; // made at the first check
    bool m_looksWaiting = false;             // fonts and pictures wait for the first exposure
    bool m_beforeFirstFrame = false; // checks and the theme's symbols wait for the first frame
    bool m_checkWaiting = false;     // a check was asked for before the first frame
    // The background picture, drawn once for the window's size.
    QPixmap m_background;
};

} // namespace kelsing
