#include "export/text_export.h"

#include "tests/export/export_fixture.h"

#include <QTemporaryDir>

namespace vardel {
namespace {

using test::Load;
using test::Plate;

using test::Compose;
using test::Report;

TEST(TextExport, MatchesTheReadFiles) {
    // 36 mm bolts of 18G2,18G2A in plain B30 concrete; the anchors of the compressed zone carry
    // the horizontal force.
    const Plate large{1050, 300, 950, 24, 5, 4, 4, 0, 1, 6.61};
    const QLocale german(QLocale::German, QLocale::Germany);
    const struct {
        const char* golden;
        int jezyk;
        int norma;
        QLocale locale;
        Plate plate;
        std::vector<Load> loads;
    } rows[] = {
        {"export/text_polish_one_case.txt", 0, 1, test::Polish(), Plate{}, {{500, 150, 40}}},
        {"export/text_english_six_cases.txt", 2, 0, test::DecimalPoint(), Plate{},
         test::SixCases()},
        {"export/text_german_decimal_comma.txt", 4, 1, german, large, {{5000, 6000, 1650}}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.golden);
        Report r;
        Compose(r, row.plate, row.loads, row.jezyk, row.norma, row.locale);
        const QString diff =
            test::CompareGolden(row.golden, TextExportBytes(r.s, r.lines, r.header, row.locale));
        EXPECT_TRUE(diff.isEmpty()) << diff.toStdString();
    }
}

// A write that fails half-way is reported and leaves the old file as it was; the next one
// replaces the old, longer file whole. A path that cannot be a file is reported by name. No
// temporary file or folder is left behind either way.
TEST(TextExport, ReplacesTheOldFileWholeOrNotAtAll) {
    Report r;
    Compose(r, Plate{}, test::SixCases(), 2, 0, QLocale::c());
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Wyniki.txt"));
    const QByteArray before(100000, 'x');
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(before);
    old.close();
    const auto write = [&](const QString& to) {
        return WriteTextExport(to, r.s, r.lines, r.header, QLocale::c());
    };
    const auto expectFailure = [](const QString& message, const QString& to) {
        EXPECT_TRUE(message.startsWith(QStringLiteral("Nie udało się zapisać pliku tekstowego")))
            << message.toStdString();
        EXPECT_TRUE(message.contains(QDir::toNativeSeparators(to))) << message.toStdString();
    };
    const auto onlyTheFile = [&] {
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                  QStringList{QStringLiteral("Wyniki.txt")});
    };

    QString message;
    {
        test::FileSizeLimit limit(64);
        ASSERT_TRUE(limit.ok());
        message = write(path);
    }
    expectFailure(message, path);
    EXPECT_EQ(test::ReadAll(path), before);
    onlyTheFile();

    for (const QString& bad :
         {dir.filePath(QStringLiteral("no such folder/Wyniki.txt")), dir.path(), QString()}) {
        SCOPED_TRACE(bad.toStdString());
        expectFailure(write(bad), bad);
    }
    onlyTheFile();

    EXPECT_EQ(write(path), QString());
    EXPECT_EQ(test::ReadAll(path), TextExportBytes(r.s, r.lines, r.header, QLocale::c()));
    onlyTheFile();
}

}  // namespace
}  // namespace vardel
