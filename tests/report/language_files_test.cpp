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

// The texts of `jezyk` as loaded: Teksty(1..66), then Teksty_ok(1..10).
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
    return out;
}

std::string Where(int i) {
    return i < kMainTextLines ? "Teksty " + std::to_string(i + 1)
                              : "Teksty_ok " + std::to_string(i - kMainTextLines + 1);
}

TEST(LanguageFiles, AreCompleteInTheirCodePages) {
    for (int jezyk = 0; jezyk < kLanguageCount; ++jezyk) {
        SCOPED_TRACE(jezyk);
        const LanguageFileNames names = LanguageFiles(jezyk);
        for (const auto& [name, lines] :
             {std::pair(names.main, kMainTextLines), std::pair(names.second, kSecondTextLines)}) {
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
        }
    }
}

// The report appends values directly to many lines; a translation must keep whether the line
// starts and ends with a blank, or the numbers run into the words (or stand a blank too far).
TEST(LanguageFiles, EveryTranslationEndsItsLinesAsThePolishOneDoes) {
    const QStringList pl = Texts(0);
    for (int jezyk = 1; jezyk < kLanguageCount; ++jezyk) {
        const QStringList other = Texts(jezyk);
        for (int i = 0; i < pl.size(); ++i) {
            EXPECT_EQ(other[i].endsWith(u' '), pl[i].endsWith(u' ')) << jezyk << " " << Where(i);
            EXPECT_EQ(other[i].startsWith(u' '), pl[i].startsWith(u' '))
                << jezyk << " " << Where(i);
        }
    }
}

TEST(LanguageFiles, PolishWithoutDiacriticsIsThePolishTextWithPlainLetters) {
    const QStringList pl = Texts(0);
    const QStringList p2 = Texts(1);
    EXPECT_TRUE(pl[15].contains(QStringLiteral("ą")));  // Polish is read with its letters
    const QString from = QStringLiteral("ąćęłńóśźżĄĆĘŁŃÓŚŹŻ");
    const QString to = QStringLiteral("acelnoszzACELNOSZZ");
    for (int i = 0; i < pl.size(); ++i) {
        QString plain = pl[i];
        for (int k = 0; k < from.size(); ++k) {
            plain.replace(from[k], to[k]);
        }
        EXPECT_EQ(p2[i], plain) << Where(i);
        EXPECT_TRUE(std::all_of(p2[i].begin(), p2[i].end(), [](QChar c) { return c < u'\x80'; }))
            << Where(i);
    }
}

}  // namespace
}  // namespace vardel
