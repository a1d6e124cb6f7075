#include "report/header.h"

#include "state/numbers.h"

namespace vardel {
namespace {

// The first separator character of a short date or time format ("d.MM.yyyy" gives "."); a blank
// or a format without one gives `fallback`.
QString SeparatorOf(const QString& format, const QString& fallback) {
    bool inQuote = false;
    for (const QChar c : format) {
        if (c == u'\'') {
            inQuote = !inQuote;
            continue;
        }
        if (inQuote || c.isLetter()) {
            continue;
        }
        return c.isSpace() ? fallback : QString(c);
    }
    return fallback;
}

QString TwoDigits(int v) {
    return QStringLiteral("%1").arg(v % 100, 2, 10, QLatin1Char('0'));
}

// The first `count` characters of `text`, counting a character outside the basic plane once so
// that it is never cut in half.
QString LeftCharacters(const QString& text, int count) {
    qsizetype pos = 0;
    for (int taken = 0; taken < count && pos < text.size(); ++taken) {
        const bool pair =
            text[pos].isHighSurrogate() && pos + 1 < text.size() && text[pos + 1].isLowSurrogate();
        pos += pair ? 2 : 1;
    }
    return text.left(pos);
}

}  // namespace

QString StandardReferenceLine() {
    return QStringLiteral("Zakotwienie słupów stalowych wg PN-B-03215:1999 i ") +
           QStringLiteral("PN-B-03264:2002");
}

QString HeaderDateTime(const QDateTime& now, const QLocale& locale) {
    const QString dateSep =
        SeparatorOf(locale.dateFormat(QLocale::ShortFormat), QStringLiteral("/"));
    const QString timeSep =
        SeparatorOf(locale.timeFormat(QLocale::ShortFormat), QStringLiteral(":"));
    const QDate d = now.date();
    const QTime t = now.time();
    return TwoDigits(d.day()) + dateSep + TwoDigits(d.month()) + dateSep + TwoDigits(d.year()) +
           QStringLiteral("     ") + TwoDigits(t.hour()) + timeSep + TwoDigits(t.minute());
}

QString AskDesignation(DesignCase& s, Prompter& prompter) {
    const std::optional<QString> answer =
        prompter.AskText(QStringLiteral("Podaj oznaczenie stopy (max 32 znaki)"),
                         QStringLiteral("Vardel 2005"), s.Oznaczenie_stopy);
    // Cancel keeps the designation there was: only an answer changes it.
    if (answer) {
        s.Oznaczenie_stopy = LeftCharacters(*answer, kDesignationMaxLength);
    }
    return s.Oznaczenie_stopy;
}

QString PageLabel(const HeaderTexts& header, Int16 strona) {
    return header.Teksty_nagl[6] + Format(static_cast<int>(strona), u"####", QLocale::c());
}

void SetHeaderTexts(const DesignCase& s, HeaderTexts& header, const QDateTime& now,
                    const QLocale& locale) {
    auto& t = header.Teksty_nagl;
    // With the PN-EN checks the header names the codes they follow.
    t[1] = UsesEurocode(s) ? QStringLiteral("Zakotwienie słupów stalowych wg PN-EN 1993-1-8, ") +
                                 QStringLiteral("PN-EN 1992-1-1 i PN-EN 1992-4")
                           : StandardReferenceLine();
    t[4] = s.Naz_proj;
    t[5] = HeaderDateTime(now, locale);
    t[6] = QStringLiteral("Strona ");
    t[7] = s.Oznaczenie_stopy;
}

void RefreshHeaderTexts(DesignCase& s, HeaderTexts& header, Prompter& prompter,
                        const QDateTime& now, const QLocale& locale) {
    SetHeaderTexts(s, header, now, locale);
    header.Teksty_nagl[7] = AskDesignation(s, prompter);
}

bool EnsureDesignation(DesignCase& s, HeaderTexts& header, Prompter& prompter, const QDateTime& now,
                       const QLocale& locale) {
    if (!s.Oznaczenie_stopy.isEmpty()) {
        return false;
    }
    // One question is enough: the refresh that follows takes the answer without asking again,
    // so that a Cancel on a second box cannot throw away what was just typed.
    AskDesignation(s, prompter);
    SetHeaderTexts(s, header, now, locale);
    return true;
}

}  // namespace vardel
