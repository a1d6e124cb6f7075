#include "texts/codepage.h"

#include <QStringDecoder>

#include <iconv.h>

#include <array>
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

using HighHalf = std::array<QChar, 128>;

// The characters of the bytes 0x80..0xFF, looked up once through iconv. Bytes that the code page
// leaves undefined (0x81 in Windows-1250, say) are taken as Latin-1 so that nothing read is
// dropped.
HighHalf MakeHighHalf(CodePage page) {
    HighHalf table{};
    for (int b = 0x80; b <= 0xFF; ++b) {
        const auto utf8 = Iconv(QByteArray(1, static_cast<char>(b)), "UTF-8", IconvName(page));
        const QString one = utf8 ? QString::fromUtf8(*utf8) : QString();
        table[static_cast<std::size_t>(b - 0x80)] = one.size() == 1 ? one[0] : QChar(b);
    }
    return table;
}

const HighHalf& HighHalfOf(CodePage page) {
    static const HighHalf windows1250 = MakeHighHalf(CodePage::Windows1250);
    static const HighHalf windows1252 = MakeHighHalf(CodePage::Windows1252);
    return page == CodePage::Windows1250 ? windows1250 : windows1252;
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
    // One byte is one character in these code pages: one pass through a table.
    const HighHalf& high = HighHalfOf(fallback);
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* to = out.data();
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        *to++ = b < 0x80 ? QChar(b) : high[b - 0x80u];
    }
    return out;
}

QString ShownText(QStringView text, qsizetype maxChars) {
    QString out;
    for (const QChar c : text.left(maxChars)) {
        switch (c.category()) {
            case QChar::Other_Control:
            case QChar::Other_Format:
            case QChar::Separator_Line:
            case QChar::Separator_Paragraph:
                out += c.unicode() < 0x100
                           ? QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QChar(u'0'))
                           : QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QChar(u'0'));
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::optional<QByteArray> EncodeCodePage(const QString& text, CodePage page) {
    return Iconv(text.toUtf8(), IconvName(page), "UTF-8");
}

}  // namespace vardel
