#include "cli/calc_cli.h"

#include "tests/lumdruk/lumdruk_fixture.h"
#include "tests/test_support.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <tuple>

namespace vardel {
namespace {

struct CliRun {
    int status = 0;
    QString out;
    QString err;
};

CliRun RunCli(const QStringList& args) {
    CliRun r;
    {
        QTextStream out(&r.out);
        QTextStream err(&r.err);
        r.status = RunCalcCli(args, test::ProgramDir(), out, err);
    }  // the streams flush as they end
    return r;
}

const QString kShipped = test::ProgramDir() + QStringLiteral("/VardelOK.cfg");

QString WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    test::WriteBytes(dir.filePath(name), bytes);
    return dir.filePath(name);
}

// The shipped settings file with lines replaced, in a file of its own.
QString SettingsWithLines(const QTemporaryDir& dir,
                          std::initializer_list<std::pair<int, QByteArray>> replaced) {
    QList<QByteArray> lines = test::ReadAll(kShipped).split('\n');
    QString name = QStringLiteral("line");
    for (const auto& [line, text] : replaced) {
        lines[line - 1] = text + '\r';
        name += QStringLiteral("-%1%2").arg(line).arg(qHash(text));
    }
    return WriteFile(dir, name + QStringLiteral(".cfg"), lines.join('\n'));
}
QString SettingsWithLine(const QTemporaryDir& dir, int line, const QByteArray& text) {
    return SettingsWithLines(dir, {{line, text}});
}

// A program directory of its own in `dir`: the language files and the installed pictures, not
// the sketches an earlier run left.
void CopyProgramFiles(const QDir& dir) {
    for (const QString& name : QDir(test::ProgramDir()).entryList({"Vdl*.txt", "*.bmp"})) {
        if (name != u"Piersc.bmp" && !name.startsWith(u"Szkic")) {
            ASSERT_TRUE(QFile::copy(test::ProgramDir() + u'/' + name, dir.filePath(name)));
        }
    }
}

TEST(CalcCli, ExitStatuses) {
    QTemporaryDir dir;
    CopyProgramFiles(QDir(dir.path()));
    const QString pdf = dir.filePath("ok.pdf");
    const QString cfg = kShipped;
    const QString badTable = WriteFile(dir, "zle.csv", "500;150;0\n300;1O0;0\n");
    const QString heavy = WriteFile(dir, "duzo.csv", "9000;10;0\n");
    const QString eight = WriteFile(dir, "osiem.csv",
                                    "500;150;30\n0;80;40\n-100;80;0\n-300;-10;20\n900;20;5\n"
                                    "300;-120;-80\n5;200;0\n700;250;5\n");
    const QString diskFull = qt_error_string(ENOSPC);
    const QString bolts16 = SettingsWithLine(dir, 21, " 2 Numer_sruby");
    const QString bolts51 = SettingsWithLine(dir, 22, " 51 Liczba_srub");
    const QString damaged = SettingsWithLine(dir, 15, "R_wewn");
    const QString cases3 = SettingsWithLine(dir, 23, " 3 Liczba_przyp");
    const struct {
        const char* what;
        QStringList args;
        int status;
        // A pattern for standard output (a JSON object made compact) and standard error after
        // it; with status 0, standard error stays empty.
        QString matches;
    } cases[] = {
        {"help", {"--help"}, 0, R"(^usage: vardel-calc .*\n  --loads FILE +\w)"},
        {"help whatever else is given", {"-h", "--cases", "9"}, 0, "^usage:"},
        {"version", {"--version"}, 0, R"(^vardel-calc \d+\.\d+\n$)"},
        {"joined values", {"--json", "--cases=2", cfg}, 0, R"("Nr_przyp":2,)"},
        {"the file's case count", {"--json", cases3}, 0, R"("Nr_przyp":3,)"},
        {"no file", {}, 2, "no settings file"},
        {"unknown option", {"--fast=1", cfg}, 2, "unknown option --fast\n"},
        {"a switch given a value", {"--json=1", cfg}, 2, "--json takes no value"},
        {"a value missing at the end", {cfg, "--txt"}, 2, "--txt needs a value"},
        {"two settings files", {cfg, cfg}, 2, "only one settings file"},
        {"unknown language", {"--lang", "de", cfg}, 2, "--lang"},
        {"bad date", {"--date", "6.12.2026", cfg}, 2, "--date"},
        {"seven cases", {"--cases", "7", cfg}, 2, "1 to 6"},
        {"no case", {"--cases", "0", cfg}, 2, "1 to 6"},
        {"one file for two outputs",
         {"--txt", pdf, "--rtf", dir.path() + "/./ok.pdf", cfg},
         2,
         "--txt and --rtf name the same file"},
        {"missing file", {dir.filePath("none.cfg")}, 2, "none.cfg"},
        {"unknown RTF type", {"--rtf-type", "C", cfg}, 2, "--rtf-type"},
        {"anchor without thickness", {"--anchor", "hook", cfg}, 2, "--anchor needs"},
        {"negative thickness", {"--thickness", "-1", cfg}, 2, "0 to 32767"},
        {"thickness beyond 16 bits", {"--thickness", "32768", cfg}, 2, "0 to 32767"},
        {"anchor lengths beyond 16 bits", {"--thickness", "32000", cfg}, 2, "6!!!!"},
        {"plate anchor, 16 mm bolts", {"--thickness=50", "--anchor=plate", bolts16}, 2, "of 16 mm"},
        {"two things on standard output", {"--json", "--txt", "-", cfg}, 2, "standard output"},
        {"a diagram of no known kind", {"--nm", dir.filePath("nm.gif"), cfg}, 2, "--nm takes"},
        {"a load table row that cannot be read", {"--loads", badTable, cfg}, 2, R"(2 \(M\))"},
        {"a full disk", {"--txt", "/dev/full", cfg}, 2, diskFull},
        // All outputs or none: the PDF could be written, the picture cannot.
        {"one unwritable", {"--dir", dir.path(), "--pdf", pdf, "--emf=/proc/x", cfg}, 2, "/proc/x"},
        // A stop is in the JSON too, with no cases.
        {"a stop",
         {"--json", bolts51},
         1,
         R"(cases":\[\].*"stop":\{"field":"Text12","message":"Liczba śrub na obwodzie może )"
         R"(wynosić od 1 do 50 \(podano 51\)\.".*"stopped":true.*od 1 do 50)"},
        {"a damaged settings file", {damaged}, 2, "wiersz 15: „R_wewn” nie jest liczbą"},
        {"the design assistant's layouts",
         {"--json", "--design", cfg},
         0,
         R"("design":\{"best":\[\{"As_total_cm2":[\d.]+,"Liczba_srub":\d+,"case":1,)"
         R"("check":"\w+","d_mm":\d+,"utilisation":0\.\d+\}.*\],"checked":\d+\})"},
        {"their table", {"--design", cfg}, 0, R"(case\n +\d+ +\d+ +[\d.]+ +0\.\d+ +\w+ +1\n)"},
        {"none passes", {"--json", "--design", "--loads", heavy, cfg}, 1, R"("best":\[\].*passes)"},
        {"the PN-EN checks",
         {"--json", "--code", "en", "--tube", "420,10", "--block", "1400,900", "--head", "70", cfg},
         0,
         R"("en":\{"alpha":[\d.]+,.*"checks":\[\{"Ed":[\d.]+,"Rd":[\d.]+,"check":"bearing",)"
         R"("clause":"EN 1993-1-8 6.2.5","utilisation":[\d.]+\}.*"governing":\{"case":1,)"},
        // Its envelope by the PN-EN checks, with the plastic resistance from 8 anchors at
        // N_Rd,s = 353 mm² · 500 MPa / 2.0 = 88.25 kN each.
        {"a load table under the PN-EN checks",
         {"--json", "--code", "en", "--loads", eight, cfg},
         0,
         R"("envelope":\{"M_kNm":\[0,[^\]]*\],"N_kN":\[[^\]]*\],"V_kN":80,"code":"en",)"
         R"("governing":\["\w+"[^\]]*,"bearing"\],"plastic":\{"M_kNm":\[[^\]]*,0\],)"
         R"("N_kN":\[-706,[^\]]*\]\}\}.*)"
         R"("rows":\[\{"M_kNm":150,"N_kN":500,.*"en":\{"check":"\w+","utilisation":[\d.]+\},)"},
        // The design's largest ratio and each case's ratios are the PN-EN checks' when chosen.
        {"the PN-EN governing check as the design's utilisation",
         {"--json", "--code", "en", cfg},
         0,
         R"re("cases":\[\{.*"utilisation":\{"anchor_steel":[\d.]+,.*"bearing":[\d.]+,.*)re"
         R"re("governing":\{"case":(\d),"check":"(\w+)","clause":"[^"]+","utilisation":([\d.]+)\})re"
         R"re(.*"utilisation":\{"case":\1,"check":"\2","max":\3\})re"},
        {"and in the summary",
         {"--code", "en", cfg},
         0,
         R"re(largest utilisation: ([\d.]+) \((\w+), case (\d)\).*)re"
         R"re(PN-EN governing: case \3, \2 \(.+\), \1\n)re"},
        {"and over a load table's rows",
         {"--code", "en", "--loads", eight, cfg},
         0,
         R"re(largest utilisation: [\d.]+ \((?!bolt|concrete)\w+, row \d\))re"},
        // The bolt steel grade as the anchors' steel: St3S M24 as S235 of 16 to 40 mm.
        {"anchors of the bolt steel grade",
         {"--json", "--code", "en", "--bolt-class", "steel", cfg},
         0,
         R"re("bolt_steel":\{"equivalent":"S235","f_ub_MPa":360,"f_yb_MPa":225,"steel":"St3S"\})re"},
        {"no such class", {"--code", "en", "--bolt-class", "10.9", cfg}, 2, "--bolt-class takes"},
        // The confirmed plate anchor (110 mm plate on M24) is a head: pull-out in cracked
        // C16/20, 7.5·π/4·(110² − 24²)·16/1.4 = 776 kN.
        {"the confirmed anchor's head",
         {"--json", "--code", "en", "--thickness", "50", "--anchor", "plate", cfg},
         0,
         R"re("Rd":775\.[78]\d*,"check":"pullout")re"},
        {"unknown code", {"--code", "ec", cfg}, 2, "--code takes pnb or en"},
        {"a plate of no thickness", {"--code=en", "--plate", "0,S235", cfg}, 2, "--plate takes"},
        {"a tube wider than the plate",
         {"--code", "en", "--tube", "700,10", cfg},
         2,
         "Rura słupa \\(D\\) jest szersza od blachy"},
        {"a head smaller than the rod", {"--code", "en", "--head", "10", cfg}, 2, "Średnica łba"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const CliRun r = RunCli(c.args);
        EXPECT_EQ(r.status, c.status);
        EXPECT_TRUE(c.status != 0 || r.err.isEmpty()) << r.err.toStdString();
        const QJsonDocument json = QJsonDocument::fromJson(r.out.toUtf8());
        const QString out = json.isObject() ? json.toJson(QJsonDocument::Compact) + u'\n' : r.out;
        const QString all = out + r.err;
        EXPECT_TRUE(all.contains(QRegularExpression("(?s)" + c.matches))) << all.toStdString();
    }
    EXPECT_FALSE(QFile::exists(pdf));
}

// The program as a user starts it, without a desktop session, in a directory of its own. On
// standard output the JSON of the shipped cases and a fourth without a moment, which bears on the
// whole ring; on standard error nothing. The options reach the exports: the text in the chosen
// language with the given designation, date and foundation; the page as PDF and EMF through page
// files written into a program directory given relative, with the plate anchor confirmed; the RTF
// of type B (four cases break the page before the fourth) and the Word document.
TEST(CalcCli, AUserRunWithEveryOutput) {
    QTemporaryDir top;
    ASSERT_TRUE(QDir(top.path()).mkdir("progw"));
    const QDir dir(top.filePath("progw"));
    CopyProgramFiles(dir);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_RUNTIME_DIR"}) {
        env.remove(QLatin1String(name));
    }
    QProcess p;
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(top.path());
    const QString settings = SettingsWithLine(top, 11, "500.0   0.0   0.0");
    const QStringList args = {
        "--cases",     "4",     "--lang",        "gb",        "--foundation", "plain",
        "--txt",       "W.txt", "--designation", "SF-1 oś A", "--date",       "2026-12-06 10:15",
        "--dir",       "progw", "--pdf",         "p.pdf",     "--emf",        "p.emf",
        "--thickness", "50",    "--anchor",      "plate",     "--rtf",        "W.rtf",
        "--rtf-type",  "B",     "--docx",        "W.docx",    "--json",       "--nm",
        "nm.pdf",      settings};
    p.start(test::ProgramDir() + QStringLiteral("/vardel-calc"), args);
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.readAllStandardError(), QByteArray());
    ASSERT_EQ(std::pair(p.exitStatus(), p.exitCode()), std::pair(QProcess::NormalExit, 0));

    const QJsonObject o = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
    for (const char* key : {"r_rdzenia", "A_pierscienia", "W_pierscienia", "Rozstaw", "As_sruby",
                            "Es_Eb", "Eb", "fd_stali", "ft_sruby", "fv_sruby", "Liczba_V",
                            "Wszystko_OK", "F_s_max", "utilisation"}) {
        EXPECT_TRUE(o.contains(QLatin1String(key))) << key;
    }
    EXPECT_EQ(std::tuple(o["stopped"].toBool(), o["stop"].isNull(), o["Beton_OK"].toBool(),
                         o["verdict"].toString()),
              std::tuple(false, true, true, QStringLiteral("OK")));
    const QJsonArray cases = o["cases"].toArray();
    ASSERT_EQ(cases.size(), 4);
    for (int k = 0; k < cases.size(); ++k) {
        SCOPED_TRACE(k + 1);
        const QJsonObject c = cases[k].toObject();
        const bool partly = k < 3;
        EXPECT_EQ(
            std::tuple(c["Nr_przyp"].toInt(), c["partly_compressed"].toBool(),
                       c["regime"].toString(), c["a_cm"].isNull()),
            std::tuple(k + 1, partly, QString::fromLatin1(partly ? "partly" : "whole"), !partly));
        // Bolt 1 lies on the tension side: the largest bolt stress is its.
        const QJsonArray bolts = c["Sig_sr"].toArray();
        ASSERT_EQ(bolts.size(), 8);
        EXPECT_FLOAT_EQ(bolts[0].toDouble(), c["Sig_s"].toDouble());
    }
    // The first case, with the largest moment, stresses concrete and bolts the most.
    EXPECT_FLOAT_EQ(o["Sig_b_max"].toDouble(), cases[0]["Sig_b"].toDouble());
    EXPECT_FLOAT_EQ(o["Sig_s_max"].toDouble(), cases[0]["Sig_s"].toDouble());
    // The first case bears between once and twice the concrete strength, with its note, and
    // friction carries its horizontal force; the fourth has neither.
    EXPECT_GT(cases[0]["Omega_u"].toDouble(), 1);
    EXPECT_EQ(cases[0]["Wynik_V_line"].toInt(), 46);
    EXPECT_TRUE(cases[3]["Wynik_V_line"].isNull());
    EXPECT_TRUE(cases[3]["Omega_u"].isNull());
    // The capacity as the single's shortest decimal, not 72.36499786...
    EXPECT_EQ(QJsonDocument(o["anchors"].toObject()).toJson(QJsonDocument::Compact),
              R"({"D":120,"Grubosc":50,"Ld":60,"Lh":414,"Nosnosc":72.365,)"
              R"("hook":{"L":1080,"Lcalk":1600,"Lo":1190,"designation":"F-24-1600"},)"
              R"("plate":{"L1":0,"Lcalk":600,"Lo":543,"Lp":433,"a":110,"designation":"P-24-600",)"
              R"("tp":20}})");

    const QString text = QString::fromUtf8(test::ReadAll(top.filePath("W.txt")));
    for (const char* line : {"\r\nSF-1 oś A\r\n", "\r\nConcrete B20 (plain", "Load case no. 4"}) {
        EXPECT_TRUE(text.contains(QString::fromUtf8(line))) << line;
    }
    // The date with the separator of the desktop's locale ("06/12/26" in C, "06.12.26" in Polish).
    EXPECT_TRUE(text.contains(QRegularExpression(R"(\r\n06(\D)12\g{1}26     10:15\r\n)")))
        << text.left(200).toStdString();
    const std::tuple<const char*, int, const char*> magics[] = {{"p.pdf", 0, "%PDF"},
                                                                {"p.emf", 40, " EMF"},
                                                                {"W.rtf", 0, "{\\rtf1"},
                                                                {"W.docx", 0, "PK"},
                                                                {"nm.pdf", 0, "%PDF"}};
    for (const auto& [name, at, magic] : magics) {
        EXPECT_EQ(test::ReadAll(top.filePath(name)).mid(at, qstrlen(magic)), QByteArray(magic));
    }
    EXPECT_TRUE(test::ReadAll(dir.filePath("VARDELOK.wyd")).contains("P-24-600"));
    // The report's N–M diagram is kept beside the sketches, 170 × 110 mm at 300 dpi, and the
    // page names it there.
    const QImage diagram(dir.filePath("WykresNM.png"));
    EXPECT_EQ(std::tuple(diagram.size(), diagram.dotsPerMeterX(), diagram.dotsPerMeterY()),
              std::tuple(QSize(2008, 1299), 11811, 11811));
    EXPECT_TRUE(test::ReadAll(dir.filePath("VARDELOK.wyd"))
                    .contains("\r\n" + dir.absoluteFilePath("WykresNM.png").toUtf8() + "\r\n"));
    // The cases on a second page, the N–M diagram on a third.
    EXPECT_EQ(test::ReadAll(top.filePath("W.rtf")).count("\\page"), 2);
}

// On the desktops of its users, whatever the process locale (C library and Qt alike, all of it or
// only the numbers), the program gives the JSON it gives under C, a ring of 2513.3 cm².
TEST(CalcCli, TheSameJsonInEveryLocale) {
    QTemporaryDir dir;
    const QString table = WriteFile(dir, "t.csv", "N;M;V\n500,5;150.25;30\n-20.5;0.5;2,5\n");
    const auto run = [&](const char* variable, const char* locale) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"LANG", "LC_ALL", "LC_NUMERIC", "LANGUAGE"}) {
            env.remove(QLatin1String(name));
        }
        env.insert(QLatin1String(variable), QLatin1String(locale));
        QProcess p;
        p.setProcessEnvironment(env);
        QByteArrayList outputs;  // status, standard output and error of each run
        for (const QStringList& args :
             {QStringList{"--json", kShipped}, QStringList{"--json", "--loads", table, kShipped}}) {
            p.start(test::ProgramDir() + QStringLiteral("/vardel-calc"), args);
            EXPECT_TRUE(p.waitForFinished(60000));
            outputs << QByteArray::number(p.exitCode()) << p.readAllStandardOutput()
                    << p.readAllStandardError();
        }
        return outputs;
    };
    const QByteArrayList c = run("LC_ALL", "C");
    ASSERT_EQ(c.size(), 6);
    EXPECT_NEAR(QJsonDocument::fromJson(c[1]).object()["A_pierscienia"].toDouble(), 2513.27, 0.01)
        << c.join('|').toStdString();
    for (const auto& [variable, locale] :
         {std::pair("LANG", "pl_PL.UTF-8"), std::pair("LC_ALL", "pl_PL.UTF-8"),
          std::pair("LC_NUMERIC", "de_DE.UTF-8")}) {
        SCOPED_TRACE(std::string(variable) + "=" + locale);
        ASSERT_TRUE(test::Desktop(locale).ok()) << "locale missing: run scripts/install-deps.sh";
        EXPECT_EQ(run(variable, locale), c);
    }
}

// Runs that share a program directory each get their own report: rounds of three at once, each
// PDF with its own project and bolts, each RTF (the sketches embedded) as the run gives it alone.
TEST(CalcCli, ParallelRunsOnOneDirectoryEachGetTheirOwnReport) {
    QTemporaryDir top;
    CopyProgramFiles(QDir(top.path()));
    const std::pair<QByteArray, QByteArray> designs[] = {{"PROJEKT ALFA", " 8 Liczba_srub"},
                                                         {"PROJEKT BETA", " 12 Liczba_srub"},
                                                         {"PROJEKT GAMMA", " 6 Liczba_srub"}};
    const auto args = [&](int k, const QString& tag) {
        return QStringList{
            "--dir",
            top.path(),
            "--date",
            "2026-12-06 10:15",
            "--pdf",
            top.filePath(tag + ".pdf"),
            "--rtf",
            top.filePath(tag + ".rtf"),
            SettingsWithLines(top, {{3, designs[k].first}, {22, designs[k].second}})};
    };
    QList<QByteArray> alone;
    for (int k = 0; k < 3; ++k) {
        ASSERT_EQ(RunCli(args(k, "alone")).status, 0);
        alone << test::ReadAll(top.filePath("alone.rtf"));
    }
    for (int round = 0; round < 4; ++round) {
        QProcess runs[3];
        for (int k = 0; k < 3; ++k) {
            runs[k].start(test::ProgramDir() + "/vardel-calc", args(k, QString::number(k)));
        }
        for (int k = 0; k < 3; ++k) {
            SCOPED_TRACE(designs[k].first.toStdString());
            ASSERT_TRUE(runs[k].waitForFinished(60000));
            EXPECT_EQ(runs[k].exitCode(), 0) << runs[k].readAllStandardError().toStdString();
            EXPECT_TRUE(test::ReadAll(top.filePath(QString::number(k) + ".rtf")) == alone[k]);
            const QString page = lumdruk::test::PdfText(top.filePath(QString::number(k) + ".pdf"));
            EXPECT_TRUE(page.contains(designs[k].first)) << page.toStdString();
            const QString bolts = QString::fromLatin1(designs[k].second.split(' ')[1]);
            EXPECT_TRUE(page.contains(QRegularExpression("\\b" + bolts + " x ")))
                << page.toStdString();
        }
    }
}

// The installed command line: a program directory its user cannot write into still gives a page,
// and nothing is written into it.
TEST(CalcCli, ReadOnlyProgramDirectory) {
    QTemporaryDir top;
    const QDir prog(top.filePath("prog")), out(top.filePath("out"));
    ASSERT_TRUE(prog.mkpath(".") && out.mkpath("."));
    CopyProgramFiles(prog);
    for (const char* file : {"vardel-calc", "VardelOK.cfg"}) {
        ASSERT_TRUE(QFile::copy(test::ProgramDir() + u'/' + file, prog.filePath(file)));
    }
    const auto all = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                     QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    const auto readOnly = QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther |
                          QFileDevice::ExeOther;
    ASSERT_TRUE(QFile::setPermissions(top.path(), readOnly) &&
                QFile::setPermissions(out.path(), all) &&
                QFile::setPermissions(prog.path(), readOnly));
    const QStringList before = prog.entryList(QDir::AllEntries | QDir::Hidden);
    QStringList command = {prog.filePath("vardel-calc"), "--pdf", out.filePath("p.pdf"),
                           prog.filePath("VardelOK.cfg")};
    if (geteuid() == 0) {  // root writes anywhere: the run goes as nobody
        command = QStringList{"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "--"} +
                  command;
    }
    QProcess p;
    p.start(command.takeFirst(), command);
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    EXPECT_EQ(test::ReadAll(out.filePath("p.pdf")).left(4), "%PDF");
    EXPECT_EQ(prog.entryList(QDir::AllEntries | QDir::Hidden), before);
    QFile::setPermissions(top.path(), all);
    QFile::setPermissions(prog.path(), all);
}

// Every row of a load table is calculated; the report, and so the state's cases, take the
// governing ones. The N-M diagram shows every row, its envelope drawn for their largest V.
TEST(CalcCli, LoadTableEveryRowAndTheGoverningOnesForTheReport) {
    QTemporaryDir dir;
    const QString table = WriteFile(dir, "kombinacje.csv",
                                    "Kombinacja;N;M;V\n"
                                    "K1;700;150;5\nK2;500;20;10\nK3;300;80;20\nK4;-100;80;60\n"
                                    "K5;1000;200;40\nK6;450;100;10\nK7;0;90;40\nK8;800;40;0\n");
    // Six rows are the report's cases whole.
    const QString six =
        WriteFile(dir, "szesc.csv", test::ReadAll(table).split('\n').mid(0, 7).join('\n'));
    const CliRun whole = RunCli({"--json", "--loads", six, kShipped});
    EXPECT_EQ(QJsonDocument::fromJson(whole.out.toUtf8())["cases"].toArray().size(), 6);
    const QString svg = dir.filePath("nm.svg");
    const CliRun r = RunCli({"--json", "--loads", table, "--nm", svg, kShipped});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QJsonObject o = QJsonDocument::fromJson(r.out.toUtf8()).object();
    const QJsonArray rows = o["rows"].toArray();
    ASSERT_EQ(rows.size(), 8);
    EXPECT_EQ(std::pair(rows[3]["name"].toString(), rows[3]["N_kN"].toDouble()),
              std::pair(QStringLiteral("K4"), -100.0));
    for (const char* check : {"bolt", "concrete", "shear"}) {
        double largest = 0;
        for (const QJsonValue v : rows) {
            largest = std::max(largest, v["utilisation"][QLatin1String(check)].toDouble());
        }
        const int row = o["governing"][QLatin1String(check)].toInt();
        EXPECT_EQ(rows[row - 1]["utilisation"][QLatin1String(check)].toDouble(), largest) << check;
    }
    const QJsonArray report = o["report_rows"].toArray();
    const QJsonArray cases = o["cases"].toArray();
    ASSERT_EQ(cases.size(), report.size());
    for (int k = 0; k < cases.size(); ++k) {
        // The report's case holds its row's load and gives its row's results.
        const QJsonObject row = rows[report[k].toInt() - 1].toObject();
        EXPECT_EQ(cases[k]["row"], report[k]);
        EXPECT_EQ(cases[k]["Sig_s"], row["Sig_s"]);
        EXPECT_EQ(cases[k]["utilisation"], row["utilisation"]);
    }

    const QJsonObject envelope = o["envelope"].toObject();
    EXPECT_EQ(envelope["V_kN"].toDouble(), 60);
    const QJsonArray N = envelope["N_kN"].toArray();
    EXPECT_EQ(N.size(), 241);
    EXPECT_EQ(envelope["M_kNm"].toArray().size(), N.size());
    EXPECT_EQ(envelope["governing"].toArray().size(), N.size());
    EXPECT_TRUE(std::is_sorted(N.begin(), N.end(), [](const QJsonValue& a, const QJsonValue& b) {
        return a.toDouble() < b.toDouble();
    }));
    // One marker per row, filled where it passes, hollow where it fails, each named once; the
    // legend shows one more of each.
    const QByteArray plot = test::ReadAll(svg);
    EXPECT_TRUE(QSvgRenderer(plot).isValid());
    int passing = 0;
    for (int k = 0; k < rows.size(); ++k) {
        passing += rows[k]["passes"].toBool() ? 1 : 0;
        EXPECT_EQ(plot.count(QStringLiteral(">K%1</text>").arg(k + 1).toUtf8()), 1) << k + 1;
    }
    ASSERT_GT(passing, 0);
    ASSERT_LT(passing, rows.size());
    const QRegularExpression filled(R"(fill="#202020"[^<]*<circle )");
    const QRegularExpression hollow(R"(fill="#ffffff"[^<]*stroke="#d00000"[^<]*<circle )");
    EXPECT_EQ(QString::fromUtf8(plot).count(filled), passing + 1);
    EXPECT_EQ(QString::fromUtf8(plot).count(hollow), rows.size() - passing + 1);

    const QString png = dir.filePath("nm.png");
    ASSERT_EQ(RunCli({"--nm", png, kShipped}).status, 0);
    EXPECT_EQ(QImage(png).size(), QSize(2000, 1400));
}

}  // namespace
}  // namespace vardel
