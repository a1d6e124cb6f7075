#include "texts/language.h"
#include "state/file_write.h"
#include "texts/codepage.h"

#include "tests/test_support.h"
#include "tests/texts/qstring_print.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vardel {
namespace {

// `count` numbered lines ("<prefix> k"), CR LF ended, in UTF-8.
QByteArray NumberedLines(const QString& prefix, int count) {
    QByteArray out;
    for (int k = 1; k <= count; ++k) {
        out += (prefix + QStringLiteral(" %1").arg(k)).toUtf8() + "\r\n";
    }
    return out;
}

class LanguageTest : public ::testing::Test {
  protected:
    void Put(const QString& name, const QByteArray& bytes) {
        ASSERT_EQ(WriteWholeFile(dir_.filePath(name), bytes), QString());
    }
    // Both files of a language with enough numbered lines.
    void PutLanguage(int jezyk, const QString& prefix) {
        const LanguageFileNames names = LanguageFiles(jezyk);
        Put(names.main, NumberedLines(prefix, kMainTextLines));
        Put(names.second, NumberedLines(prefix + QStringLiteral(" ok"), kSecondTextLines));
    }
    QString Dir() const { return dir_.path(); }

    QTemporaryDir dir_;
    DesignCase s_;
};

TEST(SplitTextLines, LineEnds) {
    const std::pair<const char*, QStringList> rows[] = {{"", {}},
                                                        {"a\r\nb\r\n", {"a", "b"}},
                                                        {"a\nb", {"a", "b"}},
                                                        {"a\r\n\r\nc\r\n", {"a", "", "c"}},
                                                        {"  x  \r\n", {"  x  "}},
                                                        {"\xEF\xBB\xBFhead\r\n", {"head"}},
                                                        {"mid\rdle\r\n", {"mid\rdle"}}};
    for (const auto& [text, lines] : rows) {
        EXPECT_EQ(SplitTextLines(QString::fromUtf8(text)), lines) << text;
    }
}

// More lines than needed: the extra ones are not read. An empty line keeps its place and blanks
// around a text are kept.
TEST_F(LanguageTest, LoadsExactlyTheRequiredLinesInOrder) {
    QByteArray main;
    for (int k = 1; k <= kMainTextLines + 3; ++k) {
        main += (k == 5 ? QByteArray() : "  t" + QByteArray::number(k) + "  ") + "\r\n";
    }
    Put(LanguageFiles(2).main, main);
    Put(LanguageFiles(2).second, NumberedLines(QStringLiteral("second"), kSecondTextLines));
    s_.Jezyk = 2;
    const FileResult r = LoadLanguageTexts(s_, Dir());
    ASSERT_FALSE(r) << r->message.toStdString();
    EXPECT_EQ(s_.Teksty[1], QStringLiteral("  t1  "));
    EXPECT_EQ(s_.Teksty[5], QString());
    EXPECT_EQ(s_.Teksty[6], QStringLiteral("  t6  "));
    EXPECT_EQ(s_.Teksty[66], QStringLiteral("  t66  "));
    EXPECT_EQ(s_.Teksty_ok[1], QStringLiteral("second 1"));
    EXPECT_EQ(s_.Teksty_ok[10], QStringLiteral("second 10"));
    EXPECT_TRUE(s_.Teksty[0].isEmpty());
}

TEST_F(LanguageTest, ShortFileIsRefusedByNameAndTablesStay) {
    PutLanguage(0, QStringLiteral("old"));
    ASSERT_FALSE(LoadLanguageTexts(s_, Dir()));
    const DesignCase before = s_;

    constexpr int kNone = -1;
    constexpr int kPipe = -2;  // a named pipe that nobody writes
    const struct {
        int mainLines;
        int secondLines;
        const char* namedFile;
    } rows[] = {
        {kMainTextLines - 1, kSecondTextLines, "Vdlfr.txt"},
        {kMainTextLines, kSecondTextLines - 1, "Vdlfrok.txt"},
        {0, kSecondTextLines, "Vdlfr.txt"},
        {kNone, kSecondTextLines, "Vdlfr.txt"},
        {kMainTextLines, kNone, "Vdlfrok.txt"},
        {kMainTextLines, kPipe, "Vdlfrok.txt"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << r.mainLines << " " << r.secondLines);
        const LanguageFileNames names = LanguageFiles(3);
        for (const auto& [name, lines] :
             {std::pair(names.main, r.mainLines), std::pair(names.second, r.secondLines)}) {
            QFile::remove(QDir(Dir()).filePath(name));
            if (lines >= 0) {
                Put(name, NumberedLines(QStringLiteral("new"), lines));
            } else if (lines == kPipe) {
                ASSERT_TRUE(test::MakeFifo(QDir(Dir()).filePath(name)));
            }
        }
        s_.Jezyk = 3;
        const FileResult err = LoadLanguageTexts(s_, Dir());
        ASSERT_TRUE(err);
        EXPECT_TRUE(err->message.contains(
            QDir::toNativeSeparators(QDir(Dir()).filePath(QString::fromLatin1(r.namedFile)))))
            << err->message.toStdString();
        EXPECT_EQ(s_.Teksty, before.Teksty);
        EXPECT_EQ(s_.Teksty_ok, before.Teksty_ok);
    }
}

// Each text has letters that are other letters in the other code page (and no valid UTF-8 in
// its 8-bit form), so a row shows which code page the language falls back to.
TEST_F(LanguageTest, EncodingsGiveTheSameTexts) {
    const QString pl = QStringLiteral("Naprężenie w śrubie żółć");
    const QString de = QStringLiteral("Spannung größer als zulässig, à la Ü");
    const struct {
        int jezyk;
        QString text;
        CodePage page;
        bool utf8;
        int files = -1;  // the language whose files are read, when not `jezyk`
    } rows[] = {
        {0, pl, CodePage::Windows1250, false},
        {0, pl, CodePage::Windows1250, true},
        {4, de, CodePage::Windows1252, false},
        {4, de, CodePage::Windows1252, true},
        {3, QStringLiteral("Contrainte dépassée, béton à vérifier"), CodePage::Windows1252, false},
        // A language out of range reads the Polish files and keeps its setting.
        {5, pl, CodePage::Windows1250, false, 0},
        {-1, pl, CodePage::Windows1250, false, 0},
        {32767, pl, CodePage::Windows1250, false, 0},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.text.toStdString() + (r.utf8 ? " UTF-8 " : " ") + std::to_string(r.jezyk));
        const QByteArray line = r.utf8 ? r.text.toUtf8() : EncodeCodePage(r.text, r.page).value();
        const LanguageFileNames names = LanguageFiles(r.files < 0 ? r.jezyk : r.files);
        Put(names.main, (line + "\r\n").repeated(kMainTextLines));
        Put(names.second, (line + "\r\n").repeated(kSecondTextLines));
        s_.Jezyk = static_cast<Int16>(r.jezyk);
        ASSERT_FALSE(LoadLanguageTexts(s_, Dir()));
        EXPECT_EQ(s_.Jezyk, r.jezyk);
        EXPECT_EQ(s_.Teksty[33], r.text);
        EXPECT_EQ(s_.Teksty_ok[10], r.text);
    }
    // A byte that the code page leaves undefined keeps its place as the same Latin-1 character.
    EXPECT_EQ(DecodeText("\xb3\x81\x9f", CodePage::Windows1250), QStringLiteral("ł\u0081ź"));
}

}  // namespace
}  // namespace vardel
