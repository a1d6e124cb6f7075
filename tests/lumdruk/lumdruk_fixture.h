// Page files and jobs for the print program's tests, written into a temporary directory.
#pragma once

#include "lumdruk/layout.h"
#include "print/page_files.h"
#include "tests/test_support.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vardel::lumdruk::test {

using ::vardel::test::MakeFifo;
using ::vardel::test::ProgramDir;
using ::vardel::test::ReadAll;

// The page header as the program writes it, labelled "Strona 3".
inline QStringList HeaderLines() {
    DesignCase s;
    s.Strona = 3;
    HeaderTexts h;
    h.Teksty_nagl[1] = QStringLiteral("Zakotwienie słupów stalowych");
    h.Teksty_nagl[4] = QStringLiteral("Hala – Łódź, ul. Żółta");
    h.Teksty_nagl[5] = QStringLiteral("2026-12-06 07:30");
    h.Teksty_nagl[6] = QStringLiteral("Strona ");
    h.Teksty_nagl[7] = QStringLiteral("Stopa S-1");
    QStringList lines;
    WritePageHeader(lines, s, h);
    return lines;
}

// A body text line at (x, y) in the ordinary 3.2 mm font.
inline QStringList TextLine(double x, double y, const QString& text) {
    return {QStringLiteral("3,%1,%2,1,,3.2,1.,0.,0,0,0,400,5").arg(x, 0, 'f', 1).arg(y, 0, 'f', 1),
            text};
}

// Body lines "wiersz N" every 4.5 mm from y = `top`: 70 of them from 40 run onto a second page.
inline QStringList LongBody(int lines = 70, double top = 40) {
    QStringList body;
    for (int i = 0; i < lines; ++i) {
        body += TextLine(7, top + 4.5 * i, QStringLiteral("wiersz %1").arg(i));
    }
    return body;
}

// The concrete note with omega and its subscript, as the body writes it.
inline QStringList OmegaLines(double y) {
    return TextLine(6, y, QStringLiteral("Docisk lokalny, ")) +
           QStringList{"3,,,1,,3.2,1.,0.,0,0,0,400,2",         "w",
                       "3,@0.,@1.5,1,,3.2,1.,0.,0,0,0,400,5",  "u",
                       "3,@0.,@-1.5,1,,3.2,1.,0.,0,0,0,400,5", "1,16 = "};
}

inline QByteArray CrLf(const QStringList& lines) {
    return (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

inline void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    f.write(bytes);
}

// The first text of the page that reads `text`, or null.
inline const PageText* Find(const Page& page, const QString& text) {
    for (const PageItem& item : page.items) {
        if (const auto* t = std::get_if<PageText>(&item); t && t->text == text) {
            return t;
        }
    }
    return nullptr;
}

// Runs a program to its end (bounded); its standard output, or with `failure` set why it failed.
inline QString RunTool(const QString& program, const QStringList& args, QString* failure = nullptr,
                       const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
    QProcess p;  // killed, should it outlive its time
    p.setProcessEnvironment(env);
    p.start(program, args);
    const bool ended = p.waitForFinished(60000);
    if (failure != nullptr && (!ended || p.exitStatus() != QProcess::NormalExit || p.exitCode())) {
        *failure = QStringLiteral("%1 exited with %2: %3")
                       .arg(program)
                       .arg(p.exitCode())
                       .arg(QString::fromLocal8Bit(p.readAllStandardError()));
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The text of a PDF file as pdftotext reads it, each page ending in a form feed; empty when
// pdftotext (poppler-utils) is not installed.
inline QString PdfText(const QString& path) {
    return RunTool(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
}

// A program directory with the two page files and a job file.
class JobDir {
  public:
    JobDir() { EXPECT_TRUE(dir_.isValid()); }
    QString Path(const QString& name) const { return QDir(dir_.path()).filePath(name); }
    QString Dir() const { return dir_.path(); }

    void WritePages(const QStringList& body) {
        WriteFile(Path("VARDELOK1.wyd"), CrLf(HeaderLines()));
        WriteFile(Path("VARDELOK.wyd"), CrLf(HeaderLines() + body));
    }
    // The job file; returns its path.
    QString WriteJob(const QString& modeLine) {
        WriteFile(Path("W_KK.txt"), CrLf({modeLine, Path("VARDELOK.wyd"), Path("VARDELOK1.wyd")}));
        return Path("W_KK.txt");
    }
    QByteArray Status() const {
        QFile f(Path("W_X.txt"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(no status file)");
    }

  private:
    QTemporaryDir dir_;
};

}  // namespace vardel::lumdruk::test
