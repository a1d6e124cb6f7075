// The RTF and Word documents opened for real: LibreOffice turns each into a PDF, whose text must
// hold the report's lines, whose pages must carry the pictures, and whose words must not lie
// under them.
#include "export/rtf_export.h"
#include "export/word_export.h"

#include "tests/export/export_fixture.h"

#include <QProcess>
#include <QRectF>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <vector>

namespace vardel {
namespace {

// Runs a program to its end and returns its standard output; fails the test when it does not end
// well.
QByteArray RunProgram(const QString& program, const QStringList& args, int timeoutMs = 60000) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(timeoutMs) || p.exitStatus() != QProcess::NormalExit ||
        p.exitCode() != 0) {
        ADD_FAILURE() << program.toStdString() << " failed: " << p.errorString().toStdString()
                      << "\n"
                      << p.readAllStandardError().toStdString();
        p.kill();
        p.waitForFinished();
    }
    return p.readAllStandardOutput();
}

// Without blanks: the reader breaks long lines where it likes, hyphens included.
QString Letters(QString text) {
    return text.remove(QRegularExpression(QStringLiteral("\\s")));
}

// The boxes of the pictures on each page, in points from the page's top-left corner.
std::vector<std::vector<QRectF>> PictureBoxes(const QString& pdf, const QString& scratch) {
    const QString xml = QString::fromUtf8(
        RunProgram(QStringLiteral("pdftohtml"),
                   {QStringLiteral("-xml"), QStringLiteral("-zoom"), QStringLiteral("1"),
                    QStringLiteral("-stdout"), pdf, scratch}));
    std::vector<std::vector<QRectF>> pages;
    static const QRegularExpression kItem(
        QStringLiteral("<page number|<image top=\"([-\\d.]+)\" left=\"([-\\d.]+)\" "
                       "width=\"([\\d.]+)\" height=\"([\\d.]+)\""));
    for (auto it = kItem.globalMatch(xml); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (m.captured(1).isEmpty()) {
            pages.emplace_back();
        } else if (!pages.empty()) {
            pages.back().emplace_back(m.captured(2).toDouble(), m.captured(1).toDouble(),
                                      m.captured(3).toDouble(), m.captured(4).toDouble());
        }
    }
    return pages;
}

struct Word {
    int page;
    QRectF box;
    QString text;
};

std::vector<Word> WordBoxes(const QString& pdf) {
    const QString xml = QString::fromUtf8(RunProgram(
        QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")}));
    std::vector<Word> words;
    int page = -1;
    static const QRegularExpression kItem(
        QStringLiteral("<page |<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" "
                       "xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    for (auto it = kItem.globalMatch(xml); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (m.captured(1).isEmpty()) {
            ++page;
            continue;
        }
        words.push_back({page,
                         QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                                QPointF(m.captured(3).toDouble(), m.captured(4).toDouble())),
                         m.captured(5)});
    }
    return words;
}

// The report as LibreOffice lays out the RTF of both types and the Word document: every line of
// the report there, every picture there (ring and forces or the two title pictures, one sketch
// per case and the N–M diagram), and in the RTF no word under a picture and the header's standard
// line on one line.
TEST(OfficeReader, LaysOutBothRtfTypesAndTheDocumentWithTextAndPictures) {
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    ASSERT_FALSE(soffice.isEmpty()) << "LibreOffice is missing: run scripts/install-deps.sh";
    test::Report r;
    test::Compose(r, test::Plate{}, test::SixCases(), 0, 1, test::Polish());
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    test::FillProgramDir(r.s, dir.path());
    const QString docx = dir.filePath(QStringLiteral("WynikiDocx.docx"));
    const WordSource word{r.s, r.lines, r.header, dir.path(), test::Polish()};
    ASSERT_EQ(WriteWordExport(docx, word).ok, true);
    QStringList files = {docx};
    for (const int type : {1, 2}) {
        r.s.Tryb_RTF = static_cast<Int16>(type);
        r.s.Strona = 1;
        files << dir.filePath(type == 1 ? QStringLiteral("WynikiRtfA.rtf")
                                        : QStringLiteral("WynikiRtfB.rtf"));
        ASSERT_EQ(WriteRtfExport(files.back(), r.s, r.lines, r.header, dir.path(), test::Polish(),
                                 test::kClock)
                      .message,
                  QString());
    }

    // A profile of its own, so that the test neither needs nor touches the user's.
    RunProgram(soffice,
               QStringList{QStringLiteral("-env:UserInstallation=file://") +
                               dir.filePath(QStringLiteral("profile")),
                           QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                           QStringLiteral("pdf"), QStringLiteral("--outdir"),
                           dir.filePath(QStringLiteral("pdf"))} +
                   files,
               180000);

    const QString lines[] = {
        r.header.Teksty_nagl[1], r.lines.Dane[1],       r.lines.Dane[7],
        r.s.Tabela[7],           r.s.Teksty[16] + u'6', r.lines.Linia_sruby[2],
        r.lines.Linia_betonu[4], r.s.Wynik_V[6],        r.s.Teksty[19],
    };
    for (const char* name : {"WynikiDocx", "WynikiRtfA", "WynikiRtfB"}) {
        SCOPED_TRACE(name);
        const QString pdf = dir.filePath(QStringLiteral("pdf/%1.pdf").arg(QLatin1String(name)));
        ASSERT_TRUE(QFile::exists(pdf));
        const QString text = Letters(QString::fromUtf8(RunProgram(
            QStringLiteral("pdftotext"), {QStringLiteral("-raw"), QStringLiteral("-enc"),
                                          QStringLiteral("UTF-8"), pdf, QStringLiteral("-")})));
        for (const QString& line : lines) {
            EXPECT_TRUE(text.contains(Letters(line))) << line.toStdString();
        }
        const std::vector<std::vector<QRectF>> pictures =
            PictureBoxes(pdf, dir.filePath(QStringLiteral("img")));
        size_t count = 0;
        for (const auto& page : pictures) {
            count += page.size();
        }
        EXPECT_EQ(count, 9u);
        if (QLatin1String(name) == QLatin1String("WynikiDocx")) {
            continue;
        }
        // A word's box is the font's full height: one that touches a picture's edge by less
        // than a point is beside it, not under it.
        const std::vector<Word> words = WordBoxes(pdf);
        for (const Word& w : words) {
            const QRectF box = w.box.adjusted(1, 1, -1, -1);
            for (const QRectF& p :
                 w.page < int(pictures.size()) ? pictures[w.page] : std::vector<QRectF>{}) {
                if (box.intersects(p)) {
                    ADD_FAILURE() << "under a picture: " << w.text.toStdString();
                }
            }
        }
        EXPECT_GT(words.size(), 500u);
        // The standard line: its words in order on one line of the first page.
        const QStringList standard = r.header.Teksty_nagl[1].split(u' ');
        const auto first = std::find_if(words.begin(), words.end(),
                                        [&](const Word& w) { return w.text == standard[0]; });
        ASSERT_LE(first + standard.size(), words.end());
        for (qsizetype i = 0; i < standard.size(); ++i) {
            EXPECT_EQ(first[i].text, standard[i]);
            EXPECT_EQ(first[i].box.top(), first->box.top()) << standard[i].toStdString();
        }
    }
}

}  // namespace
}  // namespace vardel
