#include "print/page_picture.h"
#include "tests/print/emf_fixture.h"
#include "tests/test_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vardel {
namespace {

TEST(EmfToSvg, KeepsBlanksAndSharpBitmapsForTheRenderer) {
    QTemporaryDir dir;
    ASSERT_TRUE(test::WriteFixtureEmf(dir.filePath("p.emf")));
    const QByteArray svg = EmfToSvg(test::ReadAll(dir.filePath("p.emf")));
    const qsizetype root = svg.indexOf("<svg");
    ASSERT_GE(root, 0);
    const QByteArray rootTag = svg.mid(root, svg.indexOf('>', root) - root);
    EXPECT_TRUE(rootTag.contains("xml:space=\"preserve\"")) << rootTag.constData();
    EXPECT_TRUE(rootTag.contains("image-rendering=\"optimizeSpeed\"")) << rootTag.constData();
}

TEST(EmfToSvg, RefusesWhatIsNoEmfPicture) {
    QTemporaryDir dir;
    ASSERT_TRUE(test::WriteFixtureEmf(dir.filePath("p.emf")));
    const QByteArray good = test::ReadAll(dir.filePath("p.emf"));
    QByteArray wrongType = good;
    wrongType[0] = 2;
    const struct {
        const char* name;
        QByteArray bytes;
    } rows[] = {
        {"empty", QByteArray()},
        {"text", QByteArray("garbage\n").repeated(40)},
        {"not starting with a header record", wrongType},
        {"cut after the header", good.left(120)},
        {"cut before its end", good.left(good.size() - 30)},
    };
    for (const auto& row : rows) {
        EXPECT_TRUE(EmfToSvg(row.bytes).isEmpty()) << row.name;
    }
}

TEST(LoadPagePicture, SaysWhyThereIsNoPicture) {
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("$a1.emf");  // a directory where the file should be
    const struct {
        QString path;
        const char* says;
    } rows[] = {
        {dir.filePath("missing.emf"), "nie zostawił"},
        {dir.filePath("$a1.emf"), "Nie można odczytać"},
    };
    for (const auto& row : rows) {
        const PagePicture p = LoadPagePicture(row.path, 794);
        EXPECT_TRUE(p.image.isNull());
        EXPECT_TRUE(p.message.contains(QString::fromUtf8(row.says))) << p.message.toStdString();
        EXPECT_TRUE(p.message.contains(row.path)) << p.message.toStdString();
    }
}

}  // namespace
}  // namespace vardel
