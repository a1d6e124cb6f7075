#include "lumdruk/emf.h"
#include "lumdruk/job.h"
#include "lumdruk/render.h"

#include "tests/lumdruk/lumdruk_fixture.h"

#include <QImage>
#include <QSet>
#include <QSvgRenderer>
#include <QtEndian>

#include "print/page_picture.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vardel::lumdruk {
namespace {

// A page with the header, the omega note, a bold italic underlined line and a 3 x 2 bitmap: top
// row red, bottom row blue.
std::vector<Page> SamplePages(test::JobDir& dir, int bodyLines = 0) {
    QImage bitmap(3, 2, QImage::Format_RGB32);
    bitmap.fill(qRgb(0, 0, 255));
    for (int x = 0; x < 3; ++x) {
        bitmap.setPixel(x, 0, qRgb(255, 0, 0));
    }
    EXPECT_TRUE(bitmap.save(dir.Path("Piersc.bmp"), "BMP"));
    dir.WritePages(QStringList{"5, 10., 40., 60., 40.", dir.Path("Piersc.bmp"),
                               "5, 110., 35., 59.5, 76.3", dir.Path("Sily.bmp")} +
                   test::OmegaLines(120) +
                   QStringList{"3,6.,125.,1,,3.2,1.,0.,1,1,1,400,5", "Nośność"} +
                   test::LongBody(bodyLines, 130));
    QStringList notes;
    QString error;
    const auto pages =
        RenderPageFiles(dir.Path("VARDELOK.wyd"), dir.Path("VARDELOK1.wyd"), 3, &notes, &error);
    EXPECT_TRUE(pages.has_value()) << error.toStdString();
    return pages.value_or(std::vector<Page>{});
}

quint32 U32(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<quint32>(b.constData() + at);
}
qint32 I32(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<qint32>(b.constData() + at);
}

// The records of an EMF in order, each whole with its type; empty when the chain is broken.
std::vector<std::pair<quint32, QByteArray>> Records(const QByteArray& emf) {
    std::vector<std::pair<quint32, QByteArray>> out;
    for (qsizetype at = 0; at + 8 <= emf.size(); at += U32(emf, at + 4)) {
        if (U32(emf, at + 4) < 8 || at + U32(emf, at + 4) > emf.size()) {
            return {};
        }
        out.emplace_back(U32(emf, at), emf.mid(at, U32(emf, at + 4)));
    }
    return out;
}

// The records carry what readers rely on, and this platform's reader shows the texts.
TEST(Emf, CarriesThePageAsReadersExpectIt) {
    test::JobDir dir;
    const std::vector<Page> pages = SamplePages(dir);
    ASSERT_EQ(pages.size(), 1u);
    const QByteArray emf = EmfBytes(pages[0]);
    const auto records = Records(emf);
    ASSERT_GT(records.size(), 2u);
    const QByteArray& header = records.front().second;
    ASSERT_EQ(records.front().first, 1u);
    EXPECT_EQ(U32(header, 40), 0x464D4520u);  // " EMF"
    EXPECT_EQ(U32(header, 48), static_cast<quint32>(emf.size()));
    EXPECT_EQ(records.back().first, 14u);  // EOF
    // The bounds cover the A4 paper in 0.01 mm.
    EXPECT_EQ(QList<qint32>({I32(header, 8), I32(header, 12), I32(header, 16), I32(header, 20)}),
              QList<qint32>({0, 0, 21000, 29700}));
    QStringList texts;
    QSet<QString> fonts;  // height, weight, italic, underline
    int bitmaps = 0;
    int frames = 0;
    for (const auto& [type, r] : records) {
        switch (type) {
            case 17:  // SETMAPMODE: MM_TEXT
                EXPECT_EQ(U32(r, 8), 1u);
                break;
            case 95:  // EXTCREATEPEN: a geometric 0.2 mm pen
                EXPECT_TRUE(U32(r, 28) & 0x00010000u);
                EXPECT_EQ(U32(r, 32), 20u);
                break;
            case 82:  // EXTCREATEFONTINDIRECTW
                fonts << QStringLiteral("%1 %2 %3 %4")
                             .arg(I32(r, 12))
                             .arg(I32(r, 28))
                             .arg(int(r[32]))
                             .arg(int(r[33]));
                break;
            case 43:  // RECTANGLE: the frame of the missing picture
                ++frames;
                break;
            case 84: {  // EXTTEXTOUTW: UTF-16 with one advance per unit, each one letter's
                const quint32 n = U32(r, 44);
                texts << QString::fromUtf16(
                    reinterpret_cast<const char16_t*>(r.constData() + U32(r, 48)), n);
                ASSERT_TRUE(U32(r, 72) != 0 && U32(r, 72) + 4 * n <= r.size());
                for (quint32 i = 0; i < n; ++i) {
                    EXPECT_LT(U32(r, U32(r, 72) + 4 * i), 400u) << texts.back().toStdString();
                }
                break;
            }
            case 81: {  // STRETCHDIBITS: 24 bits, bottom-up, rows of B G R padded to 12 bytes
                ++bitmaps;
                const quint32 bmi = U32(r, 48);
                EXPECT_EQ(I32(r, bmi + 8), 2);
                EXPECT_EQ(qFromLittleEndian<quint16>(r.constData() + bmi + 14), 24);
                const QByteArray bits = r.mid(U32(r, 56), U32(r, 60));
                ASSERT_EQ(bits.size(), 24);
                EXPECT_EQ(bits.left(3), QByteArray("\xff\x00\x00", 3));     // blue, bottom
                EXPECT_EQ(bits.mid(12, 3), QByteArray("\x00\x00\xff", 3));  // red, top
                break;
            }
        }
    }
    EXPECT_EQ(bitmaps, 1);
    EXPECT_EQ(frames, 1);
    // Every text of the page, in order, with its Polish and Greek letters.
    EXPECT_EQ(texts, QStringList({"Zakotwienie słupów stalowych", "Hala – Łódź, ul. Żółta",
                                  "2026-12-06 07:30", "Stopa S-1", "Strona 3", " ",
                                  "Docisk lokalny, ", "ω", "u", "1,16 = ", "Nośność"}));
    EXPECT_EQ(fonts, QSet<QString>({"-350 400 0 0", "-320 400 0 0", "-320 700 1 1"}));

    EXPECT_TRUE(vardel::EmfToSvg(emf).contains("<image"));  // as the results window reads it
}

// Each format drawn as the page shows, continuation pages of one-page formats beside the first.
TEST(SavePages, PicksTheFormatByExtensionAndWritesContinuationPagesBeside) {
    test::JobDir dir;
    const std::vector<Page> pages = SamplePages(dir, 40);
    ASSERT_EQ(pages.size(), 2u);
    QString error;
    EXPECT_EQ(SavePages(dir.Path("strona.PNG"), pages, &error), 2);
    EXPECT_FALSE(QImage(dir.Path("strona-4.PNG")).isNull());
    const QImage image(dir.Path("strona.PNG"));
    ASSERT_EQ(image.size(), QSize(2480, 3508));  // A4 at 300 dpi
    auto at = [&](double xmm, double ymm) {      // in millimetres from the header frame's corner
        return image.pixel(std::lround((20 + xmm) * 300 / 25.4),
                           std::lround((10 + ymm) * 300 / 25.4));
    };
    EXPECT_LT(qGray(at(50, 0)), 128);  // top of the frame
    int title = 0;                     // dark pixels of the title's letters
    for (double x = 3; x < 40; x += 0.2) {
        for (double y = 2; y < 4.5; y += 0.2) {
            title += qGray(at(x, y)) < 128;
        }
    }
    EXPECT_GT(title, 20);
    EXPECT_EQ(at(40, 50), qRgb(255, 0, 0));       // upper half of the bitmap: red
    EXPECT_EQ(at(40, 70), qRgb(0, 0, 255));       // lower half: blue
    EXPECT_LT(qGray(at(110, 60)), 128);           // missing Sily.bmp: a frame ...
    EXPECT_EQ(at(140, 60), qRgb(255, 255, 255));  // ... empty inside
    EXPECT_EQ(SavePages(dir.Path("strona.emf"), pages, &error), 2);
    EXPECT_FALSE(Records(test::ReadAll(dir.Path("strona-4.emf"))).empty());
    EXPECT_EQ(SavePages(dir.Path("strona.svg"), pages, &error), 2);
    const QByteArray svg = test::ReadAll(dir.Path("strona.svg"));
    EXPECT_TRUE(QSvgRenderer(svg).isValid());
    EXPECT_TRUE(QString::fromUtf8(svg).contains(QStringLiteral("Łódź")));
    EXPECT_TRUE(svg.contains("210mm") || svg.contains("210.0mm") || svg.contains("width=\"210"));

    // A name that is no picture format, or a place that cannot be written, saves nothing.
    EXPECT_EQ(SavePages(dir.Path("strona.doc"), pages, &error), 0);
    EXPECT_FALSE(QFile::exists(dir.Path("strona.doc")));
    EXPECT_TRUE(error.contains(".emf"));
    EXPECT_EQ(SavePages(dir.Path("no/such/dir/strona.svg"), pages, &error), 0);
    EXPECT_FALSE(error.isEmpty());

    // PDF holds every page in one file, "Strona 4" after the page break.
    ASSERT_EQ(SavePages(dir.Path("strona.pdf"), pages, &error), 2);
    ASSERT_TRUE(test::ReadAll(dir.Path("strona.pdf")).startsWith("%PDF"));
    const QString text = test::PdfText(dir.Path("strona.pdf"));
    if (text.isEmpty()) {
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed: the PDF's texts are not read";
    }
    for (const char* expected : {"Łódź", "Żółta", "Strona 3", "ω", "wiersz 39"}) {
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected;
    }
    EXPECT_EQ(text.count(u'\f'), 2);
    EXPECT_GT(text.indexOf("Strona 4"), text.indexOf(u'\f'));
}

}  // namespace
}  // namespace vardel::lumdruk
