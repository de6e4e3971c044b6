// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/outputfile.h"

#include <QFileInfo>
#include <QSaveFile>

namespace kelsing {

OutputFile::OutputFile(const QString& path)
    : m_path(path) {
}

// A QSaveFile destroyed before its commit removes its temporary copy.
OutputFile::~OutputFile() = default;

bool OutputFile::open() {
    const QFileInfo target(m_path);
    if (target.exists() && !target.isFile() && !target.isDir()) {
        m_file = std::make_unique<QFile>(m_path);
    } else {
        m_file = std::make_unique<QSaveFile>(m_path);
    }
    if (!m_file->open(QIODevice::WriteOnly)) {
        m_error = m_file->errorString();
        return false;
    }
    return true;
}

bool OutputFile::write(const char* data, qint64 size) {
    if (m_file->write(data, size) != size) {
        m_error = m_file->errorString();
        return false;
    }
    return true;
}

bool OutputFile::commit() {
    bool written = false;
    if (auto* copy = qobject_cast<QSaveFile*>(m_file.get())) {
        written = copy->commit();
    } else {
        // A device such as a full disk reports its failure when the last bytes go out.
        written = m_file->flush() && m_file->error() == QFileDevice::NoError;
    }
    if (!written) {
        m_error = m_file->errorString();
    }
    if (m_file->isOpen()) {
        m_file->close();
    }
    return written;
}

void OutputFile::discard() {
    if (auto* copy = qobject_cast<QSaveFile*>(m_file.get())) {
        copy->cancelWriting();
        copy->commit(); // removes the temporary copy and leaves the named file as it was
    } else if (m_file && m_file->isOpen()) {
        m_file->close();
    }
}

} // namespace kelsing
