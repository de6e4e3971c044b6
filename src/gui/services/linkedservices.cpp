// SPDX-License-Identifier: GPL-3.0-or-later
// The late services of a program that links them in, as the tests and benchmarks do.

#include "services/systemservices.h"

namespace kelsing {

LateServices* lateServices() {
    return &systemServices();
}

} // namespace kelsing
