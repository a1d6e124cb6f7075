#include "lumdruk/emf.h"

#include "state/file_write.h"

#include "lumdruk/render.h"

#include <QFontMetricsF>

#include <uemf.h>
#include <uemf_utf.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <tuple>
#include <vector>

namespace vardel::lumdruk {

namespace {

constexpr int32_t kMaxUnits = 10'000'000;  // 100 m: far beyond any page
// A bitmap goes into the metafile with no more pixels than its frame shows at 300 dpi (a frame
// taken at most the paper's size), and all of a page's bitmaps together with at most
// kMaxPagePixels: a picture of many megabytes named many times would otherwise be copied whole
// into the metafile each time.
constexpr double kPixelsPerMm = 300 / 25.4;
constexpr double kMaxPagePixels = 24.0 * 1024 * 1024;

int32_t U(double mm) {
    return static_cast<int32_t>(
        std::clamp<double>(std::lround(mm * kFontUnitsPerMm), -kMaxUnits, kMaxUnits));
}

U_POINTL Point(const QPointF& mm) {
    return point32_set(U(mm.x()), U(mm.y()));
}

U_RECTL Rect(const QRectF& mm) {
    return rectl_set(Point(mm.topLeft()), Point(mm.bottomRight()));
}

// The metafile under construction; frees what libUEMF allocated whatever happens.
class Metafile {
  public:
    Metafile() {
        // libUEMF builds the whole metafile in memory and writes it out only when finished;
        // the bytes are taken from its buffer, so its own file goes nowhere.
        ok_ = emf_start("/dev/null", 64 * 1024, 64 * 1024, &et_) == 0 &&
              emf_htable_create(128, 128, &eht_) == 0;
    }
    ~Metafile() {
        if (et_ != nullptr) {
            emf_free(&et_);
        }
        if (eht_ != nullptr) {
            emf_htable_free(&eht_);
        }
    }
    Metafile(const Metafile&) = delete;
    Metafile& operator=(const Metafile&) = delete;

    // Takes ownership of a record made by a *_set function.
    void Add(char* record) {
        if (record == nullptr) {
            ok_ = false;
            return;
        }
        if (!ok_) {
            std::free(record);
            return;
        }
        if (emf_append(reinterpret_cast<PU_ENHMETARECORD>(record), et_, 1) != 0) {
            ok_ = false;
        }
    }

    EMFHANDLES* Handles() { return eht_; }
    bool Ok() const { return ok_; }

    QByteArray Finish() {
        if (!ok_) {
            return {};
        }
        Add(U_EMREOF_set(0, nullptr, et_));
        // Fills in the header's size, record and handle counts, then writes to /dev/null.
        if (!ok_ || emf_finish(et_, eht_) != 0) {
            return {};
        }
        return QByteArray(et_->buf, static_cast<qsizetype>(et_->used));
    }

  private:
    EMFTRACK* et_ = nullptr;
    EMFHANDLES* eht_ = nullptr;
    bool ok_ = false;
};

// The font selected in the metafile, made anew only when the style changes.
struct SelectedFont {
    uint32_t handle = 0;
    TextStyle style;
};

void AddText(Metafile& emf, const PageText& text, SelectedFont& font) {
    if (text.text.isEmpty()) {
        return;
    }
    const QFont qfont = FontFor(text.style);
    if (font.handle == 0 || !(font.style == text.style)) {
        uint16_t* face = U_Utf8ToUtf16le(kFontFamily, 0, nullptr);
        const U_LOGFONT lf = logfont_set(
            -U(text.style.height_mm), 0, 0, 0, text.style.bold ? U_FW_BOLD : U_FW_NORMAL,
            text.style.italic ? 1 : 0, text.style.underline ? 1 : 0, 0, U_DEFAULT_CHARSET,
            U_OUT_DEFAULT_PRECIS, U_CLIP_DEFAULT_PRECIS, U_ANTIALIASED_QUALITY,
            U_VARIABLE_PITCH | U_FF_SWISS, face);
        std::free(face);
        uint32_t newFont = 0;
        emf.Add(extcreatefontindirectw_set(&newFont, emf.Handles(),
                                           reinterpret_cast<const char*>(&lf), nullptr));
        emf.Add(selectobject_set(newFont, emf.Handles()));
        if (font.handle != 0) {
            emf.Add(deleteobject_set(&font.handle, emf.Handles()));
        }
        font = SelectedFont{newFont, text.style};
    }

    const QByteArray utf8 = text.text.toUtf8();
    size_t units = 0;
    uint16_t* utf16 = U_Utf8ToUtf16le(utf8.constData(), 0, &units);
    if (utf16 == nullptr || units == 0) {
        std::free(utf16);
        return;
    }
    // One advance per UTF-16 unit, from the same metrics as the layout; a surrogate pair puts
    // its advance on the first unit. Rounding the running position keeps the sum exact.
    const QFontMetricsF fm(qfont);
    std::vector<uint32_t> dx(units, 0);
    double pos = 0;
    int32_t placed = 0;
    const QString& s = text.text;
    for (qsizetype i = 0; i < s.size() && static_cast<size_t>(i) < units; ++i) {
        const bool pair = s[i].isHighSurrogate() && i + 1 < s.size();
        pos += fm.horizontalAdvance(s.mid(i, pair ? 2 : 1));
        const int32_t next = static_cast<int32_t>(std::lround(pos));
        dx[static_cast<size_t>(i)] = static_cast<uint32_t>(std::max(0, next - placed));
        placed = next;
        if (pair) {
            ++i;
        }
    }
    const QRectF box(text.origin.x(), text.origin.y() - text.style.height_mm, text.advance_mm,
                     text.style.height_mm * 1.3);
    char* emrtext = emrtext_set(Point(text.origin), static_cast<U_NUM_STR>(units), 2, utf16,
                                U_ETO_NONE, Rect(box), dx.data());
    std::free(utf16);
    if (emrtext == nullptr) {
        emf.Add(nullptr);
        return;
    }
    emf.Add(U_EMREXTTEXTOUTW_set(Rect(box), U_GM_COMPATIBLE, 1.0f, 1.0f,
                                 reinterpret_cast<PU_EMRTEXT>(emrtext)));
    std::free(emrtext);
}

// The pixels a frame shows at most: its size (at most the paper's) at `pixelsPerMm`.
QSizeF FramePixels(const QRectF& mm, double pixelsPerMm) {
    return QSizeF(std::min(std::fabs(mm.width()), kPaperWidth_mm) * pixelsPerMm,
                  std::min(std::fabs(mm.height()), kPaperHeight_mm) * pixelsPerMm);
}

// The bitmaps of one page as they go into the metafile, each picture scaled once however often
// it is named; at most `maxPixelsPerMm` (> 0) for a picture meant for the screen.
class PageBitmaps {
  public:
    PageBitmaps(const Page& page, double maxPixelsPerMm)
        : pixelsPerMm_(maxPixelsPerMm > 0 ? std::min(maxPixelsPerMm, kPixelsPerMm) : kPixelsPerMm) {
        double total = 0;
        for (const PageItem& item : page.items) {
            if (const auto* image = std::get_if<PageImage>(&item);
                image && !image->image.isNull()) {
                const QSize size = Needed(*image, 1.0);
                total += static_cast<double>(size.width()) * size.height();
            }
        }
        scale_ = total > kMaxPagePixels ? std::sqrt(kMaxPagePixels / total) : 1.0;
    }

    // 24-bit RGB, at most the pixels the frame needs within the page's share.
    QImage For(const PageImage& item) {
        const QSize size = Needed(item, scale_);
        const auto key = std::tuple(item.image.cacheKey(), size.width(), size.height());
        auto it = scaled_.find(key);
        if (it == scaled_.end()) {
            QImage image =
                size == item.image.size()
                    ? item.image
                    : item.image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            it = scaled_.emplace(key, image.convertToFormat(QImage::Format_RGB888)).first;
        }
        return it->second;
    }

  private:
    QSize Needed(const PageImage& item, double scale) const {
        const QSizeF frame = FramePixels(item.rect, pixelsPerMm_) * scale;
        return QSize(
            std::clamp(static_cast<int>(std::ceil(frame.width())), 1, item.image.width()),
            std::clamp(static_cast<int>(std::ceil(frame.height())), 1, item.image.height()));
    }

    double pixelsPerMm_;
    double scale_ = 1.0;
    std::map<std::tuple<qint64, int, int>, QImage> scaled_;
};

void AddImage(Metafile& emf, const PageImage& item, PageBitmaps& bitmaps) {
    if (item.image.isNull()) {
        emf.Add(U_EMRRECTANGLE_set(Rect(item.rect)));
        return;
    }
    // 24-bit device-independent bitmap: bottom-up rows of B, G, R, each padded to 4 bytes.
    const QImage image = bitmaps.For(item);
    const int w = image.width();
    const int h = image.height();
    const int stride = (w * 3 + 3) & ~3;
    std::vector<char> px(static_cast<size_t>(stride) * static_cast<size_t>(h), 0);
    for (int row = 0; row < h; ++row) {
        const uchar* src = image.constScanLine(h - 1 - row);
        char* dst = px.data() + static_cast<size_t>(row) * static_cast<size_t>(stride);
        for (int x = 0; x < w; ++x) {
            dst[3 * x + 0] = static_cast<char>(src[3 * x + 2]);
            dst[3 * x + 1] = static_cast<char>(src[3 * x + 1]);
            dst[3 * x + 2] = static_cast<char>(src[3 * x + 0]);
        }
    }
    const U_BITMAPINFOHEADER bih =
        bitmapinfoheader_set(w, h, 1, 24, U_BI_RGB, static_cast<uint32_t>(px.size()), 0, 0, 0, 0);
    PU_BITMAPINFO bmi = bitmapinfo_set(bih, nullptr);
    const U_RECTL dest = Rect(item.rect);
    emf.Add(U_EMRSTRETCHDIBITS_set(dest, point32_set(dest.left, dest.top),
                                   point32_set(dest.right - dest.left, dest.bottom - dest.top),
                                   point32_set(0, 0), point32_set(w, h), U_DIB_RGB_COLORS,
                                   U_SRCCOPY, bmi, static_cast<uint32_t>(px.size()), px.data()));
    std::free(bmi);
}

}  // namespace

QByteArray EmfBytes(const Page& page, double maxPixelsPerMm) {
    Metafile emf;
    const U_RECTL paper =
        rectl_set(point32_set(0, 0), point32_set(U(kPaperWidth_mm), U(kPaperHeight_mm)));
    // One device unit is 0.01 mm: the reference device is the paper itself in those units.
    emf.Add(U_EMRHEADER_set(
        paper, paper, nullptr, 0, nullptr, sizel_set(U(kPaperWidth_mm), U(kPaperHeight_mm)),
        sizel_set(static_cast<int32_t>(kPaperWidth_mm), static_cast<int32_t>(kPaperHeight_mm)), 0));
    emf.Add(U_EMRSETMAPMODE_set(U_MM_TEXT));
    emf.Add(U_EMRSETBKMODE_set(U_TRANSPARENT));
    emf.Add(U_EMRSETTEXTALIGN_set(U_TA_BASELINE | U_TA_LEFT));
    emf.Add(U_EMRSETTEXTCOLOR_set(colorref3_set(0, 0, 0)));
    emf.Add(U_EMRSETSTRETCHBLTMODE_set(U_STRETCH_HALFTONE));
    emf.Add(selectobject_set(U_NULL_BRUSH, emf.Handles()));

    // A plain cosmetic pen comes out as a hair line in some readers: the frame pen is geometric
    // with its width.
    PU_EXTLOGPEN elp =
        extlogpen_set(U_PS_SOLID | U_PS_GEOMETRIC | U_PS_ENDCAP_SQUARE | U_PS_JOIN_MITER,
                      static_cast<uint32_t>(U(kLineWidth_mm)), U_BS_SOLID, colorref3_set(0, 0, 0),
                      U_HS_SOLIDCLR, 0, nullptr);
    uint32_t pen = 0;
    emf.Add(extcreatepen_set(&pen, emf.Handles(), nullptr, 0, nullptr, elp));
    std::free(elp);
    emf.Add(selectobject_set(pen, emf.Handles()));

    SelectedFont font;
    PageBitmaps bitmaps(page, maxPixelsPerMm);
    for (const PageItem& item : page.items) {
        if (const auto* line = std::get_if<PageLine>(&item)) {
            emf.Add(U_EMRMOVETOEX_set(Point(line->from)));
            emf.Add(U_EMRLINETO_set(Point(line->to)));
        } else if (const auto* text = std::get_if<PageText>(&item)) {
            AddText(emf, *text, font);
        } else if (const auto* image = std::get_if<PageImage>(&item)) {
            AddImage(emf, *image, bitmaps);
        }
    }
    return emf.Finish();
}

bool WriteEmf(const QString& path, const Page& page, QString* error, double maxPixelsPerMm) {
    const QByteArray bytes = EmfBytes(page, maxPixelsPerMm);
    if (bytes.isEmpty()) {
        *error = QStringLiteral("the page picture for %1 could not be built").arg(path);
        return false;
    }
    const QString reason = WriteWholeFile(path, bytes);
    if (!reason.isEmpty()) {
        *error = QStringLiteral("cannot write %1: %2").arg(path, reason);
        return false;
    }
    return true;
}

}  // namespace vardel::lumdruk
