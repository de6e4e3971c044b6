// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <stdexcept>

namespace kelsing {

/// Base of the arithmetic failures that the calendar and rotation rules pass to their callers.
class ArithmeticError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// A 16-bit value of the rules left -32768..32767.
class OverflowError final : public ArithmeticError {
public:
    using ArithmeticError::ArithmeticError;
};

/// A date left the supported years 100..9999.
class DateRangeError final : public ArithmeticError {
public:
    using ArithmeticError::ArithmeticError;
};

/// The rotation engine met a date that is not a finite number.
class FloatingPointError final : public ArithmeticError {
public:
    using ArithmeticError::ArithmeticError;
};

} // namespace kelsing
