// Load tables from a frame analysis: one load case per row, read from a text file.
#pragma once

#include "texts/file_error.h"

#include <QByteArray>
#include <QString>

#include <variant>
#include <vector>

namespace vardel {

// More rows than this is not a table of combinations for one support but a mistake.
constexpr int kMaxLoadRows = 10000;
// Room for kMaxLoadRows rows with long names; a larger file is not a load table.
constexpr qint64 kMaxLoadTableBytes = qint64{4} << 20;

struct LoadRow {
    QString name;  // the combination's name; empty when the table has no name column
    float N_kN = 0;
    float M_kNm = 0;
    float V_kN = 0;
    // The numbers as the input window's fields read them, decimal point whatever the file used:
    // a row put into the fields calculates exactly as it did here.
    QString N_text, M_text, V_text;
};

struct LoadTable {
    bool named = false;
    std::vector<LoadRow> rows;  // row 1 of the table is rows[0]; a header row is not a row
};

// The table in a file as spreadsheets save it: N [kN], M [kNm], V [kN], optionally a first column
// with the name; separated by commas, semicolons or tabs (the first row decides), a decimal comma
// allowed with semicolons and tabs; cells in double quotes may hold the separator; CR LF, LF or
// CR line ends; UTF-8, Windows-1250 or UTF-16 with its byte-order mark; an optional header row;
// blank lines ignored; up to kMaxLoadRows rows; signs kept. A row that cannot be read fails the
// whole table, with a message naming the file's line and column and quoting at most 40
// characters. `fileName` is only used in messages. ReadLoadTable reads regular files of at most
// kMaxLoadTableBytes.
std::variant<LoadTable, FileError> ParseLoadTable(const QByteArray& bytes, const QString& fileName);
std::variant<LoadTable, FileError> ReadLoadTable(const QString& path);

}  // namespace vardel
