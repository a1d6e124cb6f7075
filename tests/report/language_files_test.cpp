// The language files shipped in the program directory: complete, in their code pages, and
// translated line for line.
#include "tests/report/report_fixture.h"
#include "tests/test_support.h"
#include "texts/codepage.h"
#include "texts/language.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace vardel {
namespace {

// The texts of `jezyk` as loaded: Teksty, then Teksty_ok, then Teksty_EN.
QStringList Texts(int jezyk) {
    DesignCase s;
    test::LoadTexts(s, jezyk);
    QStringList out;
    for (int k = 1; k <= kMainTextLines; ++k) {
        out << s.Teksty[k];
    }
    for (int k = 1; k <= kSecondTextLines; ++k) {
        out << s.Teksty_ok[k];
    }
    for (int k = 1; k <= kEurocodeTextLines; ++k) {
        out << s.Teksty_EN[k];
    }
    return out;
}

std::string Where(int i) {
    if (i < kMainTextLines) {
        return "Teksty " + std::to_string(i + 1);
    }
    i -= kMainTextLines;
    return i < kSecondTextLines ? "Teksty_ok " + std::to_string(i + 1)
                                : "Teksty_EN " + std::to_string(i - kSecondTextLines + 1);
}

QString Plain(QString text) {
    const QString from = QStringLiteral("ąćęłńóśźżĄĆĘŁŃÓŚŹŻ");
    const QString to = QStringLiteral("acelnoszzACELNOSZZ");
    for (int k = 0; k < from.size(); ++k) {
        text.replace(from[k], to[k]);
    }
    return text;
}

// Complete, in their code pages, and translated line for line from the Polish texts.
TEST(LanguageFiles, AreCompleteInTheirCodePagesAndMatchThePolishLines) {
    const QStringList pl = Texts(0);
    for (int jezyk = 0; jezyk < kLanguageCount; ++jezyk) {
        SCOPED_TRACE(jezyk);
        const LanguageFileNames names = LanguageFiles(jezyk);
        for (const auto& [name, lines] :
             {std::pair(names.main, kMainTextLines + kEurocodeTextLines),
              std::pair(names.second, kSecondTextLines)}) {
            SCOPED_TRACE(name.toStdString());
            const QByteArray bytes =
                test::ReadAll(test::DataPath(QStringLiteral("../data/") + name));
            // Every line ended by CR LF, no bare LF or CR, and exactly `lines` of them: a line too
            // many would be ignored silently and shows a translation that has slipped.
            EXPECT_EQ(bytes.count("\r\n"), lines);
            EXPECT_EQ(bytes.count('\n'), lines);
            EXPECT_EQ(bytes.count('\r'), lines);
            EXPECT_TRUE(bytes.endsWith("\r\n"));
            // Shipped as 8-bit text, not UTF-8, unless a file is plain ASCII.
            const bool ascii =
                std::all_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) == 0; });
            EXPECT_TRUE(ascii || !IsValidUtf8(bytes));
        }
        const QStringList texts = Texts(jezyk);
        for (int i = 0; i < texts.size(); ++i) {
            SCOPED_TRACE(Where(i));
            const QString& text = texts[i];
            EXPECT_FALSE(text.trimmed().isEmpty());
            EXPECT_FALSE(text.contains(QChar::ReplacementCharacter));
            EXPECT_TRUE(std::none_of(text.begin(), text.end(),
                                     [](QChar c) { return c.category() == QChar::Other_Control; }));
            EXPECT_TRUE(EncodeCodePage(text, LanguageCodePage(jezyk)).has_value());
            // The report appends values directly to many lines; a translation must keep whether
            // the line starts and ends with a blank, or the numbers run into the words (or stand a
            // blank too far).
            EXPECT_EQ(text.endsWith(u' '), pl[i].endsWith(u' '));
            EXPECT_EQ(text.startsWith(u' '), pl[i].startsWith(u' '));
            if (jezyk == 1) {  // Polish without diacritics: the Polish text with plain letters
                EXPECT_EQ(text, Plain(pl[i]));
                EXPECT_TRUE(
                    std::all_of(text.begin(), text.end(), [](QChar c) { return c < u'\x80'; }));
            }
        }
    }
    EXPECT_TRUE(pl[15].contains(QStringLiteral("ą")));  // Polish is read with its letters
}

}  // namespace
}  // namespace vardel
