// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/frmabout.h"

#include "base/version.h"
#include "platform/coretext.h"
#include "platform/fonts.h"
#include "platform/label.h"
#include "platform/pictures.h"
#include "platform/windowaccessible.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QUtf8StringView>

namespace kelsing {

namespace {

// Positions of the controls in twips of the client area.
constexpr TwipsRect kPicture1{120, 240, 780, 780};
constexpr TwipsRect kTitle{1050, 240, 3885, 480};
constexpr TwipsRect kVersion{1050, 780, 3885, 225};
constexpr TwipsRect kDescription{1050, 1125, 3885, 1050};
constexpr TwipsRect kLink{1080, 2160, 3855, 255};
constexpr TwipsRect kDisclaimer{255, 2625, 3870, 825};
constexpr TwipsRect kOK{4245, 2760, 1260, 588};
// The program's icon is a 48 x 48-pixel picture at the top left of its box.
constexpr int kIconTwips = 720;

// The etched rule below the link: a grey line with a white one just below it.
constexpr QPoint kGreyLineFrom{90, 2445};
constexpr QPoint kGreyLineTo{5654, 2445};
constexpr QPoint kWhiteLineFrom{105, 2460};
constexpr QPoint kWhiteLineTo{5654, 2460};

const QColor kLinkColour(0, 0, 192);
const QColor kGreyLine(128, 128, 128);

const QString kDescriptionStart = QStringLiteral(
    "This is a simple program to show the work schedules of the various Kelsing area plant "
    "sites.  If you would like to send a comment to the author or have your plants schedule "
    "added, please send an email to");
const QString kDescriptionEnd = QStringLiteral(" or visit the website at");
const QString kDisclaimerText =
    QStringLiteral("Warning: ...") + QString(62, QLatin1Char(' ')) +
    QStringLiteral("This program is as accurate as the information that was available at the "
                   "time of creation.  Author assumes no responsibility for any errors or "
                   "ommissions.");

// The smallest font that a text is set in when its design font would overflow its box.
constexpr int kMinimumPixels = 8;

// The platform's fonts are often wider and taller than the design's, and the boxes are fixed: a
// text that would overflow its box is set condensed, then smaller, down to a legible minimum.
void fitText(Label* label, Qt::Alignment alignment) {
    const QFont design = label->font();
    const int flags = static_cast<int>(alignment) | Qt::TextWordWrap;
    QFont font = design;
    for (int pixels = design.pixelSize(); pixels >= kMinimumPixels; --pixels) {
        for (const int stretch :
             {static_cast<int>(QFont::Unstretched), static_cast<int>(QFont::SemiCondensed)}) {
            font = design;
            font.setPixelSize(pixels);
            font.setStretch(stretch);
            const QRect needed =
                QFontMetrics(font).boundingRect(label->rect(), flags, label->text());
            if (needed.width() <= label->width() && needed.height() <= label->height()) {
                label->setFont(font);
                return;
            }
        }
    }
    label->setFont(font);
}

Label* makeLabel(QWidget* parent, const QString& name, const QString& text) {
    auto* label = new Label(name, parent);
    label->setWordWrap(true);
    label->setText(text);
    return label;
}

} // namespace

frmAbout::frmAbout(Shell shell, QUrl site, const Twips& twips)
    : QWidget(nullptr, Qt::Dialog)
    , m_shell(std::move(shell))
    , m_site(std::move(site))
    , m_twips(twips) {
    WindowAccessible::setRole(this, QAccessible::Dialog);
    setObjectName(QStringLiteral("frmAbout"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(m_twips.size(kClientArea.width, kClientArea.height));
    buildControls();
    // Tab reaches the link as well as "OK", which has the focus.
    m_ui.Label1->setFocusPolicy(Qt::TabFocus);
    Form_Load();
}

void frmAbout::buildControls() {
    const QFont plain = Fonts::platformFont(Fonts::kDefault, m_twips);
    const QFont bold = Fonts::platformFont(Fonts::kDefault, m_twips, true);

    m_ui.Picture1 = new Label(QStringLiteral("Picture1"), this);
    m_ui.Picture1->setGeometry(m_twips.rect(kPicture1));
    const int iconSide = m_twips.px(kIconTwips);
    QPixmap picture(m_ui.Picture1->size() * devicePixelRatioF());
    picture.setDevicePixelRatio(devicePixelRatioF());
    picture.fill(Qt::transparent);
    {
        QPainter painter(&picture);
        Pictures::programIcon().paint(&painter, QRect(0, 0, iconSide, iconSide));
    }
    m_ui.Picture1->setPixmap(picture);
    m_ui.Picture1->setAccessibleRole(QAccessible::Graphic);
    m_ui.Picture1->setAccessibleName(QStringLiteral("Program icon"));
    m_ui.Picture1->setAccessibleDescription(
        QStringLiteral("A calendar sheet with coloured shift bars"));

    m_ui.lblTitle = makeLabel(this, QStringLiteral("lblTitle"), QString());
    m_ui.lblTitle->setAccessibleDescription(QStringLiteral("Program name"));
    m_ui.lblTitle->setGeometry(m_twips.rect(kTitle));
    m_ui.lblTitle->setFont(bold);

    m_ui.lblVersion = makeLabel(this, QStringLiteral("lblVersion"), QString());
    m_ui.lblVersion->setAccessibleDescription(QStringLiteral("Program version"));
    m_ui.lblVersion->setGeometry(m_twips.rect(kVersion));
    m_ui.lblVersion->setFont(plain);

    m_ui.lblDescription =
        makeLabel(this, QStringLiteral("lblDescription"),
                  kDescriptionStart + QLatin1Char(' ') + fromCore(kAuthorEmail) + kDescriptionEnd);
    m_ui.lblDescription->setAccessibleDescription(
        QStringLiteral("What the program is for and how to reach the author"));
    m_ui.lblDescription->setGeometry(m_twips.rect(kDescription));
    m_ui.lblDescription->setFont(plain);
    fitText(m_ui.lblDescription, Qt::AlignLeft | Qt::AlignTop);

    // The link shows the site without its scheme, which would not fit the box.
    m_ui.Label1 = makeLabel(this, QStringLiteral("Label1"),
                            QLatin1Char(' ') + m_site.authority() + m_site.path());
    m_ui.Label1->setGeometry(m_twips.rect(kLink));
    m_ui.Label1->setFont(bold);
    m_ui.Label1->setUnderline(true);
    m_ui.Label1->setTextColor(kLinkColour);
    m_ui.Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_ui.Label1->setCursor(Qt::PointingHandCursor);
    fitText(m_ui.Label1, Qt::AlignHCenter | Qt::AlignTop);
    m_ui.Label1->setAccessibleRole(QAccessible::Link);
    m_ui.Label1->setAccessibleDescription(
        QStringLiteral("The author's web site; opens it in your browser"));
    connect(m_ui.Label1, &Label::clicked, this, &frmAbout::Label1_Click);

    m_ui.lblDisclaimer = makeLabel(this, QStringLiteral("lblDisclaimer"), kDisclaimerText);
    m_ui.lblDisclaimer->setAccessibleDescription(QStringLiteral("Disclaimer"));
    m_ui.lblDisclaimer->setGeometry(m_twips.rect(kDisclaimer));
    m_ui.lblDisclaimer->setFont(plain);
    fitText(m_ui.lblDisclaimer, Qt::AlignLeft | Qt::AlignTop);

    m_ui.cmdOK = new QPushButton(QStringLiteral("OK"), this);
    m_ui.cmdOK->setObjectName(QStringLiteral("cmdOK"));
    m_ui.cmdOK->setGeometry(m_twips.rect(kOK));
    m_ui.cmdOK->setFont(plain);
    m_ui.cmdOK->setDefault(true);
    m_ui.cmdOK->setAccessibleDescription(QStringLiteral("Closes the about window (Escape)"));
    m_ui.cmdOK->setFocus();
    connect(m_ui.cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &frmAbout::cmdOK_Click);
}

void frmAbout::Form_Load() {
    const QString title = fromCore(kApplicationTitle);
    setWindowTitle(QStringLiteral("About ") + title);
    m_ui.lblVersion->setText(QStringLiteral("Version %1.%2.%3")
                                 .arg(kVersionMajor)
                                 .arg(kVersionMinor)
                                 .arg(kVersionRevision));
    m_ui.lblTitle->setText(title);
}

void frmAbout::Label1_Click() {
    // ShellOpen, and a message with the address when no browser opens it.
    m_shell.openOrTell(this, m_site.toString());
}

void frmAbout::cmdOK_Click() {
    close();
}

void frmAbout::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(kGreyLine);
    painter.drawLine(m_twips.point(kGreyLineFrom.x(), kGreyLineFrom.y()),
                     m_twips.point(kGreyLineTo.x(), kGreyLineTo.y()));
    painter.setPen(Qt::white);
    painter.drawLine(m_twips.point(kWhiteLineFrom.x(), kWhiteLineFrom.y()),
                     m_twips.point(kWhiteLineTo.x(), kWhiteLineTo.y()));
}

} // namespace kelsing
