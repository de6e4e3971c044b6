// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/form1ui.h"

#include "platform/fonts.h"
#include "platform/keyboardfocus.h"
#include "platform/label.h"
#include "platform/pictures.h"
#include "platform/twips.h"
#include "sheet/sheetlayout.h"
#include "sheet/sheetview.h"

#include <QPushButton>
#include <QTimer>

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
constexpr TwipsRect kImage1{6600, 5640, 240, 240};
constexpr TwipsRect kImage2{360, 5520, 240, 225};

const QColor kCrewBoxText(64, 0, 0);
constexpr int kTimer1Interval = 30000;

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption,
                        const QString& toolTip) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setToolTip(toolTip);
    return button;
}

} // namespace

void Form1Ui::setupUi(QWidget* form, const SheetModel& sheet) {
    // Every control stands on one content area, which a resized window scales and centres.
    content = new QWidget(form);
    content->setObjectName(QStringLiteral("Content"));
    sheetView = new SheetView(sheet, content);
    buildNavigation();
    buildCrewBoxes();
    buildSwitchNoticeAndImages();
    Timer1 = new QTimer(form);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kTimer1Interval);
    describeControls();
    setUpKeyboard();
}

void Form1Ui::setUpKeyboard() {
    // Tab goes through every control a click reaches, in reading order; the buttons take the
    // focus from no click, so that a window used with the mouse shows none.
    QWidget* const order[] = {Command1, Command2, Command3, Command4, Label3,    sheetView, Label5,
                              Label8,   Label9,   Command5, Image2,   Label2_38, Image1};
    for (QWidget* control : order) {
        control->setFocusPolicy(Qt::TabFocus);
    }
    for (std::size_t i = 1; i < std::size(order); ++i) {
        QWidget::setTabOrder(order[i - 1], order[i]);
    }
    for (QPushButton* button : {Command1, Command2, Command3, Command4, Command5}) {
        KeyboardFocus::clickOnReturn(button);
    }
    setKeyboardReach(false);
}

void Form1Ui::setKeyboardReach(bool sideBySide) {
    const auto reach = [](QWidget* control, bool reachable) {
        control->setFocusPolicy(reachable ? Qt::TabFocus : Qt::NoFocus);
    };
    reach(Label5, !sideBySide);
    reach(Label8, sideBySide);
    reach(Label9, sideBySide);
    reach(Label2_38, !Label2_38->text().isEmpty());
}

void Form1Ui::buildNavigation() {
    Label3 = new Label(QStringLiteral("Label3"), content);
    Label3->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label3->setToolTip(QStringLiteral("Click Here to Select Current Month"));
    Command1 = makeButton(content, QStringLiteral("Command1"), QStringLiteral("<<"),
                          QStringLiteral("Click on this Button to Choose Previous Year"));
    Command2 = makeButton(content, QStringLiteral("Command2"), QStringLiteral("<"),
                          QStringLiteral("Click on this Button to Choose Previous Month"));
    Command3 = makeButton(content, QStringLiteral("Command3"), QStringLiteral(">"),
                          QStringLiteral("Click on this Button to Choose Next Month"));
    Command4 = makeButton(content, QStringLiteral("Command4"), QStringLiteral(">>"),
                          QStringLiteral("Click on this Button to Choose Next Year"));
}

void Form1Ui::buildCrewBoxes() {
    // The side-by-side crew boxes start behind the single one, which covers them.
    Label8 = new Label(QStringLiteral("Label8"), content);
    Label9 = new Label(QStringLiteral("Label9"), content);
    for (Label* box : {Label8, Label9}) {
        box->setAlignment(Qt::AlignCenter);
        box->setWordWrap(true);
        box->setTextColor(kCrewBoxText);
    }
    Label5 = new Label(QStringLiteral("Label5"), content);
    Label5->setBackground(Qt::white);
    Label5->setTextColor(kCrewBoxText);
    Label5->setBorder(true);
    Label5->setAlignment(Qt::AlignCenter);
    Label5->setWordWrap(true);
    Label5->setText(QStringLiteral("Click here to Choose Crew"));
    Label5->setToolTip(QStringLiteral("Click Here to Select Crew"));
    // A right click reaches whichever box is in front where it lands, as a left click does.
    for (Label* box : {Label5, Label8, Label9}) {
        box->setContextMenuPolicy(Qt::CustomContextMenu);
    }
}

void Form1Ui::buildSwitchNoticeAndImages() {
    Command5 =
        makeButton(content, QStringLiteral("Command5"), QString::fromLatin1(kSingleViewCaption),
                   QStringLiteral("Click this Button to Switch Between Single and Dual Schedules"));
    Label2_38 = new Label(QStringLiteral("Label2_38"), content);
    Label2_38->setTextColor(Qt::red);
    // Its single-line border is drawn by the sheet among the cells' frames, on the grid's lines;
    // its text keeps clear of it as a bordered label's does.
    Label2_38->setContentsMargins(2, 2, 2, 2);
    Label2_38->setAlignment(Qt::AlignCenter);
    Label2_38->setWordWrap(true);
    Image1 = new Label(QStringLiteral("Image1"), content);
    Image1->setToolTip(
        QStringLiteral("Click here for Info on changes or having your schedule added"));
    Image2 = new Label(QStringLiteral("Image2"), content);
    Image2->setToolTip(QStringLiteral("Click here to print this sheet to default printer"));
}

void Form1Ui::describeControls() {
    // The buttons' captions are symbols, and the labels' looks say what they do: a screen
    // reader gets words, with the key of each action.
    const auto describe = [](QWidget* control, const QString& name, const QString& description) {
        if (!name.isEmpty()) {
            control->setAccessibleName(name);
        }
        control->setAccessibleDescription(description);
    };
    describe(Command1, QStringLiteral("Previous year"),
             QStringLiteral("Shows the same month a year earlier (Ctrl+Page Up)"));
    describe(Command2, QStringLiteral("Previous month"),
             QStringLiteral("Shows the month before (Page Up)"));
    describe(Command3, QStringLiteral("Next month"),
             QStringLiteral("Shows the month after (Page Down)"));
    describe(Command4, QStringLiteral("Next year"),
             QStringLiteral("Shows the same month a year later (Ctrl+Page Down)"));
    describe(Command5, QString(),
             QStringLiteral("Switches between one crew and two crews side by side"));
    describe(Label3, QString(),
             QStringLiteral("The month shown; click to return to the current month (Home)"));
    const QString crewBox = QStringLiteral(
        "%1: click to choose a crew; right click to export its shifts to a calendar file");
    describe(Label5, QString(), crewBox.arg(QStringLiteral("Crew of the single view")));
    describe(Label8, QString(), crewBox.arg(QStringLiteral("Left crew")));
    describe(Label9, QString(), crewBox.arg(QStringLiteral("Right crew")));
    describe(Label2_38, QString(), QStringLiteral("Update notice; click to open the web site"));
    describe(Image1, QStringLiteral("About"),
             QStringLiteral("Opens the about window: version, web site and how to have your "
                            "schedule added (F1)"));
    describe(Image2, QStringLiteral("Print"),
             QStringLiteral("Prints this sheet on the default printer (Ctrl+P)"));
    for (Label* label : {Label3, Label5, Label8, Label9, Image1, Image2}) {
        label->setAccessibleRole(QAccessible::Button);
    }
    Label2_38->setAccessibleRole(QAccessible::Link);
}

void Form1Ui::placeContent(const Twips& twips, QSize formSize) {
    // The leftover of a window whose shape differs from the design is split evenly around the
    // content, where the background picture goes on.
    const QSize size = twips.size(kClientArea.width, kClientArea.height);
    content->setGeometry(QRect(
        QPoint((formSize.width() - size.width()) / 2, (formSize.height() - size.height()) / 2),
        size));
}

void Form1Ui::layout(const Twips& twips, QSize formSize) {
    placeContent(twips, formSize);
    sheetView->setTwips(twips);
    const std::pair<QWidget*, TwipsRect> places[] = {{Label3, SheetLayout::kMonthTitle},
                                                     {Command1, kCommand1},
                                                     {Command2, kCommand2},
                                                     {Command3, kCommand3},
                                                     {Command4, kCommand4},
                                                     {Command5, kCommand5},
                                                     {Label5, kLabel5},
                                                     {Label8, kLabel8},
                                                     {Label9, kLabel9},
                                                     {Label2_38, SheetLayout::kNotice},
                                                     {Image1, kImage1},
                                                     {Image2, kImage2}};
    for (const auto& [control, place] : places) {
        control->setGeometry(twips.rect(place));
    }
    // The width of the crew box's border, and of the focus frame on every label.
    for (Label* label : {Label3, Label5, Label8, Label9, Label2_38, Image1, Image2}) {
        label->setTwips(twips);
    }
}

void Form1Ui::applyFonts(const Twips& twips) {
    Label3->setFont(Fonts::platformFont(Fonts::kDayNumber, twips, true));
    const QFont buttonFont = Fonts::platformFont(Fonts::kButton, twips, true);
    for (QPushButton* button : {Command1, Command2, Command3, Command4}) {
        button->setFont(buttonFont);
    }
    const QFont defaultFont = Fonts::platformFont(Fonts::kDefault, twips);
    Command5->setFont(defaultFont);
    Label5->setFont(Fonts::platformFont(Fonts::kButton, twips));
    for (Label* label : {Label8, Label9, Label2_38}) {
        label->setFont(defaultFont);
    }
}

void Form1Ui::applyPictures(double ratio, bool fromTheme) {
    Image1->setPixmap(Pictures::infoPicture(Image1->size(), ratio, fromTheme));
    Image2->setPixmap(Pictures::printerPicture(Image2->size(), ratio, fromTheme));
}

} // namespace kelsing
