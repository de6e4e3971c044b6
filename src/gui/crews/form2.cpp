// SPDX-License-Identifier: GPL-3.0-or-later
#include "crews/form2.h"

#include "crews/crewcatalogue.h"
#include "platform/coretext.h"
#include "platform/fonts.h"
#include "platform/label.h"
#include "platform/windowaccessible.h"

#include <algorithm>

#include <QApplication>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcut>
#include <QUtf8StringView>
#include <QWindow>

namespace kelsing {

namespace {

const QColor kBackground(192, 192, 255);
const QColor kGreyedText(128, 128, 128);
const QColor kCaptionText(0, 0, 128);
const QColor kOutline(64, 64, 128);
// The space kept free of lines after a caption.
constexpr int kCaptionGapPixels = 2;
// The narrowest a caption is condensed to fit its entry, in percent of the normal width.
constexpr int kNarrowestStretch = 70;

// Columns in twips of the client area; entry i of a column sits at top 120 + 240 i.
constexpr int kEmployerLeft = 0;
constexpr int kEmployerWidth = 1095;
constexpr int kCrewLeft = 1440;
constexpr int kCrewWidth = 1092;
constexpr int kMemberLeft = 2640;
constexpr int kMemberWidth = 855;
constexpr int kEntryTop = 120;
constexpr int kEntryPitch = 240;
constexpr int kEntryHeight = 255;
// The caption's strip: below entry 9, the last of the longest lists, and beside the two empty
// employer slots, so it lies in no column of any state.
constexpr int kCaptionLeft = 60;
constexpr int kCaptionTop = kEntryTop + kEntryPitch * 9 + kEntryHeight;

// The tree: horizontal lines run through the middle of entry i, at y = 240 + 240 i.
constexpr int kLineTop = 240;
constexpr int kCrewTrunkX = 1200;
constexpr int kCrewStubEnd = 1320;
constexpr int kMemberTrunkX = 2400;
constexpr int kMemberStubEnd = 2520;
constexpr int kCrewTrunkStart = 1200;   // the crew trunk's end before an employer sets it
constexpr int kMemberTrunkStart = 1680; // the member trunk's end before a group sets it

// Where each employer stub starts: just after the employer's caption.
constexpr std::array<int, Form2::kEmployerEntries> kEmployerStubStart = {
    600, 600, 600, 600, 600, 1080, 600, 840, 840, 960, 840};

// Where the crew trunk ends for each employer; slots without crews are never chosen.
constexpr std::array<int, Form2::kEmployerEntries> kCrewTrunkEnd = {
    1200, 1200, 1200, 1200, 1200, 1200, 1680, 1920, 2160, 1200, 1200};

// Where the member trunk ends for each crew group of the two grouped employers.
constexpr int kHalvexSlot = 6;
constexpr int kCorvathSlot = 7;
constexpr std::array<int, 7> kHalvexMemberTrunkEnd = {1200, 1440, 1200, 960, 1200, 1440, 1680};
constexpr std::array<int, 5> kCorvathMemberTrunkEnd = {1200, 480, 720, 1200, 2400};

// The crew entry whose greying depends on the view: an all-crews entry on a flat list.
constexpr int kViewDependentEntry = 4;
// The last crew entry, an all-crews entry of the longest list; greyed only at opening.
constexpr int kLastEntry = 9;

constexpr int lineY(int i) {
    return kLineTop + kEntryPitch * i;
}

int memberTrunkEnd(int slot, int group) {
    const auto at = [group](const auto& ends) {
        return group >= 0 && group < static_cast<int>(ends.size())
                   ? ends[static_cast<std::size_t>(group)]
                   : kMemberTrunkStart;
    };
    if (slot == kHalvexSlot) {
        return at(kHalvexMemberTrunkEnd);
    }
    if (slot == kCorvathSlot) {
        return at(kCorvathMemberTrunkEnd);
    }
    return kMemberTrunkStart;
}

// The stretch of the one face of every employer: the widest at which each caption, bold as when it
// is chosen, ends before its stub starts, as with the designed font, so that the stub, which keeps
// clear of the caption, is drawn whole from its designed start.
int employerStretch(const Twips& twips, QFont bold) {
    int stretch = 100;
    for (int slot = 0; slot < Form2::kEmployerEntries; ++slot) {
        const QString caption = fromCore(CrewCatalogue::employer(slot).listCaption);
        const int room = std::min(twips.px(kEmployerWidth),
                                  twips.px(kEmployerStubStart[static_cast<std::size_t>(slot)]) -
                                      kCaptionGapPixels - twips.px(kEmployerLeft));
        // Glyph widths round to whole pixels, so the width is measured at every step.
        while (stretch > kNarrowestStretch &&
               QFontMetrics(bold).horizontalAdvance(caption) > room) {
            bold.setStretch(--stretch);
        }
    }
    return stretch;
}

} // namespace

QString Form2::targetCaption(ChooserTarget target) {
    switch (target) {
    case ChooserTarget::Single:
        return QStringLiteral("Choose Crew");
    case ChooserTarget::Left:
        return QStringLiteral("Choose Left Side Crew");
    case ChooserTarget::Right:
        break;
    }
    return QStringLiteral("Choose Right Side Crew");
}

Form2::Form2(ChooserHost& host)
    // A popup of the main window: placed against it on every platform (an xdg_popup on
    // Wayland, which places no top-level window where it is asked), no taskbar entry, and
    // closed by Qt on a press outside it, in another program or on the desktop too.
    : QWidget(host.chooserParent(), Qt::Popup)
    , m_host(host)
    , m_twips(host.twips())
    , m_font(Fonts::platformFont(Fonts::kDefault, m_twips))
    , m_boldFont(Fonts::platformFont(Fonts::kDefault, m_twips, true))
    , m_employerStretch(employerStretch(m_twips, m_boldFont)) {
    // A dialog named by its caption, in the program's tree while it shows.
    WindowAccessible::setRole(this, QAccessible::Dialog);
    setObjectName(QStringLiteral("Form2"));
    setAttribute(Qt::WA_DeleteOnClose);
    // The platform's own greyed text is too faint on the window's light background.
    QPalette greyed = palette();
    greyed.setColor(QPalette::Disabled, QPalette::Text, kGreyedText);
    greyed.setColor(QPalette::Disabled, QPalette::WindowText, kGreyedText);
    setPalette(greyed);

    for (int slot = 0; slot < kEmployerEntries; ++slot) {
        const Employer& employer = CrewCatalogue::employer(slot);
        Label* entry =
            makeEntry(QStringLiteral("Label1_%1").arg(slot), kEmployerLeft, kEmployerWidth, slot);
        m_employers[static_cast<std::size_t>(slot)] = entry;
        entry->setAccessibleDescription(QStringLiteral("Employer; shows its crews"));
        setCaption(entry, fromCore(employer.listCaption));
        entry->setEnabled(employer.selectable);
        connect(entry, &Label::clicked, this, [this, slot] { Label1_Click(slot); });
        m_lines.Line2[static_cast<std::size_t>(slot)] = {
            false,
            {kEmployerStubStart[static_cast<std::size_t>(slot)], lineY(slot)},
            {kCrewTrunkX, lineY(slot)}};
    }
    for (int i = 0; i < kListEntries; ++i) {
        const auto at = static_cast<std::size_t>(i);
        m_crews[at] = makeEntry(QStringLiteral("Label2_%1").arg(i), kCrewLeft, kCrewWidth, i);
        m_members[at] = makeEntry(QStringLiteral("Label4_%1").arg(i), kMemberLeft, kMemberWidth, i);
        m_crews[at]->hide();
        m_members[at]->hide();
        m_members[at]->setAccessibleDescription(QStringLiteral("Crew; chooses it"));
        connect(m_crews[at], &Label::clicked, this, [this, i] { Label2_Click(i); });
        connect(m_members[at], &Label::clicked, this, [this, i] { Label4_Click(i); });
        m_lines.Line8[at] = {false, {kCrewTrunkX, lineY(i)}, {kCrewStubEnd, lineY(i)}};
        // The first two crew-list captions are short, so their stubs can start further left.
        m_lines.Line4[at] = {false, {i < 2 ? 2160 : 2280, lineY(i)}, {kMemberTrunkX, lineY(i)}};
        m_lines.Line5[at] = {false, {kMemberTrunkX, lineY(i)}, {kMemberStubEnd, lineY(i)}};
    }
    m_lines.Line1 = {false, {kCrewTrunkX, kLineTop}, {kCrewTrunkX, kCrewTrunkStart}};
    m_lines.Line3 = {false, {kMemberTrunkX, kLineTop}, {kMemberTrunkX, kMemberTrunkStart}};

    // A popup has no title bar, so the target is named in the strip below the longest lists.
    m_caption = new Label(QStringLiteral("Caption"), this);
    QFont captionFont = m_font;
    captionFont.setItalic(true);
    m_caption->setFont(captionFont);
    m_caption->setTextColor(kCaptionText);
    m_caption->setGeometry(
        m_twips.rect(kCaptionLeft, kCaptionTop, kTwoColumnWidth - 2 * kCaptionLeft, kEntryHeight));

    m_outerWidth = kTwoColumnWidth;
    applyWidth();
    move(leftFor(kTwoColumnLeft), top());

    // Any press outside the chooser, in any window of the program, closes it; so does Escape.
    // Qt closes a popup itself when the user turns to another window or another program.
    qApp->installEventFilter(this);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &QWidget::close);
}

Form2::~Form2() {
    qApp->removeEventFilter(this);
}

Form2* Form2::open(ChooserHost& host, ChooserTarget target) {
    auto* chooser = new Form2(host);
    chooser->setWindowTitle(targetCaption(target));
    chooser->m_caption->setText(chooser->windowTitle());
    // The side-by-side sheets have no room for the all-crews lines of these two entries.
    const bool single = chooser->windowTitle() == targetCaption(ChooserTarget::Single);
    chooser->m_crews[kViewDependentEntry]->setEnabled(single);
    chooser->m_crews[kLastEntry]->setEnabled(single);
    // The first employer takes the keys; it shows so at once when the keyboard opened the
    // chooser.
    chooser->focusFirstOf(chooser->m_employers);
    if (const QWidget* parent = host.chooserParent()) {
        chooser->setAttribute(Qt::WA_KeyboardFocusChange,
                              parent->window()->testAttribute(Qt::WA_KeyboardFocusChange));
    }
    const QPoint place = chooser->pos();
    chooser->show();
    // A platform may count a frame, which a popup does not have, when it first places it.
    chooser->move(place);
    return chooser;
}

Label* Form2::makeEntry(const QString& name, int left, int width, int index) {
    auto* entry = new Label(name, this);
    entry->setAccessibleRole(QAccessible::ListItem);
    entry->setFocusPolicy(Qt::TabFocus);
    entry->setTwips(m_twips); // the width of its focus frame
    entry->setFont(m_font);
    entry->setGeometry(m_twips.rect(left, kEntryTop + kEntryPitch * index, width, kEntryHeight));
    return entry;
}

void Form2::place(int leftOffset, int outerWidth) {
    m_outerWidth = outerWidth;
    applyWidth();
    const int left = leftFor(leftOffset);
    const bool moves = left != pos().x();
    move(left, pos().y());
    // A Wayland compositor places a popup only when it maps it, so a moved chooser maps anew.
    if (moves && isVisible() &&
        QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        hide();
        show();
    }
}

// The designed offsets count from the main window's outer corner, whose frame and title bar keep
// their size in device pixels at every factor: they are taken off as at factor 1 (15 twips a
// device pixel), and the rest scales with the content, so that the chooser stands where it stands
// at factor 1 over the sheet and the crew boxes.
int Form2::leftFor(int leftOffset) const {
    const int frame = static_cast<int>(m_host.frameSize().x() * Twips::kTwipsPerPixel);
    return m_host.contentPosition().x() + m_twips.px(leftOffset - frame);
}

int Form2::top() const {
    const int frame = static_cast<int>(m_host.frameSize().y() * Twips::kTwipsPerPixel);
    // Never over the crew box it serves, which the designed place would be in a window with a
    // title bar lower than 14 pixels, or none.
    const int clear = m_host.crewBoxTop() - m_twips.px(kClientHeight);
    return m_host.contentPosition().y() + std::min(m_twips.px(kTop - frame), clear);
}

void Form2::applyWidth() {
    // The widths are outer widths; the frame counts once the platform reports it.
    const int frame = frameGeometry().width() - geometry().width();
    setFixedSize(m_twips.px(m_outerWidth) - frame, m_twips.px(kClientHeight));
}

void Form2::setBold(Label* entry, bool bold) {
    QFont font = bold ? m_boldFont : m_font;
    if (std::find(m_employers.cbegin(), m_employers.cend(), entry) != m_employers.cend()) {
        // Every employer in one face, however long its caption.
        if (m_employerStretch < 100) {
            font.setStretch(m_employerStretch);
        }
        entry->setFont(font);
        return;
    }
    // The captions were fitted to the designed font; a wider substitute is condensed to fit.
    const int room = entry->width();
    const int width = QFontMetrics(font).horizontalAdvance(entry->text());
    if (width > room) {
        // Glyph widths round to whole pixels, so the first estimate may still be too wide.
        int stretch = 100 * room / width;
        do {
            font.setStretch(std::max(kNarrowestStretch, stretch--));
        } while (stretch >= kNarrowestStretch &&
                 QFontMetrics(font).horizontalAdvance(entry->text()) > room);
    }
    entry->setFont(font);
}

void Form2::setCaption(Label* entry, const QString& caption) {
    entry->setText(caption);
    setBold(entry, entry->font().bold());
}

void Form2::Label1_Click(int slot) {
    m_chosenSlot = slot;
    for (int i = 0; i < kEmployerEntries; ++i) {
        setBold(m_employers[static_cast<std::size_t>(i)], false);
        m_lines.Line2[static_cast<std::size_t>(i)].visible = false;
    }
    for (int i = 0; i < kListEntries; ++i) {
        const auto at = static_cast<std::size_t>(i);
        m_crews[at]->hide();
        setBold(m_crews[at], false);
        m_lines.Line8[at].visible = false;
        m_lines.Line4[at].visible = false;
        m_lines.Line5[at].visible = false;
    }
    // The member entries lie outside the narrowed window, but the member trunk would sit on
    // its right edge when the platform draws no frame.
    m_lines.Line3.visible = false;
    m_lines.Line1.to.setY(kCrewTrunkStart);
    place(kTwoColumnLeft, kTwoColumnWidth);

    setBold(m_employers[static_cast<std::size_t>(slot)], true);
    m_lines.Line1.visible = true;
    m_lines.Line2[static_cast<std::size_t>(slot)].visible = true;

    const Employer& employer = CrewCatalogue::employer(slot);
    Label* viewDependent = m_crews[kViewDependentEntry];
    if (employer.kind == EmployerKind::Flat &&
        employer.crews.size() > static_cast<std::size_t>(kViewDependentEntry) &&
        employer.crews[kViewDependentEntry].allCrews) {
        if (m_host.sideBySideShowing()) {
            viewDependent->setEnabled(false);
        }
    } else {
        viewDependent->setEnabled(true);
    }
    const int count = CrewCatalogue::crewListSize(employer);
    for (int i = 0; i < count && i < kListEntries; ++i) {
        const auto at = static_cast<std::size_t>(i);
        const std::string_view caption = employer.kind == EmployerKind::Grouped
                                             ? employer.groups[at].caption
                                             : employer.crews[at].caption;
        setCaption(m_crews[at], fromCore(caption));
        m_crews[at]->setAccessibleDescription(employer.kind == EmployerKind::Grouped
                                                  ? QStringLiteral("Crew group; shows its crews")
                                                  : QStringLiteral("Crew; chooses it"));
        m_crews[at]->show();
        m_lines.Line8[at].visible = true;
    }
    m_lines.Line1.to.setY(kCrewTrunkEnd[static_cast<std::size_t>(slot)]);
    update();
    focusFirstOf(m_crews);
}

void Form2::Label2_Click(int position) {
    const CrewCode code = CrewCatalogue::flatCrewCode(m_chosenSlot, position);
    m_chosenGroup = position;
    for (int i = 0; i < kListEntries; ++i) {
        const auto at = static_cast<std::size_t>(i);
        setBold(m_crews[at], false);
        m_members[at]->hide();
        m_members[at]->setEnabled(true);
        m_lines.Line4[at].visible = false;
        m_lines.Line5[at].visible = false;
    }
    m_lines.Line3.visible = false;

    const Employer& employer = CrewCatalogue::employer(m_chosenSlot);
    if (employer.kind != EmployerKind::Grouped) {
        handBack(code, m_crews[static_cast<std::size_t>(position)]->text());
        return;
    }
    setBold(m_crews[static_cast<std::size_t>(position)], true);
    m_lines.Line3.visible = true;
    m_lines.Line3.to.setY(kMemberTrunkStart);
    m_lines.Line4[static_cast<std::size_t>(position)].visible = true;
    place(kThreeColumnLeft, kThreeColumnWidth);

    const CrewGroup& group = employer.groups[static_cast<std::size_t>(position)];
    if (m_host.sideBySideShowing()) {
        for (std::size_t m = 0; m < group.members.size() && m < kListEntries; ++m) {
            if (group.members[m].allCrews) {
                m_members[m]->setEnabled(false);
            }
        }
    }
    for (std::size_t m = 0; m < group.members.size() && m < kListEntries; ++m) {
        m_lines.Line5[m].visible = true;
        setCaption(m_members[m], fromCore(group.members[m].caption));
        m_members[m]->show();
    }
    m_lines.Line3.to.setY(memberTrunkEnd(m_chosenSlot, position));
    update();
    focusFirstOf(m_members);
}

void Form2::Label4_Click(int member) {
    handBack(CrewCatalogue::memberCrewCode(m_chosenSlot, m_chosenGroup, member),
             m_members[static_cast<std::size_t>(member)]->text());
}

void Form2::handBack(CrewCode code, const QString& caption) {
    const QString boxText =
        fromCore(CrewCatalogue::crewBoxText(m_chosenSlot, caption.toStdString()));
    // The caption names the target; each of the three is tested in turn.
    for (const ChooserTarget target :
         {ChooserTarget::Single, ChooserTarget::Left, ChooserTarget::Right}) {
        if (windowTitle() == targetCaption(target)) {
            m_host.setCrew(target, code, boxText);
            m_host.fillFor(target);
        }
    }
    close();
}

bool Form2::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (m_closing || (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick) ||
        !watched->isWindowType()) {
        return false;
    }
    // A press reaches the window it falls in before Qt hands it to the open popup; closed
    // first, the chooser lets it go on to its target, so a crew box click opens a fresh chooser.
    if (watched != static_cast<QObject*>(windowHandle())) {
        close();
        return false;
    }
    // Under a pointer grab (X11) every press comes to the popup; one outside it goes on to the
    // program's window beneath, as it does elsewhere. A press elsewhere on the desktop is spent.
    const auto* press = static_cast<QMouseEvent*>(event);
    const QPointF global = press->globalPosition();
    if (frameGeometry().contains(global.toPoint())) {
        return false;
    }
    close();
    if (QWindow* beneath = QGuiApplication::topLevelAt(global.toPoint())) {
        const QPointF local = beneath->mapFromGlobal(global);
        QMouseEvent passedOn(type, local, local, global, press->button(), press->buttons(),
                             press->modifiers());
        QCoreApplication::sendEvent(beneath, &passedOn);
    }
    return true;
}

void Form2::showEvent(QShowEvent* event) {
    applyWidth();
    QWidget::showEvent(event);
}

void Form2::closeEvent(QCloseEvent* event) {
    m_closing = true;
    qApp->removeEventFilter(this);
    event->accept();
}

void Form2::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kBackground);
    // A line never runs through a caption, which may be wider than the designed font made it.
    QRegion lineArea(rect());
    const auto keepClear = [&lineArea](const auto& column) {
        for (const Label* entry : column) {
            if (!entry->isHidden() && !entry->text().isEmpty()) {
                const int width = QFontMetrics(entry->font()).horizontalAdvance(entry->text());
                lineArea -=
                    QRect(entry->x(), entry->y(), width + kCaptionGapPixels, entry->height());
            }
        }
    };
    keepClear(m_employers);
    keepClear(m_crews);
    keepClear(m_members);
    painter.setClipRegion(lineArea);
    painter.setPen(QPen(Qt::black, 0));
    const auto draw = [&](const ConnectorLine& line) {
        if (line.visible) {
            painter.drawLine(m_twips.point(line.from.x(), line.from.y()),
                             m_twips.point(line.to.x(), line.to.y()));
        }
    };
    for (const ConnectorLine& line : m_lines.Line2) {
        draw(line);
    }
    draw(m_lines.Line1);
    for (std::size_t i = 0; i < kListEntries; ++i) {
        draw(m_lines.Line8[i]);
        draw(m_lines.Line4[i]);
        draw(m_lines.Line5[i]);
    }
    draw(m_lines.Line3);

    // A popup has no frame of its own; an outline sets it off from the sheet beneath.
    painter.setClipping(false);
    painter.setPen(QPen(kOutline, 0));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

std::span<Label* const> Form2::focusedColumn(int* index) const {
    for (const std::span<Label* const> column :
         {std::span<Label* const>(m_employers), std::span<Label* const>(m_crews),
          std::span<Label* const>(m_members)}) {
        const auto entry = std::find(column.begin(), column.end(), focusWidget());
        if (entry != column.end()) {
            *index = static_cast<int>(entry - column.begin());
            return column;
        }
    }
    return {};
}

void Form2::focusFirstOf(std::span<Label* const> column) {
    const auto entry = std::find_if(column.begin(), column.end(), [](const Label* candidate) {
        return !candidate->isHidden() && candidate->isEnabled();
    });
    if (entry != column.end()) {
        (*entry)->setFocus(Qt::OtherFocusReason);
    }
}

bool Form2::moveFocus(int key) {
    int index = 0;
    const std::span<Label* const> column = focusedColumn(&index);
    if (column.empty()) {
        return false;
    }
    const int last = static_cast<int>(column.size()) - 1;
    // Where the search starts and which way it goes; greyed and hidden entries are passed by.
    int from = 0;
    int step = 1;
    switch (key) {
    case Qt::Key_Up:
        from = index - 1;
        step = -1;
        break;
    case Qt::Key_Down:
        from = index + 1;
        break;
    case Qt::Key_Home:
        break;
    case Qt::Key_End:
        from = last;
        step = -1;
        break;
    case Qt::Key_Left:
    case Qt::Key_Backspace:
        goBack(column);
        return true;
    default:
        return false;
    }
    for (int i = from; i >= 0 && i <= last; i += step) {
        Label* entry = column[static_cast<std::size_t>(i)];
        if (!entry->isHidden() && entry->isEnabled()) {
            entry->setFocus(Qt::OtherFocusReason);
            break;
        }
    }
    return true;
}

void Form2::goBack(std::span<Label* const> column) {
    // Back where the mouse can go back: the member list goes as with a fresh click on the
    // chosen employer, and the crew list hands the keys to the employers.
    if (column.data() == m_members.data()) {
        const int group = m_chosenGroup;
        Label1_Click(m_chosenSlot);
        m_crews[static_cast<std::size_t>(group)]->setFocus(Qt::OtherFocusReason);
    } else if (column.data() == m_crews.data()) {
        m_employers[static_cast<std::size_t>(m_chosenSlot)]->setFocus(Qt::OtherFocusReason);
    }
}

void Form2::keyPressEvent(QKeyEvent* event) {
    // Return and Space reach the entry with the focus, which clicks itself.
    if ((event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && moveFocus(event->key())) {
        return;
    }
    QWidget::keyPressEvent(event);
}

bool Form2::focusNextPrevChild(bool next) {
    // Tab and Shift+Tab go down and up the column, as the arrows do. An entry hidden with the
    // focus asks too: the click that hides it gives the focus a place of its own afterwards.
    const QWidget* focused = focusWidget();
    if (focused && focused->isVisible()) {
        moveFocus(next ? Qt::Key_Down : Qt::Key_Up);
    }
    return true;
}

} // namespace kelsing
