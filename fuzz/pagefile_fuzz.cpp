// Page files and job files from arbitrary bytes: reading, laying out and writing the EMF must
// never crash, hang or read outside their buffers.
#include "fuzz/max_len.h"
#include "lumdruk/emf.h"
#include "lumdruk/layout.h"
#include "lumdruk/page_file.h"

#include <QGuiApplication>

#include <cstdint>
#include <cstdlib>

namespace {

QGuiApplication* app = nullptr;

}  // namespace

// fontconfig keeps what it looks up for new font sizes in caches that live to the end of the
// process; those are not leaks of the code under test.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\n";
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // Long enough for lines past the length at which the reader cuts them.
    vardel::fuzz::DefaultMaxLen(argc, argv, 64 * 1024);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    app = new QGuiApplication(*argc, *argv);  // fonts for the layout
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vardel::lumdruk;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    QString error;
    (void)ParseJobFile(bytes, QStringLiteral("/nonexistent-lumdruk-fuzz"), &error);

    PageFile page = ParsePageFile(bytes);
    // Laying out is much slower than reading (every new font size is a new font engine): half
    // of the inputs exercise the reader alone so that it gets most of the runs.
    if (size == 0 || (data[0] & 1) == 0) {
        return 0;
    }
    // Pictures named by the input are not looked for on this machine's disk.
    page.directory = QStringLiteral("/nonexistent-lumdruk-fuzz");
    for (DrawOp& op : page.ops) {
        if (auto* bitmap = std::get_if<BitmapOp>(&op)) {
            bitmap->path = QStringLiteral("x.bmp");
        }
    }
    QStringList notes;
    const std::vector<Page> pages = LayoutPages(page, page, 1, &notes);
    if (pages.empty() || EmfBytes(pages.front()).isEmpty()) {
        std::abort();  // there is always a first page, and it can always be written
    }
    return 0;
}
