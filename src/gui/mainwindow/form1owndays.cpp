// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's part in the user's own days: the store opened after the first frame, the
// entries written into the single view's sheet, the day menu that changes them, and the
// month's summary.

#include "calendar/datehelpers.h"
#include "crews/crewcaptiontable.h"
#include "mainwindow/form1.h"
#include "mainwindow/form1ui.h"
#include "owndays/owndaysscope.h"
#include "owndays/ownsummary.h"
#include "platform/coretext.h"
#include "platform/firstframe.h"
#include "platform/localeservices.h"
#include "sheet/owndaysfill.h"
#include "sheet/sheetview.h"

#include <memory>

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>

namespace kelsing {

namespace {

const QString kSummaryEntry = QStringLiteral("My days in %1...");

// The first and last day of a month.
std::pair<DaySerial, DaySerial> monthSpan(MonthYear month) {
    return {DateFromParts(month.year, month.month, 1),
            DateFromParts(month.year, add16(month.month, 1), 0)};
}

} // namespace

void Form1::startOwnDays() {
    if (!m_ownDays.available()) {
        return;
    }
    // The store is read once the window is on the screen, so a store of many years costs the
    // start nothing.
    if (m_services.lateStart) {
        afterFirstFrame(this, [this] { openOwnDays(); });
    } else {
        openOwnDays();
    }
}

void Form1::openOwnDays() {
    m_ownDays.open();
    if (const auto& refusal = m_ownDays.refusal()) {
        // Said once; the sheet shows the rotation alone, and the file stays as it is.
        m_services.warn(this, QStringLiteral("Your own days cannot be shown: %1").arg(*refusal));
        return;
    }
    if (ownDaysShown() && !m_ownDays.entries().empty()) {
        Label5Update();
    }
}

bool Form1::ownDaysShown() const {
    return m_ownDays.usable() && !sideBySideShowing() && ownDaysApplyToSingle();
}

bool Form1::ownDaysApplyToSingle() const {
    if (!m_ownDaysScope || m_ownDaysScope->crew != m_singleCrew ||
        m_ownDaysScope->remembered != m_rememberedStart) {
        m_ownDaysScope = OwnDaysScope{m_singleCrew, m_rememberedStart,
                                      ownDaysApplyTo(m_singleCrew, m_rememberedStart)};
    }
    return m_ownDaysScope->applies;
}

void Form1::fillOwnDays() {
    if (!ownDaysShown()) {
        return;
    }
    const OwnDays& entries = m_ownDays.entries();
    // Only a month with entries is written again, so a sheet without any is the Part's own.
    const auto [first, last] = monthSpan({m_sheet.ShownMonth, m_sheet.ShownYear});
    if (!entries.between(first, last).empty()) {
        OwnDaysUpdate(m_sheet, entries);
    }
}

DaySerial Form1::dateOfCell(int cell) const {
    const DayCell& day = m_sheet.cells.at(static_cast<std::size_t>(cell));
    return DateFromParts(m_sheet.ShownYear, m_sheet.ShownMonth,
                         static_cast<Int16>(std::stoi(day.dayNumber)));
}

void Form1::changeOwnDay(DaySerial date, const OwnDayStore::EntryChange& change) {
    if (const auto problem = m_ownDays.update(date, change)) {
        m_services.warn(this, QStringLiteral("Your own day was not kept: %1").arg(*problem));
    }
    // What the store holds now, another program's changes included.
    Label5Update();
}

void Form1::setOwnKind(DaySerial date, OwnDayKind kind, const std::string& shift) {
    changeOwnDay(date, [date, kind, shift](const std::optional<OwnDay>& now) {
        const std::string note = now ? now->note : std::string();
        // Choosing the entry the day has takes it away; its note stays.
        if (now && now->kind == kind && now->shift == shift) {
            return note.empty() ? std::nullopt
                                : std::optional(OwnDay{date, OwnDayKind::Note, {}, note});
        }
        return std::optional(OwnDay{date, kind, shift, note});
    });
}

void Form1::askOwnNote(DaySerial date) {
    const OwnDay* current = m_ownDays.entries().find(date);
    const QString title = QStringLiteral("Note for %1").arg(fromCore(isoDate(date)));
    const auto answer =
        m_services.askNote(this, title, current ? fromCore(current->note) : QString());
    if (!answer) {
        return;
    }
    const std::string note = answer->trimmed().toStdString();
    if (const auto problem = noteProblem(note)) {
        m_services.warn(this, QStringLiteral("The note was not kept: %1.").arg(fromCore(*problem)));
        return;
    }
    changeOwnDay(date, [date, note](const std::optional<OwnDay>& now) {
        OwnDay entry = now.value_or(OwnDay{date, OwnDayKind::Note, {}, {}});
        entry.note = note;
        if (entry.kind == OwnDayKind::Note && note.empty()) {
            return std::optional<OwnDay>();
        }
        return std::optional(entry);
    });
}

void Form1::addShiftMenu(QMenu* menu, DaySerial date, OwnDayKind kind, std::string_view rotation) {
    QMenu* shifts = menu->addMenu(fromCore(kindWord(kind)));
    shifts->setObjectName(QStringLiteral("Own") + fromCore(kindWord(kind)));
    const OwnDay* current = m_ownDays.entries().find(date);
    for (const std::string_view shift : kTableShifts) {
        // Only what is valid: a swap for another shift than the rotation's, an extra one worked.
        if ((kind == OwnDayKind::Swap && shift == rotation) ||
            (kind == OwnDayKind::Extra && !isWorkedShift(shift))) {
            continue;
        }
        QAction* action = shifts->addAction(fromCore(shift));
        action->setCheckable(true);
        action->setChecked(current && current->kind == kind && current->shift == shift);
        connect(action, &QAction::triggered, this,
                [this, date, kind, shift = std::string(shift)] { setOwnKind(date, kind, shift); });
    }
}

QMenu* Form1::dayEntriesMenu(int cell, QWidget* parent) {
    if (cell < 0 || cell >= SheetModel::kCellCount ||
        m_sheet.cells[static_cast<std::size_t>(cell)].dayNumber.empty() || !m_ownDays.available() ||
        sideBySideShowing() || !ownDaysApplyToSingle()) {
        return nullptr;
    }
    auto* menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("DayMenu"));
    if (const auto& refusal = m_ownDays.refusal()) {
        menu->addAction(QStringLiteral("Own days cannot be kept: %1").arg(*refusal))
            ->setEnabled(false);
        return menu;
    }
    const DaySerial date = dateOfCell(cell);
    const OwnDay* current = m_ownDays.entries().find(date);
    for (const OwnDayKind kind : {OwnDayKind::Leave, OwnDayKind::Sick}) {
        QAction* action = menu->addAction(fromCore(kindWord(kind)));
        action->setObjectName(QStringLiteral("Own") + fromCore(kindWord(kind)));
        action->setCheckable(true);
        action->setChecked(current && current->kind == kind);
        connect(action, &QAction::triggered, this,
                [this, date, kind] { setOwnKind(date, kind, {}); });
    }
    const std::string rotation = m_sheet.cells[static_cast<std::size_t>(cell)].shift;
    addShiftMenu(menu, date, OwnDayKind::Swap, rotation);
    addShiftMenu(menu, date, OwnDayKind::Extra, rotation);
    QAction* note = menu->addAction(QStringLiteral("Note..."));
    note->setObjectName(QStringLiteral("OwnNote"));
    connect(note, &QAction::triggered, this, [this, date] { askOwnNote(date); });
    menu->addSeparator();
    QAction* clear = menu->addAction(QStringLiteral("Clear"));
    clear->setObjectName(QStringLiteral("OwnClear"));
    clear->setEnabled(current != nullptr);
    connect(clear, &QAction::triggered, this, [this, date] {
        changeOwnDay(date, [](const auto&) { return std::optional<OwnDay>(); });
    });
    return menu;
}

QMenu* Form1::dayMenu(int cell) {
    QMenu* menu = dayEntriesMenu(cell, this);
    if (menu && !m_ownDays.refusal()) {
        addOwnDaysSummary(menu);
    }
    return menu;
}

QMenu* Form1::keyboardDayMenu() {
    auto days = std::make_unique<QMenu>(this);
    days->setObjectName(QStringLiteral("KeyboardDayMenu"));
    for (int cell = 0; cell < SheetModel::kCellCount; ++cell) {
        QMenu* day = dayEntriesMenu(cell, days.get());
        if (!day) {
            continue;
        }
        if (m_ownDays.refusal()) {
            // The one line that says why is the same on every day.
            day->setParent(this, day->windowFlags());
            return day;
        }
        const DayCell& shown = m_sheet.cells[static_cast<std::size_t>(cell)];
        day->setTitle(m_ui->sheetView->cellName(cell));
        day->setObjectName(QStringLiteral("Day") + fromCore(shown.dayNumber));
        QAction* entry = days->addMenu(day);
        if (dateOfCell(cell) == m_services.today()) {
            days->setActiveAction(entry);
        }
    }
    if (days->actions().isEmpty()) {
        return nullptr;
    }
    addOwnDaysSummary(days.get());
    return days.release();
}

void Form1::contextMenuEvent(QContextMenuEvent* event) {
    // A window system's menu key reaches the window where the control with the focus has no
    // menu of its own; a mouse reaches a day through the sheet.
    if (event->reason() == QContextMenuEvent::Mouse || !openKeyboardDayMenu()) {
        event->ignore();
        return;
    }
    event->accept();
}

bool Form1::openKeyboardDayMenu() {
    // The menu key may come both as a key and as the window system's menu request: one menu.
    if (QApplication::activePopupWidget()) {
        return true;
    }
    QMenu* menu = keyboardDayMenu();
    if (!menu) {
        return false;
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const QRect sheet = m_ui->sheetView->geometry();
    menu->popup(mapToGlobal(sheet.topLeft() + QPoint(sheet.width() / 4, sheet.height() / 4)),
                menu->activeAction());
    return true;
}

void Form1::addOwnDaysSummary(QMenu* menu) {
    // Offered where the user keeps own days and they show: once the first one is entered.
    if (!ownDaysShown() || !m_ownDays.hasFile() || !m_sheet.title) {
        return;
    }
    menu->addSeparator();
    QAction* summary =
        menu->addAction(kSummaryEntry.arg(LocaleServices::formatMonthTitle(*m_sheet.title)));
    summary->setObjectName(QStringLiteral("OwnSummary"));
    connect(summary, &QAction::triggered, this, &Form1::showOwnDaysSummary);
}

void Form1::showOwnDaysSummary() {
    if (!m_sheet.title) {
        return;
    }
    const MonthYear month = *m_sheet.title;
    const auto [first, last] = monthSpan(month);
    const OwnDays& entries = m_ownDays.entries();
    const DaySerial yearFirst = DateFromParts(month.year, 1, 1);
    const DaySerial yearLast = DateFromParts(month.year, 12, 31);
    const QString crew = fromCore(CrewCaptionText(m_singleCrew).value_or(std::string()))
                             .replace(QLatin1Char('\n'), QLatin1Char(' '));
    m_services.inform(
        this,
        QStringLiteral("%1\n\n%2: %3\n\n%4: %5")
            .arg(crew, LocaleServices::formatMonthTitle(month),
                 fromCore(summarySentence(summariseOwnDays(m_singleCrew, first, last, entries))),
                 QString::number(month.year),
                 fromCore(summarySentence(
                     summariseOwnDays(m_singleCrew, yearFirst, yearLast, entries)))));
}

void Form1::showDayMenu(int cell, QPoint position) {
    // The menu key may come both as a key and as the window system's menu request: one menu.
    if (QApplication::activePopupWidget()) {
        return;
    }
    QMenu* menu = dayMenu(cell);
    if (!menu) {
        return;
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(position);
}

const OwnDays* Form1::ownDaysToExport(ChooserTarget target) {
    if (target != ChooserTarget::Single || !ownDaysShown() || m_ownDays.entries().empty()) {
        return nullptr;
    }
    return &m_ownDays.entries();
}

} // namespace kelsing
