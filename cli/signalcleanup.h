// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <signal.h>
#include <string>

namespace kelsing::cli {

/// Holds back SIGINT, SIGTERM, SIGHUP and SIGPIPE for its lifetime, so that a step such as the
/// rename of a finished file is done whole before one of them can end the process.
class SignalsHeld {
public:
    SignalsHeld();
    ~SignalsHeld();
    SignalsHeld(const SignalsHeld&) = delete;
    SignalsHeld& operator=(const SignalsHeld&) = delete;

private:
    sigset_t m_before; // the mask to restore, which may hold some of them back already
};

/// Creates a temporary file from `pattern`, whose name ends in XXXXXX as mkstemp takes it, and
/// returns its descriptor (-1 with errno set on failure). Until forgetTemporary(), SIGINT,
/// SIGTERM, SIGHUP and SIGPIPE remove the file before they end the process as they would have;
/// a signal the process ignores stays ignored. One such file at a time.
int createRemovedOnSignal(std::string& pattern);

/// Stops removing the temporary file on a signal: call it, with the signals held, once the file
/// has taken its place or is removed.
void forgetTemporary();

} // namespace kelsing::cli
