// SPDX-License-Identifier: GPL-3.0-or-later
#include "signalcleanup.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <signal.h>
#include <unistd.h>

namespace kelsing::cli {

namespace {

constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};

// What the handler reads: prepared before it can run, so that it only calls unlink.
char g_temporaryPath[PATH_MAX];
volatile std::sig_atomic_t g_armed = 0;
bool g_installed = false;

sigset_t stopSignals() {
    sigset_t set;
    sigemptyset(&set);
    for (const int signal : kStopSignals) {
        sigaddset(&set, signal);
    }
    return set;
}

extern "C" void removeAndStop(int signal) {
    if (g_armed != 0) {
        ::unlink(g_temporaryPath);
    }
    // Ends the process as the signal would have: it is delivered again, with its default action,
    // as soon as the handler returns and unblocks it.
    struct sigaction defaultAction {};
    defaultAction.sa_handler = SIG_DFL;
    sigemptyset(&defaultAction.sa_mask);
    ::sigaction(signal, &defaultAction, nullptr);
    ::raise(signal);
}

void installHandlers() {
    if (g_installed) {
        return;
    }
    g_installed = true;
    struct sigaction action {};
    action.sa_handler = removeAndStop;
    action.sa_mask = stopSignals();
    for (const int signal : kStopSignals) {
        struct sigaction previous {};
        // A signal that the caller ignores (nohup) or handles stays theirs.
        if (::sigaction(signal, nullptr, &previous) == 0 && previous.sa_handler == SIG_DFL) {
            ::sigaction(signal, &action, nullptr);
        }
    }
}

} // namespace

SignalsHeld::SignalsHeld() {
    const sigset_t set = stopSignals();
    ::sigprocmask(SIG_BLOCK, &set, &m_before);
}

SignalsHeld::~SignalsHeld() {
    ::sigprocmask(SIG_SETMASK, &m_before, nullptr);
}

int createRemovedOnSignal(std::string& pattern) {
    if (pattern.size() >= sizeof g_temporaryPath) {
        errno = ENAMETOOLONG;
        return -1;
    }
    // Held back from the file's creation to the handler's readiness, so that no signal falls
    // between the two and leaves the file behind.
    const SignalsHeld held;
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        return -1;
    }
    std::memcpy(g_temporaryPath, pattern.c_str(), pattern.size() + 1);
    g_armed = 1;
    installHandlers();
    return fd;
}

void forgetTemporary() {
    g_armed = 0;
}

} // namespace kelsing::cli
