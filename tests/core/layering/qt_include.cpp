// SPDX-License-Identifier: GPL-3.0-or-later
// Must not compile: the core knows nothing of Qt.
#include <QString>
