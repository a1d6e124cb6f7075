#include "lumdruk/emf.h"
#include "lumdruk/render.h"

#include "tests/lumdruk/lumdruk_fixture.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QtEndian>

#include "print/page_picture.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vardel::lumdruk {
namespace {

using test::CrLf;

// A page with the header, the omega note and a 3 x 2 bitmap: top row red, bottom row blue.
std::vector<Page> SamplePages(test::JobDir& dir, int bodyLines = 0) {
    QImage bitmap(3, 2, QImage::Format_RGB32);
    bitmap.setPixel(0, 0, qRgb(255, 0, 0));
    bitmap.setPixel(1, 0, qRgb(255, 0, 0));
    bitmap.setPixel(2, 0, qRgb(255, 0, 0));
    bitmap.setPixel(0, 1, qRgb(0, 0, 255));
    bitmap.setPixel(1, 1, qRgb(0, 0, 255));
    bitmap.setPixel(2, 1, qRgb(0, 0, 255));
    EXPECT_TRUE(bitmap.save(dir.Path("Piersc.bmp"), "BMP"));
    QStringList body;
    body << "5, 10., 40., 60., 40." << dir.Path("Piersc.bmp") << "5, 110., 35., 59.5, 76.3"
         << dir.Path("Sily.bmp");
    body += test::OmegaLines(120);
    for (int i = 0; i < bodyLines; ++i) {
        body += test::TextLine(7, 130 + 4.5 * i, QStringLiteral("wiersz %1").arg(i));
    }
    dir.WritePages(body);
    QStringList notes;
    return LayoutPages(ParsePageFile(CrLf(test::HeaderLines() + body)),
                       ParsePageFile(CrLf(test::HeaderLines())), 3, &notes);
}

QStringList PageTexts(const Page& page) {
    QStringList out;
    for (const PageItem& item : page.items) {
        if (const auto* t = std::get_if<PageText>(&item)) {
            out << t->text;
        }
    }
    return out;
}

// The records of an EMF, checked for the properties that readers on this platform rely on.
struct EmfSummary {
    bool header_ok = false;
    qint32 bounds[4] = {};
    quint32 map_mode = 0;
    quint32 pen_style = 0;
    quint32 pen_width = 0;
    std::vector<qint32> font_heights;
    QStringList texts;
    bool dx_match_texts = true;
    int bitmaps = 0;
    qint32 bitmap_height = 0;
    quint16 bitmap_bits = 0;
    QByteArray bitmap_bits_data;
    bool ends_with_eof = false;
};

quint32 U32(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<quint32>(b.constData() + at);
}
qint32 I32(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<qint32>(b.constData() + at);
}

EmfSummary Summarise(const QByteArray& emf) {
    EmfSummary s;
    if (emf.size() < 88 || U32(emf, 0) != 1 || U32(emf, 40) != 0x464D4520 ||
        U32(emf, 48) != static_cast<quint32>(emf.size())) {
        return s;
    }
    s.header_ok = true;
    for (int i = 0; i < 4; ++i) {
        s.bounds[i] = I32(emf, 8 + 4 * i);
    }
    qsizetype at = 0;
    while (at + 8 <= emf.size()) {
        const quint32 type = U32(emf, at);
        const quint32 size = U32(emf, at + 4);
        if (size < 8 || at + size > emf.size()) {
            s.header_ok = false;
            break;
        }
        const QByteArray r = emf.mid(at, size);
        switch (type) {
            case 17:  // SETMAPMODE
                s.map_mode = U32(r, 8);
                break;
            case 95:  // EXTCREATEPEN
                s.pen_style = U32(r, 28);
                s.pen_width = U32(r, 32);
                break;
            case 82:  // EXTCREATEFONTINDIRECTW
                s.font_heights.push_back(I32(r, 12));
                break;
            case 84: {  // EXTTEXTOUTW
                const quint32 n = U32(r, 44);
                const quint32 offString = U32(r, 48);
                const quint32 offDx = U32(r, 72);
                QString text;
                for (quint32 i = 0; i < n; ++i) {
                    text += QChar(qFromLittleEndian<quint16>(r.constData() + offString + 2 * i));
                }
                s.texts << text;
                s.dx_match_texts = s.dx_match_texts && offDx != 0 && offDx + 4 * n <= size;
                break;
            }
            case 81: {  // STRETCHDIBITS
                ++s.bitmaps;
                const quint32 offBmi = U32(r, 48);
                s.bitmap_height = I32(r, offBmi + 8);
                s.bitmap_bits = qFromLittleEndian<quint16>(r.constData() + offBmi + 14);
                s.bitmap_bits_data = r.mid(U32(r, 56), U32(r, 60));
                break;
            }
            case 14:  // EOF
                s.ends_with_eof = at + size == emf.size();
                break;
        }
        at += size;
    }
    return s;
}

TEST(Emf, CarriesThePageAsReadersExpectIt) {
    test::JobDir dir;
    const std::vector<Page> pages = SamplePages(dir);
    const QByteArray emf = EmfBytes(pages.at(0));
    const EmfSummary s = Summarise(emf);
    ASSERT_TRUE(s.header_ok);
    EXPECT_TRUE(s.ends_with_eof);
    // The bounds cover the A4 paper in 0.01 mm; MM_TEXT; a geometric 0.2 mm pen.
    EXPECT_EQ(s.bounds[0], 0);
    EXPECT_EQ(s.bounds[1], 0);
    EXPECT_EQ(s.bounds[2], 21000);
    EXPECT_EQ(s.bounds[3], 29700);
    EXPECT_EQ(s.map_mode, 1u);
    EXPECT_TRUE(s.pen_style & 0x00010000u);
    EXPECT_EQ(s.pen_width, 20u);
    ASSERT_FALSE(s.font_heights.empty());
    for (qint32 h : s.font_heights) {
        EXPECT_TRUE(h == -350 || h == -320) << h;
    }
    // Every text of the page, in order, with its Polish and Greek letters.
    EXPECT_EQ(s.texts, PageTexts(pages[0]));
    EXPECT_TRUE(s.texts.contains(QStringLiteral("ω")));
    EXPECT_TRUE(s.dx_match_texts);
    // The bitmap: 24-bit, bottom-up (positive height), rows of B G R padded to 12 bytes.
    EXPECT_EQ(s.bitmaps, 1);
    EXPECT_EQ(s.bitmap_bits, 24);
    EXPECT_EQ(s.bitmap_height, 2);
    ASSERT_EQ(s.bitmap_bits_data.size(), 24);
    EXPECT_EQ(s.bitmap_bits_data.left(3), QByteArray("\xff\x00\x00", 3));     // blue, bottom
    EXPECT_EQ(s.bitmap_bits_data.mid(12, 3), QByteArray("\x00\x00\xff", 3));  // red, top
}

TEST(Emf, ReadsBackThroughEmf2SvgWithItsTexts) {
    test::JobDir dir;
    const std::vector<Page> pages = SamplePages(dir);
    const QByteArray svg = vardel::EmfToSvg(EmfBytes(pages.at(0)));
    ASSERT_FALSE(svg.isEmpty());
    EXPECT_TRUE(svg.contains("xml:space=\"preserve\""));
    const QString text = QString::fromUtf8(svg);
    for (const char* expected : {"Zakotwienie słupów stalowych", "Hala – Łódź, ul. Żółta",
                                 "Strona 3", "Docisk lokalny, ", "ω", "1,16 = "}) {
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected;
    }
    EXPECT_TRUE(svg.contains("<image"));
    QSvgRenderer renderer(svg);
    EXPECT_TRUE(renderer.isValid());

    EXPECT_TRUE(vardel::EmfToSvg(QByteArray("not a metafile at all, not at all")).isEmpty());
}

QString PdfText(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

TEST(Pdf, HoldsEveryPageWithItsTexts) {
    test::JobDir dir;
    const std::vector<Page> pages = SamplePages(dir, 40);
    ASSERT_EQ(pages.size(), 2u);
    QString error;
    ASSERT_TRUE(WritePdf(dir.Path("out.pdf"), pages, &error)) << error.toStdString();
    const QByteArray pdf = test::ReadAll(dir.Path("out.pdf"));
    ASSERT_TRUE(pdf.startsWith("%PDF"));
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) {
        GTEST_SKIP()
            << "pdftotext (poppler-utils) is not installed: the PDF's texts are not checked";
    }
    const QString text = PdfText(dir.Path("out.pdf"));
    for (const char* expected : {"Łódź", "Żółta", "Strona 3", "Strona 4", "ω", "wiersz 39"}) {
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << "\n"
                                                                << text.toStdString();
    }
    // The page break: "Strona 4" comes after a form feed.
    EXPECT_GT(text.indexOf(u'\f'), 0);
    EXPECT_GT(text.indexOf("Strona 4"), text.indexOf(u'\f'));
}

TEST(Svg, IsAValidPictureWithTheTexts) {
    test::JobDir dir;
    const std::vector<Page> pages = SamplePages(dir);
    QString error;
    ASSERT_TRUE(WriteSvg(dir.Path("out.svg"), pages[0], &error)) << error.toStdString();
    const QByteArray svg = test::ReadAll(dir.Path("out.svg"));
    QSvgRenderer renderer(svg);
    EXPECT_TRUE(renderer.isValid());
    EXPECT_TRUE(QString::fromUtf8(svg).contains(QStringLiteral("Łódź")));
    EXPECT_TRUE(svg.contains("210mm") || svg.contains("210.0mm") || svg.contains("width=\"210"));
}

TEST(Png, DrawsFramePicturesAndEmptyFrames) {
    test::JobDir dir;
    const std::vector<Page> pages = SamplePages(dir);
    QString error;
    ASSERT_TRUE(WritePng(dir.Path("out.png"), pages[0], 254, &error)) << error.toStdString();
    QImage image(dir.Path("out.png"));
    ASSERT_EQ(image.size(), QSize(2100, 2970));  // 10 pixels per millimetre
    auto at = [&](double xmm, double ymm) {
        return image.pixel(std::lround(xmm * 10), std::lround(ymm * 10));
    };
    EXPECT_LT(qGray(at(kFrameLeft_mm + 50, kFrameTop_mm)), 128);            // top of the frame
    EXPECT_EQ(at(kFrameLeft_mm + 40, kFrameTop_mm + 50), qRgb(255, 0, 0));  // upper half: red
    EXPECT_EQ(at(kFrameLeft_mm + 40, kFrameTop_mm + 70), qRgb(0, 0, 255));  // lower half: blue
    EXPECT_LT(qGray(at(kFrameLeft_mm + 110, kFrameTop_mm + 60)), 128);  // missing Sily.bmp: frame
    EXPECT_EQ(at(kFrameLeft_mm + 140, kFrameTop_mm + 60), qRgb(255, 255, 255));  // ... empty inside
}

TEST(SavePages, PicksTheFormatByExtensionAndWritesContinuationPagesBeside) {
    test::JobDir dir;
    const std::vector<Page> pages = SamplePages(dir, 40);
    ASSERT_EQ(pages.size(), 2u);
    QString error;
    EXPECT_EQ(SavePages(dir.Path("strona.PNG"), pages, &error), 2);
    EXPECT_FALSE(QImage(dir.Path("strona.PNG")).isNull());
    EXPECT_FALSE(QImage(dir.Path("strona-4.PNG")).isNull());
    EXPECT_EQ(SavePages(dir.Path("strona.emf"), pages, &error), 2);
    EXPECT_TRUE(Summarise(test::ReadAll(dir.Path("strona-4.emf"))).header_ok);
    EXPECT_EQ(SavePages(dir.Path("strona.pdf"), pages, &error), 2);

    EXPECT_EQ(SavePages(dir.Path("strona.doc"), pages, &error), 0);
    EXPECT_FALSE(QFile::exists(dir.Path("strona.doc")));
    EXPECT_TRUE(error.contains(".emf"));
    EXPECT_EQ(SavePages(dir.Path("no/such/dir/strona.svg"), pages, &error), 0);
    EXPECT_FALSE(error.isEmpty());
}

}  // namespace
}  // namespace vardel::lumdruk
