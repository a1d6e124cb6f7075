#include "export/rtf_export.h"

#include "tests/export/export_fixture.h"

namespace vardel {
namespace {

using test::Load;
using test::Plate;

// Stands in for the bitmaps: a few bytes naming the file, so that the golden files show which
// picture went into which field without depending on the PNG encoder.
std::optional<EmbeddedPicture> NamedPicture(const QString& name, QString*) {
    return EmbeddedPicture{("png:" + name).toLatin1(), QSize(4, 2), 3, 1.5};
}

TEST(RtfExport, MatchesTheReadFiles) {
    const std::vector<Load> four = {{500, 150, 40}, {500, 0, 0}, {1000, 400, 100}, {3000, 50, 0}};
    const struct {
        const char* golden;
        int type;
        int jezyk;
        QLocale locale;
        std::vector<Load> loads;
        Int16 lastPage;
    } rows[] = {
        // Two rows of sketches, the second on a new page; case 4 is wholly compressed and takes the
        // no-tension picture. The N–M diagram follows the summary on that page.
        {"export/rtf_type_a_four_cases.rtf", 1, 2, test::DecimalPoint(), four, 6},
        // Case 4 does not fit on the first page: a page break and the header of page 6.
        {"export/rtf_type_b_six_cases.rtf", 2, 0, test::Polish(), test::SixCases(), 6},
        // No load-case section: the diagram (here half as tall as wide) fits below the load table.
        // The project name and designation need every kind of escape.
        {"export/rtf_type_0.rtf", 0, 0, test::Polish(), {{500, 150, 40}}, 5},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.golden);
        test::Report r;
        test::Compose(r, Plate{}, row.loads, row.jezyk, 1, row.locale);
        r.s.Tryb_RTF = static_cast<Int16>(row.type);
        r.s.Strona = 5;
        if (row.type == 0) {
            r.header.Teksty_nagl[4] = QStringLiteral("Hala {B} \\ C:\tżółć € ¤");
            r.header.Teksty_nagl[7] = QStringLiteral("Ω 한 𝛚");
        }
        const RtfDocument doc =
            ComposeRtf(RtfSource{r.s, r.lines, r.header, row.locale, test::kClock}, NamedPicture);
        EXPECT_EQ(doc.failure, QString());
        EXPECT_EQ(doc.Strona, row.lastPage);
        const QString diff = test::CompareGolden(row.golden, doc.bytes);
        EXPECT_TRUE(diff.isEmpty()) << diff.toStdString();
    }
}

}  // namespace
}  // namespace vardel
