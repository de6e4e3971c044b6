#include "platform/firstframe.h"

#include <cstdio>

#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace kelsing {

namespace {

// Watches a window's first paint, and runs its task once that paint is done.
class FirstFrameWatch final : public QObject {
public:
    FirstFrameWatch(QWidget* window, std::function<void()> then)
        : QObject(window)
        , m_window(window)
        , m_then(std::move(then)) {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_window && event->type() == QEvent::Paint) {
            m_window->removeEventFilter(this);
            // The queued call runs after the whole paint, children included, has been flushed
            // to the screen.
            QTimer::singleShot(0, this, [this] {
                m_then();
                deleteLater();
            });
        }
        return false;
    }

private:
    QWidget* m_window;
    std::function<void()> m_then;
};

// Watches a window being shown, then its platform window's first exposure, which comes before
// the first paint.
class ExposureWatch final : public QObject {
public:
    ExposureWatch(QWidget* window, std::function<void()> then)
        : QObject(window)
        , m_window(window)
        , m_then(std::move(then)) {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        // The platform window exists once the widget is shown, before it is mapped.
        if (watched == m_window && event->type() == QEvent::Show && m_window->windowHandle()) {
            m_window->removeEventFilter(this);
            m_window->windowHandle()->installEventFilter(this);
        } else if (watched == m_window->windowHandle() && event->type() == QEvent::Expose &&
                   m_window->windowHandle()->isExposed()) {
            watched->removeEventFilter(this);
            m_then();
            deleteLater();
        }
        return false;
    }

private:
    QWidget* m_window;
    std::function<void()> m_then;
};

} // namespace

void atFirstExposure(QWidget* window, std::function<void()> then) {
    new ExposureWatch(window, std::move(then));
}

void afterFirstFrame(QWidget* window, std::function<void()> then) {
    new FirstFrameWatch(window, std::move(then));
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
