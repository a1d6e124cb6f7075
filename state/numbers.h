// Number formatting and parsing as the program's windows, reports and files need them.
#pragma once

#include <QLocale>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>
#include <string_view>

namespace vardel {

// Formats a number with a pattern of the kind the report uses ("### ##0.00 kNm", "#0.0##",
// "####### MPa      E/Eb = "):
//  - "0" is a digit that is always printed, "#" a digit printed only when significant;
//  - the first "." is the decimal separator of `locale`, printed even when no decimal follows;
//  - every other character is printed where it stands;
//  - integer digits beyond the placeholders are printed before the first placeholder;
//  - the value is rounded half away from zero on its decimal value (15 significant digits for
//    a double, 7 for a single, as the values were held);
//  - a minus sign goes before everything, and only when the printed value is not zero.
QString Format(double value, QStringView pattern, const QLocale& locale);
QString Format(float value, QStringView pattern, const QLocale& locale);
inline QString Format(int value, QStringView pattern, const QLocale& locale) {
    return Format(static_cast<double>(value), pattern, locale);
}

// Format with a point as the decimal separator whatever the user's locale: the program's own
// files never depend on the regional settings.
QString Format_kropka(float value, QStringView pattern);

// A window field read as a number: blanks around it are ignored, an optional sign, digits with
// the locale's decimal separator or a point, an optional exponent. Nothing else is a number
// (an empty field is not one).
std::optional<double> ParseNumber(QStringView text, const QLocale& locale);

// A number written in the C form ("-12.5e3", a point, no blanks, an optional sign) read whatever
// the process locale: ±infinity beyond the range of a double, ±0 below it. Every text the
// program reads as a number ends here; never strtod, whose decimal point follows the locale.
double AsciiToDouble(std::string_view text);

// A single as the double of its shortest decimal (12.3, not 12.300000190734863), for files that
// print doubles: what the program shows is what they hold.
double ShortestDecimal(float value);

// Conversions of the calculation's field types. They fail with an overflow when the value does
// not fit: a single beyond its range, a 16-bit integer outside -32768..32767 after rounding half
// to even.
enum class Convert { Ok, NotANumber, Overflow };
struct SingleResult {
    Convert status = Convert::Ok;
    float value = 0;
};
struct Int16Result {
    Convert status = Convert::Ok;
    std::int16_t value = 0;
};
SingleResult ToSingle(QStringView text, const QLocale& locale);
Int16Result ToInt16(QStringView text, const QLocale& locale);
Int16Result ToInt16(double value);

// The integer written as the platform's plain number form (no sign for >= 0, no blanks).
inline QString PlainInt(long long v) {
    return QString::number(v);
}

}  // namespace vardel
