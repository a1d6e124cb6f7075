#include "export/text_export.h"

#include "report/compose.h"
#include "report/header.h"
#include "tests/report/report_fixture.h"
#include "tests/test_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <csignal>

namespace vardel {
namespace {

using test::Load;
using test::Plate;

const QDateTime kClock(QDate(2026, 3, 7), QTime(14, 30));

struct Report {
    DesignCase s;
    ReportLines lines;
    HeaderTexts header;
};

// Calculates, composes and sets the header texts as the results window does before an export.
void Compose(Report& r, const Plate& p, const std::vector<Load>& loads, int jezyk, int norma,
             const QLocale& locale) {
    test::Calculated(r.s, p, loads, jezyk, locale);
    r.s.Norma = static_cast<Int16>(norma);
    r.s.Oznaczenie_stopy = QStringLiteral("SF-1 oś A/3");
    ComposeReport(r.s, r.lines, locale);
    SetHeaderTexts(r.s, r.header, kClock, locale);
}

TEST(TextExport, MatchesTheReadFiles) {
    Plate large;
    large.Rz = 1050;
    large.Rw = 300;
    large.Rs = 950;
    large.bolts = 24;
    large.diameterIndex = 5;  // 36 mm
    large.steel = 4;          // 18G2,18G2A
    large.concrete = 4;       // B30
    large.foundation = 0;     // plain concrete
    large.shear = 1;          // the anchors of the compressed zone carry the horizontal force
    large.n = 6.61;

    struct Row {
        const char* golden;
        int jezyk;
        int norma;
        QLocale locale;
        Plate plate;
        std::vector<Load> loads;
    };
    const Row rows[] = {
        {"export/text_polish_one_case.txt", 0, 1, test::Polish(), Plate{}, {{500, 150, 40}}},
        {"export/text_english_six_cases.txt", 2, 0, test::DecimalPoint(), Plate{},
         test::SixCases()},
        {"export/text_german_decimal_comma.txt",
         4,
         1,
         QLocale(QLocale::German, QLocale::Germany),
         large,
         {{5000, 6000, 1650}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.golden);
        Report r;
        Compose(r, row.plate, row.loads, row.jezyk, row.norma, row.locale);
        const QByteArray bytes = TextExportBytes(r.s, r.lines, r.header, row.locale);
        const QString diff = test::CompareGolden(QString::fromUtf8(row.golden), bytes);
        EXPECT_TRUE(diff.isEmpty()) << diff.toStdString();
    }
}

TEST(TextExport, WritesTheWholeReportOverALongerFile) {
    Report r;
    Compose(r, Plate{}, test::SixCases(), 2, 0, QLocale::c());
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Wyniki.txt"));
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(100000, 'x'));
    old.close();

    EXPECT_EQ(WriteTextExport(path, r.s, r.lines, r.header, QLocale::c()), QString());
    EXPECT_EQ(test::ReadAll(path), TextExportBytes(r.s, r.lines, r.header, QLocale::c()));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Wyniki.txt")});
}

TEST(TextExport, ReportsAPathThatCannotBeAFile) {
    Report r;
    Compose(r, Plate{}, {{500, 0, 0}}, 0, 0, QLocale::c());
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString paths[] = {
        dir.filePath(QStringLiteral("no such folder/Wyniki.txt")),
        dir.path(),
        QString(),
    };
    for (const QString& path : paths) {
        SCOPED_TRACE(path.toStdString());
        const QString message = WriteTextExport(path, r.s, r.lines, r.header, QLocale::c());
        EXPECT_TRUE(message.startsWith(QStringLiteral("Nie udało się zapisać pliku tekstowego")))
            << message.toStdString();
        EXPECT_TRUE(message.contains(QDir::toNativeSeparators(path)));
    }
    EXPECT_FALSE(QFile::exists(paths[0]));
}

TEST(TextExport, AFailedWriteIsReportedAndLeavesTheOldFileAsItWas) {
    Report r;
    Compose(r, Plate{}, test::SixCases(), 2, 0, QLocale::c());
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Wyniki.txt"));
    const QByteArray before("an earlier export\r\n");
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(before);
    old.close();

    QString message;
    {
        test::FileSizeLimit limit(64);
        ASSERT_TRUE(limit.ok());
        message = WriteTextExport(path, r.s, r.lines, r.header, QLocale::c());
    }
    EXPECT_FALSE(message.isEmpty());
    EXPECT_TRUE(message.contains(QDir::toNativeSeparators(path))) << message.toStdString();
    EXPECT_EQ(test::ReadAll(path), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Wyniki.txt")});
}

}  // namespace
}  // namespace vardel
