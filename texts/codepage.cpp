#include "texts/codepage.h"

#include <QStringDecoder>

#include <iconv.h>

#include <cerrno>

namespace vardel {
namespace {

const char* IconvName(CodePage page) {
    return page == CodePage::Windows1250 ? "WINDOWS-1250" : "WINDOWS-1252";
}

// Converts with iconv; nothing when a character cannot be converted.
std::optional<QByteArray> Iconv(const QByteArray& in, const char* to, const char* from) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return std::nullopt;
    }
    QByteArray out;
    out.resize(in.size() * 4 + 16);
    char* src = const_cast<char*>(in.constData());
    size_t srcLeft = static_cast<size_t>(in.size());
    char* dst = out.data();
    size_t dstLeft = static_cast<size_t>(out.size());
    const size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    iconv_close(cd);
    if (rc == static_cast<size_t>(-1) || srcLeft != 0) {
        return std::nullopt;
    }
    out.resize(out.size() - static_cast<qsizetype>(dstLeft));
    return out;
}

}  // namespace

bool IsValidUtf8(const QByteArray& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = decoder.decode(bytes);
    Q_UNUSED(decoded);
    return !decoder.hasError();
}

QString DecodeText(const QByteArray& bytes, CodePage fallback) {
    if (IsValidUtf8(bytes)) {
        return QString::fromUtf8(bytes);
    }
    if (const auto whole = Iconv(bytes, "UTF-8", IconvName(fallback))) {
        return QString::fromUtf8(*whole);
    }
    // Bytes that a code page leaves undefined (0x81 in Windows-1250, say) are taken as Latin-1
    // so that nothing read is dropped.
    QString out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        const QByteArray one(1, c);
        const auto utf8 = Iconv(one, "UTF-8", IconvName(fallback));
        out += utf8 ? QString::fromUtf8(*utf8) : QString(QChar(static_cast<unsigned char>(c)));
    }
    return out;
}

std::optional<QByteArray> EncodeCodePage(const QString& text, CodePage page) {
    return Iconv(text.toUtf8(), IconvName(page), "UTF-8");
}

}  // namespace vardel
