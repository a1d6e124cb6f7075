#include "lumdruk/page_file.h"

#include "tests/lumdruk/lumdruk_fixture.h"

#include <gtest/gtest.h>

namespace vardel::lumdruk {
namespace {

using test::CrLf;

// Every form of every command in one file, the font carrying from one text to the next: the
// header's first frame lines have one more field, the short text form takes the current font, a
// heavy weight is bold without the bold switch, a text line refused half-way through its fields
// leaves the font alone, and a text command on the last line, without a line end, keeps an empty
// text. The byte order mark is not a command.
TEST(PageFile, ReadsEveryFormOfEveryCommand) {
    const PageFile file = ParsePageFile(
        "\xEF\xBB\xBF"
        "14,178.,0.,0,1\n14,178.,0.1,1\n\n   \n14,177.,15.,1\n"
        "3,3.,19.0,1,,3.5,1.,0.,0,0,0,400,5\nŁódź – Żółć\n"
        "13,147.,23.5,1,,3.5,1.,0.,0,1,0,400,5\nStrona 3\n"
        "3,1.,2.,1,,9.9,1.,0.,1,0,1,x,2\nrefused\n3,3.,8.\n \n9,1.\n"
        "3,6.,205.,1,,3.2,1.,0.,1,0,1,400,5\nbold underlined\n"
        "3,6.,210.,1,,3.2,1.,0.,0,0,0,600,5\nheavy\n"
        "3,,,1,,3.2,1.,0.,0,0,0,400,2\nw\n3,@0.,@1.5,1,,3.2,1.,0.,0,0,0,400,5\nu\n"
        "3,@0.,@-1.5,1,,3.2,1.,0.,0,0,0,400,5\n1,16 = \n"
        "5, 125.,121.5,26.4, 26.4\n/prog/SzkicOK1.bmp  \n3,1.,2.");
    EXPECT_EQ(file.notes,
              QStringList({"line 10: the font weight is not a number, skipped",
                           "line 27: the data line is missing at the end of the file"}));
    const auto Abs = [](double v) { return Coord{false, v}; };
    const auto Rel = [](double v) { return Coord{true, v}; };
    const std::vector<DrawOp> expected = {
        PenOp{178, 0, false},
        PenOp{178, 0.1, true},
        PenOp{177, 15, true},
        TextOp{Abs(3), Abs(19), {3.5}, "Łódź – Żółć"},
        TextOp{Abs(147), Abs(23.5), {3.5, false, true}, "Strona 3", true},
        TextOp{Abs(3), Abs(8), {3.5, false, true}, " "},
        HeaderEndOp{},
        TextOp{Abs(6), Abs(205), {3.2, true, false, true}, "bold underlined"},
        TextOp{Abs(6), Abs(210), {3.2, true}, "heavy"},
        TextOp{Rel(0), Rel(0), {3.2, false, false, false, FontFace::Symbol}, "w"},
        TextOp{Rel(0), Rel(1.5), {3.2}, "u"},
        TextOp{Rel(0), Rel(-1.5), {3.2}, "1,16 = "},
        BitmapOp{125, 121.5, 26.4, 26.4, "/prog/SzkicOK1.bmp"},
        TextOp{Abs(1), Abs(2), {3.2}, ""}};
    ASSERT_EQ(file.ops.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(file.ops[i], expected[i]) << "command " << i;
    }
}

// A bad line is skipped and noted; the lines after it are read as usual, and the data line of a
// bad text or picture command is never taken for a command, even when it looks like one.
TEST(PageFile, MalformedLinesAreSkippedAndNoted) {
    const char* const bad[] = {
        "77,1.,2.",
        "hello world",
        "3.5,1.,2.",  // not taken for a text command: the next line stays a command
        "14,abc,1.,1",
        "14,1.,2.",
        "14,1e999,0.,1",
        "3,x,5.,1,,3.2,1.,0.,0,0,0,400,5\n14,9.,9.,1",
        "3,1.,2.,1,,-3.5,1.,0.,0,0,0,400,5\nt",
        "3,1.,2e9,1,,3.5,1.,0.,0,0,0,400,5\nt",
        "3,1.\nt",
        "3,1.,2.,1,,3.5,1.,0.,x,0,0,400,5\nt",
        "5, 1., 2., 0., 5.\n/p/a.bmp",
        "5, 1., 2., 3.\n/p/a.bmp",
        "5, 1., 2., 3., 4.\n  ",
    };
    // Each bad command (with its data line) followed by a good one.
    QStringList lines;
    QStringList expectedNotes;
    for (const char* b : bad) {
        expectedNotes << QStringLiteral("line %1:").arg(lines.size() + 1);
        lines += QString::fromUtf8(b).split(u'\n') + QStringList{"14,5.,6.,1"};
    }
    const PageFile file = ParsePageFile(CrLf(lines));
    EXPECT_EQ(file.ops, std::vector<DrawOp>(std::size(bad), PenOp{5, 6, true}));
    ASSERT_EQ(file.notes.size(), expectedNotes.size()) << file.notes.join("\n").toStdString();
    for (qsizetype i = 0; i < expectedNotes.size(); ++i) {
        EXPECT_TRUE(file.notes[i].startsWith(expectedNotes[i])) << file.notes[i].toStdString();
    }
}

// A damaged file gives 50 notes and the count of the rest; a quoted line shows its control
// characters escaped; a line is cut at a length that no report line reaches. A file in the
// Windows code page still shows its Polish letters.
TEST(PageFile, DamagedAndForeignFiles) {
    const PageFile junk = ParsePageFile(QByteArrayLiteral("\x1b[2J\x00junk\n") +
                                        QByteArray("junk line\n").repeated(4999));
    EXPECT_TRUE(junk.ops.empty());
    ASSERT_EQ(junk.notes.size(), kMaxNotes + 1);
    EXPECT_EQ(junk.notes[0], R"(line 1: not a drawing command, skipped: "\x1b[2J\x00junk")");
    EXPECT_EQ(junk.notes.back(), "4950 further notes left out");

    const PageFile longLine = ParsePageFile("3,1.,2.,1,,3.2,1.,0.,0,0,0,400,5\n" +
                                            QByteArray(kMaxLineLength * 100, 'x') + "\n14,1.,2.,1");
    ASSERT_EQ(longLine.ops.size(), 2u);
    EXPECT_EQ(std::get<TextOp>(longLine.ops[0]).text, QString(kMaxLineLength, u'x'));
    ASSERT_EQ(longLine.notes.size(), 1);
    EXPECT_TRUE(longLine.notes[0].startsWith("line 2: longer than"));

    const PageFile cp1250 =
        ParsePageFile("3,1.,2.,1,,3.2,1.,0.,0,0,0,400,5\r\n\xa3\xf3\x64\x9f\r\n");
    EXPECT_EQ(std::get<TextOp>(cp1250.ops.at(0)).text, QStringLiteral("Łódź"));
}

// Five items separated by commas or blanks; the last is the page number, which has 16 bits. Both
// page files are needed; a relative path is taken from the job file's directory.
TEST(Job, ReadsTheJobFile) {
    const std::pair<const char*, const char*> cases[] = {// mode line, "mode page" or refused
                                                         {"-1, 1.0, 0.5, 1.0, 1", "-1 1"},
                                                         {" 2, 1.0, 0.5, 1.0, 12", "2 12"},
                                                         {"-2, 1.0, 0.5, 1.0 3", "-2 3"},
                                                         {"3, 1.0, 0.5, 1.0, -4", "3 -4"},
                                                         {"-2, 1.0, 0.5, 1.0, ", "refused"},
                                                         {"x, 1.0, 0.5, 1.0, 3", "refused"},
                                                         {"-2, 1.0, 0.5, 1.0, 40000", "refused"},
                                                         {"-2, 1.0, 0.5, 1.0, 3, 4", "refused"},
                                                         {"", "refused"}};
    for (const auto& [line, expected] : cases) {
        QString error;
        const auto job = ParseJobFile(CrLf({line, "/p/A.wyd", "/p/B.wyd"}), "/p", &error);
        EXPECT_EQ(job ? QStringLiteral("%1 %2").arg(job->mode).arg(job->page) : "refused", expected)
            << line;
        EXPECT_EQ(error.isEmpty(), job.has_value()) << line;
    }
    QString error;
    EXPECT_FALSE(ParseJobFile("-2, 1.0, 0.5, 1.0, 3\r\n/p/VARDELOK.wyd", "/p", &error));
    EXPECT_FALSE(error.isEmpty());
    const auto job = ParseJobFile("-1, 1.0, 0.5, 1.0, 3\nA.wyd\n/p/B.wyd\n", "/prog", &error);
    ASSERT_TRUE(job.has_value());
    EXPECT_EQ(job->page_file, "/prog/A.wyd");
    EXPECT_EQ(job->header_file, "/p/B.wyd");
}

}  // namespace
}  // namespace vardel::lumdruk
