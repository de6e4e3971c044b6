// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include <QString>
#include <QUrl>

class QWidget;

namespace kelsing {

/// The system shell's open verb: a web address opens in the user's default browser.
class Shell final {
public:
    /// Hands an address to the system shell; true when it opened it.
    using Opener = std::function<bool(const QUrl&)>;

    /// A shell that opens addresses with `open`; an empty one uses the desktop's browser.
    explicit Shell(Opener open = {});

    /// Asks the shell to open `file`, a web address, when `verb` is "Open" (parameters, folder
    /// and show value mean nothing for a web address); true when the shell took it.
    bool ShellOpen(const QString& file, const QString& verb, const QString& parameters = {},
                   const QString& directory = {}, int show = 0) const;

    /// Opens the web address `file` as ShellOpen does; when no browser opens it, at once or
    /// within a few seconds, tells the user so over `parent`, with the address to copy.
    void openOrTell(QWidget* parent, const QString& file) const;

private:
    // Opens an address; calls its second argument should the opening fail after it started.
    using Launcher = std::function<bool(const QUrl&, const std::function<void()>&)>;

    bool open(const QString& file, const std::function<void()>& failedLater) const;

    Launcher m_open;
};

} // namespace kelsing
