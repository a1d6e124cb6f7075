#include "lumdruk/layout.h"

#include "tests/lumdruk/lumdruk_fixture.h"

#include <QFileInfo>
#include <QFontMetricsF>

#include <QImage>
#include <algorithm>

#include <gtest/gtest.h>

namespace vardel::lumdruk {
namespace {

using test::CrLf;
using test::Find;
using test::HeaderLines;
using test::TextLine;

// The page file's header and `body` laid out from page 3, the header-only file repeating it.
std::vector<Page> Layout(const QStringList& body, QStringList* notes = nullptr,
                         const QString& directory = {}) {
    PageFile page = ParsePageFile(CrLf(HeaderLines() + body));
    page.directory = directory;
    QStringList local;
    return LayoutPages(page, ParsePageFile(CrLf(HeaderLines())), 3, notes ? notes : &local);
}

template <typename T>
std::vector<T> Items(const Page& page) {
    std::vector<T> out;
    for (const PageItem& item : page.items) {
        if (const auto* i = std::get_if<T>(&item)) {
            out.push_back(*i);
        }
    }
    return out;
}

// One page: the header frame at the margins without the extent mark; texts continued and placed
// relative to the previous one; a case sketch, written after the lines beside it, drawn under
// them so that it cannot hide their ends.
TEST(Layout, HeaderFrameRelativeTextsAndPicturesUnderneath) {
    const std::vector<Page> pages =
        Layout(test::OmegaLines(150) +
               QStringList{QStringLiteral("5, 125.,142.0,26.4, 26.4"), QStringLiteral("a.bmp")});
    ASSERT_EQ(pages.size(), 1u);
    const Page& page = pages[0];
    // Four sides and the two dividers, in millimetres from the paper's corner; the 0.1 mm mark
    // at x = 178 is not drawn.
    const std::vector<PageLine> lines = Items<PageLine>(page);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(QLineF(lines[0].from, lines[0].to), QLineF(20, 10, 197, 10));
    EXPECT_EQ(QLineF(lines[5].from, lines[5].to), QLineF(163, 25, 163, 40));
    const auto isImage = [](const PageItem& i) { return std::holds_alternative<PageImage>(i); };
    EXPECT_TRUE(isImage(page.items.front()));
    EXPECT_TRUE(std::is_partitioned(page.items.begin(), page.items.end(), isImage));

    const PageText* texts[] = {Find(page, "Docisk lokalny, "), Find(page, "ω"), Find(page, "u"),
                               Find(page, "1,16 = ")};
    ASSERT_TRUE(texts[0] && texts[1] && texts[2] && texts[3]);
    EXPECT_EQ(texts[0]->origin, QPointF(26, 160));
    const double advance = QFontMetricsF(FontFor({3.2})).horizontalAdvance("Docisk lokalny, ");
    EXPECT_NEAR(texts[0]->advance_mm, advance / kFontUnitsPerMm, 1e-9);
    // Each starts where the previous one ended; the subscript 1.5 mm below the line.
    const double dy[] = {0, 0, 1.5, 0};
    for (int i = 1; i < 4; ++i) {
        EXPECT_NEAR(texts[i]->origin.x(), texts[i - 1]->origin.x() + texts[i - 1]->advance_mm,
                    1e-9);
        EXPECT_DOUBLE_EQ(texts[i]->origin.y(), 160 + dy[i]);
    }
}

TEST(Layout, SymbolFontLettersBecomeGreekAndPageLabelsTakeTheirNumber) {
    EXPECT_EQ(SymbolToUnicode("abgdW"), QStringLiteral("αβγδΩ"));
    EXPECT_EQ(SymbolToUnicode("s = 1,5 m, ł"), QStringLiteral("σ = 1,5 μ, ł"));
    const std::pair<QString, QString> labels[] = {
        {"Strona 3", "Strona 4"}, {"Page 12  ", "Page 4  "}, {"Strona ", "Strona 4"},
        {"Strona", "Strona 4"},   {"Strona -2", "Strona 4"}, {"", "4"},
    };
    for (const auto& [label, expected] : labels) {
        EXPECT_EQ(RelabelPage(label, 4), expected) << label.toStdString();
    }
}

// The line that first runs past the foot of the first page is blank: the next page begins with
// the line after it, at the continuation offset.
TEST(Layout, ALongBodyContinuesOnPagesWithTheHeaderAndTheNextNumber) {
    QStringList body = test::LongBody(120);
    body[2 * 53 + 1] = QStringLiteral(" ");
    const std::vector<Page> pages = Layout(body);
    ASSERT_EQ(pages.size(), 3u);
    int next = 0;  // every line once, in order
    for (int p = 0; p < 3; ++p) {
        SCOPED_TRACE(p);
        // Every page carries the header and its own number.
        EXPECT_EQ(pages[p].number, 3 + p);
        EXPECT_NE(Find(pages[p], "Zakotwienie słupów stalowych"), nullptr);
        EXPECT_NE(Find(pages[p], QStringLiteral("Strona %1").arg(3 + p)), nullptr);
        std::vector<PageText> lines = Items<PageText>(pages[p]);
        std::erase_if(lines, [](const PageText& t) { return !t.text.startsWith("wiersz"); });
        ASSERT_FALSE(lines.empty());
        if (p > 0) {
            // The first line of a continuation page has its top at the continuation offset.
            const double ascent = QFontMetricsF(FontFor(lines[0].style)).ascent();
            EXPECT_NEAR(lines[0].origin.y() - ascent / kFontUnitsPerMm, 50, 1e-9);
        }
        for (size_t i = 0; i < lines.size(); ++i) {
            next += next == 53 ? 1 : 0;
            EXPECT_EQ(lines[i].text, QStringLiteral("wiersz %1").arg(next++));
            EXPECT_LE(lines[i].origin.y(), kPaperHeight_mm - kBottomMargin_mm);
            if (i > 0) {
                EXPECT_NEAR(lines[i].origin.y() - lines[i - 1].origin.y(), 4.5, 1e-9);
            }
        }
    }
    EXPECT_EQ(next, 120);
}

TEST(Layout, APictureThatWouldCrossTheBottomMovesWithTheLinesBelowIt) {
    // A sketch that starts above its text line, as the stress sketch of a case does.
    QStringList body = test::LongBody(50);  // last line at y = 260.5
    body << "5, 125., 262.0, 26.4, 26.4"
         << "/nonexistent/SzkicOK1.bmp";
    body += TextLine(6, 270, "linia a");
    const std::vector<Page> pages = Layout(body);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_NE(Find(pages[0], "wiersz 49"), nullptr);
    const PageText* line = Find(pages[1], "linia a");
    const std::vector<PageImage> pictures = Items<PageImage>(pages[1]);
    ASSERT_TRUE(line && pictures.size() == 1);
    EXPECT_NEAR(pictures[0].rect.top(), 50, 1e-9);  // the continuation offset
    EXPECT_NEAR(line->origin.y() - pictures[0].rect.top(), 8.0, 1e-9);
}

// Blocks as the report writes them: a blank line, a heading, four lines, more space after; every
// other block has a sketch beside its lines that reaches down towards the next block.
TEST(Layout, ABlockIsNotSplitAfterItsFirstLines) {
    QStringList body;
    double y = 37;
    for (int b = 0; b < 12; ++b) {
        body += TextLine(6, y, " ") + TextLine(6, y + 4.5, QStringLiteral("Blok %1").arg(b));
        y += 9;
        if (b % 2 == 1) {
            body << QStringLiteral("5, 125.,%1,26.4, 26.4").arg(y - 8, 0, 'f', 1)
                 << "/nonexistent/SzkicOK.bmp";
        }
        for (int line = 1; line <= 4; ++line) {
            body += TextLine(6, y, QStringLiteral("%1.%2").arg(b).arg(line));
            y += line < 4 ? 4.5 : 6;
        }
    }
    const std::vector<Page> pages = Layout(body);
    ASSERT_EQ(pages.size(), 2u);
    // Block 8 would have left its heading and first line at the foot of the first page: the page
    // ends after block 7 and block 8 starts the next one whole.
    EXPECT_NE(Find(pages[0], "7.4"), nullptr);
    for (const char* text : {"Blok 8", "8.1", "8.4"}) {
        EXPECT_NE(Find(pages[1], text), nullptr) << text;
    }
}

TEST(Layout, AnItemTallerThanAPageStaysAndEnds) {
    const std::vector<Page> pages = Layout(
        QStringList{"5, 10., 40., 50., 600.", "/nonexistent/a.bmp"} + TextLine(6, 700, "after"));
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_NE(Find(pages[1], "after"), nullptr);
}

// A path written for Windows finds the file.
TEST(Layout, PicturesLoadOrBecomeEmptyFramesWithANote) {
    test::JobDir dir;
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(dir.Path("Piersc.bmp"), "BMP"));
    test::WriteFile(dir.Path("broken.bmp"), "BM not a bitmap");
    ASSERT_TRUE(test::MakeFifo(dir.Path("Szkick.bmp")));  // read, it would never end
    QStringList notes;
    const std::vector<Page> pages =
        Layout({"5, 10., 40., 59.8, 59.8", dir.Dir() + "\\Piersc.BMP", "5, 110., 35., 59.5, 76.3",
                dir.Path("Sily.bmp"), "5, 80., 120., 86.8, 30.5", "broken.bmp",
                "5, 80., 160., 86.8, 30.5", "Szkick.bmp"},
               &notes, dir.Dir());
    const std::vector<PageImage> images = Items<PageImage>(pages.at(0));
    ASSERT_EQ(images.size(), 4u);
    EXPECT_EQ(images[0].image.size(), QSize(40, 30));
    EXPECT_EQ(images[0].rect, QRectF(30, 50, 59.8, 59.8));
    ASSERT_EQ(notes.size(), 3);
    for (int i = 1; i < 4; ++i) {
        EXPECT_TRUE(images[i].image.isNull());
        EXPECT_TRUE(
            notes[i - 1].contains(QFileInfo(images[i].path).fileName(), Qt::CaseInsensitive))
            << notes[i - 1].toStdString();
    }
}

TEST(Layout, TextRunningOffThePaperIsNotedEscaped) {
    QStringList notes;
    Layout(TextLine(150, 100, "\x1b" + QString(40, u'x')) + TextLine(6, 110, "fits"), &notes);
    ASSERT_EQ(notes.size(), 1);
    EXPECT_TRUE(notes[0].contains("\"\\x1bxxx") && notes[0].contains("right edge"));
}

}  // namespace
}  // namespace vardel::lumdruk
