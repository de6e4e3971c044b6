// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace kelsing {

/// A CUPS server of its own for tests and benchmarks: its configuration, socket, spool and logs
/// in a temporary folder, one cups-pdf queue "PDF" as the default, writing into that folder.
/// It puts `CUPS_SERVER` in this process's environment, so that this process and the print
/// tools it runs speak to it, and stops the server when it goes.
class PrivatePrintSystem final {
public:
    /// Why no such server can start here (cupsd and cups-pdf need root, and must be installed);
    /// empty when it can.
    static QString cannotStart();

    PrivatePrintSystem();
    ~PrivatePrintSystem();
    PrivatePrintSystem(const PrivatePrintSystem&) = delete;
    PrivatePrintSystem& operator=(const PrivatePrintSystem&) = delete;

    /// Starts the server (again) and waits until it answers; false, with what it said, when it
    /// does not.
    bool start(QString* error);

    /// Stops the server and waits until it has gone.
    void stop();

    /// Runs one of CUPS's tools (lpadmin, cupsreject, lpstat...) on this server; its output, or
    /// a failed test.
    QString run(const QString& tool, const QStringList& arguments);

    /// Where the queue writes the PDF files it prints.
    QString outputFolder() const;

    /// The server's socket.
    QString socket() const;

private:
    QString path(const QString& name) const;
    bool writeConfiguration(QString* error);

    QTemporaryDir m_folder;
    QString m_instance;
    QString m_pdfConfiguration;
    std::unique_ptr<QProcess> m_server;
};

} // namespace kelsing
