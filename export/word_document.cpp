#include "export/word_document.h"

#include "state/file_write.h"

#include <QFileInfo>
#include <QXmlStreamWriter>

#include <zip.h>

#include <algorithm>
#include <cmath>
#include <utility>

namespace vardel {
namespace {

const QString kW = QStringLiteral("http://schemas.openxmlformats.org/wordprocessingml/2006/main");
const QString kR =
    QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships");
const QString kWp =
    QStringLiteral("http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing");
const QString kA = QStringLiteral("http://schemas.openxmlformats.org/drawingml/2006/main");
const QString kPic = QStringLiteral("http://schemas.openxmlformats.org/drawingml/2006/picture");
const QString kRel = QStringLiteral("http://schemas.openxmlformats.org/package/2006/relationships");
const QString kRelType =
    QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships/");

// A4 with the word processor's usual 2.5 cm margins, in twips.
constexpr int kPageWidth = 11906;
constexpr int kPageHeight = 16838;
constexpr int kMargin = 1417;
constexpr double kTextWidthPoints = (kPageWidth - 2 * kMargin) / 20.0;

// Relationship ids of the document part: styles and settings first, then one per image.
QString ImageRelId(int media) {
    return QStringLiteral("rId%1").arg(media + 2);
}

// XML 1.0 has no place for most control characters nor for a half of a surrogate pair: such
// characters become blanks or the replacement character, never a file the reader rejects.
QString XmlSafe(const QString& text) {
    QString out = text;
    for (qsizetype i = 0; i < out.size(); ++i) {
        const QChar c = out[i];
        if (c.unicode() < 0x20 && c != u'\t') {
            out[i] = u' ';
        } else if (c.isHighSurrogate() && i + 1 < out.size() && out[i + 1].isLowSurrogate()) {
            ++i;
        } else if (c.isSurrogate() || c.unicode() == 0xFFFE || c.unicode() == 0xFFFF) {
            out[i] = QChar(0xFFFD);
        }
    }
    return out;
}

class Xml {
  public:
    Xml() : w_(&bytes_) { w_.writeStartDocument(QStringLiteral("1.0"), true); }
    QXmlStreamWriter* operator->() { return &w_; }
    QByteArray Done() {
        w_.writeEndDocument();
        return bytes_;
    }

  private:
    QByteArray bytes_;
    QXmlStreamWriter w_;
};

QByteArray ContentTypesXml() {
    Xml x;
    const QString ct =
        QStringLiteral("http://schemas.openxmlformats.org/package/2006/content-types");
    x->writeDefaultNamespace(ct);
    x->writeStartElement(ct, QStringLiteral("Types"));
    const std::pair<const char*, const char*> defaults[] = {
        {"rels", "application/vnd.openxmlformats-package.relationships+xml"},
        {"xml", "application/xml"},
        {"png", "image/png"},
    };
    for (const auto& [ext, type] : defaults) {
        x->writeEmptyElement(ct, QStringLiteral("Default"));
        x->writeAttribute(QStringLiteral("Extension"), QString::fromLatin1(ext));
        x->writeAttribute(QStringLiteral("ContentType"), QString::fromLatin1(type));
    }
    const std::pair<const char*, const char*> overrides[] = {
        {"/word/document.xml",
         "application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"},
        {"/word/styles.xml",
         "application/vnd.openxmlformats-officedocument.wordprocessingml.styles+xml"},
        {"/word/settings.xml",
         "application/vnd.openxmlformats-officedocument.wordprocessingml.settings+xml"},
    };
    for (const auto& [part, type] : overrides) {
        x->writeEmptyElement(ct, QStringLiteral("Override"));
        x->writeAttribute(QStringLiteral("PartName"), QString::fromLatin1(part));
        x->writeAttribute(QStringLiteral("ContentType"), QString::fromLatin1(type));
    }
    x->writeEndElement();
    return x.Done();
}

QByteArray RelationshipsXml(const QList<std::pair<QString, QString>>& typeAndTarget) {
    Xml x;
    x->writeDefaultNamespace(kRel);
    x->writeStartElement(kRel, QStringLiteral("Relationships"));
    for (qsizetype k = 0; k < typeAndTarget.size(); ++k) {
        x->writeEmptyElement(kRel, QStringLiteral("Relationship"));
        x->writeAttribute(QStringLiteral("Id"), QStringLiteral("rId%1").arg(k + 1));
        x->writeAttribute(QStringLiteral("Type"), kRelType + typeAndTarget[k].first);
        x->writeAttribute(QStringLiteral("Target"), typeAndTarget[k].second);
    }
    x->writeEndElement();
    return x.Done();
}

// 8 pt text, single spacing and no space around paragraphs: lines 9.225 pt apart, which the
// export's picture offsets count on.
QByteArray StylesXml() {
    Xml x;
    x->writeNamespace(kW, QStringLiteral("w"));
    x->writeStartElement(kW, QStringLiteral("styles"));
    x->writeStartElement(kW, QStringLiteral("docDefaults"));
    x->writeStartElement(kW, QStringLiteral("rPrDefault"));
    x->writeStartElement(kW, QStringLiteral("rPr"));
    x->writeEmptyElement(kW, QStringLiteral("rFonts"));
    for (const char* a : {"ascii", "hAnsi", "eastAsia", "cs"}) {
        x->writeAttribute(kW, QString::fromLatin1(a), QStringLiteral("Times New Roman"));
    }
    for (const char* e : {"sz", "szCs"}) {
        x->writeEmptyElement(kW, QString::fromLatin1(e));
        x->writeAttribute(kW, QStringLiteral("val"), QStringLiteral("16"));
    }
    x->writeEmptyElement(kW, QStringLiteral("lang"));
    x->writeAttribute(kW, QStringLiteral("val"), QStringLiteral("pl-PL"));
    x->writeEndElement();
    x->writeEndElement();
    x->writeStartElement(kW, QStringLiteral("pPrDefault"));
    x->writeStartElement(kW, QStringLiteral("pPr"));
    x->writeEmptyElement(kW, QStringLiteral("spacing"));
    x->writeAttribute(kW, QStringLiteral("before"), QStringLiteral("0"));
    x->writeAttribute(kW, QStringLiteral("after"), QStringLiteral("0"));
    x->writeAttribute(kW, QStringLiteral("line"), QStringLiteral("240"));
    x->writeAttribute(kW, QStringLiteral("lineRule"), QStringLiteral("auto"));
    x->writeEndElement();
    x->writeEndElement();
    x->writeEndElement();
    x->writeStartElement(kW, QStringLiteral("style"));
    x->writeAttribute(kW, QStringLiteral("type"), QStringLiteral("paragraph"));
    x->writeAttribute(kW, QStringLiteral("default"), QStringLiteral("1"));
    x->writeAttribute(kW, QStringLiteral("styleId"), QStringLiteral("Normal"));
    x->writeEmptyElement(kW, QStringLiteral("name"));
    x->writeAttribute(kW, QStringLiteral("val"), QStringLiteral("Normal"));
    x->writeEndElement();
    x->writeEndElement();
    return x.Done();
}

// Print layout, and the current compatibility mode so that nothing is laid out the old way.
QByteArray SettingsXml() {
    Xml x;
    x->writeNamespace(kW, QStringLiteral("w"));
    x->writeStartElement(kW, QStringLiteral("settings"));
    x->writeEmptyElement(kW, QStringLiteral("view"));
    x->writeAttribute(kW, QStringLiteral("val"), QStringLiteral("print"));
    x->writeEmptyElement(kW, QStringLiteral("defaultTabStop"));
    x->writeAttribute(kW, QStringLiteral("val"), QStringLiteral("708"));
    x->writeStartElement(kW, QStringLiteral("compat"));
    x->writeEmptyElement(kW, QStringLiteral("compatSetting"));
    x->writeAttribute(kW, QStringLiteral("name"), QStringLiteral("compatibilityMode"));
    x->writeAttribute(kW, QStringLiteral("uri"),
                      QStringLiteral("http://schemas.microsoft.com/office/word"));
    x->writeAttribute(kW, QStringLiteral("val"), QStringLiteral("15"));
    x->writeEndElement();
    x->writeEndElement();
    return x.Done();
}

// The archive built in memory with libzip.
class ZipWriter {
  public:
    ZipWriter() {
        zip_error_init(&error_);
        source_ = zip_source_buffer_create(nullptr, 0, 0, &error_);
        if (source_) {
            zip_source_keep(source_);
            zip_ = zip_open_from_source(source_, ZIP_TRUNCATE, &error_);
        }
    }
    ~ZipWriter() {
        if (zip_) {
            zip_discard(zip_);
        }
        if (source_) {
            zip_source_free(source_);
        }
        zip_error_fini(&error_);
    }
    ZipWriter(const ZipWriter&) = delete;
    ZipWriter& operator=(const ZipWriter&) = delete;

    // The bytes must live until Finish.
    bool Add(const char* name, const QByteArray& bytes) {
        if (!zip_) {
            return false;
        }
        zip_source_t* s =
            zip_source_buffer(zip_, bytes.constData(), static_cast<zip_uint64_t>(bytes.size()), 0);
        if (!s) {
            return false;
        }
        if (zip_file_add(zip_, name, s, ZIP_FL_ENC_UTF_8) < 0) {
            zip_source_free(s);
            return false;
        }
        return true;
    }

    QByteArray Finish() {
        if (!zip_ || zip_close(zip_) != 0) {
            return {};
        }
        zip_ = nullptr;
        QByteArray out;
        zip_stat_t st;
        if (zip_source_stat(source_, &st) != 0 || zip_source_open(source_) != 0) {
            return {};
        }
        out.resize(static_cast<qsizetype>(st.size));
        const zip_int64_t got =
            zip_source_read(source_, out.data(), static_cast<zip_uint64_t>(out.size()));
        zip_source_close(source_);
        if (got != static_cast<zip_int64_t>(out.size())) {
            return {};
        }
        return out;
    }

  private:
    zip_error_t error_;
    zip_source_t* source_ = nullptr;
    zip_t* zip_ = nullptr;
};

}  // namespace

void WordDocument::AppendText(const QString& text, Style style) {
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        const bool end = i == text.size();
        if (!end && text[i] != u'\r' && text[i] != u'\n') {
            continue;
        }
        if (i > start) {
            paragraphs_.last().append(Run{text.mid(start, i - start), style});
        }
        if (end) {
            break;
        }
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            ++i;
        }
        paragraphs_.emplaceBack();
        start = i + 1;
    }
}

int WordDocument::Media(const QString& path, const QByteArray& png) {
    qsizetype k = mediaSources_.indexOf(path);
    if (k < 0) {
        media_.append(png);
        mediaSources_.append(path);
        k = media_.size() - 1;
    }
    return static_cast<int>(k) + 1;
}

QString WordDocument::AddPicture(const QString& path, QString* reason) {
    std::optional<EmbeddedPicture> p = LoadEmbeddedPicture(path, reason);
    if (!p) {
        return {};
    }
    // The word processor counts its shapes from 2.
    Picture pic{QStringLiteral("Picture %1").arg(pictures_.size() + inline_.size() + 2),
                Media(path, p->png), QFileInfo(path).fileName(),
                std::llround(p->widthPoints * kEmuPerPoint),
                std::llround(p->heightPoints * kEmuPerPoint)};
    pictures_.append(pic);
    return pic.name;
}

bool WordDocument::AppendPicture(const QString& path, QString* reason) {
    std::optional<EmbeddedPicture> p = LoadEmbeddedPicture(path, reason);
    if (!p) {
        return false;
    }
    const double scale = std::min(1.0, kTextWidthPoints / p->widthPoints);
    inline_.append(Picture{QStringLiteral("Picture %1").arg(pictures_.size() + inline_.size() + 2),
                           Media(path, p->png), QFileInfo(path).fileName(),
                           std::llround(p->widthPoints * scale * kEmuPerPoint),
                           std::llround(p->heightPoints * scale * kEmuPerPoint)});
    if (!paragraphs_.last().isEmpty()) {
        paragraphs_.emplaceBack();
    }
    paragraphs_.last().append(Run{QString(), Style::Plain, static_cast<int>(inline_.size()) - 1});
    paragraphs_.emplaceBack();
    return true;
}

WordDocument::Picture* WordDocument::Find(const QString& name) {
    for (Picture& p : pictures_) {
        if (p.name == name) {
            return &p;
        }
    }
    return nullptr;
}

bool WordDocument::IncrementTop(const QString& name, double points) {
    Picture* p = Find(name);
    if (p) {
        p->down += std::llround(points * kEmuPerPoint);
    }
    return p != nullptr;
}

bool WordDocument::IncrementLeft(const QString& name, double points) {
    Picture* p = Find(name);
    if (p) {
        p->right += std::llround(points * kEmuPerPoint);
    }
    return p != nullptr;
}

void WordDocument::Close() {
    *this = WordDocument();
}

QByteArray WordDocument::DocumentXml() const {
    Xml x;
    x->writeNamespace(kW, QStringLiteral("w"));
    x->writeNamespace(kR, QStringLiteral("r"));
    x->writeNamespace(kWp, QStringLiteral("wp"));
    x->writeNamespace(kA, QStringLiteral("a"));
    x->writeNamespace(kPic, QStringLiteral("pic"));
    x->writeStartElement(kW, QStringLiteral("document"));
    x->writeStartElement(kW, QStringLiteral("body"));
    const auto attr = [&](const char* name, auto value) {
        x->writeAttribute(QString::fromLatin1(name), QString::number(value));
    };
    // The picture's size, without room for effects: the same in the flow and floating.
    const auto extent = [&](const Picture& p) {
        x->writeEmptyElement(kWp, QStringLiteral("extent"));
        attr("cx", p.width);
        attr("cy", p.height);
        x->writeEmptyElement(kWp, QStringLiteral("effectExtent"));
        for (const char* e : {"l", "t", "r", "b"}) {
            attr(e, 0);
        }
    };
    // From the picture's name to its image: the same in the flow and floating.
    const auto graphic = [&](const Picture& p, int id) {
        x->writeEmptyElement(kWp, QStringLiteral("docPr"));
        attr("id", id);
        x->writeAttribute(QStringLiteral("name"), p.name);
        x->writeStartElement(kWp, QStringLiteral("cNvGraphicFramePr"));
        x->writeEmptyElement(kA, QStringLiteral("graphicFrameLocks"));
        attr("noChangeAspect", 1);
        x->writeEndElement();
        x->writeStartElement(kA, QStringLiteral("graphic"));
        x->writeStartElement(kA, QStringLiteral("graphicData"));
        x->writeAttribute(QStringLiteral("uri"), kPic);
        x->writeStartElement(kPic, QStringLiteral("pic"));
        x->writeStartElement(kPic, QStringLiteral("nvPicPr"));
        x->writeEmptyElement(kPic, QStringLiteral("cNvPr"));
        attr("id", id);
        x->writeAttribute(QStringLiteral("name"), XmlSafe(p.fileName));
        x->writeEmptyElement(kPic, QStringLiteral("cNvPicPr"));
        x->writeEndElement();
        x->writeStartElement(kPic, QStringLiteral("blipFill"));
        x->writeEmptyElement(kA, QStringLiteral("blip"));
        x->writeAttribute(kR, QStringLiteral("embed"), ImageRelId(p.media));
        x->writeStartElement(kA, QStringLiteral("stretch"));
        x->writeEmptyElement(kA, QStringLiteral("fillRect"));
        x->writeEndElement();
        x->writeEndElement();
        x->writeStartElement(kPic, QStringLiteral("spPr"));
        x->writeStartElement(kA, QStringLiteral("xfrm"));
        x->writeEmptyElement(kA, QStringLiteral("off"));
        attr("x", 0);
        attr("y", 0);
        x->writeEmptyElement(kA, QStringLiteral("ext"));
        attr("cx", p.width);
        attr("cy", p.height);
        x->writeEndElement();
        x->writeStartElement(kA, QStringLiteral("prstGeom"));
        x->writeAttribute(QStringLiteral("prst"), QStringLiteral("rect"));
        x->writeEmptyElement(kA, QStringLiteral("avLst"));
        x->writeEndElement();
        x->writeEndElement();  // spPr
        x->writeEndElement();  // pic
        x->writeEndElement();  // graphicData
        x->writeEndElement();  // graphic
    };
    for (qsizetype k = 0; k < paragraphs_.size(); ++k) {
        x->writeStartElement(kW, QStringLiteral("p"));
        if (k == 0) {
            int z = 0;
            for (const Picture& p : pictures_) {
                x->writeStartElement(kW, QStringLiteral("r"));
                x->writeStartElement(kW, QStringLiteral("drawing"));
                x->writeStartElement(kWp, QStringLiteral("anchor"));
                for (const char* d : {"distT", "distB", "distL", "distR", "simplePos"}) {
                    attr(d, 0);
                }
                attr("relativeHeight", 251658240 + ++z);
                for (const char* a : {"behindDoc", "locked"}) {
                    attr(a, 0);
                }
                for (const char* a : {"layoutInCell", "allowOverlap"}) {
                    attr(a, 1);
                }
                x->writeEmptyElement(kWp, QStringLiteral("simplePos"));
                attr("x", 0);
                attr("y", 0);
                x->writeStartElement(kWp, QStringLiteral("positionH"));
                x->writeAttribute(QStringLiteral("relativeFrom"), QStringLiteral("column"));
                x->writeTextElement(kWp, QStringLiteral("posOffset"), QString::number(p.right));
                x->writeEndElement();
                x->writeStartElement(kWp, QStringLiteral("positionV"));
                x->writeAttribute(QStringLiteral("relativeFrom"), QStringLiteral("paragraph"));
                x->writeTextElement(kWp, QStringLiteral("posOffset"), QString::number(p.down));
                x->writeEndElement();
                extent(p);
                x->writeEmptyElement(kWp, QStringLiteral("wrapTopAndBottom"));
                graphic(p, z + 1);
                x->writeEndElement();  // anchor
                x->writeEndElement();  // drawing
                x->writeEndElement();  // r
            }
        }
        for (const Run& run : paragraphs_[k]) {
            x->writeStartElement(kW, QStringLiteral("r"));
            if (run.picture >= 0) {
                const Picture& p = inline_[run.picture];
                x->writeStartElement(kW, QStringLiteral("drawing"));
                x->writeStartElement(kWp, QStringLiteral("inline"));
                for (const char* d : {"distT", "distB", "distL", "distR"}) {
                    attr(d, 0);
                }
                extent(p);
                graphic(p, static_cast<int>(pictures_.size()) + 2 + run.picture);
                x->writeEndElement();  // inline
                x->writeEndElement();  // drawing
                x->writeEndElement();  // r
                continue;
            }
            if (run.style == Style::Subscript) {
                x->writeStartElement(kW, QStringLiteral("rPr"));
                x->writeEmptyElement(kW, QStringLiteral("vertAlign"));
                x->writeAttribute(kW, QStringLiteral("val"), QStringLiteral("subscript"));
                x->writeEndElement();
            }
            const QStringList pieces = XmlSafe(run.text).split(u'\t');
            for (qsizetype i = 0; i < pieces.size(); ++i) {
                if (i > 0) {
                    x->writeEmptyElement(kW, QStringLiteral("tab"));
                }
                if (!pieces[i].isEmpty()) {
                    x->writeStartElement(kW, QStringLiteral("t"));
                    x->writeAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
                    x->writeCharacters(pieces[i]);
                    x->writeEndElement();
                }
            }
            x->writeEndElement();
        }
        x->writeEndElement();
    }
    // A4 with the word processor's usual 2.5 cm margins.
    x->writeStartElement(kW, QStringLiteral("sectPr"));
    x->writeEmptyElement(kW, QStringLiteral("pgSz"));
    x->writeAttribute(kW, QStringLiteral("w"), QString::number(kPageWidth));
    x->writeAttribute(kW, QStringLiteral("h"), QString::number(kPageHeight));
    x->writeEmptyElement(kW, QStringLiteral("pgMar"));
    for (const char* m : {"top", "right", "bottom", "left"}) {
        x->writeAttribute(kW, QString::fromLatin1(m), QString::number(kMargin));
    }
    for (const char* m : {"header", "footer"}) {
        x->writeAttribute(kW, QString::fromLatin1(m), QStringLiteral("708"));
    }
    x->writeAttribute(kW, QStringLiteral("gutter"), QStringLiteral("0"));
    x->writeEndElement();
    x->writeEndElement();  // body
    x->writeEndElement();  // document
    return x.Done();
}

QByteArray WordDocument::ToDocx() const {
    QList<std::pair<QString, QString>> rels = {
        {QStringLiteral("styles"), QStringLiteral("styles.xml")},
        {QStringLiteral("settings"), QStringLiteral("settings.xml")},
    };
    QList<QByteArray> mediaNames;
    for (qsizetype k = 0; k < media_.size(); ++k) {
        rels.append({QStringLiteral("image"), QStringLiteral("media/image%1.png").arg(k + 1)});
        mediaNames.append(QStringLiteral("word/media/image%1.png").arg(k + 1).toLatin1());
    }
    // Kept alive until the archive is closed: libzip reads the buffers then.
    const QByteArray parts[] = {
        ContentTypesXml(),
        RelationshipsXml({{QStringLiteral("officeDocument"), QStringLiteral("word/document.xml")}}),
        DocumentXml(),
        RelationshipsXml(rels),
        StylesXml(),
        SettingsXml(),
    };
    const char* names[] = {"[Content_Types].xml",          "_rels/.rels",     "word/document.xml",
                           "word/_rels/document.xml.rels", "word/styles.xml", "word/settings.xml"};
    ZipWriter zip;
    for (std::size_t k = 0; k < std::size(parts); ++k) {
        if (!zip.Add(names[k], parts[k])) {
            return {};
        }
    }
    for (qsizetype k = 0; k < media_.size(); ++k) {
        if (!zip.Add(mediaNames[k].constData(), media_[k])) {
            return {};
        }
    }
    return zip.Finish();
}

QString WordDocument::SaveAs(const QString& path) const {
    const QByteArray bytes = ToDocx();
    if (bytes.isEmpty()) {
        return QStringLiteral("Nie można utworzyć archiwum dokumentu");
    }
    return WriteWholeFile(path, bytes);
}

}  // namespace vardel
