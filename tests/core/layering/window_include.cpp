// SPDX-License-Identifier: GPL-3.0-or-later
// Must not compile: the core's include root holds no window header.
#include "mainwindow/form1.h"
