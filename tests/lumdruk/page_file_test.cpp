#include "lumdruk/page_file.h"

#include "tests/lumdruk/lumdruk_fixture.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vardel::lumdruk {
namespace {

using test::CrLf;

TextStyle Style(double h, bool bold = false, bool italic = false, bool underline = false,
                FontFace face = FontFace::Ordinary) {
    return TextStyle{h, bold, italic, underline, face};
}

TextOp Text(Coord x, Coord y, TextStyle style, QString text, bool label = false) {
    return TextOp{x, y, style, std::move(text), label};
}

constexpr Coord Abs(double v) {
    return Coord{false, v};
}
constexpr Coord Rel(double v) {
    return Coord{true, v};
}

struct FormCase {
    const char* name;
    QStringList lines;
    std::vector<DrawOp> expected;
};

class CommandForms : public ::testing::TestWithParam<FormCase> {};

TEST_P(CommandForms, ReadsEveryFormOfEveryCommand) {
    const FormCase& c = GetParam();
    const PageFile file = ParsePageFile(CrLf(c.lines));
    EXPECT_TRUE(file.notes.isEmpty()) << file.notes.join("; ").toStdString();
    EXPECT_EQ(file.ops, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    PageFile, CommandForms,
    ::testing::Values(
        FormCase{"frame_move_and_line",
                 {"14,0.,15.,0", "14,177.,15.,1"},
                 {PenOp{0, 15, false}, PenOp{177, 15, true}}},
        FormCase{"frame_first_lines_with_extra_field",
                 {"14,178.,0.,0,1", "14,178.,0.1,1"},
                 {PenOp{178, 0, false}, PenOp{178, 0.1, true}}},
        FormCase{"full_text_polish",
                 {"3,3.,19.0,1,,3.5,1.,0.,0,0,0,400,5", "Łódź – Żółć"},
                 {Text(Abs(3), Abs(19), Style(3.5), "Łódź – Żółć")}},
        FormCase{
            "style_switches",
            {"3,6.,200.0,1,,3.5,1.,0.,0,1,0,400,5", "italic", "3,6.,205.,1,,3.2,1.,0.,1,0,1,400,5",
             "bold underlined", "3,6.,210.,1,,3.2,1.,0.,0,0,0,700,5", "heavy"},
            {Text(Abs(6), Abs(200), Style(3.5, false, true), "italic"),
             Text(Abs(6), Abs(205), Style(3.2, true, false, true), "bold underlined"),
             Text(Abs(6), Abs(210), Style(3.2, true), "heavy")}},
        FormCase{"short_form_takes_the_current_font",
                 {"13,147.,23.5,1,,3.5,1.,0.,0,1,0,400,5", "Strona 3", "3,3.,8.", " "},
                 {Text(Abs(147), Abs(23.5), Style(3.5, false, true), "Strona 3", true),
                  Text(Abs(3), Abs(8), Style(3.5, false, true), " ")}},
        FormCase{"continuation_in_symbol_font_then_relative",
                 {"3,,,1,,3.2,1.,0.,0,0,0,400,2", "w", "3,@0.,@1.5,1,,3.2,1.,0.,0,0,0,400,5", "u",
                  "3,@0.,@-1.5,1,,3.2,1.,0.,0,0,0,400,5", "1,16 = "},
                 {Text(Rel(0), Rel(0), Style(3.2, false, false, false, FontFace::Symbol), "w"),
                  Text(Rel(0), Rel(1.5), Style(3.2), "u"),
                  Text(Rel(0), Rel(-1.5), Style(3.2), "1,16 = ")}},
        FormCase{"bitmap_and_header_end",
                 {"5, 125.,121.5,26.4, 26.4", "/prog/SzkicOK1.bmp  ", "9,1."},
                 {BitmapOp{125, 121.5, 26.4, 26.4, "/prog/SzkicOK1.bmp"}, HeaderEndOp{}}},
        FormCase{"blank_lines_between_commands_are_ignored",
                 {"14,1.,2.,0", "", "   ", "14,3.,4.,1"},
                 {PenOp{1, 2, false}, PenOp{3, 4, true}}}),
    [](const auto& info) { return std::string(info.param.name); });

struct MalformedCase {
    const char* name;
    QStringList lines;
    size_t ops;      // commands that are still read
    int noted_line;  // the line named in the first note
};

class MalformedLines : public ::testing::TestWithParam<MalformedCase> {};

// A bad line is skipped and noted; the lines after it are read as usual, and the data line of a
// bad text or picture command is never taken for a command.
TEST_P(MalformedLines, AreSkippedAndNoted) {
    const MalformedCase& c = GetParam();
    QStringList lines = c.lines;
    lines << "14,5.,6.,1";
    const PageFile file = ParsePageFile(CrLf(lines));
    ASSERT_FALSE(file.notes.isEmpty());
    EXPECT_TRUE(file.notes.front().startsWith(QStringLiteral("line %1:").arg(c.noted_line)))
        << file.notes.front().toStdString();
    ASSERT_EQ(file.ops.size(), c.ops + 1);
    EXPECT_EQ(file.ops.back(), DrawOp(PenOp{5, 6, true}));
}

INSTANTIATE_TEST_SUITE_P(
    PageFile, MalformedLines,
    ::testing::Values(
        MalformedCase{"unknown_code", {"77,1.,2."}, 0, 1},
        MalformedCase{"not_a_command", {"14,1.,1.,0", "hello world"}, 1, 2},
        MalformedCase{"frame_letters", {"14,abc,1.,1"}, 0, 1},
        MalformedCase{"frame_too_short", {"14,1.,2."}, 0, 1},
        MalformedCase{"frame_infinite", {"14,1e999,0.,1"}, 0, 1},
        MalformedCase{"frame_not_a_number", {"14,nan,0.,1"}, 0, 1},
        MalformedCase{
            "text_bad_x_consumes_data", {"3,x,5.,1,,3.2,1.,0.,0,0,0,400,5", "14,9.,9.,1"}, 0, 1},
        MalformedCase{"text_negative_height", {"3,1.,2.,1,,-3.5,1.,0.,0,0,0,400,5", "t"}, 0, 1},
        MalformedCase{"text_huge_coordinate", {"3,1.,2e9,1,,3.5,1.,0.,0,0,0,400,5", "t"}, 0, 1},
        MalformedCase{"text_only_x", {"3,1.", "t"}, 0, 1},
        MalformedCase{"text_bad_switch", {"3,1.,2.,1,,3.5,1.,0.,x,0,0,400,5", "t"}, 0, 1},
        MalformedCase{"bitmap_no_size", {"5, 1., 2., 0., 5.", "/p/a.bmp"}, 0, 1},
        MalformedCase{"bitmap_too_short", {"5, 1., 2., 3.", "/p/a.bmp"}, 0, 1},
        MalformedCase{"bitmap_empty_path", {"5, 1., 2., 3., 4.", "  "}, 0, 1},
        MalformedCase{"code_with_fraction", {"3.5,1.,2.", "14,1.,1.,1"}, 1, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PageFile, MissingDataLineAtTheEndKeepsTheTextEmptyAndIsNoted) {
    const PageFile file = ParsePageFile("14,1.,1.,0\r\n3,1.,2.,1,,3.2,1.,0.,0,0,0,400,5\r\n");
    ASSERT_EQ(file.ops.size(), 2u);
    EXPECT_EQ(std::get<TextOp>(file.ops[1]).text, QString());
    ASSERT_EQ(file.notes.size(), 1);
    EXPECT_TRUE(file.notes[0].startsWith("line 2:"));

    const PageFile picture = ParsePageFile("5, 1., 2., 3., 4.");
    EXPECT_TRUE(picture.ops.empty());
    EXPECT_EQ(picture.notes.size(), 2);  // no data line, so no file name
}

TEST(PageFile, BadTextLineLeavesTheCurrentFontAlone) {
    const PageFile file =
        ParsePageFile(CrLf({"3,1.,2.,1,,4.0,1.,0.,1,0,0,400,5", "a",
                            "3,1.,2.,1,,x,1.,0.,0,1,0,400,2", "b", "3,1.,9.", "c"}));
    ASSERT_EQ(file.ops.size(), 2u);
    EXPECT_EQ(std::get<TextOp>(file.ops[1]).style, Style(4.0, true));
}

TEST(PageFile, LineEndsAndEncodings) {
    const QStringList lines = test::HeaderLines();
    const PageFile crlf = ParsePageFile(CrLf(lines));
    const PageFile lf = ParsePageFile((lines.join('\n') + '\n').toUtf8());
    const PageFile noFinalEnd = ParsePageFile(lines.join('\n').toUtf8());
    EXPECT_EQ(crlf.ops, lf.ops);
    EXPECT_EQ(crlf.ops, noFinalEnd.ops);
    EXPECT_EQ(crlf.ops.size(), 18u);

    // A file in the Windows code page still shows its Polish letters; a BOM is not a command.
    const QByteArray cp1250 = "3,1.,2.,1,,3.2,1.,0.,0,0,0,400,5\r\n\xa3\xf3\x64\x9f\r\n";
    EXPECT_EQ(std::get<TextOp>(ParsePageFile(cp1250).ops.at(0)).text, QStringLiteral("Łódź"));
    const PageFile bom = ParsePageFile(
        "\xEF\xBB\xBF"
        "9,1.\r\n");
    EXPECT_TRUE(bom.notes.isEmpty());
    EXPECT_EQ(bom.ops.size(), 1u);
}

TEST(PageFile, ADamagedFileGivesBoundedNotes) {
    QByteArray junk;
    for (int i = 0; i < 5000; ++i) {
        junk += "junk line\n";
    }
    const PageFile file = ParsePageFile(junk);
    EXPECT_TRUE(file.ops.empty());
    EXPECT_LE(file.notes.size(), 60);
    EXPECT_GE(file.notes.size(), 10);
}

struct JobCase {
    const char* name;
    QString mode_line;
    int mode;  // 0: the job is refused
    int page;
};

class JobLines : public ::testing::TestWithParam<JobCase> {};

TEST_P(JobLines, ReadsTheModeLine) {
    const JobCase& c = GetParam();
    QString error;
    const auto job =
        ParseJobFile(CrLf({c.mode_line, "/p/VARDELOK.wyd", "/p/VARDELOK1.wyd"}), "/p", &error);
    if (c.mode == 0) {
        EXPECT_FALSE(job.has_value());
        EXPECT_FALSE(error.isEmpty());
        return;
    }
    ASSERT_TRUE(job.has_value()) << error.toStdString();
    EXPECT_EQ(job->mode, c.mode);
    EXPECT_EQ(job->page, c.page);
    EXPECT_EQ(job->page_file, "/p/VARDELOK.wyd");
    EXPECT_EQ(job->header_file, "/p/VARDELOK1.wyd");
}

INSTANTIATE_TEST_SUITE_P(
    Job, JobLines,
    ::testing::Values(JobCase{"print", "-1, 1.0, 0.5, 1.0, 1", -1, 1},
                      JobCase{"print_dialog", "1, 1.0, 0.5, 1.0, 7", 1, 7},
                      JobCase{"save_leading_blank", " 2, 1.0, 0.5, 1.0, 12", 2, 12},
                      JobCase{"picture", "-2, 1.0, 0.5, 1.0, 3", -2, 3},
                      JobCase{"picture_short_prefix", "-2, 1.0, 0.5, 1.0 3", -2, 3},
                      JobCase{"clipboard_short_prefix", "3, 1.0, 0.5, 1.0 5", 3, 5},
                      JobCase{"negative_page", "-2, 1.0, 0.5, 1.0, -4", -2, -4},
                      JobCase{"no_page", "-2, 1.0, 0.5, 1.0, ", 0, 0},
                      JobCase{"mode_not_a_number", "x, 1.0, 0.5, 1.0, 3", 0, 0},
                      JobCase{"page_beyond_16_bits", "-2, 1.0, 0.5, 1.0, 40000", 0, 0},
                      JobCase{"too_many_items", "-2, 1.0, 0.5, 1.0, 3, 4", 0, 0},
                      JobCase{"empty", "", 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Job, NeedsBothPageFilesAndResolvesRelativePaths) {
    QString error;
    EXPECT_FALSE(ParseJobFile("-2, 1.0, 0.5, 1.0, 3\r\n/p/VARDELOK.wyd\r\n", "/p", &error));
    EXPECT_FALSE(error.isEmpty());
    const auto job = ParseJobFile("-1, 1.0, 0.5, 1.0, 3\nA.wyd\nB.wyd\n", "/prog", &error);
    ASSERT_TRUE(job.has_value());
    EXPECT_EQ(job->page_file, "/prog/A.wyd");
    EXPECT_EQ(job->header_file, "/prog/B.wyd");
}

TEST(Job, PathsWrittenForWindowsFindTheFile) {
    QTemporaryDir dir;
    test::WriteFile(QDir(dir.path()).filePath("Piersc.bmp"), "x");
    const QString expected = QDir(dir.path()).filePath("Piersc.bmp");
    EXPECT_EQ(ResolveExistingPath(dir.path() + "/Piersc.BMP", {}), expected);
    EXPECT_EQ(ResolveExistingPath(dir.path() + "\\Piersc.bmp", {}), expected);
    EXPECT_EQ(ResolveExistingPath("piersc.bmp", dir.path()), expected);
    EXPECT_EQ(ResolveExistingPath(dir.path() + "/Sily.bmp", {}), dir.path() + "/Sily.bmp");
}

}  // namespace
}  // namespace vardel::lumdruk
