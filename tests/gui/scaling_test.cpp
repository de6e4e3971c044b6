// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/frmabout.h"
#include "crews/form2.h"
#include "platform/fonts.h"
#include "platform/label.h"
#include "platform/pictures.h"
#include "sheet/sheetfills.h"
#include "sheet/sheetlayout.h"
#include "sheet/sheetview.h"
#include "windowtestsupport.h"

#include <QIcon>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace kelsing;
using namespace kelsing::WindowTests;

namespace {

const DaySerial kToday = dateOf(2007, 3, 15);

// The smallest window whose content is laid out at `factor` with no margin across.
QSize sizeFor(double factor) {
    return {static_cast<int>(std::ceil(465 * factor)), static_cast<int>(std::ceil(400 * factor))};
}

QWidget* content(Form1& form) {
    return control(form, QStringLiteral("Content"));
}

// Where a rectangle of the content lies in the window.
QRect inWindow(Form1& form, const QRect& rect) {
    return rect.translated(content(form)->pos());
}

QRect toQRect(const TwipsRect& r) {
    return {r.left, r.top, r.width, r.height};
}

TwipsRect toTwipsRect(const QRect& r) {
    return {r.x(), r.y(), r.width(), r.height()};
}

// The picture of a sheet as the window paints it at a scale, in the coordinates of the window.
QImage paintedSheet(const SheetModel& sheet, const Twips& twips) {
    QWidget window;
    window.resize(twips.size(6975, 6000));
    SheetView view(sheet, &window);
    view.setTwips(twips);
    QImage picture(window.size(), QImage::Format_RGB32);
    picture.fill(Qt::white);
    view.render(&picture, view.pos());
    return picture;
}

// The pixels of `area` where `picture` differs from `blank`: what one part of the cells drew.
QRect inkWithin(const QImage& picture, const QImage& blank, const QRect& area) {
    QRect ink;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (picture.pixel(x, y) != blank.pixel(x, y)) {
                ink |= QRect(x, y, 1, 1);
            }
        }
    }
    return ink;
}

// The dark runs (first device pixel, width) of `image` from `from` up to `to` along a row or a
// column of device pixels; a dark blue is dark too.
QList<std::pair<int, int>> darkRuns(const QImage& image, QPoint from, QPoint to) {
    QList<std::pair<int, int>> found;
    const QPoint step = from.y() == to.y() ? QPoint(1, 0) : QPoint(0, 1);
    const int count = (to - from).manhattanLength();
    for (int i = 0, start = -1; i <= count; ++i) {
        const bool dark = i < count && qGray(image.pixel(from + step * i)) < 80;
        if (dark && start < 0) {
            start = i;
        } else if (!dark && start >= 0) {
            found.append({QPoint::dotProduct(from, step) + start, i - start});
            start = -1;
        }
    }
    return found;
}

} // namespace

class ScalingTest final : public QObject {
    Q_OBJECT

private slots:
    void cleanup();
    void opensAtTheDesignedSize();
    void controlsScaleByOneFactor_data();
    void controlsScaleByOneFactor();
    void leftoverIsSplitAroundTheContent_data();
    void leftoverIsSplitAroundTheContent();
    void cellClicksLandOnTheirCell_data();
    void cellClicksLandOnTheirCell();
    void crewBoxClickOpensTheChooserInPlace_data();
    void crewBoxClickOpensTheChooserInPlace();
    void aboutWindowTakesTheFactorWhenOpened();
    void neighbouringCellsShareOneLine_data();
    void neighbouringCellsShareOneLine();
    void bordersAreOneWidthAndTheChooserClearsTheCrewBox_data();
    void bordersAreOneWidthAndTheChooserClearsTheCrewBox();
    void focusFrameIsABorderOneWidthInside_data();
    void focusFrameIsABorderOneWidthInside();
    void captionsWrapAsDesignedAndKeepOffTheDayNumber_data();
    void captionsWrapAsDesignedAndKeepOffTheDayNumber();
    void halfLinesShowTheirColoursInsideTheirHalf_data();
    void halfLinesShowTheirColoursInsideTheirHalf();
    void ownPicturesAreDrawnAsTheirIconsWouldBe_data();
    void ownPicturesAreDrawnAsTheirIconsWouldBe();
};

void ScalingTest::cleanup() {
    deleteChoosersAndAboutWindows();
}

void ScalingTest::opensAtTheDesignedSize() {
    auto w = openWindow(kToday);
    QCOMPARE(w.form->size(), QSize(465, 400));
    QCOMPARE(w.form->minimumSize(), QSize(465, 400));
    QCOMPARE(w.form->twips().scale(), 1.0);
    // A window cannot be made smaller than designed, so no text is squeezed below its size.
    w.form->resize(300, 200);
    QCOMPARE(w.form->size(), QSize(465, 400));
    QCOMPARE(content(*w.form)->geometry(), QRect(0, 0, 465, 400));
}

void ScalingTest::controlsScaleByOneFactor_data() {
    QTest::addColumn<double>("factor");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<double>("points"); // the font's designed size; 0 for none
    struct Control {
        const char* name;
        TwipsRect place;
        double points;
    };
    const Control controls[] = {
        {"Label3", SheetLayout::kMonthTitle, 18},  {"Command1", {120, 240, 735, 375}, 9.75},
        {"Command2", {840, 240, 735, 375}, 9.75},  {"Command3", {5400, 240, 735, 375}, 9.75},
        {"Command4", {6120, 240, 735, 375}, 9.75}, {"Command5", {4800, 5640, 495, 255}, 8.25},
        {"Label5", {2520, 5400, 2175, 510}, 9.75}, {"Label8", {2520, 5400, 1095, 495}, 8.25},
        {"Label9", {3600, 5400, 1095, 495}, 8.25}, {"Label2_38", {3000, 4560, 3855, 735}, 8.25},
        {"Image1", {6600, 5640, 240, 240}, 0},     {"Image2", {360, 5520, 240, 225}, 0},
        {"SheetView", SheetView::kArea, 0},
    };
    for (const double factor : {1.0, 1.5, 2.0}) {
        for (const Control& c : controls) {
            QTest::addRow("%s at %g", c.name, factor)
                << factor << QString::fromLatin1(c.name) << toQRect(c.place) << c.points;
        }
    }
}

void ScalingTest::controlsScaleByOneFactor() {
    QFETCH(double, factor);
    QFETCH(QString, name);
    QFETCH(QRect, twips);
    QFETCH(double, points);
    auto w = openWindow(kToday, {}, {.size = sizeFor(factor)});
    Form1& form = *w.form;
    const Twips scale(factor);
    QCOMPARE(form.twips().scale(), factor);
    QCOMPARE(content(form)->geometry(), QRect(QPoint(0, 0), scale.size(6975, 6000)));
    QWidget* widget = control(form, name);
    QCOMPARE(inWindow(form, widget->geometry()), scale.rect(toTwipsRect(twips)));
    if (points > 0) {
        QCOMPARE(widget->font().pixelSize(), scale.fontPixels(points));
    }
    // The pictures are drawn afresh for their size, never stretched from the designed one.
    if (auto* image = qobject_cast<Label*>(widget); image && name.startsWith(QLatin1String("Im"))) {
        QCOMPARE(image->grab().size(), widget->size());
    }
}

void ScalingTest::leftoverIsSplitAroundTheContent_data() {
    QTest::addColumn<QSize>("size");
    QTest::addColumn<double>("factor");
    QTest::newRow("designed") << QSize(465, 400) << 1.0;
    QTest::newRow("wider: the height decides") << QSize(800, 400) << 1.0;
    QTest::newRow("taller: the width decides") << QSize(465, 700) << 1.0;
    QTest::newRow("larger, wider") << QSize(1000, 700) << 1.75;
    QTest::newRow("larger, taller") << QSize(930, 1000) << 2.0;
    QTest::newRow("odd leftover") << QSize(466, 401) << 466 / 465.0;
}

void ScalingTest::leftoverIsSplitAroundTheContent() {
    QFETCH(QSize, size);
    QFETCH(double, factor);
    auto w = openWindow(kToday, {}, {.size = size});
    Form1& form = *w.form;
    QCOMPARE(form.size(), size);
    QCOMPARE(form.twips().scale(), factor);
    const QSize area = Twips(factor).size(6975, 6000);
    QVERIFY(area.width() <= size.width() && area.height() <= size.height());
    // One side always fills the window; the other keeps equal margins.
    QVERIFY(area.width() == size.width() || area.height() == size.height());
    const QPoint origin((size.width() - area.width()) / 2, (size.height() - area.height()) / 2);
    QCOMPARE(content(form)->geometry(), QRect(origin, area));
    // Sized back, the window lays out at the designed size again.
    form.resize(465, 400);
    QCOMPARE(form.twips().scale(), 1.0);
    QCOMPARE(control(form, QStringLiteral("Label5"))->geometry(), QRect(168, 360, 145, 34));
}

void ScalingTest::cellClicksLandOnTheirCell_data() {
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("cell");
    for (const QSize size : {QSize(465, 400), QSize(698, 600), QSize(1000, 700)}) {
        for (const int cell : {0, 6, 18, 30, 37}) {
            QTest::addRow("cell %d in %dx%d", cell, size.width(), size.height()) << size << cell;
        }
    }
}

void ScalingTest::cellClicksLandOnTheirCell() {
    QFETCH(QSize, size);
    QFETCH(int, cell);
    auto w = openWindow(kToday, {}, {.size = size});
    Form1& form = *w.form;
    auto* view = static_cast<SheetView*>(control(form, QStringLiteral("SheetView")));
    QSignalSpy clicks(view, &SheetView::cellClicked);
    const QRect frame = form.twips().rect(SheetLayout::dayFrame(cell));
    // Just inside the frame's corners too: a click near a border still lands on its own cell.
    for (const QPoint at :
         {frame.center(), frame.topLeft() + QPoint(3, 3), frame.bottomRight() - QPoint(3, 3)}) {
        clickAt(form, inWindow(form, QRect(at, QSize(1, 1))).topLeft());
    }
    QCOMPARE(clicks.size(), 3);
    for (const QList<QVariant>& click : clicks) {
        QCOMPARE(click.at(0).toInt(), cell);
    }
}

void ScalingTest::crewBoxClickOpensTheChooserInPlace_data() {
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("sideBySide");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("boxText");
    const QString single = QStringLiteral("Label5");
    const QString right = QStringLiteral("Label9");
    const QString corvath = QStringLiteral("Corvath/401-404/403");
    const QString zantor = QStringLiteral("Zantor/E Crew");
    QTest::newRow("designed") << QSize(465, 400) << false << single << corvath
                              << QStringLiteral("Corvath\n403");
    QTest::newRow("1.5") << QSize(698, 600) << false << single << corvath
                         << QStringLiteral("Corvath\n403");
    QTest::newRow("1.5, right box")
        << QSize(698, 600) << true << right << zantor << QStringLiteral("Zantor\nE Crew");
    QTest::newRow("2, with a margin")
        << QSize(1100, 800) << false << single << zantor << QStringLiteral("Zantor\nE Crew");
    QTest::newRow("with a margin, right box")
        << QSize(900, 420) << true << right << corvath << QStringLiteral("Corvath\n403");
}

void ScalingTest::crewBoxClickOpensTheChooserInPlace() {
    QFETCH(QSize, size);
    QFETCH(bool, sideBySide);
    QFETCH(QString, box);
    QFETCH(QString, path);
    QFETCH(QString, boxText);
    // Where the chooser of a window opens, from the window's content area.
    const auto chooserPlace = [](Form1& form, const QString& crewBox) {
        clickControl(form, crewBox);
        return openChoosers().size() == 1 ? openChoosers().front()->frameGeometry().topLeft() -
                                                content(form)->mapToGlobal(QPoint(0, 0))
                                          : QPoint(-1000, -1000);
    };
    QPoint designed;
    {
        auto d = openWindow(kToday);
        designed = chooserPlace(*d.form, QStringLiteral("Label5"));
        deleteChoosersAndAboutWindows();
    }
    auto w = openWindow(kToday, {}, {.size = size});
    Form1& form = *w.form;
    if (sideBySide) {
        clickControl(form, QStringLiteral("Command5"));
    }
    const Twips& scale = form.twips();
    // The chooser stands where it stands over a designed window, measured from the content.
    const QPoint place = chooserPlace(form, box);
    QVERIFY2((place - designed * scale.scale()).manhattanLength() <= 2,
             qPrintable(QStringLiteral("%1,%2").arg(place.x()).arg(place.y())));
    Form2* chooser = openChoosers().front();
    QCOMPARE(chooser->frameGeometry().width(), scale.px(2436));
    QCOMPARE(chooser->height(), scale.px(2805));
    auto* corvath = chooser->findChild<Label*>(QStringLiteral("Label1_7"));
    QVERIFY(corvath);
    QCOMPARE(corvath->geometry(), scale.rect(0, 120 + 240 * 7, 1095, 255));
    QCOMPARE(corvath->font().pixelSize(), scale.fontPixels(8.25));

    QVERIFY(walkChooser(*chooser, path));
    QVERIFY(openChoosers().isEmpty());
    QCOMPARE(static_cast<Label*>(control(form, box))->text(), boxText);
}

void ScalingTest::aboutWindowTakesTheFactorWhenOpened() {
    auto w = openWindow(kToday, {}, {.size = sizeFor(1.5)});
    Form1& form = *w.form;
    clickControl(form, QStringLiteral("Image1"));
    QCOMPARE(openAboutWindows().size(), 1);
    frmAbout* about = openAboutWindows().front();
    const Twips scale(1.5);
    QCOMPARE(about->size(), scale.size(5730, 3555));
    QCOMPARE(control(*about, QStringLiteral("cmdOK"))->geometry(),
             scale.rect(4245, 2760, 1260, 588));
    QCOMPARE(control(*about, QStringLiteral("lblTitle"))->font().pixelSize(),
             scale.fontPixels(8.25));
    // An open about window keeps the factor it was opened with.
    form.resize(465, 400);
    QCOMPARE(about->size(), scale.size(5730, 3555));
}

void ScalingTest::neighbouringCellsShareOneLine_data() {
    QTest::addColumn<double>("factor");
    for (const double factor : {1.0, 1.15, 1.3, 1.5, 1.75, 2.0, 2.35}) {
        QTest::addRow("%g", factor) << factor;
    }
}

void ScalingTest::neighbouringCellsShareOneLine() {
    QFETCH(double, factor);
    // March 2007 without a crew: the shift lines are empty and no caption stands on a Saturday.
    auto w = openWindow(kToday, {}, {.size = sizeFor(factor)});
    Form1& form = *w.form;
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QImage image = form.grab().toImage();
    const Twips& scale = form.twips();
    // The widths of the dark runs along a line of pixels.
    const auto runs = [&image](QPoint from, QPoint step, int count) {
        QList<int> widths;
        int run = 0;
        for (int i = 0; i <= count; ++i) {
            const QPoint at = from + step * i;
            if (i < count && qGray(image.pixel(at)) < 80) {
                ++run;
            } else if (run > 0) {
                widths << run;
                run = 0;
            }
        }
        return widths;
    };
    // Across the second week, through its empty shift lines: eight lines for seven cells.
    const QRect week = scale.rect(SheetLayout::shiftLine(7));
    const int y = week.center().y();
    const int left = scale.px(120) - 2;
    // A single-line border is a pixel at the designed size, and as wide as the factor makes it.
    const QList<int> widths = runs({left, y}, {1, 0}, scale.px(6855) + 4 - left);
    QCOMPARE(widths.size(), 8);
    QVERIFY(widths.front() == std::floor(factor) || widths.front() == std::ceil(factor));
    QCOMPARE(widths, QList<int>(8, widths.front()));
    // Down the Saturday column through its light head and five weeks, clear of the day numbers.
    const int x = scale.px(120 + 960 * 6 + 300);
    const int top = scale.px(720) - 2;
    QCOMPARE(runs({x, top}, {0, 1}, scale.px(4560) + 4 - top), QList<int>(7, widths.front()));
}

void ScalingTest::bordersAreOneWidthAndTheChooserClearsTheCrewBox_data() {
    QTest::addColumn<double>("factor");
    // Laptop factors are the common case; the display's ratio comes from the run's environment.
    for (const double factor : {1.0, 1.05, 1.2, 1.25, 1.5, 2.0, 2.51}) {
        QTest::addRow("%g", factor) << factor;
    }
}

void ScalingTest::bordersAreOneWidthAndTheChooserClearsTheCrewBox() {
    QFETCH(double, factor);
    // June 2007 has no captions: the cells show day numbers in their upper right only.
    auto w = openWindow(dateOf(2007, 6, 15), {}, {.size = sizeFor(factor)});
    Form1& form = *w.form;
    QCOMPARE(form.twips().scale(), factor);
    Label* crewBox = label(form, QStringLiteral("Label5"));
    crewBox->setText(QString()); // its frame alone
    const QImage image = form.grab().toImage();
    const qreal ratio = image.devicePixelRatio();
    const Twips& scale = form.twips();
    // A place in twips of the content as a device pixel of the picture, moved by whole pixels.
    const auto at = [&](int x, int y, QPoint moved = {}) {
        return (QPointF(content(form)->pos() + scale.point(x, y) + moved) * ratio).toPoint();
    };
    const auto runs = [&image](QPoint from, QPoint to) { return darkRuns(image, from, to); };
    const QPoint left(-3, 0);
    const QPoint right(3, 0);
    const QPoint up(0, -3);
    const QPoint down(0, 3);
    // Across the sheet through the shift lines of the second, fifth and sixth weeks, where the
    // notice stands right of three cells; down the Sunday and the Saturday column, whose last
    // cell is the notice.
    const auto across = [&](int y) { return runs(at(120, y, left), at(6855, y, right)); };
    const auto along = [&](int x) { return runs(at(x, 720, up), at(x, 5295, down)); };
    const auto week2 = across(1440 + 720 + 127);
    const auto week5 = across(1440 + 720 * 4 + 127);
    const auto week6 = across(1440 + 720 * 5 + 127);
    const auto sunday = along(120 + 300);
    const auto saturday = along(120 + 960 * 6 + 300);
    const auto boxDown = runs(at(2520 + 60, 5400, up), at(2520 + 60, 5910, down));
    const auto boxAcross = runs(at(2520, 5400 + 255, left), at(4695, 5400 + 255, right));
    QCOMPARE(week2.size(), 8);
    QCOMPARE(sunday.size(), 8);
    QCOMPARE(boxDown.size(), 2);
    QCOMPARE(boxAcross.size(), 2);
    // Neighbours share one line, the notice's frame is on the grid's lines...
    QCOMPARE(week5, week2);
    QCOMPARE(week6, (QList{week2[0], week2[1], week2[2], week2[3], week2[7]}));
    QCOMPARE(saturday, sunday);
    // ...and every line is one width, the border's width at the factor on this display.
    const int width = week2.front().second;
    const double designed = factor * ratio;
    QVERIFY2(width >= std::max(1.0, std::floor(designed)) && width <= std::ceil(designed),
             qPrintable(QString::number(width)));
    for (const auto& line : week2 + week6 + sunday + boxDown + boxAcross) {
        QCOMPARE(line.second, width);
    }

    // The chooser stands clear of the crew box, with two columns and with three.
    clickControl(form, QStringLiteral("Label5"));
    QCOMPARE(openChoosers().size(), 1);
    Form2* chooser = openChoosers().front();
    const QRect box(crewBox->mapToGlobal(QPoint(0, 0)), crewBox->size());
    QVERIFY(!chooser->frameGeometry().intersects(box));
    QVERIFY(walkChooser(*chooser, QStringLiteral("Corvath/401-404")));
    QVERIFY(!chooser->frameGeometry().intersects(box));
}

void ScalingTest::focusFrameIsABorderOneWidthInside_data() {
    QTest::addColumn<double>("factor");
    QTest::addColumn<QString>("control");
    for (const double factor : {1.0, 1.2, 1.25, 1.5, 2.0, 2.51}) {
        for (const char* control : {"Label5", "SheetView"}) {
            QTest::addRow("%g, %s", factor, control) << factor << QString::fromLatin1(control);
        }
    }
}

void ScalingTest::focusFrameIsABorderOneWidthInside() {
    QFETCH(double, factor);
    QFETCH(QString, control);
    // June 2007 has no captions; its 15th, today, is the focused day, a Friday in the third week.
    auto w = openWindow(dateOf(2007, 6, 15), {}, {.size = sizeFor(factor)});
    Form1& form = *w.form;
    label(form, QStringLiteral("Label5"))->setText(QString()); // its frame alone
    for (int i = 0; i < 20 && focusedControl() != control; ++i) {
        pressKey(form, Qt::Key_Tab);
    }
    QCOMPARE(focusedControl(), control);
    const QImage image = form.grab().toImage();
    const qreal ratio = image.devicePixelRatio();
    const TwipsRect place = control == QLatin1String("Label5") ? TwipsRect{2520, 5400, 2175, 510}
                                                               : SheetLayout::dayFrame(5 + 14);
    const auto at = [&](int x, int y, QPoint moved = {}) {
        return (QPointF(content(form)->pos() + form.twips().point(x, y) + moved) * ratio).toPoint();
    };
    // Across and down the box or the cell, clear of the day number in the cell's upper right.
    const int x = place.left + place.width / 4;
    const int y = place.top + place.height * 3 / 4;
    const int right = place.left + place.width;
    const int bottom = place.top + place.height;
    for (const auto& lines : {darkRuns(image, at(place.left, y, {-3, 0}), at(right, y, {3, 0})),
                              darkRuns(image, at(x, place.top, {0, -3}), at(x, bottom, {0, 3}))}) {
        // The border, the frame a line's width inside it on every side, all one width.
        QCOMPARE(lines.size(), 4);
        const int width = lines[0].second;
        QCOMPARE(lines[1].first - lines[0].first, 2 * width);
        QCOMPARE(lines[3].first - lines[2].first, 2 * width);
        for (const auto& line : lines) {
            QCOMPARE(line.second, width);
        }
    }
}

void ScalingTest::captionsWrapAsDesignedAndKeepOffTheDayNumber_data() {
    QTest::addColumn<double>("factor");
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("month");
    const double maximised = Twips::fitting(QSize(1920, 1080), 6975, 6000).scale();
    // The longest captions, on two-digit days and in the wider labels of cells 0 and 8.
    const std::pair<int, int> months[] = {
        {2026, 12}, // Xmas Day on the 25th, Boxing Day on the 26th
        {2007, 11}, // DST Ends on the 4th, Remem- brance Day on the 11th
        {2021, 10}, // Thanks giving Day on the 11th
        {2007, 10}, // Thanks giving Day on the 8th, in cell 8
        {2018, 4},  // Easter Sunday on the 1st, in cell 0
    };
    for (const double factor : {1.0, 1.05, 1.1, 1.2, 1.8, 2.1, 2.2, 2.3, 2.51, maximised}) {
        for (const auto& [year, month] : months) {
            QTest::addRow("%d-%02d at %g", year, month, factor) << factor << year << month;
        }
    }
}

void ScalingTest::captionsWrapAsDesignedAndKeepOffTheDayNumber() {
    QFETCH(double, factor);
    QFETCH(int, year);
    QFETCH(int, month);
    SheetModel numbers;
    numbers.title = MonthYear{static_cast<Int16>(month), static_cast<Int16>(year)};
    FormLoadCalendar(numbers, kToday);
    SheetModel captions = numbers;
    SheetModel blank = numbers;
    for (int c = 0; c < SheetModel::kCellCount; ++c) {
        numbers.cells[c].caption.clear();
        captions.cells[c].dayNumber.clear();
        blank.cells[c].caption.clear();
        blank.cells[c].dayNumber.clear();
    }
    // Each part of the cells painted alone, at the scale and at the designed size.
    const Twips scale(factor);
    const Twips designed;
    const QImage blankPicture = paintedSheet(blank, scale);
    const QImage numberPicture = paintedSheet(numbers, scale);
    const QImage captionPicture = paintedSheet(captions, scale);
    const QImage designedBlank = paintedSheet(blank, designed);
    const QImage designedCaptions = paintedSheet(captions, designed);
    for (int c = 0; c < SheetModel::kCellCount; ++c) {
        if (captions.cells[c].caption.empty()) {
            continue;
        }
        // The frame without the bottom line that it shares with the cell below.
        const auto inside = [c](const Twips& twips) {
            return twips.rect(SheetLayout::dayFrame(c)).adjusted(0, 0, 0, -1);
        };
        const QRect caption = inkWithin(captionPicture, blankPicture, inside(scale));
        const QRect number = inkWithin(numberPicture, blankPicture, inside(scale));
        QVERIFY(!caption.isNull() && !number.isNull());
        // Not even a pixel's corner may touch.
        QVERIFY(!caption.adjusted(-1, -1, 1, 1).intersects(number));
        // As many lines as at the designed size: one line more or less changes the height by
        // far more than a font rounded or narrowed to fit.
        const int designedHeight =
            inkWithin(designedCaptions, designedBlank, inside(designed)).height();
        QVERIFY(std::abs(caption.height() / factor - designedHeight) < designedHeight / 4.0);
    }
}

void ScalingTest::halfLinesShowTheirColoursInsideTheirHalf_data() {
    QTest::addColumn<double>("factor");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QColor>("colour");
    // The short labels of the side-by-side view and their colours in the shift table.
    const std::pair<const char*, QColor> labels[] = {
        {"Days", QColor(0, 0, 255)},   {"D(8)", QColor(0, 0, 255)},
        {"D(12)", QColor(0, 0, 255)},  {"Nights", QColor(0, 0, 0)},
        {"Off", QColor(0, 128, 0)},    {"Training", QColor(128, 0, 128)},
        {"Aftnn", QColor(192, 64, 0)},
    };
    for (const double factor : {1.0, 2.51}) {
        for (const auto& [label, colour] : labels) {
            QTest::addRow("%s at %g", label, factor)
                << factor << QString::fromLatin1(label) << colour;
        }
    }
}

void ScalingTest::halfLinesShowTheirColoursInsideTheirHalf() {
    QFETCH(double, factor);
    QFETCH(QString, label);
    QFETCH(QColor, colour);
    const Rgb rgb{static_cast<std::uint8_t>(colour.red()),
                  static_cast<std::uint8_t>(colour.green()),
                  static_cast<std::uint8_t>(colour.blue())};
    // The label in the left half of one cell and in the right half of another.
    SheetModel sheet;
    sheet.cells[10].leftShift = sheet.cells[12].rightShift = label.toStdString();
    sheet.cells[10].leftShiftColour = sheet.cells[12].rightShiftColour = rgb;
    const Twips scale(factor);
    const QImage picture = paintedSheet(sheet, scale);
    const QImage blank = paintedSheet(SheetModel(), scale);
    for (const auto& [cell, half] :
         {std::pair(10, SheetLayout::leftHalf(10)), std::pair(12, SheetLayout::rightHalf(12))}) {
        const QRect place = scale.rect(half);
        const QRect ink = inkWithin(picture, blank, scale.rect(SheetLayout::dayFrame(cell)));
        QVERIFY(place.contains(ink));
        // Strokes wide enough that some pixel shows the colour itself, not a pale blend.
        int nearest = 255;
        for (int y = ink.top(); y <= ink.bottom(); ++y) {
            for (int x = ink.left(); x <= ink.right(); ++x) {
                const QColor p = picture.pixelColor(x, y);
                nearest = std::min(nearest, std::max({std::abs(p.red() - colour.red()),
                                                      std::abs(p.green() - colour.green()),
                                                      std::abs(p.blue() - colour.blue())}));
            }
        }
        QVERIFY(nearest <= 16);
    }
}

void ScalingTest::ownPicturesAreDrawnAsTheirIconsWouldBe_data() {
    QTest::addColumn<QSize>("size");
    QTest::addColumn<qreal>("ratio"); // device pixels per pixel
    // The info and printer images at the designed size and at window scales, on displays of
    // one, one and a quarter, one and a half and two device pixels per pixel.
    for (const QSize size : {QSize(16, 16), QSize(16, 15), QSize(40, 38), QSize(33, 31)}) {
        for (const qreal ratio : {1.0, 1.25, 1.5, 2.0}) {
            QTest::addRow("%dx%d at %g", size.width(), size.height(), ratio) << size << ratio;
        }
    }
}

void ScalingTest::ownPicturesAreDrawnAsTheirIconsWouldBe() {
    QFETCH(QSize, size);
    QFETCH(qreal, ratio);
    // The toolkit's SVG icon engine is the oracle: the first frame shows the program's own
    // pictures drawn without it, which must look as its icons would.
    const auto asIcon = [&](const char* file) {
        return QIcon(QString::fromLatin1(file)).pixmap(size, ratio).toImage();
    };
    const auto same = [](const QImage& actual, const QImage& expected) {
        return actual.convertToFormat(QImage::Format_ARGB32_Premultiplied) ==
               expected.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    };
    QVERIFY(same(Pictures::infoPicture(size, ratio, false).toImage(),
                 asIcon(":/kelsing/pictures/help-about.svg")));
    QVERIFY(same(Pictures::printerPicture(size, ratio, false).toImage(),
                 asIcon(":/kelsing/pictures/document-print.svg")));
}

QTEST_MAIN(ScalingTest)
#include "scaling_test.moc"
