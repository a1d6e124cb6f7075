#include "cli/calc_cli.h"

#include "tests/test_support.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>

namespace vardel {
namespace {

struct CliRun {
    int status;
    QString out;
    QString err;
};

CliRun RunCli(const QStringList& args) {
    QString out;
    QString err;
    QTextStream o(&out);
    QTextStream e(&err);
    const int status = RunCalcCli(args, test::ProgramDir(), o, e);
    o.flush();
    e.flush();
    return {status, out, err};
}

QString ShippedSettings() {
    return test::ProgramDir() + QStringLiteral("/VardelOK.cfg");
}

// The shipped settings file with one line replaced, named after the line.
QString SettingsWithLine(const QTemporaryDir& dir, int line, const QByteArray& text) {
    QList<QByteArray> lines = test::ReadAll(ShippedSettings()).split('\n');
    lines[line - 1] = text + '\r';
    const QString path = dir.filePath(QStringLiteral("VardelOK%1.cfg").arg(line));
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(lines.join('\n'));
    return path;
}

TEST(CalcCli, JsonOfTheShippedCase) {
    const CliRun r = RunCli({QStringLiteral("--json"), QStringLiteral("--cases"),
                             QStringLiteral("3"), ShippedSettings()});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QJsonObject o = QJsonDocument::fromJson(r.out.toUtf8()).object();
    for (const char* key :
         {"stopped", "stop", "r_rdzenia", "A_pierscienia", "W_pierscienia", "Rozstaw", "As_sruby",
          "Es_Eb", "Eb", "fd_stali", "ft_sruby", "fv_sruby", "fcd_betonu", "Liczba_V",
          "Wszystko_OK", "Sig_b_max", "Sig_s_max", "F_s_max", "cases"}) {
        EXPECT_TRUE(o.contains(QLatin1String(key))) << key;
    }
    EXPECT_FALSE(o[QStringLiteral("stopped")].toBool());
    EXPECT_TRUE(o[QStringLiteral("stop")].isNull());
    const QJsonArray cases = o[QStringLiteral("cases")].toArray();
    ASSERT_EQ(cases.size(), 3);
    double largestConcrete = 0;
    for (int k = 0; k < cases.size(); ++k) {
        const QJsonObject c = cases[k].toObject();
        EXPECT_EQ(c[QStringLiteral("Nr_przyp")].toInt(), k + 1);
        EXPECT_EQ(c[QStringLiteral("Sig_sr")].toArray().size(), 8);
        const bool partly = c[QStringLiteral("partly_compressed")].toBool();
        EXPECT_EQ(partly, !c[QStringLiteral("a_cm")].isNull());
        EXPECT_EQ(c[QStringLiteral("regime")].toString(),
                  partly ? QStringLiteral("partly") : QStringLiteral("whole"));
        largestConcrete = std::max(largestConcrete, c[QStringLiteral("Sig_b")].toDouble());
    }
    EXPECT_FLOAT_EQ(static_cast<float>(largestConcrete),
                    static_cast<float>(o[QStringLiteral("Sig_b_max")].toDouble()));
}

// The shipped case: 24 mm bolts of St3S (205 MPa) in B20, so Lp = 500 x 0.866 = 433 and the plate
// total 433 + 50 + 60 + 20 + 30 = 593 rounds to 600; the hook 1190 + 414 = 1604 to 1600.
TEST(CalcCli, AnchorsForAThickness) {
    const CliRun r = RunCli({QStringLiteral("--json"), QStringLiteral("--thickness"),
                             QStringLiteral("50"), ShippedSettings()});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QJsonObject a =
        QJsonDocument::fromJson(r.out.toUtf8()).object()[QStringLiteral("anchors")].toObject();
    EXPECT_EQ(a[QStringLiteral("Nosnosc")].toDouble(), 72.365);
    EXPECT_EQ(QJsonDocument(a[QStringLiteral("hook")].toObject()).toJson(QJsonDocument::Compact),
              R"({"L":1080,"Lcalk":1600,"Lo":1190,"designation":"F-24-1600"})");
    EXPECT_EQ(QJsonDocument(a[QStringLiteral("plate")].toObject()).toJson(QJsonDocument::Compact),
              R"({"L1":0,"Lcalk":600,"Lo":543,"Lp":433,"a":110,"designation":"P-24-600","tp":20})");
    for (const auto& [key, value] :
         {std::pair{"Grubosc", 50}, {"D", 120}, {"Lh", 414}, {"Ld", 60}}) {
        EXPECT_EQ(a[QLatin1String(key)].toInt(), value) << key;
    }
}

TEST(CalcCli, PlainFoundationLowersTheConcreteStrength) {
    const CliRun plain = RunCli({QStringLiteral("--json"), QStringLiteral("--foundation"),
                                 QStringLiteral("plain"), ShippedSettings()});
    ASSERT_EQ(plain.status, 0);
    const QJsonObject o = QJsonDocument::fromJson(plain.out.toUtf8()).object();
    EXPECT_FLOAT_EQ(static_cast<float>(o[QStringLiteral("fcd_betonu")].toDouble()), 8.9f);  // B20
}

// A program directory of its own in `dir`: the language files, nothing else.
void CopyLanguageFiles(const QDir& dir) {
    for (const QString& name : QDir(test::ProgramDir()).entryList({QStringLiteral("Vdl*.txt")})) {
        ASSERT_TRUE(QFile::copy(test::ProgramDir() + u'/' + name, dir.filePath(name)));
    }
}

TEST(CalcCli, ExitStatuses) {
    QTemporaryDir dir;
    QTemporaryDir dir16;  // each changed settings file in a directory of its own
    CopyLanguageFiles(QDir(dir.path()));
    const QString pdf = dir.filePath(QStringLiteral("ok.pdf"));
    const struct {
        const char* what;
        QString errContains;
        QStringList args;
        int status;
    } cases[] = {
        {"no file", "no settings file", {}, 2},
        {"unknown option", "unknown option", {"--fast", ShippedSettings()}, 2},
        {"unknown language", "--lang", {"--lang", "de", ShippedSettings()}, 2},
        {"bad date", "--date", {"--date", "6.12.2026", ShippedSettings()}, 2},
        {"unknown RTF type", "--rtf-type", {"--rtf-type", "C", ShippedSettings()}, 2},
        {"seven cases", "1 to 6", {"--cases", "7", ShippedSettings()}, 2},
        {"missing file", "none.cfg", {dir.filePath(QStringLiteral("none.cfg"))}, 2},
        {"settings that never end", "/dev/zero", {"/dev/zero"}, 2},
        {"steel grade outside its table",
         "wiersz 5",
         {SettingsWithLine(dir, 5, QByteArrayLiteral(" 7 Nrstali"))},
         2},
        {"anchor without thickness",
         "--anchor needs --thickness",
         {"--anchor", "hook", ShippedSettings()},
         2},
        {"negative thickness", "0 to 32767", {"--thickness", "-1", ShippedSettings()}, 2},
        {"thickness beyond 16 bits", "0 to 32767", {"--thickness", "32768", ShippedSettings()}, 2},
        {"anchor lengths beyond 16 bits", "6!!!!", {"--thickness", "32000", ShippedSettings()}, 2},
        {"no plate anchor for 16 mm bolts",
         "no plate anchor for a bolt of 16 mm",
         {"--thickness", "50", "--anchor", "plate",
          SettingsWithLine(dir16, 21, QByteArrayLiteral(" 2 Numer_sruby"))},
         2},
        {"unwritable RTF", "w.rtf", {"--rtf", "/nonexistent-dir/w.rtf", ShippedSettings()}, 2},
        {"unwritable Word document",
         "w.docx",
         {"--docx", "/nonexistent-dir/w.docx", ShippedSettings()},
         2},
        {"inner radius too large",
         "Promień zewnętrzny pierścienia musi być większy od wewnętrznego!",
         {SettingsWithLine(dir, 15, QByteArrayLiteral("400R_wewn"))},
         1},
        {"two things on standard output",
         "standard output",
         {"--json", "--txt", "-", ShippedSettings()},
         2},
        {"unwritable text export",
         "w.txt",
         {"--txt", "/nonexistent-dir/w.txt", ShippedSettings()},
         2},
        {"a full disk", qt_error_string(ENOSPC), {"--txt", "/dev/full", ShippedSettings()}, 2},
        // All outputs or none: the PDF could be written, the picture cannot.
        {"one output unwritable",
         "/proc/x",
         {"--dir", dir.path(), "--pdf", pdf, "--emf", "/proc/x", ShippedSettings()},
         2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const CliRun r = RunCli(c.args);
        EXPECT_EQ(r.status, c.status);
        EXPECT_TRUE(r.err.contains(c.errContains)) << r.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(pdf));
}

TEST(CalcCli, TextExportInTheChosenLanguage) {
    QTemporaryDir dir;
    const QString txt = dir.filePath(QStringLiteral("Wyniki.txt"));
    const CliRun r =
        RunCli({QStringLiteral("--cases"), QStringLiteral("2"), QStringLiteral("--lang"),
                QStringLiteral("gb"), QStringLiteral("--txt"), txt, QStringLiteral("--designation"),
                QStringLiteral("SF-1 oś A"), QStringLiteral("--date"),
                QStringLiteral("2026-12-06 10:15"), ShippedSettings()});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QString text = QString::fromUtf8(test::ReadAll(txt));
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    ASSERT_GT(lines.size(), 20);
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral("PN-B-03264:2002")));
    EXPECT_EQ(lines[1], QStringLiteral("Hala magazynowa, słup S1"));
    EXPECT_EQ(lines[2], QStringLiteral("06/12/26     10:15"));
    EXPECT_EQ(lines[4], QStringLiteral("SF-1 oś A"));
    EXPECT_TRUE(text.contains(QStringLiteral("Load case no. 2")));
    EXPECT_FALSE(text.contains(QStringLiteral("Lastfall")));
}

// The RTF type comes from the command line over the settings file; four cases of type B break
// the page before the fourth. The sketches go into the chosen program directory.
TEST(CalcCli, RtfAndWordDocuments) {
    QTemporaryDir dir;
    const QDir program(test::ProgramDir());
    for (const QString& name :
         program.entryList({QStringLiteral("*.txt"), QStringLiteral("*.bmp")})) {
        ASSERT_TRUE(QFile::copy(program.filePath(name), dir.filePath(name)));
    }
    const QString rtf = dir.filePath(QStringLiteral("Wyniki.rtf"));
    const QString docx = dir.filePath(QStringLiteral("Wyniki.docx"));
    const CliRun r =
        RunCli({QStringLiteral("--cases"), QStringLiteral("4"), QStringLiteral("--dir"), dir.path(),
                QStringLiteral("--rtf"), rtf, QStringLiteral("--rtf-type"), QStringLiteral("B"),
                QStringLiteral("--docx"), docx,
                SettingsWithLine(dir, 11, QByteArrayLiteral("1000.0 400.0 100.0"))});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QByteArray text = test::ReadAll(rtf);
    EXPECT_TRUE(text.startsWith("{\\rtf1"));
    EXPECT_EQ(text.count("\\page"), 1);
    EXPECT_EQ(text.count("\\pict\\pngblip"), 6);
    EXPECT_TRUE(test::ReadAll(docx).startsWith("PK"));
}

TEST(CalcCli, JsonCarriesTheReportVerdicts) {
    const CliRun r = RunCli({QStringLiteral("--json"), QStringLiteral("--lang"),
                             QStringLiteral("gb"), ShippedSettings()});
    ASSERT_EQ(r.status, 0);
    const QJsonObject o = QJsonDocument::fromJson(r.out.toUtf8()).object();
    EXPECT_TRUE(o[QStringLiteral("Beton_OK")].toBool());
    EXPECT_EQ(o[QStringLiteral("verdict")].toString(), QStringLiteral("OK"));
    const QJsonObject c = o[QStringLiteral("cases")].toArray()[0].toObject();
    // The shipped first case bears between once and twice the concrete strength.
    const double sigma = c[QStringLiteral("Sig_b")].toDouble() / 10.1971621297793;
    ASSERT_GT(sigma, o[QStringLiteral("fcd_betonu")].toDouble());
    EXPECT_NEAR(c[QStringLiteral("Omega_u")].toDouble(),
                sigma / o[QStringLiteral("fcd_betonu")].toDouble(), 1e-5);
    EXPECT_EQ(c[QStringLiteral("Wynik_V_line")].toInt(), 46);
    EXPECT_TRUE(c[QStringLiteral("Wynik_V")].toString().contains(QStringLiteral("friction")));
}

// Given relative, the program directory still gives the page its pictures.
TEST(CalcCli, PageAsPdfAndEmfThroughThePageFiles) {
    QTemporaryDir top;
    const QDir dir(top.filePath(QStringLiteral("progw")));
    ASSERT_TRUE(QDir(top.path()).mkdir(QStringLiteral("progw")));
    // A program directory of its own: the language files and the anchor sketches.
    for (const QString& name :
         QDir(test::ProgramDir())
             .entryList({QStringLiteral("Vdl*.txt"), QStringLiteral("rys*.bmp")})) {
        ASSERT_TRUE(QFile::copy(test::ProgramDir() + u'/' + name, dir.filePath(name)));
    }
    const QString pdf = dir.filePath(QStringLiteral("page.pdf"));
    const QString emf = dir.filePath(QStringLiteral("page.emf"));
    const QString cwd = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(top.path()));
    const CliRun r =
        RunCli({QStringLiteral("--cases"), QStringLiteral("2"), QStringLiteral("--dir"),
                QStringLiteral("progw"), QStringLiteral("--pdf"), pdf, QStringLiteral("--emf"), emf,
                QStringLiteral("--thickness"), QStringLiteral("50"), QStringLiteral("--anchor"),
                QStringLiteral("plate"), ShippedSettings()});
    QDir::setCurrent(cwd);
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_FALSE(r.err.contains(QStringLiteral("Piersc.bmp"))) << r.err.toStdString();
    EXPECT_TRUE(test::ReadAll(pdf).startsWith("%PDF"));
    const QByteArray picture = test::ReadAll(emf);
    ASSERT_GT(picture.size(), 88);
    EXPECT_EQ(picture.mid(40, 4), QByteArrayLiteral(" EMF"));
    // The page files and sketches were written into the chosen directory, the page with the
    // confirmed anchor; the missing fixed picture is only noted.
    for (const char* name : {"VARDELOK.wyd", "VARDELOK1.wyd", "Piersc.bmp", "SzkicOK1.bmp",
                             "SzkicOK2.bmp", "Szkick.bmp"}) {
        EXPECT_TRUE(QFile::exists(dir.filePath(QLatin1String(name)))) << name;
    }
    EXPECT_TRUE(test::ReadAll(dir.filePath(QStringLiteral("VARDELOK.wyd")))
                    .contains("Dobrano kotwę: P-24-600"));
    EXPECT_TRUE(r.err.contains(QStringLiteral("Sily.bmp"))) << r.err.toStdString();
}

TEST(CalcCli, StopIsReportedInJsonToo) {
    QTemporaryDir dir;
    const QString path = SettingsWithLine(dir, 22, QByteArrayLiteral(" 51 Liczba_srub"));
    const CliRun r = RunCli({QStringLiteral("--json"), path});
    EXPECT_EQ(r.status, 1);
    const QJsonObject o = QJsonDocument::fromJson(r.out.toUtf8()).object();
    EXPECT_TRUE(o[QStringLiteral("stopped")].toBool());
    EXPECT_EQ(o[QStringLiteral("stop")].toObject()[QStringLiteral("message")].toString(),
              QStringLiteral("K3(oblicz)!!9"));
    EXPECT_TRUE(o[QStringLiteral("cases")].toArray().isEmpty());
}

}  // namespace
}  // namespace vardel
