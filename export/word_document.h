// A Word document (Office Open XML, .docx) built with the few operations the Word export uses:
// append text, add a floating picture stored in the file, move a picture by name, append a
// picture in the text's flow, save, close.
//
// The text is a run of paragraphs: appended text goes at the end, and each line break (CR LF, CR
// or LF) ends a paragraph, so a text without a break continues the last paragraph. Pictures are
// anchored on the first paragraph, at an offset from that paragraph's top (down) and from the
// column's left edge (right); lines of text never run over them (text goes above and below).
// A picture appended in the flow stands in a paragraph of its own where the text has reached.
// The pictures are named as the word processor names them: "Picture 2", "Picture 3", ... in the
// order they are added.
//
// The document's default text is 8 pt with single spacing and no space between paragraphs, and it
// opens in print layout: the export places its pictures counting lines of that height.
#pragma once

#include "export/embedded_picture.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace vardel {

constexpr qint64 kEmuPerPoint = 12700;

class WordDocument {
  public:
    enum class Style { Plain, Subscript };

    void AppendText(const QString& text, Style style = Style::Plain);

    // Adds the picture in `path` at offset 0, 0 and returns its name; an empty name when the file
    // cannot be read, with the reason (naming the file) in `reason`.
    QString AddPicture(const QString& path, QString* reason);

    // Appends the picture in `path` in a paragraph of its own after the text so far, at its
    // recorded size or, when wider than the space between the margins, scaled down to it; the
    // next text starts a new paragraph. False when the file cannot be read, with the reason.
    bool AppendPicture(const QString& path, QString* reason);

    // Move the named picture down / right by `points`. False when no picture has that name.
    bool IncrementTop(const QString& name, double points);
    bool IncrementLeft(const QString& name, double points);

    // The document as the bytes of a .docx file.
    QByteArray ToDocx() const;

    // Writes the document to `path`, whole or not at all. Empty on success, else the reason.
    [[nodiscard]] QString SaveAs(const QString& path) const;

    // Forgets the document: what follows starts a new, empty one.
    void Close();

  private:
    struct Run {
        QString text;
        Style style;
        int picture = -1;  // a picture in the flow: its index in inline_
    };
    struct Picture {
        QString name;
        int media;  // 1-based index of the stored image
        QString fileName;
        qint64 width;  // EMU
        qint64 height;
        qint64 down = 0;
        qint64 right = 0;
    };
    Picture* Find(const QString& name);
    // The 1-based index of the stored image of `path`, stored now if it is not yet.
    int Media(const QString& path, const QByteArray& png);
    QByteArray DocumentXml() const;

    QList<QList<Run>> paragraphs_ = QList<QList<Run>>(1);  // a new document has one paragraph
    QList<Picture> pictures_;      // floating, anchored on the first paragraph
    QList<Picture> inline_;        // in the flow (down and right unused)
    QList<QByteArray> media_;      // PNG files of the pictures, each stored once
    QList<QString> mediaSources_;  // the file each came from
};

}  // namespace vardel
