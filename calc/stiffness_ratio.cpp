#include "calc/stiffness_ratio.h"

#include "materials/tables.h"
#include "state/numbers.h"

#include <cmath>

namespace vardel {

std::optional<double> ComputedRatio(float eb) {
    if (!(eb > 0)) {
        return std::nullopt;
    }
    return kSteelModulusMpa / eb;
}

std::optional<double> ConcreteRatio(float eb) {
    if (!(eb > 0)) {
        return std::nullopt;
    }
    return std::floor(kSteelModulusMpa * 100.0 / eb + 0.5) / 100.0;
}

bool RatioFitsSettings(double n) {
    return n > 0 && n < kRatioLimit;
}

QString PlainNumber(double value, const QLocale& locale) {
    // A value held in single precision shows its seven significant digits, as it was typed.
    const bool single = static_cast<double>(static_cast<float>(value)) == value;
    QString text = locale.toString(value, 'g', single ? 7 : 15);
    text.remove(locale.groupSeparator());
    return text;
}

TypedRatio ParseTypedRatio(const QString& text, const QLocale& locale) {
    const SingleResult r = ToSingle(text, locale);
    if (r.status == Convert::NotANumber) {
        return {std::nullopt, QStringLiteral("Podany ciąg znaków nie tworzy liczby")};
    }
    if (r.status != Convert::Ok || !RatioFitsSettings(r.value)) {
        return {std::nullopt,
                QStringLiteral("Współczynnik n musi być większy od 0 i mniejszy od %1.")
                    .arg(PlainNumber(kRatioLimit, locale))};
    }
    return {static_cast<double>(r.value), {}};
}

}  // namespace vardel
