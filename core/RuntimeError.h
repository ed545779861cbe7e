#pragma once

#include <exception>
#include <string>

namespace morvex {

// Error numbers the program reports. They travel with a RuntimeError from the
// place that detects the fault to the one handler that explains it to the user.
inline constexpr int Overflow = 6;
inline constexpr int DivisionByZero = 11;
inline constexpr int TypeMismatch = 13;

// A run-time error: a number and a description text (UTF-8).
struct RuntimeError : std::exception {
    explicit RuntimeError(int errorNumber);

    const char *what() const noexcept override { return description.c_str(); }

    int number;
    std::string description;
};

// The description that goes with an error number.
std::string errorDescription(int errorNumber);

} // namespace morvex
