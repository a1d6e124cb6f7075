// Feeds arbitrary bytes to the settings reader and the print status reader. Whatever the reader
// accepts, the writer must write in a form the reader accepts again with the same settings.
#include "fuzz/max_len.h"
#include "texts/print_status.h"
#include "texts/settings_file.h"

#include <cmath>
#include <cstdint>

namespace {

void Check(bool ok) {
    if (!ok) {
        __builtin_trap();
    }
}

// Loads are kept to one decimal and radii to whole millimetres; both through 7 significant
// digits.
bool Near(float a, float b, double step) {
    return std::fabs(static_cast<double>(a) - b) <= step + 1e-6 * std::fabs(static_cast<double>(a));
}

}  // namespace

// Long project names, long lines of blanks, long runs of bytes that are not UTF-8.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    vardel::fuzz::DefaultMaxLen(argc, argv, 64 * 1024);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vardel;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    (void)ParsePrintStatus(bytes);

    DesignCase first;
    const DesignCase untouched = first;
    if (ReadSettingsBytes(first, bytes, QStringLiteral("fuzz.cfg"))) {
        // A refused file leaves the state as it was.
        Check(first.Naz_proj == untouched.Naz_proj && first.Liczba_srub == untouched.Liczba_srub &&
              first.R_zewn == untouched.R_zewn);
        return 0;
    }
    DesignCase second;
    second.Es_Eb = first.Es_Eb;  // without a given n the file does not carry it
    const QByteArray written = SettingsFileBytes(first);
    Check(!ReadSettingsBytes(second, written, QStringLiteral("fuzz.cfg")));
    // What was read back writes the same file again, and no value strays further than its
    // rounding on the way.
    Check(SettingsFileBytes(second) == written);
    for (int i = 1; i <= kMaxCases; ++i) {
        Check(Near(first.N_kN[i], second.N_kN[i], 0.05) &&
              Near(first.M_kNm[i], second.M_kNm[i], 0.05) &&
              Near(first.V_kN[i], second.V_kN[i], 0.05));
    }
    Check(Near(first.R_zewn, second.R_zewn, 0.5) && Near(first.R_wewn, second.R_wewn, 0.5) &&
          Near(first.R_srub, second.R_srub, 0.5));
    return 0;
}
