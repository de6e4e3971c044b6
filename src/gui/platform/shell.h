// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include <QString>
#include <QUrl>

namespace kelsing {

/// The system shell's open verb: a web address opens in the user's default browser.
class Shell final {
public:
    /// Hands addresses to the system shell.
    using Opener = std::function<void(const QUrl&)>;

    /// A shell that opens addresses with `open`; an empty one uses the desktop's browser.
    explicit Shell(Opener open = {});

    /// Asks the shell to open `file`, a web address, when `verb` is "Open" (parameters, folder
    /// and show value mean nothing for a web address); true when the shell took it.
    bool ShellOpen(const QString& file, const QString& verb, const QString& parameters = {},
                   const QString& directory = {}, int show = 0) const;

private:
    std::function<bool(const QUrl&)> m_open;
};

} // namespace kelsing
