// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/shell.h"
#include "platform/twips.h"

#include <QUrl>
#include <QWidget>

class QPushButton;

namespace kelsing {

class Label;

/// The about window: the program's name and version, what it is for, a disclaimer and a link
/// to the author's web site. It deletes itself when it closes.
class frmAbout final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmAbout)

public:
    static constexpr TwipsRect kClientArea{0, 0, 5730, 3555};

    /// Builds the window, without an owner, and runs Form_Load; `site` is the author's web site
    /// that the link opens through `shell`.
    frmAbout(Shell shell, QUrl site, const Twips& twips = Twips());

    /// Writes the caption, the title and the version line.
    void Form_Load();

    /// The web link opens the author's web site.
    void Label1_Click();

    /// "OK" closes the window.
    void cmdOK_Click();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void buildControls();

    Shell m_shell;
    QUrl m_site;
    Twips m_twips;
    struct Controls {
        Label* Picture1 = nullptr; // the program's icon
        Label* lblTitle = nullptr;
        Label* lblVersion = nullptr;
        Label* lblDescription = nullptr;
        Label* Label1 = nullptr; // the web link
        Label* lblDisclaimer = nullptr;
        QPushButton* cmdOK = nullptr;
    } m_ui;
};

} // namespace kelsing
