#include "cli/calc_cli.h"

#include "tests/test_support.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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

// The shipped settings file with one line replaced.
QString SettingsWithLine(const QTemporaryDir& dir, int line, const QByteArray& text) {
    QList<QByteArray> lines = test::ReadAll(ShippedSettings()).split('\n');
    lines[line - 1] = text + '\r';
    const QString path = dir.filePath(QStringLiteral("VardelOK.cfg"));
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

TEST(CalcCli, PlainFoundationLowersTheConcreteStrength) {
    const CliRun plain = RunCli({QStringLiteral("--json"), QStringLiteral("--foundation"),
                                 QStringLiteral("plain"), ShippedSettings()});
    ASSERT_EQ(plain.status, 0);
    const QJsonObject o = QJsonDocument::fromJson(plain.out.toUtf8()).object();
    EXPECT_FLOAT_EQ(static_cast<float>(o[QStringLiteral("fcd_betonu")].toDouble()), 8.9f);  // B20
}

TEST(CalcCli, ExitStatuses) {
    QTemporaryDir dir;
    const struct {
        const char* what;
        QStringList args;
        int status;
        const char* errContains;
    } cases[] = {
        {"no file", {}, 2, "no settings file"},
        {"unknown option", {QStringLiteral("--fast"), ShippedSettings()}, 2, "unknown option"},
        {"unknown language",
         {QStringLiteral("--lang"), QStringLiteral("de"), ShippedSettings()},
         2,
         "--lang"},
        {"bad date",
         {QStringLiteral("--date"), QStringLiteral("6.12.2026"), ShippedSettings()},
         2,
         "--date"},
        {"seven cases",
         {QStringLiteral("--cases"), QStringLiteral("7"), ShippedSettings()},
         2,
         "1 to 6"},
        {"missing file", {dir.filePath(QStringLiteral("none.cfg"))}, 2, "none.cfg"},
        {"inner radius too large",
         {SettingsWithLine(dir, 15, QByteArrayLiteral("400R_wewn"))},
         1,
         "Promień zewnętrzny pierścienia musi być większy od wewnętrznego!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const CliRun r = RunCli(c.args);
        EXPECT_EQ(r.status, c.status);
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.errContains))) << r.err.toStdString();
    }
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

TEST(CalcCli, UnwritableTextExportIsAnError) {
    const CliRun r = RunCli(
        {QStringLiteral("--txt"), QStringLiteral("/nonexistent-dir/w.txt"), ShippedSettings()});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("w.txt"))) << r.err.toStdString();
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

TEST(CalcCli, PageAsPdfAndEmfThroughThePageFiles) {
    QTemporaryDir dir;
    // A program directory of its own: the language files, nothing else.
    for (const QString& name : QDir(test::ProgramDir()).entryList({QStringLiteral("Vdl*.txt")})) {
        ASSERT_TRUE(QFile::copy(test::ProgramDir() + u'/' + name, dir.filePath(name)));
    }
    const QString pdf = dir.filePath(QStringLiteral("page.pdf"));
    const QString emf = dir.filePath(QStringLiteral("page.emf"));
    const CliRun r =
        RunCli({QStringLiteral("--cases"), QStringLiteral("2"), QStringLiteral("--dir"), dir.path(),
                QStringLiteral("--pdf"), pdf, QStringLiteral("--emf"), emf, ShippedSettings()});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(test::ReadAll(pdf).startsWith("%PDF"));
    const QByteArray picture = test::ReadAll(emf);
    ASSERT_GT(picture.size(), 88);
    EXPECT_EQ(picture.mid(40, 4), QByteArrayLiteral(" EMF"));
    // The page files and sketches were written into the chosen directory; the missing fixed
    // picture is only noted.
    for (const char* name :
         {"VARDELOK.wyd", "VARDELOK1.wyd", "Piersc.bmp", "SzkicOK1.bmp", "SzkicOK2.bmp"}) {
        EXPECT_TRUE(QFile::exists(dir.filePath(QLatin1String(name)))) << name;
    }
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
