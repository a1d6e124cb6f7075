// The language files shipped in the program directory: complete, in their code pages, and
// translated line for line.
#include "tests/report/report_fixture.h"
#include "tests/test_support.h"
#include "texts/codepage.h"
#include "texts/language.h"

#include <gtest/gtest.h>

namespace vardel {
namespace {

struct Shipped {
    DesignCase s;
    QByteArray mainBytes, secondBytes;
};

Shipped Load(int jezyk) {
    Shipped out;
    test::LoadTexts(out.s, jezyk);
    const LanguageFileNames names = LanguageFiles(jezyk);
    out.mainBytes = test::ReadAll(test::DataPath(QStringLiteral("../data/") + names.main));
    out.secondBytes = test::ReadAll(test::DataPath(QStringLiteral("../data/") + names.second));
    return out;
}

// Every line ended by CR LF, no bare LF or CR, and exactly `lines` of them: a line too many
// would be ignored silently and shows a translation that has slipped.
void ExpectLines(const QByteArray& bytes, int lines) {
    EXPECT_EQ(bytes.count("\r\n"), lines);
    EXPECT_EQ(bytes.count('\n'), lines);
    EXPECT_EQ(bytes.count('\r'), lines);
    EXPECT_TRUE(bytes.endsWith("\r\n"));
}

TEST(LanguageFiles, AreCompleteInTheirCodePages) {
    for (int jezyk = 0; jezyk < kLanguageCount; ++jezyk) {
        SCOPED_TRACE(jezyk);
        const Shipped f = Load(jezyk);
        ExpectLines(f.mainBytes, kMainTextLines);
        ExpectLines(f.secondBytes, kSecondTextLines);
        // Shipped as 8-bit text, not UTF-8, unless a file is plain ASCII.
        for (const QByteArray* bytes : {&f.mainBytes, &f.secondBytes}) {
            const bool ascii =
                std::all_of(bytes->begin(), bytes->end(), [](char c) { return (c & 0x80) == 0; });
            EXPECT_TRUE(ascii || !IsValidUtf8(*bytes));
        }
        auto check = [&](const QString& text, const char* table, int k) {
            SCOPED_TRACE(std::string(table) + std::to_string(k));
            EXPECT_FALSE(text.trimmed().isEmpty());
            EXPECT_FALSE(text.contains(QChar::ReplacementCharacter));
            EXPECT_TRUE(std::none_of(text.begin(), text.end(),
                                     [](QChar c) { return c.category() == QChar::Other_Control; }));
            EXPECT_TRUE(EncodeCodePage(text, LanguageCodePage(jezyk)).has_value());
            if (jezyk == 1) {
                EXPECT_TRUE(std::all_of(text.begin(), text.end(),
                                        [](QChar c) { return c.unicode() < 0x80; }));
            }
        };
        for (int k = 1; k <= kMainTextLines; ++k) {
            check(f.s.Teksty[k], "Teksty ", k);
        }
        for (int k = 1; k <= kSecondTextLines; ++k) {
            check(f.s.Teksty_ok[k], "Teksty_ok ", k);
        }
    }
}

TEST(LanguageFiles, PolishReadsWithItsLetters) {
    const Shipped pl = Load(0);
    EXPECT_TRUE(pl.s.Teksty[16].contains(QStringLiteral("ą")));
    EXPECT_TRUE(pl.s.Teksty_ok[1].contains(QStringLiteral("ę")));
}

// The report appends values directly to many lines; a translation must keep whether the line
// ends with a blank, or the numbers run into the words (or stand a blank too far).
TEST(LanguageFiles, EveryTranslationEndsItsLinesAsThePolishOneDoes) {
    const Shipped pl = Load(0);
    auto endsBlank = [](const QString& t) { return t.endsWith(u' '); };
    for (int jezyk = 1; jezyk < kLanguageCount; ++jezyk) {
        SCOPED_TRACE(jezyk);
        const Shipped other = Load(jezyk);
        for (int k = 1; k <= kMainTextLines; ++k) {
            EXPECT_EQ(endsBlank(other.s.Teksty[k]), endsBlank(pl.s.Teksty[k])) << "Teksty " << k;
            EXPECT_EQ(other.s.Teksty[k].startsWith(u' '), pl.s.Teksty[k].startsWith(u' '))
                << "Teksty " << k;
        }
        for (int k = 1; k <= kSecondTextLines; ++k) {
            EXPECT_EQ(endsBlank(other.s.Teksty_ok[k]), endsBlank(pl.s.Teksty_ok[k]))
                << "Teksty_ok " << k;
            EXPECT_EQ(other.s.Teksty_ok[k].startsWith(u' '), pl.s.Teksty_ok[k].startsWith(u' '))
                << "Teksty_ok " << k;
        }
    }
}

TEST(LanguageFiles, PolishWithoutDiacriticsIsThePolishTextWithPlainLetters) {
    const Shipped pl = Load(0);
    const Shipped p2 = Load(1);
    const QString from = QStringLiteral("ąćęłńóśźżĄĆĘŁŃÓŚŹŻ");
    const QString to = QStringLiteral("acelnoszzACELNOSZZ");
    auto plain = [&](QString t) {
        for (int k = 0; k < from.size(); ++k) {
            t.replace(from[k], to[k]);
        }
        return t;
    };
    for (int k = 1; k <= kMainTextLines; ++k) {
        EXPECT_EQ(p2.s.Teksty[k], plain(pl.s.Teksty[k])) << k;
    }
    for (int k = 1; k <= kSecondTextLines; ++k) {
        EXPECT_EQ(p2.s.Teksty_ok[k], plain(pl.s.Teksty_ok[k])) << k;
    }
}

}  // namespace
}  // namespace vardel
