// The report's language texts: two files per language in the program directory, read line by
// line into Teksty(1..69) and Teksty_ok(1..11).
#pragma once

#include "state/design_case.h"
#include "texts/codepage.h"
#include "texts/file_error.h"

#include <QString>
#include <QStringList>

namespace vardel {

constexpr int kLanguageCount = 5;  // 0 Polish, 1 Polish without diacritics, 2 English, 3 French,
                                   // 4 German

// The language actually loaded for `jezyk`: a value outside 0..4 (only a hand-edited settings
// file can hold one) falls back to Polish.
int EffectiveLanguage(int jezyk);

struct LanguageFileNames {
    QString main;    // e.g. "Vdlpl.txt"
    QString second;  // e.g. "Vdlplok.txt"
};
LanguageFileNames LanguageFiles(int jezyk);

// The 8-bit code page the files of a language are kept in when they are not UTF-8.
CodePage LanguageCodePage(int jezyk);

// The lines of a text file: a line ends at LF or CR LF and is kept whole, blanks included; an
// empty line keeps its place. A final line without a line end still counts.
QStringList SplitTextLines(const QString& text);

// Reads both files of s.Jezyk from `programDir`. The tables change only when both files were
// read whole; otherwise they keep their texts and the error names the file at fault (at start-up
// the caller ends the program with it, after a language change it shows it).
[[nodiscard]] FileResult LoadLanguageTexts(DesignCase& s, const QString& programDir);

}  // namespace vardel
