#include "cli/calc_cli.h"

#include "tests/test_support.h"

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
        EXPECT_EQ(partly,
                  c[QStringLiteral("e_cm")].toDouble() > o[QStringLiteral("r_rdzenia")].toDouble());
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
