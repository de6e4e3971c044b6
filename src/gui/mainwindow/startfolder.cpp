// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/startfolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace kelsing {

QString startFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    // A desktop names the documents folder whether or not it was ever made; a fresh account or a
    // minimal system often has none.
    if (!documents.isEmpty() && QFileInfo(documents).isDir()) {
        return documents;
    }
    return QDir::homePath();
}

} // namespace kelsing
