#include "lumdruk/layout.h"

#include <QFileInfo>
#include <QFontMetricsF>
#include <QImageReader>
#include <QLineF>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <limits>

namespace vardel::lumdruk {

namespace {

// Shorter lines are marks that fix the extent of a drawing (the header's first two commands
// make one at x = 178), not strokes to be seen.
constexpr double kMarkLength_mm = 0.2;
// Relative positions add up; keep them inside what every output can represent.
constexpr double kMaxPosition_mm = 100000;
constexpr int kMaxPages = 100;
constexpr double kEps = 1e-6;
// How far above the foot of a page a block may start and still be moved whole to the next
// page, and by how much a gap must exceed the line gap to count as the space between blocks.
constexpr double kKeepWindow_mm = 40;
constexpr double kClearGap_mm = 0.5;

struct Placed {
    PageItem item;  // in millimetres from the top-left corner of the header frame
    double top = 0;
    double bottom = 0;
    bool page_label = false;
};

void Put(std::vector<Placed>& out, PageItem item, double top, double bottom, bool pageLabel) {
    Placed& p = out.emplace_back();
    p.item = std::move(item);
    p.top = top;
    p.bottom = bottom;
    p.page_label = pageLabel;
}

double Clamp(double v) {
    return std::clamp(v, -kMaxPosition_mm, kMaxPosition_mm);
}

// Applies drawing commands in order: the pen of the frame commands and the end of the previous
// text carry from one command to the next.
class Resolver {
  public:
    Resolver(const QString& directory, QStringList* notes) : directory_(directory), notes_(notes) {}

    void Apply(const DrawOp& op, std::vector<Placed>& out) {
        if (const auto* pen = std::get_if<PenOp>(&op)) {
            const QPointF to(pen->x, pen->y);
            if (pen->draw && QLineF(pen_, to).length() >= kMarkLength_mm) {
                const double half = kLineWidth_mm / 2;
                Put(out, PageLine{pen_, to}, std::min(pen_.y(), to.y()) - half,
                    std::max(pen_.y(), to.y()) + half, false);
            }
            pen_ = to;
        } else if (const auto* text = std::get_if<TextOp>(&op)) {
            const double x =
                Clamp(text->x.relative ? text_end_.x() + text->x.value : text->x.value);
            const double y =
                Clamp(text->y.relative ? text_end_.y() + text->y.value : text->y.value);
            PageText t;
            t.origin = QPointF(x, y);
            t.style = text->style;
            t.text =
                text->style.face == FontFace::Symbol ? SymbolToUnicode(text->text) : text->text;
            const QFontMetricsF fm(FontFor(t.style));
            t.advance_mm = fm.horizontalAdvance(t.text) / kFontUnitsPerMm;
            text_end_ = QPointF(Clamp(x + t.advance_mm), y);
            if (text_end_.x() > kPaperWidth_mm - kFrameLeft_mm) {
                notes_->append(QStringLiteral("text \"%1\" runs past the right edge of the paper")
                                   .arg(t.text.left(40)));
            }
            Put(out, t, y - fm.ascent() / kFontUnitsPerMm, y + fm.descent() / kFontUnitsPerMm,
                text->page_label);
        } else if (const auto* bitmap = std::get_if<BitmapOp>(&op)) {
            PageImage image;
            image.rect = QRectF(bitmap->x, bitmap->y, bitmap->w, bitmap->h);
            image.path = ResolveExistingPath(bitmap->path, directory_);
            // Only a plain file is read: a device or a pipe named by mistake could never end.
            QString why = QStringLiteral("no such file");
            if (QFileInfo(image.path).isFile()) {
                QImageReader reader(image.path);
                image.image = reader.read();
                why = reader.errorString();
            }
            if (image.image.isNull()) {
                notes_->append(
                    QStringLiteral("picture %1 cannot be read (%2): an empty frame is drawn")
                        .arg(bitmap->path, why));
            }
            Put(out, image, image.rect.top(), image.rect.bottom(), false);
        }
    }

  private:
    QString directory_;
    QStringList* notes_;
    QPointF pen_{0, 0};
    QPointF text_end_{0, 0};
};

struct Split {
    std::vector<Placed> header;
    std::vector<Placed> body;
    bool had_header_end = false;
};

Split Resolve(const PageFile& file, QStringList* notes) {
    Split split;
    Resolver resolver(file.directory, notes);
    for (const DrawOp& op : file.ops) {
        if (std::holds_alternative<HeaderEndOp>(op)) {
            split.had_header_end = true;
            continue;
        }
        resolver.Apply(op, split.had_header_end ? split.body : split.header);
    }
    return split;
}

PageItem Shifted(const PageItem& item, double dy) {
    const QPointF d(kFrameLeft_mm, kFrameTop_mm + dy);
    return std::visit(
        [&](auto v) -> PageItem {
            using T = decltype(v);
            if constexpr (std::is_same_v<T, PageLine>) {
                v.from += d;
                v.to += d;
            } else if constexpr (std::is_same_v<T, PageText>) {
                v.origin += d;
            } else {
                v.rect.translate(d);
            }
            return v;
        },
        item);
}

void PlaceHeader(Page& page, const std::vector<Placed>& header, bool relabel) {
    for (const Placed& p : header) {
        if (relabel && p.page_label) {
            PageText t = std::get<PageText>(p.item);
            t.text = RelabelPage(t.text, page.number);
            t.advance_mm =
                QFontMetricsF(FontFor(t.style)).horizontalAdvance(t.text) / kFontUnitsPerMm;
            page.items.push_back(Shifted(t, 0));
        } else {
            page.items.push_back(Shifted(p.item, 0));
        }
    }
}

// A blank text takes no room on the paper: it neither separates nor joins blocks.
bool Visible(const Placed& p) {
    const auto* text = std::get_if<PageText>(&p.item);
    return text == nullptr || !text->text.trimmed().isEmpty();
}

// The space between what is drawn above `y` and `y` itself; infinite when nothing is drawn
// above it, negative when something reaches past it.
double GapAbove(const std::vector<Placed>& items, double y) {
    double above = -std::numeric_limits<double>::infinity();
    for (const Placed& p : items) {
        if (Visible(p) && p.top < y - kEps) {
            above = std::max(above, p.bottom);
        }
    }
    return y - above;
}

// The body has no notion of paragraphs, but the writer leaves more space between blocks (a
// load case, the summary) than between the lines of a block. Rather than leave the first lines
// of a block alone at the foot of a page, the page ends before the last block that starts
// within kKeepWindow_mm above the forced cut: at the last gap clearly wider than the line gap.
// With no such gap it ends at the forced cut.
double ParagraphBreak(const std::vector<Placed>& items, double forcedCut, double limit) {
    double first = std::numeric_limits<double>::infinity();
    for (const Placed& p : items) {
        first = std::min(first, p.top);
    }
    // The line gap: the usual (median) space above what is drawn on this page.
    std::vector<std::pair<double, double>> candidates;  // top, gap above it
    std::vector<double> gaps;
    for (const Placed& p : items) {
        if (!Visible(p) || p.top <= first + kEps || p.top >= forcedCut - kEps) {
            continue;
        }
        const double gap = GapAbove(items, p.top);
        if (gap > 0) {
            gaps.push_back(gap);
        }
        if (p.top >= limit - kKeepWindow_mm) {
            candidates.emplace_back(p.top, gap);
        }
    }
    if (gaps.empty()) {
        return forcedCut;
    }
    const auto middle = gaps.begin() + static_cast<std::ptrdiff_t>(gaps.size() / 2);
    std::nth_element(gaps.begin(), middle, gaps.end());
    const double lineGap = *middle;
    if (GapAbove(items, forcedCut) >= lineGap + kClearGap_mm) {
        return forcedCut;
    }
    std::sort(candidates.begin(), candidates.end(), std::greater<>());
    for (const auto& [top, gap] : candidates) {
        if (gap >= lineGap + kClearGap_mm) {
            return top;
        }
    }
    return forcedCut;
}

}  // namespace

QFont FontFor(const TextStyle& style) {
    QFont font(QString::fromLatin1(kFontFamily));
    font.setPixelSize(
        std::max(1, static_cast<int>(std::lround(style.height_mm * kFontUnitsPerMm))));
    font.setBold(style.bold);
    font.setItalic(style.italic);
    font.setUnderline(style.underline);
    // Positions must not depend on the device: no hinting, no kerning (the EMF carries one
    // advance per character).
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(false);
    return font;
}

QString SymbolToUnicode(const QString& text) {
    // The Latin letters of the symbol font's layout, A..Z and a..z.
    static const char16_t kUpper[] = u"ΑΒΧΔΕΦΓΗΙϑΚΛΜΝΟΠΘΡΣΤΥςΩΞΨΖ";
    static const char16_t kLower[] = u"αβχδεφγηιϕκλμνοπθρστυϖωξψζ";
    QString out = text;
    for (QChar& c : out) {
        const char16_t u = c.unicode();
        if (u >= u'A' && u <= u'Z') {
            c = QChar(kUpper[u - u'A']);
        } else if (u >= u'a' && u <= u'z') {
            c = QChar(kLower[u - u'a']);
        }
    }
    return out;
}

QString RelabelPage(const QString& label, int number) {
    static const QRegularExpression kTrailingNumber(QStringLiteral("-?\\d+(?=\\s*$)"));
    const QRegularExpressionMatch m = kTrailingNumber.match(label);
    if (m.hasMatch()) {
        QString out = label;
        out.replace(m.capturedStart(), m.capturedLength(), QString::number(number));
        return out;
    }
    if (label.isEmpty() || label.back().isSpace()) {
        return label + QString::number(number);
    }
    return label + u' ' + QString::number(number);
}

std::vector<Page> LayoutPages(const PageFile& pageFile, const PageFile& headerFile, int firstPage,
                              QStringList* notes) {
    Split first = Resolve(pageFile, notes);
    if (!first.had_header_end) {
        notes->append(
            QStringLiteral("the page file has no header end: all of it is taken as the body"));
        first.body = std::move(first.header);
        first.header.clear();
    }
    // The header-only file: what comes before its header end (all of it if it has none).
    const std::vector<Placed> continuationHeader = Resolve(headerFile, notes).header;

    std::vector<Page> pages;
    pages.push_back(Page{firstPage, {}});
    PlaceHeader(pages.back(), first.header, false);

    const double bottom = kPaperHeight_mm - kFrameTop_mm - kBottomMargin_mm;
    std::vector<Placed> remaining = std::move(first.body);
    double start = 0;  // body y that the top of the current page's body area shows
    while (!remaining.empty()) {
        const bool continuation = pages.size() > 1;
        const double limit = continuation ? start + (bottom - kContinuationTop_mm) : bottom;
        const double shift = continuation ? kContinuationTop_mm - start : 0;
        double cut = std::numeric_limits<double>::infinity();
        for (const Placed& p : remaining) {
            if (p.bottom > limit + kEps) {
                cut = std::min(cut, p.top);
            }
        }
        if (std::isfinite(cut)) {
            cut = ParagraphBreak(remaining, cut, limit);
        }
        std::vector<Placed> take;
        std::vector<Placed> rest;
        for (Placed& p : remaining) {
            (p.top < cut - kEps ? take : rest).push_back(std::move(p));
        }
        if (take.empty()) {
            // What starts at the cut is taller than the page: it stays here, clipped.
            std::vector<Placed> still;
            for (Placed& p : rest) {
                (p.top <= cut + kEps ? take : still).push_back(std::move(p));
            }
            rest = std::move(still);
        }
        for (const Placed& p : take) {
            pages.back().items.push_back(Shifted(p.item, shift));
        }
        remaining = std::move(rest);
        if (remaining.empty()) {
            break;
        }
        if (static_cast<int>(pages.size()) >= kMaxPages) {
            notes->append(QStringLiteral("the body needs more than %1 pages: the rest is left out")
                              .arg(kMaxPages));
            break;
        }
        // The next page starts with the first thing drawn; a blank line before it is not kept.
        start = std::numeric_limits<double>::infinity();
        double startAny = start;
        for (const Placed& p : remaining) {
            startAny = std::min(startAny, p.top);
            if (Visible(p)) {
                start = std::min(start, p.top);
            }
        }
        if (!std::isfinite(start)) {
            start = startAny;
        }
        const int number = firstPage + static_cast<int>(pages.size());
        pages.push_back(Page{number, {}});
        PlaceHeader(pages.back(), continuationHeader, true);
    }
    // Pictures go under everything else: a case sketch stands beside lines that may run into
    // it, and the numbers at their ends must stay readable.
    for (Page& page : pages) {
        std::stable_partition(page.items.begin(), page.items.end(), [](const PageItem& item) {
            return std::holds_alternative<PageImage>(item);
        });
    }
    return pages;
}

}  // namespace vardel::lumdruk
