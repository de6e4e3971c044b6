// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "crews/crewcode.h"
#include "platform/twips.h"

#include <QDialog>
#include <QString>

class QLineEdit;
class QUrl;

namespace kelsing {

/// Shows how to subscribe a phone or a desktop calendar to a crew's feed: its address to select
/// or copy, its QR code, and a line each for Android, an iPhone and a desktop calendar.
class SubscribeDialog final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SubscribeDialog)

public:
    /// A dialog for the crew named `crewName` whose feed subscribes at `address`, with fonts and
    /// the QR code at the main window's scale.
    SubscribeDialog(const QString& crewName, const QString& address, const Twips& twips,
                    QWidget* parent = nullptr);

    /// Opens the dialog over `window` for crew `code`, whose feed lies in the folder
    /// `feedFolder` of the author's web site; it deletes itself when closed.
    static SubscribeDialog* showFor(QWidget* window, const Twips& twips, const QUrl& feedFolder,
                                    CrewCode code);

    /// The address shown, which the QR code holds.
    QString address() const { return m_address; }

private:
    void copyAddress();

    QString m_address;
    QLineEdit* m_addressField = nullptr;
};

} // namespace kelsing
