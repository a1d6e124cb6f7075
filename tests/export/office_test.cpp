// The RTF and Word documents opened for real: LibreOffice turns each into a PDF, whose text must
// hold the report's lines and whose pages must carry the pictures.
#include "export/rtf_export.h"
#include "export/word_export.h"

#include "tests/export/export_fixture.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

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

TEST(OfficeReader, OpensBothDocumentsWithTextAndPictures) {
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    ASSERT_FALSE(soffice.isEmpty()) << "LibreOffice is missing: run scripts/install-deps.sh";
    test::Report r;
    test::Compose(r, test::Plate{}, test::SixCases(), 0, 1, test::Polish());
    r.s.Tryb_RTF = 2;
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    test::FillProgramDir(r.s, dir.path());
    const QString rtf = dir.filePath(QStringLiteral("WynikiRtf.rtf"));
    const QString docx = dir.filePath(QStringLiteral("WynikiDocx.docx"));
    const WordSource word{r.s, r.lines, r.header, dir.path(), test::Polish()};
    ASSERT_EQ(WriteWordExport(docx, word).ok, true);
    ASSERT_EQ(WriteRtfExport(rtf, r.s, r.lines, r.header, dir.path(), test::Polish(), test::kClock)
                  .message,
              QString());

    // A profile of its own, so that the test neither needs nor touches the user's.
    RunProgram(
        soffice,
        {QStringLiteral("-env:UserInstallation=file://") + dir.filePath(QStringLiteral("profile")),
         QStringLiteral("--headless"), QStringLiteral("--convert-to"), QStringLiteral("pdf"),
         QStringLiteral("--outdir"), dir.filePath(QStringLiteral("pdf")), rtf, docx},
        180000);

    const QString lines[] = {
        r.header.Teksty_nagl[1], r.lines.Dane[1],       r.lines.Dane[7],
        r.s.Tabela[7],           r.s.Teksty[16] + u'6', r.lines.Linia_sruby[2],
        r.lines.Linia_betonu[4], r.s.Wynik_V[6],        r.s.Teksty[19],
    };
    // Pictures: the ring and the forces, or the two title pictures, and one sketch per case.
    for (const char* name : {"WynikiRtf", "WynikiDocx"}) {
        SCOPED_TRACE(name);
        const QString pdf = dir.filePath(QStringLiteral("pdf/%1.pdf").arg(QLatin1String(name)));
        ASSERT_TRUE(QFile::exists(pdf));
        const QString text = Letters(QString::fromUtf8(RunProgram(
            QStringLiteral("pdftotext"), {QStringLiteral("-raw"), QStringLiteral("-enc"),
                                          QStringLiteral("UTF-8"), pdf, QStringLiteral("-")})));
        for (const QString& line : lines) {
            EXPECT_TRUE(text.contains(Letters(line))) << line.toStdString();
        }
        const QList<QByteArray> images =
            RunProgram(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf})
                .trimmed()
                .split('\n');
        EXPECT_EQ(images.size() - 2, 8) << images.join('\n').toStdString();
    }
}

}  // namespace
}  // namespace vardel
