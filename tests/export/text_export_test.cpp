#include "export/text_export.h"
#include "export/rtf_export.h"
#include "export/word_export.h"

#include "state/file_write.h"
#include "tests/export/export_fixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace vardel {
namespace {

using test::Load;
using test::Plate;

using test::Compose;
using test::Report;

TEST(TextExport, MatchesTheReadFiles) {
    // 36 mm bolts of 18G2,18G2A in plain B30 concrete; the anchors of the compressed zone carry
    // the horizontal force.
    const Plate large{1050, 300, 950, 24, 5, 4, 4, 0, 1, 6.61};
    const QLocale german(QLocale::German, QLocale::Germany);
    const struct {
        const char* golden;
        int jezyk;
        int norma;
        QLocale locale;
        Plate plate;
        std::vector<Load> loads;
    } rows[] = {
        {"export/text_polish_one_case.txt", 0, 1, test::Polish(), Plate{}, {{500, 150, 40}}},
        {"export/text_english_six_cases.txt", 2, 0, test::DecimalPoint(), Plate{},
         test::SixCases()},
        {"export/text_german_decimal_comma.txt", 4, 1, german, large, {{5000, 6000, 1650}}},
        // The PN-EN block beside the PN-B lines, with the PN-EN inputs' defaults.
        {"export/text_french_eurocode.txt", 3, kNormaEurocode, test::DecimalPoint(), Plate{},
         test::SixCases()},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.golden);
        Report r;
        Compose(r, row.plate, row.loads, row.jezyk, row.norma, row.locale);
        const QString diff =
            test::CompareGolden(row.golden, TextExportBytes(r.s, r.lines, r.header, row.locale));
        EXPECT_TRUE(diff.isEmpty()) << diff.toStdString();
    }
}

// Each export writes its file whole, over an older and longer one, or says why, naming the path
// or the picture at fault; a failure leaves the old file as it was and nothing beside it. The
// shared writer's own tests cover a write that fails half-way.
TEST(Exports, WriteWholeOrSayWhy) {
    Report r;
    Compose(r, Plate{}, test::SixCases(), 0, 1, test::Polish());
    r.s.Tryb_RTF = 2;
    QTemporaryDir programDir, out;
    ASSERT_TRUE(programDir.isValid() && out.isValid());
    test::FillProgramDir(r.s, programDir.path());
    const QString pictures = programDir.path();
    const QLocale pl = test::Polish();
    const struct {
        const char* file;
        std::function<QString(const QString&)> write;  // the message, empty when written
        const char* failure;                           // how a failure message starts
        bool pictures = true;
    } exports[] = {
        {"Wyniki.txt",
         [&](const QString& to) { return WriteTextExport(to, r.s, r.lines, r.header, pl); },
         "Nie udało się zapisać pliku tekstowego\n", false},
        {"Wyniki.rtf",
         [&](const QString& to) {
             return WriteRtfExport(to, r.s, r.lines, r.header, pictures, pl, test::kClock).message;
         },
         "Nie udało się zapisać pliku RTF"},
        {"Wyniki.docx",
         [&](const QString& to) {
             const WordExportResult w = WriteWordExport(to, {r.s, r.lines, r.header, pictures, pl});
             EXPECT_EQ(w.caption, QStringLiteral("Dokument Word'a"));
             EXPECT_EQ(w.message.contains(QStringLiteral("'Układ strony'")), w.ok);
             return w.ok ? QString() : w.message;
         },
         "Nie udało się zapisać dokumentu Word'a"},
    };
    // The text carries the page number it was written with, before the RTF moved it on.
    const QByteArray text = TextExportBytes(r.s, r.lines, r.header, pl);
    for (const auto& e : exports) {
        SCOPED_TRACE(e.file);
        const QString path = out.filePath(QString::fromLatin1(e.file));
        ASSERT_EQ(WriteWholeFile(path, QByteArray(100000, 'x')), QString());
        ASSERT_EQ(e.write(path), QString());
        const QByteArray bytes = test::ReadAll(path);
        const QString noFolder = out.filePath(QStringLiteral("no such folder/") + e.file);
        for (const QString& bad : {noFolder, out.path(), QString()}) {
            const QString message = e.write(bad);
            EXPECT_TRUE(message.startsWith(QString::fromUtf8(e.failure)) &&
                        message.contains(QDir::toNativeSeparators(bad)))
                << message.toStdString();
        }
        // An unreadable sketch stops the documents with pictures.
        const QString sketch = programDir.filePath(QStringLiteral("SzkicOK4.bmp"));
        const QByteArray picture = test::ReadAll(sketch);
        ASSERT_EQ(WriteWholeFile(sketch, "BM not a bitmap"), QString());
        const QString message = e.write(path);
        ASSERT_EQ(WriteWholeFile(sketch, picture), QString());
        EXPECT_EQ(message.contains(QDir::toNativeSeparators(sketch)), e.pictures);
        EXPECT_EQ(test::ReadAll(path), bytes);
    }
    EXPECT_EQ(test::ReadAll(out.filePath(QStringLiteral("Wyniki.txt"))), text);
    // The RTF document's pages go on from the page it started on (three pages with the real
    // pictures); nine real pictures, the ring, the forces, one sketch per case and the N–M diagram,
    // in a file of ASCII text.
    EXPECT_EQ(r.s.Strona, 3);
    EXPECT_EQ(PagePanelText(r.s.Strona), QStringLiteral(" Strona 3 "));
    const QByteArray rtf = test::ReadAll(out.filePath(QStringLiteral("Wyniki.rtf")));
    EXPECT_EQ(rtf.count("}{\\fldrslt{\\pict\\pngblip"), 9);
    EXPECT_TRUE(rtf.contains(QByteArray("\x89PNG\r\n", 6).toHex()));
    EXPECT_TRUE(std::all_of(rtf.begin(), rtf.end(), [](char c) { return (c & 0x80) == 0; }));
    EXPECT_TRUE(test::ReadAll(out.filePath(QStringLiteral("Wyniki.docx"))).startsWith("PK"));
    EXPECT_EQ(QDir(out.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              (QStringList{QStringLiteral("Wyniki.docx"), QStringLiteral("Wyniki.rtf"),
                           QStringLiteral("Wyniki.txt")}));
}

}  // namespace
}  // namespace vardel
