// SPDX-License-Identifier: GPL-3.0-or-later
// The entry of the module that holds the late services, which the program loads after its
// first frame.

#include "services/systemservices.h"

#include <QtGlobal>

extern "C" Q_DECL_EXPORT kelsing::LateServices* kelsing_late_services() {
    return &kelsing::systemServices();
}
