// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/version.h"
#include "calendar/dayserial.h"
#include "crews/chooserhost.h"
#include "crews/crewcode.h"
#include "mainwindow/calendarexport.h"
#include "platform/shell.h"
#include "platform/twips.h"
#include "sheet/monthnavigation.h"
#include "sheet/sheetmodel.h"

#include <functional>
#include <optional>

#include <QDateTime>
#include <QPixmap>
#include <QPointer>
#include <QUrl>
#include <QWidget>

class QMenu;
class QPainter;
class QPushButton;
class QTimer;

namespace kelsing {

class Form2;
class Label;
class SheetView;
class UpdateChecker;
class frmAbout;

/// What the main window takes from its surroundings; tests replace them.
struct Form1Services {
    /// Today's local date.
    std::function<DaySerial()> today;
    /// Scheme, host and port of the author's web site, which serves the version page and the
    /// site; empty for the built-in host.
    QUrl siteHost;
    /// Opens an address with the system shell (the user's browser for a web address).
    std::function<void(const QUrl&)> openUrl;
    /// The name of the default printer; empty when the system has none.
    std::function<QString()> defaultPrinter;
    /// Asks the user where to save the sheet as a PDF file, offering `suggestedName`; an empty
    /// name when the user declines.
    std::function<QString(QWidget* parent, const QString& suggestedName)> pdfFileName;
    /// Asks the user for the span and the file of a calendar export, starting from `proposal`,
    /// in a dialog at the window's scale, and hands each export the user settles on to `write`
    /// until one is written; the export written, or nothing when the user gives up.
    std::function<std::optional<CalendarExport>(QWidget* parent, const CalendarExport& proposal,
                                                const Twips& twips,
                                                const CalendarExportWriter& write)>
        calendarExport;
    /// The current time, which stamps the events of an exported calendar.
    std::function<QDateTime()> now;
    /// Tells the user that something they asked for failed, such as a file not written.
    std::function<void(QWidget* parent, const QString& message)> warn;
    /// The scale of the designed size, which is the window's smallest: below 1 when the user
    /// asks for a smaller display than the toolkit can paint (DisplayScale).
    double smallestScale = 1.0;
    /// Whether the window asks the site for a newer version; without it nothing is fetched and
    /// no notice shows.
    bool updateCheck = kUpdateCheck;
    /// Whether the window puts off what its first frame does not need, so that it is on the
    /// screen sooner: its fonts and pictures until it is first exposed, the version check of the
    /// start and the desktop theme's symbols until its first frame is shown. The program sets it.
    bool lateStart = false;
    /// Tells the user that something they asked for is done, such as where a file went.
    std::function<void(QWidget* parent, const QString& message)> inform;
};

/// The main window: the month sheet with its title and step buttons, the crew boxes, the view
/// switch, the update notice and the info and printer images. It owns all lasting state.
class Form1 final : public QWidget, public ChooserHost {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Form1)

public:
    /// Builds the window with its design-time contents and runs Form_Load; the caller shows it.
    explicit Form1(Form1Services services = {}, QWidget* parent = nullptr);
    ~Form1() override;

    static constexpr TwipsRect kClientArea{0, 0, 6975, 6000};
    static constexpr const char* kSingleViewCaption = "X | X"; // on the switch while single
    static constexpr const char* kSideBySideCaption = "X";     // on the switch while side by side

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

    /// The context menu of a crew box: "Export shifts to calendar file...", enabled while the box
    /// shows a chosen crew. The caller owns the menu.
    QMenu* crewBoxMenu(ChooserTarget target);

    /// Asks for a span and a file, then writes the shifts of a crew box's crew there as an
    /// iCalendar file; nothing happens for a box without a crew.
    void exportShifts(ChooserTarget target);

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

    // The chooser's view of the window. Its position is the outer corner, moved by the margin
    // that a window resized out of proportion keeps around its content.
    QPoint windowPosition() const override;
    QWidget* chooserParent() override;
    const Twips& twips() const override { return m_twips; }
    bool sideBySideShowing() const override;
    void setCrew(ChooserTarget target, CrewCode code, const QString& boxText) override;
    void fillFor(ChooserTarget target) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void describeControls();
    void buildShortcuts();
    void layoutControls();
    void applyFonts();
    void applyPictures();
    void placeContent();
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
    void openChooser(ChooserTarget target);
    bool hasCrewToExport(ChooserTarget target) const;
    void showCrewBoxMenu(ChooserTarget target, QPoint position);

    Form1Services m_services;
    Twips m_twips;
    SheetModel m_sheet;
    // The crew codes of the single view and of the two sides; 0 while none is chosen.
    CrewCode m_singleCrew;
    CrewCode m_leftCrew;
    CrewCode m_rightCrew;

    // The area that holds every control, laid out at the window's scale.
    QWidget* m_content = nullptr;
    SheetView* m_sheetView = nullptr;
    // The open crew chooser, if any; it deletes itself when it closes.
    QPointer<Form2> m_chooser;
    // The open about window, if any; it deletes itself when it closes.
    QPointer<frmAbout> m_about;
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
    // The controls, by the names the handlers use.
    struct Controls {
        Label* Label3 = nullptr; // month title
        QPushButton* Command1 = nullptr;
        QPushButton* Command2 = nullptr;
        QPushButton* Command3 = nullptr;
        QPushButton* Command4 = nullptr;
        QPushButton* Command5 = nullptr; // view switch
        Label* Label5 = nullptr;         // single crew box
        Label* Label8 = nullptr;         // left crew box
        Label* Label9 = nullptr;         // right crew box
        Label* Label2_38 = nullptr;      // update notice, element 38 of the day-number array
        Label* Image1 = nullptr;         // opens the about window
        Label* Image2 = nullptr;         // prints the sheet
        QTimer* Timer1 = nullptr;        // shortens the update notice
    } m_ui;
};

} // namespace kelsing
