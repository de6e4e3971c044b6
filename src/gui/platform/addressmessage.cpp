// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/addressmessage.h"

#include <QMessageBox>
#include <QWidget>

namespace kelsing {

void showAddressNotOpened(QWidget* parent, const QString& address) {
    auto* message = new QMessageBox(QMessageBox::Information, parent->window()->windowTitle(),
                                    QStringLiteral("No web browser could be opened. The web site "
                                                   "is at:\n%1")
                                        .arg(address),
                                    QMessageBox::Ok, parent);
    message->setObjectName(QStringLiteral("AddressNotOpened"));
    // The address is plain text to copy, never markup.
    message->setTextFormat(Qt::PlainText);
    message->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    message->setAttribute(Qt::WA_DeleteOnClose);
    message->open();
}

} // namespace kelsing
