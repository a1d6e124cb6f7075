#include "texts/load_table.h"

#include "state/file_read.h"
#include "state/numbers.h"
#include "texts/codepage.h"

#include <QDir>
#include <QLocale>
#include <QStringDecoder>
#include <QStringList>

#include <algorithm>
#include <optional>

namespace vardel {
namespace {

const char16_t* const kColumnNames[] = {u"N", u"M", u"V"};

// A cell of a damaged table as a message quotes it: a pasted page must not become the message.
QString Shown(const QString& text) {
    return ShownText(text, 40);
}

// One row of the file: its cells without their quotes and the line it starts on.
struct Record {
    int line = 0;
    QStringList cells;
};

// The text of a table file: UTF-16 when it starts with a byte-order mark (spreadsheets save
// "Unicode text" so), else UTF-8 (a mark dropped) or Windows-1250. NUL bytes belong to no text
// file a table is saved as; they are refused rather than carried into messages.
std::optional<QString> TableText(const QByteArray& bytes, QString* why) {
    const auto utf16 = [&](QStringConverter::Encoding encoding) -> std::optional<QString> {
        QStringDecoder decode(encoding);
        QString text = decode(bytes.mid(2));
        if (decode.hasError() || text.contains(QChar(u'\0'))) {
            *why = QStringLiteral("to nie jest poprawny tekst UTF-16.");
            return std::nullopt;
        }
        return text;
    };
    if (bytes.startsWith("\xFF\xFE")) {
        return utf16(QStringConverter::Utf16LE);
    }
    if (bytes.startsWith("\xFE\xFF")) {
        return utf16(QStringConverter::Utf16BE);
    }
    if (bytes.contains('\0')) {
        *why = QStringLiteral(
            "plik zawiera bajty zerowe, to nie jest tabela tekstowa (zapisz ją jako CSV lub "
            "tekst).");
        return std::nullopt;
    }
    return DecodeText(bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes,
                      CodePage::Windows1250);
}

// The separator of the first row that is not blank: a tab, else a semicolon, else a comma, as
// it stands outside quotes.
QChar Separator(QStringView text) {
    bool quoted = false;
    bool tab = false;
    bool semicolon = false;
    bool content = false;
    for (const QChar c : text) {
        if (c == u'"') {
            quoted = !quoted;
        } else if (quoted) {
            continue;
        } else if (c == u'\n' || c == u'\r') {
            if (content) {
                break;
            }
            tab = semicolon = false;
        } else {
            tab = tab || c == u'\t';
            semicolon = semicolon || c == u';';
        }
        content = content || !c.isSpace();
    }
    return tab ? QChar(u'\t') : semicolon ? QChar(u';') : QChar(u',');
}

// Splits the text into rows and cells as spreadsheets write them: CR LF, LF and CR alike end a
// row; a cell in double quotes may hold the separator, a line end ("" is one quote); blank rows
// are left out. Nothing, with `why`, for a quote that is never closed.
std::optional<std::vector<Record>> Records(const QString& text, QChar separator, QString* why) {
    std::vector<Record> records;
    Record record{1, {}};
    QString cell;
    int line = 1;
    int quoteLine = 0;  // the line of an open quote; 0 outside quotes
    const auto endCell = [&] { record.cells << cell.trimmed(), cell.clear(); };
    const auto endRecord = [&] {
        endCell();
        if (!std::all_of(record.cells.cbegin(), record.cells.cend(),
                         [](const QString& c) { return c.isEmpty(); })) {
            records.push_back(std::move(record));
        }
        record = Record{line, {}};
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const bool lineEnd = c == u'\n' || c == u'\r';
        if (lineEnd && c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            ++i;
        }
        if (quoteLine != 0) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"') {
                cell += c;
                ++i;
            } else if (c == u'"') {
                quoteLine = 0;
            } else {
                cell += lineEnd ? QChar(u' ') : c;
                line += lineEnd ? 1 : 0;
            }
        } else if (c == u'"' && cell.trimmed().isEmpty()) {
            cell.clear();
            quoteLine = line;
        } else if (c == separator) {
            endCell();
        } else if (lineEnd) {
            ++line;
            endRecord();
        } else {
            cell += c;
        }
    }
    if (quoteLine != 0) {
        *why = QStringLiteral("wiersz %1: cudzysłów nie jest zamknięty.").arg(quoteLine);
        return std::nullopt;
    }
    endRecord();
    return records;
}

}  // namespace

std::variant<LoadTable, FileError> ParseLoadTable(const QByteArray& bytes,
                                                  const QString& fileName) {
    QString why;
    const auto failed = [&] {
        return FileError{QStringLiteral("Plik obciążeń %1: %2").arg(fileName, why)};
    };
    const std::optional<QString> text = TableText(bytes, &why);
    if (!text) {
        return failed();
    }
    const QChar separator = Separator(*text);
    const auto records = Records(*text, separator, &why);
    if (!records) {
        return failed();
    }
    auto fail = [&](int line, const QString& what) {
        return FileError{
            QStringLiteral("Plik obciążeń %1, wiersz %2: %3").arg(fileName).arg(line).arg(what)};
    };

    LoadTable table;
    // Only where the comma does not separate can it be a decimal comma.
    const bool decimalComma = separator != u',';
    int columns = 0;
    for (const Record& record : *records) {
        const int line = record.line;
        const QStringList& cells = record.cells;
        if (columns == 0) {
            columns = static_cast<int>(cells.size());
            if (columns != 3 && columns != 4) {
                return fail(line, QStringLiteral("tabela ma %1 kolumn; potrzebne są N, M, V, "
                                                 "z nazwą kombinacji przed nimi lub bez niej.")
                                      .arg(columns));
            }
            table.named = columns == 4;
        } else if (cells.size() != columns) {
            return fail(line,
                        QStringLiteral("%1 kolumn zamiast %2.").arg(cells.size()).arg(columns));
        }
        const int first = columns - 3;
        LoadRow row;
        if (table.named) {
            row.name = cells[0];
        }
        float* values[] = {&row.N_kN, &row.M_kNm, &row.V_kN};
        QString* texts[] = {&row.N_text, &row.M_text, &row.V_text};
        int unread = 0;
        int firstUnread = 0;
        for (int c = 0; c < 3; ++c) {
            QString cell = cells[first + c];
            if (decimalComma) {
                cell.replace(u',', u'.');
            }
            const SingleResult r = ToSingle(cell, QLocale::c());
            if (r.status == Convert::Overflow) {
                return fail(line, QStringLiteral("kolumna %1 (%2): liczba „%3” jest za duża.")
                                      .arg(first + c + 1)
                                      .arg(QString::fromUtf16(kColumnNames[c]), Shown(cell)));
            }
            if (r.status == Convert::NotANumber) {
                if (unread++ == 0) {
                    firstUnread = c;
                }
                continue;
            }
            *values[c] = r.value;
            *texts[c] = cell;
        }
        if (unread == 3 && &record == &records->front()) {
            continue;  // a header: no number where the numbers go
        }
        if (unread > 0) {
            return fail(line, QStringLiteral("kolumna %1 (%2): „%3” nie jest liczbą.")
                                  .arg(first + firstUnread + 1)
                                  .arg(QString::fromUtf16(kColumnNames[firstUnread]),
                                       Shown(cells[first + firstUnread])));
        }
        if (static_cast<int>(table.rows.size()) == kMaxLoadRows) {
            return fail(line, QStringLiteral("więcej niż %1 wierszy obciążeń.").arg(kMaxLoadRows));
        }
        table.rows.push_back(row);
    }
    if (table.rows.empty()) {
        return FileError{
            QStringLiteral("Plik obciążeń %1 nie zawiera żadnego wiersza obciążeń.").arg(fileName)};
    }
    return table;
}

std::variant<LoadTable, FileError> ReadLoadTable(const QString& path) {
    const QString shown = QDir::toNativeSeparators(path);
    const WholeFile file = ReadWholeFile(path, kMaxLoadTableBytes);
    if (file.failure == ReadFailure::Missing) {
        return FileError{QStringLiteral("Brak pliku obciążeń %1.").arg(shown)};
    }
    if (!file.ok()) {
        return FileError{
            QStringLiteral("Nie można odczytać pliku obciążeń %1: %2").arg(shown, file.Reason())};
    }
    return ParseLoadTable(file.bytes, shown);
}

}  // namespace vardel
