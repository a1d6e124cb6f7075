#include "tests/test_support.h"

#include <QDir>
#include <QImage>

#include <gtest/gtest.h>

namespace vardel {
namespace {

// The pictures the page files, the exports and the windows read from the program directory:
// present, 24-bit, at the pixel size their readers expect, and actually drawn on.
TEST(InstalledPictures, AreInTheProgramDirectoryAtTheirSizes) {
    const std::tuple<const char*, int, int> rows[] = {
        {"Sily.bmp", 238, 305},       {"gkrysOK.bmp", 90, 90},  {"gkrys0.bmp", 90, 90},
        {"Vdlogo2.bmp", 260, 130},    {"Vdlrob.bmp", 260, 180}, {"rys3f.bmp", 296, 104},
        {"rys2pm.bmp", 312, 99},      {"rys2pd.bmp", 312, 99},  {"Pierscien.bmp", 203, 260},
        {"Obciazenia.bmp", 203, 260},
    };
    for (const auto& [name, width, height] : rows) {
        const QString path = QDir(test::ProgramDir()).filePath(name);
        const QByteArray bytes = test::ReadAll(path);
        ASSERT_GT(bytes.size(), 54) << name;
        EXPECT_TRUE(bytes.startsWith("BM") && bytes[28] == 24) << name << " is no 24-bit bitmap";
        const QImage img(path);
        EXPECT_EQ(img.size(), QSize(width, height)) << name;
        int inked = 0;
        for (int y = 0; y < img.height(); y += 2) {
            for (int x = 0; x < img.width(); x += 2) {
                inked += img.pixelColor(x, y).lightness() < 128 ? 1 : 0;
            }
        }
        EXPECT_GT(inked, img.width() * img.height() / 400) << name << " looks blank";
    }
}

}  // namespace
}  // namespace vardel
