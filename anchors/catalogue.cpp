#include "anchors/catalogue.h"

#include "state/numbers.h"

#include <cmath>
#include <cstdint>

namespace vardel {
namespace {

constexpr int kOverflow = 6;
constexpr int kOutOfRange = 9;

// One row of the catalogue. L = 0 means the hook base length follows from the concrete; X = 0
// means no plate anchor.
struct Row {
    int d;
    int L;   // hook base length
    int Ld;  // threaded length
    int X;   // plate embedment depth before the concrete factor
    int a;
    int tp;
    int L1;
};

constexpr Row kRows[] = {
    {12, 580, 45, 0, 0, 0, 0},        {16, 770, 50, 0, 0, 0, 0},
    {20, 900, 55, 500, 100, 20, 0},   {24, 1080, 60, 500, 110, 20, 0},
    {30, 1330, 70, 650, 120, 20, 0},  {36, 0, 80, 800, 130, 20, 0},
    {42, 0, 85, 900, 150, 20, 0},     {48, 0, 90, 1000, 170, 20, 160},
    {52, 0, 95, 1100, 200, 20, 180},  {56, 0, 100, 1200, 200, 20, 200},
    {64, 0, 110, 1400, 230, 25, 220}, {72, 0, 120, 1600, 250, 30, 240},
    {80, 0, 130, 1800, 280, 32, 260},
};

const Row* FindRow(int d) {
    for (const Row& r : kRows) {
        if (r.d == d) {
            return &r;
        }
    }
    return nullptr;
}

// Lengths are 16-bit integers; a sum beyond their range is the platform's overflow.
std::optional<Int16> Fit(long long v) {
    if (v < INT16_MIN || v > INT16_MAX) {
        return std::nullopt;
    }
    return static_cast<Int16>(v);
}

// To the nearest multiple of 50 mm, halves up.
long long Round50(long long x) {
    return static_cast<long long>(std::floor(static_cast<double>(x) / 50.0 + 0.5)) * 50;
}

}  // namespace

std::variant<Anchors, AnchorError> ComputeAnchors(const DesignCase& s, Int16 thickness) {
    const int d = s.Fi_sruby;
    const Row* row = FindRow(d);
    if (row == nullptr) {
        return AnchorError{kOutOfRange};
    }
    Anchors a;
    a.d = s.Fi_sruby;
    a.Grubosc = thickness;
    // Hooks of 20 mm and more are bent round five diameters; the thin bars round two and a half.
    a.D = static_cast<Int16>(d >= 20 ? 5 * d : d * 5 / 2);
    a.Lh = static_cast<Int16>(std::floor(0.5 * kPi * (a.D + d + 5 * d)));
    a.Nosnosc = static_cast<float>(s.fd_stali * 0.1 * s.As_sruby);
    a.Ld = static_cast<Int16>(row->Ld);

    // The fixed hook lengths of the small bolts lie between 44 and 48 diameters; from 36 mm the
    // anchorage length is Wsp_lb diameters, 40 d in B15 down to 28 d in B37.
    const long long L = row->L != 0 ? row->L : std::llround(static_cast<double>(s.Wsp_lb) * d);
    const auto hookL = Fit(L);
    const auto hookLo = Fit(L + thickness + row->Ld);
    if (!hookL || !hookLo) {
        return AnchorError{kOverflow};
    }
    const auto hookTotal = Fit(Round50(static_cast<long long>(*hookLo) + a.Lh));
    if (!hookTotal) {
        return AnchorError{kOverflow};
    }
    a.hook = {*hookL, *hookLo, *hookTotal, QStringLiteral("F-%1-%2").arg(d).arg(*hookTotal)};

    if (row->X != 0) {
        PlateAnchor p;
        // The depth is scaled by the concrete factor in single precision and rounded half to
        // even: 500 x 0.775 is 387.5 and gives 388, 1100 x 0.775 gives 852.
        const float depth = static_cast<float>(row->X) * s.Wsp_bet;
        const auto Lp = Fit(std::llrint(depth));
        const auto Lo = Lp ? Fit(static_cast<long long>(*Lp) + thickness + row->Ld) : std::nullopt;
        if (!Lo) {
            return AnchorError{kOverflow};
        }
        // Below 48 mm the plate has no ribs and the total allows 30 mm more.
        const long long total = static_cast<long long>(*Lo) + row->tp + (d >= 48 ? 0 : 30);
        const auto Lcalk = Fit(total) ? Fit(Round50(total)) : std::nullopt;
        if (!Lcalk) {
            return AnchorError{kOverflow};
        }
        p.Lp = *Lp;
        p.a = static_cast<Int16>(row->a);
        p.tp = static_cast<Int16>(row->tp);
        p.L1 = static_cast<Int16>(row->L1);
        p.Lo = *Lo;
        p.Lcalk = *Lcalk;
        p.designation = QStringLiteral("P-%1-%2").arg(d).arg(*Lcalk);
        a.plate = p;
    }
    return a;
}

std::variant<Int16, AnchorError> AskThickness(Prompter& prompter, const QLocale& locale) {
    const QString title = QStringLiteral("Vardel 2005");
    const std::optional<QString> answer = prompter.AskText(
        QStringLiteral("Podaj łączną grubość blachy czołowej i podlewki w mm"), title, QString());
    const Int16Result t = answer ? ToInt16(*answer, locale) : Int16Result{Convert::NotANumber, 0};
    if (t.status == Convert::Overflow) {
        return AnchorError{kOverflow};
    }
    if (t.status == Convert::NotANumber) {
        prompter.Tell(title, QStringLiteral("Podany ciąg znaków nie tworzy liczby\n"
                                            "Przyjęto wartość ZERO."));
        return Int16{0};
    }
    // A negative thickness would shorten the anchorage below its base length.
    if (t.value < 0) {
        prompter.Tell(title, QStringLiteral("Grubość nie może być ujemna\n"
                                            "Przyjęto wartość ZERO."));
        return Int16{0};
    }
    return t.value;
}

QString AnchorErrorMessage(AnchorError e) {
    return Format(e.number, u"#####", QLocale::c()) + QStringLiteral("!!!!");
}

AnchorCaptions Captions(const Anchors& a, const QLocale& locale) {
    auto mm = [](const QString& designed, int value) {
        return designed + PlainInt(value) + QStringLiteral(" mm");
    };
    AnchorCaptions c;
    const QString capacity =
        caption::Nosnosc + Format(a.Nosnosc, u"### ##0.0", locale) + QStringLiteral(" kN");
    c.Nazwa[0] = a.hook.designation;
    c.dia[0] = mm(caption::dia, a.d);
    c.Nosnosc[0] = capacity;
    c.Lo[0] = mm(caption::Lo, a.hook.Lo);
    c.Ld[0] = mm(caption::Ld, a.Ld);
    c.Lcalk[0] = mm(caption::Lcalk, a.hook.Lcalk);
    c.Lh = mm(caption::Lh, a.Lh);
    c.D = mm(caption::D, a.D);
    if (a.plate) {
        const PlateAnchor& p = *a.plate;
        c.Nazwa[1] = p.designation;
        c.dia[1] = c.dia[0];
        c.Nosnosc[1] = capacity;
        c.Lo[1] = mm(caption::Lo, p.Lo);
        c.Ld[1] = c.Ld[0];
        c.Lcalk[1] = mm(caption::Lcalk, p.Lcalk);
        c.a = mm(caption::a, p.a);
        c.t = mm(caption::t, p.tp);
        c.L1 = mm(caption::L1, p.L1);
        c.L1Visible = a.d >= 48;
    }
    return c;
}

int SketchNumber(AnchorKind kind, Int16 d) {
    if (kind == AnchorKind::Hook) {
        return 1;
    }
    return d < 48 ? 2 : 3;
}

QString SketchFileName(int number) {
    switch (number) {
        case 1:
            return QStringLiteral("rys3f.bmp");
        case 2:
            return QStringLiteral("rys2pm.bmp");
        default:
            return QStringLiteral("rys2pd.bmp");
    }
}

}  // namespace vardel
