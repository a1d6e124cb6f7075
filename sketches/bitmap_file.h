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

}  // namespace vardel
