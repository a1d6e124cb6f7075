// How the calculate command ends when it cannot give results: a message box's worth of text.
#pragma once

#include <QString>

#include <cmath>
#include <exception>
#include <limits>

namespace vardel {

enum class StopIcon { Critical, Exclamation, Information, None };

struct Stop {
    QString title;  // empty: the program's default title
    QString message;
    StopIcon icon = StopIcon::Critical;
    int errorNumber = 0;  // the run-time error number behind a trapped error, 0 for a check
    QString field{};      // the input window's field the message is about ("Text4"), if any
};

// Run-time faults that the calculation detects explicitly, carried as the numbers the program has
// always shown: 6 overflow, 9 index out of range, 11 division by zero, 13 type mismatch. Thrown
// only inside the calculate command, whose trap turns it into a Stop.
enum ErrorNumber { kOverflow = 6, kIndexOutOfRange = 9, kDivisionByZero = 11, kTypeMismatch = 13 };

class CalcError : public std::exception {
  public:
    explicit CalcError(int number) : number_(number) {}
    int number() const { return number_; }
    const char* what() const noexcept override { return "calculation error"; }

  private:
    int number_;
};

// A stop raised deep inside the calculation (for example by the neutral-axis search) that ends
// the command with its own message rather than an error number.
class CalcStop : public std::exception {
  public:
    explicit CalcStop(Stop stop) : stop_(std::move(stop)) {}
    const Stop& stop() const { return stop_; }
    const char* what() const noexcept override { return "calculation stopped"; }

  private:
    Stop stop_;
};

// Checked arithmetic of the calculation: a zero divisor or a result that is not finite raises
// the matching numbered error instead of producing inf or NaN.
inline double Div(double a, double b) {
    if (b == 0.0) {
        throw CalcError(kDivisionByZero);
    }
    const double r = a / b;
    if (!(r - r == 0.0)) {
        throw CalcError(kOverflow);
    }
    return r;
}

inline double Finite(double v) {
    if (!(v - v == 0.0)) {
        throw CalcError(kOverflow);
    }
    return v;
}

// A double stored into a single-precision member: beyond the single range it is an overflow.
// Header-only, like the rest of the checked arithmetic, so that the code checks use it too.
inline float ToSingleChecked(double v) {
    if (!std::isfinite(v) || std::fabs(v) > std::numeric_limits<float>::max()) {
        throw CalcError(kOverflow);
    }
    return static_cast<float>(v);
}

}  // namespace vardel
