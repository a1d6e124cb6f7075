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
#include <cmath>
#include <iterator>
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

// The lines of a page, top to bottom: its words joined by blanks where their tops meet.
std::vector<QString> PageLines(const std::vector<Word>& words, int page) {
    std::vector<Word> on;
    std::copy_if(words.begin(), words.end(), std::back_inserter(on),
                 [&](const Word& w) { return w.page == page; });
    std::stable_sort(on.begin(), on.end(), [](const Word& a, const Word& b) {
        return std::round(a.box.top()) != std::round(b.box.top()) ? a.box.top() < b.box.top()
                                                                  : a.box.left() < b.box.left();
    });
    std::vector<QString> lines;
    double top = -1;
    for (const Word& w : on) {
        if (lines.empty() || std::round(w.box.top()) != std::round(top)) {
            lines.push_back(w.text);
            top = w.box.top();
        } else {
            lines.back() += u' ' + w.text;
        }
    }
    return lines;
}

// Each page begins with the export's own header: the first line that is not dashes is the
// standard's, whole on one line; the body below the header's third row of dashes begins with a
// case or the summary. So no reader broke a page on its own, left a header alone or split a case.
void ExpectEveryPageUnderTheHeader(const std::vector<Word>& words, const test::Report& r) {
    const int pages = words.empty() ? 0 : words.back().page + 1;
    EXPECT_GE(pages, 2);
    for (int page = 0; page < pages; ++page) {
        SCOPED_TRACE(page + 1);
        const std::vector<QString> text = PageLines(words, page);
        std::vector<size_t> dashes;
        for (size_t i = 0; i < text.size(); ++i) {
            if (Letters(text[i]).count(u'-') == Letters(text[i]).size()) {
                dashes.push_back(i);
            }
        }
        if (dashes.size() < 3 || dashes[0] != 0) {
            ADD_FAILURE() << "no header: "
                          << (text.empty() ? std::string() : text[0].toStdString());
            continue;
        }
        EXPECT_EQ(text[1], r.header.Teksty_nagl[1].simplified());
        if (dashes[2] + 1 >= text.size()) {
            // No words under the header: only the N–M diagram, a picture, may stand there alone.
            EXPECT_EQ(page, pages - 1) << "a header with nothing under it";
            continue;
        }
        const QString body = Letters(text[dashes[2] + 1]);
        if (page > 0) {
            EXPECT_TRUE(body.startsWith(Letters(r.s.Teksty[16])) ||
                        body == Letters(r.lines.Teksty_rap[3]))
                << body.toStdString();
        }
    }
}

// The report as LibreOffice lays out the RTF of both types and the Word document: every line of
// the report there, every picture there (ring and forces or the two title pictures, one sketch
// per case and the N–M diagram), and in the RTF no word under a picture and every page under the
// export's own header (and so in a second file of five cases of type A).
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

    // Five cases of type A: the second row of sketches and its cases end the second page.
    test::Report five;
    const std::vector<test::Load> six = test::SixCases();
    test::Compose(five, test::Plate{}, {six.begin(), six.begin() + 5}, 0, 1, test::Polish());
    five.s.Tryb_RTF = 1;
    five.s.Strona = 1;
    const QString fiveDir = dir.filePath(QStringLiteral("five"));
    ASSERT_TRUE(QDir().mkpath(fiveDir));
    test::FillProgramDir(five.s, fiveDir);
    files << dir.filePath(QStringLiteral("WynikiRtfA5.rtf"));
    ASSERT_EQ(WriteRtfExport(files.back(), five.s, five.lines, five.header, fiveDir, test::Polish(),
                             test::kClock)
                  .message,
              QString());

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
        ExpectEveryPageUnderTheHeader(words, r);
    }
    SCOPED_TRACE("WynikiRtfA5");
    ExpectEveryPageUnderTheHeader(WordBoxes(dir.filePath(QStringLiteral("pdf/WynikiRtfA5.pdf"))),
                                  five);
}

}  // namespace
}  // namespace vardel
