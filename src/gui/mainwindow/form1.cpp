// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/form1.h"

#include "about/frmabout.h"
#include "crews/crewcaptiontable.h"
#include "crews/crewcatalogue.h"
#include "crews/form2.h"
#include "feeds/feedaddress.h"
#include "mainwindow/form1ui.h"
#include "mainwindow/lateservices.h"
#include "mainwindow/pageprinting.h"
#include "mainwindow/shiftexport.h"
#include "mainwindow/yearpage.h"
#include "platform/coretext.h"
#include "platform/firstframe.h"
#include "platform/label.h"
#include "platform/localeservices.h"
#include "platform/pictures.h"
#include "platform/windowaccessible.h"
#include "printing/printedpicturesize.h"
#include "sheet/offtogether.h"
#include "sheet/sheetfills.h"
#include "sheet/sheetview.h"
#include "subscribe/subscribedialog.h"

#include <algorithm>

#include <QApplication>
#include <QCloseEvent>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QResizeEvent>
#include <QScopeGuard>
#include <QShortcut>
#include <QTimer>
#include <QWindow>

namespace kelsing {

namespace {

const QColor kNoticeShort(0, 0, 255);
constexpr int kNoticeIndex = 38;
const QString kSitePath = QStringLiteral("/kelsing_schedule/");
const QString kVersionPagePath = QStringLiteral("/kelsing_schedule/ver.htm");
const QString kChooseCrewAfterSwitch = QStringLiteral("Click Here to Select Crew");
const QString kExportEntry = QStringLiteral("Export shifts to calendar file...");
const QString kStartEntry = QStringLiteral("Start with this crew");
const QString kPrintYearEntry = QStringLiteral("Print year...");
const QString kMarkOffTogetherEntry = QStringLiteral("Mark days off together");

// A crew's name on one line ("Corvath 403"), or `fallback` while the side has none.
QString sideName(CrewCode code, const QString& fallback) {
    if (code.value() > 0) {
        if (const auto text = CrewCaptionText(code)) {
            return fromCore(*text).replace(QLatin1Char('\n'), QLatin1Char(' '));
        }
    }
    return fallback;
}

} // namespace

// What belongs to each crew box: the crew code it shows, the box, and the fill of its view.
struct Form1::CrewTarget {
    CrewCode Form1::*code;
    Label* Form1Ui::*box;
    void (Form1::*fill)();
};

const Form1::CrewTarget& Form1::crewTarget(ChooserTarget target) {
    static const CrewTarget targets[] = {
        {&Form1::m_singleCrew, &Form1Ui::Label5, &Form1::Label5Update},
        {&Form1::m_leftCrew, &Form1Ui::Label8, &Form1::LeftUpdate},
        {&Form1::m_rightCrew, &Form1Ui::Label9, &Form1::RightUpdate},
    };
    return targets[static_cast<int>(target)];
}

Form1::Form1(Form1Services services, QWidget* parent)
    : QWidget(parent)
    , m_services(withDefaultServices(std::move(services)))
    , m_startMemory(m_services.settingsFile, m_services.reportProblem)
    , m_ownDays(m_services.ownDaysFile)
    , m_ui(std::make_unique<Form1Ui>()) {
    m_shell = Shell(m_services.openUrl);
    const QUrl host =
        m_services.siteHost.isEmpty() ? QUrl(fromCore(kSiteHost)) : m_services.siteHost;
    m_site = host.resolved(QUrl(kSitePath));
    m_versionPage = host.resolved(QUrl(kVersionPagePath));
    // Before the title, whose change makes the window's interface for a screen reader.
    WindowAccessible::setRole(this, QAccessible::Window);
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(fromCore(kApplicationTitle));
    setAttribute(Qt::WA_DeleteOnClose, false);
    m_ui->setupUi(this, m_sheet);
    connectControls();
    buildShortcuts();
    // The designed size is the smallest and the first; a larger window scales its content.
    m_twips = Twips(m_services.smallestScale);
    const QSize designed = m_twips.size(Form1Ui::kClientArea.width, Form1Ui::kClientArea.height);
    setMinimumSize(designed);
    resize(designed);
    m_looksWaiting = m_services.lateStart;
    m_beforeFirstFrame = m_services.lateStart;
    layoutControls();
    if (m_services.lateStart) {
        startLate();
    }
    Form_Load();
    startWithRememberedCrews();
    startOwnDays();
}

Form1::~Form1() {
    // The chooser writes into this window, so it must not outlive it.
    delete m_chooser;
    delete m_about;
}

void Form1::connectControls() {
    connect(m_ui->sheetView, &SheetView::cellClicked, this, &Form1::Label2_Click);
    connect(m_ui->sheetView, &SheetView::dayMenuRequested, this, &Form1::showDayMenu);
    connect(m_ui->Label3, &Label::clicked, this, &Form1::Label3_Click);
    connect(m_ui->Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(m_ui->Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(m_ui->Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
    connect(m_ui->Command4, &QPushButton::clicked, this, &Form1::Command4_Click);
    connect(m_ui->Command5, &QPushButton::clicked, this, &Form1::Command5_Click);
    connect(m_ui->Label5, &Label::clicked, this, &Form1::Label5_Click);
    connect(m_ui->Label8, &Label::clicked, this, &Form1::Label8_Click);
    connect(m_ui->Label9, &Label::clicked, this, &Form1::Label9_Click);
    for (const ChooserTarget target :
         {ChooserTarget::Single, ChooserTarget::Left, ChooserTarget::Right}) {
        connect(crewBox(target), &QWidget::customContextMenuRequested, this,
                [this, target](QPoint position) { showCrewBoxMenu(target, position); });
    }
    connect(m_ui->Label2_38, &Label::clicked, this, [this] { Label2_Click(kNoticeIndex); });
    connect(m_ui->Image1, &Label::clicked, this, &Form1::Image1_Click);
    connect(m_ui->Image2, &Label::clicked, this, &Form1::Image2_Click);
    connect(m_ui->Timer1, &QTimer::timeout, this, &Form1::Timer1_Timer);
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

void Form1::startLate() {
    // Both read the font database, the pictures through the SVG reader.
    atFirstExposure(this, [this] {
        m_looksWaiting = false;
        m_ui->applyFonts(m_twips);
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

void Form1::layoutControls() {
    m_ui->layout(m_twips, size());
    if (!m_looksWaiting) {
        m_ui->applyFonts(m_twips);
        applyPictures();
    }
}

void Form1::applyPictures() {
    // The theme's index is read only once the window is on the screen.
    m_ui->applyPictures(devicePixelRatioF(), !m_beforeFirstFrame);
}

bool Form1::sideBySideShowing() const {
    return m_ui->Command5->text() == QLatin1String(Form1Ui::kSideBySideCaption);
}

QPoint Form1::contentPosition() const {
    // The platform window's place is current; the widget's copy of it can lag behind a change
    // of decoration, such as a Wayland window's when it is made full screen.
    const QWindow* window = windowHandle();
    return (window ? window->position() : geometry().topLeft()) + m_ui->content->pos();
}

QPoint Form1::frameSize() const {
    const QWindow* window = windowHandle();
    if (!window) {
        return {};
    }
    const QMargins frame = window->frameMargins();
    return (QPointF(frame.left(), frame.top()) * window->devicePixelRatio()).toPoint();
}

int Form1::crewBoxTop() const {
    return std::min({m_ui->Label5->y(), m_ui->Label8->y(), m_ui->Label9->y()});
}

QWidget* Form1::chooserParent() {
    return this;
}

Label* Form1::crewBox(ChooserTarget target) const {
    return m_ui.get()->*crewTarget(target).box;
}

CrewCode& Form1::crewCode(ChooserTarget target) {
    return this->*crewTarget(target).code;
}

CrewCode Form1::crewCode(ChooserTarget target) const {
    return this->*crewTarget(target).code;
}

QString Form1::crewBoxText(ChooserTarget target) const {
    return crewBox(target)->text();
}

void Form1::setCrew(ChooserTarget target, CrewCode code, const QString& boxText) {
    crewCode(target) = code;
    crewBox(target)->setText(boxText);
}

void Form1::fillFor(ChooserTarget target) {
    (this->*crewTarget(target).fill)();
}

void Form1::showSheet() {
    if (m_sheet.title) {
        m_ui->Label3->setText(LocaleServices::formatMonthTitle(*m_sheet.title));
    }
    // The mark is worked out from what the half lines show, after every fill.
    markDaysOffTogether(m_sheet, m_markOffTogether && sideBySideShowing());
    m_ui->sheetView->setSideNames(sideName(m_leftCrew, QStringLiteral("Left crew")),
                                  sideName(m_rightCrew, QStringLiteral("Right crew")));
    // The switch's caption is a symbol; a screen reader says what it does next.
    m_ui->Command5->setAccessibleName(sideBySideShowing()
                                          ? QStringLiteral("Show one crew")
                                          : QStringLiteral("Show two crews side by side"));
    m_ui->setKeyboardReach(sideBySideShowing());
    m_ui->sheetView->sheetChanged();
}

void Form1::Form_Load() {
    startVersionCheck();
    FormLoadCalendar(m_sheet, m_services.today());
    showSheet();
}

void Form1::Label5Update() {
    kelsing::Label5Update(m_sheet, m_singleCrew, m_services.today());
    fillOwnDays();
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
    // Each of these shows the sheet it leaves.
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
            box->setText(fromCore(*text));
        }
    };
    if (m_ui->Command5->text() == QLatin1String(Form1Ui::kSingleViewCaption)) {
        m_ui->Command5->setText(QString::fromLatin1(Form1Ui::kSideBySideCaption));
        m_ui->Label5->setText(QString());
        m_ui->Label5->lower();
        rebuildBox(m_ui->Label8, m_leftCrew);
        rebuildBox(m_ui->Label9, m_rightCrew);
        LeftUpdate();
        RightUpdate();
    } else {
        m_ui->Label8->setText(QString());
        m_ui->Label9->setText(QString());
        m_ui->Command5->setText(QString::fromLatin1(Form1Ui::kSingleViewCaption));
        m_ui->Label5->raise();
        rebuildBox(m_ui->Label5, m_singleCrew);
        Label5Update();
    }
}

void Form1::Label2_Click(int index) {
    // Only the update notice (element 38) reacts, and only while it holds a message.
    if (index == kNoticeIndex && !m_ui->Label2_38->text().isEmpty()) {
        // ShellOpen, and a message with the address when no browser opens it.
        m_shell.openOrTell(this, m_site.toString());
    }
}

void Form1::openChooser(ChooserTarget target) {
    // The press on the crew box has normally closed an open chooser already.
    if (m_chooser) {
        m_chooser->close();
    }
    // The box the chooser serves has the focus when it closes, by a choice or by Escape.
    crewBox(target)->setFocus(Qt::OtherFocusReason);
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
    return crewCode(target).value() > 0 && !crewBox(target)->text().isEmpty();
}

QMenu* Form1::crewBoxMenu(ChooserTarget target) {
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("CrewBoxMenu"));
    QAction* exportShifts = menu->addAction(kExportEntry);
    exportShifts->setEnabled(hasCrewToExport(target));
    connect(exportShifts, &QAction::triggered, this,
            [this, target] { this->exportShifts(target); });

    // Subscribing a phone to the crew's feed on the author's web site.
    QAction* subscribe = menu->addAction(QStringLiteral("Subscribe on your phone..."));
    subscribe->setEnabled(hasCrewToExport(target));
    connect(subscribe, &QAction::triggered, this, [this, target] {
        if (hasCrewToExport(target)) {
            SubscribeDialog::showFor(
                this, m_twips, m_site.resolved(QUrl(fromCore(kFeedFolderPath))), crewCode(target));
        }
    });

    // The view's crews kept for the next start, only when the user asks for it.
    menu->addSeparator();
    QAction* start = menu->addAction(kStartEntry);
    start->setObjectName(QStringLiteral("StartWithThisCrew"));
    start->setCheckable(true);
    const RememberedStart shown = startShown(target);
    m_rememberedStart = m_startMemory.read();
    const bool remembered = m_rememberedStart == shown;
    start->setChecked(remembered);
    const bool hasCrew =
        shown.single.value() > 0 || shown.left.value() > 0 || shown.right.value() > 0;
    start->setEnabled(m_startMemory.available() && (remembered || hasCrew));
    connect(start, &QAction::triggered, this, [this, target, start](bool on) {
        if (!rememberStart(target, on)) {
            start->setChecked(!on);
        }
    });

    // The month's own days, where the user keeps them.
    if (target == ChooserTarget::Single) {
        addOwnDaysSummary(menu);
    }

    addYearEntries(menu, target);
    return menu;
}

void Form1::addYearEntries(QMenu* menu, ChooserTarget target) {
    menu->addSeparator();
    QAction* year = menu->addAction(kPrintYearEntry);
    year->setObjectName(QStringLiteral("PrintYear"));
    const ViewCrews crews = viewCrews(target);
    year->setEnabled(crews.single.value() > 0 || crews.left.value() > 0 || crews.right.value() > 0);
    connect(year, &QAction::triggered, this, [this, target] { printYear(target); });
    if (target == ChooserTarget::Single) {
        return;
    }
    QAction* mark = menu->addAction(kMarkOffTogetherEntry);
    mark->setObjectName(QStringLiteral("MarkDaysOffTogether"));
    mark->setCheckable(true);
    mark->setChecked(m_markOffTogether);
    connect(mark, &QAction::toggled, this, &Form1::setMarkDaysOffTogether);
}

ViewCrews Form1::viewCrews(ChooserTarget target) const {
    ViewCrews crews;
    crews.sideBySide = target != ChooserTarget::Single;
    crews.single = crews.sideBySide ? CrewCode() : m_singleCrew;
    crews.left = crews.sideBySide ? m_leftCrew : CrewCode();
    crews.right = crews.sideBySide ? m_rightCrew : CrewCode();
    return crews;
}

void Form1::printYear(ChooserTarget target) {
    const ViewCrews crews = viewCrews(target);
    if (crews.single.value() == 0 && crews.left.value() == 0 && crews.right.value() == 0) {
        return;
    }
    const MonthYear shown = m_sheet.title.value_or(currentMonth(m_services.today()));
    const std::array<QString, 2> names = {
        sideName(crews.sideBySide ? crews.left : crews.single, QString()),
        sideName(crews.right, QString())};
    // The user's own days as on the sheet: only on the single crew they apply to.
    kelsing::printYear(
        this, m_services,
        yearPage(shown.year, crews, names, m_services.today(), ownDaysToExport(target)));
}

void Form1::setMarkDaysOffTogether(bool on) {
    m_markOffTogether = on;
    showSheet();
}

RememberedStart Form1::startShown(ChooserTarget target) const {
    RememberedStart start;
    if (target == ChooserTarget::Single) {
        start.single = m_singleCrew;
        return start;
    }
    start.view = StartView::SideBySide;
    start.left = m_leftCrew;
    start.right = m_rightCrew;
    return start;
}

bool Form1::rememberStart(ChooserTarget target, bool on) {
    const auto problem = m_startMemory.write(on ? std::optional(startShown(target)) : std::nullopt);
    if (!problem) {
        m_rememberedStart = on ? std::optional(startShown(target)) : std::nullopt;
        // Own days follow the remembered crew.
        if (!sideBySideShowing() && m_singleCrew.value() > 0) {
            Label5Update();
        }
    } else {
        m_services.warn(this, (on ? QStringLiteral("The crew cannot be remembered: ")
                                  : QStringLiteral("The crew cannot be forgotten: ")) +
                                  *problem);
    }
    return !problem;
}

void Form1::startWithRememberedCrews() {
    // As if the user chose them: the switch first for two crews, then each box's chooser.
    const auto start = m_startMemory.read();
    m_rememberedStart = start;
    if (!start) {
        return;
    }
    if (start->view == StartView::Single) {
        showRememberedCrew(ChooserTarget::Single, start->single);
        return;
    }
    Command5_Click();
    showRememberedCrew(ChooserTarget::Left, start->left);
    showRememberedCrew(ChooserTarget::Right, start->right);
}

void Form1::showRememberedCrew(ChooserTarget target, CrewCode code) {
    const auto choice = CrewCatalogue::findByCode(code.text());
    if (code.value() > 0 && choice) {
        setCrew(target, choice->code, fromCore(choice->boxText));
        fillFor(target);
    }
}

void Form1::showCrewBoxMenu(ChooserTarget target, QPoint position) {
    // The menu key may ask twice: the box's own key, and the platform's menu event after it.
    if (m_crewBoxMenu && m_crewBoxMenu->isVisible()) {
        return;
    }
    QMenu* menu = crewBoxMenu(target);
    m_crewBoxMenu = menu;
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(crewBox(target)->mapToGlobal(position));
    // Opened from the keyboard, its first entry that can be chosen is ready for Return and read
    // out.
    const QList<QAction*> entries = menu->actions();
    const auto first = std::find_if(entries.cbegin(), entries.cend(), [](const QAction* entry) {
        return entry->isEnabled() && !entry->isSeparator();
    });
    if (testAttribute(Qt::WA_KeyboardFocusChange) && first != entries.cend()) {
        menu->setActiveAction(*first);
    }
}

void Form1::exportShifts(ChooserTarget target) {
    if (hasCrewToExport(target)) {
        exportCrewShifts(this, m_services, m_twips, crewCode(target),
                         m_sheet.title.value_or(currentMonth(m_services.today())),
                         ownDaysToExport(target));
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
    m_ui->Label2_38->setText(
        QStringLiteral("A Newer Version of this program is available.") + QLatin1Char('\n') +
        QStringLiteral("If you would like to go to the Website to Download the new Version (") +
        title + QStringLiteral(") Click Here"));
    m_ui->Label2_38->setToolTip(QStringLiteral(
        "A Newer Version of this program is available. Click Here to go to Website."));
    m_ui->setKeyboardReach(sideBySideShowing());
    m_ui->Timer1->start();
}

void Form1::Timer1_Timer() {
    m_ui->Label2_38->setTextColor(kNoticeShort);
    m_ui->Label2_38->setText(QLatin1Char('\n') + QStringLiteral("Newer Version Available"));
    m_ui->Timer1->stop();
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
    // The page is drawn from the layout without the buttons and images, so the screen keeps them
    // while any printing dialog is open.
    PrintSheet();
}

void Form1::PrintSheet() {
    printPage(this, m_services, windowTitle(),
              QStringLiteral("Kelsing schedule %1.pdf").arg(m_ui->Label3->text()),
              [this](QPainter& painter, int pageWidth) { paintPrintedPage(painter, pageWidth); });
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
    // The page shows the sheet, not where the keyboard is.
    const bool focusShown = testAttribute(Qt::WA_KeyboardFocusChange);
    setAttribute(Qt::WA_KeyboardFocusChange, false);
    const auto showFocus =
        qScopeGuard([this, focusShown] { setAttribute(Qt::WA_KeyboardFocusChange, focusShown); });
    const QSize designed = m_ui->content->size();
    const PictureSize size = PrintedPictureSize(designed.width(), designed.height(), pageWidth);
    // Painted rather than copied from the screen: text and lines stay text and lines, as sharp
    // as the printer or the PDF viewer can draw them.
    painter.scale(static_cast<double>(size.width) / designed.width(),
                  static_cast<double>(size.height) / designed.height());
    Pictures::paintBackground(painter, QRectF(QPointF(0, 0), QSizeF(designed)));
    // The controls in their stacking order, without the buttons and images.
    const QWidget* const notPrinted[] = {m_ui->Image1,   m_ui->Image2,   m_ui->Command1,
                                         m_ui->Command2, m_ui->Command3, m_ui->Command4,
                                         m_ui->Command5};
    for (QObject* child : m_ui->content->children()) {
        auto* control = qobject_cast<QWidget*>(child);
        if (control && !control->isHidden() && !std::ranges::count(notPrinted, control)) {
            control->render(&painter, control->pos(), QRegion(),
                            control->autoFillBackground()
                                ? QWidget::DrawWindowBackground | QWidget::DrawChildren
                                : QWidget::RenderFlags(QWidget::DrawChildren));
        }
    }
}

void Form1::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (m_background.isNull() || m_background.deviceIndependentSize() != QSizeF(size())) {
        m_background = Pictures::background(size(), devicePixelRatioF());
    }
    painter.drawPixmap(0, 0, m_background);
}

void Form1::resizeEvent(QResizeEvent* event) {
    const Twips fitting = Twips::fitting(size(), Form1Ui::kClientArea.width,
                                         Form1Ui::kClientArea.height, m_services.smallestScale);
    // Controls, fonts and the sheet's laid-out texts are redone only when the scale changes,
    // not when the window is first shown at the size it was built for.
    if (fitting.scale() != m_twips.scale()) {
        m_twips = fitting;
        layoutControls();
    } else {
        m_ui->placeContent(m_twips, size());
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
