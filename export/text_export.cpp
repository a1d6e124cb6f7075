#include "export/text_export.h"

#include "report/compose.h"
#include "report/header.h"
#include "state/file_write.h"

#include "state/numbers.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace vardel {
namespace {

// The symbol of the concrete note, spelled out for a plain-text file.
QString OmegaWords(const DesignCase& s) {
    return s.Norma == 1 ? QStringLiteral("omega u") : QStringLiteral("omega d");
}

QString NoteLine(const DesignCase& s, const ReportLines& lines, int c, const QLocale& locale) {
    // " " stands for "no note" and is written as it is.
    const QString& note = lines.Uwaga_betonu[c];
    if (note.trimmed().isEmpty()) {
        return note;
    }
    return note + OmegaWords(s) + QStringLiteral(" = ") + Format(s.Omega_u[c], u"#0.00", locale);
}

}  // namespace

QStringList TextExportLines(const DesignCase& s, const ReportLines& lines,
                            const HeaderTexts& header, const QLocale& locale) {
    const int n = std::clamp<int>(s.Liczba_przyp, 0, kMaxCases);
    QStringList out;

    // The page label with the number the report's first page carries.
    for (int k : {1, 4, 5, 6, 7}) {
        out << (k == 6 ? PageLabel(header, s.Strona) : header.Teksty_nagl[k]);
    }
    for (int k = 1; k <= 7; ++k) {
        out << lines.Dane[k];
    }
    for (int k = 0; k <= n + 2; ++k) {
        out << s.Tabela[k];
    }
    out << lines.Eurokod;

    for (int c = 1; c <= n; ++c) {
        out << s.Teksty[16] + PlainInt(c);
        if (HasStressSketch(s, c)) {
            out << lines.Linia_a[c];
        }
        out << lines.Linia_sruby[c];
        out << lines.Linia_betonu[c];
        out << NoteLine(s, lines, c, locale);
        if (!s.Wynik_V[c].isEmpty()) {
            out << s.Wynik_V[c];
        }
        out << lines.Eurokod_przyp[c];
        out << lines.Teksty_rap[2];
    }

    if (n > 1) {
        out << lines.Teksty_rap[3];
        for (const QString& line : ExtremeValueLines(s, locale)) {
            out << line;
        }
    }
    return out;
}

QByteArray TextExportBytes(const DesignCase& s, const ReportLines& lines, const HeaderTexts& header,
                           const QLocale& locale) {
    QByteArray bytes;
    for (const QString& line : TextExportLines(s, lines, header, locale)) {
        bytes += line.toUtf8();
        bytes += "\r\n";
    }
    return bytes;
}

QString WriteTextExport(const QString& path, const DesignCase& s, const ReportLines& lines,
                        const HeaderTexts& header, const QLocale& locale) {
    const QString shown = QDir::toNativeSeparators(path);
    auto failure = [&](const QString& reason) {
        return QStringLiteral("Nie udało się zapisać pliku tekstowego\n%1\n%2").arg(shown, reason);
    };
    const QString reason = WriteWholeFile(path, TextExportBytes(s, lines, header, locale));
    return reason.isEmpty() ? QString() : failure(reason);
}

}  // namespace vardel
