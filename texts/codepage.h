// The 8-bit code pages of the program's files, and UTF-8 where the bytes are valid UTF-8.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace vardel {

enum class CodePage { Windows1250, Windows1252 };

bool IsValidUtf8(const QByteArray& bytes);

// UTF-8 when the bytes are valid UTF-8, otherwise the given code page (every byte decodes).
QString DecodeText(const QByteArray& bytes, CodePage fallback);

// The text in the code page, or nothing when some character has no place in it.
std::optional<QByteArray> EncodeCodePage(const QString& text, CodePage page);

// A piece of a damaged file quoted in a message: its first `maxChars` characters, each control
// or format character written as \xHH or \uHHHH, so that what reaches a terminal is only text.
QString ShownText(QStringView text, qsizetype maxChars);

}  // namespace vardel
