// Items of the program's line-oriented files, read and written the way the original files were:
// numbers and texts separated by blanks, commas or line ends.
#pragma once

#include "state/design_case.h"

#include <QString>
#include <QStringView>

namespace vardel {

// Reads items in order from a whole file's text.
//  - A number starts at the first character that is not a blank and ends at a blank, a comma, a
//    line end or the first character that cannot belong to a number, so that a key written
//    straight after its value ("300R_zewn") is still apart from it. A point is the decimal
//    separator.
//  - A text starts at the first character that is not a blank and runs to a comma or the end of
//    the line.
//  - An item missing from the rest of its line is taken from the next line, except right after a
//    comma: there the item is present and empty (a text "", a number missing).
//  - A whole line is read as it stands.
// Line ends are CR LF, LF or CR alone.
class ListInput {
  public:
    enum class Status { Ok, EndOfFile, NotANumber, Overflow };

    explicit ListInput(QString text);
    ListInput(const ListInput&) = delete;
    ListInput& operator=(const ListInput&) = delete;

    Status ReadNumber(double& out);
    Status ReadInt16(Int16& out);  // rounded half to even, as a 16-bit conversion does
    Status ReadSingle(float& out);
    Status ReadText(QString& out);
    Status ReadLine(QString& out);

    // The line (1-based) on which the last item began, or where reading stopped.
    int Line() const { return itemLine_; }
    // What stood where the last number was expected (for a message), at most 40 characters.
    QString Offending() const { return offending_; }
    bool AtEnd() const { return pos_ >= text_.size(); }
    // Nothing but blanks and line ends is left: the lines a newer writer adds are absent.
    bool RestIsBlank() const;

  private:
    qsizetype LineEndLength(qsizetype at) const;
    bool SkipBlanks();  // also across line ends; false at the end of the text
    // After an item: blanks, then one comma or the line end.
    void SkipSeparator();
    void SkipBlanksOnLine();

    QString owner_;     // the reader keeps its text alive
    QStringView text_;  // owner_ without a byte-order mark
    qsizetype pos_ = 0;
    int line_ = 1;
    int itemLine_ = 1;
    bool afterComma_ = false;  // the last item ended at a comma
    QString offending_;
};

// Integers and singles as list printing writes them: a blank in place of the plus sign and a
// blank after the number (" 8 ", "-3 ").
QString ListInt(long long value);
QString ListSingle(float value);

// A single in its shortest plain form: up to 7 significant digits, more only when 7 would not
// read back as the same value; no leading zero before the point (".5"), an exponent outside
// 1E-04..1E+07 ("1E+07").
QString SingleText(float value);

}  // namespace vardel
