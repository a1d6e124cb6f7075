#include "lumdruk/layout.h"

#include "tests/lumdruk/lumdruk_fixture.h"

#include <QFontMetricsF>
#include <QImage>

#include <gtest/gtest.h>

#include <map>

namespace vardel::lumdruk {
namespace {

using test::CrLf;
using test::HeaderLines;
using test::TextLine;

std::vector<Page> Layout(const QStringList& body, int firstPage = 3, QStringList* notes = nullptr,
                         const QString& directory = {}) {
    PageFile page = ParsePageFile(CrLf(HeaderLines() + body));
    PageFile header = ParsePageFile(CrLf(HeaderLines()));
    page.directory = directory;
    QStringList local;
    return LayoutPages(page, header, firstPage, notes ? notes : &local);
}

std::vector<PageText> Texts(const Page& page) {
    std::vector<PageText> out;
    for (const PageItem& item : page.items) {
        if (const auto* t = std::get_if<PageText>(&item)) {
            out.push_back(*t);
        }
    }
    return out;
}

const PageText* Find(const Page& page, const QString& text) {
    for (const PageItem& item : page.items) {
        if (const auto* t = std::get_if<PageText>(&item); t && t->text == text) {
            return t;
        }
    }
    return nullptr;
}

double Advance(const QString& text, double h = 3.2) {
    TextStyle s;
    s.height_mm = h;
    return QFontMetricsF(FontFor(s)).horizontalAdvance(text) / kFontUnitsPerMm;
}

TEST(Layout, HeaderFrameStandsAtTheMarginsWithoutTheExtentMark) {
    const std::vector<Page> pages = Layout({});
    ASSERT_EQ(pages.size(), 1u);
    std::vector<PageLine> lines;
    for (const PageItem& item : pages[0].items) {
        if (const auto* l = std::get_if<PageLine>(&item)) {
            lines.push_back(*l);
        }
    }
    // Four sides and the two dividers; the 0.1 mm mark at x = 178 is not drawn.
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0].from, QPointF(kFrameLeft_mm, kFrameTop_mm));
    EXPECT_EQ(lines[0].to, QPointF(kFrameLeft_mm + 177, kFrameTop_mm));
    EXPECT_EQ(lines[5].from, QPointF(kFrameLeft_mm + 143, kFrameTop_mm + 15));
    EXPECT_EQ(lines[5].to, QPointF(kFrameLeft_mm + 143, kFrameTop_mm + 30));

    const PageText* label = Find(pages[0], "Strona 3");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->origin, QPointF(kFrameLeft_mm + 147, kFrameTop_mm + 23.5));
    EXPECT_EQ(label->style.height_mm, 3.5);
}

TEST(Layout, ContinuedAndRelativeTextsFollowThePreviousText) {
    const std::vector<Page> pages = Layout(test::OmegaLines(150));
    ASSERT_EQ(pages.size(), 1u);
    const PageText* first = Find(pages[0], "Docisk lokalny, ");
    const PageText* omega = Find(pages[0], "ω");
    const PageText* sub = Find(pages[0], "u");
    const PageText* rest = Find(pages[0], "1,16 = ");
    ASSERT_TRUE(first && omega && sub && rest);
    const double x0 = kFrameLeft_mm + 6;
    const double y0 = kFrameTop_mm + 150;
    EXPECT_DOUBLE_EQ(first->origin.x(), x0);
    EXPECT_NEAR(omega->origin.x(), x0 + Advance("Docisk lokalny, "), 1e-9);
    EXPECT_DOUBLE_EQ(omega->origin.y(), y0);
    EXPECT_EQ(omega->style.face, FontFace::Symbol);
    EXPECT_NEAR(sub->origin.x(), omega->origin.x() + omega->advance_mm, 1e-9);
    EXPECT_DOUBLE_EQ(sub->origin.y(), y0 + 1.5);
    EXPECT_NEAR(rest->origin.x(), sub->origin.x() + sub->advance_mm, 1e-9);
    EXPECT_DOUBLE_EQ(rest->origin.y(), y0);
    EXPECT_GT(sub->advance_mm, 0.5);
}

TEST(Layout, SymbolFontLettersBecomeGreek) {
    EXPECT_EQ(SymbolToUnicode("w"), QStringLiteral("ω"));
    EXPECT_EQ(SymbolToUnicode("abgdW"), QStringLiteral("αβγδΩ"));
    EXPECT_EQ(SymbolToUnicode("s = 1,5 m"), QStringLiteral("σ = 1,5 μ"));
    EXPECT_EQ(SymbolToUnicode("ł 12"), QStringLiteral("ł 12"));
}

TEST(Layout, RelabelPage) {
    const std::pair<QString, QString> cases[] = {
        {"Strona 3", "Strona 4"}, {"Page 12  ", "Page 4  "}, {"Strona ", "Strona 4"},
        {"Strona", "Strona 4"},   {"Strona -2", "Strona 4"}, {"", "4"},
    };
    for (const auto& [label, expected] : cases) {
        EXPECT_EQ(RelabelPage(label, 4), expected) << label.toStdString();
    }
}

// Body lines every 4.5 mm from y = 40 run over two pages and a bit.
QStringList LongBody(int lines) {
    QStringList body;
    for (int i = 0; i < lines; ++i) {
        body += TextLine(7, 40 + 4.5 * i, QStringLiteral("wiersz %1").arg(i));
    }
    return body;
}

TEST(Layout, ALongBodyContinuesOnPagesWithTheHeaderAndTheNextNumber) {
    const int count = 120;
    const std::vector<Page> pages = Layout(LongBody(count), 3);
    ASSERT_EQ(pages.size(), 3u);

    std::map<QString, int> seen;
    for (size_t p = 0; p < pages.size(); ++p) {
        EXPECT_EQ(pages[p].number, 3 + static_cast<int>(p));
        // Every page carries the header and its own number.
        EXPECT_NE(Find(pages[p], "Zakotwienie słupów stalowych"), nullptr);
        EXPECT_NE(Find(pages[p], QStringLiteral("Strona %1").arg(3 + p)), nullptr) << p;
        double previous = -1;
        for (const PageText& t : Texts(pages[p])) {
            if (!t.text.startsWith("wiersz")) {
                continue;
            }
            ++seen[t.text];
            EXPECT_LE(t.origin.y(), kPaperHeight_mm - kBottomMargin_mm);
            if (previous >= 0) {
                EXPECT_NEAR(t.origin.y() - previous, 4.5, 1e-9);  // spacing kept
            }
            previous = t.origin.y();
        }
    }
    EXPECT_EQ(seen.size(), static_cast<size_t>(count));
    for (const auto& [text, n] : seen) {
        EXPECT_EQ(n, 1) << text.toStdString();
    }
    // The first line of a continuation page has its top at the continuation offset.
    std::vector<PageText> continued = Texts(pages[1]);
    std::erase_if(continued, [](const PageText& t) { return !t.text.startsWith("wiersz"); });
    ASSERT_FALSE(continued.empty());
    const PageText first = continued.front();
    const QFontMetricsF fm(FontFor(first.style));
    EXPECT_NEAR(first.origin.y() - fm.ascent() / kFontUnitsPerMm,
                kFrameTop_mm + kContinuationTop_mm, 1e-9);
}

TEST(Layout, APictureThatWouldCrossTheBottomMovesWithTheLinesBelowIt) {
    // A sketch that starts above its text line, as the stress sketch of a case does.
    QStringList body = LongBody(50);  // last line at y = 260.5
    body << "5, 125., 262.0, 26.4, 26.4"
         << "/nonexistent/SzkicOK1.bmp";
    body += TextLine(6, 270, "linia a");
    const std::vector<Page> pages = Layout(body);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_NE(Find(pages[0], "wiersz 49"), nullptr);
    const PageText* line = Find(pages[1], "linia a");
    ASSERT_NE(line, nullptr);
    const PageImage* picture = nullptr;
    for (const PageItem& item : pages[1].items) {
        picture = picture ? picture : std::get_if<PageImage>(&item);
    }
    ASSERT_NE(picture, nullptr);
    EXPECT_NEAR(picture->rect.top(), kFrameTop_mm + kContinuationTop_mm, 1e-9);
    EXPECT_NEAR(line->origin.y() - picture->rect.top(), 8.0, 1e-9);
}

// Blocks as the report writes them: a blank line, a heading, four lines, more space after; every
// other block has a sketch beside its lines that reaches down towards the next block.
TEST(Layout, ABlockIsNotSplitAfterItsFirstLines) {
    QStringList body;
    double y = 37;
    for (int b = 0; b < 12; ++b) {
        body += TextLine(6, y, " ");
        y += 4.5;
        body += TextLine(6, y, QStringLiteral("Blok %1").arg(b));
        y += 4.5;
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
    for (int b = 0; b < 12; ++b) {
        const size_t page = Find(pages[0], QStringLiteral("Blok %1").arg(b)) ? 0 : 1;
        for (int line = 1; line <= 4; ++line) {
            EXPECT_NE(Find(pages[page], QStringLiteral("%1.%2").arg(b).arg(line)), nullptr)
                << "block " << b << " line " << line;
        }
    }
    // Block 8 would have left its heading and first line at the foot of the first page.
    EXPECT_EQ(Find(pages[0], "Blok 8"), nullptr);
    EXPECT_NE(Find(pages[0], "7.4"), nullptr);
}

TEST(Layout, AnItemTallerThanAPageStaysAndEnds) {
    QStringList body;
    body << "5, 10., 40., 50., 600."
         << "/nonexistent/a.bmp";
    body += TextLine(6, 700, "after");
    const std::vector<Page> pages = Layout(body);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_NE(Find(pages[1], "after"), nullptr);
}

TEST(Layout, PicturesLoadOrBecomeEmptyFramesWithANote) {
    test::JobDir dir;
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(dir.Path("Piersc.bmp"), "BMP"));
    test::WriteFile(dir.Path("broken.bmp"), "BM not a bitmap");
    QStringList notes;
    const std::vector<Page> pages =
        Layout({"5, 10., 40., 59.8, 59.8", dir.Path("Piersc.BMP"), "5, 110., 35., 59.5, 76.3",
                dir.Path("Sily.bmp"), "5, 80., 120., 86.8, 30.5", "broken.bmp"},
               3, &notes, dir.Dir());
    std::vector<PageImage> images;
    for (const PageItem& item : pages.at(0).items) {
        if (const auto* i = std::get_if<PageImage>(&item)) {
            images.push_back(*i);
        }
    }
    ASSERT_EQ(images.size(), 3u);
    EXPECT_EQ(images[0].image.size(), QSize(40, 30));
    EXPECT_EQ(images[0].rect, QRectF(kFrameLeft_mm + 10, kFrameTop_mm + 40, 59.8, 59.8));
    EXPECT_TRUE(images[1].image.isNull());
    EXPECT_TRUE(images[2].image.isNull());
    ASSERT_EQ(notes.size(), 2);
    EXPECT_TRUE(notes[0].contains("Sily.bmp"));
    EXPECT_TRUE(notes[1].contains("broken.bmp"));
}

TEST(Layout, TextRunningOffThePaperIsNoted) {
    QStringList notes;
    Layout(TextLine(150, 100, QString(40, u'x')) + TextLine(6, 110, "fits"), 3, &notes);
    ASSERT_EQ(notes.size(), 1);
    EXPECT_TRUE(notes[0].contains("right edge"));
}

TEST(Layout, WithoutHeaderEndTheWholeFileIsTheBody) {
    QStringList lines;
    for (int i = 0; i < 100; ++i) {
        lines += TextLine(7, 40 + 4.5 * i, QStringLiteral("w%1").arg(i));
    }
    PageFile page = ParsePageFile(CrLf(lines));
    QStringList notes;
    const std::vector<Page> pages =
        LayoutPages(page, ParsePageFile(CrLf(HeaderLines())), 1, &notes);
    EXPECT_EQ(pages.size(), 2u);
    ASSERT_FALSE(notes.isEmpty());
    EXPECT_TRUE(notes[0].contains("header end"));
    EXPECT_NE(Find(pages[1], "Strona 2"), nullptr);
}

}  // namespace
}  // namespace vardel::lumdruk
