// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QString;
class QWidget;

namespace kelsing {

/// Tells the user, in a short message over `parent` that does not block it, that no browser
/// opened `address`; the address can be selected and copied.
void showAddressNotOpened(QWidget* parent, const QString& address);

} // namespace kelsing
