#include "state/numbers.h"
#include "tests/test_support.h"

#include <gtest/gtest.h>

#include <limits>

namespace vardel {
namespace {

using test::DecimalPoint;
using test::Polish;

// How a row is formatted: a double, a single (rounded on its own seven digits), or a single
// with a decimal point whatever the user's locale (the files' form; `comma` is the result under
// a decimal-comma default locale).
enum class Kind { Double, Single, Point };

struct FormatCase {
    double value;
    const char16_t* pattern;
    const char16_t* point;  // decimal-point locale
    const char16_t* comma;  // decimal-comma locale
    Kind kind = Kind::Double;
};

// Every pattern the report, the files and the windows use, with positive, negative, zero,
// rounding and large values.
const FormatCase kFormatCases[] = {
    // The decimal separator stays even when no decimal follows.
    {6, u"###.##", u"6.", u"6,"},
    {0, u"###.##", u".", u","},
    // Literal blanks stand where they are; '#' without a digit prints nothing.
    {5.5, u"### ##0.00", u" 5.50", u" 5,50"},
    {1234.5, u"### ##0.00", u"1 234.50", u"1 234,50"},
    {-97.1, u"### ##0.00 kNm     ", u"- 97.10 kNm     ", u"- 97,10 kNm     "},
    // Integer digits beyond the placeholders go before the first one.
    {1234567, u"## ###", u"1234 567", u"1234 567"},
    {300, u"## ###", u" 300", u" 300"},
    {0, u"####", u"", u""},
    {12, u"####", u"12", u"12"},
    {5, u"000", u"005", u"005"},
    {16.7, u"###.0 MPa", u"16.7 MPa", u"16,7 MPa"},
    // Rounding half away from zero on the decimal value.
    {2.675, u"0.00", u"2.68", u"2,68"},
    {1.005, u"0.00", u"1.01", u"1,01"},
    {2.5, u"####", u"3", u"3"},
    {-2.5, u"####", u"-3", u"-3"},
    {0.04, u"#0.0", u"0.0", u"0,0"},
    {0.05, u"#0.0", u"0.1", u"0,1"},
    {99.996, u"##0.00", u"100.00", u"100,00"},
    {0.996, u"#.##", u"1.", u"1,"},
    // A value printed as zero has no sign.
    {-0.001, u"0.00", u"0.00", u"0,00"},
    {-0.4, u"####", u"", u""},
    // '#' decimals print only up to the last significant digit.
    {1.2345, u"#0.0##", u"1.235", u"1,235"},
    {1.0, u"#0.0##", u"1.0", u"1,0"},
    {1543.21, u"# ##0.0# MPa", u"1 543.21 MPa", u"1 543,21 MPa"},
    // Large values keep every digit.
    {1e20, u"0", u"100000000000000000000", u"100000000000000000000"},
    {-123456789.125, u"#######0.0", u"-123456789.1", u"-123456789,1"},
    // What is no number is named, whatever the pattern.
    {std::numeric_limits<double>::quiet_NaN(), u"0.0", u"NaN", u"NaN"},
    {-std::numeric_limits<double>::infinity(), u"#", u"-Inf", u"-Inf"},
    // 2.675f is 2.67499995...; the single's own seven digits read 2.675 and round up, where the
    // same value held as a double rounds on fifteen digits.
    {2.675f, u"0.00", u"2.68", u"2,68", Kind::Single},
    {static_cast<double>(2.675f), u"0.00", u"2.67", u"2,67"},
    {12.3f, u"####0.0", u"12.3", u"12,3", Kind::Single},
    {12.5f, u"#####0.0", u"12.5", u"12.5", Kind::Point},
    {0.04f, u"#0.0", u"0.0", u"0.0", Kind::Point},
    {-45.25f, u"#####0.0   ", u"-45.3   ", u"-45.3   ", Kind::Point},
    {300.0f, u"######0", u"300", u"300", Kind::Point},
};

TEST(Format, PatternsInBothLocales) {
    const QLocale saved;
    for (const auto& c : kFormatCases) {
        SCOPED_TRACE(QString::fromUtf16(c.pattern).toStdString() + " with " +
                     std::to_string(c.value));
        const auto format = [&](const QLocale& locale) {
            const auto single = static_cast<float>(c.value);
            if (c.kind == Kind::Point) {
                QLocale::setDefault(locale);
                return Format_kropka(single, c.pattern);
            }
            return c.kind == Kind::Single ? Format(single, c.pattern, locale)
                                          : Format(c.value, c.pattern, locale);
        };
        EXPECT_EQ(format(DecimalPoint()), QString::fromUtf16(c.point));
        EXPECT_EQ(format(Polish()), QString::fromUtf16(c.comma));
    }
    QLocale::setDefault(saved);
}

// A field as a number, and as a 16-bit field (rounded half to even).
TEST(ParseNumber, FieldTexts) {
    const auto nan = Convert::NotANumber;
    const auto big = Convert::Overflow;
    const struct {
        const char16_t* text;
        bool polish;
        std::optional<double> number;
        Convert int16 = Convert::Ok;
        int value = 0;
    } cases[] = {
        {u" 12,5 ", true, 12.5, Convert::Ok, 12},
        {u"12.5", true, 12.5, Convert::Ok, 12},
        {u"12.5", false, 12.5, Convert::Ok, 12},
        {u"12,5", false, std::nullopt, nan},
        {u"", true, std::nullopt, nan},
        {u"abc", true, std::nullopt, nan},
        {u"1e3", false, 1000.0, Convert::Ok, 1000},
        {u"-3", true, -3.0, Convert::Ok, -3},
        {u"+7", true, 7.0, Convert::Ok, 7},
        {u"12.5.3", true, std::nullopt, nan},
        {u"1 200", true, std::nullopt, nan},
        {u",5", true, 0.5, Convert::Ok, 0},
        {u"-", true, std::nullopt, nan},
        {u"1e", false, std::nullopt, nan},
        {u"32767", true, 32767.0, Convert::Ok, 32767},
        {u"32768", true, 32768.0, big},
        {u"-32768", true, -32768.0, Convert::Ok, -32768},
        {u"-32769", true, -32769.0, big},
        {u"3,5", true, 3.5, Convert::Ok, 4},
        {u"32767,4", true, 32767.4, Convert::Ok, 32767},
        {u"1e10", true, 1e10, big},
        // Beyond a double: too small reads as zero, too large as infinity, whatever the digits
        // before the exponent.
        {u"100000e-330", false, 0.0, Convert::Ok, 0},
        {u"-0,00001e-320", true, 0.0, Convert::Ok, 0},
        {u"0,001e312", true, std::numeric_limits<double>::infinity(), big},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.text).toStdString());
        const QLocale locale = c.polish ? Polish() : DecimalPoint();
        EXPECT_EQ(ParseNumber(c.text, locale), c.number);
        const Int16Result r = ToInt16(c.text, locale);
        EXPECT_EQ(std::pair(r.status, r.status == Convert::Ok ? int{r.value} : 0),
                  std::pair(c.int16, c.value));
    }
    EXPECT_EQ(ToSingle(u"1e39", DecimalPoint()).status, Convert::Overflow);
    EXPECT_EQ(ToSingle(u"1e400", DecimalPoint()).status, Convert::Overflow);
    EXPECT_EQ(ToSingle(u"3e38", DecimalPoint()).status, Convert::Ok);
    EXPECT_EQ(ToSingle(u"", DecimalPoint()).status, Convert::NotANumber);
}

}  // namespace
}  // namespace vardel
