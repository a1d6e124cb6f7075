// Feeds arbitrary values and patterns to Format and arbitrary texts to the field parsers.
#include "fuzz/max_len.h"
#include "state/numbers.h"

#include <QLocale>

#include <cstdint>
#include <cstring>

// Patterns and field texts far longer than any the program uses.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    vardel::fuzz::DefaultMaxLen(argc, argv, 16 * 1024);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < sizeof(double)) {
        return 0;
    }
    double value;
    std::memcpy(&value, data, sizeof value);
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data + sizeof value),
                                           static_cast<qsizetype>(size - sizeof value));
    static const QLocale polish(QLocale::Polish, QLocale::Poland);
    static const QLocale c = QLocale::c();
    for (const QLocale* locale : {&polish, &c}) {
        const QString out = vardel::Format(value, text, *locale);
        // Every pattern character that is not a digit placeholder or the point is printed.
        if (out.size() > 400 + text.size() * 2) {
            __builtin_trap();
        }
        (void)vardel::Format(static_cast<float>(value), text, *locale);
        (void)vardel::ToInt16(text, *locale);
        (void)vardel::ToSingle(text, *locale);
    }
    (void)vardel::Format_kropka(static_cast<float>(value), text);
    return 0;
}
