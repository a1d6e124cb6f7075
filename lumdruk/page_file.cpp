#include "lumdruk/page_file.h"

#include "texts/codepage.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <cmath>

namespace vardel::lumdruk {

namespace {

// No page is larger than this: anything beyond is a damaged number, not a position.
constexpr double kMaxCoordinate_mm = 10000;
constexpr double kMaxTextHeight_mm = 200;

// Notes about the lines of a page file.
class Notes {
  public:
    void Add(int line, const QString& what) {
        notes_.Add(QStringLiteral("line %1: %2").arg(line).arg(what));
    }
    QStringList Take() { return notes_.Take(); }

  private:
    NoteList notes_;
};

// The lines of a page file one at a time, as views into its text: a file of nothing but line
// ends costs no more than its own size.
class LineCursor {
  public:
    explicit LineCursor(QStringView text) : rest_(text) {}
    // The next line without its line end (LF or CR LF); false after the last. A line end at the
    // very end of the text does not begin another line.
    bool Next(QStringView& line) {
        if (rest_.isEmpty()) {
            return false;
        }
        const qsizetype lf = rest_.indexOf(u'\n');
        line = lf < 0 ? rest_ : rest_.left(lf);
        rest_ = lf < 0 ? QStringView() : rest_.mid(lf + 1);
        if (line.endsWith(u'\r')) {
            line.chop(1);
        }
        ++number_;
        return true;
    }
    int Number() const { return number_; }

  private:
    QStringView rest_;
    int number_ = 0;
};

// A number as the page files write it: point decimal, optional sign, "178." allowed.
std::optional<double> ParseFileNumber(QStringView text) {
    static const QRegularExpression kNumber(
        QStringLiteral(R"(^[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d{1,3})?$)"));
    const QString t = text.trimmed().toString();
    if (!kNumber.match(t).hasMatch()) {
        return std::nullopt;
    }
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok || !std::isfinite(v)) {
        return std::nullopt;
    }
    return v;
}

std::optional<double> ParseCoordinateValue(QStringView text) {
    auto v = ParseFileNumber(text);
    if (!v || std::fabs(*v) > kMaxCoordinate_mm) {
        return std::nullopt;
    }
    return v;
}

std::optional<int> ParseFileInt(QStringView text) {
    auto v = ParseFileNumber(text);
    if (!v || *v != std::floor(*v) || std::fabs(*v) > 1e6) {
        return std::nullopt;
    }
    return static_cast<int>(*v);
}

std::optional<Coord> ParseCoord(QStringView field) {
    const QStringView t = field.trimmed();
    if (t.isEmpty()) {
        return Coord{true, 0};
    }
    if (t.front() == u'@') {
        auto v = ParseCoordinateValue(t.mid(1));
        if (!v) {
            return std::nullopt;
        }
        return Coord{true, *v};
    }
    auto v = ParseCoordinateValue(t);
    if (!v) {
        return std::nullopt;
    }
    return Coord{false, *v};
}

// Fields of a text command after x and y: 1, (empty), h, 1., 0., s1, s2, s3, weight, font.
// Fields that are absent or empty keep the current font's value.
enum TextField {
    kX = 0,
    kY = 1,
    kHeight = 4,
    kBold = 7,
    kItalic = 8,
    kUnderline = 9,
    kWeight = 10,
    kFont = 11
};

bool Present(const QStringList& f, int i) {
    return i < f.size() && !f[i].trimmed().isEmpty();
}

std::optional<TextOp> ParseText(const QStringList& f, TextStyle& current, QString* why) {
    if (f.size() < 2) {
        *why = QStringLiteral("a text command needs x and y");
        return std::nullopt;
    }
    TextOp op;
    auto x = ParseCoord(f[kX]);
    auto y = ParseCoord(f[kY]);
    if (!x || !y) {
        *why = QStringLiteral("the position is not a number");
        return std::nullopt;
    }
    op.x = *x;
    op.y = *y;
    TextStyle style = current;
    if (Present(f, kHeight)) {
        auto h = ParseFileNumber(f[kHeight]);
        if (!h || *h <= 0 || *h > kMaxTextHeight_mm) {
            *why = QStringLiteral("the text height is not a size");
            return std::nullopt;
        }
        style.height_mm = *h;
    }
    bool* switches[] = {&style.bold, &style.italic, &style.underline};
    for (int i = 0; i < 3; ++i) {
        if (Present(f, kBold + i)) {
            auto s = ParseFileInt(f[kBold + i]);
            if (!s) {
                *why = QStringLiteral("a style switch is not 0 or 1");
                return std::nullopt;
            }
            *switches[i] = *s != 0;
        }
    }
    if (Present(f, kWeight)) {
        auto w = ParseFileInt(f[kWeight]);
        if (!w) {
            *why = QStringLiteral("the font weight is not a number");
            return std::nullopt;
        }
        // A heavy weight is bold even without the bold switch.
        style.bold = style.bold || *w >= 600;
    }
    if (Present(f, kFont)) {
        auto font = ParseFileInt(f[kFont]);
        if (!font) {
            *why = QStringLiteral("the font number is not a number");
            return std::nullopt;
        }
        style.face = *font == 2 ? FontFace::Symbol : FontFace::Ordinary;
    }
    op.style = style;
    current = style;
    return op;
}

std::optional<PenOp> ParsePen(const QStringList& f, QString* why) {
    // "x, y, p"; the first lines of a header carry one more field, which is not needed here.
    if (f.size() < 3) {
        *why = QStringLiteral("a frame command needs x, y and 0 or 1");
        return std::nullopt;
    }
    auto x = ParseCoordinateValue(f[0]);
    auto y = ParseCoordinateValue(f[1]);
    auto p = ParseFileInt(f[2]);
    if (!x || !y || !p) {
        *why = QStringLiteral("a field of the frame command is not a number");
        return std::nullopt;
    }
    return PenOp{*x, *y, *p != 0};
}

std::optional<BitmapOp> ParseBitmap(const QStringList& f, QString* why) {
    if (f.size() < 4) {
        *why = QStringLiteral("a picture command needs x, y, width and height");
        return std::nullopt;
    }
    std::optional<double> v[4];
    for (int i = 0; i < 4; ++i) {
        v[i] = ParseCoordinateValue(f[i]);
        if (!v[i]) {
            *why = QStringLiteral("a field of the picture command is not a number");
            return std::nullopt;
        }
    }
    if (*v[2] <= 0 || *v[3] <= 0) {
        *why = QStringLiteral("the picture has no size");
        return std::nullopt;
    }
    return BitmapOp{*v[0], *v[1], *v[2], *v[3], {}};
}

}  // namespace

PageFile ParsePageFile(const QByteArray& bytes) {
    PageFile file;
    Notes notes;
    const QString text = DecodeText(bytes, CodePage::Windows1250);
    QStringView rest(text);
    if (rest.startsWith(QChar(0xFEFF))) {
        rest = rest.mid(1);
    }
    LineCursor lines(rest);
    // Every line is cut to a length that nothing the program writes comes near, so that one
    // endless line costs no more than a page of ordinary ones.
    const auto capped = [&](QStringView line) {
        if (line.size() > kMaxLineLength) {
            notes.Add(lines.Number(),
                      QStringLiteral("longer than %1 characters, the rest is left out")
                          .arg(kMaxLineLength));
            line = line.left(kMaxLineLength);
        }
        return line.toString();
    };

    TextStyle current;
    QStringView view;
    while (lines.Next(view)) {
        const int lineNo = lines.Number();
        if (view.trimmed().isEmpty()) {
            continue;
        }
        const QString line = capped(view);
        QStringList fields = line.split(u',');
        const auto code = ParseFileInt(fields[0]);
        fields.removeFirst();
        if (!code) {
            notes.Add(
                lineNo,
                QStringLiteral("not a drawing command, skipped: \"%1\"").arg(ShownText(line, 40)));
            continue;
        }
        const bool hasData = *code == 3 || *code == 13 || *code == 5;
        QString data;
        if (hasData) {
            // The data line belongs to its command whatever it looks like.
            if (QStringView next; lines.Next(next)) {
                data = capped(next);
            } else {
                notes.Add(lineNo,
                          QStringLiteral("the data line is missing at the end of the file"));
            }
        }
        QString why;
        switch (*code) {
            case 14:
                if (auto op = ParsePen(fields, &why)) {
                    file.ops.emplace_back(*op);
                }
                break;
            case 3:
            case 13:
                if (auto op = ParseText(fields, current, &why)) {
                    op->text = data;
                    op->page_label = *code == 13;
                    file.ops.emplace_back(*op);
                }
                break;
            case 5:
                if (auto op = ParseBitmap(fields, &why)) {
                    op->path = data.trimmed();
                    if (op->path.isEmpty()) {
                        why = QStringLiteral("the picture has no file name");
                    } else {
                        file.ops.emplace_back(*op);
                    }
                }
                break;
            case 9:
                file.ops.emplace_back(HeaderEndOp{});
                break;
            default:
                why = QStringLiteral("unknown command %1").arg(*code);
                break;
        }
        if (!why.isEmpty()) {
            notes.Add(lineNo, why + QStringLiteral(", skipped"));
        }
    }
    file.notes = notes.Take();
    return file;
}

QString ReadFailureText(const WholeFile& file) {
    switch (file.failure) {
        case ReadFailure::None:
            return {};
        case ReadFailure::NotAFile:
            return QStringLiteral("not a regular file");
        case ReadFailure::TooLarge:
            return QStringLiteral("larger than %1 MB").arg(file.maxBytes >> 20);
        case ReadFailure::Missing:
        case ReadFailure::Unreadable:
            break;
    }
    return file.systemReason;
}

std::optional<PageFile> ReadPageFile(const QString& path, QString* error) {
    const WholeFile bytes = ReadWholeFile(path, kMaxPageFileBytes);
    if (!bytes.ok()) {
        *error = QStringLiteral("cannot read the page file %1: %2")
                     .arg(ShownText(path, kMaxLineLength), ReadFailureText(bytes));
        return std::nullopt;
    }
    PageFile file = ParsePageFile(bytes.bytes);
    file.directory = QFileInfo(path).absolutePath();
    return file;
}

std::optional<Job> ParseJobFile(const QByteArray& bytes, const QString& directory, QString* error) {
    QStringList lines = DecodeText(bytes, CodePage::Windows1250).split(u'\n');
    for (QString& l : lines) {
        if (l.endsWith(u'\r')) {
            l.chop(1);
        }
    }
    if (!lines.isEmpty() && lines.front().startsWith(QChar(0xFEFF))) {
        lines.front().remove(0, 1);
    }
    if (lines.size() < 3 || lines[1].trimmed().isEmpty() || lines[2].trimmed().isEmpty()) {
        *error = QStringLiteral("the job file needs a mode line and the paths of two page files");
        return std::nullopt;
    }
    // The mode line is read as a list: items separated by commas or blanks. The last of the
    // five items is the page number.
    static const QRegularExpression kSeparators(QStringLiteral("[,\\s]+"));
    const QStringList items = lines[0].trimmed().split(kSeparators, Qt::SkipEmptyParts);
    const int mode = items.size() == 5 ? ParseFileInt(items[0]).value_or(0) : 0;
    const int page = items.size() == 5 ? ParseFileInt(items[4]).value_or(-32769) : -32769;
    if (mode == 0 || page < -32768 || page > 32767) {
        *error = QStringLiteral("the mode line of the job file is not understood: \"%1\"")
                     .arg(ShownText(lines[0], 60));
        return std::nullopt;
    }
    Job job;
    job.mode = mode;
    job.page = page;
    job.page_file = ResolveExistingPath(lines[1].trimmed(), directory);
    job.header_file = ResolveExistingPath(lines[2].trimmed(), directory);
    return job;
}

QString ResolveExistingPath(const QString& path, const QString& directory) {
    const QString joined =
        QDir::isRelativePath(path) && !directory.isEmpty() ? QDir(directory).filePath(path) : path;
    if (QFileInfo::exists(joined)) {
        return joined;
    }
    QString p = joined;
    if (p.contains(u'\\')) {
        QString slashed = p;
        slashed.replace(u'\\', u'/');
        if (QFileInfo::exists(slashed)) {
            return slashed;
        }
        p = slashed;
    }
    // "Piersc.BMP" written for a file saved as "Piersc.bmp".
    const QFileInfo info(p);
    const QDir dir = info.absoluteDir();
    const QStringList entries = dir.entryList(QDir::Files);
    for (const QString& name : entries) {
        if (name.compare(info.fileName(), Qt::CaseInsensitive) == 0) {
            return dir.filePath(name);
        }
    }
    return joined;
}

}  // namespace vardel::lumdruk
