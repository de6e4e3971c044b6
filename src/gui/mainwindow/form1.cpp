// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/form1.h"

#include "about/frmabout.h"
#include "base/version.h"
#include "crews/crewcaptiontable.h"
#include "crews/form2.h"
#include "export/calendarname.h"
#include "export/icalendar.h"
#include "mainwindow/calendarexportdialog.h"
#include "mainwindow/calendarfile.h"
#include "mainwindow/datefield.h"
#include "mainwindow/lateservices.h"
#include "mainwindow/pdffile.h"
#include "mainwindow/startfolder.h"
#include "platform/firstframe.h"
#include "platform/fonts.h"
#include "platform/label.h"
#include "platform/localeservices.h"
#include "platform/pictures.h"
#include "printing/printedpicturesize.h"
#include "sheet/sheetfills.h"
#include "sheet/sheetlayout.h"
#include "sheet/sheetview.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QResizeEvent>
#include <QScopeGuard>
#include <QShortcut>
#include <QTimer>
#include <QUtf8StringView>
#include <QWindow>

namespace kelsing {

namespace {

// Positions of the controls in twips of the client area.
constexpr TwipsRect kCommand1{120, 240, 735, 375};
constexpr TwipsRect kCommand2{840, 240, 735, 375};
constexpr TwipsRect kCommand3{5400, 240, 735, 375};
constexpr TwipsRect kCommand4{6120, 240, 735, 375};
constexpr TwipsRect kCommand5{4800, 5640, 495, 255};
constexpr TwipsRect kLabel5{2520, 5400, 2175, 510};
constexpr TwipsRect kLabel8{2520, 5400, 1095, 495};
constexpr TwipsRect kLabel9{3600, 5400, 1095, 495};
constexpr TwipsRect kNotice{3000, 4560, 3855, 735};
constexpr TwipsRect kImage1{6600, 5640, 240, 240};
constexpr TwipsRect kImage2{360, 5520, 240, 225};

const QColor kCrewBoxText(64, 0, 0);
const QColor kNoticeShort(0, 0, 255);
constexpr int kTimer1Interval = 30000;
constexpr int kNoticeIndex = 38;
const QString kSitePath = QStringLiteral("/kelsing_schedule/");
const QString kVersionPagePath = QStringLiteral("/kelsing_schedule/ver.htm");
const QString kChooseCrewAtStart = QStringLiteral("Click here to Choose Crew");
const QString kChooseCrewAfterSwitch = QStringLiteral("Click Here to Select Crew");

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption,
                        const QString& toolTip) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setToolTip(toolTip);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

// Where the user saves the sheet when there is no printer: a file dialog in the start folder.
QString askPdfFileName(QWidget* parent, const QString& suggestedName) {
    QString file = QFileDialog::getSaveFileName(
        parent, QStringLiteral("No printer: save the sheet as PDF"),
        QDir(startFolder()).filePath(suggestedName), QStringLiteral("PDF files (*.pdf)"));
    if (!file.isEmpty() && QFileInfo(file).suffix().isEmpty()) {
        file += QStringLiteral(".pdf");
    }
    return file;
}

// A crew's name on one line ("Corvath 403"), or `fallback` while the side has none.
QString sideName(CrewCode code, const QString& fallback) {
    if (code.value() > 0) {
        if (const auto text = CrewCaptionText(code)) {
            return QString::fromStdString(*text).replace(QLatin1Char('\n'), QLatin1Char(' '));
        }
    }
    return fallback;
}

void showWarning(QWidget* parent, const QString& message) {
    QMessageBox::warning(parent, parent->windowTitle(), message);
}

void showInformation(QWidget* parent, const QString& message) {
    QMessageBox::information(parent, parent->windowTitle(), message);
}

// The last day that the calendar rules cover; an export never runs past it.
const QDate kLastDay(9999, 12, 31);
const QString kExportEntry = QStringLiteral("Export shifts to calendar file...");

} // namespace

Form1::Form1(Form1Services services, QWidget* parent)
    : QWidget(parent)
    , m_services(std::move(services)) {
    if (!m_services.today) {
        m_services.today = &LocaleServices::today;
    }
    if (!m_services.defaultPrinter) {
        m_services.defaultPrinter = [] {
            LateServices* services = lateServices();
            return services ? services->defaultPrinterName() : QString();
        };
    }
    if (!m_services.pdfFileName) {
        m_services.pdfFileName = &askPdfFileName;
    }
    if (!m_services.calendarExport) {
        m_services.calendarExport = &CalendarExportDialog::ask;
    }
    if (!m_services.now) {
        m_services.now = &QDateTime::currentDateTimeUtc;
    }
    if (!m_services.warn) {
        m_services.warn = &showWarning;
    }
    if (!m_services.inform) {
        m_services.inform = &showInformation;
    }
    m_shell = Shell(m_services.openUrl);
    const QUrl host = m_services.siteHost.isEmpty() ? QUrl(QUtf8StringView(kSiteHost).toString())
                                                    : m_services.siteHost;
    m_site = host.resolved(QUrl(kSitePath));
    m_versionPage = host.resolved(QUrl(kVersionPagePath));
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QUtf8StringView(kApplicationTitle).toString());
    setAttribute(Qt::WA_DeleteOnClose, false);
    buildControls();
    describeControls();
    buildShortcuts();
    // The designed size is the smallest and the first; a larger window scales its content.
    m_twips = Twips(m_services.smallestScale);
    const QSize designed = m_twips.size(kClientArea.width, kClientArea.height);
    setMinimumSize(designed);
    resize(designed);
    m_looksWaiting = m_services.lateStart;
    m_beforeFirstFrame = m_services.lateStart;
    layoutControls();
    if (m_services.lateStart) {
        // Both read the font database, the pictures through the SVG reader.
        atFirstExposure(this, [this] {
            m_looksWaiting = false;
            applyFonts();
            applyPictures();
        });
        afterFirstFrame(this, [this] {
            m_beforeFirstFrame = false;
            // The desktop theme's symbols replace the program's own, if it has them.
            applyPictures();
            if (m_checkWaiting) {
                startVersionCheck();
            }
        });
    }
    Form_Load();
}

Form1::~Form1() {
    // The chooser writes into this window, so it must not outlive it.
    delete m_chooser;
    delete m_about;
}

void Form1::buildControls() {
    // Every control stands on one content area, which a resized window scales and centres.
    m_content = new QWidget(this);
    m_content->setObjectName(QStringLiteral("Content"));
    QWidget* const content = m_content;

    m_sheetView = new SheetView(m_sheet, content);
    connect(m_sheetView, &SheetView::cellClicked, this, &Form1::Label2_Click);

    m_ui.Label3 = new Label(QStringLiteral("Label3"), content);
    m_ui.Label3->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_ui.Label3->setToolTip(QStringLiteral("Click Here to Select Current Month"));
    connect(m_ui.Label3, &Label::clicked, this, &Form1::Label3_Click);

    m_ui.Command1 = makeButton(content, QStringLiteral("Command1"), QStringLiteral("<<"),
                               QStringLiteral("Click on this Button to Choose Previous Year"));
    m_ui.Command2 = makeButton(content, QStringLiteral("Command2"), QStringLiteral("<"),
                               QStringLiteral("Click on this Button to Choose Previous Month"));
    m_ui.Command3 = makeButton(content, QStringLiteral("Command3"), QStringLiteral(">"),
                               QStringLiteral("Click on this Button to Choose Next Month"));
    m_ui.Command4 = makeButton(content, QStringLiteral("Command4"), QStringLiteral(">>"),
                               QStringLiteral("Click on this Button to Choose Next Year"));
    connect(m_ui.Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(m_ui.Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(m_ui.Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
    connect(m_ui.Command4, &QPushButton::clicked, this, &Form1::Command4_Click);

    // The side-by-side crew boxes start behind the single one, which covers them.
    m_ui.Label8 = new Label(QStringLiteral("Label8"), content);
    m_ui.Label9 = new Label(QStringLiteral("Label9"), content);
    for (Label* box : {m_ui.Label8, m_ui.Label9}) {
        box->setAlignment(Qt::AlignCenter);
        box->setWordWrap(true);
        box->setTextColor(kCrewBoxText);
    }
    m_ui.Label5 = new Label(QStringLiteral("Label5"), content);
    m_ui.Label5->setBackground(Qt::white);
    m_ui.Label5->setTextColor(kCrewBoxText);
    m_ui.Label5->setBorder(true);
    m_ui.Label5->setAlignment(Qt::AlignCenter);
    m_ui.Label5->setWordWrap(true);
    m_ui.Label5->setText(kChooseCrewAtStart);
    m_ui.Label5->setToolTip(QStringLiteral("Click Here to Select Crew"));
    connect(m_ui.Label5, &Label::clicked, this, &Form1::Label5_Click);
    connect(m_ui.Label8, &Label::clicked, this, &Form1::Label8_Click);
    connect(m_ui.Label9, &Label::clicked, this, &Form1::Label9_Click);
    // A right click reaches whichever box is in front where it lands, as a left click does.
    for (const ChooserTarget target :
         {ChooserTarget::Single, ChooserTarget::Left, ChooserTarget::Right}) {
        Label* box = crewBox(target);
        box->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(box, &QWidget::customContextMenuRequested, this,
                [this, target](QPoint position) { showCrewBoxMenu(target, position); });
    }

    m_ui.Command5 =
        makeButton(content, QStringLiteral("Command5"), QString::fromLatin1(kSingleViewCaption),
                   QStringLiteral("Click this Button to Switch Between Single and Dual Schedules"));
    connect(m_ui.Command5, &QPushButton::clicked, this, &Form1::Command5_Click);

    m_ui.Label2_38 = new Label(QStringLiteral("Label2_38"), content);
    m_ui.Label2_38->setTextColor(Qt::red);
    m_ui.Label2_38->setBorder(true);
    m_ui.Label2_38->setAlignment(Qt::AlignCenter);
    m_ui.Label2_38->setWordWrap(true);
    connect(m_ui.Label2_38, &Label::clicked, this, [this] { Label2_Click(38); });

    m_ui.Image1 = new Label(QStringLiteral("Image1"), content);
    m_ui.Image1->setToolTip(
        QStringLiteral("Click here for Info on changes or having your schedule added"));
    m_ui.Image2 = new Label(QStringLiteral("Image2"), content);
    m_ui.Image2->setToolTip(QStringLiteral("Click here to print this sheet to default printer"));
    connect(m_ui.Image1, &Label::clicked, this, &Form1::Image1_Click);
    connect(m_ui.Image2, &Label::clicked, this, &Form1::Image2_Click);

    m_ui.Timer1 = new QTimer(this);
    m_ui.Timer1->setObjectName(QStringLiteral("Timer1"));
    m_ui.Timer1->setInterval(kTimer1Interval);
    connect(m_ui.Timer1, &QTimer::timeout, this, &Form1::Timer1_Timer);
}

void Form1::describeControls() {
    // The buttons' captions are symbols, and the labels' looks say what they do: a screen
    // reader gets words, with the key of each action.
    const auto describe = [](QWidget* control, const QString& name, const QString& description) {
        if (!name.isEmpty()) {
            control->setAccessibleName(name);
        }
        control->setAccessibleDescription(description);
    };
    describe(m_ui.Command1, QStringLiteral("Previous year"),
             QStringLiteral("Shows the same month a year earlier (Ctrl+Page Up)"));
    describe(m_ui.Command2, QStringLiteral("Previous month"),
             QStringLiteral("Shows the month before (Page Up)"));
    describe(m_ui.Command3, QStringLiteral("Next month"),
             QStringLiteral("Shows the month after (Page Down)"));
    describe(m_ui.Command4, QStringLiteral("Next year"),
             QStringLiteral("Shows the same month a year later (Ctrl+Page Down)"));
    describe(m_ui.Command5, QString(),
             QStringLiteral("Switches between one crew and two crews side by side"));
    describe(m_ui.Label3, QString(),
             QStringLiteral("The month shown; click to return to the current month (Home)"));
    const QString crewBox = QStringLiteral(
        "%1: click to choose a crew; right click to export its shifts to a calendar file");
    describe(m_ui.Label5, QString(), crewBox.arg(QStringLiteral("Crew of the single view")));
    describe(m_ui.Label8, QString(), crewBox.arg(QStringLiteral("Left crew")));
    describe(m_ui.Label9, QString(), crewBox.arg(QStringLiteral("Right crew")));
    describe(m_ui.Label2_38, QString(),
             QStringLiteral("Update notice; click to open the web site"));
    describe(m_ui.Image1, QStringLiteral("About"),
             QStringLiteral("Opens the about window: version, web site and how to have your "
                            "schedule added (F1)"));
    describe(m_ui.Image2, QStringLiteral("Print"),
             QStringLiteral("Prints this sheet on the default printer (Ctrl+P)"));
    for (Label* label :
         {m_ui.Label3, m_ui.Label5, m_ui.Label8, m_ui.Label9, m_ui.Image1, m_ui.Image2}) {
        label->setAccessibleRole(QAccessible::Button);
    }
    m_ui.Label2_38->setAccessibleRole(QAccessible::Link);
}

void Form1::buildShortcuts() {
    // Each key runs the handler of the click it stands for, so both always do the same.
    const std::pair<QKeySequence, void (Form1::*)()> keys[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_PageUp), &Form1::Command1_Click},
        {QKeySequence(Qt::Key_PageUp), &Form1::Command2_Click},
        {QKeySequence(Qt::Key_PageDown), &Form1::Command3_Click},
        {QKeySequence(Qt::CTRL | Qt::Key_PageDown), &Form1::Command4_Click},
        {QKeySequence(Qt::Key_Home), &Form1::Label3_Click},
        {QKeySequence(Qt::CTRL | Qt::Key_P), &Form1::Image2_Click},
        {QKeySequence(Qt::Key_F1), &Form1::Image1_Click},
    };
    for (const auto& [key, handler] : keys) {
        auto* shortcut = new QShortcut(key, this);
        connect(shortcut, &QShortcut::activated, this, handler);
    }
}

void Form1::placeContent() {
    // The leftover of a window whose shape differs from the design is split evenly around the
    // content, where the background picture goes on.
    const QSize content = m_twips.size(kClientArea.width, kClientArea.height);
    m_content->setGeometry(
        QRect(QPoint((width() - content.width()) / 2, (height() - content.height()) / 2), content));
}

void Form1::layoutControls() {
    placeContent();
    m_sheetView->setTwips(m_twips);
    m_ui.Label3->setGeometry(m_twips.rect(SheetLayout::kMonthTitle));
    const std::pair<QPushButton*, TwipsRect> steps[] = {{m_ui.Command1, kCommand1},
                                                        {m_ui.Command2, kCommand2},
                                                        {m_ui.Command3, kCommand3},
                                                        {m_ui.Command4, kCommand4}};
    for (const auto& [button, place] : steps) {
        button->setGeometry(m_twips.rect(place));
    }
    m_ui.Command5->setGeometry(m_twips.rect(kCommand5));
    m_ui.Label5->setGeometry(m_twips.rect(kLabel5));
    m_ui.Label8->setGeometry(m_twips.rect(kLabel8));
    m_ui.Label9->setGeometry(m_twips.rect(kLabel9));
    m_ui.Label2_38->setGeometry(m_twips.rect(kNotice));
    m_ui.Image1->setGeometry(m_twips.rect(kImage1));
    m_ui.Image2->setGeometry(m_twips.rect(kImage2));
    if (!m_looksWaiting) {
        applyFonts();
        applyPictures();
    }
}

void Form1::applyPictures() {
    // The theme's index is read only once the window is on the screen.
    const bool fromTheme = !m_beforeFirstFrame;
    m_ui.Image1->setPixmap(
        Pictures::infoPicture(m_ui.Image1->size(), devicePixelRatioF(), fromTheme));
    m_ui.Image2->setPixmap(
        Pictures::printerPicture(m_ui.Image2->size(), devicePixelRatioF(), fromTheme));
}

void Form1::applyFonts() {
    m_ui.Label3->setFont(Fonts::platformFont(Fonts::kDayNumber, m_twips, true));
    const QFont buttonFont = Fonts::platformFont(Fonts::kButton, m_twips, true);
    for (QPushButton* button : {m_ui.Command1, m_ui.Command2, m_ui.Command3, m_ui.Command4}) {
        button->setFont(buttonFont);
    }
    const QFont defaultFont = Fonts::platformFont(Fonts::kDefault, m_twips);
    m_ui.Command5->setFont(defaultFont);
    m_ui.Label5->setFont(Fonts::platformFont(Fonts::kButton, m_twips));
    for (Label* label : {m_ui.Label8, m_ui.Label9, m_ui.Label2_38}) {
        label->setFont(defaultFont);
    }
}

bool Form1::sideBySideShowing() const {
    return m_ui.Command5->text() == QLatin1String(kSideBySideCaption);
}

QPoint Form1::windowPosition() const {
    // The platform window's frame is current; the widget's copy of it can lag behind a change
    // of decoration, such as a Wayland window's when it is made full screen.
    const QWindow* window = windowHandle();
    return (window ? window->framePosition() : frameGeometry().topLeft()) + m_content->pos();
}

QWidget* Form1::chooserParent() {
    return this;
}

Label* Form1::crewBox(ChooserTarget target) const {
    switch (target) {
    case ChooserTarget::Single:
        return m_ui.Label5;
    case ChooserTarget::Left:
        return m_ui.Label8;
    case ChooserTarget::Right:
        break;
    }
    return m_ui.Label9;
}

CrewCode& Form1::crewCode(ChooserTarget target) {
    switch (target) {
    case ChooserTarget::Single:
        return m_singleCrew;
    case ChooserTarget::Left:
        return m_leftCrew;
    case ChooserTarget::Right:
        break;
    }
    return m_rightCrew;
}

QString Form1::crewBoxText(ChooserTarget target) const {
    return crewBox(target)->text();
}

void Form1::setCrew(ChooserTarget target, CrewCode code, const QString& boxText) {
    crewCode(target) = code;
    crewBox(target)->setText(boxText);
}

void Form1::fillFor(ChooserTarget target) {
    switch (target) {
    case ChooserTarget::Single:
        Label5Update();
        break;
    case ChooserTarget::Left:
        LeftUpdate();
        break;
    case ChooserTarget::Right:
        RightUpdate();
        break;
    }
}

void Form1::showSheet() {
    if (m_sheet.title) {
        m_ui.Label3->setText(LocaleServices::formatMonthTitle(*m_sheet.title));
    }
    m_sheetView->setSideNames(sideName(m_leftCrew, QStringLiteral("Left crew")),
                              sideName(m_rightCrew, QStringLiteral("Right crew")));
    // The switch's caption is a symbol; a screen reader says what it does next.
    m_ui.Command5->setAccessibleName(sideBySideShowing()
                                         ? QStringLiteral("Show one crew")
                                         : QStringLiteral("Show two crews side by side"));
    m_sheetView->sheetChanged();
}

void Form1::Form_Load() {
    startVersionCheck();
    FormLoadCalendar(m_sheet, m_services.today());
    showSheet();
}

void Form1::Label5Update() {
    kelsing::Label5Update(m_sheet, m_singleCrew, m_services.today());
    showSheet();
}

void Form1::LeftUpdate() {
    kelsing::LeftUpdate(m_sheet, m_leftCrew, m_services.today());
    showSheet();
}

void Form1::RightUpdate() {
    kelsing::RightUpdate(m_sheet, m_rightCrew, m_services.today());
    showSheet();
}

void Form1::runRepaint(const RepaintPlan& plan) {
    if (plan.formLoad) {
        Form_Load();
    }
    if (plan.label5Update) {
        Label5Update();
    }
    if (plan.leftUpdate) {
        LeftUpdate();
    }
    if (plan.rightUpdate) {
        RightUpdate();
    }
    showSheet();
}

void Form1::step(MonthStep direction) {
    const auto next =
        steppedMonth(m_sheet.title.value_or(currentMonth(m_services.today())), direction);
    if (!next) {
        return; // January 100 and December 9999 are the ends of the calendar
    }
    m_sheet.title = *next;
    runRepaint(stepRepaint({m_singleCrew, m_leftCrew, m_rightCrew, sideBySideShowing()}));
}

void Form1::Command1_Click() {
    step(MonthStep::PreviousYear);
}

void Form1::Command2_Click() {
    step(MonthStep::PreviousMonth);
}

void Form1::Command3_Click() {
    step(MonthStep::NextMonth);
}

void Form1::Command4_Click() {
    step(MonthStep::NextYear);
}

void Form1::Label3_Click() {
    m_sheet.title = currentMonth(m_services.today());
    runRepaint(titleRepaint({m_singleCrew, m_leftCrew, m_rightCrew, sideBySideShowing()}));
}

void Form1::Command5_Click() {
    // Rebuilds a crew box from its stored code; a code in no row of the table leaves it as is.
    const auto rebuildBox = [](Label* box, CrewCode code) {
        if (code.value() == 0) {
            box->setText(kChooseCrewAfterSwitch);
        } else if (const auto text = CrewCaptionText(code)) {
            box->setText(QString::fromStdString(*text));
        }
    };
    if (m_ui.Command5->text() == QLatin1String(kSingleViewCaption)) {
        m_ui.Command5->setText(QString::fromLatin1(kSideBySideCaption));
        m_ui.Label5->setText(QString());
        m_ui.Label5->lower();
        rebuildBox(m_ui.Label8, m_leftCrew);
        rebuildBox(m_ui.Label9, m_rightCrew);
        LeftUpdate();
        RightUpdate();
    } else {
        m_ui.Label8->setText(QString());
        m_ui.Label9->setText(QString());
        m_ui.Command5->setText(QString::fromLatin1(kSingleViewCaption));
        m_ui.Label5->raise();
        rebuildBox(m_ui.Label5, m_singleCrew);
        Label5Update();
    }
}

void Form1::Label2_Click(int index) {
    // Only the update notice (element 38) reacts, and only while it holds a message.
    if (index == kNoticeIndex && !m_ui.Label2_38->text().isEmpty()) {
        m_shell.ShellOpen(m_site.toString(), QStringLiteral("Open"), QString(), QString(), 0);
    }
}

void Form1::openChooser(ChooserTarget target) {
    // The press on the crew box has normally closed an open chooser already.
    if (m_chooser) {
        m_chooser->close();
    }
    m_chooser = Form2::open(*this, target);
}

void Form1::Label5_Click() {
    openChooser(ChooserTarget::Single);
}

void Form1::Label8_Click() {
    openChooser(ChooserTarget::Left);
}

void Form1::Label9_Click() {
    openChooser(ChooserTarget::Right);
}

bool Form1::hasCrewToExport(ChooserTarget target) const {
    const CrewCode code = target == ChooserTarget::Single ? m_singleCrew
                          : target == ChooserTarget::Left ? m_leftCrew
                                                          : m_rightCrew;
    return code.value() > 0 && !crewBox(target)->text().isEmpty();
}

QMenu* Form1::crewBoxMenu(ChooserTarget target) {
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("CrewBoxMenu"));
    QAction* exportShifts = menu->addAction(kExportEntry);
    exportShifts->setEnabled(hasCrewToExport(target));
    connect(exportShifts, &QAction::triggered, this,
            [this, target] { this->exportShifts(target); });
    return menu;
}

void Form1::showCrewBoxMenu(ChooserTarget target, QPoint position) {
    QMenu* menu = crewBoxMenu(target);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(crewBox(target)->mapToGlobal(position));
}

void Form1::exportShifts(ChooserTarget target) {
    if (!hasCrewToExport(target)) {
        return;
    }
    const CrewCode code = crewCode(target);
    // The shown month and the eleven after it: a year of shifts from what the user looks at.
    const MonthYear shown = m_sheet.title.value_or(currentMonth(m_services.today()));
    const QDate from(shown.year, shown.month, 1);
    const QDate to = std::min(from.addMonths(12).addDays(-1), kLastDay);
    // Named as the command-line tool names the same crew's calendar.
    const CalendarExport proposal{
        QUtf8StringView(crewCalendarName(code)).toString(), from, to, false,
        QDir(startFolder()).filePath(QUtf8StringView(crewCalendarFileName(code)).toString())};
    const auto write = [this, code](QWidget* parent, const CalendarExport& settled) {
        return writeCalendarFile(parent, code, settled,
                                 calendarStamp(m_services.now().toSecsSinceEpoch()));
    };
    if (const auto written = m_services.calendarExport(this, proposal, m_twips, write)) {
        m_services.inform(this, QStringLiteral("%1 from %2 to %3 are written to %4.")
                                    .arg(written->calendarName, DateField::textOf(written->from),
                                         DateField::textOf(written->to),
                                         QDir::toNativeSeparators(written->fileName)));
    }
}

void Form1::startVersionCheck() {
    m_checkWaiting = m_beforeFirstFrame;
    if (!m_services.updateCheck || m_checkWaiting) {
        return;
    }
    if (!m_versionCheck) {
        LateServices* services = lateServices();
        if (!services) {
            m_services.updateCheck = false;
            return;
        }
        m_versionCheck = services->versionCheck(
            m_versionPage, this, [this](const QString& title) { showNewerVersion(title); });
    }
    // The check only starts the fetch; a newer version is announced when the answer arrives.
    m_versionCheck->start();
}

void Form1::showNewerVersion(const QString& title) {
    m_ui.Label2_38->setText(
        QStringLiteral("A Newer Version of this program is available.") + QLatin1Char('\n') +
        QStringLiteral("If you would like to go to the Website to Download the new Version (") +
        title + QStringLiteral(") Click Here"));
    m_ui.Label2_38->setToolTip(QStringLiteral(
        "A Newer Version of this program is available. Click Here to go to Website."));
    m_ui.Timer1->start();
}

void Form1::Timer1_Timer() {
    m_ui.Label2_38->setTextColor(kNoticeShort);
    m_ui.Label2_38->setText(QLatin1Char('\n') + QStringLiteral("Newer Version Available"));
    m_ui.Timer1->stop();
}

void Form1::Image1_Click() {
    if (!m_about) {
        m_about = new frmAbout(m_shell, m_site, m_twips);
        m_about->move(frameGeometry().center() - m_about->rect().center());
        m_about->show();
        // It takes the keys, so that Escape closes it.
        m_about->activateWindow();
        return;
    }
    // A second click brings the open window forward instead of opening another.
    m_about->show();
    m_about->raise();
    m_about->activateWindow();
}

void Form1::Image2_Click() {
    QWidget* const hidden[] = {m_ui.Image1,   m_ui.Image2,   m_ui.Command1, m_ui.Command2,
                               m_ui.Command3, m_ui.Command4, m_ui.Command5};
    for (QWidget* control : hidden) {
        control->setVisible(false);
    }
    // The controls come back however printing ends.
    const auto showAgain = qScopeGuard([&hidden] {
        for (QWidget* control : hidden) {
            control->setVisible(true);
        }
    });
    QCoreApplication::processEvents();
    PrintSheet();
    QCoreApplication::processEvents();
}

void Form1::PrintSheet() {
    const QString printer = m_services.defaultPrinter();
    if (!printer.isEmpty()) {
        LateServices* services = lateServices();
        const PrintOutcome outcome =
            services ? services->print(printer, windowTitle(),
                                       [this](QPainter& painter, int pageWidth) {
                                           paintPrintedPage(painter, pageWidth);
                                       })
                     : PrintOutcome::NotTaken;
        if (outcome == PrintOutcome::NotTaken) {
            m_services.warn(this,
                            QStringLiteral("The printer %1 did not take the sheet.").arg(printer));
        } else if (outcome == PrintOutcome::Failed) {
            m_services.warn(
                this, QStringLiteral("The printer %1 could not print the sheet.").arg(printer));
        }
        return;
    }
    const QString file = m_services.pdfFileName(
        this, QStringLiteral("Kelsing schedule %1.pdf").arg(m_ui.Label3->text()));
    if (file.isEmpty()) {
        return;
    }
    PdfFile pdf(file, windowTitle());
    QPainter painter;
    bool saved = pdf.begin(painter);
    if (saved) {
        paintPrintedPage(painter, pdf.pageWidth());
        saved = pdf.finish(painter);
    }
    if (!saved) {
        m_services.warn(this, QStringLiteral("The PDF file %1 could not be written: %2")
                                  .arg(QDir::toNativeSeparators(file), pdf.errorString()));
    }
}

void Form1::paintPrintedPage(QPainter& painter, int pageWidth) {
    // The page is laid out at the designed scale whatever the window's, so that every window
    // prints the same page; the window's own layout is back before anything repaints.
    const Twips shown = m_twips;
    const auto restore = qScopeGuard([this, shown] {
        if (m_twips.scale() != shown.scale()) {
            m_twips = shown;
            layoutControls();
        }
    });
    if (shown.scale() != Twips().scale()) {
        m_twips = Twips();
        layoutControls();
    }
    const QSize designed = m_content->size();
    const PictureSize size = PrintedPictureSize(designed.width(), designed.height(), pageWidth);
    // Painted rather than copied from the screen: text and lines stay text and lines, as sharp
    // as the printer or the PDF viewer can draw them.
    painter.scale(static_cast<double>(size.width) / designed.width(),
                  static_cast<double>(size.height) / designed.height());
    Pictures::paintBackground(painter, QRectF(QPointF(0, 0), QSizeF(designed)));
    m_content->render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
}

void Form1::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (m_background.isNull() || m_background.deviceIndependentSize() != QSizeF(size())) {
        m_background = Pictures::background(size(), devicePixelRatioF());
    }
    painter.drawPixmap(0, 0, m_background);
}

void Form1::resizeEvent(QResizeEvent* event) {
    const Twips fitting =
        Twips::fitting(size(), kClientArea.width, kClientArea.height, m_services.smallestScale);
    // Controls, fonts and the sheet's laid-out texts are redone only when the scale changes,
    // not when the window is first shown at the size it was built for.
    if (fitting.scale() != m_twips.scale()) {
        m_twips = fitting;
        layoutControls();
    } else {
        placeContent();
    }
    QWidget::resizeEvent(event);
}

void Form1::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

void Form1::Form_Unload() {
    if (m_versionCheck) {
        m_versionCheck->cancel();
    }
    // Closing the main window closes every window of the program; nothing is saved.
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window != this) {
            window->close();
        }
    }
}

} // namespace kelsing
