#pragma once

#include <exception>
#include <string>

namespace morvex {

// Error numbers the program reports. They travel with a RuntimeError from the
// place that detects the fault to the one handler that explains it to the user.
enum class ErrorNumber { Overflow = 6, DivisionByZero = 11, TypeMismatch = 13 };
using enum ErrorNumber;

// A run-time error: a number and a description text (UTF-8).
struct RuntimeError : std::exception {
    explicit RuntimeError(ErrorNumber errorNumber);

    const char *what() const noexcept override { return description.c_str(); }

    ErrorNumber number;
    std::string description;
};

// The description that goes with an error number.
std::string errorDescription(ErrorNumber errorNumber);

} // namespace morvex
