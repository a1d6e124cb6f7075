// A bitmap of the program directory carried inside an exported document, so that the document
// shows its pictures wherever it is saved.
#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>

#include <functional>
#include <optional>

namespace vardel {

struct EmbeddedPicture {
    QByteArray png;  // the picture as PNG, the format both RTF and Word documents embed
    QSize pixels;
    // The picture's size on paper at its recorded resolution (96 dpi when it records none).
    double widthPoints = 0;
    double heightPoints = 0;
};

// Reads a bitmap (any format Qt reads) and turns it into PNG. Nothing when the file is missing or
// is not a picture; `reason` then says why, naming the file.
std::optional<EmbeddedPicture> LoadEmbeddedPicture(const QString& path, QString* reason);

// Where the exports get their pictures from, by file name (no directory): the program directory
// in the program, fixed pictures in tests.
using PictureSource =
    std::function<std::optional<EmbeddedPicture>(const QString& fileName, QString* reason)>;

// Pictures read from `programDir`, those the run draws from `runDir` (see PicturePath), each file
// read once per source.
PictureSource ProgramDirPictures(const QString& programDir, const QString& runDir = {});

}  // namespace vardel
