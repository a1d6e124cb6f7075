#include "lumdruk/render.h"

#include "state/file_write.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrinter>
#include <QSvgGenerator>

#include <cmath>

namespace vardel::lumdruk {

namespace {

constexpr double kMmPerInch = 25.4;

QPen FramePen() {
    QPen pen(Qt::black);
    pen.setWidthF(kLineWidth_mm * kFontUnitsPerMm);
    pen.setCapStyle(Qt::SquareCap);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

QPointF Units(const QPointF& mm) {
    return mm * kFontUnitsPerMm;
}
QRectF Units(const QRectF& mm) {
    return QRectF(Units(mm.topLeft()), mm.size() * kFontUnitsPerMm);
}

// Writes the bytes of a finished picture whole, or says why not.
bool WriteBytes(const QString& path, const QByteArray& bytes, QString* error) {
    const QString reason = WriteWholeFile(path, bytes);
    if (!reason.isEmpty()) {
        *error = QStringLiteral("cannot write %1: %2").arg(path, reason);
        return false;
    }
    return true;
}

QString ContinuationPath(const QString& path, int number) {
    const QFileInfo info(path);
    return info.dir().filePath(
        QStringLiteral("%1-%2.%3").arg(info.completeBaseName()).arg(number).arg(info.suffix()));
}

}  // namespace

void PaintPage(QPainter& painter, const Page& page) {
    painter.save();
    // Work in 0.01 mm, the unit in which the fonts are sized.
    painter.scale(1 / kFontUnitsPerMm, 1 / kFontUnitsPerMm);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setBrush(Qt::NoBrush);
    for (const PageItem& item : page.items) {
        if (const auto* line = std::get_if<PageLine>(&item)) {
            painter.setPen(FramePen());
            painter.drawLine(Units(line->from), Units(line->to));
        } else if (const auto* text = std::get_if<PageText>(&item)) {
            painter.setPen(Qt::black);
            painter.setFont(FontFor(text->style));
            painter.drawText(Units(text->origin), text->text);
        } else if (const auto* image = std::get_if<PageImage>(&item)) {
            if (image->image.isNull()) {
                painter.setPen(FramePen());
                painter.drawRect(Units(image->rect));
            } else {
                painter.drawImage(Units(image->rect), image->image);
            }
        }
    }
    painter.restore();
}

QImage RenderPageImage(const Page& page, double dpi) {
    const double pxPerMm = dpi / kMmPerInch;
    QImage image(static_cast<int>(std::lround(kPaperWidth_mm * pxPerMm)),
                 static_cast<int>(std::lround(kPaperHeight_mm * pxPerMm)), QImage::Format_RGB32);
    image.fill(Qt::white);
    const int dpm = static_cast<int>(std::lround(pxPerMm * 1000));
    image.setDotsPerMeterX(dpm);
    image.setDotsPerMeterY(dpm);
    QPainter painter(&image);
    painter.scale(pxPerMm, pxPerMm);
    PaintPage(painter, page);
    painter.end();
    return image;
}

QByteArray PdfBytes(const std::vector<Page>& pages) {
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter pdf(&buffer);
        pdf.setCreator(QStringLiteral("Lumdruk"));
        pdf.setResolution(600);
        pdf.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
        QPainter painter;
        if (!painter.begin(&pdf)) {
            return {};
        }
        const double pxPerMm = pdf.resolution() / kMmPerInch;
        for (size_t i = 0; i < pages.size(); ++i) {
            if (i > 0) {
                pdf.newPage();
            }
            painter.save();
            painter.scale(pxPerMm, pxPerMm);
            PaintPage(painter, pages[i]);
            painter.restore();
        }
        painter.end();
    }
    return bytes;
}

bool WritePdf(const QString& path, const std::vector<Page>& pages, QString* error) {
    const QByteArray bytes = PdfBytes(pages);
    if (bytes.isEmpty()) {
        *error = QStringLiteral("cannot start the PDF %1").arg(path);
        return false;
    }
    return WriteBytes(path, bytes, error);
}

bool WriteSvg(const QString& path, const Page& page, QString* error) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    // 0.1 mm per SVG unit; the document states its size in millimetres.
    constexpr double kUnitsPerMm = 10;
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setResolution(static_cast<int>(std::lround(kUnitsPerMm * kMmPerInch)));
    svg.setSize(QSize(static_cast<int>(kPaperWidth_mm * kUnitsPerMm),
                      static_cast<int>(kPaperHeight_mm * kUnitsPerMm)));
    svg.setViewBox(QRectF(0, 0, kPaperWidth_mm * kUnitsPerMm, kPaperHeight_mm * kUnitsPerMm));
    svg.setTitle(QStringLiteral("Vardel"));
    QPainter painter;
    if (!painter.begin(&svg)) {
        *error = QStringLiteral("cannot start the SVG %1").arg(path);
        return false;
    }
    painter.scale(kUnitsPerMm, kUnitsPerMm);
    PaintPage(painter, page);
    painter.end();
    return WriteBytes(path, bytes, error);
}

bool WritePng(const QString& path, const Page& page, double dpi, QString* error) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!RenderPageImage(page, dpi).save(&buffer, "PNG")) {
        *error = QStringLiteral("cannot encode the PNG %1").arg(path);
        return false;
    }
    return WriteBytes(path, bytes, error);
}

SaveFormat FormatForPath(const QString& path) {
    const QString ext = QFileInfo(path).suffix().toLower();
    if (ext == u"emf") {
        return SaveFormat::Emf;
    }
    if (ext == u"pdf") {
        return SaveFormat::Pdf;
    }
    if (ext == u"svg") {
        return SaveFormat::Svg;
    }
    if (ext == u"png") {
        return SaveFormat::Png;
    }
    return SaveFormat::Unknown;
}

int SavePages(const QString& path, const std::vector<Page>& pages, QString* error) {
    if (pages.empty()) {
        *error = QStringLiteral("nothing to save");
        return 0;
    }
    const SaveFormat format = FormatForPath(path);
    if (format == SaveFormat::Unknown) {
        *error = QStringLiteral("%1: the name must end in .emf, .pdf, .svg or .png").arg(path);
        return 0;
    }
    if (format == SaveFormat::Pdf) {
        return WritePdf(path, pages, error) ? static_cast<int>(pages.size()) : 0;
    }
    int written = 0;
    for (size_t i = 0; i < pages.size(); ++i) {
        const QString p = i == 0 ? path : ContinuationPath(path, pages[i].number);
        bool ok = false;
        switch (format) {
            case SaveFormat::Emf:
                ok = WriteEmf(p, pages[i], error);
                break;
            case SaveFormat::Svg:
                ok = WriteSvg(p, pages[i], error);
                break;
            case SaveFormat::Png:
                ok = WritePng(p, pages[i], 300, error);
                break;
            default:
                break;
        }
        if (!ok) {
            return 0;
        }
        ++written;
    }
    return written;
}

bool PrintPages(QPrinter& printer, const std::vector<Page>& pages, QString* error) {
    // Full-page mode last: a page layout set after it would bring the printer's margins back.
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setFullPage(true);
    printer.setDocName(QStringLiteral("Vardel"));
    QPainter painter;
    if (!painter.begin(&printer)) {
        *error = QStringLiteral("the printer %1 cannot be started").arg(printer.printerName());
        return false;
    }
    // In full-page mode the painter's origin is the paper's corner, as the layout expects.
    const double pxPerMmX = printer.logicalDpiX() / kMmPerInch;
    const double pxPerMmY = printer.logicalDpiY() / kMmPerInch;
    for (size_t i = 0; i < pages.size(); ++i) {
        if (i > 0 && !printer.newPage()) {
            *error = QStringLiteral("the printer %1 refused a new page").arg(printer.printerName());
            painter.end();
            return false;
        }
        painter.save();
        painter.scale(pxPerMmX, pxPerMmY);
        PaintPage(painter, pages[i]);
        painter.restore();
    }
    if (!painter.end()) {
        *error = QStringLiteral("the printer %1 did not take the job").arg(printer.printerName());
        return false;
    }
    return true;
}

}  // namespace vardel::lumdruk
