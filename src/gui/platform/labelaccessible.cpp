// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/labelaccessible.h"

#include "platform/label.h"

namespace kelsing {

namespace {

QAccessibleInterface* labelInterface(const QString&, QObject* object) {
    if (auto* label = qobject_cast<Label*>(object)) {
        return new LabelAccessible(label);
    }
    return nullptr;
}

} // namespace

LabelAccessible::LabelAccessible(Label* label)
    : QAccessibleWidget(label, label->accessibleRole()) {
}

void LabelAccessible::install() {
    static const bool installed = [] {
        QAccessible::installFactory(&labelInterface);
        return true;
    }();
    Q_UNUSED(installed);
}

Label* LabelAccessible::label() const {
    return static_cast<Label*>(widget());
}

bool LabelAccessible::pressable() const {
    const QAccessible::Role r = role();
    return r == QAccessible::Button || r == QAccessible::Link || r == QAccessible::ListItem;
}

QAccessible::Role LabelAccessible::role() const {
    // The owner may give the role after the interface was made, so it is read each time.
    return label()->accessibleRole();
}

QString LabelAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Name && label()->accessibleName().isEmpty()) {
        // A crew box's two lines are read as one.
        return label()->text().replace(QLatin1Char('\n'), QLatin1Char(' ')).simplified();
    }
    return QAccessibleWidget::text(t);
}

QAccessible::State LabelAccessible::state() const {
    QAccessible::State s = QAccessibleWidget::state();
    // An empty label without a picture shows nothing, so a screen reader passes it by: the
    // crew boxes of the view that is not showing, the update notice before any news.
    if (label()->text().isEmpty() && !label()->hasPixmap() && label()->accessibleName().isEmpty()) {
        s.invisible = true;
    }
    return s;
}

QStringList LabelAccessible::actionNames() const {
    QStringList names = QAccessibleWidget::actionNames();
    if (pressable() && label()->isEnabled()) {
        names.prepend(pressAction());
    }
    return names;
}

void LabelAccessible::doAction(const QString& actionName) {
    if (actionName == pressAction() && pressable()) {
        label()->click();
        return;
    }
    QAccessibleWidget::doAction(actionName);
}

} // namespace kelsing
