#include "export/text_export.h"

#include "state/file_write.h"
#include "tests/export/export_fixture.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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

// The file is written whole by the shared writer, whose tests cover a write that fails half-way;
// here a path that cannot be a file is reported by name, and an older, longer file is replaced.
TEST(TextExport, WritesTheFileOrSaysWhyNot) {
    Report r;
    Compose(r, Plate{}, test::SixCases(), 2, 0, QLocale::c());
    QTemporaryDir dir;
    for (const QString& bad : {dir.filePath("no such folder/Wyniki.txt"), dir.path(), QString()}) {
        const QString message = WriteTextExport(bad, r.s, r.lines, r.header, QLocale::c());
        EXPECT_TRUE(message.startsWith("Nie udało się zapisać pliku tekstowego\n" +
                                       QDir::toNativeSeparators(bad) + "\n"))
            << message.toStdString();
    }
    const QString path = dir.filePath("Wyniki.txt");
    ASSERT_EQ(WriteWholeFile(path, QByteArray(100000, 'x')), QString());
    EXPECT_EQ(WriteTextExport(path, r.s, r.lines, r.header, QLocale::c()), QString());
    EXPECT_EQ(test::ReadAll(path), TextExportBytes(r.s, r.lines, r.header, QLocale::c()));
}

}  // namespace
}  // namespace vardel
