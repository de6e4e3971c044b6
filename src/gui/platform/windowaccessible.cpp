// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/windowaccessible.h"

#include <QAccessibleObject>
#include <QAccessibleWidget>
#include <QApplication>
#include <QWidget>

namespace kelsing {

namespace {

const char* const kRoleProperty = "kelsingAccessibleRole";

// The popups that a screen reader may find, in the order they opened.
QWidgetList popupsInTree() {
    QWidgetList popups;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->windowType() == Qt::Popup && window->isVisible() &&
            window->property(kRoleProperty).isValid()) {
            popups << window;
        }
    }
    return popups;
}

// The program as a screen reader sees it: its windows, and the marked popups that show.
class ApplicationAccessible final : public QAccessibleApplication {
public:
    int childCount() const override {
        return QAccessibleApplication::childCount() + static_cast<int>(popupsInTree().size());
    }

    QAccessibleInterface* child(int index) const override {
        const int windows = QAccessibleApplication::childCount();
        if (index < windows) {
            return QAccessibleApplication::child(index);
        }
        const QWidgetList popups = popupsInTree();
        return index - windows < popups.size()
                   ? QAccessible::queryAccessibleInterface(popups[index - windows])
                   : nullptr;
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        const int window = QAccessibleApplication::indexOfChild(child);
        if (window >= 0 || !child) {
            return window;
        }
        const auto popup = popupsInTree().indexOf(qobject_cast<QWidget*>(child->object()));
        return popup < 0 ? -1 : QAccessibleApplication::childCount() + static_cast<int>(popup);
    }

    QAccessibleInterface* focusChild() const override {
        // A popup takes the keys without becoming the platform's focus window.
        if (QWidget* popup = QApplication::activePopupWidget();
            popup && popupsInTree().contains(popup)) {
            return QAccessible::queryAccessibleInterface(popup);
        }
        return QAccessibleApplication::focusChild();
    }
};

// A window with its role. While a popup holds the keys, the window is not the active one: the
// toolkit tells a screen reader again, as the popup takes the keys, that a window with the
// role of a frame is active, which would draw its attention away from the popup.
class WindowInterface final : public QAccessibleWidget {
public:
    WindowInterface(QWidget* window, QAccessible::Role role)
        : QAccessibleWidget(window, role) {}

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        if (widget()->windowType() != Qt::Popup && QApplication::activePopupWidget()) {
            s.active = false;
        }
        return s;
    }
};

QAccessibleInterface* windowInterface(const QString&, QObject* object) {
    if (object == qApp) {
        return new ApplicationAccessible;
    }
    auto* window = qobject_cast<QWidget*>(object);
    if (window && window->isWindow() && window->property(kRoleProperty).isValid()) {
        return new WindowInterface(
            window, static_cast<QAccessible::Role>(window->property(kRoleProperty).toInt()));
    }
    return nullptr;
}

} // namespace

void WindowAccessible::setRole(QWidget* window, QAccessible::Role role) {
    static const bool installed = [] {
        QAccessible::installFactory(&windowInterface);
        return true;
    }();
    Q_UNUSED(installed);
    window->setProperty(kRoleProperty, static_cast<int>(role));
}

} // namespace kelsing
