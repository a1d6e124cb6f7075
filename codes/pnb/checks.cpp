#include "codes/pnb/checks.h"

#include "calc/stop.h"
#include "state/numbers.h"

#include <algorithm>
#include <cmath>

namespace vardel {

void CheckHorizontalForce(DesignCase& s, int i, const QLocale& locale) {
    // The sign of the force is only its direction; the ring and the bolt circle are symmetric.
    const float V = std::fabs(static_cast<float>(s.V_kG[i]));
    s.Wynik_V_u[i].reset();
    if (V <= 0.01f) {
        // No horizontal force, no verdict: an earlier run's verdict must not stand for this one.
        s.Wynik_V[i].clear();
        s.Wynik_V_nr[i] = 0;
        return;
    }
    ++s.Liczba_V;
    auto verdict = [&](int line, const QString& tail = QString()) {
        s.Wynik_V_nr[i] = static_cast<Int16>(line);
        s.Wynik_V[i] = s.Teksty[line] + tail;
    };
    if (0.3 * s.N_kG[i] > static_cast<double>(V)) {
        verdict(46);  // carried by friction
        return;
    }
    const int bolts = s.Liczba_srub;
    // The anchors of the compressed zone: every anchor of a wholly bearing plate, none of a
    // lifted one.
    int compressed = bolts;
    if (s.Docisk_blachy[i] == Bearing::Partly) {
        compressed = 0;
        for (int j = 1; j <= bolts; ++j) {
            compressed += s.Sig_sruby[j] < 0 ? 1 : 0;
        }
    } else if (s.Docisk_blachy[i] == Bearing::Lifted) {
        compressed = 0;
    }
    const auto pct = [&](float u) { return Format((u - 1.0f) * 100.0f, u"#0.0", locale) + u'%'; };
    if (s.Tryb_sru == 1 && compressed > 0) {
        const float area = ToSingleChecked(s.As_sruby * compressed);
        const float tau = ToSingleChecked(Div(Div(V, area), kKgcm2PerMpa));
        const float u = tau / s.fv_sruby;
        s.Wynik_V_u[i] = u;
        if (u < 1.0f) {
            verdict(47);
        } else if (u > 1.05f) {
            verdict(49);
            s.Wszystko_OK = false;
        } else {
            verdict(48, pct(u));
            s.Wszystko_OK = false;
        }
        return;
    }
    // All anchors carry the shear, the most stressed one in tension and shear together; also
    // when the compressed zone was to carry it but holds no anchor, which the verdict says.
    const int first = s.Tryb_sru == 1 ? kNoCompressedAnchorsLine : 50;
    const float area = ToSingleChecked(bolts * s.As_sruby);
    double sigma = 0;
    if (HasStressSketch(s, i)) {
        for (int j = 1; j <= bolts; ++j) {
            sigma = std::max(sigma, std::fabs(s.Sig_sr[j][i]));
        }
    }
    const float tau = ToSingleChecked(Div(Div(V, area), kKgcm2PerMpa));
    const float sigmaMpa = ToSingleChecked(sigma / kKgcm2PerMpa);
    const float st = sigmaMpa / s.ft_sruby;
    const float sv = tau / s.fv_sruby;
    const float u = ToSingleChecked(st * st + sv * sv);
    s.Wynik_V_u[i] = u;
    if (u < 1.0f) {
        verdict(first);
        return;
    }
    // An exceeded interaction fails the design, in this mode as in the other.
    s.Wszystko_OK = false;
    if (u > 1.05f) {
        verdict(first + 2);
    } else {
        verdict(first + 1, pct(u));
    }
}

void CheckBoltSteel(DesignCase& s, int i) {
    if (HasStressSketch(s, i) && s.Sig_s[i] / kKgcm2PerMpa > s.fd_stali) {
        s.Wszystko_OK = false;
    }
}

ConcreteVerdict CheckConcrete(DesignCase& s, int i) {
    const double sigma = s.Sig_b[i] / kKgcm2PerMpa;
    const float twice = 2.0f * s.fcd_betonu;
    if (sigma > twice) {
        s.Beton_OK = false;
        return ConcreteVerdict::AboveTwice;
    }
    if (sigma < s.fcd_betonu) {
        return ConcreteVerdict::Below;
    }
    s.Omega_u[i] = static_cast<float>(s.Sig_b[i] / (s.fcd_betonu * kKgcm2PerMpa));
    return ConcreteVerdict::Between;
}
CheckResult AnchorSteelPnb(const DesignCase& s, int i) {
    CheckResult r{"anchor_steel", "PN-B-03215:1999", 0.0, s.fd_stali, 0.0};
    if (HasStressSketch(s, i)) {
        r.Ed = s.Sig_s[i] / kKgcm2PerMpa;
        r.utilisation = Ratio(r.Ed, r.Rd);
    }
    return r;
}

CheckResult ConcretePnb(const DesignCase& s, int i) {
    const double sigma = s.Sig_b[i] / kKgcm2PerMpa;
    const float twice = 2.0f * s.fcd_betonu;
    return {"concrete", "PN-B-03264:2002", sigma, twice, Ratio(sigma, twice)};
}

CheckResult HorizontalForcePnb(const DesignCase& s, int i) {
    const double u = s.Wynik_V_u[i] ? static_cast<double>(*s.Wynik_V_u[i]) : 0.0;
    return {"shear", "PN-B-03215:1999", u, 1.0, u};
}

std::array<CheckResult, 3> ChecksPnb(const DesignCase& s, int i) {
    return {AnchorSteelPnb(s, i), ConcretePnb(s, i), HorizontalForcePnb(s, i)};
}

}  // namespace vardel
