#include "print/page_files.h"
#include "tests/print/report_fixture.h"
#include "tests/test_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

namespace vardel {
namespace {

using test::CalculatedReport;
using test::MakeReport;

QStringList SplitCrLf(const QByteArray& bytes) {
    QString text = QString::fromUtf8(bytes);
    EXPECT_TRUE(text.endsWith("\r\n"));
    text.chop(2);
    return text.split("\r\n");
}

// Writes the page files of `report` into a fresh directory and returns the bytes of
// VARDELOK.wyd and VARDELOK1.wyd with the directory replaced by "/program", so that the golden
// files do not depend on where the test ran.
struct Written {
    QByteArray page;
    QByteArray header;
};
Written WriteInTempDir(const CalculatedReport& r, const QLocale& locale) {
    QTemporaryDir dir;
    EXPECT_TRUE(dir.isValid());
    const PrintResult result = WritePageFiles({r.state, r.lines, r.header, dir.path(), locale});
    EXPECT_TRUE(result.ok) << result.message.toStdString();
    Written w{test::ReadAll(dir.filePath("VARDELOK.wyd")),
              test::ReadAll(dir.filePath("VARDELOK1.wyd"))};
    w.page.replace(dir.path().toUtf8(), "/program");
    w.header.replace(dir.path().toUtf8(), "/program");
    return w;
}

// The two golden pages were read line by line against the layout rules: a one-case report with a
// lifted plate, and a six-case report with two wholly compressed cases, concrete notes, the
// summary and a Polish decimal comma in the report numbers (never in the positions).
TEST(PageFiles, MatchGoldenPages) {
    const struct {
        int cases;
        const char* golden;
    } rows[] = {{1, "print/golden/page_1case.wyd"}, {6, "print/golden/page_6cases.wyd"}};
    for (const auto& row : rows) {
        CalculatedReport r = MakeReport(row.cases, test::Polish());
        const Written w = WriteInTempDir(r, test::Polish());
        const QString diff = test::CompareGolden(row.golden, w.page);
        EXPECT_TRUE(diff.isEmpty()) << diff.toStdString();
    }
}

TEST(PageFiles, HeaderFileIsTheFirst24LinesOfThePage) {
    for (int cases : {1, 6}) {
        const Written w = WriteInTempDir(MakeReport(cases), test::DecimalPoint());
        const QStringList header = SplitCrLf(w.header);
        const QStringList page = SplitCrLf(w.page);
        ASSERT_EQ(header.size(), 24);
        EXPECT_EQ(page.mid(0, 24), header);
        EXPECT_EQ(header.last(), "9,1.");
        EXPECT_GT(page.size(), 24);
    }
}

TEST(PageFiles, PageLabelAndModeLineFollowThePageNumber) {
    CalculatedReport r = MakeReport(1);
    for (Int16 page : {Int16(1), Int16(12), Int16(0)}) {
        r.state.Strona = page;
        QStringList lines;
        WritePageHeader(lines, r.state, r.header);
        // A page number of 0 prints nothing after the label, as "####" prints no digit for 0.
        EXPECT_EQ(lines[20], page == 0 ? QString("Strona ") : "Strona " + QString::number(page));
        EXPECT_EQ(JobFileLines(PrintMode::Print, page, "/p").first(),
                  "-1, 1.0, 0.5, 1.0, " + QString::number(page));
    }
}

TEST(JobFile, ModeLinesAndPaths) {
    const struct {
        PrintMode mode;
        const char* first;
    } rows[] = {
        {PrintMode::Print, "-1, 1.0, 0.5, 1.0, 7"},
        {PrintMode::PrintWithChoice, "1, 1.0, 0.5, 1.0, 7"},
        {PrintMode::SaveEmf, " 2, 1.0, 0.5, 1.0, 7"},
        {PrintMode::ClipboardPreview, "3, 1.0, 0.5, 1.0, 7"},
        {PrintMode::ClipboardPreviewShort, "3, 1.0, 0.5, 1.0 7"},
        {PrintMode::PicturePreview, "-2, 1.0, 0.5, 1.0, 7"},
        {PrintMode::PicturePreviewShort, "-2, 1.0, 0.5, 1.0 7"},
    };
    QTemporaryDir dir;
    for (const auto& row : rows) {
        ASSERT_TRUE(WriteJobFile(row.mode, 7, dir.path()).ok);
        const QByteArray bytes = test::ReadAll(dir.filePath("W_KK.txt"));
        EXPECT_EQ(bytes, QByteArray(row.first) + "\r\n" + dir.filePath("VARDELOK.wyd").toUtf8() +
                             "\r\n" + dir.filePath("VARDELOK1.wyd").toUtf8() + "\r\n");
    }
}

// --- The vertical layout of the body -------------------------------------------------------

// A state whose texts are markers, so that each line of the body can be found by its text.
DesignCase MarkedState(int cases, std::initializer_list<bool> partly, int anchorLines) {
    DesignCase s;
    s.Liczba_przyp = static_cast<Int16>(cases);
    s.r_rdzenia = 10;
    int c = 1;
    for (bool p : partly) {
        s.e_cm[c] = p ? 25 : 5;
        s.Wynik_V[c] = QString("V%1").arg(c);
        ++c;
    }
    for (int i = 18; i <= 20; ++i) {
        s.Teksty[i] = QString("T%1 ").arg(i);
    }
    s.Dobor_liczba = static_cast<Int16>(anchorLines);
    for (int i = 1; i <= 10; ++i) {
        s.Dobor_teksty[i] = QString("D%1").arg(i);
    }
    return s;
}

ReportLines MarkedLines(std::initializer_list<bool> notes) {
    ReportLines r;
    int c = 1;
    for (bool n : notes) {
        r.Linia_a[c] = QString("A%1").arg(c);
        r.Uwaga_betonu[c] = n ? QString("U%1").arg(c) : QString(" ");
        ++c;
    }
    r.Teksty_rap[3] = "R3";
    return r;
}

// The command line before the data line `text`, or nothing when the text is not on the page.
std::optional<QString> CommandBefore(const QStringList& lines, const QString& text) {
    for (int i = 25; i < lines.size(); ++i) {
        if (lines[i] == text) {
            return lines[i - 1];
        }
    }
    return std::nullopt;
}

TEST(PageBody, VerticalPositions) {
    struct Expect {
        const char* text;
        const char* command;  // nullptr: the text must not be on the page
    };
    const struct {
        const char* name;
        int cases;
        std::initializer_list<bool> partly;
        std::initializer_list<bool> notes;
        int anchorLines;
        std::vector<Expect> expect;
    } rows[] = {
        {"one case, lifted, with a note and an anchor",
         1,
         {true},
         {true},
         8,
         {{"A1", "3,6.,171.0,1,,3.2,1.,0.,0,0,0,400,5"},
          {"V1", "3,6.,189.5,1,,3.2,1.,0.,0,0,0,400,5"},
          {"R3", nullptr},
          {"D1", "3,6.,195.5,1,,3.5,1.,0.,0,1,0,400,5"},
          {"D2", "3,6.,200.3,1,,3.2,1.,0.,0,0,0,400,5"},
          {"D6", "3,6.,218.3,1,,3.2,1.,0.,0,0,0,400,5"},
          {"D7", "3,6.,234.8,1,,3.2,1.,0.,0,0,0,400,5"},
          {"D8", "3,6.,239.3,1,,3.2,1.,0.,0,0,0,400,5"},
          {"D9", nullptr}}},
        {"one case, wholly compressed, no note, no anchor",
         1,
         {false},
         {false},
         0,
         {{"A1", nullptr}, {"V1", "3,6.,180.0,1,,3.2,1.,0.,0,0,0,400,5"}, {"D1", nullptr}}},
        {"one case, wholly compressed, with a note",
         1,
         {false},
         {true},
         0,
         {{"U1", "3,6.,180.0,1,,3.2,1.,0.,0,0,0,400,5"},
          {"V1", "3,6.,185.0,1,,3.2,1.,0.,0,0,0,400,5"}}},
        {"two cases and the summary",
         2,
         {false, true},
         {false, true},
         0,
         {{"V1", "3,6.,184.5,1,,3.2,1.,0.,0,0,0,400,5"},
          {"A2", "3,6.,199.5,1,,3.2,1.,0.,0,0,0,400,5"},
          {"U2", "3,6.,213.0,1,,3.2,1.,0.,0,0,0,400,5"},
          {"V2", "3,6.,218.0,1,,3.2,1.,0.,0,0,0,400,5"},
          {"R3", "3,6.,224.0,1,,3.2,1.,0.,0,0,0,400,5"},
          {"D1", nullptr}}},
    };
    for (const auto& row : rows) {
        const DesignCase s = MarkedState(row.cases, row.partly, row.anchorLines);
        const ReportLines r = MarkedLines(row.notes);
        const HeaderTexts h;
        QStringList lines;
        WritePageHeader(lines, s, h);
        WritePageBody(lines, {s, r, h, "/p", test::DecimalPoint()});
        for (const Expect& e : row.expect) {
            const auto got = CommandBefore(lines, e.text);
            if (e.command == nullptr) {
                EXPECT_FALSE(got.has_value()) << row.name << ": " << e.text;
            } else {
                EXPECT_EQ(got.value_or("(missing)"), e.command) << row.name << ": " << e.text;
            }
        }
    }
}

TEST(PageBody, PicturesOfTheLiftedCasesAndOfTheAnchor) {
    const DesignCase s = MarkedState(2, {false, true}, 6);
    const ReportLines r = MarkedLines({false, true});
    QStringList lines;
    WritePageBody(lines, {s, r, HeaderTexts{}, "/opt/vardel/", test::DecimalPoint()});
    EXPECT_EQ(lines.mid(0, 4), (QStringList{"5, 10., 40., 59.8, 59.8", "/opt/vardel/Piersc.bmp",
                                            "5, 110., 35., 59.5, 76.3", "/opt/vardel/Sily.bmp"}));
    EXPECT_FALSE(lines.contains("/opt/vardel/SzkicOK1.bmp"));
    EXPECT_EQ(CommandBefore(lines, "/opt/vardel/SzkicOK2.bmp").value_or(""),
              "5, 125.,191.5,26.4, 26.4");
    // After the summary (y = 242.0) the first anchor line, then the sketch 4.8 mm lower.
    EXPECT_EQ(CommandBefore(lines, "/opt/vardel/Szkick.bmp").value_or(""),
              "5, 80., 246.8,86.8,30.5");
}

TEST(PageBody, OmegaLineUsesTheSymbolFontAndTheUsersDecimalSeparator) {
    DesignCase s = MarkedState(1, {true}, 0);
    s.Omega_u[1] = 1.2345f;
    const ReportLines r = MarkedLines({true});
    QStringList lines;
    WritePageBody(lines, {s, r, HeaderTexts{}, "/p", test::Polish()});
    const qsizetype at = lines.indexOf("U1");
    ASSERT_GT(at, 0);
    EXPECT_EQ(
        lines.mid(at + 1, 6),
        (QStringList{"3,,,1,,3.2,1.,0.,0,0,0,400,2", "w", "3,@0.,@1.5,1,,3.2,1.,0.,0,0,0,400,5",
                     "u", "3,@0.,@-1.5,1,,3.2,1.,0.,0,0,0,400,5", "1,235 = "}));
}

TEST(PageBody, SummaryNumbersUseTheUsersLocale) {
    DesignCase s = MarkedState(2, {false, false}, 0);
    s.Sig_b_max = static_cast<float>(12.5 * kKgcm2PerMpa);
    s.Sig_s_max = static_cast<float>(1234.5 * kKgcm2PerMpa);
    s.F_s_max = static_cast<float>(15000.3 * kKgPerKn);
    QStringList lines;
    WritePageBody(lines, {s, MarkedLines({false, false}), HeaderTexts{}, "/p", test::Polish()});
    EXPECT_TRUE(lines.contains("T18 12,5 MPa")) << lines.join('|').toStdString();
    EXPECT_TRUE(lines.contains("T19 1 234,5 MPa")) << lines.join('|').toStdString();
    EXPECT_TRUE(lines.contains("T20 15 000,3 kN")) << lines.join('|').toStdString();
}

// --- Writing whole files ------------------------------------------------------------------

TEST(PageFiles, TextsAreUtf8WithCrLfAndLineBreaksInsideATextCannotSplitIt) {
    QTemporaryDir dir;
    const QString path = dir.filePath("x.wyd");
    ASSERT_TRUE(WriteLinesWhole(path, {"Żółć ω", "a\r\nb", "c\nd"}).ok);
    EXPECT_EQ(test::ReadAll(path), QString("Żółć ω\r\na  b\r\nc d\r\n").toUtf8());
}

TEST(PageFiles, AnUnwritableDirectoryIsReportedAndNothingIsHalfWritten) {
    CalculatedReport r = MakeReport(1);
    QTemporaryDir dir;
    const QString missing = dir.filePath("no/such/dir");
    const PrintResult result = WritePageFiles({r.state, r.lines, r.header, missing, QLocale::c()});
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.message.contains("VARDELOK1.wyd")) << result.message.toStdString();
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

}  // namespace
}  // namespace vardel
