#include "tests/test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>

#include <gtest/gtest.h>

namespace vardel {
namespace {

// The pictures the page files, the exports and the windows read from the program directory:
// present, 24-bit, actually drawn on, of the size their readers expect at the resolution they
// record (96-dpi pixels), fine enough for 300 dpi at the widest they are placed, and with their
// drawing beside them for the windows.
TEST(InstalledPictures, AreInTheProgramDirectoryAtTheirSizesAndSharp) {
    const std::tuple<const char*, int, int, double> rows[] = {
        // name, width and height in 96-dpi pixels, widest placement in mm (page, RTF, Word)
        {"Sily.bmp", 238, 305, 59.6},      {"gkrysOK.bmp", 90, 90, 35.3},
        {"gkrys0.bmp", 90, 90, 35.3},      {"Vdlogo2.bmp", 260, 130, 68.8},
        {"Vdlrob.bmp", 260, 180, 68.8},    {"rys3f.bmp", 296, 104, 86.8},
        {"rys2pm.bmp", 312, 99, 86.8},     {"rys2pd.bmp", 312, 99, 86.8},
        {"Pierscien.bmp", 203, 260, 53.7}, {"Obciazenia.bmp", 203, 260, 53.7},
    };
    for (const auto& [name, width, height, placed] : rows) {
        SCOPED_TRACE(name);
        const QString path = QDir(test::ProgramDir()).filePath(name);
        const QByteArray bytes = test::ReadAll(path);
        ASSERT_GT(bytes.size(), 54);
        EXPECT_TRUE(bytes.startsWith("BM") && bytes[28] == 24) << "no 24-bit bitmap";
        const QImage img(path);
        const double dpi = img.dotsPerMeterX() * 0.0254;
        EXPECT_NEAR(img.width() * 96 / dpi, width, 1);
        EXPECT_NEAR(img.height() * 96 / dpi, height, 1);
        EXPECT_GE(img.width() / (placed / 25.4), 300);
        EXPECT_TRUE(QFile::exists(
            QDir(test::ProgramDir()).filePath(QFileInfo(path).completeBaseName() + ".svg")));
        int inked = 0;
        for (int y = 0; y < img.height(); y += 2) {
            for (int x = 0; x < img.width(); x += 2) {
                inked += img.pixelColor(x, y).lightness() < 128 ? 1 : 0;
            }
        }
        EXPECT_GT(inked, img.width() * img.height() / 400) << " looks blank";
    }
}

}  // namespace
}  // namespace vardel
