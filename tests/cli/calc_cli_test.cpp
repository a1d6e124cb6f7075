#include "cli/calc_cli.h"

#include "tests/test_support.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
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

// The shipped settings file with one line replaced, in a file of its own.
QString SettingsWithLine(const QTemporaryDir& dir, int line, const QByteArray& text) {
    QList<QByteArray> lines = test::ReadAll(ShippedSettings()).split('\n');
    lines[line - 1] = text + '\r';
    const QString path = dir.filePath(QStringLiteral("line%1.cfg").arg(line));
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(lines.join('\n'));
    return path;
}

// The shipped cases bear on a segment; a fourth, without a moment, on the whole ring.
TEST(CalcCli, JsonOfTheShippedCase) {
    QTemporaryDir dir;
    const CliRun r = RunCli(
        {"--json", "--lang", "gb", "--cases", "4", SettingsWithLine(dir, 11, "500.0   0.0   0.0")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QJsonObject o = QJsonDocument::fromJson(r.out.toUtf8()).object();
    for (const char* key :
         {"r_rdzenia", "A_pierscienia", "W_pierscienia", "Rozstaw", "As_sruby", "Es_Eb", "Eb",
          "fd_stali", "ft_sruby", "fv_sruby", "Liczba_V", "Wszystko_OK", "F_s_max"}) {
        EXPECT_TRUE(o.contains(QLatin1String(key))) << key;
    }
    EXPECT_FALSE(o["stopped"].toBool());
    EXPECT_TRUE(o["stop"].isNull());
    EXPECT_TRUE(o["Beton_OK"].toBool());
    EXPECT_EQ(o["verdict"].toString(), "OK");
    const QJsonArray cases = o["cases"].toArray();
    ASSERT_EQ(cases.size(), 4);
    double largestConcrete = 0;
    double largestBolt = 0;
    for (int k = 0; k < cases.size(); ++k) {
        SCOPED_TRACE(k + 1);
        const QJsonObject c = cases[k].toObject();
        EXPECT_EQ(c["Nr_przyp"].toInt(), k + 1);
        const bool partly = k < 3;
        EXPECT_EQ(c["partly_compressed"].toBool(), partly);
        EXPECT_EQ(c["regime"].toString(), partly ? "partly" : "whole");
        EXPECT_EQ(c["a_cm"].isNull(), !partly);
        // Bolt 1 lies on the tension side, the largest bolt stress is its; bolts 2 and 8 mirror.
        const QJsonArray bolts = c["Sig_sr"].toArray();
        ASSERT_EQ(bolts.size(), 8);
        EXPECT_FLOAT_EQ(bolts[0].toDouble(), c["Sig_s"].toDouble());
        EXPECT_FLOAT_EQ(bolts[1].toDouble(), bolts[7].toDouble());
        largestConcrete = std::max(largestConcrete, c["Sig_b"].toDouble());
        largestBolt = std::max(largestBolt, c["Sig_s"].toDouble());
    }
    EXPECT_FLOAT_EQ(largestConcrete, o["Sig_b_max"].toDouble());
    EXPECT_FLOAT_EQ(largestBolt, o["Sig_s_max"].toDouble());
    // The first case bears between once and twice the concrete strength, and friction carries
    // its horizontal force.
    const QJsonObject c = cases[0].toObject();
    const double sigma = c["Sig_b"].toDouble() / 10.1971621297793;
    const double fcd = o["fcd_betonu"].toDouble();
    ASSERT_GT(sigma, fcd);
    EXPECT_NEAR(c["Omega_u"].toDouble(), sigma / fcd, 1e-5);
    EXPECT_EQ(c["Wynik_V_line"].toInt(), 46);
    EXPECT_TRUE(c["Wynik_V"].toString().contains("friction"));
    EXPECT_TRUE(cases[3].toObject()["Wynik_V_line"].isNull());
}

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

// A program directory of its own in `dir`: the language files and the anchor sketches.
void CopyProgramFiles(const QDir& dir) {
    for (const QString& name : QDir(test::ProgramDir()).entryList({"Vdl*.txt", "rys*.bmp"})) {
        ASSERT_TRUE(QFile::copy(test::ProgramDir() + u'/' + name, dir.filePath(name)));
    }
}

TEST(CalcCli, ExitStatuses) {
    QTemporaryDir dir;
    QTemporaryDir dir16;  // each changed settings file in a directory of its own
    CopyProgramFiles(QDir(dir.path()));
    const QString pdf = dir.filePath("ok.pdf");
    const QString shipped = ShippedSettings();
    const QByteArray diskFull = qt_error_string(ENOSPC).toUtf8();
    const struct {
        const char* what;
        QStringList args;
        int status;
        const char* errContains;
        const char* jsonMatches;  // a pattern for the compact JSON on standard output
    } cases[] = {
        {"no file", {}, 2, "no settings file", ""},
        {"unknown option", {"--fast", shipped}, 2, "unknown option", ""},
        {"unknown language", {"--lang", "de", shipped}, 2, "--lang", ""},
        {"bad date", {"--date", "6.12.2026", shipped}, 2, "--date", ""},
        {"seven cases", {"--cases", "7", shipped}, 2, "1 to 6", ""},
        {"missing file", {dir.filePath("none.cfg")}, 2, "none.cfg", ""},
        {"unknown RTF type", {"--rtf-type", "C", shipped}, 2, "--rtf-type", ""},
        {"settings that never end", {"/dev/zero"}, 2, "/dev/zero", ""},
        {"steel grade outside its table",
         {SettingsWithLine(dir, 5, " 7 Nrstali")},
         2,
         "wiersz 5",
         ""},
        {"anchor without thickness", {"--anchor", "hook", shipped}, 2, "--anchor needs", ""},
        {"negative thickness", {"--thickness", "-1", shipped}, 2, "0 to 32767", ""},
        {"thickness beyond 16 bits", {"--thickness", "32768", shipped}, 2, "0 to 32767", ""},
        {"anchor lengths beyond 16 bits", {"--thickness", "32000", shipped}, 2, "6!!!!", ""},
        {"no plate anchor for 16 mm bolts",
         {"--thickness", "50", "--anchor", "plate", SettingsWithLine(dir16, 21, " 2 Numer_sruby")},
         2,
         "no plate anchor for a bolt of 16 mm",
         ""},
        {"two things on standard output",
         {"--json", "--txt", "-", shipped},
         2,
         "standard output",
         ""},
        {"unwritable text export", {"--txt", "/nonexistent-dir/w.txt", shipped}, 2, "w.txt", ""},
        {"unwritable RTF", {"--rtf", "/nonexistent-dir/w.rtf", shipped}, 2, "w.rtf", ""},
        {"unwritable Word document",
         {"--docx", "/nonexistent-dir/w.docx", shipped},
         2,
         "w.docx",
         ""},
        {"a full disk", {"--txt", "/dev/full", shipped}, 2, diskFull.constData(), ""},
        // All outputs or none: the PDF could be written, the picture cannot.
        {"one output unwritable",
         {"--dir", dir.path(), "--pdf", pdf, "--emf", "/proc/x", shipped},
         2,
         "/proc/x",
         ""},
        {"inner radius too large",
         {SettingsWithLine(dir, 15, "400R_wewn")},
         1,
         "Promień zewnętrzny pierścienia musi być większy od wewnętrznego!",
         ""},
        // A stop is in the JSON too, with no cases.
        {"too many bolts",
         {"--json", SettingsWithLine(dir, 22, " 51 Liczba_srub")},
         1,
         "K3(oblicz)!!9",
         R"("cases":\[\].*"stop":\{"message":"K3\(oblicz\)!!9".*"stopped":true)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const CliRun r = RunCli(c.args);
        EXPECT_EQ(r.status, c.status);
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.errContains))) << r.err.toStdString();
        const QString json = QJsonDocument::fromJson(r.out.toUtf8()).toJson(QJsonDocument::Compact);
        EXPECT_TRUE(json.contains(QRegularExpression(c.jsonMatches))) << r.out.toStdString();
    }
    EXPECT_FALSE(QFile::exists(pdf));
}

// The text export in the chosen language with the given designation, date and foundation, the
// page as PDF and EMF through page files written into a program directory of its own, given
// relative, with a confirmed anchor, and the RTF (type B from the command line: four cases break
// the page before the fourth) and Word documents with their pictures.
TEST(CalcCli, ExportsTheReport) {
    QTemporaryDir top;
    ASSERT_TRUE(QDir(top.path()).mkdir("progw"));
    const QDir dir(top.filePath("progw"));
    CopyProgramFiles(dir);
    for (const QString& name : QDir(test::ProgramDir()).entryList({"*.bmp"})) {
        QFile::copy(test::ProgramDir() + u'/' + name, dir.filePath(name));
    }
    const QString txt = dir.filePath("Wyniki.txt");
    const QString pdf = dir.filePath("page.pdf");
    const QString emf = dir.filePath("page.emf");
    const QString rtf = dir.filePath("Wyniki.rtf");
    const QString docx = dir.filePath("Wyniki.docx");
    const QString settings = SettingsWithLine(top, 11, "1000.0 400.0 100.0");
    const QString cwd = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(top.path()));
    const CliRun r = RunCli(
        {"--cases",     "4",     "--lang",        "gb",        "--foundation", "plain",
         "--txt",       txt,     "--designation", "SF-1 oś A", "--date",       "2026-12-06 10:15",
         "--dir",       "progw", "--pdf",         pdf,         "--emf",        emf,
         "--thickness", "50",    "--anchor",      "plate",     "--rtf",        rtf,
         "--rtf-type",  "B",     "--docx",        docx,        settings});
    QDir::setCurrent(cwd);
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QString text = QString::fromUtf8(test::ReadAll(txt));
    const QStringList lines = text.split("\r\n");
    ASSERT_GT(lines.size(), 20);
    EXPECT_EQ(lines.mid(1, 4), (QStringList{"Hala magazynowa, słup S1", "06/12/26     10:15",
                                            "Strona ", "SF-1 oś A"}));
    EXPECT_TRUE(lines[7].startsWith("Concrete B20 (plain")) << lines[7].toStdString();
    EXPECT_TRUE(text.contains("Load case no. 2"));
    EXPECT_TRUE(test::ReadAll(pdf).startsWith("%PDF"));
    const QByteArray picture = test::ReadAll(emf);
    ASSERT_GT(picture.size(), 88);
    EXPECT_EQ(picture.mid(40, 4), QByteArrayLiteral(" EMF"));
    for (const char* name : {"VARDELOK.wyd", "VARDELOK1.wyd", "Piersc.bmp", "SzkicOK1.bmp",
                             "SzkicOK2.bmp", "Szkick.bmp"}) {
        EXPECT_TRUE(QFile::exists(dir.filePath(QLatin1String(name)))) << name;
    }
    EXPECT_TRUE(test::ReadAll(dir.filePath("VARDELOK.wyd")).contains("P-24-600"));
    EXPECT_FALSE(r.err.contains("cannot be read")) << r.err.toStdString();
    const QByteArray rtfText = test::ReadAll(rtf);
    EXPECT_TRUE(rtfText.startsWith("{\\rtf1"));
    EXPECT_EQ(rtfText.count("\\page"), 1);
    EXPECT_EQ(rtfText.count("\\pict\\pngblip"), 6);
    EXPECT_TRUE(test::ReadAll(docx).startsWith("PK"));
}

QString WriteFile(const QTemporaryDir& dir, const char* name, const QByteArray& bytes) {
    const QString path = dir.filePath(QLatin1String(name));
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
}

TEST(CalcCli, LoadTableEveryRowAndTheGoverningOnesForTheReport) {
    QTemporaryDir dir;
    const QString table = WriteFile(dir, "kombinacje.csv",
                                    "Kombinacja;N;M;V\n"
                                    "K1;700;150;5\nK2;500;20;10\nK3;300;80;20\nK4;-100;80;60\n"
                                    "K5;1000;200;40\nK6;450;100;10\nK7;0;90;40\nK8;800;40;0\n");
    const CliRun r =
        RunCli({QStringLiteral("--json"), QStringLiteral("--loads"), table, ShippedSettings()});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QJsonObject o = QJsonDocument::fromJson(r.out.toUtf8()).object();
    const QJsonArray rows = o[QStringLiteral("rows")].toArray();
    ASSERT_EQ(rows.size(), 8);
    EXPECT_EQ(rows[3].toObject()[QStringLiteral("name")].toString(), QStringLiteral("K4"));
    EXPECT_EQ(rows[3].toObject()[QStringLiteral("N_kN")].toDouble(), -100.0);
    const QJsonObject governing = o[QStringLiteral("governing")].toObject();
    const QJsonArray report = o[QStringLiteral("report_rows")].toArray();
    const QJsonArray cases = o[QStringLiteral("cases")].toArray();
    ASSERT_EQ(cases.size(), report.size());
    for (const char* check : {"bolt", "concrete", "shear"}) {
        const int row = governing[QLatin1String(check)].toInt();
        double largest = 0;
        for (const QJsonValue v : rows) {
            largest = std::max(largest,
                               v[QStringLiteral("utilisation")][QLatin1String(check)].toDouble());
        }
        EXPECT_EQ(rows[row - 1][QStringLiteral("utilisation")][QLatin1String(check)].toDouble(),
                  largest);
        EXPECT_TRUE(report.contains(row)) << check;
    }
    for (int k = 0; k < cases.size(); ++k) {
        // The report's case holds its row's load and gives its row's results.
        const QJsonObject c = cases[k].toObject();
        const QJsonObject row = rows[report[k].toInt() - 1].toObject();
        EXPECT_EQ(c[QStringLiteral("row")], report[k]);
        EXPECT_EQ(c[QStringLiteral("Sig_s")], row[QStringLiteral("Sig_s")]);
        EXPECT_EQ(c[QStringLiteral("utilisation")], row[QStringLiteral("utilisation")]);
        EXPECT_TRUE(k == 0 || report[k - 1].toInt() < report[k].toInt());
    }

    const CliRun bad =
        RunCli({QStringLiteral("--loads"), WriteFile(dir, "zle.csv", "500;150;0\n300;1O0;0\n"),
                ShippedSettings()});
    EXPECT_EQ(bad.status, 2);
    EXPECT_TRUE(bad.err.contains(QStringLiteral("wiersz 2: kolumna 2 (M)")))
        << bad.err.toStdString();
}

TEST(CalcCli, DesignAssistant) {
    const CliRun r =
        RunCli({QStringLiteral("--json"), QStringLiteral("--design"), ShippedSettings()});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QJsonObject o = QJsonDocument::fromJson(r.out.toUtf8()).object();
    const QJsonObject design = o[QStringLiteral("design")].toObject();
    const QJsonArray best = design[QStringLiteral("best")].toArray();
    ASSERT_FALSE(best.isEmpty());
    EXPECT_GE(design[QStringLiteral("checked")].toInt(), best.size());
    const QJsonObject first = best[0].toObject();
    EXPECT_LE(first[QStringLiteral("utilisation")].toDouble(), 1.0);
    const CliRun text = RunCli({QStringLiteral("--design"), ShippedSettings()});
    EXPECT_TRUE(text.out.contains(QStringLiteral("bolts  d [mm]"))) << text.out.toStdString();

    QTemporaryDir dir;
    const CliRun none =
        RunCli({QStringLiteral("--json"), QStringLiteral("--design"), QStringLiteral("--loads"),
                WriteFile(dir, "duzo.csv", "9000;10;0\n"), ShippedSettings()});
    EXPECT_EQ(none.status, 1);
    EXPECT_TRUE(QJsonDocument::fromJson(none.out.toUtf8())
                    .object()[QStringLiteral("design")][QStringLiteral("best")]
                    .toArray()
                    .isEmpty());
    EXPECT_TRUE(none.err.contains(QStringLiteral("passes every load case")))
        << none.err.toStdString();
}

}  // namespace
}  // namespace vardel
