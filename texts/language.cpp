#include "texts/language.h"

#include "state/file_read.h"

#include <QDir>

#include <array>

namespace vardel {
namespace {

struct LanguageEntry {
    const char* main;
    const char* second;
    CodePage page;
};

constexpr std::array<LanguageEntry, kLanguageCount> kLanguages{{
    {"Vdlpl.txt", "Vdlplok.txt", CodePage::Windows1250},
    {"Vdlp2.txt", "Vdlp2ok.txt", CodePage::Windows1250},
    {"Vdlgb.txt", "Vdlgbok.txt", CodePage::Windows1252},
    {"Vdlfr.txt", "Vdlfrok.txt", CodePage::Windows1252},
    {"Vdlge.txt", "Vdlgeok.txt", CodePage::Windows1252},
}};

// The first `count` lines of a language file, or the reason they cannot be had.
struct ReadLines {
    QStringList lines;
    QStringList rest;  // the lines after the first `count`
    FileResult error;
};

ReadLines ReadFirstLines(const QString& path, int count, CodePage page) {
    ReadLines out;
    const QString shown = QDir::toNativeSeparators(path);
    const WholeFile file = ReadWholeFile(path, kMaxTextFileBytes);
    if (file.failure == ReadFailure::Missing) {
        out.error = FileError{QStringLiteral("Brak pliku tekstów %1.").arg(shown)};
        return out;
    }
    if (!file.ok()) {
        out.error = FileError{
            QStringLiteral("Nie można odczytać pliku tekstów %1: %2").arg(shown, file.Reason())};
        return out;
    }
    QStringList lines = SplitTextLines(DecodeText(file.bytes, page));
    if (lines.size() < count) {
        out.error = FileError{
            QStringLiteral(
                "Plik tekstów %1 jest za krótki: liczba wierszy %2, potrzeba co najmniej %3.")
                .arg(shown, QString::number(lines.size()), QString::number(count))};
        return out;
    }
    out.rest = lines.mid(count);
    lines.resize(count);
    out.lines = std::move(lines);
    return out;
}

}  // namespace

int EffectiveLanguage(int jezyk) {
    return jezyk >= 0 && jezyk < kLanguageCount ? jezyk : 0;
}

LanguageFileNames LanguageFiles(int jezyk) {
    const LanguageEntry& e = kLanguages[static_cast<std::size_t>(EffectiveLanguage(jezyk))];
    return {QString::fromLatin1(e.main), QString::fromLatin1(e.second)};
}

CodePage LanguageCodePage(int jezyk) {
    return kLanguages[static_cast<std::size_t>(EffectiveLanguage(jezyk))].page;
}

QStringList SplitTextLines(const QString& text) {
    QStringView rest(text);
    // A byte-order mark is not part of the first text.
    if (rest.startsWith(QChar(0xFEFF))) {
        rest = rest.mid(1);
    }
    QStringList lines;
    while (!rest.isEmpty()) {
        const qsizetype lf = rest.indexOf(u'\n');
        QStringView line = lf < 0 ? rest : rest.left(lf);
        if (line.endsWith(u'\r')) {
            line.chop(1);
        }
        lines.append(line.toString());
        rest = lf < 0 ? QStringView() : rest.mid(lf + 1);
    }
    return lines;
}

FileResult LoadLanguageTexts(DesignCase& s, const QString& programDir) {
    const LanguageFileNames names = LanguageFiles(s.Jezyk);
    const CodePage page = LanguageCodePage(s.Jezyk);
    const QDir dir(programDir);
    ReadLines main = ReadFirstLines(dir.filePath(names.main), kMainTextLines, page);
    if (main.error) {
        return main.error;
    }
    ReadLines second = ReadFirstLines(dir.filePath(names.second), kSecondTextLines, page);
    if (second.error) {
        return second.error;
    }
    for (int k = 1; k <= kMainTextLines; ++k) {
        s.Teksty[static_cast<std::size_t>(k)] = main.lines[k - 1];
    }
    for (int k = 1; k <= kSecondTextLines; ++k) {
        s.Teksty_ok[static_cast<std::size_t>(k)] = second.lines[k - 1];
    }
    // The PN-EN lines follow the main file's own; a file without them leaves them empty.
    for (int k = 1; k <= kEurocodeTextLines; ++k) {
        s.Teksty_EN[static_cast<std::size_t>(k)] = main.rest.value(k - 1);
    }
    return std::nullopt;
}

}  // namespace vardel
