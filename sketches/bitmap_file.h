// Saving a picture as a Windows bitmap without ever leaving half a file behind.
#pragma once

#include <QImage>
#include <QString>

namespace vardel {

// Writes `image` as a 24-bit BMP to `path` through a temporary file that replaces `path` only
// when complete. Returns an empty string on success, else a message for the user; on failure the
// file that was there before is left untouched.
QString SaveBitmapWhole(const QImage& image, const QString& path);

// `dir` followed by "/" and `name`, without doubling a trailing slash.
QString JoinPath(const QString& dir, const QString& name);

// The report's N–M interaction diagram, which the run draws beside its sketches (the windows and
// the command line draw it: the chart needs more of Qt than the core links). It stands after the
// summary over the cases, as wide as the page's texts run, at 300 dpi.
QString NmDiagramFileName();  // WykresNM.png
constexpr double kNmDiagramWidth_mm = 170;
constexpr double kNmDiagramHeight_mm = 110;
constexpr double kNmDiagramDotsPerInch = 300;

// Where a picture is: a run draws the ring plan (Piersc.bmp), the case sketches (SzkicOK<n>.bmp),
// the N–M diagram and the chosen anchor's sketch (Szkick.bmp) into its own folder, so that runs
// side by side never read each other's; every other picture is installed in the program directory.
// An empty `runDir` is the program directory.
QString PicturePath(const QString& programDir, const QString& runDir, const QString& fileName);

}  // namespace vardel
