// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

#include <QString>

class QFileDevice;

namespace kelsing {

/// A file written whole or not at all. A regular file, new or existing, is written into a
/// temporary copy beside it that takes the name only when committed, so a failure or a stop
/// leaves no part of it and keeps a file that had the name unchanged. A device or a pipe named as
/// the file is written into directly: renaming a copy over it would replace the device itself.
class OutputFile final {
public:
    explicit OutputFile(const QString& path);
    /// Discards what was written unless it was committed.
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    /// Opens the file for writing; false, with errorString(), when it cannot be.
    bool open();

    /// Where the contents go, once open.
    QFileDevice& device() { return *m_file; }

    /// Appends `size` bytes; false, with errorString(), when they do not all go out.
    bool write(const char* data, qint64 size);

    /// Puts the complete file in place; false, with errorString(), when any of it failed.
    bool commit();

    /// Drops what was written: nothing takes the name, and a file that had it keeps it.
    void discard();

    /// What failed, in the words of the system.
    QString errorString() const { return m_error; }

private:
    QString m_path;
    std::unique_ptr<QFileDevice> m_file;
    QString m_error;
};

} // namespace kelsing
