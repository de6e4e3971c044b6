// SPDX-License-Identifier: GPL-3.0-or-later
#include "subscribe/subscribedialog.h"

#include "export/calendarname.h"
#include "feeds/feedaddress.h"
#include "feeds/subscribesteps.h"
#include "platform/coretext.h"
#include "platform/fonts.h"
#include "subscribe/qrcodeview.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace kelsing {

namespace {

// Wide enough for an address on the built-in host, narrow enough for the designed window.
constexpr int kTextWidthTwips = 6000;

QLabel* wrappedLabel(const QString& text, const Twips& twips, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    // Core text is plain text, never markup.
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setFixedWidth(twips.px(kTextWidthTwips));
    return label;
}

} // namespace

SubscribeDialog::SubscribeDialog(const QString& crewName, const QString& address,
                                 const Twips& twips, QWidget* parent)
    : QDialog(parent)
    , m_address(address) {
    setObjectName(QStringLiteral("SubscribeDialog"));
    setWindowTitle(QStringLiteral("Subscribe on your phone"));
    setFont(Fonts::platformFont(Fonts::kDefault, twips));

    auto* heading = wrappedLabel(crewName, twips, this);
    heading->setFont(Fonts::platformFont(Fonts::kDefault, twips, true));
    auto* intro = wrappedLabel(
        QStringLiteral("A phone or desktop calendar subscribed to this address keeps the crew's "
                       "shifts current by itself."),
        twips, this);
    m_addressField = new QLineEdit(address, this);
    m_addressField->setObjectName(QStringLiteral("FeedAddress"));
    m_addressField->setAccessibleName(QStringLiteral("Feed address"));
    m_addressField->setReadOnly(true);
    auto* copy = new QPushButton(QStringLiteral("&Copy"), this);
    copy->setObjectName(QStringLiteral("CopyAddress"));
    copy->setAutoDefault(false);
    connect(copy, &QPushButton::clicked, this, &SubscribeDialog::copyAddress);
    auto* code = new QrCodeView(QrCode::encode(address.toStdString()), twips, this);
    code->setObjectName(QStringLiteral("QrCode"));
    code->setAccessibleName(QStringLiteral("QR code of the feed address"));
    code->setAccessibleDescription(address);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* addressRow = new QHBoxLayout;
    addressRow->addWidget(m_addressField, 1);
    addressRow->addWidget(copy);
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(heading);
    layout->addWidget(intro);
    layout->addLayout(addressRow);
    layout->addWidget(code, 0, Qt::AlignHCenter);
    for (const SubscribeStep& step : subscribeSteps()) {
        layout->addWidget(wrappedLabel(
            fromCore(step.device) + QStringLiteral(": ") + fromCore(step.how), twips, this));
    }
    layout->addWidget(buttons);
    // Selected, so that Ctrl+C copies it at once.
    m_addressField->setFocus();
    m_addressField->selectAll();
}

SubscribeDialog* SubscribeDialog::showFor(QWidget* window, const Twips& twips,
                                          const QUrl& feedFolder, CrewCode code) {
    const std::string folder = feedFolder.toString().toStdString();
    const QString address = fromCore(subscriptionAddress(crewFeedAddress(folder, code)));
    auto* dialog = new SubscribeDialog(fromCore(crewCalendarName(code)), address, twips, window);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
    return dialog;
}

void SubscribeDialog::copyAddress() {
    QGuiApplication::clipboard()->setText(m_address);
    m_addressField->setFocus();
    m_addressField->selectAll();
}

} // namespace kelsing
