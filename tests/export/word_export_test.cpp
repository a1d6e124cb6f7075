#include "export/word_export.h"

#include "tests/export/export_fixture.h"

#include <QSet>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <zip.h>

#include <map>

namespace vardel {
namespace {

using test::Load;
using test::Plate;

// The parts of a .docx file by name.
std::map<QString, QByteArray> Unzip(const QByteArray& bytes) {
    std::map<QString, QByteArray> parts;
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* src = zip_source_buffer_create(bytes.constData(), bytes.size(), 0, &error);
    zip_t* z = src ? zip_open_from_source(src, ZIP_RDONLY, &error) : nullptr;
    if (!z) {
        ADD_FAILURE() << "not a zip archive: " << zip_error_strerror(&error);
        zip_source_free(src);
        zip_error_fini(&error);
        return parts;
    }
    for (zip_int64_t k = 0; k < zip_get_num_entries(z, 0); ++k) {
        zip_stat_t st;
        zip_stat_index(z, k, 0, &st);
        QByteArray data(static_cast<qsizetype>(st.size), '\0');
        zip_file_t* f = zip_fopen_index(z, k, 0);
        EXPECT_EQ(zip_fread(f, data.data(), st.size), static_cast<zip_int64_t>(st.size));
        zip_fclose(f);
        parts[QString::fromUtf8(st.name)] = data;
    }
    zip_close(z);
    zip_error_fini(&error);
    return parts;
}

// The attributes of every element named `name` in `xml`, in document order.
QList<QXmlStreamAttributes> Elements(const QByteArray& xml, QStringView name) {
    QList<QXmlStreamAttributes> out;
    QXmlStreamReader r(xml);
    while (!r.atEnd()) {
        if (r.readNext() == QXmlStreamReader::StartElement && r.name() == name) {
            out << r.attributes();
        }
    }
    EXPECT_FALSE(r.hasError()) << r.errorString().toStdString();
    return out;
}

// The document as readable lines: each paragraph's text (subscripts in _{}), then each picture
// with its frame. Along the way checks that the package holds together: every part has a
// content type, every relationship points at a part, every picture at an image relationship.
QByteArray Summary(const QByteArray& docx) {
    auto parts = Unzip(docx);
    QSet<QString> defaults, overrides;
    for (const auto& a : Elements(parts["[Content_Types].xml"], u"Default")) {
        defaults << a.value(QLatin1String("Extension")).toString();
    }
    for (const auto& a : Elements(parts["[Content_Types].xml"], u"Override")) {
        overrides << a.value(QLatin1String("PartName")).toString();
    }
    for (const auto& [name, bytes] : parts) {
        EXPECT_TRUE(overrides.contains(u'/' + name) || defaults.contains(name.section(u'.', -1)))
            << "no content type for " << name.toStdString();
    }
    const auto main = Elements(parts["_rels/.rels"], u"Relationship");
    EXPECT_EQ(main.size(), 1);
    EXPECT_TRUE(parts.count(main.value(0).value(QLatin1String("Target")).toString()));
    std::map<QString, QString> images;
    for (const auto& a : Elements(parts["word/_rels/document.xml.rels"], u"Relationship")) {
        const QString target =
            QStringLiteral("word/") + a.value(QLatin1String("Target")).toString();
        EXPECT_TRUE(parts.count(target)) << target.toStdString();
        if (a.value(QLatin1String("Type")).toString().endsWith(u"/image")) {
            images[a.value(QLatin1String("Id")).toString()] = target;
        }
    }

    QByteArray out;
    QXmlStreamReader r(parts["word/document.xml"]);
    int paragraph = 0;
    QString text, picture, frame;
    bool subscript = false, inRun = false;
    QStringList pictures;
    while (!r.atEnd()) {
        const auto token = r.readNext();
        const QStringView n = r.name();
        const QString relative = r.attributes().value(QLatin1String("relativeFrom")).toString();
        if (token == QXmlStreamReader::StartElement) {
            if (n == u"p") {
                ++paragraph;
                text.clear();
            } else if (n == u"r") {
                inRun = true;
                subscript = false;
            } else if (n == u"vertAlign") {
                subscript = r.attributes().value(QLatin1String("w:val")) == u"subscript";
            } else if (n == u"t" && inRun) {
                const QString t = r.readElementText();
                text += subscript ? QStringLiteral("_{%1}").arg(t) : t;
            } else if (n == u"tab") {
                text += u'\t';
            } else if (n == u"anchor") {
                frame = QStringLiteral(" in paragraph %1").arg(paragraph);
            } else if (n == u"inline") {
                frame = QStringLiteral(" inline in paragraph %1").arg(paragraph);
            } else if (n == u"positionH" || n == u"positionV") {
                frame += QStringLiteral(" %1 from %2")
                             .arg(n == u"positionH" ? u"right" : u"down", relative);
            } else if (n == u"posOffset") {
                frame += u' ' + r.readElementText();
            } else if (n == u"extent") {
                frame += QStringLiteral(" size %1 x %2")
                             .arg(r.attributes().value(QLatin1String("cx")),
                                  r.attributes().value(QLatin1String("cy")));
            } else if (n.startsWith(u"wrap")) {
                frame += u' ' + n.toString();
            } else if (n == u"docPr") {
                picture = r.attributes().value(QLatin1String("name")).toString();
            } else if (n == u"cNvPr") {
                picture += QStringLiteral(" (%1)").arg(r.attributes().value(QLatin1String("name")));
            } else if (n == u"blip") {
                const QString id = r.attributes().value(QLatin1String("r:embed")).toString();
                EXPECT_TRUE(images.count(id)) << id.toStdString();
                pictures << picture + frame + u' ' + images[id];
            }
        } else if (token == QXmlStreamReader::EndElement) {
            if (n == u"p") {
                out += "| " + text.toUtf8() + "\n";
            } else if (n == u"r") {
                inRun = false;
            }
        }
    }
    EXPECT_FALSE(r.hasError()) << r.errorString().toStdString();
    for (const QString& p : pictures) {
        out += p.toUtf8() + "\n";
    }
    // The text size, line spacing and view that the picture offsets count on.
    const auto attributes = [](const QXmlStreamAttributes& a) {
        QByteArray line;
        for (const auto& one : a) {
            line += ' ' + one.qualifiedName().toUtf8() + '=' + one.value().toUtf8();
        }
        return line;
    };
    for (const auto& [part, element] :
         {std::pair{"word/styles.xml", u"sz"}, std::pair{"word/styles.xml", u"spacing"},
          std::pair{"word/settings.xml", u"view"}}) {
        for (const auto& a : Elements(parts[QString::fromLatin1(part)], element)) {
            out += QStringView(element).toUtf8() + attributes(a) + '\n';
        }
    }
    return out;
}

TEST(WordExport, MatchesTheReadFiles) {
    const struct {
        const char* golden;
        int jezyk;
        int norma;
        QLocale locale;
        std::vector<Load> loads;
        int anchorLines;
    } rows[] = {
        // A header text beyond 150 characters is cut; no summary and no anchor.
        {"export/word_polish_one_case.txt", 0, 1, test::Polish(), {{500, 150, 40}}, 0},
        // Second row of sketches 80 points lower; ω with d; the anchor block and its note.
        {"export/word_english_six_cases.txt", 2, 0, test::DecimalPoint(), test::SixCases(), 9},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.golden);
        test::Report r;
        test::Compose(r, Plate{}, row.loads, row.jezyk, row.norma, row.locale);
        r.header.Teksty_nagl[4] = QString(148, u'x') + QStringLiteral("ab𝛚c");
        r.s.Dobor_liczba = static_cast<Int16>(row.anchorLines);
        for (int k = 1; k <= row.anchorLines; ++k) {
            r.s.Dobor_teksty[k] = QStringLiteral("Kotwa <F-24> & \"wiersz\" %1").arg(k);
        }
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        test::FillProgramDir(r.s, dir.path());
        WordDocument doc;
        ASSERT_EQ(BuildWordReport(doc, {r.s, r.lines, r.header, dir.path(), row.locale}),
                  QString());
        const QString diff = test::CompareGolden(row.golden, Summary(doc.ToDocx()));
        EXPECT_TRUE(diff.isEmpty()) << diff.toStdString();
    }
}

}  // namespace
}  // namespace vardel
