#include "lumdruk/layout.h"

#include "texts/codepage.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QHash>
#include <QImageReader>
#include <QLineF>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <limits>
#include <span>
#include <utility>

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
    // A blank text takes no room on the paper: it neither separates nor joins blocks.
    bool visible = true;
    size_t order = 0;  // drawing order: the position of its command in the file
};

void Put(std::vector<Placed>& out, PageItem item, double top, double bottom, bool pageLabel) {
    Placed& p = out.emplace_back();
    p.item = std::move(item);
    p.top = top;
    p.bottom = bottom;
    p.page_label = pageLabel;
    const auto* text = std::get_if<PageText>(&p.item);
    p.visible = text == nullptr || !text->text.trimmed().isEmpty();
    p.order = out.size() - 1;
}

double Clamp(double v) {
    return std::clamp(v, -kMaxPosition_mm, kMaxPosition_mm);
}

// Applies drawing commands in order: the pen of the frame commands and the end of the previous
// text carry from one command to the next.
class Resolver {
  public:
    Resolver(const QString& directory, NoteList& notes) : directory_(directory), notes_(notes) {}

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
                notes_.Add(QStringLiteral("text \"%1\" runs past the right edge of the paper")
                               .arg(ShownText(t.text, 40)));
            }
            Put(out, t, y - fm.ascent() / kFontUnitsPerMm, y + fm.descent() / kFontUnitsPerMm,
                text->page_label);
        } else if (const auto* bitmap = std::get_if<BitmapOp>(&op)) {
            PageImage image;
            image.rect = QRectF(bitmap->x, bitmap->y, bitmap->w, bitmap->h);
            image.path = ResolveExistingPath(bitmap->path, directory_);
            // A picture named many times is read and decoded once: every frame shares its pixels.
            auto known = pictures_.constFind(image.path);
            if (known == pictures_.cend()) {
                known = pictures_.insert(image.path, Decode(image.path));
            }
            image.image = known->first;
            const QString& why = known->second;
            if (image.image.isNull()) {
                notes_.Add(QStringLiteral("picture %1 cannot be read (%2): an empty frame is drawn")
                               .arg(ShownText(bitmap->path, kMaxLineLength), why));
            }
            Put(out, image, image.rect.top(), image.rect.bottom(), false);
        }
    }

  private:
    // The picture in the file, or why there is none. Only a regular file of a picture's size is
    // read: a device or a pipe named by mistake could never end.
    static std::pair<QImage, QString> Decode(const QString& path) {
        const WholeFile file = ReadWholeFile(path, kMaxPictureFileBytes);
        if (!file.ok()) {
            return {QImage(), ReadFailureText(file)};
        }
        QBuffer buffer;
        buffer.setData(file.bytes);
        QImageReader reader(&buffer);
        QImage image = reader.read();
        return {image, reader.errorString()};
    }

    QString directory_;
    NoteList& notes_;
    QHash<QString, std::pair<QImage, QString>> pictures_;
    QPointF pen_{0, 0};
    QPointF text_end_{0, 0};
};

struct Split {
    std::vector<Placed> header;
    std::vector<Placed> body;
    bool had_header_end = false;
};

Split Resolve(const PageFile& file, NoteList& notes) {
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

const double kInfinity = std::numeric_limits<double>::infinity();

// The body has no notion of paragraphs, but the writer leaves more space between blocks (a
// load case, the summary) than between the lines of a block. Rather than leave the first lines
// of a block alone at the foot of a page, the page ends before the last block that starts
// within kKeepWindow_mm above the forced cut: at the last gap clearly wider than the line gap.
// With no such gap it ends at the forced cut.
//
// `items` are the first items of the rest of the body in the order of their tops, all of those
// that start above the forced cut: nothing lower bears on the gaps above it. One pass over them
// finds every gap, so that a page of many items is broken in the time it takes to sort them.
double ParagraphBreak(std::span<const Placed> items, double forcedCut, double limit) {
    const double first = items.front().top;
    // The tops of the visible items so far, and the lowest bottom among them up to each.
    std::vector<double> tops;
    std::vector<double> reach;
    // The space between what is drawn above `y` and `y` itself; infinite when nothing is drawn
    // above it, negative when something reaches past it.
    const auto gapAbove = [&](double y) {
        const auto above = std::partition_point(tops.begin(), tops.end(),
                                                [&](double top) { return top < y - kEps; });
        return above == tops.begin() ? kInfinity : y - reach[above - tops.begin() - 1];
    };
    std::vector<std::pair<double, double>> candidates;  // top, gap above it; tops ascending
    std::vector<double> gaps;
    for (const Placed& p : items) {
        if (!p.visible) {
            continue;
        }
        if (p.top > first + kEps && p.top < forcedCut - kEps) {
            const double gap = gapAbove(p.top);
            if (gap > 0) {
                gaps.push_back(gap);
            }
            if (p.top >= limit - kKeepWindow_mm) {
                candidates.emplace_back(p.top, gap);
            }
        }
        tops.push_back(p.top);
        reach.push_back(reach.empty() ? p.bottom : std::max(reach.back(), p.bottom));
    }
    if (gaps.empty()) {
        return forcedCut;
    }
    // The line gap: the usual (median) space above what is drawn on this page.
    const auto middle = gaps.begin() + static_cast<std::ptrdiff_t>(gaps.size() / 2);
    std::nth_element(gaps.begin(), middle, gaps.end());
    const double lineGap = *middle;
    if (gapAbove(forcedCut) >= lineGap + kClearGap_mm) {
        return forcedCut;
    }
    for (auto c = candidates.rbegin(); c != candidates.rend(); ++c) {
        if (c->second >= lineGap + kClearGap_mm) {
            return c->first;
        }
    }
    return forcedCut;
}

}  // namespace

QFont FontFor(const TextStyle& style) {
    return PageFont(style.height_mm, style.bold, style.italic, style.underline);
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
    NoteList noted;
    Split first = Resolve(pageFile, noted);
    if (!first.had_header_end) {
        noted.Add(
            QStringLiteral("the page file has no header end: all of it is taken as the body"));
        first.body = std::move(first.header);
        first.header.clear();
    }
    // The header-only file: what comes before its header end (all of it if it has none).
    const std::vector<Placed> continuationHeader = Resolve(headerFile, noted).header;

    std::vector<Page> pages;
    pages.push_back(Page{firstPage, {}});
    PlaceHeader(pages.back(), first.header, false);

    // The body in the order of the tops: each page takes the next run of it, so that breaking a
    // long body costs one sort and a look at each item, however many pages it fills.
    std::vector<Placed> body = std::move(first.body);
    std::stable_sort(body.begin(), body.end(),
                     [](const Placed& a, const Placed& b) { return a.top < b.top; });
    // The end of the run from `from` of the items whose tops satisfy `above`.
    const auto runEnd = [&](size_t from, const auto& above) {
        return static_cast<size_t>(
            std::partition_point(body.begin() + static_cast<ptrdiff_t>(from), body.end(), above) -
            body.begin());
    };

    const double bottom = kPaperHeight_mm - kFrameTop_mm - kBottomMargin_mm;
    size_t next = 0;   // the first item not yet placed
    double start = 0;  // body y that the top of the current page's body area shows
    while (next < body.size()) {
        const bool continuation = pages.size() > 1;
        const double limit = continuation ? start + (bottom - kContinuationTop_mm) : bottom;
        const double shift = continuation ? kContinuationTop_mm - start : 0;
        // The forced cut: the highest top among the items that run past the foot of the page,
        // which is the top of the first of them in the order of tops.
        size_t past = next;
        while (past < body.size() && body[past].bottom <= limit + kEps) {
            ++past;
        }
        double cut = kInfinity;
        if (past < body.size()) {
            cut = body[past].top;
            const size_t above = runEnd(next, [&](const Placed& p) { return p.top < cut; });
            cut = ParagraphBreak(std::span<const Placed>(body).subspan(next, above - next), cut,
                                 limit);
        }
        size_t end = runEnd(next, [&](const Placed& p) { return p.top < cut - kEps; });
        if (end == next) {
            // What starts at the cut is taller than the page: it stays here, clipped.
            end = runEnd(next, [&](const Placed& p) { return p.top <= cut + kEps; });
        }
        // Drawn in the order of the file.
        std::sort(body.begin() + static_cast<ptrdiff_t>(next),
                  body.begin() + static_cast<ptrdiff_t>(end),
                  [](const Placed& a, const Placed& b) { return a.order < b.order; });
        for (size_t i = next; i < end; ++i) {
            pages.back().items.push_back(Shifted(body[i].item, shift));
        }
        next = end;
        if (next == body.size()) {
            break;
        }
        if (static_cast<int>(pages.size()) >= kMaxPages) {
            noted.Add(QStringLiteral("the body needs more than %1 pages: the rest is left out")
                          .arg(kMaxPages));
            break;
        }
        // The next page starts with the first thing drawn; a blank line before it is not kept.
        start = body[next].top;
        for (size_t i = next; i < body.size(); ++i) {
            if (body[i].visible) {
                start = body[i].top;
                break;
            }
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
    notes->append(noted.Take());
    return pages;
}

}  // namespace vardel::lumdruk
