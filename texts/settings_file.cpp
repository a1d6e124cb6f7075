#include "texts/settings_file.h"

#include "materials/tables.h"
#include "state/file_read.h"
#include "state/file_write.h"
#include "state/numbers.h"
#include "texts/codepage.h"
#include "texts/list_io.h"
#include "texts/print_status.h"

#include <QDir>

#include <cmath>

namespace vardel {
namespace {

// What line `setting` of the file holds, as a message names it.
QString SettingMeaning(int setting) {
    static const char* const meanings[] = {
        "",
        "numer normy",
        "numer pierwszej strony obliczeń",
        "nazwa projektu",
        "numer klasy betonu (1–5)",
        "numer gatunku stali śrub (1–6)",
        "sposób ustalenia n = Es/Eb (0 obliczony, 1 podany) i n w setnych",
        "język wyników (0–4)",
        "obciążenia przypadku %1: N [kN], M [kNm] i V [kN]",
        "",
        "",
        "",
        "",
        "",
        "promień zewnętrzny pierścienia Rz w mm",
        "promień wewnętrzny pierścienia Rw w mm",
        "promień rozmieszczenia śrub w mm",
        "przenoszenie sił poziomych (0 wszystkie kotwy, 1 strefy ściskanej)",
        "pierwsza stal użytkownika: trzy liczby, numer i nazwa",
        "druga stal użytkownika: liczba, numer i nazwa",
        "opcja wyników RTF (0–2)",
        "numer średnicy śrub (0–13)",
        "liczba śrub na obwodzie",
        "liczba przypadków obciążenia (1–6)",
    };
    if (setting >= 8 && setting <= 13) {
        return QString::fromUtf8(meanings[8]).arg(setting - 7);
    }
    return setting >= 1 && setting <= 23 ? QString::fromUtf8(meanings[setting]) : QString();
}

// What stood in a damaged line, as a message may quote it.
QString Shown(const QString& text) {
    return ShownText(text, 40);
}

// Reads the items of the settings file in order, turning the first failure into a message that
// names the file and the line. Once failed, further reads do nothing.
class SettingsReader {
  public:
    SettingsReader(QString text, QString fileName)
        : in_(std::move(text)), fileName_(std::move(fileName)) {}

    void StartLine(int setting) { setting_ = setting; }

    void Int(Int16& out) {
        if (!error_) {
            Check(in_.ReadInt16(out));
        }
    }
    void Single(float& out) {
        if (!error_) {
            Check(in_.ReadSingle(out));
        }
    }
    void Text(QString& out) {
        if (!error_) {
            Check(in_.ReadText(out));
        }
    }
    void Line(QString& out) {
        if (!error_) {
            Check(in_.ReadLine(out));
        }
    }
    // A position in one of the fixed tables: outside it the calculation would look up nothing
    // and go on with zeros, so the file is damaged.
    void Position(Int16& out, qsizetype first, qsizetype last, const QString& what) {
        Int(out);
        if (!error_ && (out < first || out > last)) {
            Fail(QStringLiteral("%1 %2 jest poza tabelą (%3–%4).")
                     .arg(what, QString::number(out), QString::number(first),
                          QString::number(last)));
        }
    }

    // A text item that is not kept.
    void Key() {
        QString ignored;
        Text(ignored);
    }

    // The lines from `setting` on were added after older files were written: absent there.
    bool Absent() const { return !error_ && in_.RestIsBlank(); }

    bool Failed() const { return error_.has_value(); }
    FileResult Error() const { return error_; }

    void Fail(const QString& what) {
        if (!error_) {
            // One-pass substitution: a "%2" in a path or a value stays as it is. The setting's
            // meaning follows, so that a person can mend the line by hand.
            error_ = FileError{QStringLiteral("Plik ustawień %1, wiersz %2: %3 Wiersz %4 to %5.")
                                   .arg(fileName_, QString::number(in_.Line()), what,
                                        QString::number(setting_), SettingMeaning(setting_))};
        }
    }

  private:
    void Check(ListInput::Status st) {
        if (st == ListInput::Status::Ok) {
            return;
        }
        switch (st) {
            case ListInput::Status::EndOfFile:
                error_ = FileError{
                    QStringLiteral("Plik ustawień %1 jest niepełny: brak danych wiersza %2, a "
                                   "plik musi mieć 22 wiersze.")
                        .arg(fileName_, QString::number(setting_))};
                break;
            case ListInput::Status::NotANumber:
                Fail(in_.Offending().isEmpty()
                         ? QStringLiteral("brak liczby.")
                         : QStringLiteral("„%1” nie jest liczbą.").arg(Shown(in_.Offending())));
                break;
            case ListInput::Status::Overflow:
                Fail(QStringLiteral("liczba %1 jest poza zakresem.").arg(Shown(in_.Offending())));
                break;
            case ListInput::Status::Ok:
                break;
        }
    }

    ListInput in_;
    QString fileName_;
    int setting_ = 0;
    FileResult error_;
};

QString OneLine(QString text) {
    // A line break inside a value would shift every later setting.
    text.replace(u'\r', u' ');
    text.replace(u'\n', u' ');
    return text;
}

// A radius or a load value as stored: point decimal.
QString Kropka(float value, const char16_t* pattern) {
    return Format_kropka(value, pattern);
}

// The name that ends a steel record line. An empty name would leave the line without its last
// item and the reader would take the next line in its place; a comma marks it as present.
QString RecordName(const QString& name) {
    const QString one = OneLine(name);
    return one.trimmed().isEmpty() ? u',' + one : one;
}

// Lines 24 to 29: the inputs of the PN-EN checks.
void ReadEurocodeLines(SettingsReader& r, EurocodeInputs& e) {
    r.StartLine(24);
    r.Single(e.t_blachy);
    r.Position(e.Stal_blachy, 0, 2, QStringLiteral("numer stali blachy"));
    r.Key();
    r.StartLine(25);
    r.Single(e.D_rury);
    r.Single(e.t_rury);
    r.Key();
    r.StartLine(26);
    r.Single(e.B_bloku);
    r.Single(e.H_bloku);
    r.Key();
    r.StartLine(27);
    r.Position(e.Klasa_C, 0, 9, QStringLiteral("numer klasy betonu C"));
    r.Position(e.Zarysowany, 0, 1, QStringLiteral("beton zarysowany (0/1)"));
    r.Key();
    r.StartLine(28);
    r.Position(e.Klasa_sruby, 0, kBoltClassGradeSteel, QStringLiteral("numer klasy śrub"));
    r.Single(e.h_ef);
    r.Single(e.d_glowy);
    r.Key();
    r.StartLine(29);
    r.Position(e.Zalacznik, 0, 1, QStringLiteral("zestaw współczynników (0/1)"));
    r.Key();
}

}  // namespace

double HundredthsOfRatio(double n) {
    if (!std::isfinite(n)) {
        return n * 100.0;
    }
    // Rounded as the window shows n ("###.##", half away from zero on the decimal value): a save
    // of an unchanged n writes back the hundredths it was read as, and a computed n the
    // hundredths the user saw.
    QString shown = Format(n, u"0.00", QLocale::c());
    return shown.remove(u'.').toDouble();
}

FileResult ReadSettingsBytes(DesignCase& s, const QByteArray& bytes, const QString& fileName) {
    const QString text = DecodeText(bytes, CodePage::Windows1250);
    SettingsReader r(text, fileName);
    DesignCase t = s;

    r.StartLine(1);
    r.Int(t.Norma);
    r.Key();
    r.StartLine(2);
    r.Int(t.Strona);
    r.Key();
    r.StartLine(3);
    r.Line(t.Naz_proj);
    r.StartLine(4);
    r.Position(t.Nrbetonu, 1, ConcreteClassNames().size(), QStringLiteral("numer klasy betonu"));
    r.Key();
    r.StartLine(5);
    r.Position(t.Nrstali, 1, SteelGradeNames().size(), QStringLiteral("numer gatunku stali"));
    r.Key();
    r.StartLine(6);
    r.Int(t.Tryb_n);
    QString ratio;
    r.Text(ratio);
    if (!r.Failed() && t.Tryb_n == 1) {
        const Int16Result n = ToInt16(ratio, QLocale::c());
        if (n.status == Convert::NotANumber) {
            r.Fail(QStringLiteral("„%1” nie jest liczbą (n = Es/Eb w setnych).").arg(Shown(ratio)));
        } else if (n.status == Convert::Overflow) {
            r.Fail(
                QStringLiteral("n = Es/Eb w setnych (%1) jest poza zakresem.").arg(Shown(ratio)));
        } else {
            t.Es_Eb = static_cast<double>(n.value) / 100.0;
        }
    }
    r.StartLine(7);
    r.Int(t.Jezyk);
    r.Key();
    for (int i = 1; i <= kMaxCases; ++i) {
        r.StartLine(7 + i);
        r.Single(t.N_kN[i]);
        r.Single(t.M_kNm[i]);
        r.Single(t.V_kN[i]);
    }
    r.StartLine(14);
    r.Single(t.R_zewn);
    r.Key();
    r.StartLine(15);
    r.Single(t.R_wewn);
    r.Key();
    r.StartLine(16);
    r.Single(t.R_srub);
    r.Key();
    r.StartLine(17);
    r.Int(t.Tryb_sru);
    r.Key();
    r.StartLine(18);
    for (float& v : t.Stal_uzytk1.values) {
        r.Single(v);
    }
    r.Int(t.Stal_uzytk1.number);
    r.Text(t.Stal_uzytk1.name);
    r.StartLine(19);
    r.Single(t.Stal_uzytk2.values[0]);
    r.Int(t.Stal_uzytk2.number);
    r.Text(t.Stal_uzytk2.name);
    r.StartLine(20);
    r.Int(t.Tryb_RTF);
    r.Key();
    r.StartLine(21);
    // 0: no diameter was chosen in the list when the file was written.
    r.Position(t.Numer_sruby, 0, BoltDiameterNames().size(), QStringLiteral("numer średnicy śrub"));
    r.Key();
    r.StartLine(22);
    r.Int(t.Liczba_srub);
    r.Key();
    // Later lines, each absent from older files, which then keep the defaults.
    if (!r.Absent()) {
        r.StartLine(23);
        r.Int(t.Liczba_przyp);
        if (!r.Failed() && (t.Liczba_przyp < 1 || t.Liczba_przyp > kMaxCases)) {
            r.Fail(QStringLiteral("liczba przypadków obciążenia %1 jest poza zakresem (1–%2).")
                       .arg(t.Liczba_przyp)
                       .arg(kMaxCases));
        }
        r.Key();
    }
    t.Eurokod = EurocodeInputs{};
    if (!r.Absent()) {
        ReadEurocodeLines(r, t.Eurokod);
    }
    if (r.Failed()) {
        return r.Error();
    }

    for (int i = 1; i <= kMaxCases; ++i) {
        LoadsInKg(t, i);
    }
    t.Rz_cm = static_cast<double>(t.R_zewn) / 10.0;
    t.Rw_cm = static_cast<double>(t.R_wewn) / 10.0;
    t.Rs_cm = static_cast<double>(t.R_srub) / 10.0;
    s = std::move(t);
    return std::nullopt;
}

FileResult ReadSettings(DesignCase& s, const QString& path) {
    const QString shown = QDir::toNativeSeparators(path);
    const WholeFile file = ReadWholeFile(path, kMaxTextFileBytes);
    if (file.failure == ReadFailure::Missing) {
        return FileError{QStringLiteral("Brak pliku ustawień %1.").arg(shown)};
    }
    if (!file.ok()) {
        return FileError{
            QStringLiteral("Nie można odczytać pliku ustawień %1: %2").arg(shown, file.Reason())};
    }
    return ReadSettingsBytes(s, file.bytes, shown);
}

QByteArray SettingsFileBytes(const DesignCase& s) {
    QString ratio = Format(HundredthsOfRatio(s.Es_Eb), u"#######", QLocale::c());
    if (ratio.isEmpty()) {
        // An empty item would make the reader take the next line's value in its place.
        ratio = QStringLiteral("0");
    }
    QStringList lines;
    lines << ListInt(s.Norma) + QStringLiteral("Norma");
    lines << ListInt(s.Strona) + QStringLiteral("  Strona");
    lines << OneLine(s.Naz_proj);
    lines << ListInt(s.Nrbetonu) + QStringLiteral("Nrbetonu");
    lines << ListInt(s.Nrstali) + QStringLiteral("Nrstali");
    lines << ListInt(s.Tryb_n) + ratio;
    lines << ListInt(s.Jezyk) + QStringLiteral("Jezyk 0-PL 1-P2 2-GB 3-FR 4-DE");
    for (int i = 1; i <= kMaxCases; ++i) {
        lines << Kropka(s.N_kN[i], u"#####0.0   ") + Kropka(s.M_kNm[i], u"######0.0   ") +
                     Kropka(s.V_kN[i], u"#####0.0");
    }
    // A radius with decimals (which the calculation refuses) keeps them rather than be rounded
    // into another ring.
    const auto radius = [](float r) {
        return Kropka(r, r == std::trunc(r) ? u"######0" : u"######0.####");
    };
    lines << radius(s.R_zewn) + QStringLiteral("R_zewn");
    lines << radius(s.R_wewn) + QStringLiteral("R_wewn");
    lines << radius(s.R_srub) + QStringLiteral("R_srub");
    lines << ListInt(s.Tryb_sru) + QStringLiteral("Tryb_sru");
    const SteelRecord& a = s.Stal_uzytk1;
    lines << ListSingle(a.values[0]) + ListSingle(a.values[1]) + ListSingle(a.values[2]) +
                 ListInt(a.number) + RecordName(a.name);
    const SteelRecord& b = s.Stal_uzytk2;
    lines << ListSingle(b.values[0]) + ListInt(b.number) + RecordName(b.name);
    lines << ListInt(s.Tryb_RTF) + QStringLiteral("Tryb_RTF");
    lines << ListInt(s.Numer_sruby) + QStringLiteral("Numer_sruby");
    lines << ListInt(s.Liczba_srub) + QStringLiteral("Liczba_srub");
    lines << ListInt(s.Liczba_przyp) + QStringLiteral("Liczba_przyp");
    const EurocodeInputs& e = s.Eurokod;
    lines << ListSingle(e.t_blachy) + ListInt(e.Stal_blachy) +
                 QStringLiteral("t_blachy Stal_blachy 0-S235 1-S275 2-S355");
    lines << ListSingle(e.D_rury) + ListSingle(e.t_rury) + QStringLiteral("D_rury t_rury");
    lines << ListSingle(e.B_bloku) + ListSingle(e.H_bloku) + QStringLiteral("B_bloku H_bloku");
    lines << ListInt(e.Klasa_C) + ListInt(e.Zarysowany) +
                 QStringLiteral("Klasa_C 0-z Nrbetonu 1-C12/15..9-C50/60 Zarysowany");
    lines << ListInt(e.Klasa_sruby) + ListSingle(e.h_ef) + ListSingle(e.d_glowy) +
                 QStringLiteral("Klasa_sruby 0-4.6 1-5.6 2-8.8 3-stal h_ef d_glowy");
    lines << ListInt(e.Zalacznik) + QStringLiteral("Zalacznik 0-PL 1-CEN");

    const QString text = lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
    // Windows-1250 bytes that happen to form valid UTF-8 ("Ĺ‚" is C5 82, which is "ł" in UTF-8)
    // would be read back as UTF-8 and come back as other letters.
    const auto ansi = EncodeCodePage(text, CodePage::Windows1250);
    if (ansi && DecodeText(*ansi, CodePage::Windows1250) == text) {
        return *ansi;
    }
    return text.toUtf8();
}

FileResult SaveSettingsFile(const QString& path, const DesignCase& s) {
    const QByteArray bytes = SettingsFileBytes(s);
    const QString reason = WriteWholeFile(path, bytes);
    if (!reason.isEmpty()) {
        return FileError{QStringLiteral("Nie można zapisać pliku ustawień %1: %2")
                             .arg(QDir::toNativeSeparators(path), reason)};
    }
    return std::nullopt;
}

SettingsWindowValues SettingsWindowValues::FromState(const DesignCase& s) {
    // Nine significant digits give back the same single; a point is read in every locale.
    const auto text = [](float v) { return QString::number(static_cast<double>(v), 'g', 9); };
    SettingsWindowValues w;
    w.Text3 = text(s.R_zewn);
    w.Text4 = text(s.R_wewn);
    w.Text11 = text(s.R_srub);
    w.cmbFi = s.Numer_sruby - 1;
    w.Text12 = QString::number(s.Liczba_srub);
    return w;
}

FileResult WriteSettings(DesignCase& s, const QString& programDir,
                         const SettingsWindowValues& window, const QLocale& locale,
                         Prompter& prompter) {
    const QDir dir(programDir);
    DesignCase next = s;

    // The page numbering of the last printout carries into the next run. Without a readable
    // status file the page number stays as it is.
    if (const auto status = ReadPrintStatus(dir.filePath(PrintStatusFileName()))) {
        if (status->S <= 0) {
            prompter.Tell(QString(), QStringLiteral("Złe zakonczenie wydruku"));
        } else {
            next.Strona = status->P;
        }
    }

    // A field left holding something that is not a number keeps the state's value rather than
    // ending the program on its way out.
    const auto single = [&](const QString& text, float& member) {
        const SingleResult r = ToSingle(text, locale);
        if (r.status == Convert::Ok) {
            member = r.value;
        }
    };
    single(window.Text3, next.R_zewn);
    single(window.Text4, next.R_wewn);
    single(window.Text11, next.R_srub);
    next.Numer_sruby =
        static_cast<Int16>(window.cmbFi >= 0 && window.cmbFi < 32767 ? window.cmbFi + 1 : 0);
    const Int16Result bolts = ToInt16(window.Text12, locale);
    if (bolts.status == Convert::Ok) {
        next.Liczba_srub = bolts.value;
    }

    if (FileResult err = SaveSettingsFile(dir.filePath(SettingsFileName()), next)) {
        return err;
    }
    s.Strona = next.Strona;
    s.R_zewn = next.R_zewn;
    s.R_wewn = next.R_wewn;
    s.R_srub = next.R_srub;
    s.Numer_sruby = next.Numer_sruby;
    s.Liczba_srub = next.Liczba_srub;
    return std::nullopt;
}

}  // namespace vardel
