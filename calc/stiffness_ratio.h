// The ratio of elastic moduli n = Es/Eb as the user may fix it by hand: the values offered, the
// range the settings file can hold, and how a value is shown as plain text.
#pragma once

#include <QLocale>
#include <QString>

#include <optional>

namespace vardel {

// The value the standard recommends.
constexpr double kRecommendedRatio = 6.0;

// The value the program computes for a concrete of modulus `eb`: Es/Eb; nothing for a modulus
// that is not positive.
std::optional<double> ComputedRatio(float eb);

// The concrete-based value 205000/Eb rounded to two decimals with halves rounded up; nothing for
// a modulus that is not positive (no concrete chosen).
std::optional<double> ConcreteRatio(float eb);

// The settings file keeps n in hundredths as a 16-bit integer: 0 < n < 327.68.
constexpr double kRatioLimit = 327.68;
bool RatioFitsSettings(double n);

// A number as plain text in the user's locale: no trailing zeros, no grouping (6,83; 7; 7,3 for
// a value that came through single precision).
QString PlainNumber(double value, const QLocale& locale);

// A typed ratio checked as the dialog stores it: the single-precision value, or the message that
// refuses it ("Podany ciąg znaków nie tworzy liczby", or the range).
struct TypedRatio {
    std::optional<double> value;
    QString refusal;
};
TypedRatio ParseTypedRatio(const QString& text, const QLocale& locale);

}  // namespace vardel
