// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/firstframe.h"

#include <cstdio>

#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace kelsing {

namespace {

// Runs a task once, at the first event of a type that an object receives while a condition
// holds; it goes with the object.
class FirstEvent final : public QObject {
public:
    FirstEvent(QObject* watched, QEvent::Type type, std::function<void()> then,
               std::function<bool()> ready = {})
        : QObject(watched)
        , m_watched(watched)
        , m_type(type)
        , m_then(std::move(then))
        , m_ready(std::move(ready)) {
        watched->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_watched && event->type() == m_type && (!m_ready || m_ready())) {
            m_watched->removeEventFilter(this);
            m_then();
            deleteLater();
        }
        return false;
    }

private:
    QObject* m_watched;
    QEvent::Type m_type;
    std::function<void()> m_then;
    std::function<bool()> m_ready;
};

} // namespace

void atFirstExposure(QWidget* window, std::function<void()> then) {
    // The platform window exists once the widget is shown, before it is mapped; its first
    // exposure comes before the first paint.
    new FirstEvent(
        window, QEvent::Show,
        [window, then = std::move(then)] {
            QWindow* platformWindow = window->windowHandle();
            new FirstEvent(platformWindow, QEvent::Expose, then,
                           [platformWindow] { return platformWindow->isExposed(); });
        },
        [window] { return window->windowHandle() != nullptr; });
}

void afterFirstFrame(QWidget* window, std::function<void()> then) {
    // The queued call runs after the whole paint, children included, has been flushed to the
    // screen.
    new FirstEvent(window, QEvent::Paint,
                   [window, then = std::move(then)] { QTimer::singleShot(0, window, then); });
}

void reportFirstFrameIfAsked(QWidget* window) {
    if (qEnvironmentVariableIsSet("KELSING_REPORT_FIRST_FRAME")) {
        afterFirstFrame(window, [] {
            std::fputs("first frame\n", stdout);
            std::fflush(stdout);
        });
    }
}

} // namespace kelsing
