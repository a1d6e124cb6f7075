#include "print/page_files.h"

#include "anchors/confirm.h"
#include "lumdruk/layout.h"
#include "report/compose.h"
#include "report/header.h"
#include "tests/print/report_fixture.h"
#include "tests/report/report_fixture.h"
#include "tests/test_support.h"

#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vardel {
namespace {

// The golden pages were read line by line against the layout rules: a one-case report with a
// lifted plate, the same with a confirmed hook anchor (its first line bold and taller, its
// sketch 4.8 mm lower, five lines beside the sketch and the rest 12 mm further down), and a
// six-case report with two wholly compressed cases, concrete notes, the summary and a Polish
// decimal comma in the report numbers (never in the positions). Each report carries the N–M
// diagram after its summary (after its case when it has one case), before the anchor block. The
// header file must be the page's first 24 lines, byte for byte.
TEST(PageFiles, MatchGoldenPagesAndTheHeaderFileBeginsThem) {
    const struct {
        int cases;
        bool anchor;
        const char* golden;
    } rows[] = {{1, false, "print/golden/page_1case.wyd"},
                {1, true, "print/golden/page_1case_anchor.wyd"},
                {6, false, "print/golden/page_6cases.wyd"}};
    for (const auto& [cases, anchor, golden] : rows) {
        test::CalculatedReport r = test::MakeReport(cases, test::Polish());
        r.lines.nmDiagram = true;
        QTemporaryDir dir;
        if (anchor) {
            ASSERT_TRUE(QFile::copy(test::ProgramDir() + "/rys3f.bmp", dir.filePath("rys3f.bmp")));
            const Anchors a = std::get<Anchors>(ComputeAnchors(r.state, 50));
            ASSERT_EQ(ConfirmAnchor(r.state, a, AnchorKind::Hook, dir.path(), test::Polish()), "");
        }
        const PrintResult result =
            WritePageFiles({r.state, r.lines, r.header, dir.path(), test::Polish()});
        ASSERT_TRUE(result.ok) << result.message.toStdString();
        QByteArray page = test::ReadAll(dir.filePath("VARDELOK.wyd"));
        const QByteArray header = test::ReadAll(dir.filePath("VARDELOK1.wyd"));
        EXPECT_EQ(header.count("\r\n"), 24);
        EXPECT_TRUE(header.endsWith("\r\n9,1.\r\n") && page.startsWith(header)) << cases;
        // The golden files name the program directory "/program", wherever the test ran.
        const QString diff =
            test::CompareGolden(golden, page.replace(dir.path().toUtf8(), "/program"));
        EXPECT_TRUE(diff.isEmpty()) << diff.toStdString();
    }
}

// The page as the print program lays it out from the page files, before anything is drawn: in
// every language, for cases of every kind (whole ring bearing, partly, lifted, pure bending, the
// concrete over twice its strength, the interaction exceeded), with the N–M diagram and the
// anchor block, no text lies under a picture and neither a text nor a picture runs past the
// frame's right edge or a picture past the foot of its page.
TEST(PageFiles, NoTextUnderAPictureOrPastThePrintableWidthInAnyLanguage) {
    const std::vector<test::Load> loads = {{500, 0, 0},  {500, 150, 40}, {-200, 20, 10},
                                           {0, 120, 20}, {3000, 260, 0}, {150, 100, 400}};
    const char* languages[] = {"pl", "p2", "gb", "fr", "ge"};
    for (int jezyk = 0; jezyk < 5; ++jezyk) {
        SCOPED_TRACE(languages[jezyk]);
        DesignCase s;
        test::Plate plate;
        test::Calculated(s, plate, loads, jezyk, test::Polish());
        bool kinds[3] = {};
        for (int c = 1; c <= 6; ++c) {
            kinds[static_cast<int>(s.Docisk_blachy[c])] = true;
        }
        ASSERT_TRUE(kinds[0] && kinds[1] && kinds[2]) << "every way of bearing";
        ReportLines lines;
        ComposeReport(s, lines, test::Polish());
        lines.nmDiagram = true;
        const Anchors a = std::get<Anchors>(ComputeAnchors(s, 40));
        const QStringList block = AnchorBlock(s, a, AnchorKind::Plate, test::Polish());
        for (int i = 0; i < block.size(); ++i) {
            s.Dobor_teksty[i + 1] = block[i];
        }
        s.Dobor_liczba = static_cast<Int16>(block.size());
        HeaderTexts header;
        SetHeaderTexts(s, header, QDateTime(QDate(2026, 12, 6), QTime(9, 15)), test::Polish());

        QStringList file;
        WritePageHeader(file, s, header);
        const QString headerText = file.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
        WritePageBody(file, {s, lines, header, QStringLiteral("/nonexistent"), test::Polish()});
        QStringList notes;
        const std::vector<lumdruk::Page> pages = lumdruk::LayoutPages(
            lumdruk::ParsePageFile(file.join(QStringLiteral("\r\n")).toUtf8() + "\r\n"),
            lumdruk::ParsePageFile(headerText.toUtf8()), 1, &notes);
        int texts = 0;
        int pictures = 0;
        for (const lumdruk::Page& page : pages) {
            std::vector<QRectF> boxes;
            for (const lumdruk::PageItem& item : page.items) {
                if (const auto* image = std::get_if<lumdruk::PageImage>(&item)) {
                    boxes.push_back(image->rect);
                }
            }
            pictures += static_cast<int>(boxes.size());
            for (const QRectF& picture : boxes) {
                EXPECT_LE(picture.right(), lumdruk::kFrameLeft_mm + 177) << "page " << page.number;
                EXPECT_LE(picture.bottom(), lumdruk::kPaperHeight_mm - lumdruk::kBottomMargin_mm)
                    << "page " << page.number;
            }
            for (const lumdruk::PageItem& item : page.items) {
                const auto* t = std::get_if<lumdruk::PageText>(&item);
                if (!t || t->text.trimmed().isEmpty()) {
                    continue;
                }
                ++texts;
                const QFontMetricsF fm(lumdruk::FontFor(t->style));
                const QRectF box(
                    t->origin.x(), t->origin.y() - fm.ascent() / lumdruk::kFontUnitsPerMm,
                    t->advance_mm, (fm.ascent() + fm.descent()) / lumdruk::kFontUnitsPerMm);
                EXPECT_LE(box.right(), lumdruk::kFrameLeft_mm + 177) << t->text.toStdString();
                for (const QRectF& picture : boxes) {
                    EXPECT_FALSE(box.intersects(picture))
                        << t->text.toStdString() << " page " << page.number;
                }
            }
        }
        EXPECT_EQ(pictures, 2 + 5 + 1 + 1);  // ring, forces, five case sketches, diagram, anchor
        EXPECT_GT(texts, 60);
    }
}

// The print program reads the mode from these exact prefixes; the short forms lack the comma.
TEST(JobFile, ModePrefixes) {
    const std::pair<PrintMode, const char*> rows[] = {
        {PrintMode::Print, "-1, 1.0, 0.5, 1.0, "},
        {PrintMode::PrintWithChoice, "1, 1.0, 0.5, 1.0, "},
        {PrintMode::SaveEmf, " 2, 1.0, 0.5, 1.0, "},
        {PrintMode::ClipboardPreview, "3, 1.0, 0.5, 1.0, "},
        {PrintMode::ClipboardPreviewShort, "3, 1.0, 0.5, 1.0 "},
        {PrintMode::PicturePreview, "-2, 1.0, 0.5, 1.0, "},
        {PrintMode::PicturePreviewShort, "-2, 1.0, 0.5, 1.0 "},
    };
    for (const auto& [mode, prefix] : rows) {
        EXPECT_EQ(ModePrefix(mode), prefix);
    }
}

// The golden pages' summary numbers stay below a thousand: here the summary groups thousands in
// the user's locale. The print program takes a relative path from the page file's own folder, so
// every path given to it is absolute, also when the program directory is relative; a directory
// ending in "/" is not doubled. "####" prints no digit for 0, so page 0 leaves the label alone.
TEST(PageBody, SummaryGroupsThousandsPathsAreAbsolutePageZeroHasNoNumber) {
    DesignCase s;
    s.Liczba_przyp = 2;  // both wholly compressed: no case sketch
    s.Sig_s_max = static_cast<float>(1234.5 * kKgcm2PerMpa);
    s.F_s_max = static_cast<float>(15000.3 * kKgPerKn);
    s.Strona = 0;
    ReportLines r;
    r.Uwaga_betonu[1] = r.Uwaga_betonu[2] = " ";
    HeaderTexts h;
    h.Teksty_nagl[6] = "Strona ";
    QStringList lines;
    WritePageHeader(lines, s, h);
    EXPECT_EQ(lines[20], "Strona ");
    lines.clear();
    WritePageBody(lines, {s, r, h, "progw/", test::Polish()});
    const QString absolute = QDir::current().absoluteFilePath("progw");
    const std::pair<QString, const char*> rows[] = {
        {"1 234,5 MPa", "3,6.,223.5,1,,3.2,1.,0.,0,0,0,400,5"},
        {"15 000,3 kN", "3,6.,228.0,1,,3.2,1.,0.,0,0,0,400,5"},
        {absolute + "/Piersc.bmp", "5, 10., 40., 59.8, 59.8"},
    };
    for (const auto& [text, command] : rows) {
        const qsizetype at = lines.indexOf(text);
        EXPECT_EQ(at > 0 ? lines[at - 1] : "(none)", command) << text.toStdString();
    }
    EXPECT_EQ(JobFileLines(PrintMode::Print, 1, "progw").mid(1),
              (QStringList{absolute + "/VARDELOK.wyd", absolute + "/VARDELOK1.wyd"}));
}

TEST(PageFiles, TextsAreUtf8WithCrLfAndLineBreaksInsideATextCannotSplitIt) {
    QTemporaryDir dir;
    const QString path = dir.filePath("x.wyd");
    ASSERT_TRUE(WriteLinesWhole(path, {"Żółć ω", "a\r\nb", "c\nd"}).ok);
    EXPECT_EQ(test::ReadAll(path), QString("Żółć ω\r\na  b\r\nc d\r\n").toUtf8());
}

TEST(PageFiles, AnUnwritableDirectoryIsReportedAndNothingIsHalfWritten) {
    const DesignCase s;
    QTemporaryDir dir;
    const PrintResult result =
        WritePageFiles({s, ReportLines{}, HeaderTexts{}, dir.filePath("no/such"), QLocale::c()});
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.message.contains("VARDELOK1.wyd")) << result.message.toStdString();
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

}  // namespace
}  // namespace vardel
