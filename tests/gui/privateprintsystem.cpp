// SPDX-License-Identifier: GPL-3.0-or-later
#include "privateprintsystem.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>

namespace kelsing {

namespace {

// cups-pdf reads its settings from this folder only: an instance of its own is a file here,
// named after the queue's device address.
const QString kCupsPdfSettings = QStringLiteral("/etc/cups");
const QString kCupsPdfPpd = QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd");
const QString kCupsPdfBackend = QStringLiteral("/usr/lib/cups/backend/cups-pdf");

bool writeFile(const QString& path, const QString& text, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text.toUtf8()) < 0 ||
        !file.flush()) {
        *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace

QString PrivatePrintSystem::cannotStart() {
    if (geteuid() != 0) {
        return QStringLiteral("cupsd and the cups-pdf backend run as root only, and this is not "
                              "root");
    }
    for (const char* tool : {"cupsd", "lpadmin", "lpstat", "cupsreject", "cupsdisable", "gs"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool),
                                           {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin"),
                                            QStringLiteral("/sbin"), QStringLiteral("/bin")})
                .isEmpty()) {
            return QStringLiteral("%1 is not installed (cups, cups-bsd)").arg(QLatin1String(tool));
        }
    }
    if (!QFileInfo::exists(kCupsPdfBackend) || !QFileInfo::exists(kCupsPdfPpd) ||
        !QFileInfo(kCupsPdfSettings).isWritable()) {
        return QStringLiteral("the cups-pdf queue cannot be set up (printer-driver-cups-pdf)");
    }
    return QString();
}

PrivatePrintSystem::PrivatePrintSystem()
    : m_instance(QStringLiteral("kelsing-test-%1").arg(QCoreApplication::applicationPid())) {
    // The filters run as the user lp, which must reach the spool inside.
    QFile::setPermissions(m_folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                               QFile::ReadGroup | QFile::ExeGroup |
                                               QFile::ReadOther | QFile::ExeOther);
    m_pdfConfiguration = kCupsPdfSettings + QStringLiteral("/cups-pdf-%1.conf").arg(m_instance);
    qputenv("CUPS_SERVER", socket().toUtf8());
}

PrivatePrintSystem::~PrivatePrintSystem() {
    stop();
    QFile::remove(m_pdfConfiguration);
    qunsetenv("CUPS_SERVER");
}

QString PrivatePrintSystem::path(const QString& name) const {
    return m_folder.filePath(name);
}

QString PrivatePrintSystem::socket() const {
    return path(QStringLiteral("cups.sock"));
}

QString PrivatePrintSystem::outputFolder() const {
    return path(QStringLiteral("printed"));
}

bool PrivatePrintSystem::writeConfiguration(QString* error) {
    for (const char* folder : {"spool/tmp", "cache", "state", "log", "printed", "cups-pdf"}) {
        QDir().mkpath(path(QString::fromLatin1(folder)));
    }
    const QString files = QStringLiteral("ServerRoot %1\nRequestRoot %1/spool\nCacheDir %1/cache\n"
                                         "StateDir %1/state\nTempDir %1/spool/tmp\n"
                                         "AccessLog %1/log/access_log\nErrorLog %1/log/error_log\n"
                                         "PageLog %1/log/page_log\nServerBin /usr/lib/cups\n"
                                         "DataDir /usr/share/cups\nFileDevice No\n"
                                         "SystemGroup root\n")
                              .arg(m_folder.path());
    const QString server = QStringLiteral("Listen %1\nLogLevel warn\nBrowsing Off\n"
                                          "WebInterface No\nDefaultAuthType None\n"
                                          "<Location />\nOrder allow,deny\nAllow all\n"
                                          "</Location>\n")
                               .arg(socket());
    const QString cupsPdf =
        QStringLiteral("Out %1\nAnonDirName %1\nSpool %2\nLog %3\nGrp root\n")
            .arg(outputFolder(), path(QStringLiteral("cups-pdf")), path(QStringLiteral("log")));
    return writeFile(path(QStringLiteral("cups-files.conf")), files, error) &&
           writeFile(path(QStringLiteral("cupsd.conf")), server, error) &&
           writeFile(m_pdfConfiguration, cupsPdf, error);
}

bool PrivatePrintSystem::start(QString* error) {
    if (m_server) {
        return true;
    }
    if (!m_folder.isValid() || !writeConfiguration(error)) {
        return false;
    }
    m_server = std::make_unique<QProcess>();
    m_server->setProcessChannelMode(QProcess::ForwardedChannels);
    m_server->start(QStringLiteral("cupsd"),
                    {QStringLiteral("-f"), QStringLiteral("-c"), path(QStringLiteral("cupsd.conf")),
                     QStringLiteral("-s"), path(QStringLiteral("cups-files.conf"))});
    const QDeadlineTimer limit(30000);
    while (!limit.hasExpired() && m_server->state() != QProcess::NotRunning) {
        QProcess probe;
        probe.start(QStringLiteral("lpstat"), {QStringLiteral("-r")});
        if (probe.waitForFinished(10000) && probe.readAllStandardOutput().contains("is running")) {
            break;
        }
        QThread::msleep(50);
    }
    if (m_server->state() == QProcess::NotRunning || limit.hasExpired()) {
        *error = QStringLiteral("cupsd did not start");
        stop();
        return false;
    }
    // Set up again at every start: a server stopped in a hurry may not have kept it.
    run(QStringLiteral("lpadmin"),
        {QStringLiteral("-p"), QStringLiteral("PDF"), QStringLiteral("-E"), QStringLiteral("-v"),
         QStringLiteral("cups-pdf:/%1").arg(m_instance), QStringLiteral("-P"), kCupsPdfPpd});
    run(QStringLiteral("lpadmin"), {QStringLiteral("-d"), QStringLiteral("PDF")});
    return true;
}

void PrivatePrintSystem::stop() {
    if (!m_server) {
        return;
    }
    m_server->terminate();
    if (!m_server->waitForFinished(30000)) {
        m_server->kill();
        m_server->waitForFinished(30000);
    }
    m_server.reset();
}

QString PrivatePrintSystem::run(const QString& tool, const QStringList& arguments) {
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        qFatal("%s %s failed: %s", qPrintable(tool), qPrintable(arguments.join(QLatin1Char(' '))),
               process.readAllStandardError().constData());
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace kelsing
