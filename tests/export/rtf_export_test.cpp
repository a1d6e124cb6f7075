#include "export/rtf_export.h"

#include "tests/export/export_fixture.h"

#include <QTemporaryDir>

namespace vardel {
namespace {

using test::Load;
using test::Plate;

// Stands in for the bitmaps: a few bytes naming the file, so that the golden files show which
// picture went into which field without depending on the PNG encoder.
std::optional<EmbeddedPicture> NamedPicture(const QString& name, QString*) {
    return EmbeddedPicture{("png:" + name).toLatin1(), QSize(4, 2), 3, 1.5};
}

TEST(RtfExport, MatchesTheReadFiles) {
    const struct {
        const char* golden;
        int type;
        int jezyk;
        QLocale locale;
        std::vector<Load> loads;
        Int16 lastPage;
    } rows[] = {
        // Two rows of sketches, the second on a new page; case 4 is wholly compressed and takes the
        // no-tension picture.
        {"export/rtf_type_a_four_cases.rtf",
         1,
         2,
         test::DecimalPoint(),
         {{500, 150, 40}, {500, 0, 0}, {1000, 400, 100}, {3000, 50, 0}},
         6},
        // Case 4 does not fit on the first page: a page break and the header of page 6.
        {"export/rtf_type_b_six_cases.rtf", 2, 0, test::Polish(), test::SixCases(), 6},
        // No load-case section; the project name and designation need every kind of escape.
        {"export/rtf_type_0.rtf", 0, 0, test::Polish(), {{500, 150, 40}}, 5},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.golden);
        test::Report r;
        test::Compose(r, Plate{}, row.loads, row.jezyk, 1, row.locale);
        r.s.Tryb_RTF = static_cast<Int16>(row.type);
        r.s.Strona = 5;
        if (row.type == 0) {
            r.header.Teksty_nagl[4] = QStringLiteral("Hala {B} \\ C:\tżółć € ¤");
            r.header.Teksty_nagl[7] = QStringLiteral("Ω 한 𝛚");
        }
        const RtfDocument doc =
            ComposeRtf(RtfSource{r.s, r.lines, r.header, row.locale, test::kClock}, NamedPicture);
        EXPECT_EQ(doc.failure, QString());
        EXPECT_EQ(doc.Strona, row.lastPage);
        const QString diff = test::CompareGolden(row.golden, doc.bytes);
        EXPECT_TRUE(diff.isEmpty()) << diff.toStdString();
    }
}

// The file is written whole with the real pictures, and the page count goes on from it; a
// missing picture or an unwritable path is reported by name and changes neither the old file
// nor the page count.
TEST(RtfExport, WritesWholeWithItsPicturesOrReports) {
    test::Report r;
    test::Compose(r, Plate{}, test::SixCases(), 0, 1, test::Polish());
    r.s.Tryb_RTF = 2;
    QTemporaryDir programDir;
    QTemporaryDir out;
    ASSERT_TRUE(programDir.isValid() && out.isValid());
    test::FillProgramDir(r.s, programDir.path());
    const QString path = out.filePath(QStringLiteral("Wyniki.rtf"));
    const auto write = [&](const QString& to) {
        return WriteRtfExport(to, r.s, r.lines, r.header, programDir.path(), test::Polish(),
                              test::kClock);
    };

    const RtfExportResult written = write(path);
    ASSERT_EQ(written.message, QString());
    EXPECT_EQ(written.Strona, 2);
    EXPECT_EQ(r.s.Strona, 2);
    EXPECT_EQ(PagePanelText(r.s.Strona), QStringLiteral(" Strona 2 "));
    const QByteArray bytes = test::ReadAll(path);
    // Eight pictures: the ring, the forces and one sketch per case, each a real PNG.
    EXPECT_EQ(bytes.count("{\\pict\\pngblip"), 8);
    EXPECT_EQ(bytes.count("}{\\fldrslt{\\pict\\pngblip"), 8);
    EXPECT_TRUE(bytes.contains(QByteArray("\x89PNG\r\n", 6).toHex()));
    for (char c : bytes) {
        ASSERT_TRUE(static_cast<unsigned char>(c) < 0x80) << "not ASCII";
    }

    QFile::remove(programDir.filePath(QStringLiteral("SzkicOK4.bmp")));
    const struct {
        QString to;
        QString named;
    } failures[] = {
        {path, programDir.filePath(QStringLiteral("SzkicOK4.bmp"))},
        {out.filePath(QStringLiteral("no such folder/Wyniki.rtf")),
         out.filePath(QStringLiteral("no such folder/Wyniki.rtf"))},
    };
    for (const auto& f : failures) {
        SCOPED_TRACE(f.to.toStdString());
        const RtfExportResult failed = write(f.to);
        EXPECT_TRUE(failed.message.startsWith(QStringLiteral("Nie udało się zapisać pliku RTF")));
        EXPECT_TRUE(failed.message.contains(QDir::toNativeSeparators(f.named)))
            << failed.message.toStdString();
        EXPECT_EQ(failed.Strona, 2);
        EXPECT_EQ(r.s.Strona, 2);
    }
    EXPECT_EQ(test::ReadAll(path), bytes);
    EXPECT_EQ(QDir(out.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("Wyniki.rtf")});
}

}  // namespace
}  // namespace vardel
