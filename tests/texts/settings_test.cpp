#include "materials/tables.h"
#include "state/file_write.h"
#include "texts/codepage.h"
#include "texts/print_status.h"
#include "texts/settings_file.h"

#include "tests/test_support.h"
#include "tests/texts/qstring_print.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

namespace vardel {
namespace {

class RecordingPrompter : public Prompter {
  public:
    std::optional<QString> AskText(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    void Tell(const QString& title, const QString& message) override {
        told << title + u'|' + message;
    }
    QStringList told;
};

// A design case with something different in every setting, and the derived members as reading
// the settings gives them.
DesignCase SampleCase() {
    DesignCase s;
    std::tie(s.Norma, s.Strona, s.Nrbetonu, s.Nrstali, s.Tryb_n, s.Jezyk) =
        std::tuple(-3, 12, 3, 5, 1, 2);
    std::tie(s.Tryb_sru, s.Tryb_RTF, s.Numer_sruby, s.Liczba_srub) = std::tuple(1, 1, 4, 8);
    s.Liczba_przyp = 3;
    std::tie(s.R_zewn, s.R_wewn, s.R_srub) = std::tuple(300.f, 100.f, 250.f);
    s.Naz_proj = QStringLiteral("  Hala, magazyn „Łódź”, żółć ąęśćńó ŁŚŻŹ  ");
    s.Es_Eb = 6.613;
    const float loads[6][3] = {{500, 150, 30},      {812.5f, -120.3f, 45}, {0.5f, 0, -2.5f},
                               {12345.6f, 0, 0.1f}, {-7.2f, 9999.9f, 0},   {0, 0, 0}};
    for (int i = 1; i <= kMaxCases; ++i) {
        std::tie(s.N_kN[i], s.M_kNm[i], s.V_kN[i]) =
            std::tuple(loads[i - 1][0], loads[i - 1][1], loads[i - 1][2]);
        s.N_kG[i] = static_cast<double>(s.N_kN[i]) * kKgPerKn;
        s.M_kGm[i] = static_cast<double>(s.M_kNm[i]) * kKgPerKn;
        s.V_kG[i] = static_cast<double>(s.V_kN[i]) * kKgPerKn;
    }
    std::tie(s.Rz_cm, s.Rw_cm, s.Rs_cm) = std::tuple(30.0, 10.0, 25.0);
    s.Stal_uzytk1 = {{0.5f, 235, 375.25f}, 2, QStringLiteral("Stal użytkownika")};
    s.Stal_uzytk2 = {{1e7f, 0, 0}, -1, QStringLiteral("Stal 2")};
    s.Eurokod = {25.5f, 2, 273, 5, 1200, 800, 5, 0, 2, 250, 60, 1};
    return s;
}

auto EurocodeStored(const EurocodeInputs& e) {
    return std::make_tuple(e.t_blachy, e.Stal_blachy, e.D_rury, e.t_rury, e.B_bloku, e.H_bloku,
                           e.Klasa_C, e.Zarysowany, e.Klasa_sruby, e.h_ef, e.d_glowy, e.Zalacznik);
}

// The members the settings file carries, with the derived ones, for one comparison (copied, so
// that a failure prints values, not addresses).
auto Stored(const DesignCase& s) {
    return std::make_tuple(
        s.Norma, s.Strona, s.Naz_proj, s.Nrbetonu, s.Nrstali, s.Tryb_n, s.Es_Eb, s.Jezyk, s.N_kN,
        s.M_kNm, s.V_kN, s.N_kG, s.M_kGm, s.V_kG, s.R_zewn, s.R_wewn, s.R_srub, s.Rz_cm, s.Rw_cm,
        s.Rs_cm, s.Tryb_sru, s.Stal_uzytk1.values, s.Stal_uzytk1.number, s.Stal_uzytk1.name,
        s.Stal_uzytk2.values, s.Stal_uzytk2.number, s.Stal_uzytk2.name, s.Tryb_RTF, s.Numer_sruby,
        s.Liczba_srub, s.Liczba_przyp, EurocodeStored(s.Eurokod));
}

QStringList LinesOf(const QByteArray& bytes) {
    QStringList lines = DecodeText(bytes, CodePage::Windows1250).split(QStringLiteral("\r\n"));
    if (lines.last().isEmpty()) {
        lines.removeLast();
    }
    return lines;
}

QByteArray Joined(const QStringList& lines, const char* end = "\r\n") {
    return (lines.join(QString::fromLatin1(end)) + QString::fromLatin1(end)).toUtf8();
}

// Messages name the file; a "%2" in its path must stay as it is.
const QString kShownName = QStringLiteral("C:/100%2/VardelOK.cfg");

// The shipped file reads and writes back byte for byte; what is no settings file is refused by
// name, without waiting on a pipe or reading a device that never ends.
TEST(Settings, ReadsTheShippedFileAndRefusesWhatIsNoSettingsFile) {
    const QString shipped = test::DataPath(QStringLiteral("../data/VardelOK.cfg"));
    DesignCase s;
    const FileResult err = ReadSettings(s, shipped);
    ASSERT_FALSE(err) << err->message.toStdString();
    // Mode 0: n is computed at start-up (7.0689...), shown and kept as 7.07.
    ASSERT_TRUE(LookUpModulus(s));
    s.Es_Eb = kSteelModulusMpa / s.Eb;
    EXPECT_EQ(SettingsFileBytes(s), test::ReadAll(shipped));
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("VardelOK.cfg"));
    ASSERT_TRUE(test::MakeFifo(fifo));
    for (const QString& path : {dir.filePath(QStringLiteral("no such dir/VardelOK.cfg")), fifo,
                                QStringLiteral("/dev/zero"), dir.path()}) {
        const FileResult none = ReadSettings(s, path);
        ASSERT_TRUE(none);
        EXPECT_TRUE(none->message.contains(QDir::toNativeSeparators(path)))
            << none->message.toStdString();
    }
}

// Whatever the names hold, whatever the user's locale, and however a person respaces, splits or
// re-ends the lines, every setting comes back in its place.
TEST(Settings, RoundTripKeepsEverySetting) {
    const struct {
        const char* what;
        const char16_t* name;
        const char16_t* recordName;   // of both steel records; an empty one must not pull the next
        bool utf8 = false;            // written as UTF-8, not Windows-1250
        const char* line9 = nullptr;  // retyped by hand, and the keys glued to values elsewhere
        bool lf = false;              // lines ended by LF alone
        const char16_t* nameBack = nullptr;  // every name as read back, when not as written
    } rows[] = {
        {"Polish letters and commas", u"  Hala, magazyn „Łódź”, żółć  ", u"Stal użytkownika"},
        {"a character beyond Windows-1250", u"Most ω, Σ nr 3", u"", true},
        {"empty name", u"", u"Stal żebrowana"},
        {"Windows-1250 letters that would pass for UTF-8", u"Ĺ‚ukowa", u"Stal", true},
        {"line breaks in the names", u"first\r\nsecond\nżółty", u"first\r\nsecond\nżółty", false,
         nullptr, false, u"first  second żółty"},
        {"commas between the items", u"Hala łukowa", u"Stal", false, "812.5,-120.3,45"},
        {"tabs and runs of blanks", u"Hala łukowa", u"Stal", false, "\t812.5 \t -120.3     45  "},
        {"LF line ends", u"Hala łukowa", u"Stal", false, "812.5 -120.3 45", true},
        {"an item missing on its line comes from the next", u"Hala łukowa", u"Stal", false,
         "812.5 -120.3\r\n45"},
    };
    QLocale::setDefault(test::Polish());  // the file keeps its decimal point whatever the locale
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        DesignCase s = SampleCase();
        s.Naz_proj = QString::fromUtf16(r.name);
        s.Stal_uzytk1.name = s.Stal_uzytk2.name = QString::fromUtf16(r.recordName);
        QByteArray bytes = SettingsFileBytes(s);
        EXPECT_EQ(IsValidUtf8(bytes), r.utf8);
        if (r.line9) {
            QStringList lines = LinesOf(bytes);
            const std::pair<int, const char*> edits[] = {{3, " 3Nrbetonu"},
                                                         {8, r.line9},
                                                         {13, "3E2R_zewn"},
                                                         {16, "1Tryb_sru"},
                                                         {17, ".5,235,375.25,2,Stal"}};
            for (const auto& [k, text] : edits) {
                lines[k] = QString::fromUtf8(text);
            }
            bytes = Joined(lines, r.lf ? "\n" : "\r\n");
        }
        DesignCase back;
        const FileResult err = ReadSettingsBytes(back, bytes, kShownName);
        ASSERT_FALSE(err) << err->message.toStdString();
        s.Es_Eb = 6.61;  // n is kept in hundredths
        if (r.nameBack) {
            s.Naz_proj = s.Stal_uzytk1.name = s.Stal_uzytk2.name = QString::fromUtf16(r.nameBack);
        }
        EXPECT_EQ(Stored(back), Stored(s));
    }
    QLocale::setDefault(QLocale::c());
}

// A file from before the PN-EN lines (22 lines) reads with their defaults, whatever the state held.
TEST(Settings, OlderFilesReadWithTheEurocodeDefaults) {
    const QStringList lines = LinesOf(SettingsFileBytes(SampleCase()));
    for (const int kept : {22, 23}) {
        DesignCase s = SampleCase();
        const FileResult err = ReadSettingsBytes(s, Joined(lines.mid(0, kept)), kShownName);
        ASSERT_FALSE(err) << err->message.toStdString();
        EXPECT_EQ(EurocodeStored(s.Eurokod), EurocodeStored(EurocodeInputs{})) << kept;
    }
}

TEST(Settings, GoldenBytes) {
    const QString diff = test::CompareGolden(QStringLiteral("texts/settings_golden.cfg"),
                                             SettingsFileBytes(SampleCase()));
    EXPECT_TRUE(diff.isEmpty()) << diff.toStdString();
    // A file written before the case count was kept reads as then: the count stays as it was.
    DesignCase s;
    ASSERT_FALSE(ReadSettingsBytes(s, Joined(LinesOf(SettingsFileBytes(SampleCase())).mid(0, 22)),
                                   kShownName));
    EXPECT_EQ(s.Liczba_przyp, 1);
    EXPECT_EQ(s.Liczba_srub, 8);
}

TEST(Settings, StiffnessRatioInHundredths) {
    const struct {
        Int16 mode;
        double n;
        const char* line6;
        double readBack;  // from a state holding 9.99; only mode 1 reads n
    } rows[] = {
        {1, 6.613, " 1 661", 6.61}, {0, 6.613, " 0 661", 9.99}, {2, 6.613, " 2 661", 9.99},
        {1, 8.03, " 1 803", 8.03},  // 8.03 × 100 is 802.999... in binary
        {1, 0.004, " 1 0", 0.0},    // nothing to print: still an item on its line
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.line6);
        DesignCase s = SampleCase();
        s.Tryb_n = r.mode;
        s.Es_Eb = r.n;
        const QByteArray bytes = SettingsFileBytes(s);
        EXPECT_EQ(LinesOf(bytes).value(5), QString::fromLatin1(r.line6));
        DesignCase back;
        back.Es_Eb = 9.99;
        ASSERT_FALSE(ReadSettingsBytes(back, bytes, kShownName));
        EXPECT_EQ(back.Es_Eb, r.readBack);
        EXPECT_EQ(back.Jezyk, s.Jezyk);  // nothing after line 6 shifted
    }
    // Whatever n the file holds, writing it back gives the same hundredths: n never creeps down
    // by 0.01 from one run to the next.
    for (int k = -32768; k <= 32767; ++k) {
        ASSERT_EQ(HundredthsOfRatio(k / 100.0), k) << k;
    }
    EXPECT_EQ(HundredthsOfRatio(6.6199), 662);  // as the window shows it
    EXPECT_EQ(HundredthsOfRatio(-0.005), -1);
}

TEST(Settings, FailuresNameTheLineAndLeaveTheStateAlone) {
    const struct {
        int line;             // 1-based line to change, 0 for none
        const char* text;     // its new text
        int keep;             // lines kept
        const char* message;  // what the message must contain
    } rows[] = {
        {0, "", 21, "wiersza 22"},
        {23, " 7 Liczba_przyp", 23, "wiersz 23: liczba przypadków obciążenia 7 jest poza zakresem"},
        {23, "trzy", 23, "wiersz 23: „trzy” nie jest liczbą"},
        {0, "", 0, "wiersza 1"},
        {0, "", 8, "wiersza 9"},       // the second load row missing
        {22, " 8", 22, "wiersza 22"},  // the key missing on the last line
        {4, "B20 Nrbetonu", 22, "wiersz 4: „B20” nie jest liczbą"},
        {9, "800.0   abc   45.0", 22, "wiersz 9: „abc”"},
        {2, " 40000   Strona", 22, "wiersz 2: liczba 40000 jest poza zakresem"},
        {14, "1E39R_zewn", 22, "wiersz 14: liczba"},
        {6, " 1  40000", 22, "wiersz 6: n = Es/Eb"},
        {6, " 1  n=7", 22, "wiersz 6: „n=7”"},
        {20, ",1 Tryb_RTF", 22, "wiersz 20: brak liczby"},
        {1, "%1x Norma", 22, ", wiersz 1: „%1x” nie jest liczbą."},
        // Indexes outside their tables: nothing would be looked up for them.
        {4, " 6 Nrbetonu", 22, "wiersz 4: numer klasy betonu 6 jest poza tabelą (1–5)"},
        {5, " 0 Nrstali", 22, "wiersz 5: numer gatunku stali 0"},
        {5, " 7 Nrstali", 22, "wiersz 5: numer gatunku stali 7 jest poza tabelą (1–6)"},
        {21, " 14 Numer_sruby", 22, "wiersz 21: numer średnicy śrub 14 jest poza tabelą (0–13)"},
        {21, "-1 Numer_sruby", 22, "wiersz 21: numer średnicy"},
        {24, "abc 0 t_blachy", 29, "wiersz 24: „abc” nie jest liczbą"},
        {27, " 10 1 Klasa_C", 29, "wiersz 27: numer klasy betonu C 10 jest poza tabelą (0–9)"},
        {28, " 4 200 0 Klasa_sruby", 29, "wiersz 28: numer klasy śrub 4 jest poza tabelą (0–3)"},
        {28, " 1 200", 29, "wiersza 29"},  // an item missing: taken from the next line
        // A quoted line never brings its control characters to the terminal.
        {4, "\x1b]0;x\x07 Nrbetonu", 22, "wiersz 4: „\\x1b]0;x\\x07” nie jest liczbą"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.message);
        QStringList lines = LinesOf(SettingsFileBytes(SampleCase()));
        if (r.line > 0) {
            lines[r.line - 1] = QString::fromUtf8(r.text);
        }
        DesignCase s = SampleCase();
        s.N_kG[1] = 1.5;
        s.Rz_cm = 2.5;
        const DesignCase before = s;
        const FileResult err =
            ReadSettingsBytes(s, r.keep ? Joined(lines.mid(0, r.keep)) : QByteArray(), kShownName);
        ASSERT_TRUE(err);
        EXPECT_TRUE(err->message.startsWith(QStringLiteral("Plik ustawień ") + kShownName));
        EXPECT_TRUE(err->message.contains(QString::fromUtf8(r.message)))
            << err->message.toStdString();
        EXPECT_EQ(Stored(s), Stored(before));
    }
}

TEST(Settings, FailedWriteIsReportedAndTheOldFileAndStateStay) {
    QTemporaryDir dir;
    const QString path = dir.filePath(SettingsFileName());
    const QByteArray old = "old settings\r\n";
    ASSERT_EQ(WriteWholeFile(path, old), QString());
    DesignCase s = SampleCase();
    SettingsWindowValues window = SettingsWindowValues::FromState(s);
    window.Text3 = QStringLiteral("450");
    RecordingPrompter prompter;
    FileResult err;
    {
        test::FileSizeLimit limit(64);
        ASSERT_TRUE(limit.ok());
        err = WriteSettings(s, dir.path(), window, QLocale::c(), prompter);
    }
    ASSERT_TRUE(err);
    EXPECT_TRUE(err->message.contains(QDir::toNativeSeparators(path)));
    EXPECT_EQ(test::ReadAll(path), old);
    EXPECT_EQ(s.R_zewn, 300.0f);
    EXPECT_TRUE(SaveSettingsFile(dir.filePath(QStringLiteral("no/such/dir/x.cfg")), s));
    EXPECT_TRUE(WritePrintStatus(dir.filePath(QStringLiteral("no/such/dir/W_X.txt")), 1, 1));
}

// Leaving takes the page number from the print status (the state holds 12) and the values in
// the window, read in a comma locale; the cm values follow at the next calculation, not here.
TEST(Settings, LeavingTakesThePrintStatusAndTheWindowValues) {
    const SettingsWindowValues same = SettingsWindowValues::FromState(SampleCase());
    const struct {
        const char* status;  // nullptr: no status file
        SettingsWindowValues window;
        Int16 strona;
        bool told;
        float rz, rw, rs;
        Int16 numer, liczba;
    } rows[] = {
        {nullptr, same, 12, false, 300, 100, 250, 4, 8},
        {"1, 7\r\n", same, 7, false, 300, 100, 250, 4, 8},
        {"  2.5   31 ", same, 31, false, 300, 100, 250, 4, 8},
        {"1\r\n9\r\n", same, 9, false, 300, 100, 250, 4, 8},
        {"0, 7\r\n", same, 12, true, 300, 100, 250, 4, 8},  // the printout ended badly
        {"-1 7", same, 12, true, 300, 100, 250, 4, 8},
        {"ok, 7", same, 12, false, 300, 100, 250, 4, 8},  // a damaged status is no status
        {"1", same, 12, false, 300, 100, 250, 4, 8},
        {"1, 40000", same, 12, false, 300, 100, 250, 4, 8},
        {nullptr, {"450,5", "120", "380,25", 6, "12"}, 12, false, 450.5f, 120, 380.25f, 7, 12},
        {nullptr, {"450.5", "120", "380", 0, "6,5"}, 12, false, 450.5f, 120, 380, 1, 6},
        {nullptr, {"300", "100", "250", -1, "8"}, 12, false, 300, 100, 250, 0, 8},  // none chosen
        // What is no number (or too large for its type) keeps the state's value.
        {nullptr, {"abc", "", "1e40", 3, "many"}, 12, false, 300, 100, 250, 4, 8},
        {nullptr, {"300", "100", "250", 3, "40000"}, 12, false, 300, 100, 250, 4, 8},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << (r.status ? r.status : "-") << " "
                                        << r.window.Text3.toStdString() << " " << r.window.cmbFi);
        QTemporaryDir dir;
        if (r.status) {
            ASSERT_EQ(WriteWholeFile(dir.filePath(PrintStatusFileName()), r.status), QString());
        }
        DesignCase s = SampleCase();
        RecordingPrompter prompter;
        ASSERT_FALSE(WriteSettings(s, dir.path(), r.window, test::Polish(), prompter));
        EXPECT_EQ(prompter.told,
                  r.told ? QStringList{QStringLiteral("|Złe zakonczenie wydruku")} : QStringList());
        EXPECT_EQ(std::tuple(s.Strona, s.Numer_sruby, s.Liczba_srub),
                  std::tuple(r.strona, r.numer, r.liczba));
        EXPECT_EQ(std::tuple(s.R_zewn, s.R_wewn, s.R_srub), std::tuple(r.rz, r.rw, r.rs));
        EXPECT_EQ(s.Rz_cm, 30.0);
        DesignCase back;
        ASSERT_FALSE(ReadSettings(back, dir.filePath(SettingsFileName())));
        EXPECT_EQ(std::tuple(back.Strona, back.Numer_sruby, back.Liczba_srub),
                  std::tuple(r.strona, r.numer, r.liczba));
        // A radius with decimals keeps them (the calculation refuses it): never another ring.
        EXPECT_EQ(std::tuple(back.R_zewn, back.R_srub), std::tuple(r.rz, r.rs));
    }
}

}  // namespace
}  // namespace vardel
