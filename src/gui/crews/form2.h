// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "crews/chooserhost.h"
#include "crews/crewcode.h"
#include "platform/twips.h"

#include <array>
#include <span>

#include <QFont>
#include <QPoint>
#include <QString>
#include <QWidget>

namespace kelsing {

class Label;

/// The crew chooser: a popup over the main window in which the user picks an employer, a crew
/// or crew group and a group member for one crew box. It lives for one opening only and
/// closes, changing nothing, when the user clicks anywhere else.
class Form2 final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Form2)

public:
    static constexpr int kEmployerEntries = 11;
    static constexpr int kListEntries = 10;

    // Sizes and offsets in twips; the offsets are from the main window's outer corner at factor 1.
    static constexpr int kTwoColumnWidth = 2436;
    static constexpr int kThreeColumnWidth = 3654;
    static constexpr int kClientHeight = 2805;
    static constexpr int kTwoColumnLeft = 2430;
    static constexpr int kThreeColumnLeft = 1770;
    static constexpr int kTop = 2800;

    /// A connector line between two points in twips of the client area.
    struct ConnectorLine {
        bool visible = false;
        QPoint from;
        QPoint to;
    };

    /// The connector lines that draw the chosen path as a small tree.
    struct Lines {
        std::array<ConnectorLine, kEmployerEntries> Line2; // employer stubs
        ConnectorLine Line1;                               // crew trunk
        std::array<ConnectorLine, kListEntries> Line8;     // crew stubs
        std::array<ConnectorLine, kListEntries> Line4;     // group stubs
        ConnectorLine Line3;                               // member trunk
        std::array<ConnectorLine, kListEntries> Line5;     // member stubs
    };

    /// The window caption that names a target ("Choose Crew", "Choose Left Side Crew", ...).
    static QString targetCaption(ChooserTarget target);

    /// Creates a fresh chooser for one crew box of the host, greys what the target cannot take
    /// and shows it; it deletes itself when it closes.
    static Form2* open(ChooserHost& host, ChooserTarget target);

    /// Stops watching the program's mouse presses.
    ~Form2() override;

    /// A click on employer entry `slot` shows that employer's crew list.
    void Label1_Click(int slot);

    /// A click on crew-list entry `position` chooses a crew or shows a group's members.
    void Label2_Click(int position);

    /// A click on member entry `member` chooses that member.
    void Label4_Click(int member);

    /// The connector lines as they are drawn.
    const Lines& lines() const { return m_lines; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    explicit Form2(ChooserHost& host);

    Label* makeEntry(const QString& name, int left, int width, int index);
    void place(int leftOffset, int outerWidth);
    int leftFor(int leftOffset) const;
    int top() const;
    void applyWidth();
    void setBold(Label* entry, bool bold);
    void setCaption(Label* entry, const QString& caption);
    void handBack(CrewCode code, const QString& caption);
    std::span<Label* const> focusedColumn(int* index) const;
    void focusFirstOf(std::span<Label* const> column);
    bool moveFocus(int key);
    void goBack(std::span<Label* const> column);

    ChooserHost& m_host;
    Twips m_twips;
    QFont m_font;
    QFont m_boldFont;
    int m_employerStretch = 100; // the one face of every employer, in percent of the normal width
    std::array<Label*, kEmployerEntries> m_employers{};
    std::array<Label*, kListEntries> m_crews{};
    std::array<Label*, kListEntries> m_members{};
    Label* m_caption = nullptr;
    Lines m_lines;
    int m_chosenSlot = 0;  // the chosen employer slot (the hidden Label3)
    int m_chosenGroup = 0; // the chosen crew-list position (the hidden Label5)
    int m_outerWidth = kTwoColumnWidth;
    bool m_closing = false;
};

} // namespace kelsing
