// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/keyboardfocus.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QPointer>

namespace kelsing {

namespace {

// Sets whether the window of `target` shows its focus, and repaints what has it.
void showFocusIn(QObject* target, bool show) {
    auto* widget = qobject_cast<QWidget*>(target);
    if (!widget) {
        return; // the platform window, which passes the event on to its widgets
    }
    QWidget* window = widget->window();
    if (window->testAttribute(Qt::WA_KeyboardFocusChange) == show) {
        return;
    }
    window->setAttribute(Qt::WA_KeyboardFocusChange, show);
    if (QWidget* focused = window->focusWidget()) {
        focused->update();
    }
}

class PressWatch final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::ShortcutOverride:
            showFocusIn(watched, true);
            break;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            showFocusIn(watched, false);
            break;
        default:
            break;
        }
        return false;
    }
};

class ReturnClicks final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) {
            return false;
        }
        const auto* key = static_cast<QKeyEvent*>(event);
        auto* button = qobject_cast<QAbstractButton*>(watched);
        if (!button || (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) ||
            key->modifiers() & ~Qt::KeypadModifier) {
            return false;
        }
        // A held key clicks once, as a held Space does.
        if (!key->isAutoRepeat()) {
            button->click();
        }
        return true;
    }
};

} // namespace

void KeyboardFocus::install() {
    static const QPointer<PressWatch> watch = [] {
        auto* filter = new PressWatch(qApp);
        qApp->installEventFilter(filter);
        return filter;
    }();
    Q_UNUSED(watch);
}

bool KeyboardFocus::shows(const QWidget* widget) {
    return widget->hasFocus() && widget->window()->testAttribute(Qt::WA_KeyboardFocusChange);
}

void KeyboardFocus::clickOnReturn(QAbstractButton* button) {
    static ReturnClicks* const filter = new ReturnClicks(qApp);
    button->installEventFilter(filter);
}

} // namespace kelsing
