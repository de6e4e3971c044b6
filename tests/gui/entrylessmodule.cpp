// SPDX-License-Identifier: GPL-3.0-or-later
// A module that loads but lacks the late services' entry point, as one from another build might.

extern "C" __attribute__((visibility("default"))) int kelsing_other_entry() {
    return 0;
}
