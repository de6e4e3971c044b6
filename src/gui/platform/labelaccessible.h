// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAccessibleWidget>

namespace kelsing {

class Label;

/// What a screen reader learns of a label: its text on one line (or the name its owner gave a
/// picture), its role, and for a button, link or list entry a press action that clicks it.
class LabelAccessible final : public QAccessibleWidget {
public:
    explicit LabelAccessible(Label* label);

    /// Registers the interface for every label with Qt's accessibility, once per program.
    static void install();

    QAccessible::Role role() const override;
    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

private:
    Label* label() const;
    bool pressable() const;
};

} // namespace kelsing
