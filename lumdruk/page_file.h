// The print program's inputs: the job file and the page files with their drawing commands.
//
// A page file is a list of command lines, each a numeric code and comma-separated fields; the
// text, page-label and picture commands are followed by exactly one data line. Coordinates are
// millimetres from the top-left corner of the page header frame, x to the right, y downwards.
#pragma once

#include "state/file_read.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>
#include <variant>
#include <vector>

namespace vardel::lumdruk {

// Font 5 of the page files is the ordinary font, font 2 the symbol font (Greek letters typed as
// Latin ones).
enum class FontFace { Ordinary, Symbol };

struct TextStyle {
    double height_mm = 3.5;  // the em size of the font
    bool bold = false;
    bool italic = false;
    bool underline = false;
    FontFace face = FontFace::Ordinary;
    friend bool operator==(const TextStyle&, const TextStyle&) = default;
};

// A coordinate of a text command: absolute, or relative to the previous text (x to where it
// ended, y to its baseline). An empty field is relative 0: the text continues the previous one.
struct Coord {
    bool relative = false;
    double value = 0;
    friend bool operator==(const Coord&, const Coord&) = default;
};

// Code 14: moves the pen to (x, y), or draws a line from the pen to (x, y).
struct PenOp {
    double x = 0;
    double y = 0;
    bool draw = false;
    friend bool operator==(const PenOp&, const PenOp&) = default;
};

// Code 3 (a text) and code 13 (the page label, a text that carries the page number).
struct TextOp {
    Coord x;
    Coord y;
    TextStyle style;
    QString text;
    bool page_label = false;
    friend bool operator==(const TextOp&, const TextOp&) = default;
};

// Code 5: a bitmap with its top-left corner at (x, y), drawn w wide and h high.
struct BitmapOp {
    double x = 0;
    double y = 0;
    double w = 0;
    double h = 0;
    QString path;
    friend bool operator==(const BitmapOp&, const BitmapOp&) = default;
};

// Code 9: the page header ends here; what follows is the body of the page.
struct HeaderEndOp {
    friend bool operator==(const HeaderEndOp&, const HeaderEndOp&) = default;
};

using DrawOp = std::variant<PenOp, TextOp, BitmapOp, HeaderEndOp>;

struct PageFile {
    std::vector<DrawOp> ops;
    // Lines that were skipped or read with a fallback, as "line N: what".
    QStringList notes;
    // Directory against which relative bitmap paths are resolved (the page file's own).
    QString directory;
};

// A line of a page file is cut at this length: a report line is a small fraction of it, and a
// path as long as the system allows still fits.
constexpr qsizetype kMaxLineLength = 4096;

// A damaged file should not flood standard error: of the notes about one file the first
// kMaxNotes are kept, and the rest are counted in one last note.
constexpr int kMaxNotes = 50;
class NoteList {
  public:
    void Add(const QString& note) {
        if (++count_ <= kMaxNotes) {
            kept_.append(note);
        }
    }
    // The notes kept and, when there were more, the count of the rest; the list starts anew.
    QStringList Take() {
        if (count_ > kMaxNotes) {
            kept_.append(QStringLiteral("%1 further notes left out").arg(count_ - kMaxNotes));
        }
        count_ = 0;
        return std::exchange(kept_, {});
    }

  private:
    QStringList kept_;
    qsizetype count_ = 0;
};

// Reads page-file bytes (UTF-8; Windows-1250 if they are not valid UTF-8; CR LF or LF). Never
// fails: an unknown or malformed line is skipped and noted.
PageFile ParsePageFile(const QByteArray& bytes);

// Why an input file could not be read, in the print program's words.
QString ReadFailureText(const WholeFile& file);

// Reads a page file from disk; nothing, with a message, when it cannot be read or is not a
// regular file of a page file's size.
std::optional<PageFile> ReadPageFile(const QString& path, QString* error);

// What the job asks the print program to do.
enum class JobMode {
    DefaultPrinter = -1,  // print on the default printer
    ChoosePrinter = 1,    // print after the print dialog
    SaveAs = 2,           // save dialog, then EMF, PDF, SVG or PNG by the chosen extension
    Clipboard = 3,        // page picture on the clipboard (not available on this platform)
    PagePicture = -2,     // page picture as $a1.emf beside the job file
};

struct Job {
    int mode = 0;  // one of JobMode, or an unknown number that the runner refuses
    int page = 1;  // page number of the first page
    QString page_file;
    QString header_file;
};

// Reads the job file: the mode line ("-2, 1.0, 0.5, 1.0, 3", also without the last comma), the
// page file and the header-only page file. Relative paths are taken from `directory`.
std::optional<Job> ParseJobFile(const QByteArray& bytes, const QString& directory, QString* error);

// A path written by a Windows-style writer may use backslashes or a different letter case than
// the file on disk; returns the path of an existing file that it names, or the path unchanged.
QString ResolveExistingPath(const QString& path, const QString& directory);

}  // namespace vardel::lumdruk
