#include "texts/codepage.h"
#include "texts/print_status.h"
#include "texts/settings_file.h"

#include "tests/test_support.h"
#include "tests/texts/qstring_print.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <vector>

namespace vardel {
namespace {

using test::DataPath;

struct Told {
    QString title;
    QString message;
};

class RecordingPrompter : public Prompter {
  public:
    std::optional<QString> AskText(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    void Tell(const QString& title, const QString& message) override {
        told.push_back({title, message});
    }
    std::vector<Told> told;
};

// A design case with something different in every setting.
DesignCase SampleCase() {
    DesignCase s;
    s.Norma = -3;
    s.Strona = 12;
    s.Naz_proj = QStringLiteral("  Hala, magazyn „Łódź”, żółć ąęśćńó ŁŚŻŹ  ");
    s.Nrbetonu = 3;
    s.Nrstali = 5;
    s.Tryb_n = 1;
    s.Es_Eb = 6.613;
    s.Jezyk = 2;
    const float loads[6][3] = {{500, 150, 30},      {812.5f, -120.3f, 45}, {0.5f, 0, -2.5f},
                               {12345.6f, 0, 0.1f}, {-7.2f, 9999.9f, 0},   {0, 0, 0}};
    for (int i = 1; i <= kMaxCases; ++i) {
        s.N_kN[i] = loads[i - 1][0];
        s.M_kNm[i] = loads[i - 1][1];
        s.V_kN[i] = loads[i - 1][2];
    }
    s.R_zewn = 300;
    s.R_wewn = 100;
    s.R_srub = 250;
    s.Tryb_sru = 1;
    s.Stal_uzytk1 = {{0.5f, 235, 375.25f}, 2, QStringLiteral("Stal użytkownika")};
    s.Stal_uzytk2 = {{1e7f, 0, 0}, -1, QStringLiteral("Stal 2")};
    s.Tryb_RTF = 1;
    s.Numer_sruby = 4;
    s.Liczba_srub = 8;
    return s;
}

// The members the settings file carries, compared one by one so that a failure names them.
void ExpectSameSettings(const DesignCase& a, const DesignCase& b) {
    EXPECT_EQ(a.Norma, b.Norma);
    EXPECT_EQ(a.Strona, b.Strona);
    EXPECT_EQ(a.Naz_proj, b.Naz_proj);
    EXPECT_EQ(a.Nrbetonu, b.Nrbetonu);
    EXPECT_EQ(a.Nrstali, b.Nrstali);
    EXPECT_EQ(a.Tryb_n, b.Tryb_n);
    EXPECT_EQ(a.Es_Eb, b.Es_Eb);
    EXPECT_EQ(a.Jezyk, b.Jezyk);
    EXPECT_EQ(a.N_kN, b.N_kN);
    EXPECT_EQ(a.M_kNm, b.M_kNm);
    EXPECT_EQ(a.V_kN, b.V_kN);
    EXPECT_EQ(a.N_kG, b.N_kG);
    EXPECT_EQ(a.M_kGm, b.M_kGm);
    EXPECT_EQ(a.V_kG, b.V_kG);
    EXPECT_EQ(a.R_zewn, b.R_zewn);
    EXPECT_EQ(a.R_wewn, b.R_wewn);
    EXPECT_EQ(a.R_srub, b.R_srub);
    EXPECT_EQ(a.Rz_cm, b.Rz_cm);
    EXPECT_EQ(a.Rw_cm, b.Rw_cm);
    EXPECT_EQ(a.Rs_cm, b.Rs_cm);
    EXPECT_EQ(a.Tryb_sru, b.Tryb_sru);
    EXPECT_EQ(a.Stal_uzytk1.values, b.Stal_uzytk1.values);
    EXPECT_EQ(a.Stal_uzytk1.number, b.Stal_uzytk1.number);
    EXPECT_EQ(a.Stal_uzytk1.name, b.Stal_uzytk1.name);
    EXPECT_EQ(a.Stal_uzytk2.values, b.Stal_uzytk2.values);
    EXPECT_EQ(a.Stal_uzytk2.number, b.Stal_uzytk2.number);
    EXPECT_EQ(a.Stal_uzytk2.name, b.Stal_uzytk2.name);
    EXPECT_EQ(a.Tryb_RTF, b.Tryb_RTF);
    EXPECT_EQ(a.Numer_sruby, b.Numer_sruby);
    EXPECT_EQ(a.Liczba_srub, b.Liczba_srub);
}

QStringList LinesOf(const QByteArray& bytes) {
    QStringList lines = DecodeText(bytes, CodePage::Windows1250).split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty()) {
        lines.removeLast();
    }
    return lines;
}

// The shipped settings, one string per line, for tests that vary a line or two.
QStringList ShippedLines() {
    return {QStringLiteral(" 0 Norma"),
            QStringLiteral(" 1   Strona"),
            QStringLiteral("Hala magazynowa, słup S1"),
            QStringLiteral(" 2 Nrbetonu"),
            QStringLiteral(" 2 Nrstali"),
            QStringLiteral(" 1  707"),
            QStringLiteral(" 0 Jezyk 0-PL 1-P2 2-GB 3-FR 4-DE"),
            QStringLiteral("500.0   150.0   30.0"),
            QStringLiteral("800.0   120.0   45.0"),
            QStringLiteral("300.0   180.0   20.0"),
            QStringLiteral("0.0   0.0   0.0"),
            QStringLiteral("0.0   0.0   0.0"),
            QStringLiteral("0.0   0.0   0.0"),
            QStringLiteral("300R_zewn"),
            QStringLiteral("100R_wewn"),
            QStringLiteral("250R_srub"),
            QStringLiteral(" 0 Tryb_sru"),
            QStringLiteral(" 0  235  375  0 Stal uzytkownika"),
            QStringLiteral(" 0  0 Stal uzytkownika 2"),
            QStringLiteral(" 1 Tryb_RTF"),
            QStringLiteral(" 4 Numer_sruby"),
            QStringLiteral(" 8 Liczba_srub")};
}

QByteArray Joined(const QStringList& lines, const char* end = "\r\n") {
    QByteArray out;
    for (const QString& l : lines) {
        out += l.toUtf8() + end;
    }
    return out;
}

TEST(Settings, ShippedFileReads) {
    DesignCase s;
    const FileResult err = ReadSettings(s, DataPath(QStringLiteral("../data/VardelOK.cfg")));
    ASSERT_FALSE(err) << err->message.toStdString();
    EXPECT_EQ(s.R_zewn, 300.0f);
    EXPECT_EQ(s.Liczba_srub, 8);
    EXPECT_EQ(s.Naz_proj, QStringLiteral("Hala magazynowa, słup S1"));
    EXPECT_EQ(s.Rz_cm, 30.0);
    EXPECT_DOUBLE_EQ(s.N_kG[1], 500 * kKgPerKn);
}

TEST(Settings, RoundTripKeepsEverySetting) {
    struct Row {
        const char* what;
        QString name;
        bool utf8;
    };
    const Row rows[] = {
        {"Polish letters and commas", QStringLiteral("  Hala, magazyn „Łódź”, żółć  "), false},
        {"a character beyond Windows-1250", QStringLiteral("Most ω, Σ nr 3"), true},
        {"empty name", QString(), false},
        {"Windows-1250 letters that would pass for UTF-8", QStringLiteral("Ĺ‚ukowa"), true},
    };
    const QString recordNames[] = {QStringLiteral("Stal użytkownika"), QString(),
                                   QStringLiteral("Stal żebrowana"), QStringLiteral("Stal")};
    int k = 0;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        DesignCase s = SampleCase();
        s.Naz_proj = r.name;
        // An empty steel record name must not pull the next line into its place.
        s.Stal_uzytk1.name = recordNames[k++];
        QTemporaryDir dir;
        const QString path = dir.filePath(SettingsFileName());
        ASSERT_FALSE(SaveSettingsFile(path, s));
        const QByteArray bytes = test::ReadAll(path);
        EXPECT_EQ(IsValidUtf8(bytes), r.utf8);

        DesignCase back;
        const FileResult err = ReadSettings(back, path);
        ASSERT_FALSE(err) << err->message.toStdString();
        s.Es_Eb = 6.61;  // n is kept in hundredths
        s.N_kN[4] = 12345.6f;
        for (int i = 1; i <= kMaxCases; ++i) {
            s.N_kG[i] = static_cast<double>(s.N_kN[i]) * kKgPerKn;
            s.M_kGm[i] = static_cast<double>(s.M_kNm[i]) * kKgPerKn;
            s.V_kG[i] = static_cast<double>(s.V_kN[i]) * kKgPerKn;
        }
        s.Rz_cm = 30;
        s.Rw_cm = 10;
        s.Rs_cm = 25;
        ExpectSameSettings(back, s);
    }
}

TEST(Settings, GoldenBytes) {
    const QByteArray bytes = SettingsFileBytes(SampleCase());
    const QString diff = test::CompareGolden(QStringLiteral("texts/settings_golden.cfg"), bytes);
    EXPECT_TRUE(diff.isEmpty()) << diff.toStdString();
}

TEST(Settings, StiffnessRatioInHundredths) {
    struct Row {
        Int16 mode;
        double n;
        const char* line6;
        double readBack;  // from a state holding 9.99
    };
    const Row rows[] = {
        {1, 6.613, " 1 661", 6.61}, {0, 6.613, " 0 661", 9.99}, {2, 6.613, " 2 661", 9.99},
        {1, 8.03, " 1 803", 8.03},  // 8.03 × 100 is 802.999... in binary
        {1, 0.004, " 1 0", 0.0},    // nothing to print: still an item on its line
        {0, 0.0, " 0 0", 9.99},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.line6);
        DesignCase s = SampleCase();
        s.Tryb_n = r.mode;
        s.Es_Eb = r.n;
        const QByteArray bytes = SettingsFileBytes(s);
        EXPECT_EQ(LinesOf(bytes).value(5), QString::fromLatin1(r.line6));
        DesignCase back;
        back.Es_Eb = 9.99;
        const FileResult err = ReadSettingsBytes(back, bytes, QStringLiteral("x.cfg"));
        ASSERT_FALSE(err) << err->message.toStdString();
        EXPECT_EQ(back.Es_Eb, r.readBack);
        EXPECT_EQ(back.Jezyk, s.Jezyk);  // nothing after line 6 shifted
    }
}

// Whatever n the file holds, writing it back gives the same hundredths: n never creeps down by
// 0.01 from one run to the next.
TEST(Settings, StoredRatioIsStable) {
    for (int k = -32768; k <= 32767; ++k) {
        ASSERT_EQ(HundredthsOfRatio(k / 100.0), k) << k;
    }
    EXPECT_EQ(HundredthsOfRatio(6.613), 661);
    EXPECT_EQ(HundredthsOfRatio(6.6199), 661);
    EXPECT_EQ(HundredthsOfRatio(-0.005), -1);
}

TEST(Settings, FileIsWrittenWithPointDecimalsWhateverTheLocale) {
    QLocale::setDefault(test::Polish());
    DesignCase s = SampleCase();
    s.N_kN[1] = 12.5f;
    const QStringList lines = LinesOf(SettingsFileBytes(s));
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(lines.value(7), QStringLiteral("12.5   150.0   30.0"));
    DesignCase back;
    ASSERT_FALSE(ReadSettingsBytes(back, SettingsFileBytes(s), QStringLiteral("x")));
    EXPECT_EQ(back.N_kN[1], 12.5f);
}

TEST(Settings, LineBreaksInNamesCannotShiftLaterSettings) {
    DesignCase s = SampleCase();
    s.Naz_proj = QStringLiteral("first\r\nsecond\nthird");
    s.Stal_uzytk2.name = QStringLiteral("a\nb");
    DesignCase back;
    const FileResult err = ReadSettingsBytes(back, SettingsFileBytes(s), QStringLiteral("x"));
    ASSERT_FALSE(err) << err->message.toStdString();
    EXPECT_EQ(back.Naz_proj, QStringLiteral("first  second third"));
    EXPECT_EQ(back.Stal_uzytk2.name, QStringLiteral("a b"));
    EXPECT_EQ(back.Liczba_srub, 8);
}

TEST(Settings, ReadingRules) {
    struct Row {
        const char* what;
        std::vector<std::pair<int, const char*>> changes;  // 1-based line, new text
        const char* lineEnd;
        const char* check;
    };
    const Row rows[] = {
        {"keys glued to values", {{4, " 5Nrbetonu"}, {17, "1Tryb_sru"}}, "\r\n", "glued"},
        {"commas between items",
         {{8, "500.5,150,30.25"}, {18, "1,235,375,7,Stal A"}},
         "\r\n",
         "commas"},
        {"tabs and runs of blanks", {{8, "\t500.5 \t 150     30.25  "}}, "\r\n", "blanks"},
        {"LF line ends", {}, "\n", "plain"},
        {"item on the next line", {{8, "500.5 150\r\n30.25"}}, "\r\n", "split"},
        {"exponent", {{14, "3E2R_zewn"}}, "\r\n", "plain"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        QStringList lines = ShippedLines();
        for (const auto& [line, text] : r.changes) {
            lines[line - 1] = QString::fromUtf8(text);
        }
        DesignCase s;
        const FileResult err =
            ReadSettingsBytes(s, Joined(lines, r.lineEnd), QStringLiteral("VardelOK.cfg"));
        ASSERT_FALSE(err) << err->message.toStdString();
        const std::string check = r.check;
        if (check == "glued") {
            EXPECT_EQ(s.Nrbetonu, 5);
            EXPECT_EQ(s.Tryb_sru, 1);
        }
        if (check == "commas") {
            EXPECT_EQ(s.Stal_uzytk1.values, (std::array<float, 3>{1, 235, 375}));
            EXPECT_EQ(s.Stal_uzytk1.number, 7);
            EXPECT_EQ(s.Stal_uzytk1.name, QStringLiteral("Stal A"));
        }
        if (check == "commas" || check == "blanks" || check == "split") {
            EXPECT_EQ(s.N_kN[1], 500.5f);
            EXPECT_EQ(s.M_kNm[1], 150.0f);
            EXPECT_EQ(s.V_kN[1], 30.25f);
        }
        // Whatever the spacing, every later setting still lands in its place.
        EXPECT_EQ(s.N_kN[2], 800.0f);
        EXPECT_EQ(s.R_zewn, 300.0f);
        EXPECT_EQ(s.Es_Eb, 7.07);
        EXPECT_EQ(s.Stal_uzytk2.name, QStringLiteral("Stal uzytkownika 2"));
        EXPECT_EQ(s.Liczba_srub, 8);
    }
}

TEST(Settings, FailuresNameTheLineAndLeaveTheStateAlone) {
    struct Row {
        const char* what;
        int line;             // 1-based line to change, 0 for none
        const char* text;     // its new text
        int keep;             // lines kept (0: all)
        const char* message;  // a part of the expected message
    };
    const Row rows[] = {
        {"21 lines", 0, "", 21, "wiersza 22"},
        {"empty file", 0, "", -1, "wiersza 1"},
        {"key missing on the last line", 22, " 8", 0, "wiersza 22"},
        {"text for a number", 4, "B20 Nrbetonu", 0, "wiersz 4: „B20” nie jest liczbą"},
        {"text for a load", 9, "800.0   abc   45.0", 0, "wiersz 9: „abc”"},
        {"16-bit overflow", 2, " 40000   Strona", 0, "wiersz 2: liczba 40000 jest poza zakresem"},
        {"single overflow", 14, "1E39R_zewn", 0, "wiersz 14: liczba"},
        {"n beyond 16 bits", 6, " 1  40000", 0, "wiersz 6: n = Es/Eb"},
        {"n not a number", 6, " 1  n=7", 0, "wiersz 6: „n=7”"},
        {"empty number before a comma", 20, ",1 Tryb_RTF", 0, "wiersz 20: brak liczby"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        QStringList lines = ShippedLines();
        if (r.line > 0) {
            lines[r.line - 1] = QString::fromUtf8(r.text);
        }
        if (r.keep > 0) {
            lines = lines.mid(0, r.keep);
        } else if (r.keep < 0) {
            lines.clear();
        }
        DesignCase s = SampleCase();
        s.N_kG[1] = 1.5;
        s.Rz_cm = 2.5;
        const DesignCase before = s;
        const FileResult err = ReadSettingsBytes(s, Joined(lines), QStringLiteral("VardelOK.cfg"));
        ASSERT_TRUE(err);
        EXPECT_TRUE(err->message.contains(QStringLiteral("VardelOK.cfg")))
            << err->message.toStdString();
        EXPECT_TRUE(err->message.contains(QString::fromUtf8(r.message)))
            << err->message.toStdString();
        ExpectSameSettings(s, before);
    }
}

TEST(Settings, MissingFileNamesIt) {
    QTemporaryDir dir;
    DesignCase s;
    const QString path = dir.filePath(QStringLiteral("VardelOK.cfg"));
    const FileResult err = ReadSettings(s, path);
    ASSERT_TRUE(err);
    EXPECT_TRUE(err->message.contains(QDir::toNativeSeparators(path)));
}

TEST(Settings, MessagesKeepPercentSignsOfPathsAndValues) {
    DesignCase s;
    const FileResult err =
        ReadSettingsBytes(s, QByteArray("%1x Norma\r\n"), QStringLiteral("C:/100%2/VardelOK.cfg"));
    ASSERT_TRUE(err);
    EXPECT_EQ(
        err->message,
        QStringLiteral("Plik ustawień C:/100%2/VardelOK.cfg, wiersz 1: „%1x” nie jest liczbą."));
}

TEST(Settings, ReadsUtf8AndWindows1250Alike) {
    QStringList lines = ShippedLines();
    lines[2] = QStringLiteral("Żółta hala, ąęść");
    QByteArray ansi;
    for (const QString& l : lines) {
        ansi += *EncodeCodePage(l, CodePage::Windows1250) + "\r\n";
    }
    DesignCase a;
    DesignCase b;
    ASSERT_FALSE(ReadSettingsBytes(a, ansi, QStringLiteral("x")));
    ASSERT_FALSE(ReadSettingsBytes(b, Joined(lines), QStringLiteral("x")));
    EXPECT_EQ(a.Naz_proj, lines[2]);
    EXPECT_EQ(b.Naz_proj, lines[2]);
}

// Makes a directory refuse new files, also for root (through the immutable flag), and undoes it.
class LockedDir {
  public:
    explicit LockedDir(const QString& path) : path_(path) {
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        if (CanCreateFiles()) {
            SetImmutable(true);
        }
    }
    ~LockedDir() {
        SetImmutable(false);
        QFile::setPermissions(
            path_, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    bool CanCreateFiles() const {
        QFile probe(QDir(path_).filePath(QStringLiteral("probe")));
        const bool ok = probe.open(QIODevice::WriteOnly);
        if (ok) {
            probe.remove();
        }
        return ok;
    }

  private:
    void SetImmutable(bool on) {
        const int fd = ::open(QFile::encodeName(path_).constData(), O_RDONLY | O_DIRECTORY);
        if (fd < 0) {
            return;
        }
        int flags = 0;
        if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
            ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
        }
        ::close(fd);
    }
    QString path_;
};

TEST(Settings, FailedWriteIsReportedAndTheOldFileStays) {
    QTemporaryDir dir;
    const QString path = dir.filePath(SettingsFileName());
    const QByteArray old = "old settings\r\n";
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(old);
    }
    {
        LockedDir locked(dir.path());
        if (locked.CanCreateFiles()) {
            GTEST_SKIP() << "cannot make a directory unwritable here";
        }
        DesignCase s = SampleCase();
        RecordingPrompter prompter;
        const FileResult err = WriteSettings(s, dir.path(), SettingsWindowValues::FromState(s),
                                             QLocale::c(), prompter);
        ASSERT_TRUE(err);
        EXPECT_TRUE(err->message.contains(QDir::toNativeSeparators(path)));
    }
    EXPECT_EQ(test::ReadAll(path), old);

    DesignCase s = SampleCase();
    EXPECT_TRUE(SaveSettingsFile(dir.filePath(QStringLiteral("no/such/dir/x.cfg")), s));
}

TEST(Settings, LeavingTakesThePageFromThePrintStatus) {
    struct Row {
        const char* what;
        const char* status;  // nullptr: no status file
        Int16 strona;
        bool told;
    };
    const Row rows[] = {
        {"no status file", nullptr, 12, false},
        {"printout ended well", "1, 7\r\n", 7, false},
        {"blanks between", "  2.5   31 ", 31, false},
        {"on two lines", "1\r\n9\r\n", 9, false},
        {"printout ended badly", "0, 7\r\n", 12, true},
        {"negative status", "-1 7", 12, true},
        {"damaged status", "ok, 7", 12, false},
        {"one value only", "1", 12, false},
        {"page beyond 16 bits", "1, 40000", 12, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        QTemporaryDir dir;
        if (r.status) {
            QFile f(dir.filePath(PrintStatusFileName()));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(r.status);
        }
        DesignCase s = SampleCase();
        RecordingPrompter prompter;
        ASSERT_FALSE(WriteSettings(s, dir.path(), SettingsWindowValues::FromState(s), QLocale::c(),
                                   prompter));
        EXPECT_EQ(s.Strona, r.strona);
        ASSERT_EQ(prompter.told.size(), r.told ? 1u : 0u);
        if (r.told) {
            EXPECT_EQ(prompter.told[0].title, QString());
            EXPECT_EQ(prompter.told[0].message, QStringLiteral("Złe zakonczenie wydruku"));
        }
        DesignCase back;
        ASSERT_FALSE(ReadSettings(back, dir.filePath(SettingsFileName())));
        EXPECT_EQ(back.Strona, r.strona);
        EXPECT_EQ(back.Naz_proj, s.Naz_proj);
    }
}

TEST(Settings, LeavingTakesTheWindowValues) {
    struct Row {
        const char* what;
        SettingsWindowValues window;
        float rz, rw, rs;
        Int16 numer, liczba;
    };
    const Row rows[] = {
        {"decimal comma", {"450,5", "120", "380,25", 6, "12"}, 450.5f, 120, 380.25f, 7, 12},
        {"point in a comma locale", {"450.5", "120", "380", 0, "6,5"}, 450.5f, 120, 380, 1, 6},
        {"nothing selected", {"300", "100", "250", -1, "8"}, 300, 100, 250, 0, 8},
        {"not numbers keep the state", {"abc", "", "1e40", 3, "many"}, 300, 100, 250, 4, 8},
        {"too many bolts for 16 bits", {"300", "100", "250", 3, "40000"}, 300, 100, 250, 4, 8},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        QTemporaryDir dir;
        DesignCase s = SampleCase();
        RecordingPrompter prompter;
        ASSERT_FALSE(WriteSettings(s, dir.path(), r.window, test::Polish(), prompter));
        EXPECT_EQ(s.R_zewn, r.rz);
        EXPECT_EQ(s.R_wewn, r.rw);
        EXPECT_EQ(s.R_srub, r.rs);
        EXPECT_EQ(s.Numer_sruby, r.numer);
        EXPECT_EQ(s.Liczba_srub, r.liczba);
        // The cm values follow at the next calculation, not here.
        EXPECT_EQ(s.Rz_cm, 0.0);
        DesignCase back;
        ASSERT_FALSE(ReadSettings(back, dir.filePath(SettingsFileName())));
        EXPECT_EQ(back.R_zewn, std::round(r.rz));  // radii are kept in whole mm
        EXPECT_EQ(back.Numer_sruby, r.numer);
        EXPECT_EQ(back.Liczba_srub, r.liczba);
    }
}

TEST(PrintStatus, WrittenAsTheReaderExpects) {
    QTemporaryDir dir;
    const QString path = dir.filePath(PrintStatusFileName());
    EXPECT_FALSE(ReadPrintStatus(path));
    ASSERT_FALSE(WritePrintStatus(path, 1, 12));
    EXPECT_EQ(test::ReadAll(path), QByteArray("1, 12\r\n"));
    ASSERT_FALSE(WritePrintStatus(path, -0.5f, -3));
    EXPECT_EQ(test::ReadAll(path), QByteArray("-.5, -3\r\n"));
    const auto st = ReadPrintStatus(path);
    ASSERT_TRUE(st);
    EXPECT_EQ(st->S, -0.5f);
    EXPECT_EQ(st->P, -3);
    EXPECT_TRUE(WritePrintStatus(dir.filePath(QStringLiteral("none/W_X.txt")), 1, 1));
}

}  // namespace
}  // namespace vardel
