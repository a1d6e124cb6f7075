#include "tests/print/emf_fixture.h"

#include <uemf.h>

#include <cstdlib>

namespace vardel::test {
namespace {

constexpr int32_t kMm = 100;  // device units per millimetre

bool Append(char* record, EMFTRACK* et) {
    return record != nullptr && emf_append(reinterpret_cast<PU_ENHMETARECORD>(record), et, 1) == 0;
}

U_RECTL Rect(int32_t l, int32_t t, int32_t r, int32_t b) {
    return rectl_set(pointl_set(l, t), pointl_set(r, b));
}

}  // namespace

bool WriteFixtureEmf(const QString& path) {
    EMFTRACK* et = nullptr;
    EMFHANDLES* eht = nullptr;
    const QByteArray name = path.toLocal8Bit();
    if (emf_start(name.constData(), 100000, 25000, &et) != 0 ||
        emf_htable_create(128, 128, &eht) != 0) {
        return false;
    }
    const U_RECTL page = Rect(0, 0, 210 * kMm, 297 * kMm);
    bool ok = Append(U_EMRHEADER_set(page, page, nullptr, 0, nullptr,
                                     sizel_set(210 * kMm, 297 * kMm), sizel_set(210, 297), 0),
                     et);

    uint32_t pen = 0;
    PU_EXTLOGPEN elp = extlogpen_set(U_PS_GEOMETRIC | U_PS_SOLID | U_PS_ENDCAP_FLAT, 3 * kMm,
                                     U_BS_SOLID, colorref3_set(0, 0, 0), 0, 0, nullptr);
    ok = ok && Append(extcreatepen_set(&pen, eht, nullptr, 0, nullptr, elp), et);
    std::free(elp);
    ok = ok && Append(selectobject_set(pen, eht), et);
    ok = ok && Append(U_EMRSELECTOBJECT_set(U_NULL_BRUSH), et);
    ok = ok && Append(U_EMRRECTANGLE_set(Rect(20 * kMm, 10 * kMm, 197 * kMm, 40 * kMm)), et);

    uint32_t brush = 0;
    ok = ok && Append(createbrushindirect_set(&brush, eht,
                                              logbrush_set(U_BS_SOLID, colorref3_set(0, 0, 0), 0)),
                      et);
    ok = ok && Append(selectobject_set(brush, eht), et);
    ok = ok && Append(U_EMRRECTANGLE_set(Rect(100 * kMm, 200 * kMm, 120 * kMm, 220 * kMm)), et);
    ok = ok && Append(U_EMREOF_set(0, nullptr, et), et);
    ok = ok && emf_finish(et, eht) == 0;
    emf_free(&et);
    emf_htable_free(&eht);
    return ok;
}

}  // namespace vardel::test
