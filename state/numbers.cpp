#include "state/numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace vardel {
namespace {

bool IsPlaceholder(QChar c) {
    return c == u'0' || c == u'#';
}

// The decimal digits of |value| rounded half away from zero to `decimals` places, taken from its
// first `significant` digits. `intDigits` has no leading zeros ("" for a value below one).
struct Digits {
    std::string intDigits;
    std::string fracDigits;  // exactly `decimals` digits
};

Digits DecimalDigits(double value, int significant, int decimals) {
    Digits out;
    std::string all;
    int pointPos = 0;  // digits of `all` before the decimal point
    if (value != 0) {
        char buf[64];
        // Not printf: its decimal point is the process locale's, which the windows set from the
        // user's (a comma in Polish).
        const auto end = std::to_chars(std::begin(buf), std::end(buf), std::fabs(value),
                                       std::chars_format::scientific, significant - 1)
                             .ptr;
        // buf: d.ddddde[+-]XX
        const std::string s(std::begin(buf), end);
        const auto ePos = s.find('e');
        int exponent = 0;
        std::from_chars(s.data() + ePos + (s[ePos + 1] == '+' ? 2 : 1), s.data() + s.size(),
                        exponent);
        std::string mantissa;
        for (std::size_t k = 0; k < ePos; ++k) {
            if (s[k] != '.') {
                mantissa += s[k];
            }
        }
        if (exponent >= 0) {
            all = mantissa;
            pointPos = exponent + 1;
            if (static_cast<int>(all.size()) < pointPos) {
                all.append(pointPos - all.size(), '0');
            }
        } else {
            all = std::string(-exponent - 1, '0') + mantissa;
            pointPos = 0;
        }
    }
    const std::size_t keep = static_cast<std::size_t>(pointPos + decimals);
    if (all.size() < keep) {
        all.append(keep - all.size(), '0');
    }
    const bool roundUp = all.size() > keep && all[keep] >= '5';
    all.resize(keep);
    if (roundUp) {
        int k = static_cast<int>(keep) - 1;
        while (k >= 0 && all[k] == '9') {
            all[k] = '0';
            --k;
        }
        if (k >= 0) {
            ++all[k];
        } else {
            all.insert(all.begin(), '1');
            ++pointPos;
        }
    }
    std::string intPart = all.substr(0, pointPos);
    const auto firstNonZero = intPart.find_first_not_of('0');
    out.intDigits =
        firstNonZero == std::string::npos ? std::string() : intPart.substr(firstNonZero);
    out.fracDigits = all.substr(pointPos);
    return out;
}

QString FormatDigits(double value, int significant, QStringView pattern, const QLocale& locale) {
    if (std::isnan(value)) {
        return QStringLiteral("NaN");
    }
    if (std::isinf(value)) {
        return value < 0 ? QStringLiteral("-Inf") : QStringLiteral("Inf");
    }
    const qsizetype point = pattern.indexOf(u'.');
    const QStringView intPattern = point < 0 ? pattern : pattern.left(point);
    const QStringView fracPattern = point < 0 ? QStringView() : pattern.mid(point + 1);

    int decimals = 0;
    for (QChar c : fracPattern) {
        decimals += IsPlaceholder(c) ? 1 : 0;
    }
    const Digits d = DecimalDigits(value, significant, decimals);

    // Integer part: placeholders take digits from the right; literals stay where they stand.
    QString intOut;
    int nextDigit = static_cast<int>(d.intDigits.size()) - 1;
    qsizetype firstPlaceholder = -1;
    for (qsizetype k = 0; k < intPattern.size(); ++k) {
        if (IsPlaceholder(intPattern[k])) {
            firstPlaceholder = k;
            break;
        }
    }
    QString reversed;
    for (qsizetype k = intPattern.size() - 1; k >= 0; --k) {
        const QChar c = intPattern[k];
        if (IsPlaceholder(c)) {
            if (nextDigit >= 0) {
                reversed += QChar(d.intDigits[nextDigit--]);
            } else if (c == u'0') {
                reversed += u'0';
            }
        } else {
            reversed += c;
        }
        if (k == firstPlaceholder) {
            // Digits beyond the placeholders go before the first one.
            while (nextDigit >= 0) {
                reversed += QChar(d.intDigits[nextDigit--]);
            }
        }
    }
    if (firstPlaceholder < 0 && point < 0) {
        // A pattern without any digit placeholder still shows the number after its text.
        std::reverse(reversed.begin(), reversed.end());
        intOut = reversed + QString::fromStdString(d.intDigits);
    } else {
        std::reverse(reversed.begin(), reversed.end());
        intOut = reversed;
        if (firstPlaceholder < 0) {
            intOut += QString::fromStdString(d.intDigits);
        }
    }

    // Fraction part: "0" always, "#" only up to the last significant digit.
    QString fracOut;
    if (point >= 0) {
        int lastSignificant = -1;
        for (int k = 0; k < decimals; ++k) {
            if (d.fracDigits[k] != '0') {
                lastSignificant = k;
            }
        }
        int placeholder = 0;
        for (QChar c : fracPattern) {
            if (IsPlaceholder(c)) {
                if (c == u'0' || placeholder <= lastSignificant) {
                    fracOut += QChar(d.fracDigits[placeholder]);
                }
                ++placeholder;
            } else {
                fracOut += c;
            }
        }
    }

    QString out = intOut;
    if (point >= 0) {
        out += locale.decimalPoint() + fracOut;
    }
    const bool printedZero =
        d.intDigits.empty() && d.fracDigits.find_first_not_of('0') == std::string::npos;
    if (value < 0 && !printedZero) {
        out.prepend(u'-');
    }
    return out;
}

}  // namespace

QString Format(double value, QStringView pattern, const QLocale& locale) {
    return FormatDigits(value, 15, pattern, locale);
}

QString Format(float value, QStringView pattern, const QLocale& locale) {
    return FormatDigits(static_cast<double>(value), 7, pattern, locale);
}

QString Format_kropka(float value, QStringView pattern) {
    QString s = Format(value, pattern, QLocale::c());
    s.replace(u',', u'.');
    return s;
}

std::optional<double> ParseNumber(QStringView text, const QLocale& locale) {
    const QStringView t = text.trimmed();
    if (t.isEmpty()) {
        return std::nullopt;
    }
    const QString decimal = locale.decimalPoint();
    std::string ascii;
    ascii.reserve(t.size());
    qsizetype k = 0;
    if (t[k] == u'+' || t[k] == u'-') {
        ascii += static_cast<char>(t[k].unicode());
        ++k;
    }
    bool digits = false;
    bool seenPoint = false;
    for (; k < t.size(); ++k) {
        const QChar c = t[k];
        if (c.isDigit() && c.unicode() < 128) {
            ascii += static_cast<char>(c.unicode());
            digits = true;
        } else if (!seenPoint && (c == u'.' || t.mid(k).startsWith(decimal))) {
            ascii += '.';
            seenPoint = true;
            if (c != u'.') {
                k += decimal.size() - 1;
            }
        } else {
            break;
        }
    }
    if (!digits) {
        return std::nullopt;
    }
    if (k < t.size() && (t[k] == u'e' || t[k] == u'E')) {
        ascii += 'e';
        ++k;
        if (k < t.size() && (t[k] == u'+' || t[k] == u'-')) {
            ascii += static_cast<char>(t[k].unicode());
            ++k;
        }
        bool expDigits = false;
        for (; k < t.size() && t[k].isDigit() && t[k].unicode() < 128; ++k) {
            ascii += static_cast<char>(t[k].unicode());
            expDigits = true;
        }
        if (!expDigits) {
            return std::nullopt;
        }
    }
    if (k != t.size()) {
        return std::nullopt;
    }
    const double v = AsciiToDouble(ascii);
    if (!std::isfinite(v)) {
        return std::numeric_limits<double>::infinity();  // too large: an overflow for the caller
    }
    return v;
}

double ShortestDecimal(float value) {
    char digits[32];
    const auto end = std::to_chars(std::begin(digits), std::end(digits), value).ptr;
    return AsciiToDouble(std::string_view(digits, end));
}

double AsciiToDouble(std::string_view text) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    double v = 0;
    const char* const first = text.data();
    const char* const last = first + text.size();
    if (std::from_chars(first, last, v).ec != std::errc::result_out_of_range) {
        return v;
    }
    // Beyond a double: too large or too small, told apart by the decimal exponent of the first
    // significant digit.
    const bool negative = !text.empty() && text.front() == '-';
    std::size_t k = negative ? 1 : 0;
    bool found = false, point = false;
    long intDigits = 0, zerosAfterPoint = 0;
    for (; k < text.size() && (text[k] == '.' || (text[k] >= '0' && text[k] <= '9')); ++k) {
        if (text[k] == '.') {
            point = true;
        } else if (!found && text[k] == '0') {
            zerosAfterPoint += point ? 1 : 0;
        } else {
            found = true;
            intDigits += point ? 0 : 1;
        }
    }
    const long leading = intDigits > 0 ? intDigits - 1 : -(zerosAfterPoint + 1);
    long written = 0;
    if (k < text.size() && (text[k] == 'e' || text[k] == 'E')) {
        ++k;
        const bool minus = k < text.size() && text[k] == '-';
        k += (k < text.size() && (text[k] == '-' || text[k] == '+')) ? 1 : 0;
        for (; k < text.size() && text[k] >= '0' && text[k] <= '9' && written < 100000; ++k) {
            written = written * 10 + (text[k] - '0');
        }
        written = minus ? -written : written;
    }
    const double magnitude = leading + written > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    return negative ? -magnitude : magnitude;
}

SingleResult ToSingle(QStringView text, const QLocale& locale) {
    const auto v = ParseNumber(text, locale);
    if (!v) {
        return {Convert::NotANumber, 0};
    }
    if (!std::isfinite(*v) || std::fabs(*v) > std::numeric_limits<float>::max()) {
        return {Convert::Overflow, 0};
    }
    return {Convert::Ok, static_cast<float>(*v)};
}

Int16Result ToInt16(double value) {
    if (!std::isfinite(value)) {
        return {Convert::Overflow, 0};
    }
    const double r = std::nearbyint(value);  // the default rounding mode: half to even
    if (r < -32768.0 || r > 32767.0) {
        return {Convert::Overflow, 0};
    }
    return {Convert::Ok, static_cast<std::int16_t>(r)};
}

Int16Result ToInt16(QStringView text, const QLocale& locale) {
    const auto v = ParseNumber(text, locale);
    if (!v) {
        return {Convert::NotANumber, 0};
    }
    return ToInt16(*v);
}

}  // namespace vardel
